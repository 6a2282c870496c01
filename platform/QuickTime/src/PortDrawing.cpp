// Drawing a decoded picture into a window's port, through the cairo context
// that HIToolbox hands out on the window's backing store.
#include "Picture.h"

#include <HIToolbox/PlatformHost.h>

namespace qt {

bool draw_into_port(CGrafPtr port, cairo_surface_t* picture, const Rect& dest) {
    cairo_t* cr = PlatformCreatePortContext(port);
    if (cr == nullptr)
        return false;
    const int width = cairo_image_surface_get_width(picture);
    const int height = cairo_image_surface_get_height(picture);
    const int dest_width = dest.right - dest.left;
    const int dest_height = dest.bottom - dest.top;
    if (width > 0 && height > 0 && dest_width > 0 && dest_height > 0) {
        cairo_rectangle(cr, dest.left, dest.top, dest_width, dest_height);
        cairo_clip(cr);
        cairo_translate(cr, dest.left, dest.top);
        cairo_scale(cr, static_cast<double>(dest_width) / width,
                    static_cast<double>(dest_height) / height);
        cairo_set_source_surface(cr, picture, 0, 0);
        cairo_pattern_t* pattern = cairo_get_source(cr);
        // Edge pixels are repeated, so a picture scaled up a pixel does not fade at its border;
        // at its natural size every pixel lands on one pixel.
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        const bool natural = dest_width == width && dest_height == height;
        cairo_pattern_set_filter(pattern, natural ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
        cairo_paint(cr);
    }
    cairo_destroy(cr);
    return true;
}

} // namespace qt

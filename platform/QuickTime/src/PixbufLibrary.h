// The picture decoder library, loaded on the first decode rather than with QuickTime: a process
// that never decodes a picture (listing PDEs, a print without a window shown) never maps it, nor
// pays for binding it.
#ifndef QUICKTIME_SRC_PIXBUFLIBRARY_H
#define QUICKTIME_SRC_PIXBUFLIBRARY_H

#include <gdk-pixbuf/gdk-pixbuf.h>

namespace qt {

// The decoder's routines that pictures use; the declarations give their types.
struct PixbufLibrary {
    decltype(&gdk_pixbuf_error_quark) error_quark;
    decltype(&gdk_pixbuf_loader_new) loader_new;
    decltype(&gdk_pixbuf_loader_new_with_type) loader_new_with_type;
    decltype(&gdk_pixbuf_loader_write) loader_write;
    decltype(&gdk_pixbuf_loader_close) loader_close;
    decltype(&gdk_pixbuf_loader_get_pixbuf) loader_get_pixbuf;
    decltype(&gdk_pixbuf_loader_get_format) loader_get_format;
    decltype(&gdk_pixbuf_format_get_name) format_get_name;
    decltype(&gdk_pixbuf_get_width) get_width;
    decltype(&gdk_pixbuf_get_height) get_height;
    decltype(&gdk_pixbuf_get_n_channels) get_n_channels;
    decltype(&gdk_pixbuf_get_rowstride) get_rowstride;
    decltype(&gdk_pixbuf_get_has_alpha) get_has_alpha;
    decltype(&gdk_pixbuf_read_pixels) read_pixels;
};

// The library, loaded once for the process (and never unloaded), or nullptr when it or one of
// its routines cannot be found; the reason is then in `*why`.
const PixbufLibrary* pixbuf_library(const char** why);

} // namespace qt

#endif // QUICKTIME_SRC_PIXBUFLIBRARY_H

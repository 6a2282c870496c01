// Graphics ports: one per window, for as long as the window lives. A port
// owns the window's backing store, a cairo ARGB32 image surface of the
// content's size, and the region of it waiting to be repainted. The current
// port (SetPort) is where EraseRect paints.
#include "Port.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <HIToolbox/PlatformHost.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

struct OpaqueGrafPtr : cf::Object {
    WindowRef window = nullptr; // plain back-pointer; nullptr once the window is gone
    cairo_surface_t* surface = nullptr;
    cairo_region_t* invalid = nullptr;    // nullptr: nothing waits
    const cairo_region_t* clip = nullptr; // set by an update under way
    double scale = 1.0;                   // device pixels per point
    bool untouched = false; // the surface holds the background alone: nothing drawn since made
};

namespace {

// The plain, light grey of a window's content.
constexpr hit::Rgb kWindowBackground = {0.925, 0.925, 0.925};
// Larger surfaces are refused rather than allocated.
constexpr int kMaxSide = 16384;

GrafPtr current_port = nullptr;

void drop_surface(OpaqueGrafPtr* port) {
    if (port->surface != nullptr)
        cairo_surface_destroy(port->surface);
    port->surface = nullptr;
    if (port->invalid != nullptr)
        cairo_region_destroy(port->invalid);
    port->invalid = nullptr;
}

void finalize_port(CFTypeRef object) {
    drop_surface(static_cast<OpaqueGrafPtr*>(const_cast<void*>(object)));
    cf::destroy<OpaqueGrafPtr>(object);
}

const cf::ClassDescriptor kPortClass = {"CGrafPtr", finalize_port, nullptr, nullptr, nullptr};

CFTypeID port_type_id() {
    static CFTypeID id = cf::register_class(&kPortClass);
    return id;
}

void content_size(WindowRef window, int* width, int* height) {
    const Rect& content = window->bounds;
    *width = std::clamp(content.right - content.left, 0, kMaxSide);
    *height = std::clamp(content.bottom - content.top, 0, kMaxSide);
}

void fill_background(cairo_surface_t* surface) {
    cairo_t* cr = cairo_create(surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cr, kWindowBackground.r, kWindowBackground.g, kWindowBackground.b);
    cairo_paint(cr);
    cairo_destroy(cr);
}

void add_clip_region(cairo_t* cr, const cairo_region_t* region) {
    const int count = cairo_region_num_rectangles(region);
    for (int i = 0; i < count; ++i) {
        cairo_rectangle_int_t r;
        cairo_region_get_rectangle(region, i, &r);
        cairo_rectangle(cr, r.x, r.y, r.width, r.height);
    }
    cairo_clip(cr);
}

} // namespace

namespace hit {

CGrafPtr create_port(WindowRef window) {
    auto* port = cf::create<OpaqueGrafPtr>(nullptr, port_type_id());
    if (port != nullptr)
        port->window = window;
    return port;
}

void detach_port(CGrafPtr port) {
    if (!cf::check_type(port, port_type_id(), __func__))
        return;
    if (current_port == port)
        current_port = nullptr;
    port->window = nullptr;
    drop_surface(port);
    CFRelease(port);
}

namespace {

const cairo_user_data_key_t kPixelsKey{};

// An ARGB32 surface over pixels that are not cleared first: the background is painted over all
// of them at once, so clearing would only write every pixel one more time.
cairo_surface_t* new_backing_store(int width, int height) {
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
    void* pixels = stride > 0 && height > 0
                       ? std::malloc(static_cast<size_t>(stride) * static_cast<size_t>(height))
                       : nullptr;
    if (pixels == nullptr)
        return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        static_cast<unsigned char*>(pixels), CAIRO_FORMAT_ARGB32, width, height, stride);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_set_user_data(surface, &kPixelsKey, pixels, std::free) !=
            CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        std::free(pixels);
        return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    }
    return surface;
}

} // namespace

cairo_surface_t* port_surface(CGrafPtr port) {
    if (port == nullptr || port->window == nullptr)
        return nullptr;
    int width = 0;
    int height = 0;
    content_size(port->window, &width, &height);
    const int pixelWidth = static_cast<int>(width * port->scale + 0.5);
    const int pixelHeight = static_cast<int>(height * port->scale + 0.5);
    if (port->surface != nullptr && cairo_image_surface_get_width(port->surface) == pixelWidth &&
        cairo_image_surface_get_height(port->surface) == pixelHeight)
        return port->surface;
    drop_surface(port);
    cairo_surface_t* surface = new_backing_store(pixelWidth, pixelHeight);
    cairo_surface_set_device_scale(surface, port->scale, port->scale);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cf::report("HIToolbox", "no %dx%d backing store for a window", width, height);
        cairo_surface_destroy(surface);
        return nullptr;
    }
    fill_background(surface);
    port->surface = surface;
    port->untouched = true;
    // Whatever was drawn before the resize is gone: all of it needs drawing.
    port_invalidate(port, Rect{0, 0, static_cast<short>(height), static_cast<short>(width)});
    return surface;
}

bool port_take_untouched(CGrafPtr port) {
    if (port_surface(port) == nullptr)
        return false;
    const bool untouched = port->untouched;
    port->untouched = false;
    return untouched;
}

void port_set_scale(CGrafPtr port, double scale) {
    if (port != nullptr)
        port->scale = scale;
}

cairo_t* port_create_context(CGrafPtr port) {
    cairo_surface_t* surface = port_surface(port);
    if (surface == nullptr)
        return nullptr;
    port->untouched = false; // whoever asks for a context draws
    cairo_t* cr = cairo_create(surface);
    port_apply_clip(port, cr);
    return cr;
}

void port_apply_clip(CGrafPtr port, cairo_t* cr) {
    if (port != nullptr && port->clip != nullptr)
        add_clip_region(cr, port->clip);
}

Rgb port_background(CGrafPtr) {
    return kWindowBackground;
}

void port_invalidate(CGrafPtr port, const Rect& rect) {
    if (port == nullptr || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const cairo_rectangle_int_t r = {rect.left, rect.top, rect.right - rect.left,
                                     rect.bottom - rect.top};
    if (port->invalid == nullptr)
        port->invalid = cairo_region_create_rectangle(&r);
    else
        cairo_region_union_rectangle(port->invalid, &r);
}

cairo_region_t* port_take_invalid(CGrafPtr port) {
    if (port == nullptr || port->invalid == nullptr)
        return nullptr;
    cairo_region_t* region = port->invalid;
    port->invalid = nullptr;
    if (cairo_region_is_empty(region)) {
        cairo_region_destroy(region);
        return nullptr;
    }
    return region;
}

void port_set_clip(CGrafPtr port, const cairo_region_t* clip) {
    if (port != nullptr)
        port->clip = clip;
}

} // namespace hit

CGrafPtr GetWindowPort(WindowRef window) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    return w != nullptr ? w->port : nullptr;
}

WindowRef GetWindowFromPort(CGrafPtr port) {
    if (!cf::check_type(port, port_type_id(), __func__))
        return nullptr;
    return port->window;
}

Rect* GetPortBounds(CGrafPtr port, Rect* rect) {
    if (rect == nullptr)
        return nullptr;
    *rect = Rect{0, 0, 0, 0};
    if (cf::check_type(port, port_type_id(), __func__) && port->window != nullptr) {
        const Rect& content = port->window->bounds;
        rect->bottom = static_cast<short>(content.bottom - content.top);
        rect->right = static_cast<short>(content.right - content.left);
    }
    return rect;
}

void SetPort(GrafPtr port) {
    if (port == nullptr || cf::check_type(port, port_type_id(), __func__))
        current_port = port;
}

void GetPort(GrafPtr* port) {
    if (port != nullptr)
        *port = current_port;
}

void EraseRect(const Rect* r) {
    if (r == nullptr || r->right <= r->left || r->bottom <= r->top)
        return;
    cairo_t* cr = hit::port_create_context(current_port);
    if (cr == nullptr)
        return;
    const hit::Rgb bg = hit::port_background(current_port);
    cairo_set_source_rgb(cr, bg.r, bg.g, bg.b);
    cairo_rectangle(cr, r->left, r->top, r->right - r->left, r->bottom - r->top);
    cairo_fill(cr);
    cairo_destroy(cr);
}

cairo_t* PlatformCreatePortContext(CGrafPtr port) {
    if (!cf::check_type(port, port_type_id(), __func__))
        return nullptr;
    return hit::port_create_context(port);
}

// A window's pixels for hosts and tests: PNG files and single pixels.
#include "Drawing.h"
#include "Port.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <CoreFoundation/PlatformHost.h>
#include <HIToolbox/PlatformHost.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Writes the picture as a new file renamed into place (0600: it may show what was typed into a
// field), never through a symbolic link, so that a reader never sees half a file.
bool write_png_atomically(cairo_surface_t* surface, const char* path) {
    std::string bytes;
    cairo_status_t status = cairo_surface_write_to_png_stream(surface, append_bytes, &bytes);
    int error =
        status == CAIRO_STATUS_SUCCESS
            ? PlatformWriteFileAtomically(path, reinterpret_cast<const UInt8*>(bytes.data()),
                                          static_cast<CFIndex>(bytes.size()), 0600)
            : 0;
    if (status == CAIRO_STATUS_SUCCESS && error == 0)
        return true;
    cf::report("HIToolbox", "cannot write %s: %s", path,
               status != CAIRO_STATUS_SUCCESS ? cairo_status_to_string(status)
               : error == ELOOP               ? "it is a symbolic link"
                                              : std::strerror(error));
    return false;
}

UInt32 unpremultiplied(UInt32 pixel) {
    const UInt32 a = pixel >> 24;
    if (a == 0 || a == 255)
        return pixel;
    auto channel = [&](int shift) { return (((pixel >> shift) & 0xFF) * 255 + a / 2) / a; };
    return (a << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

} // namespace

OSStatus PlatformWriteWindowPNG(WindowRef window, const char* path) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (path == nullptr)
        return paramErr;
    hit::draw_window(w);
    cairo_surface_t* surface = hit::port_surface(w->port);
    if (surface == nullptr)
        return memFullErr;
    cairo_surface_flush(surface);
    return write_png_atomically(surface, path) ? static_cast<OSStatus>(noErr)
                                               : static_cast<OSStatus>(ioErr);
}

OSStatus PlatformCopyWindowPixel(WindowRef window, SInt32 x, SInt32 y, UInt32* outARGB) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (outARGB == nullptr)
        return paramErr;
    hit::update_window(w);
    cairo_surface_t* surface = hit::port_surface(w->port);
    if (surface == nullptr)
        return memFullErr;
    if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(surface) ||
        y >= cairo_image_surface_get_height(surface))
        return paramErr;
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) +
                               static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(surface);
    UInt32 pixel = 0;
    std::memcpy(&pixel, row + static_cast<ptrdiff_t>(x) * 4, sizeof(pixel));
    *outARGB = unpremultiplied(pixel);
    return noErr;
}

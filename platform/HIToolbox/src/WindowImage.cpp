// A window's pixels for hosts and tests: PNG files and single pixels.
#include "Drawing.h"
#include "Port.h"

#include <HIToolbox/PlatformHost.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

cairo_status_t write_to_fd(void* closure, const unsigned char* data, unsigned int length) {
    const int fd = *static_cast<int*>(closure);
    while (length > 0) {
        const ssize_t written = ::write(fd, data, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return CAIRO_STATUS_WRITE_ERROR;
        data += written;
        length -= static_cast<unsigned int>(written);
    }
    return CAIRO_STATUS_SUCCESS;
}

// Writes the surface beside `path` and renames it into place, so that a
// reader never sees half a file.
bool write_png_atomically(cairo_surface_t* surface, const char* path) {
    std::string temp = std::string(path) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        std::fprintf(stderr, "HIToolbox: cannot create %s: %s\n", temp.c_str(),
                     std::strerror(errno));
        return false;
    }
    int closure = fd;
    cairo_status_t status = cairo_surface_write_to_png_stream(surface, write_to_fd, &closure);
    const bool synced = ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (status != CAIRO_STATUS_SUCCESS || !synced || !closed || ::rename(temp.c_str(), path) != 0) {
        std::fprintf(stderr, "HIToolbox: cannot write %s: %s\n", path,
                     status != CAIRO_STATUS_SUCCESS ? cairo_status_to_string(status)
                                                    : std::strerror(errno));
        ::unlink(temp.c_str());
        return false;
    }
    return true;
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

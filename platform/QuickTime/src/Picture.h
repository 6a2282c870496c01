// Pictures inside QuickTime: the formats read, decoding a file's bytes with
// gdk-pixbuf into a cairo image surface, and drawing such a surface into a
// window's port. Shared by the graphics importers and the image sources.
#ifndef QUICKTIME_SRC_PICTURE_H
#define QUICKTIME_SRC_PICTURE_H

#include <HIToolbox/Quickdraw.h>

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qt {

struct Format {
    const char* loader;     // gdk-pixbuf's name for the format
    const char* type_id;    // the uniform type identifier
    const char* extensions; // lower case, space-separated
};

// The format that a file name's extension names (compared without case),
// or nullptr.
const Format* format_for_name(const std::string& file_name);
// The format of gdk-pixbuf's loader `loader`, or nullptr when it is not one
// of ours.
const Format* format_for_loader(const char* loader);

enum class DecodeResult { ok, unknown_type, invalid_data };

struct Decoded {
    DecodeResult result = DecodeResult::invalid_data;
    const Format* format = nullptr;     // what the data turned out to be
    cairo_surface_t* surface = nullptr; // ARGB32, premultiplied; owned by the caller
    std::string error;                  // why not, for a message
};

// Decodes a whole picture file's bytes. With `expected`, only that format's
// decoder is tried; otherwise the content decides. The first image of an
// animation is taken.
Decoded decode_picture(const std::vector<uint8_t>& bytes, const Format* expected);

// The bytes of the file at path. False (errno set) when it cannot be read.
bool read_file(const std::string& path, std::vector<uint8_t>& bytes);

// Draws `picture` into the port's window, scaled to `dest` (port
// coordinates). False when the port has no window to draw into.
bool draw_into_port(CGrafPtr port, cairo_surface_t* picture, const Rect& dest);

} // namespace qt

#endif // QUICKTIME_SRC_PICTURE_H

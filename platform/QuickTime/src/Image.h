// Images inside QuickTime: a CGImage keeps a decoded picture's surface.
#ifndef QUICKTIME_SRC_IMAGE_H
#define QUICKTIME_SRC_IMAGE_H

#include <CoreGraphics/CGImage.h>

#include <cairo.h>

namespace qt {

// A new image (count 1) that shares `surface` (an ARGB32 image surface; the
// image takes a reference of its own). nullptr without memory.
CGImageRef create_image(cairo_surface_t* surface);

} // namespace qt

#endif // QUICKTIME_SRC_IMAGE_H

// Graphics ports inside HIToolbox: each window's port owns the cairo image
// surface that is the window's backing store, and the region of it that
// waits to be repainted.
#ifndef HITOOLBOX_SRC_PORT_H
#define HITOOLBOX_SRC_PORT_H

#include "WindowInternal.h"

#include <cairo.h>

namespace hit {

// The port's backing store, sized to its window's content: made on first
// use and remade (and wholly invalidated) when the window's size changed.
// nullptr once the window is gone. The port keeps ownership.
cairo_surface_t* port_surface(CGrafPtr port);

// True when the port's surface (made now if need be) holds the background alone, nothing having
// been drawn into it since it was made; the caller is taken to draw, so the next call is false.
// An update then need not erase: the background is there already.
bool port_take_untouched(CGrafPtr port);

// Device pixels per point of the port's surface from now on (1 by default);
// the surface is remade at its next use.
void port_set_scale(CGrafPtr port, double scale);

// A new cairo context on the port's surface (the caller destroys it),
// clipped to the area being repainted while an update is under way.
// nullptr when the port has no surface.
cairo_t* port_create_context(CGrafPtr port);

// The window's background colour, with which EraseRect paints.
struct Rgb {
    double r, g, b;
};
Rgb port_background(CGrafPtr port);

// The region waiting to be repainted.
void port_invalidate(CGrafPtr port, const Rect& rect);
// Hands the region to be repainted to the caller (who destroys it) and
// starts an empty one; nullptr when nothing waits.
cairo_region_t* port_take_invalid(CGrafPtr port);

// While an update repaints a region, drawing into the port is clipped to it
// (port_create_context, EraseRect). The port does not own the region;
// pass nullptr to end the clipping.
void port_set_clip(CGrafPtr port, const cairo_region_t* clip);
// Applies the port's clip to a context made elsewhere.
void port_apply_clip(CGrafPtr port, cairo_t* cr);

} // namespace hit

#endif // HITOOLBOX_SRC_PORT_H

/*
 * Quickdraw.h: graphics ports. Every window has one port, whose backing store
 * holds the window's pixels. Drawing calls paint into the current port.
 */
#ifndef HITOOLBOX_QUICKDRAW_H
#define HITOOLBOX_QUICKDRAW_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueGrafPtr* GrafPtr;
typedef GrafPtr CGrafPtr;
typedef CGrafPtr GWorldPtr;

/* A colour with 16-bit components. */
typedef struct RGBColor {
    unsigned short red;
    unsigned short green;
    unsigned short blue;
} RGBColor;

/* A QuickDraw region; only its bounding box is used here. */
typedef struct MacRegion {
    UInt16 rgnSize;
    Rect rgnBBox;
} MacRegion;
typedef MacRegion* RgnPtr;
typedef RgnPtr* RgnHandle;
/* Graphics devices do not exist here; a GDHandle is always NULL. */
typedef struct OpaqueGDevice* GDPtr;
typedef GDPtr* GDHandle;

/* The port's own rectangle: (0, 0) to the size of the window's content. */
CF_EXPORT Rect* GetPortBounds(CGrafPtr port, Rect* rect);

/* The current port, where the drawing calls below paint (NULL at first,
   and again once the window of the current port is disposed of). */
CF_EXPORT void SetPort(GrafPtr port);
CF_EXPORT void GetPort(GrafPtr* port);

/* Paints the rectangle (port coordinates) with the window's background. */
CF_EXPORT void EraseRect(const Rect* r);

CF_EXTERN_C_END

#endif /* HITOOLBOX_QUICKDRAW_H */

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

/* Converts a point from global (screen) coordinates to the port's. */
CF_EXPORT Point* QDGlobalToLocalPoint(CGrafPtr port, Point* point);

/* Regions: rectangular areas (a region is its bounding box here). NewRgn
   gives an empty region, NULL without memory; DisposeRgn frees it. */
CF_EXPORT RgnHandle NewRgn(void);
CF_EXPORT void DisposeRgn(RgnHandle rgn);
CF_EXPORT void RectRgn(RgnHandle rgn, const Rect* r);
CF_EXPORT void SetRectRgn(RgnHandle rgn, short left, short top, short right, short bottom);
CF_EXPORT void SetEmptyRgn(RgnHandle rgn);
CF_EXPORT void CopyRgn(RgnHandle srcRgn, RgnHandle dstRgn);
CF_EXPORT Boolean EmptyRgn(RgnHandle rgn);
CF_EXPORT Boolean PtInRgn(Point pt, RgnHandle rgn);
CF_EXPORT Rect* GetRegionBounds(RgnHandle region, Rect* bounds);
/* Rectangle and point arithmetic. A rectangle is empty when its bottom is not below its top or
   its right not beyond its left; a point is in a rectangle when it lies in the top-left-closed,
   bottom-right-open area the rectangle encloses. */
CF_EXPORT void SetRect(Rect* r, short left, short top, short right, short bottom);
CF_EXPORT void OffsetRect(Rect* r, short dh, short dv);
/* Moves the left and right sides in by dh, top and bottom by dv (negative values move them out);
   a rectangle left with no width or height becomes (0, 0, 0, 0). */
CF_EXPORT void InsetRect(Rect* r, short dh, short dv);
/* The intersection of the two into dstRect (which may be either source); false, and
   (0, 0, 0, 0), when they do not overlap. */
CF_EXPORT Boolean SectRect(const Rect* src1, const Rect* src2, Rect* dstRect);
/* The smallest rectangle enclosing both. */
CF_EXPORT void UnionRect(const Rect* src1, const Rect* src2, Rect* dstRect);
CF_EXPORT Boolean EqualRect(const Rect* rect1, const Rect* rect2);
CF_EXPORT Boolean EmptyRect(const Rect* r);
CF_EXPORT Boolean PtInRect(Point pt, const Rect* r);
CF_EXPORT void SetPt(Point* pt, short h, short v);

CF_EXTERN_C_END

#endif /* HITOOLBOX_QUICKDRAW_H */

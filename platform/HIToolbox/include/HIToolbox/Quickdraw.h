/*
 * Quickdraw.h: graphics ports. Every window has one port; the drawing calls
 * that paint into it arrive with the theme.
 */
#ifndef HITOOLBOX_QUICKDRAW_H
#define HITOOLBOX_QUICKDRAW_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueGrafPtr* GrafPtr;
typedef GrafPtr CGrafPtr;
typedef CGrafPtr GWorldPtr;

/* The port's own rectangle: (0, 0) to the size of the window's content. */
CF_EXPORT Rect* GetPortBounds(CGrafPtr port, Rect* rect);

CF_EXTERN_C_END

#endif /* HITOOLBOX_QUICKDRAW_H */

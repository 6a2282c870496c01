/*
 * HIGeometry.h: points, sizes and rectangles of the view calls. Their
 * coordinates are 32-bit floats, as on the original 32-bit platform, so that
 * code and data written for it keep their sizes.
 */
#ifndef HITOOLBOX_HIGEOMETRY_H
#define HITOOLBOX_HIGEOMETRY_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

#ifndef CARBONRT_CGGEOMETRY_DEFINED
#define CARBONRT_CGGEOMETRY_DEFINED
typedef float CGFloat;

typedef struct CGPoint {
    CGFloat x;
    CGFloat y;
} CGPoint;

typedef struct CGSize {
    CGFloat width;
    CGFloat height;
} CGSize;

typedef struct CGRect {
    CGPoint origin;
    CGSize size;
} CGRect;
#endif

typedef CGPoint HIPoint;
typedef CGSize HISize;
typedef CGRect HIRect;

CF_EXTERN_C_END

#endif /* HITOOLBOX_HIGEOMETRY_H */

/*
 * CGImage.h: decoded bitmap images, reference-counted CF types. An image's
 * pixels are 8 bits per component, 32 bits per pixel, alpha included.
 */
#ifndef COREGRAPHICS_CGIMAGE_H
#define COREGRAPHICS_CGIMAGE_H

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueCGImage* CGImageRef;

CF_EXPORT CFTypeID CGImageGetTypeID(void);

/* CGImageRetain / CGImageRelease: as CFRetain and CFRelease, but NULL is allowed. */
CF_EXPORT CGImageRef CGImageRetain(CGImageRef image);
CF_EXPORT void CGImageRelease(CGImageRef image);

/* The size in pixels; 0 for NULL or something that is not an image. */
CF_EXPORT size_t CGImageGetWidth(CGImageRef image);
CF_EXPORT size_t CGImageGetHeight(CGImageRef image);
CF_EXPORT size_t CGImageGetBitsPerComponent(CGImageRef image);
CF_EXPORT size_t CGImageGetBitsPerPixel(CGImageRef image);

CF_EXTERN_C_END

#endif /* COREGRAPHICS_CGIMAGE_H */

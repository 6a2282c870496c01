/*
 * CGImageSource.h: image sources, which read a picture file (GIF, PNG, JPEG,
 * TIFF, BMP) and hand out its decoded image.
 */
#ifndef IMAGEIO_CGIMAGESOURCE_H
#define IMAGEIO_CGIMAGESOURCE_H

#include <CoreGraphics/CGImage.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueCGImageSource* CGImageSourceRef;

typedef int32_t CGImageSourceStatus;
enum {
    kCGImageStatusUnexpectedEOF = -5,
    kCGImageStatusInvalidData = -4,
    kCGImageStatusUnknownType = -3,
    kCGImageStatusReadingHeader = -2,
    kCGImageStatusIncomplete = -1,
    kCGImageStatusComplete = 0
};

CF_EXPORT CFTypeID CGImageSourceGetTypeID(void);

/*
 * CGImageSourceCreateWithURL: a source over the file a file URL names, read
 * now; the caller releases it. NULL for a NULL or non-file URL and for a file
 * that cannot be read. No options are understood; options may be NULL.
 */
CF_EXPORT CGImageSourceRef CGImageSourceCreateWithURL(CFURLRef url, CFDictionaryRef options);

/*
 * CGImageSourceGetStatus: kCGImageStatusComplete when the file decoded;
 * kCGImageStatusUnknownType when no decoder knows it; kCGImageStatusInvalidData
 * when it is damaged or cut short.
 */
CF_EXPORT CGImageSourceStatus CGImageSourceGetStatus(CGImageSourceRef isrc);

/*
 * CGImageSourceGetType: the uniform type identifier of the file's format
 * ("com.compuserve.gif", "public.png", "public.jpeg", "public.tiff",
 * "com.microsoft.bmp"), or NULL when it is not known. Not retained.
 */
CF_EXPORT CFStringRef CGImageSourceGetType(CGImageSourceRef isrc);

/* CGImageSourceGetCount: the number of images, 1 for a complete source, else 0. */
CF_EXPORT size_t CGImageSourceGetCount(CGImageSourceRef isrc);

/*
 * CGImageSourceCreateImageAtIndex: the image at `index` (the caller releases
 * it), or NULL when the source is not complete or has no such image.
 */
CF_EXPORT CGImageRef CGImageSourceCreateImageAtIndex(CGImageSourceRef isrc, size_t index,
                                                     CFDictionaryRef options);

CF_EXTERN_C_END

#endif /* IMAGEIO_CGIMAGESOURCE_H */

/*
 * IconStorage.h: the layout of an icon family ("icns" data) and the kinds of
 * element it holds. An icon family is stored big-endian, as in an .icns file:
 * the family's type and total size, then elements, each its type, its size
 * (header included) and its data.
 */
#ifndef CORESERVICES_ICONSTORAGE_H
#define CORESERVICES_ICONSTORAGE_H

#include <CoreServices/MacErrors.h>

CF_EXTERN_C_BEGIN

enum { kIconFamilyType = 'icns' };

/* 24-bit RGB (run-length encoded) with a separate 8-bit mask. */
enum {
    kSmall32BitData = 'is32',
    kSmall8BitMask = 's8mk',
    kLarge32BitData = 'il32',
    kLarge8BitMask = 'l8mk',
    kHuge32BitData = 'ih32',
    kHuge8BitMask = 'h8mk',
    kThumbnail32BitData = 'it32',
    kThumbnail8BitMask = 't8mk'
};

/* Whole images: run-length encoded ARGB or PNG data in a single element. */
enum {
    kIconServices16PixelDataARGB = 'ic04',
    kIconServices32PixelDataARGB = 'ic05',
    kIconServices48PixelDataARGB = 'ic06',
    kIconServices128PixelDataARGB = 'ic07',
    kIconServices256PixelDataARGB = 'ic08',
    kIconServices512PixelDataARGB = 'ic09',
    kIconServices1024PixelDataARGB = 'ic10'
};

#pragma pack(push, 2)

struct IconFamilyElement {
    OSType elementType;
    SInt32 elementSize; /* header included */
    unsigned char elementData[1];
};
typedef struct IconFamilyElement IconFamilyElement;

struct IconFamilyResource {
    OSType resourceType; /* kIconFamilyType */
    SInt32 resourceSize; /* the whole family, header included */
    IconFamilyElement elements[1];
};
typedef struct IconFamilyResource IconFamilyResource;
typedef IconFamilyResource* IconFamilyPtr;
typedef IconFamilyPtr* IconFamilyHandle;

#pragma pack(pop)

CF_EXTERN_C_END

#endif /* CORESERVICES_ICONSTORAGE_H */

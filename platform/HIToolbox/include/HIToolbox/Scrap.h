/*
 * Scrap.h: the clipboard. The process has one current scrap; clearing it
 * starts a new one, which holds at most one piece of data per flavor (a
 * four-character type). Edit text fields and text objects cut, copy and
 * paste through it. A display backend may join it to the desktop's
 * clipboard (PlatformSetScrapHost in <HIToolbox/PlatformHost.h>).
 */
#ifndef HITOOLBOX_SCRAP_H
#define HITOOLBOX_SCRAP_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueScrapRef* ScrapRef;
typedef FourCharCode ScrapFlavorType;
typedef UInt32 ScrapFlavorFlags;

enum {
    kScrapFlavorTypePlainText = 0x54455854 /* 'TEXT': the system encoding */,
    kScrapFlavorTypeUnicode = 0x75747874 /* 'utxt': UTF-16 */
};

enum {
    kScrapFlavorMaskNone = 0x00000000,
    kScrapFlavorMaskSenderOnly = 0x00000001,
    kScrapFlavorMaskTranslated = 0x00000002
};

typedef struct ScrapFlavorInfo {
    ScrapFlavorType flavorType;
    ScrapFlavorFlags flavorFlags;
} ScrapFlavorInfo;

enum {
    noScrapErr = -100,
    noTypeErr = -102,
    internalScrapErr = -4988,
    duplicateScrapFlavorErr = -4989,
    badScrapRefErr = -4990,
    nilScrapFlavorDataErr = -4994,
    illegalScrapFlavorFlagsErr = -4997,
    illegalScrapFlavorTypeErr = -4998,
    illegalScrapFlavorSizeErr = -4999
};

/* The current scrap. A reference kept across ClearCurrentScrap goes stale:
   calls with it then fail with badScrapRefErr. */
CF_EXPORT OSStatus GetCurrentScrap(ScrapRef* scrap);
/* Empties the scrap and makes a new current one. */
CF_EXPORT OSStatus ClearCurrentScrap(void);

/* Adds a flavor. duplicateScrapFlavorErr when the scrap already has it,
   illegalScrapFlavorTypeErr for type 0, illegalScrapFlavorSizeErr for a
   negative size, nilScrapFlavorDataErr for NULL data of a positive size. */
CF_EXPORT OSStatus PutScrapFlavor(ScrapRef scrap, ScrapFlavorType flavorType,
                                  ScrapFlavorFlags flavorFlags, Size flavorSize,
                                  const void* flavorData);
/* noTypeErr when the scrap lacks the flavor. */
CF_EXPORT OSStatus GetScrapFlavorFlags(ScrapRef scrap, ScrapFlavorType flavorType,
                                       ScrapFlavorFlags* flavorFlags);
CF_EXPORT OSStatus GetScrapFlavorSize(ScrapRef scrap, ScrapFlavorType flavorType, Size* byteCount);
/* Copies at most *byteCount bytes and sets *byteCount to the number copied. */
CF_EXPORT OSStatus GetScrapFlavorData(ScrapRef scrap, ScrapFlavorType flavorType, Size* byteCount,
                                      void* destination);
CF_EXPORT OSStatus GetScrapFlavorCount(ScrapRef scrap, UInt32* infoCount);
/* Fills up to *infoCount entries, in the order the flavors were put, and
   sets *infoCount to the number filled. */
CF_EXPORT OSStatus GetScrapFlavorInfoList(ScrapRef scrap, UInt32* infoCount,
                                          ScrapFlavorInfo info[]);

CF_EXTERN_C_END

#endif /* HITOOLBOX_SCRAP_H */

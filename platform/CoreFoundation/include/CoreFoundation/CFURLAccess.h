/*
 * CFURLAccess.h: reading and writing the resource a file URL names.
 */
#ifndef COREFOUNDATION_CFURLACCESS_H
#define COREFOUNDATION_CFURLACCESS_H

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFURL.h>

CF_EXTERN_C_BEGIN

typedef CFIndex CFURLError;
enum {
    kCFURLUnknownError = -10,
    kCFURLUnknownSchemeError = -11,
    kCFURLResourceNotFoundError = -12,
    kCFURLResourceAccessViolationError = -13,
    kCFURLRemoteHostUnavailableError = -14,
    kCFURLImproperArgumentsError = -15,
    kCFURLUnknownPropertyKeyError = -16,
    kCFURLPropertyKeyUnavailableError = -17,
    kCFURLTimeoutError = -18
};

/* Properties of a file resource. */
CF_EXPORT const CFStringRef kCFURLFileExists;               /* CFBoolean */
CF_EXPORT const CFStringRef kCFURLFileDirectoryContents;    /* CFArray of CFURL */
CF_EXPORT const CFStringRef kCFURLFileLength;               /* CFNumber */
CF_EXPORT const CFStringRef kCFURLFileLastModificationTime; /* CFDate */
CF_EXPORT const CFStringRef kCFURLFilePOSIXMode;            /* CFNumber */
CF_EXPORT const CFStringRef kCFURLFileOwnerID;              /* CFNumber */

/*
 * Reads the whole file into *resourceData (when not NULL) and the properties
 * named in desiredProperties (NULL: all) into *properties (when not NULL).
 * For a folder, the data is not read and kCFURLFileDirectoryContents lists
 * its entries. Returns false with *errorCode set to a CFURLError on failure.
 */
CF_EXPORT Boolean CFURLCreateDataAndPropertiesFromResource(CFAllocatorRef alloc, CFURLRef url,
                                                           CFDataRef* resourceData,
                                                           CFDictionaryRef* properties,
                                                           CFArrayRef desiredProperties,
                                                           SInt32* errorCode);

/*
 * Replaces the file's contents with dataToWrite: the bytes go to a temporary
 * file in the same folder, which is then renamed over the file, so readers
 * see the old or the new contents, never a mix. The file keeps its
 * permission bits; a new file gets 0600. With dataToWrite NULL and a URL
 * ending in a slash, creates the folder. kCFURLFilePOSIXMode is the one
 * property that can be written. Returns false with *errorCode on failure.
 */
CF_EXPORT Boolean CFURLWriteDataAndPropertiesToResource(CFURLRef url, CFDataRef dataToWrite,
                                                        CFDictionaryRef propertiesToWrite,
                                                        SInt32* errorCode);

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFURLACCESS_H */

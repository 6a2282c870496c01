/*
 * CFPropertyList.h: property lists (strings, numbers, booleans, dates, data,
 * arrays and dictionaries with string keys) read from and written to XML.
 */
#ifndef COREFOUNDATION_CFPROPERTYLIST_H
#define COREFOUNDATION_CFPROPERTYLIST_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFError.h>

CF_EXTERN_C_BEGIN

typedef CFOptionFlags CFPropertyListMutabilityOptions;
enum {
    kCFPropertyListImmutable = 0,
    kCFPropertyListMutableContainers = 1 << 0,
    kCFPropertyListMutableContainersAndLeaves = 1 << 1
};

typedef CFIndex CFPropertyListFormat;
enum {
    kCFPropertyListOpenStepFormat = 1,
    kCFPropertyListXMLFormat_v1_0 = 100,
    kCFPropertyListBinaryFormat_v1_0 = 200
};

/* Codes of the errors that the reading and writing functions give. */
enum {
    kCFPropertyListReadCorruptError = 3840,
    kCFPropertyListReadUnknownVersionError = 3841,
    kCFPropertyListReadStreamError = 3842,
    kCFPropertyListWriteStreamError = 3851
};

/*
 * Parses an XML property list. mutabilityOption makes the arrays and
 * dictionaries mutable (kCFPropertyListMutableContainers) and also the
 * strings and data (kCFPropertyListMutableContainersAndLeaves). On failure
 * returns NULL and, when errorString is not NULL, a new string naming the
 * problem and its line, which the caller releases.
 */
CF_EXPORT CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef allocator,
                                                            CFDataRef xmlData,
                                                            CFOptionFlags mutabilityOption,
                                                            CFStringRef* errorString);
/* The XML form of a valid property list, or NULL. The caller releases it. */
CF_EXPORT CFDataRef CFPropertyListCreateXMLData(CFAllocatorRef allocator,
                                                CFPropertyListRef propertyList);

/*
 * As CFPropertyListCreateFromXMLData, reporting the format read in *format
 * and a failure as a CFError (kCFErrorDomainCocoa,
 * kCFPropertyListReadCorruptError, the message under kCFErrorDescriptionKey).
 * Only the XML format is read.
 */
CF_EXPORT CFPropertyListRef CFPropertyListCreateWithData(CFAllocatorRef allocator, CFDataRef data,
                                                         CFOptionFlags options,
                                                         CFPropertyListFormat* format,
                                                         CFErrorRef* error);
/* Writes kCFPropertyListXMLFormat_v1_0; other formats fail with an error. options is unused. */
CF_EXPORT CFDataRef CFPropertyListCreateData(CFAllocatorRef allocator,
                                             CFPropertyListRef propertyList,
                                             CFPropertyListFormat format, CFOptionFlags options,
                                             CFErrorRef* error);

/* True when the object and everything in it can be written in the format. */
CF_EXPORT Boolean CFPropertyListIsValid(CFPropertyListRef plist, CFPropertyListFormat format);

/* A copy of every level, with the mutability asked for. The caller releases it. */
CF_EXPORT CFPropertyListRef CFPropertyListCreateDeepCopy(CFAllocatorRef allocator,
                                                         CFPropertyListRef propertyList,
                                                         CFOptionFlags mutabilityOption);

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFPROPERTYLIST_H */

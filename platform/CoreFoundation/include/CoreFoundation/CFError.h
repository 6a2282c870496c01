/*
 * CFError.h: errors as objects: a domain, a code and a dictionary of details.
 */
#ifndef COREFOUNDATION_CFERROR_H
#define COREFOUNDATION_CFERROR_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFDictionary.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueCFError* CFErrorRef;

/* Domains. */
CF_EXPORT const CFStringRef kCFErrorDomainPOSIX;
CF_EXPORT const CFStringRef kCFErrorDomainOSStatus;
CF_EXPORT const CFStringRef kCFErrorDomainMach;
CF_EXPORT const CFStringRef kCFErrorDomainCocoa;

/* Keys of the user-info dictionary. */
CF_EXPORT const CFStringRef kCFErrorLocalizedDescriptionKey;
CF_EXPORT const CFStringRef kCFErrorLocalizedFailureReasonKey;
CF_EXPORT const CFStringRef kCFErrorLocalizedRecoverySuggestionKey;
CF_EXPORT const CFStringRef kCFErrorDescriptionKey;
CF_EXPORT const CFStringRef kCFErrorUnderlyingErrorKey;
CF_EXPORT const CFStringRef kCFErrorURLKey;
CF_EXPORT const CFStringRef kCFErrorFilePathKey;

CF_EXPORT CFTypeID CFErrorGetTypeID(void);

/* userInfo (may be NULL) is copied. NULL when domain is NULL. */
CF_EXPORT CFErrorRef CFErrorCreate(CFAllocatorRef allocator, CFStringRef domain, CFIndex code,
                                   CFDictionaryRef userInfo);
CF_EXPORT CFStringRef CFErrorGetDomain(CFErrorRef err);
CF_EXPORT CFIndex CFErrorGetCode(CFErrorRef err);
/* A copy of the user-info dictionary (empty when there was none); the caller releases it. */
CF_EXPORT CFDictionaryRef CFErrorCopyUserInfo(CFErrorRef err);
/*
 * A sentence for people: the localized description when there is one, else
 * one made from the failure reason, or from the domain, code and
 * kCFErrorDescriptionKey. The caller releases it.
 */
CF_EXPORT CFStringRef CFErrorCopyDescription(CFErrorRef err);
/* kCFErrorLocalizedFailureReasonKey, or NULL. The caller releases it. */
CF_EXPORT CFStringRef CFErrorCopyFailureReason(CFErrorRef err);

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFERROR_H */

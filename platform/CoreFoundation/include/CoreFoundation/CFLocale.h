/*
 * CFLocale.h: locales, named by ICU/BCP 47 style identifiers ("de_DE"), and
 * the conventions they carry (decimal and grouping separators, currency).
 */
#ifndef COREFOUNDATION_CFLOCALE_H
#define COREFOUNDATION_CFLOCALE_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFString.h>

CF_EXTERN_C_BEGIN

typedef const struct OpaqueCFLocale* CFLocaleRef;
typedef CFStringRef CFLocaleKey;

CF_EXPORT CFTypeID CFLocaleGetTypeID(void);

/* The user's locale, from LC_ALL, LC_NUMERIC or LANG (the first one set); "C"
 * and "POSIX" give en_US_POSIX. A new reference owned by the caller. */
CF_EXPORT CFLocaleRef CFLocaleCopyCurrent(void);
/* The root locale, owned by the framework. */
CF_EXPORT CFLocaleRef CFLocaleGetSystem(void);
/* NULL when the identifier is NULL or empty. */
CF_EXPORT CFLocaleRef CFLocaleCreate(CFAllocatorRef allocator, CFStringRef localeIdentifier);
CF_EXPORT CFLocaleRef CFLocaleCreateCopy(CFAllocatorRef allocator, CFLocaleRef locale);
/* The canonical identifier: "de-DE", "de_DE.UTF-8" and "de_DE" give "de_DE". */
CF_EXPORT CFStringRef CFLocaleCreateCanonicalLocaleIdentifierFromString(CFAllocatorRef allocator,
                                                                        CFStringRef identifier);
CF_EXPORT CFStringRef CFLocaleGetIdentifier(CFLocaleRef locale);
/* The user's languages, most preferred first, as BCP 47 tags ("de-DE"): from
 * LANGUAGE, then the first of LC_ALL, LC_MESSAGES, LANG; ["en"] when none
 * names a language. A new array owned by the caller. */
CF_EXPORT CFArrayRef CFLocaleCopyPreferredLanguages(void);
/* A value owned by the locale, or NULL when it has none for the key. */
CF_EXPORT CFTypeRef CFLocaleGetValue(CFLocaleRef locale, CFLocaleKey key);

CF_EXPORT const CFLocaleKey kCFLocaleIdentifier;
CF_EXPORT const CFLocaleKey kCFLocaleLanguageCode;
CF_EXPORT const CFLocaleKey kCFLocaleCountryCode;
CF_EXPORT const CFLocaleKey kCFLocaleScriptCode;
CF_EXPORT const CFLocaleKey kCFLocaleVariantCode;
CF_EXPORT const CFLocaleKey kCFLocaleDecimalSeparator;
CF_EXPORT const CFLocaleKey kCFLocaleGroupingSeparator;
CF_EXPORT const CFLocaleKey kCFLocaleCurrencySymbol;
CF_EXPORT const CFLocaleKey kCFLocaleCurrencyCode;

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFLOCALE_H */

/*
 * CFNumberFormatter.h: numbers to localised text and back, by style
 * (decimal, currency, percent, scientific, spelled out) or by pattern, with
 * properties for digits, separators and symbols.
 */
#ifndef COREFOUNDATION_CFNUMBERFORMATTER_H
#define COREFOUNDATION_CFNUMBERFORMATTER_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFLocale.h>
#include <CoreFoundation/CFNumber.h>

CF_EXTERN_C_BEGIN

typedef const struct OpaqueCFNumberFormatter* CFNumberFormatterRef;
typedef CFStringRef CFNumberFormatterKey;

typedef CFIndex CFNumberFormatterStyle;
enum {
    kCFNumberFormatterNoStyle = 0,
    kCFNumberFormatterDecimalStyle = 1,
    kCFNumberFormatterCurrencyStyle = 2,
    kCFNumberFormatterPercentStyle = 3,
    kCFNumberFormatterScientificStyle = 4,
    kCFNumberFormatterSpellOutStyle = 5
};

typedef CFOptionFlags CFNumberFormatterOptionFlags;
enum { kCFNumberFormatterParseIntegersOnly = 1 };

typedef CFIndex CFNumberFormatterRoundingMode;
enum {
    kCFNumberFormatterRoundCeiling = 0,
    kCFNumberFormatterRoundFloor = 1,
    kCFNumberFormatterRoundDown = 2,
    kCFNumberFormatterRoundUp = 3,
    kCFNumberFormatterRoundHalfEven = 4,
    kCFNumberFormatterRoundHalfDown = 5,
    kCFNumberFormatterRoundHalfUp = 6
};

typedef CFIndex CFNumberFormatterPadPosition;
enum {
    kCFNumberFormatterPadBeforePrefix = 0,
    kCFNumberFormatterPadAfterPrefix = 1,
    kCFNumberFormatterPadBeforeSuffix = 2,
    kCFNumberFormatterPadAfterSuffix = 3
};

CF_EXPORT CFTypeID CFNumberFormatterGetTypeID(void);

/* locale NULL: the system locale. NULL for an unknown style. */
CF_EXPORT CFNumberFormatterRef CFNumberFormatterCreate(CFAllocatorRef allocator, CFLocaleRef locale,
                                                       CFNumberFormatterStyle style);
CF_EXPORT CFLocaleRef CFNumberFormatterGetLocale(CFNumberFormatterRef formatter);
CF_EXPORT CFNumberFormatterStyle CFNumberFormatterGetStyle(CFNumberFormatterRef formatter);
/* The present pattern, owned by the formatter until it changes. */
CF_EXPORT CFStringRef CFNumberFormatterGetFormat(CFNumberFormatterRef formatter);
CF_EXPORT void CFNumberFormatterSetFormat(CFNumberFormatterRef formatter, CFStringRef formatString);

/* New strings owned by the caller; NULL for a bad number or type. */
CF_EXPORT CFStringRef CFNumberFormatterCreateStringWithNumber(CFAllocatorRef allocator,
                                                              CFNumberFormatterRef formatter,
                                                              CFNumberRef number);
CF_EXPORT CFStringRef CFNumberFormatterCreateStringWithValue(CFAllocatorRef allocator,
                                                             CFNumberFormatterRef formatter,
                                                             CFNumberType numberType,
                                                             const void* valuePtr);

/* Parsing. With rangep the text in *rangep is parsed and *rangep becomes the
 * part used; without it the whole string must be a number. */
CF_EXPORT CFNumberRef CFNumberFormatterCreateNumberFromString(CFAllocatorRef allocator,
                                                              CFNumberFormatterRef formatter,
                                                              CFStringRef string, CFRange* rangep,
                                                              CFOptionFlags options);
/* False when the text is not a number or its value does not fit numberType exactly. */
CF_EXPORT Boolean CFNumberFormatterGetValueFromString(CFNumberFormatterRef formatter,
                                                      CFStringRef string, CFRange* rangep,
                                                      CFNumberType numberType, void* valuePtr);

/* Properties: strings for symbols and affixes, CFNumbers for counts and
 * modes, CFBooleans for switches. CopyProperty returns a new reference or NULL. */
CF_EXPORT void CFNumberFormatterSetProperty(CFNumberFormatterRef formatter,
                                            CFNumberFormatterKey key, CFTypeRef value);
CF_EXPORT CFTypeRef CFNumberFormatterCopyProperty(CFNumberFormatterRef formatter,
                                                  CFNumberFormatterKey key);

CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterCurrencyCode;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterDecimalSeparator;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterCurrencyDecimalSeparator;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterAlwaysShowDecimalSeparator;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterGroupingSeparator;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterCurrencyGroupingSeparator;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterUseGroupingSeparator;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterPercentSymbol;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterPerMillSymbol;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterZeroSymbol;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterNaNSymbol;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterInfinitySymbol;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterMinusSign;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterPlusSign;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterCurrencySymbol;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterInternationalCurrencySymbol;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterExponentSymbol;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterMinIntegerDigits;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterMaxIntegerDigits;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterMinFractionDigits;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterMaxFractionDigits;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterGroupingSize;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterSecondaryGroupingSize;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterRoundingMode;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterRoundingIncrement;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterFormatWidth;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterPaddingPosition;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterPaddingCharacter;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterDefaultFormat;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterMultiplier;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterPositivePrefix;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterPositiveSuffix;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterNegativePrefix;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterNegativeSuffix;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterIsLenient;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterUseSignificantDigits;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterMinSignificantDigits;
CF_EXPORT const CFNumberFormatterKey kCFNumberFormatterMaxSignificantDigits;

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFNUMBERFORMATTER_H */

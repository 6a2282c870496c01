/*
 * CFString.h: Unicode strings, immutable and mutable. Characters are kept as
 * UTF-16 code units; conversion to and from other encodings goes through ICU.
 */
#ifndef COREFOUNDATION_CFSTRING_H
#define COREFOUNDATION_CFSTRING_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFCharacterSet.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFDictionary.h>

CF_EXTERN_C_BEGIN

typedef const struct OpaqueCFLocale* CFLocaleRef;

/* Encodings. The values are those of the Mac Text Encoding Converter. */
typedef UInt32 CFStringEncoding;
typedef CFIndex CFStringBuiltInEncodings;
enum {
    kCFStringEncodingMacRoman = 0,
    kCFStringEncodingWindowsLatin1 = 0x0500,
    kCFStringEncodingISOLatin1 = 0x0201,
    kCFStringEncodingNextStepLatin = 0x0B01,
    kCFStringEncodingASCII = 0x0600,
    kCFStringEncodingUnicode = 0x0100,
    kCFStringEncodingUTF8 = 0x08000100,
    kCFStringEncodingNonLossyASCII = 0x0BFF,
    kCFStringEncodingUTF16 = 0x0100,
    kCFStringEncodingUTF16BE = 0x10000100,
    kCFStringEncodingUTF16LE = 0x14000100,
    kCFStringEncodingUTF32 = 0x0c000100,
    kCFStringEncodingUTF32BE = 0x18000100,
    kCFStringEncodingUTF32LE = 0x1c000100
};
#define kCFStringEncodingInvalidId (0xffffffffU)

/* Comparison and search options. */
typedef CFOptionFlags CFStringCompareFlags;
enum {
    kCFCompareCaseInsensitive = 1,
    kCFCompareBackwards = 4,
    kCFCompareAnchored = 8,
    kCFCompareNonliteral = 16,
    kCFCompareLocalized = 32,
    kCFCompareNumerically = 64,
    kCFCompareDiacriticInsensitive = 128,
    kCFCompareWidthInsensitive = 256,
    kCFCompareForcedOrdering = 512
};

typedef CFIndex CFStringNormalizationForm;
enum {
    kCFStringNormalizationFormD = 0,
    kCFStringNormalizationFormKD = 1,
    kCFStringNormalizationFormC = 2,
    kCFStringNormalizationFormKC = 3
};

/*
 * A constant string: interned, never freed, usable during static
 * initialisation. Equal literals give the same object.
 */
#ifdef __cplusplus
/* In C++ each use looks its literal up once and keeps the object. */
#define CFSTR(cStr)                                                                                \
    ([]() -> CFStringRef {                                                                         \
        static const CFStringRef cfstr_constant = CFStringMakeConstantString("" cStr "");          \
        return cfstr_constant;                                                                     \
    }())
#else
#define CFSTR(cStr) CFStringMakeConstantString("" cStr "")
#endif
CF_EXPORT CFStringRef CFStringMakeConstantString(const char* cStr);

CF_EXPORT CFTypeID CFStringGetTypeID(void);

/* Creation. Each returns a new string owned by the caller, or NULL when the
 * bytes are not valid in the given encoding. */
CF_EXPORT CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr,
                                                CFStringEncoding encoding);
CF_EXPORT CFStringRef CFStringCreateWithCStringNoCopy(CFAllocatorRef alloc, const char* cStr,
                                                      CFStringEncoding encoding,
                                                      CFAllocatorRef contentsDeallocator);
CF_EXPORT CFStringRef CFStringCreateWithPascalString(CFAllocatorRef alloc, ConstStr255Param pStr,
                                                     CFStringEncoding encoding);
CF_EXPORT CFStringRef CFStringCreateWithBytes(CFAllocatorRef alloc, const UInt8* bytes,
                                              CFIndex numBytes, CFStringEncoding encoding,
                                              Boolean isExternalRepresentation);
CF_EXPORT CFStringRef CFStringCreateWithBytesNoCopy(CFAllocatorRef alloc, const UInt8* bytes,
                                                    CFIndex numBytes, CFStringEncoding encoding,
                                                    Boolean isExternalRepresentation,
                                                    CFAllocatorRef contentsDeallocator);
CF_EXPORT CFStringRef CFStringCreateWithCharacters(CFAllocatorRef alloc, const UniChar* chars,
                                                   CFIndex numChars);
/* The string takes the buffer and frees it with contentsDeallocator when it
 * goes away (NULL: the default allocator; kCFAllocatorNull: never freed). */
CF_EXPORT CFStringRef CFStringCreateWithCharactersNoCopy(CFAllocatorRef alloc, const UniChar* chars,
                                                         CFIndex numChars,
                                                         CFAllocatorRef contentsDeallocator);
CF_EXPORT CFStringRef CFStringCreateWithSubstring(CFAllocatorRef alloc, CFStringRef str,
                                                  CFRange range);
CF_EXPORT CFStringRef CFStringCreateCopy(CFAllocatorRef alloc, CFStringRef theString);
CF_EXPORT CFStringRef CFStringCreateWithFormat(CFAllocatorRef alloc, CFDictionaryRef formatOptions,
                                               CFStringRef format, ...);
CF_EXPORT CFStringRef CFStringCreateWithFormatAndArguments(CFAllocatorRef alloc,
                                                           CFDictionaryRef formatOptions,
                                                           CFStringRef format, va_list arguments);
typedef struct OpaqueCFError* CFErrorRef; /* as in CFError.h */
/*
 * The same, but only when format reads the arguments that validFormatSpecifiers reads: no more
 * of them, each of the same kind (an integer of the same size, a real, a C string, an object,
 * ...). Otherwise NULL, and *errorPtr (when errorPtr is not NULL) a new error in
 * kCFErrorDomainCocoa, code 2048, that the caller releases. For texts from files, such as
 * translations, whose conversions must not read arguments the caller never passed.
 */
CF_EXPORT CFStringRef CFStringCreateStringWithValidatedFormat(CFAllocatorRef alloc,
                                                              CFDictionaryRef formatOptions,
                                                              CFStringRef validFormatSpecifiers,
                                                              CFStringRef format,
                                                              CFErrorRef* errorPtr, ...);
CF_EXPORT CFStringRef CFStringCreateStringWithValidatedFormatAndArguments(
    CFAllocatorRef alloc, CFDictionaryRef formatOptions, CFStringRef validFormatSpecifiers,
    CFStringRef format, va_list arguments, CFErrorRef* errorPtr);
/* maxLength 0 means unlimited. */
CF_EXPORT CFMutableStringRef CFStringCreateMutable(CFAllocatorRef alloc, CFIndex maxLength);
CF_EXPORT CFMutableStringRef CFStringCreateMutableCopy(CFAllocatorRef alloc, CFIndex maxLength,
                                                       CFStringRef theString);
CF_EXPORT CFStringRef CFStringCreateWithFileSystemRepresentation(CFAllocatorRef alloc,
                                                                 const char* buffer);

/* Access. */
CF_EXPORT CFIndex CFStringGetLength(CFStringRef theString);
CF_EXPORT UniChar CFStringGetCharacterAtIndex(CFStringRef theString, CFIndex idx);
CF_EXPORT void CFStringGetCharacters(CFStringRef theString, CFRange range, UniChar* buffer);
/* Direct access to the UTF-16 storage; valid while the string is unchanged. */
CF_EXPORT const UniChar* CFStringGetCharactersPtr(CFStringRef theString);
CF_EXPORT const char* CFStringGetCStringPtr(CFStringRef theString, CFStringEncoding encoding);
CF_EXPORT ConstStringPtr CFStringGetPascalStringPtr(CFStringRef theString,
                                                    CFStringEncoding encoding);
/* False when the buffer (including the terminating NUL) is too small or a
 * character has no representation in the encoding. */
CF_EXPORT Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize,
                                     CFStringEncoding encoding);
CF_EXPORT Boolean CFStringGetPascalString(CFStringRef theString, StringPtr buffer,
                                          CFIndex bufferSize, CFStringEncoding encoding);
/* Converts as many whole characters of range as fit; returns how many. A
 * character that cannot be converted becomes lossByte, or ends the conversion
 * when lossByte is 0. buffer NULL measures only. */
CF_EXPORT CFIndex CFStringGetBytes(CFStringRef theString, CFRange range, CFStringEncoding encoding,
                                   UInt8 lossByte, Boolean isExternalRepresentation, UInt8* buffer,
                                   CFIndex maxBufLen, CFIndex* usedBufLen);
CF_EXPORT CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding);
CF_EXPORT CFIndex CFStringGetMaximumSizeOfFileSystemRepresentation(CFStringRef string);
CF_EXPORT Boolean CFStringGetFileSystemRepresentation(CFStringRef string, char* buffer,
                                                      CFIndex maxBufLen);
CF_EXPORT SInt32 CFStringGetIntValue(CFStringRef str);
CF_EXPORT double CFStringGetDoubleValue(CFStringRef str);

/* Encodings. */
CF_EXPORT CFStringEncoding CFStringGetSystemEncoding(void);
CF_EXPORT CFStringEncoding CFStringGetFastestEncoding(CFStringRef theString);
CF_EXPORT CFStringEncoding CFStringGetSmallestEncoding(CFStringRef theString);
CF_EXPORT Boolean CFStringIsEncodingAvailable(CFStringEncoding encoding);
/* A kCFStringEncodingInvalidId-terminated list owned by the framework. */
CF_EXPORT const CFStringEncoding* CFStringGetListOfAvailableEncodings(void);
CF_EXPORT CFStringRef CFStringGetNameOfEncoding(CFStringEncoding encoding);
CF_EXPORT CFStringRef CFStringConvertEncodingToIANACharSetName(CFStringEncoding encoding);
CF_EXPORT CFStringEncoding CFStringConvertIANACharSetNameToEncoding(CFStringRef theString);

/* Comparison and search. */
CF_EXPORT CFComparisonResult CFStringCompare(CFStringRef theString1, CFStringRef theString2,
                                             CFStringCompareFlags compareOptions);
CF_EXPORT CFComparisonResult CFStringCompareWithOptions(CFStringRef theString1,
                                                        CFStringRef theString2,
                                                        CFRange rangeToCompare,
                                                        CFStringCompareFlags compareOptions);
CF_EXPORT CFComparisonResult CFStringCompareWithOptionsAndLocale(
    CFStringRef theString1, CFStringRef theString2, CFRange rangeToCompare,
    CFStringCompareFlags compareOptions, CFLocaleRef locale);
/* {kCFNotFound, 0} when absent. */
CF_EXPORT CFRange CFStringFind(CFStringRef theString, CFStringRef stringToFind,
                               CFStringCompareFlags compareOptions);
CF_EXPORT Boolean CFStringFindWithOptions(CFStringRef theString, CFStringRef stringToFind,
                                          CFRange rangeToSearch, CFStringCompareFlags searchOptions,
                                          CFRange* result);
CF_EXPORT Boolean CFStringFindWithOptionsAndLocale(CFStringRef theString, CFStringRef stringToFind,
                                                   CFRange rangeToSearch,
                                                   CFStringCompareFlags searchOptions,
                                                   CFLocaleRef locale, CFRange* result);
/* The first character of rangeToSearch in theSet (the last with
 * kCFCompareBackwards; only the first or last position with kCFCompareAnchored). */
CF_EXPORT Boolean CFStringFindCharacterFromSet(CFStringRef theString, CFCharacterSetRef theSet,
                                               CFRange rangeToSearch,
                                               CFStringCompareFlags searchOptions, CFRange* result);

CF_EXPORT Boolean CFStringHasPrefix(CFStringRef theString, CFStringRef prefix);
CF_EXPORT Boolean CFStringHasSuffix(CFStringRef theString, CFStringRef suffix);

/* Editing a mutable string. */
CF_EXPORT void CFStringAppend(CFMutableStringRef theString, CFStringRef appendedString);
CF_EXPORT void CFStringAppendCharacters(CFMutableStringRef theString, const UniChar* chars,
                                        CFIndex numChars);
CF_EXPORT void CFStringAppendCString(CFMutableStringRef theString, const char* cStr,
                                     CFStringEncoding encoding);
CF_EXPORT void CFStringAppendPascalString(CFMutableStringRef theString, ConstStr255Param pStr,
                                          CFStringEncoding encoding);
CF_EXPORT void CFStringAppendFormat(CFMutableStringRef theString, CFDictionaryRef formatOptions,
                                    CFStringRef format, ...);
CF_EXPORT void CFStringAppendFormatAndArguments(CFMutableStringRef theString,
                                                CFDictionaryRef formatOptions, CFStringRef format,
                                                va_list arguments);
CF_EXPORT void CFStringInsert(CFMutableStringRef str, CFIndex idx, CFStringRef insertedStr);
CF_EXPORT void CFStringDelete(CFMutableStringRef theString, CFRange range);
CF_EXPORT void CFStringReplace(CFMutableStringRef theString, CFRange range,
                               CFStringRef replacement);
CF_EXPORT void CFStringReplaceAll(CFMutableStringRef theString, CFStringRef replacement);
/* Returns the number of replacements made. */
CF_EXPORT CFIndex CFStringFindAndReplace(CFMutableStringRef theString, CFStringRef stringToFind,
                                         CFStringRef replacementString, CFRange rangeToSearch,
                                         CFStringCompareFlags compareOptions);
CF_EXPORT void CFStringPad(CFMutableStringRef theString, CFStringRef padString, CFIndex length,
                           CFIndex indexIntoPad);
CF_EXPORT void CFStringTrim(CFMutableStringRef theString, CFStringRef trimString);
CF_EXPORT void CFStringTrimWhitespace(CFMutableStringRef theString);
CF_EXPORT void CFStringLowercase(CFMutableStringRef theString, CFLocaleRef locale);
CF_EXPORT void CFStringUppercase(CFMutableStringRef theString, CFLocaleRef locale);
CF_EXPORT void CFStringCapitalize(CFMutableStringRef theString, CFLocaleRef locale);
CF_EXPORT void CFStringNormalize(CFMutableStringRef theString, CFStringNormalizationForm theForm);

/* Splitting and joining; new objects owned by the caller. A string without
 * the separator gives an array holding just that string. */
CF_EXPORT CFArrayRef CFStringCreateArrayBySeparatingStrings(CFAllocatorRef alloc,
                                                            CFStringRef theString,
                                                            CFStringRef separatorString);
CF_EXPORT CFStringRef CFStringCreateByCombiningStrings(CFAllocatorRef alloc, CFArrayRef theArray,
                                                       CFStringRef separatorString);
/* The string's bytes in an encoding, with a byte order mark for the plain
 * Unicode encodings; NULL when a character cannot be converted and lossByte is 0. */
CF_EXPORT CFDataRef CFStringCreateExternalRepresentation(CFAllocatorRef alloc,
                                                         CFStringRef theString,
                                                         CFStringEncoding encoding, UInt8 lossByte);
CF_EXPORT CFStringRef CFStringCreateFromExternalRepresentation(CFAllocatorRef alloc, CFDataRef data,
                                                               CFStringEncoding encoding);

/* Debugging: the object's description on standard error. */
CF_EXPORT void CFShow(CFTypeRef obj);
CF_EXPORT void CFShowStr(CFStringRef str);

/*
 * Fast sequential access: the string's own characters when it exposes them,
 * otherwise a window of characters copied in bulk.
 */
#define kCFStringInlineBufferLength 64
typedef struct {
    UniChar buffer[kCFStringInlineBufferLength];
    CFStringRef theString;
    const UniChar* directUniCharBuffer;
    const char* directCStringBuffer;
    CFRange rangeToBuffer;
    CFIndex bufferedRangeStart;
    CFIndex bufferedRangeEnd;
} CFStringInlineBuffer;

CF_INLINE void CFStringInitInlineBuffer(CFStringRef str, CFStringInlineBuffer* buf, CFRange range) {
    buf->theString = str;
    buf->rangeToBuffer = range;
    buf->directUniCharBuffer = CFStringGetCharactersPtr(str);
    buf->directCStringBuffer = NULL;
    buf->bufferedRangeStart = 0;
    buf->bufferedRangeEnd = 0;
}

/* 0 outside the range given to CFStringInitInlineBuffer. */
CF_INLINE UniChar CFStringGetCharacterFromInlineBuffer(CFStringInlineBuffer* buf, CFIndex idx) {
    if (idx < 0 || idx >= buf->rangeToBuffer.length)
        return 0;
    if (buf->directUniCharBuffer != NULL)
        return buf->directUniCharBuffer[buf->rangeToBuffer.location + idx];
    if (idx < buf->bufferedRangeStart || idx >= buf->bufferedRangeEnd) {
        /* Keep a few characters before idx so that stepping back stays cheap. */
        CFIndex start = idx >= 4 ? idx - 4 : 0;
        CFIndex end = start + kCFStringInlineBufferLength;
        if (end > buf->rangeToBuffer.length)
            end = buf->rangeToBuffer.length;
        CFStringGetCharacters(buf->theString,
                              CFRangeMake(buf->rangeToBuffer.location + start, end - start),
                              buf->buffer);
        buf->bufferedRangeStart = start;
        buf->bufferedRangeEnd = end;
    }
    return buf->buffer[idx - buf->bufferedRangeStart];
}

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFSTRING_H */

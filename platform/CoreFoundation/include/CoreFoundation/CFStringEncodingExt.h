/*
 * CFStringEncodingExt.h: the encodings beyond the built-in ones that this
 * platform can convert (CFStringIsEncodingAvailable says which).
 */
#ifndef COREFOUNDATION_CFSTRINGENCODINGEXT_H
#define COREFOUNDATION_CFSTRINGENCODINGEXT_H

#include <CoreFoundation/CFString.h>

CF_EXTERN_C_BEGIN

typedef CFIndex CFStringEncodings;
enum {
    kCFStringEncodingMacJapanese = 1,
    kCFStringEncodingISOLatin2 = 0x0202,
    kCFStringEncodingISOLatin5 = 0x0209,
    kCFStringEncodingISOLatin9 = 0x020F,
    kCFStringEncodingDOSJapanese = 0x0420,
    kCFStringEncodingWindowsLatin2 = 0x0501,
    kCFStringEncodingEUC_JP = 0x0920,
    kCFStringEncodingShiftJIS = 0x0A01
};

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFSTRINGENCODINGEXT_H */

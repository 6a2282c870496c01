/*
 * MacTypes.h: the basic scalar types, QuickDraw points and rectangles, and the
 * few status codes that every framework of the runtime shares.
 *
 * Sizes follow the 64-bit Mac (LP64): SInt32 and UInt32 are 32 bits, long is
 * 64 bits, pointers are 64 bits.
 */
#ifndef MACTYPES_H
#define MACTYPES_H

#include <stdint.h>
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint8_t UInt8;
typedef int8_t SInt8;
typedef uint16_t UInt16;
typedef int16_t SInt16;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef int64_t SInt64;

typedef float Float32;
typedef double Float64;

typedef SInt32 Fixed;
typedef SInt32 Fract;
typedef SInt32 Duration;

typedef unsigned char Boolean;
typedef UInt8 Byte;
typedef SInt8 SignedByte;
typedef char* Ptr;
typedef Ptr* Handle;
typedef long Size;

typedef SInt16 OSErr;
typedef SInt32 OSStatus;
typedef UInt32 OptionBits;
typedef UInt32 ItemCount;
typedef UInt32 ByteCount;
typedef UInt32 ByteOffset;
typedef SInt16 ScriptCode;
typedef SInt16 LangCode;
typedef SInt16 RegionCode;
typedef UInt32 TextEncoding;

typedef UInt32 FourCharCode;
typedef FourCharCode OSType;
typedef FourCharCode ResType;

typedef UInt16 UniChar;
typedef UniChar* UniCharPtr;
typedef unsigned long UniCharCount;

typedef unsigned char Str255[256];
typedef unsigned char Str63[64];
typedef unsigned char Str32[33];
typedef unsigned char Str31[32];
typedef unsigned char Str27[28];
typedef unsigned char Str15[16];
typedef unsigned char* StringPtr;
typedef StringPtr* StringHandle;
typedef const unsigned char* ConstStringPtr;
typedef const unsigned char* ConstStr255Param;
typedef const unsigned char* ConstStr63Param;
typedef const unsigned char* ConstStr31Param;

/* QuickDraw text styles (bold, italic, ...), a bit set. */
typedef unsigned char Style;
typedef short StyleParameter;
typedef Style StyleField;

typedef long (*ProcPtr)(void);

struct Point {
    short v;
    short h;
};
typedef struct Point Point;
typedef Point* PointPtr;

struct Rect {
    short top;
    short left;
    short bottom;
    short right;
};
typedef struct Rect Rect;
typedef Rect* RectPtr;

struct NumVersion {
    UInt8 majorRev;
    UInt8 minorAndBugRev;
    UInt8 stage;
    UInt8 nonRelRev;
};
typedef struct NumVersion NumVersion;

enum { noErr = 0, paramErr = -50, memFullErr = -108, unimpErr = -4, kNilOptions = 0 };

#define kVariableLengthArray 1
#define kUnknownType 0x3F3F3F3F /* '????' */

#ifdef __cplusplus
}
#endif

#endif /* MACTYPES_H */

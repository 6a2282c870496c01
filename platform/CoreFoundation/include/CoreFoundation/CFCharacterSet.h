/*
 * CFCharacterSet.h: sets of Unicode characters (all planes), predefined by
 * Unicode property or built from ranges and strings; mutable sets can be
 * edited and combined.
 */
#ifndef COREFOUNDATION_CFCHARACTERSET_H
#define COREFOUNDATION_CFCHARACTERSET_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

typedef UInt32 UTF32Char;
typedef const struct OpaqueCFCharacterSet* CFCharacterSetRef;
typedef struct OpaqueCFCharacterSet* CFMutableCharacterSetRef;

typedef CFIndex CFCharacterSetPredefinedSet;
enum {
    kCFCharacterSetControl = 1,              /* Cc, Cf */
    kCFCharacterSetWhitespace = 2,           /* Zs, tab */
    kCFCharacterSetWhitespaceAndNewline = 3, /* Z*, U+0009-U+000D, U+0085 */
    kCFCharacterSetDecimalDigit = 4,         /* Nd */
    kCFCharacterSetLetter = 5,               /* L*, M* */
    kCFCharacterSetLowercaseLetter = 6,      /* Ll */
    kCFCharacterSetUppercaseLetter = 7,      /* Lu, Lt */
    kCFCharacterSetNonBase = 8,              /* M* */
    kCFCharacterSetDecomposable = 9,         /* canonically decomposable */
    kCFCharacterSetAlphaNumeric = 10,        /* L*, M*, N* */
    kCFCharacterSetPunctuation = 11,         /* P* */
    kCFCharacterSetIllegal = 12,             /* unassigned and non-characters */
    kCFCharacterSetCapitalizedLetter = 13,   /* Lt */
    kCFCharacterSetSymbol = 14,              /* S* */
    kCFCharacterSetNewline = 15              /* U+000A-U+000D, U+0085, U+2028, U+2029 */
};

CF_EXPORT CFTypeID CFCharacterSetGetTypeID(void);

/* Owned by the framework; NULL for an unknown identifier. */
CF_EXPORT CFCharacterSetRef
CFCharacterSetGetPredefined(CFCharacterSetPredefinedSet theSetIdentifier);

/* Creation: each returns a new set owned by the caller. */
CF_EXPORT CFCharacterSetRef CFCharacterSetCreateWithCharactersInRange(CFAllocatorRef alloc,
                                                                      CFRange theRange);
CF_EXPORT CFCharacterSetRef CFCharacterSetCreateWithCharactersInString(CFAllocatorRef alloc,
                                                                       CFStringRef theString);
CF_EXPORT CFCharacterSetRef CFCharacterSetCreateInvertedSet(CFAllocatorRef alloc,
                                                            CFCharacterSetRef theSet);
CF_EXPORT CFCharacterSetRef CFCharacterSetCreateCopy(CFAllocatorRef alloc,
                                                     CFCharacterSetRef theSet);
CF_EXPORT CFMutableCharacterSetRef CFCharacterSetCreateMutable(CFAllocatorRef alloc);
CF_EXPORT CFMutableCharacterSetRef CFCharacterSetCreateMutableCopy(CFAllocatorRef alloc,
                                                                   CFCharacterSetRef theSet);

/* Queries. */
CF_EXPORT Boolean CFCharacterSetIsCharacterMember(CFCharacterSetRef theSet, UniChar theChar);
CF_EXPORT Boolean CFCharacterSetIsLongCharacterMember(CFCharacterSetRef theSet, UTF32Char theChar);
CF_EXPORT Boolean CFCharacterSetIsSupersetOfSet(CFCharacterSetRef theSet,
                                                CFCharacterSetRef theOtherset);
/* plane 0-16: whether any character of U+plane0000-U+planeFFFF is in the set. */
CF_EXPORT Boolean CFCharacterSetHasMemberInPlane(CFCharacterSetRef theSet, CFIndex thePlane);

/* Editing a mutable set. */
CF_EXPORT void CFCharacterSetAddCharactersInRange(CFMutableCharacterSetRef theSet,
                                                  CFRange theRange);
CF_EXPORT void CFCharacterSetRemoveCharactersInRange(CFMutableCharacterSetRef theSet,
                                                     CFRange theRange);
CF_EXPORT void CFCharacterSetAddCharactersInString(CFMutableCharacterSetRef theSet,
                                                   CFStringRef theString);
CF_EXPORT void CFCharacterSetRemoveCharactersInString(CFMutableCharacterSetRef theSet,
                                                      CFStringRef theString);
CF_EXPORT void CFCharacterSetUnion(CFMutableCharacterSetRef theSet, CFCharacterSetRef theOtherSet);
CF_EXPORT void CFCharacterSetIntersect(CFMutableCharacterSetRef theSet,
                                       CFCharacterSetRef theOtherSet);
CF_EXPORT void CFCharacterSetInvert(CFMutableCharacterSetRef theSet);

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFCHARACTERSET_H */

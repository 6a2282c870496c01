#include "StringTestSupport.h"

#include <CoreFoundation/CFRuntime.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using cftest::make;
using cftest::Owned;
using cftest::utf8;

namespace {

// A constant table initialised before main, as static tables of CFSTR keys are.
struct NamedValue {
    CFStringRef name;
    int value;
};
const NamedValue kStaticTable[] = {{CFSTR("None"), 1}, {CFSTR("Some"), 2}};

TEST(CFString, CreatesFromCStringAndCharacters) {
    Owned<CFStringRef> s = make("Grüße");
    ASSERT_NE(s.get(), nullptr);
    EXPECT_EQ(CFGetTypeID(s), CFStringGetTypeID());
    EXPECT_EQ(CFStringGetLength(s), 5);
    EXPECT_EQ(CFStringGetCharacterAtIndex(s, 2), 0x00FC);

    const UniChar chars[] = {'G', 'r', 0x00FC, 0x00DF, 'e'};
    Owned<CFStringRef> fromChars = CFStringCreateWithCharacters(nullptr, chars, 5);
    EXPECT_TRUE(CFEqual(s, fromChars));
    EXPECT_EQ(CFHash(s), CFHash(fromChars));

    UniChar out[3] = {};
    CFStringGetCharacters(s, CFRangeMake(1, 3), out);
    EXPECT_EQ(out[0], 'r');
    EXPECT_EQ(out[2], 0x00DF);
    const UniChar* direct = CFStringGetCharactersPtr(s);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(std::memcmp(direct, chars, sizeof chars), 0);

    Owned<CFStringRef> other = make("Grüsse");
    EXPECT_FALSE(CFEqual(s, other));
}

TEST(CFString, ConstantStringsAreInternedAndImmortal) {
    CFStringRef a = CFSTR("Accounting");
    EXPECT_EQ(a, CFSTR("Accounting"));
    EXPECT_EQ(utf8(a), "Accounting");
    CFIndex count = CFGetRetainCount(a);
    CFRelease(a);
    CFRelease(a);
    EXPECT_EQ(CFGetRetainCount(a), count);
    EXPECT_EQ(utf8(a), "Accounting");

    EXPECT_EQ(utf8(kStaticTable[0].name), "None");
    EXPECT_EQ(kStaticTable[1].name, CFSTR("Some"));
    Owned<CFStringRef> dynamic = make("None");
    EXPECT_TRUE(CFEqual(kStaticTable[0].name, dynamic));
    EXPECT_EQ(CFHash(kStaticTable[0].name), CFHash(dynamic));
    EXPECT_EQ(utf8(CFSTR("日本")), "日本");
}

int gDeallocations = 0;
void counting_deallocate(void* ptr, void*) {
    ++gDeallocations;
    std::free(ptr);
}

TEST(CFString, NoCopyStringsOwnTheirBuffer) {
    CFAllocatorContext context = {};
    context.deallocate = counting_deallocate;
    Owned<CFAllocatorRef> counting = CFAllocatorCreate(nullptr, &context);
    auto* buffer = static_cast<UniChar*>(std::malloc(3 * sizeof(UniChar)));
    buffer[0] = 'a', buffer[1] = 'b', buffer[2] = 'c';
    gDeallocations = 0;
    CFStringRef s = CFStringCreateWithCharactersNoCopy(nullptr, buffer, 3, counting);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(CFStringGetCharactersPtr(s), buffer); // no copy was made
    EXPECT_EQ(utf8(s), "abc");
    CFRelease(s);
    EXPECT_EQ(gDeallocations, 1);

    static const UniChar fixed[] = {'x', 'y'};
    CFStringRef borrowed = CFStringCreateWithCharactersNoCopy(nullptr, fixed, 2, kCFAllocatorNull);
    EXPECT_EQ(utf8(borrowed), "xy");
    CFRelease(borrowed); // must not free static memory
}

TEST(CFString, SubstringsCopiesAndMutableCopies) {
    Owned<CFStringRef> s = make("print dialog");
    Owned<CFStringRef> sub = CFStringCreateWithSubstring(nullptr, s, CFRangeMake(6, 6));
    EXPECT_EQ(utf8(sub), "dialog");
    EXPECT_EQ(CFStringCreateWithSubstring(nullptr, s, CFRangeMake(8, 10)), nullptr);

    Owned<CFMutableStringRef> m = CFStringCreateMutableCopy(nullptr, 0, s);
    Owned<CFStringRef> snapshot = CFStringCreateCopy(nullptr, m);
    CFStringAppend(m, CFSTR("!"));
    EXPECT_EQ(utf8(snapshot), "print dialog");
    EXPECT_EQ(utf8(m), "print dialog!");
    // An immutable copy of a mutable string is really immutable.
    CFStringAppend(const_cast<CFMutableStringRef>(snapshot.get()), CFSTR("?"));
    EXPECT_EQ(utf8(snapshot), "print dialog");
}

TEST(CFString, DescriptionsAndShow) {
    Owned<CFStringRef> s = make("text");
    Owned<CFStringRef> d = CFCopyDescription(s);
    EXPECT_TRUE(CFEqual(d, s));

    Owned<CFMutableStringRef> m = CFStringCreateMutableCopy(nullptr, 0, s);
    Owned<CFStringRef> md = CFCopyDescription(m);
    CFStringAppend(m, CFSTR("2"));
    EXPECT_EQ(utf8(md), "text");

    // A class without its own describe callback.
    Owned<CFStringRef> allocator = CFCopyDescription(kCFAllocatorMalloc);
    EXPECT_EQ(utf8(allocator).rfind("<CFAllocator 0x", 0), 0u) << utf8(allocator);
    Owned<CFStringRef> type_name = CFCopyTypeIDDescription(CFStringGetTypeID());
    EXPECT_EQ(utf8(type_name), "CFString");
    EXPECT_EQ(CFCopyTypeIDDescription(999999), nullptr);

    testing::internal::CaptureStderr();
    CFShow(CFSTR("shown on stderr"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "shown on stderr\n");
}

TEST(CFString, InlineBufferReadsDirectlyAndThroughItsWindow) {
    Owned<CFMutableStringRef> m = CFStringCreateMutable(nullptr, 0);
    for (int i = 0; i < 300; ++i) {
        UniChar c = static_cast<UniChar>('A' + i % 26);
        CFStringAppendCharacters(m, &c, 1);
    }
    CFStringInlineBuffer buffer;
    CFStringInitInlineBuffer(m, &buffer, CFRangeMake(10, 280));
    EXPECT_NE(buffer.directUniCharBuffer, nullptr);
    EXPECT_EQ(CFStringGetCharacterFromInlineBuffer(&buffer, 0), 'A' + 10);
    EXPECT_EQ(CFStringGetCharacterFromInlineBuffer(&buffer, 280), 0);

    // Force the windowed path, as for a string without direct storage, and
    // walk forwards and backwards across several refills.
    buffer.directUniCharBuffer = nullptr;
    for (CFIndex i : {0L, 63L, 64L, 200L, 279L, 5L, 150L}) {
        EXPECT_EQ(CFStringGetCharacterFromInlineBuffer(&buffer, i), 'A' + (10 + i) % 26)
            << "index " << i;
    }
    EXPECT_EQ(CFStringGetCharacterFromInlineBuffer(&buffer, -1), 0);
}

TEST(CFString, NumericValues) {
    struct Case {
        const char* text;
        SInt32 int_value;
        double double_value;
    } cases[] = {
        {"42", 42, 42.0},
        {"  -17 apples", -17, -17.0},
        {"+3.75", 3, 3.75},
        {"1e3", 1, 1000.0},
        {"abc", 0, 0.0},
        {"99999999999", INT32_MAX, 99999999999.0},
        {"-99999999999", INT32_MIN, -99999999999.0},
    };
    for (const Case& c : cases) {
        Owned<CFStringRef> s = make(c.text);
        EXPECT_EQ(CFStringGetIntValue(s), c.int_value) << c.text;
        EXPECT_DOUBLE_EQ(CFStringGetDoubleValue(s), c.double_value) << c.text;
    }
}

TEST(CFString, CompareWithOptions) {
    EXPECT_EQ(CFStringCompare(CFSTR("abc"), CFSTR("abd"), 0), kCFCompareLessThan);
    EXPECT_EQ(CFStringCompare(CFSTR("abc"), CFSTR("ab"), 0), kCFCompareGreaterThan);
    EXPECT_EQ(CFStringCompare(CFSTR("ABC"), CFSTR("abc"), 0), kCFCompareLessThan);
    EXPECT_EQ(CFStringCompare(CFSTR("ABC"), CFSTR("abc"), kCFCompareCaseInsensitive),
              kCFCompareEqualTo);
    EXPECT_EQ(CFStringCompare(CFSTR("file10"), CFSTR("file9"), 0), kCFCompareLessThan);
    EXPECT_EQ(CFStringCompare(CFSTR("file10"), CFSTR("file9"), kCFCompareNumerically),
              kCFCompareGreaterThan);
    EXPECT_EQ(CFStringCompare(CFSTR("v007"), CFSTR("v7"), kCFCompareNumerically),
              kCFCompareEqualTo);
    EXPECT_EQ(CFStringCompare(CFSTR("café"), CFSTR("cafe"), kCFCompareDiacriticInsensitive),
              kCFCompareEqualTo);
    EXPECT_EQ(CFStringCompare(CFSTR("ＡＢＣ"), CFSTR("ABC"), kCFCompareWidthInsensitive),
              kCFCompareEqualTo);
    // Backwards and anchored only matter for searching; compare accepts them.
    EXPECT_EQ(CFStringCompare(CFSTR("x"), CFSTR("x"), kCFCompareBackwards | kCFCompareAnchored),
              kCFCompareEqualTo);
    EXPECT_EQ(CFStringCompareWithOptions(CFSTR("hello world"), CFSTR("WORLD"), CFRangeMake(6, 5),
                                         kCFCompareCaseInsensitive),
              kCFCompareEqualTo);
    // Localised: "ä" sorts with "a" in German, after "z" by code point.
    Owned<CFLocaleRef> de = CFLocaleCreate(nullptr, CFSTR("de_DE"));
    EXPECT_EQ(CFStringCompareWithOptionsAndLocale(CFSTR("äpfel"), CFSTR("zebra"), CFRangeMake(0, 5),
                                                  0, de),
              kCFCompareLessThan);
    EXPECT_EQ(CFStringCompare(CFSTR("äpfel"), CFSTR("zebra"), 0), kCFCompareGreaterThan);
}

TEST(CFString, FindWithOptions) {
    CFStringRef text = CFSTR("Print the Accounting panel; accounting codes");
    CFRange r = CFStringFind(text, CFSTR("accounting"), 0);
    EXPECT_EQ(r.location, 28);
    EXPECT_EQ(r.length, 10);
    r = CFStringFind(text, CFSTR("accounting"), kCFCompareCaseInsensitive);
    EXPECT_EQ(r.location, 10);
    r = CFStringFind(text, CFSTR("ACCOUNTING"), kCFCompareCaseInsensitive | kCFCompareBackwards);
    EXPECT_EQ(r.location, 28);
    r = CFStringFind(text, CFSTR("panel"), kCFCompareAnchored);
    EXPECT_EQ(r.location, kCFNotFound);
    r = CFStringFind(text, CFSTR("codes"), kCFCompareAnchored | kCFCompareBackwards);
    EXPECT_EQ(r.location, 39);
    r = CFStringFind(text, CFSTR("missing"), 0);
    EXPECT_EQ(r.location, kCFNotFound);
    EXPECT_EQ(r.length, 0);

    CFRange found;
    EXPECT_FALSE(CFStringFindWithOptions(text, CFSTR("Print"), CFRangeMake(1, 20), 0, &found));
    // A decomposed "é" in the text matches a plain "e", and the range covers the mark.
    const UniChar decomposed[] = {'c', 'a', 'f', 'e', 0x0301, '!'};
    Owned<CFStringRef> cafe = CFStringCreateWithCharacters(nullptr, decomposed, 6);
    ASSERT_TRUE(CFStringFindWithOptions(cafe, CFSTR("CAFE"), CFRangeMake(0, 6),
                                        kCFCompareCaseInsensitive | kCFCompareDiacriticInsensitive,
                                        &found));
    EXPECT_EQ(found.location, 0);
    EXPECT_EQ(found.length, 5);

    // With a locale the search follows its collation: "ß" is "ss" when marks
    // and case are ignored, and "ß" matches "ß" of any case.
    CFStringRef street = CFSTR("Die Straße hinab");
    Owned<CFLocaleRef> de = CFLocaleCreate(nullptr, CFSTR("de_DE"));
    const CFStringCompareFlags loose = kCFCompareCaseInsensitive | kCFCompareDiacriticInsensitive;
    EXPECT_FALSE(
        CFStringFindWithOptions(street, CFSTR("STRASSE"), CFRangeMake(0, 16), loose, &found));
    ASSERT_TRUE(CFStringFindWithOptionsAndLocale(street, CFSTR("STRASSE"), CFRangeMake(0, 16),
                                                 loose, de, &found));
    EXPECT_EQ(found.location, 4);
    EXPECT_EQ(found.length, 6);
    EXPECT_TRUE(CFStringFindWithOptionsAndLocale(street, CFSTR("STRAßE"), CFRangeMake(0, 16),
                                                 kCFCompareCaseInsensitive, de, &found));
    EXPECT_FALSE(CFStringFindWithOptionsAndLocale(street, CFSTR("STRASSE"), CFRangeMake(0, 16), 0,
                                                  de, &found));
    EXPECT_FALSE(CFStringFindWithOptionsAndLocale(street, CFSTR("straße"), CFRangeMake(0, 16),
                                                  kCFCompareAnchored, de, &found));
    ASSERT_TRUE(CFStringFindWithOptionsAndLocale(
        street, CFSTR("HINAB"), CFRangeMake(0, 16),
        kCFCompareCaseInsensitive | kCFCompareAnchored | kCFCompareBackwards, de, &found));
    EXPECT_EQ(found.location, 11);

    EXPECT_TRUE(CFStringHasPrefix(text, CFSTR("Print")));
    EXPECT_FALSE(CFStringHasPrefix(text, CFSTR("print")));
    EXPECT_TRUE(CFStringHasSuffix(text, CFSTR("codes")));
    EXPECT_FALSE(CFStringHasSuffix(text, CFSTR("")));
}

TEST(CFString, MutableEditing) {
    Owned<CFMutableStringRef> m = CFStringCreateMutable(nullptr, 0);
    CFStringAppendCString(m, "Account", kCFStringEncodingASCII);
    CFStringAppend(m, m); // appending a string to itself
    EXPECT_EQ(utf8(m), "AccountAccount");
    CFStringInsert(m, 7, CFSTR(" & "));
    EXPECT_EQ(utf8(m), "Account & Account");
    CFStringDelete(m, CFRangeMake(0, 10));
    EXPECT_EQ(utf8(m), "Account");
    CFStringReplace(m, CFRangeMake(0, 1), CFSTR("a"));
    EXPECT_EQ(utf8(m), "account");
    CFStringDelete(m, CFRangeMake(5, 10)); // out of range: refused, unchanged
    EXPECT_EQ(utf8(m), "account");

    CFStringReplaceAll(m, CFSTR("a-b-A-b"));
    EXPECT_EQ(CFStringFindAndReplace(m, CFSTR("a"), CFSTR("xyz"), CFRangeMake(0, 7),
                                     kCFCompareCaseInsensitive),
              2);
    EXPECT_EQ(utf8(m), "xyz-b-xyz-b");
    EXPECT_EQ(CFStringFindAndReplace(m, CFSTR("-b"), CFSTR(""), CFRangeMake(0, 11), 0), 2);
    EXPECT_EQ(utf8(m), "xyz-xyz");

    CFStringPad(m, CFSTR(".:"), 10, 1);
    EXPECT_EQ(utf8(m), "xyz-xyz:.:");
    CFStringPad(m, nullptr, 3, 0);
    EXPECT_EQ(utf8(m), "xyz");

    CFStringReplaceAll(m, CFSTR("\t  straße \n"));
    CFStringTrimWhitespace(m);
    EXPECT_EQ(utf8(m), "straße");
    CFStringUppercase(m, nullptr);
    EXPECT_EQ(utf8(m), "STRASSE");
    CFStringLowercase(m, nullptr);
    EXPECT_EQ(utf8(m), "strasse");
    Owned<CFLocaleRef> tr = CFLocaleCreate(nullptr, CFSTR("tr_TR"));
    CFStringReplaceAll(m, CFSTR("istanbul"));
    CFStringUppercase(m, tr);
    EXPECT_EQ(utf8(m), "İSTANBUL");

    CFStringReplaceAll(m, CFSTR("xxabcxx"));
    CFStringTrim(m, CFSTR("x"));
    EXPECT_EQ(utf8(m), "abc");

    const UniChar decomposed[] = {'e', 0x0301};
    CFStringReplaceAll(m, CFSTR(""));
    CFStringAppendCharacters(m, decomposed, 2);
    CFStringNormalize(m, kCFStringNormalizationFormC);
    EXPECT_EQ(CFStringGetLength(m), 1);
    EXPECT_EQ(CFStringGetCharacterAtIndex(m, 0), 0x00E9);

    // Immutable strings refuse editing.
    Owned<CFStringRef> fixed = make("fixed");
    testing::internal::CaptureStderr();
    CFStringAppend(const_cast<CFMutableStringRef>(fixed.get()), CFSTR("!"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("immutable"), std::string::npos);
    EXPECT_EQ(utf8(fixed), "fixed");
}

TEST(CFString, SplittingAndJoining) {
    Owned<CFArrayRef> parts =
        CFStringCreateArrayBySeparatingStrings(nullptr, CFSTR("a, b,, c"), CFSTR(", "));
    ASSERT_EQ(CFArrayGetCount(parts), 3);
    EXPECT_EQ(utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(parts, 1))), "b,");
    Owned<CFStringRef> joined = CFStringCreateByCombiningStrings(nullptr, parts, CFSTR("|"));
    EXPECT_EQ(utf8(joined), "a|b,|c");
    Owned<CFArrayRef> whole =
        CFStringCreateArrayBySeparatingStrings(nullptr, CFSTR("no separator"), CFSTR(";"));
    ASSERT_EQ(CFArrayGetCount(whole), 1);
    EXPECT_EQ(utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(whole, 0))), "no separator");
    Owned<CFArrayRef> edges =
        CFStringCreateArrayBySeparatingStrings(nullptr, CFSTR(";x;"), CFSTR(";"));
    EXPECT_EQ(CFArrayGetCount(edges), 3); // empty strings before and after
    Owned<CFStringRef> rejoined = CFStringCreateByCombiningStrings(nullptr, edges, CFSTR(";"));
    EXPECT_EQ(utf8(rejoined), ";x;");
}

} // namespace

#include "StringTestSupport.h"

#include <CoreFoundation/CFRuntime.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using cftest::make;
using cftest::utf8;

namespace {

// A constant table initialised before main, as static tables of CFSTR keys are.
struct NamedValue {
    CFStringRef name;
    int value;
};
const NamedValue kStaticTable[] = {{CFSTR("None"), 1}, {CFSTR("Some"), 2}};

TEST(CFString, CreatesFromCStringAndCharacters) {
    cf::Holder<CFStringRef> s(make("Grüße"));
    ASSERT_NE(s.get(), nullptr);
    EXPECT_EQ(CFGetTypeID(s.get()), CFStringGetTypeID());
    EXPECT_EQ(CFStringGetLength(s.get()), 5);
    EXPECT_EQ(CFStringGetCharacterAtIndex(s.get(), 2), 0x00FC);

    const UniChar chars[] = {'G', 'r', 0x00FC, 0x00DF, 'e'};
    cf::Holder<CFStringRef> fromChars(CFStringCreateWithCharacters(nullptr, chars, 5));
    EXPECT_TRUE(CFEqual(s.get(), fromChars.get()));
    EXPECT_EQ(CFHash(s.get()), CFHash(fromChars.get()));

    UniChar out[3] = {};
    CFStringGetCharacters(s.get(), CFRangeMake(1, 3), out);
    EXPECT_EQ(out[0], 'r');
    EXPECT_EQ(out[2], 0x00DF);
    const UniChar* direct = CFStringGetCharactersPtr(s.get());
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(std::memcmp(direct, chars, sizeof chars), 0);

    cf::Holder<CFStringRef> other(make("Grüsse"));
    EXPECT_FALSE(CFEqual(s.get(), other.get()));
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
    cf::Holder<CFStringRef> dynamic(make("None"));
    EXPECT_TRUE(CFEqual(kStaticTable[0].name, dynamic.get()));
    EXPECT_EQ(CFHash(kStaticTable[0].name), CFHash(dynamic.get()));
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
    cf::Holder<CFAllocatorRef> counting(CFAllocatorCreate(nullptr, &context));
    auto* buffer = static_cast<UniChar*>(std::malloc(3 * sizeof(UniChar)));
    buffer[0] = 'a', buffer[1] = 'b', buffer[2] = 'c';
    gDeallocations = 0;
    CFStringRef s = CFStringCreateWithCharactersNoCopy(nullptr, buffer, 3, counting.get());
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
    cf::Holder<CFStringRef> s(make("print dialog"));
    cf::Holder<CFStringRef> sub(CFStringCreateWithSubstring(nullptr, s.get(), CFRangeMake(6, 6)));
    EXPECT_EQ(utf8(sub.get()), "dialog");
    EXPECT_EQ(CFStringCreateWithSubstring(nullptr, s.get(), CFRangeMake(8, 10)), nullptr);

    cf::Holder<CFMutableStringRef> m(CFStringCreateMutableCopy(nullptr, 0, s.get()));
    cf::Holder<CFStringRef> snapshot(CFStringCreateCopy(nullptr, m.get()));
    CFStringAppend(m.get(), CFSTR("!"));
    EXPECT_EQ(utf8(snapshot.get()), "print dialog");
    EXPECT_EQ(utf8(m.get()), "print dialog!");
    // An immutable copy of a mutable string is really immutable.
    CFStringAppend(const_cast<CFMutableStringRef>(snapshot.get()), CFSTR("?"));
    EXPECT_EQ(utf8(snapshot.get()), "print dialog");
}

TEST(CFString, DescriptionsAndShow) {
    cf::Holder<CFStringRef> s(make("text"));
    cf::Holder<CFStringRef> d(CFCopyDescription(s.get()));
    EXPECT_TRUE(CFEqual(d.get(), s.get()));

    cf::Holder<CFMutableStringRef> m(CFStringCreateMutableCopy(nullptr, 0, s.get()));
    cf::Holder<CFStringRef> md(CFCopyDescription(m.get()));
    CFStringAppend(m.get(), CFSTR("2"));
    EXPECT_EQ(utf8(md.get()), "text");

    // A class without its own describe callback.
    cf::Holder<CFStringRef> allocator(CFCopyDescription(kCFAllocatorMalloc));
    EXPECT_EQ(utf8(allocator.get()).rfind("<CFAllocator 0x", 0), 0u) << utf8(allocator.get());
    cf::Holder<CFStringRef> type_name(CFCopyTypeIDDescription(CFStringGetTypeID()));
    EXPECT_EQ(utf8(type_name.get()), "CFString");
    EXPECT_EQ(CFCopyTypeIDDescription(999999), nullptr);

    testing::internal::CaptureStderr();
    CFShow(CFSTR("shown on stderr"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "shown on stderr\n");
}

TEST(CFString, InlineBufferReadsDirectlyAndThroughItsWindow) {
    cf::Holder<CFMutableStringRef> m(CFStringCreateMutable(nullptr, 0));
    for (int i = 0; i < 300; ++i) {
        UniChar c = static_cast<UniChar>('A' + i % 26);
        CFStringAppendCharacters(m.get(), &c, 1);
    }
    CFStringInlineBuffer buffer;
    CFStringInitInlineBuffer(m.get(), &buffer, CFRangeMake(10, 280));
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
        cf::Holder<CFStringRef> s(make(c.text));
        EXPECT_EQ(CFStringGetIntValue(s.get()), c.int_value) << c.text;
        EXPECT_DOUBLE_EQ(CFStringGetDoubleValue(s.get()), c.double_value) << c.text;
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
    cf::Holder<CFLocaleRef> de(CFLocaleCreate(nullptr, CFSTR("de_DE")));
    EXPECT_EQ(CFStringCompareWithOptionsAndLocale(CFSTR("äpfel"), CFSTR("zebra"), CFRangeMake(0, 5),
                                                  0, de.get()),
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
    cf::Holder<CFStringRef> cafe(CFStringCreateWithCharacters(nullptr, decomposed, 6));
    ASSERT_TRUE(CFStringFindWithOptions(cafe.get(), CFSTR("CAFE"), CFRangeMake(0, 6),
                                        kCFCompareCaseInsensitive | kCFCompareDiacriticInsensitive,
                                        &found));
    EXPECT_EQ(found.location, 0);
    EXPECT_EQ(found.length, 5);

    // With a locale the search follows its collation: "ß" is "ss" when marks
    // and case are ignored, and "ß" matches "ß" of any case.
    CFStringRef street = CFSTR("Die Straße hinab");
    cf::Holder<CFLocaleRef> de(CFLocaleCreate(nullptr, CFSTR("de_DE")));
    const CFStringCompareFlags loose = kCFCompareCaseInsensitive | kCFCompareDiacriticInsensitive;
    EXPECT_FALSE(
        CFStringFindWithOptions(street, CFSTR("STRASSE"), CFRangeMake(0, 16), loose, &found));
    ASSERT_TRUE(CFStringFindWithOptionsAndLocale(street, CFSTR("STRASSE"), CFRangeMake(0, 16),
                                                 loose, de.get(), &found));
    EXPECT_EQ(found.location, 4);
    EXPECT_EQ(found.length, 6);
    EXPECT_TRUE(CFStringFindWithOptionsAndLocale(street, CFSTR("STRAßE"), CFRangeMake(0, 16),
                                                 kCFCompareCaseInsensitive, de.get(), &found));
    EXPECT_FALSE(CFStringFindWithOptionsAndLocale(street, CFSTR("STRASSE"), CFRangeMake(0, 16), 0,
                                                  de.get(), &found));
    EXPECT_FALSE(CFStringFindWithOptionsAndLocale(street, CFSTR("straße"), CFRangeMake(0, 16),
                                                  kCFCompareAnchored, de.get(), &found));
    ASSERT_TRUE(CFStringFindWithOptionsAndLocale(
        street, CFSTR("HINAB"), CFRangeMake(0, 16),
        kCFCompareCaseInsensitive | kCFCompareAnchored | kCFCompareBackwards, de.get(), &found));
    EXPECT_EQ(found.location, 11);

    EXPECT_TRUE(CFStringHasPrefix(text, CFSTR("Print")));
    EXPECT_FALSE(CFStringHasPrefix(text, CFSTR("print")));
    EXPECT_TRUE(CFStringHasSuffix(text, CFSTR("codes")));
    EXPECT_FALSE(CFStringHasSuffix(text, CFSTR("")));
}

TEST(CFString, MutableEditing) {
    cf::Holder<CFMutableStringRef> m(CFStringCreateMutable(nullptr, 0));
    CFStringAppendCString(m.get(), "Account", kCFStringEncodingASCII);
    CFStringAppend(m.get(), m.get()); // appending a string to itself
    EXPECT_EQ(utf8(m.get()), "AccountAccount");
    CFStringInsert(m.get(), 7, CFSTR(" & "));
    EXPECT_EQ(utf8(m.get()), "Account & Account");
    CFStringDelete(m.get(), CFRangeMake(0, 10));
    EXPECT_EQ(utf8(m.get()), "Account");
    CFStringReplace(m.get(), CFRangeMake(0, 1), CFSTR("a"));
    EXPECT_EQ(utf8(m.get()), "account");
    CFStringDelete(m.get(), CFRangeMake(5, 10)); // out of range: refused, unchanged
    EXPECT_EQ(utf8(m.get()), "account");

    CFStringReplaceAll(m.get(), CFSTR("a-b-A-b"));
    EXPECT_EQ(CFStringFindAndReplace(m.get(), CFSTR("a"), CFSTR("xyz"), CFRangeMake(0, 7),
                                     kCFCompareCaseInsensitive),
              2);
    EXPECT_EQ(utf8(m.get()), "xyz-b-xyz-b");
    EXPECT_EQ(CFStringFindAndReplace(m.get(), CFSTR("-b"), CFSTR(""), CFRangeMake(0, 11), 0), 2);
    EXPECT_EQ(utf8(m.get()), "xyz-xyz");

    CFStringPad(m.get(), CFSTR(".:"), 10, 1);
    EXPECT_EQ(utf8(m.get()), "xyz-xyz:.:");
    CFStringPad(m.get(), nullptr, 3, 0);
    EXPECT_EQ(utf8(m.get()), "xyz");

    CFStringReplaceAll(m.get(), CFSTR("\t  straße \n"));
    CFStringTrimWhitespace(m.get());
    EXPECT_EQ(utf8(m.get()), "straße");
    CFStringUppercase(m.get(), nullptr);
    EXPECT_EQ(utf8(m.get()), "STRASSE");
    CFStringLowercase(m.get(), nullptr);
    EXPECT_EQ(utf8(m.get()), "strasse");
    cf::Holder<CFLocaleRef> tr(CFLocaleCreate(nullptr, CFSTR("tr_TR")));
    CFStringReplaceAll(m.get(), CFSTR("istanbul"));
    CFStringUppercase(m.get(), tr.get());
    EXPECT_EQ(utf8(m.get()), "İSTANBUL");

    CFStringReplaceAll(m.get(), CFSTR("xxabcxx"));
    CFStringTrim(m.get(), CFSTR("x"));
    EXPECT_EQ(utf8(m.get()), "abc");

    const UniChar decomposed[] = {'e', 0x0301};
    CFStringReplaceAll(m.get(), CFSTR(""));
    CFStringAppendCharacters(m.get(), decomposed, 2);
    CFStringNormalize(m.get(), kCFStringNormalizationFormC);
    EXPECT_EQ(CFStringGetLength(m.get()), 1);
    EXPECT_EQ(CFStringGetCharacterAtIndex(m.get(), 0), 0x00E9);

    // Immutable strings refuse editing.
    cf::Holder<CFStringRef> fixed(make("fixed"));
    testing::internal::CaptureStderr();
    CFStringAppend(const_cast<CFMutableStringRef>(fixed.get()), CFSTR("!"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("immutable"), std::string::npos);
    EXPECT_EQ(utf8(fixed.get()), "fixed");
}

TEST(CFString, SplittingAndJoining) {
    cf::Holder<CFArrayRef> parts(
        CFStringCreateArrayBySeparatingStrings(nullptr, CFSTR("a, b,, c"), CFSTR(", ")));
    ASSERT_EQ(CFArrayGetCount(parts.get()), 3);
    EXPECT_EQ(utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(parts.get(), 1))), "b,");
    cf::Holder<CFStringRef> joined(
        CFStringCreateByCombiningStrings(nullptr, parts.get(), CFSTR("|")));
    EXPECT_EQ(utf8(joined.get()), "a|b,|c");
    cf::Holder<CFArrayRef> whole(
        CFStringCreateArrayBySeparatingStrings(nullptr, CFSTR("no separator"), CFSTR(";")));
    ASSERT_EQ(CFArrayGetCount(whole.get()), 1);
    EXPECT_EQ(utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(whole.get(), 0))),
              "no separator");
    cf::Holder<CFArrayRef> edges(
        CFStringCreateArrayBySeparatingStrings(nullptr, CFSTR(";x;"), CFSTR(";")));
    EXPECT_EQ(CFArrayGetCount(edges.get()), 3); // empty strings before and after
    cf::Holder<CFStringRef> rejoined(
        CFStringCreateByCombiningStrings(nullptr, edges.get(), CFSTR(";")));
    EXPECT_EQ(utf8(rejoined.get()), ";x;");
}

} // namespace

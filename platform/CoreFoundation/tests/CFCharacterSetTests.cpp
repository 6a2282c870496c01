#include "StringTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(CFCharacterSet, PredefinedSetsFollowUnicodeCategories) {
    struct Case {
        CFCharacterSetPredefinedSet set;
        UTF32Char in[3];
        UTF32Char out[2];
    } cases[] = {
        {kCFCharacterSetControl, {0x0007, 0x200B, 0x007F}, {'a', ' '}},
        {kCFCharacterSetWhitespace, {' ', '\t', 0x3000}, {'\n', 'x'}},
        {kCFCharacterSetWhitespaceAndNewline, {' ', '\n', 0x0085}, {'x', 0x200B}},
        {kCFCharacterSetDecimalDigit, {'7', 0x0663, 0x1D7CE}, {'x', 0x00BD}},
        {kCFCharacterSetLetter, {'a', 0x65E5, 0x0301}, {'1', '-'}},
        {kCFCharacterSetLowercaseLetter, {'a', 0x00DF, 0x03C9}, {'A', 0x01C5}},
        {kCFCharacterSetUppercaseLetter, {'A', 0x01C5, 0x03A9}, {'a', '1'}},
        {kCFCharacterSetNonBase, {0x0301, 0x093F, 0x20DD}, {'e', 0x00E9}},
        {kCFCharacterSetDecomposable, {0x00E9, 0x00C5, 0x1E0A}, {'e', 0x00DF}},
        {kCFCharacterSetAlphaNumeric, {'a', '9', 0x00BD}, {'-', ' '}},
        {kCFCharacterSetPunctuation, {'!', 0x3001, '-'}, {'a', '+'}},
        {kCFCharacterSetIllegal, {0xFFFF, 0x0378, 0xFDD0}, {'a', 0x1F600}},
        {kCFCharacterSetCapitalizedLetter, {0x01C5, 0x01C8, 0x1F88}, {'A', 'a'}},
        {kCFCharacterSetSymbol, {'+', 0x20AC, 0x1F600}, {'a', '!'}},
        {kCFCharacterSetNewline, {'\n', '\r', 0x2028}, {' ', '\t'}},
    };
    for (const Case& c : cases) {
        CFCharacterSetRef set = CFCharacterSetGetPredefined(c.set);
        ASSERT_NE(set, nullptr) << c.set;
        EXPECT_EQ(set, CFCharacterSetGetPredefined(c.set)); // one shared object
        for (UTF32Char in : c.in)
            EXPECT_TRUE(CFCharacterSetIsLongCharacterMember(set, in))
                << c.set << " U+" << std::hex << in;
        for (UTF32Char out : c.out)
            EXPECT_FALSE(CFCharacterSetIsLongCharacterMember(set, out))
                << c.set << " U+" << std::hex << out;
    }
    EXPECT_EQ(CFCharacterSetGetPredefined(0), nullptr);
    EXPECT_EQ(CFCharacterSetGetPredefined(16), nullptr);
    EXPECT_TRUE(CFCharacterSetIsSupersetOfSet(
        CFCharacterSetGetPredefined(kCFCharacterSetWhitespaceAndNewline),
        CFCharacterSetGetPredefined(kCFCharacterSetNewline)));
    EXPECT_TRUE(
        CFCharacterSetIsSupersetOfSet(CFCharacterSetGetPredefined(kCFCharacterSetAlphaNumeric),
                                      CFCharacterSetGetPredefined(kCFCharacterSetDecimalDigit)));
    EXPECT_FALSE(
        CFCharacterSetIsSupersetOfSet(CFCharacterSetGetPredefined(kCFCharacterSetLetter),
                                      CFCharacterSetGetPredefined(kCFCharacterSetAlphaNumeric)));
}

TEST(CFCharacterSet, SetsFromRangesAndStrings) {
    cf::Holder<CFCharacterSetRef> digits(
        CFCharacterSetCreateWithCharactersInRange(nullptr, CFRangeMake('0', 10)));
    EXPECT_TRUE(CFCharacterSetIsCharacterMember(digits.get(), '0'));
    EXPECT_TRUE(CFCharacterSetIsCharacterMember(digits.get(), '9'));
    EXPECT_FALSE(CFCharacterSetIsCharacterMember(digits.get(), ':'));
    EXPECT_FALSE(CFCharacterSetIsCharacterMember(digits.get(), '/'));

    cf::Holder<CFCharacterSetRef> chars(
        CFCharacterSetCreateWithCharactersInString(nullptr, CFSTR("ab😀")));
    EXPECT_TRUE(CFCharacterSetIsLongCharacterMember(chars.get(), 0x1F600));
    // The halves of a surrogate pair are not members on their own.
    EXPECT_FALSE(CFCharacterSetIsCharacterMember(chars.get(), 0xD83D));
    EXPECT_TRUE(CFCharacterSetHasMemberInPlane(chars.get(), 0));
    EXPECT_TRUE(CFCharacterSetHasMemberInPlane(chars.get(), 1));
    EXPECT_FALSE(CFCharacterSetHasMemberInPlane(chars.get(), 2));
    EXPECT_FALSE(CFCharacterSetHasMemberInPlane(chars.get(), 17));

    cf::Holder<CFCharacterSetRef> inverted(CFCharacterSetCreateInvertedSet(nullptr, chars.get()));
    EXPECT_FALSE(CFCharacterSetIsCharacterMember(inverted.get(), 'a'));
    EXPECT_TRUE(CFCharacterSetIsCharacterMember(inverted.get(), 'c'));
    EXPECT_TRUE(CFCharacterSetHasMemberInPlane(inverted.get(), 16));

    cf::Holder<CFCharacterSetRef> copy(CFCharacterSetCreateCopy(nullptr, chars.get()));
    cf::Holder<CFCharacterSetRef> same(
        CFCharacterSetCreateWithCharactersInString(nullptr, CFSTR("😀ba")));
    EXPECT_TRUE(CFEqual(copy.get(), same.get()));
    EXPECT_EQ(CFHash(copy.get()), CFHash(same.get()));
    EXPECT_FALSE(CFEqual(copy.get(), inverted.get()));
}

TEST(CFCharacterSet, MutableSetsEditAndCombine) {
    cf::Holder<CFMutableCharacterSetRef> set(CFCharacterSetCreateMutable(nullptr));
    CFCharacterSetAddCharactersInRange(set.get(), CFRangeMake('a', 26));
    CFCharacterSetRemoveCharactersInString(set.get(), CFSTR("aeiou"));
    EXPECT_TRUE(CFCharacterSetIsCharacterMember(set.get(), 'b'));
    EXPECT_FALSE(CFCharacterSetIsCharacterMember(set.get(), 'e'));
    CFCharacterSetAddCharactersInString(set.get(), CFSTR("_"));
    CFCharacterSetRemoveCharactersInRange(set.get(), CFRangeMake('x', 3));
    EXPECT_TRUE(CFCharacterSetIsCharacterMember(set.get(), '_'));
    EXPECT_FALSE(CFCharacterSetIsCharacterMember(set.get(), 'y'));

    CFCharacterSetIntersect(set.get(), CFCharacterSetGetPredefined(kCFCharacterSetLetter));
    EXPECT_FALSE(CFCharacterSetIsCharacterMember(set.get(), '_'));
    EXPECT_TRUE(CFCharacterSetIsCharacterMember(set.get(), 'b'));
    CFCharacterSetUnion(set.get(), CFCharacterSetGetPredefined(kCFCharacterSetDecimalDigit));
    EXPECT_TRUE(CFCharacterSetIsCharacterMember(set.get(), '5'));
    CFCharacterSetInvert(set.get());
    EXPECT_FALSE(CFCharacterSetIsCharacterMember(set.get(), '5'));
    EXPECT_TRUE(CFCharacterSetIsCharacterMember(set.get(), 'a'));

    // Predefined sets and copies of them are not changed through a mutable copy.
    cf::Holder<CFMutableCharacterSetRef> digits(CFCharacterSetCreateMutableCopy(
        nullptr, CFCharacterSetGetPredefined(kCFCharacterSetDecimalDigit)));
    CFCharacterSetAddCharactersInString(digits.get(), CFSTR("x"));
    EXPECT_TRUE(CFCharacterSetIsCharacterMember(digits.get(), 'x'));
    EXPECT_FALSE(CFCharacterSetIsCharacterMember(
        CFCharacterSetGetPredefined(kCFCharacterSetDecimalDigit), 'x'));
    testing::internal::CaptureStderr();
    CFCharacterSetInvert(const_cast<CFMutableCharacterSetRef>(
        CFCharacterSetGetPredefined(kCFCharacterSetDecimalDigit)));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("immutable"), std::string::npos);
    EXPECT_TRUE(CFCharacterSetIsCharacterMember(
        CFCharacterSetGetPredefined(kCFCharacterSetDecimalDigit), '1'));
}

TEST(CFCharacterSet, FindCharacterFromSetInStrings) {
    CFStringRef text = CFSTR("  code 42😀 end ");
    CFCharacterSetRef digits = CFCharacterSetGetPredefined(kCFCharacterSetDecimalDigit);
    CFRange all = CFRangeMake(0, CFStringGetLength(text)), found;
    ASSERT_TRUE(CFStringFindCharacterFromSet(text, digits, all, 0, &found));
    EXPECT_EQ(found.location, 7);
    EXPECT_EQ(found.length, 1);
    ASSERT_TRUE(CFStringFindCharacterFromSet(text, digits, all, kCFCompareBackwards, &found));
    EXPECT_EQ(found.location, 8);
    EXPECT_FALSE(CFStringFindCharacterFromSet(text, digits, all, kCFCompareAnchored, &found));
    cf::Holder<CFCharacterSetRef> emoji(
        CFCharacterSetCreateWithCharactersInRange(nullptr, CFRangeMake(0x1F600, 1)));
    ASSERT_TRUE(CFStringFindCharacterFromSet(text, emoji.get(), all, kCFCompareBackwards, &found));
    EXPECT_EQ(found.location, 9);
    EXPECT_EQ(found.length, 2); // both halves of the pair
    CFCharacterSetRef space = CFCharacterSetGetPredefined(kCFCharacterSetWhitespace);
    ASSERT_TRUE(CFStringFindCharacterFromSet(text, space, all,
                                             kCFCompareAnchored | kCFCompareBackwards, &found));
    EXPECT_EQ(found.location, all.length - 1);
    EXPECT_FALSE(CFStringFindCharacterFromSet(text, digits, CFRangeMake(0, 7), 0, &found));
}

} // namespace

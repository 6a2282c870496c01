#include "XMLEntities.h"
#include "XMLEntitiesInternal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::u16string chars(CFStringRef string) {
    std::u16string out(static_cast<size_t>(CFStringGetLength(string)), u'\0');
    CFStringGetCharacters(string, CFRangeMake(0, CFStringGetLength(string)),
                          reinterpret_cast<UniChar*>(out.data()));
    return out;
}

CFStringRef make(const std::u16string& text) {
    return CFStringCreateWithCharacters(nullptr, reinterpret_cast<const UniChar*>(text.data()),
                                        static_cast<CFIndex>(text.size()));
}

// Unescapes text reading the characters directly, and again through the window buffer; both
// ways must agree.
std::u16string unescape(const std::u16string& text, CFDictionaryRef entities = nullptr) {
    CFStringRef input = make(text);
    CFMutableStringRef out = XMLCreateStringByUnescapingEntities(nullptr, input, entities);
    CFMutableStringRef windowed = toolkit::unescape_entities(nullptr, input, entities, false);
    std::u16string result = chars(out);
    EXPECT_EQ(chars(windowed), result) << "window buffer and direct access disagree";
    CFRelease(windowed);
    CFRelease(out);
    CFRelease(input);
    return result;
}

TEST(XMLEntities, PredefinedAndNumericReferences) {
    EXPECT_EQ(unescape(u"a&lt;b&gt;c&amp;d&quot;e&apos;f."), u"a<b>c&d\"e'f.");
    EXPECT_EQ(unescape(u"&#65;&#x41;&#x6a;&#x6A;."), u"AAjj.");
    // The hexadecimal marker must be lowercase: "X" is no digit, so the value stays 0.
    EXPECT_EQ(unescape(u"&#X41;."), std::u16string(1, u'\0') + u".");
    EXPECT_EQ(unescape(u"&#;&#x;."), std::u16string(2, u'\0') + u".");
}

TEST(XMLEntities, LargeValuesBecomeSurrogatesAndWrap) {
    EXPECT_EQ(unescape(u"&#x1F600;."), std::u16string({0xD83D, 0xDE00, u'.'}));
    EXPECT_EQ(unescape(u"&#x110000;."), std::u16string({0xDC00, 0xDC00, u'.'}));
    // 2^32 + 65 wraps to 65.
    EXPECT_EQ(unescape(u"&#4294967361;."), u"A.");
    // 0xFFFF is the marker of a named reference: looked up by name, copied when absent.
    EXPECT_EQ(unescape(u"&#65535;&#xFFFF;."), u"&#65535;&#xFFFF;.");
}

TEST(XMLEntities, UnknownNamesAndStrayAmpersandsAreCopied) {
    EXPECT_EQ(unescape(u"x&AMP;y"), u"x&AMP;y");
    EXPECT_EQ(unescape(u"x&&amp;y"), u"x&&amp;y");
    EXPECT_EQ(unescape(u"tail&"), u"tail&");
    EXPECT_EQ(unescape(u"a &unterminated rest"), u"a &unterminated rest");
}

TEST(XMLEntities, NumericReferencesDropTrailingJunkAndTheLastCharacterIsNeverRead) {
    EXPECT_EQ(unescape(u"&#65abc;z"), u"Az");
    // Without a later ";" the reference swallows the rest of the input.
    EXPECT_EQ(unescape(u"x&#65 and more"), u"xA");
    // The final "5" is never read, so only the 6 counts.
    EXPECT_EQ(unescape(u"x&#65"), u"x\u0006");
    EXPECT_EQ(unescape(u"x&#65;"), u"xA");
}

TEST(XMLEntities, CallerTableAddsAndOverridesNamesWithoutBeingChanged) {
    const void* keys[] = {CFSTR("amp"), CFSTR("copy"), CFSTR("#65535")};
    const void* values[] = {CFSTR("and"), CFSTR("(c)"), CFSTR("max")};
    CFDictionaryRef table = CFDictionaryCreate(
        nullptr, keys, values, 3, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    EXPECT_EQ(unescape(u"a&amp;b &copy; &lt; &#65535;.", table), u"aandb (c) < max.");
    EXPECT_EQ(CFDictionaryGetCount(table), 3);
    CFRelease(table);
}

// Replacements much longer than their references make the result outgrow the input.
TEST(XMLEntities, LongReplacementsOutgrowTheInput) {
    std::u16string word(300, u'w');
    CFStringRef replacement = make(word);
    const void* keys[] = {CFSTR("w")};
    const void* values[] = {replacement};
    CFDictionaryRef table = CFDictionaryCreate(
        nullptr, keys, values, 1, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    std::u16string text, expected;
    for (int i = 0; i < 40; ++i) {
        text += u"&w;-";
        expected += word + u"-";
    }
    EXPECT_EQ(unescape(text, table), expected);
    CFRelease(table);
    CFRelease(replacement);
}

TEST(XMLEntities, PlainAndEmptyInputGiveNewStrings) {
    CFStringRef input = CFSTR("no references here");
    CFMutableStringRef out = XMLCreateStringByUnescapingEntities(nullptr, input, nullptr);
    EXPECT_NE(static_cast<CFStringRef>(out), input);
    EXPECT_TRUE(CFEqual(out, input));
    CFRelease(out);
    CFMutableStringRef empty = XMLCreateStringByUnescapingEntities(nullptr, CFSTR(""), nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(CFStringGetLength(empty), 0);
    CFRelease(empty);
}

// Long input crosses many refills of the window buffer, with references straddling them.
TEST(XMLEntities, LongInputAcrossWindowRefills) {
    std::u16string text;
    std::u16string expected;
    for (int i = 0; i < 200; ++i) {
        std::u16string filler(static_cast<size_t>(i % 7), u'z');
        text += u"word&amp;&#x41;&lt;" + filler;
        expected += u"word&A<" + filler;
    }
    text += u".";
    expected += u".";
    EXPECT_EQ(unescape(text), expected);
}

// Plain runs of every length up to well past the window, each followed by a reference, so
// references fall at every offset and straddle refills; each prefix also ends in a reference,
// whose final character is never read and so is taken to be the ";".
TEST(XMLEntities, ReferencesAtEveryOffsetAndAtTheEnd) {
    std::u16string text, expected;
    for (size_t run = 0; run < 150; ++run) {
        std::u16string plain(run, u'z');
        EXPECT_EQ(unescape(text + plain + u"&amp;"), expected + plain + u"&");
        EXPECT_EQ(unescape(text + plain + u"&ampX"), expected + plain + u"&");
        EXPECT_EQ(unescape(text + plain + u"&#65;"), expected + plain + u"A");
        EXPECT_EQ(unescape(text + plain + u"&"), expected + plain + u"&");
        text += plain + (run % 2 != 0 ? u"&lt;" : u"&#x41;");
        expected += plain + (run % 2 != 0 ? u"<" : u"A");
    }
}

} // namespace

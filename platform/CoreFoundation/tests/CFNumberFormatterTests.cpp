#include "StringTestSupport.h"

#include <CoreFoundation/CFNumberFormatter.h>

#include <gtest/gtest.h>

#include <cmath>

using cftest::Owned;
using cftest::utf8;

namespace {

Owned<CFNumberFormatterRef> formatter_for(const char* locale_id, CFNumberFormatterStyle style) {
    Owned<CFStringRef> id = cftest::make(locale_id);
    Owned<CFLocaleRef> locale = CFLocaleCreate(nullptr, id);
    return CFNumberFormatterCreate(nullptr, locale, style);
}

std::string format_double(CFNumberFormatterRef f, double value) {
    Owned<CFStringRef> s =
        CFNumberFormatterCreateStringWithValue(nullptr, f, kCFNumberDoubleType, &value);
    return utf8(s);
}

void set_int(CFNumberFormatterRef f, CFNumberFormatterKey key, int value) {
    Owned<CFNumberRef> n = CFNumberCreate(nullptr, kCFNumberIntType, &value);
    CFNumberFormatterSetProperty(f, key, n);
}

TEST(CFNumberFormatter, StylesFollowTheLocale) {
    struct Case {
        const char* locale;
        CFNumberFormatterStyle style;
        double value;
        const char* text;
    } cases[] = {
        {"de_DE", kCFNumberFormatterDecimalStyle, 1234567.891, "1.234.567,891"},
        {"en_US", kCFNumberFormatterDecimalStyle, 1234567.891, "1,234,567.891"},
        {"fr_FR", kCFNumberFormatterDecimalStyle, 0.5, "0,5"},
        {"en_US", kCFNumberFormatterNoStyle, 1234.6, "1235"},
        {"en_US", kCFNumberFormatterPercentStyle, 0.25, "25%"},
        {"de_DE", kCFNumberFormatterPercentStyle, 0.25, "25\u00a0%"},
        {"en_US", kCFNumberFormatterCurrencyStyle, 3.5, "$3.50"},
        {"de_DE", kCFNumberFormatterCurrencyStyle, 3.5, "3,50\u00a0€"},
        {"en_US", kCFNumberFormatterScientificStyle, 12345, "1.2345E4"},
        {"en_US", kCFNumberFormatterSpellOutStyle, 42, "forty-two"},
        {"de_DE", kCFNumberFormatterSpellOutStyle, 3, "drei"},
    };
    for (const Case& c : cases) {
        Owned<CFNumberFormatterRef> f = formatter_for(c.locale, c.style);
        ASSERT_NE(f.get(), nullptr);
        EXPECT_EQ(format_double(f.get(), c.value), c.text) << c.locale << " style " << c.style;
        EXPECT_EQ(CFNumberFormatterGetStyle(f.get()), c.style);
    }
    EXPECT_EQ(CFNumberFormatterCreate(nullptr, nullptr, 99), nullptr);
}

TEST(CFNumberFormatter, ValuesOfEveryTypeAndNumbers) {
    Owned<CFNumberFormatterRef> f = formatter_for("en_US", kCFNumberFormatterDecimalStyle);
    SInt8 i8 = -8;
    SInt64 big = 9007199254740993LL; // not representable as a double
    float half = 0.5f;
    long l = -123456;
    Owned<CFStringRef> a =
        CFNumberFormatterCreateStringWithValue(nullptr, f.get(), kCFNumberSInt8Type, &i8);
    Owned<CFStringRef> b =
        CFNumberFormatterCreateStringWithValue(nullptr, f.get(), kCFNumberSInt64Type, &big);
    Owned<CFStringRef> c =
        CFNumberFormatterCreateStringWithValue(nullptr, f.get(), kCFNumberFloatType, &half);
    Owned<CFStringRef> d =
        CFNumberFormatterCreateStringWithValue(nullptr, f.get(), kCFNumberLongType, &l);
    EXPECT_EQ(utf8(a), "-8");
    EXPECT_EQ(utf8(b), "9,007,199,254,740,993");
    EXPECT_EQ(utf8(c), "0.5");
    EXPECT_EQ(utf8(d), "-123,456");
    EXPECT_EQ(CFNumberFormatterCreateStringWithValue(nullptr, f.get(), 99, &l), nullptr);

    double pi = 3.14159;
    Owned<CFNumberRef> number = CFNumberCreate(nullptr, kCFNumberDoubleType, &pi);
    Owned<CFStringRef> text = CFNumberFormatterCreateStringWithNumber(nullptr, f.get(), number);
    EXPECT_EQ(utf8(text), "3.142");
}

TEST(CFNumberFormatter, PropertiesChangeTheOutputAndReadBack) {
    Owned<CFNumberFormatterRef> f = formatter_for("de_DE", kCFNumberFormatterDecimalStyle);
    set_int(f.get(), kCFNumberFormatterMinFractionDigits, 2);
    set_int(f.get(), kCFNumberFormatterMaxFractionDigits, 2);
    EXPECT_EQ(format_double(f.get(), 1234.5), "1.234,50");
    set_int(f.get(), kCFNumberFormatterMinIntegerDigits, 6);
    CFNumberFormatterSetProperty(f.get(), kCFNumberFormatterUseGroupingSeparator, kCFBooleanFalse);
    EXPECT_EQ(format_double(f.get(), 1234.5), "001234,50");
    CFNumberFormatterSetProperty(f.get(), kCFNumberFormatterDecimalSeparator, CFSTR("'"));
    CFNumberFormatterSetProperty(f.get(), kCFNumberFormatterUseGroupingSeparator, kCFBooleanTrue);
    CFNumberFormatterSetProperty(f.get(), kCFNumberFormatterGroupingSeparator, CFSTR(" "));
    set_int(f.get(), kCFNumberFormatterMinIntegerDigits, 1);
    EXPECT_EQ(format_double(f.get(), 1234.5), "1 234'50");

    Owned<CFTypeRef> digits =
        CFNumberFormatterCopyProperty(f.get(), kCFNumberFormatterMaxFractionDigits);
    int n = 0;
    ASSERT_NE(digits.get(), nullptr);
    EXPECT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(digits.get()), kCFNumberIntType, &n));
    EXPECT_EQ(n, 2);
    Owned<CFTypeRef> separator =
        CFNumberFormatterCopyProperty(f.get(), kCFNumberFormatterDecimalSeparator);
    EXPECT_EQ(utf8(static_cast<CFStringRef>(separator.get())), "'");
    Owned<CFTypeRef> grouping =
        CFNumberFormatterCopyProperty(f.get(), kCFNumberFormatterUseGroupingSeparator);
    EXPECT_EQ(grouping.get(), kCFBooleanTrue);

    CFNumberFormatterSetProperty(f.get(), kCFNumberFormatterZeroSymbol, CFSTR("nil"));
    EXPECT_EQ(format_double(f.get(), 0.0), "nil");
    // A value of the wrong type is refused and reported.
    testing::internal::CaptureStderr();
    CFNumberFormatterSetProperty(f.get(), kCFNumberFormatterMaxFractionDigits, CFSTR("3"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot set"), std::string::npos);
    EXPECT_EQ(format_double(f.get(), 1.0), "1'00");
    EXPECT_EQ(CFNumberFormatterCopyProperty(f.get(), CFSTR("unknown key")), nullptr);
}

TEST(CFNumberFormatter, PatternsAndParsing) {
    Owned<CFNumberFormatterRef> f = formatter_for("de_DE", kCFNumberFormatterDecimalStyle);
    Owned<CFTypeRef> initial =
        CFNumberFormatterCopyProperty(f.get(), kCFNumberFormatterDefaultFormat);
    CFNumberFormatterSetFormat(f.get(), CFSTR("0000.0"));
    EXPECT_EQ(utf8(CFNumberFormatterGetFormat(f.get())), "0000.0");
    EXPECT_EQ(format_double(f.get(), 7.25), "0007,2");
    Owned<CFTypeRef> still =
        CFNumberFormatterCopyProperty(f.get(), kCFNumberFormatterDefaultFormat);
    EXPECT_TRUE(CFEqual(initial, still));

    Owned<CFNumberFormatterRef> de = formatter_for("de_DE", kCFNumberFormatterDecimalStyle);
    double d = 0;
    EXPECT_TRUE(CFNumberFormatterGetValueFromString(de.get(), CFSTR("1.234,5"), nullptr,
                                                    kCFNumberDoubleType, &d));
    EXPECT_DOUBLE_EQ(d, 1234.5);
    SInt32 i = 0;
    EXPECT_FALSE(CFNumberFormatterGetValueFromString(de.get(), CFSTR("1,5"), nullptr,
                                                     kCFNumberSInt32Type, &i));
    EXPECT_TRUE(CFNumberFormatterGetValueFromString(de.get(), CFSTR("-42"), nullptr,
                                                    kCFNumberSInt32Type, &i));
    EXPECT_EQ(i, -42);
    SInt8 small = 0;
    EXPECT_FALSE(CFNumberFormatterGetValueFromString(de.get(), CFSTR("300"), nullptr,
                                                     kCFNumberSInt8Type, &small));
    EXPECT_FALSE(CFNumberFormatterGetValueFromString(de.get(), CFSTR("12 apples"), nullptr,
                                                     kCFNumberDoubleType, &d));
    CFRange range = CFRangeMake(0, 9);
    EXPECT_TRUE(CFNumberFormatterGetValueFromString(de.get(), CFSTR("12 apples"), &range,
                                                    kCFNumberDoubleType, &d));
    EXPECT_EQ(range.length, 2);
    EXPECT_DOUBLE_EQ(d, 12.0);

    Owned<CFNumberRef> whole = CFNumberFormatterCreateNumberFromString(
        nullptr, de.get(), CFSTR("9.007.199.254.740.993"), nullptr, 0);
    SInt64 big = 0;
    ASSERT_NE(whole.get(), nullptr);
    EXPECT_TRUE(CFNumberGetValue(whole, kCFNumberSInt64Type, &big));
    EXPECT_EQ(big, 9007199254740993LL);
    Owned<CFNumberRef> truncated = CFNumberFormatterCreateNumberFromString(
        nullptr, de.get(), CFSTR("7,9"), nullptr, kCFNumberFormatterParseIntegersOnly);
    EXPECT_EQ(truncated.get(), nullptr); // ",9" is left over
    CFRange part = CFRangeMake(0, 3);
    Owned<CFNumberRef> seven = CFNumberFormatterCreateNumberFromString(
        nullptr, de.get(), CFSTR("7,9"), &part, kCFNumberFormatterParseIntegersOnly);
    ASSERT_NE(seven.get(), nullptr);
    EXPECT_EQ(part.length, 1);
    EXPECT_EQ(CFNumberFormatterCreateNumberFromString(nullptr, de.get(), CFSTR("abc"), nullptr, 0),
              nullptr);
}

// Patterns and properties that ICU would abort or hang on are refused before they reach it; the
// formatter keeps what it had and goes on working.
TEST(CFNumberFormatter, PatternsAndPropertiesICUCannotTakeAreRefused) {
    Owned<CFNumberFormatterRef> f = formatter_for("en_US", kCFNumberFormatterDecimalStyle);
    testing::internal::CaptureStderr();
    CFNumberFormatterSetFormat(f, CFSTR("#,##0.00"));
    for (CFStringRef bad : {CFSTR("0~"), CFSTR("\u00A4\u00A4\u00A4\u00A4\u00A4\u00A40")}) {
        CFNumberFormatterSetFormat(f, bad);
        EXPECT_EQ(utf8(CFNumberFormatterGetFormat(f)), "#,##0.00");
    }
    CFNumberFormatterSetFormat(f, CFSTR("'~'0")); // quoted: a plain character
    CFNumberFormatterSetProperty(f, kCFNumberFormatterPositivePrefix, CFSTR("~"));
    double value = 0;
    EXPECT_TRUE(
        CFNumberFormatterGetValueFromString(f, CFSTR("~12"), nullptr, kCFNumberDoubleType, &value));
    EXPECT_EQ(value, 12);

    Owned<CFNumberFormatterRef> g = formatter_for("en_US", kCFNumberFormatterDecimalStyle);
    double increment = -613;
    Owned<CFNumberRef> negative = CFNumberCreate(nullptr, kCFNumberDoubleType, &increment);
    CFNumberFormatterSetProperty(g, kCFNumberFormatterRoundingIncrement, negative);
    set_int(g, kCFNumberFormatterMinFractionDigits, INT32_MAX);
    set_int(g, kCFNumberFormatterFormatWidth, INT32_MAX);
    set_int(g, kCFNumberFormatterRoundingMode, 99);
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ(format_double(g, 1.5), "1.5");
    EXPECT_NE(messages.find("\"0~\" was refused"), std::string::npos) << messages;
    EXPECT_NE(messages.find("kCFNumberFormatterRoundingIncrementKey"), std::string::npos);
    EXPECT_NE(messages.find("kCFNumberFormatterMinFractionDigitsKey"), std::string::npos);
}

} // namespace

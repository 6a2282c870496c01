#include "StringTestSupport.h"

#include <CoreFoundation/CFNumberFormatter.h>

#include <gtest/gtest.h>

#include <cmath>

using cftest::utf8;

namespace {

cf::Holder<CFNumberFormatterRef> formatter_for(const char* locale_id,
                                               CFNumberFormatterStyle style) {
    cf::Holder<CFStringRef> id(cftest::make(locale_id));
    cf::Holder<CFLocaleRef> locale(CFLocaleCreate(nullptr, id.get()));
    return cf::Holder<CFNumberFormatterRef>(CFNumberFormatterCreate(nullptr, locale.get(), style));
}

std::string format_double(CFNumberFormatterRef f, double value) {
    cf::Holder<CFStringRef> s(
        CFNumberFormatterCreateStringWithValue(nullptr, f, kCFNumberDoubleType, &value));
    return utf8(s.get());
}

void set_int(CFNumberFormatterRef f, CFNumberFormatterKey key, int value) {
    cf::Holder<CFNumberRef> n(CFNumberCreate(nullptr, kCFNumberIntType, &value));
    CFNumberFormatterSetProperty(f, key, n.get());
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
        cf::Holder<CFNumberFormatterRef> f(formatter_for(c.locale, c.style));
        ASSERT_NE(f.get(), nullptr);
        EXPECT_EQ(format_double(f.get(), c.value), c.text) << c.locale << " style " << c.style;
        EXPECT_EQ(CFNumberFormatterGetStyle(f.get()), c.style);
    }
    EXPECT_EQ(CFNumberFormatterCreate(nullptr, nullptr, 99), nullptr);
}

TEST(CFNumberFormatter, ValuesOfEveryTypeAndNumbers) {
    cf::Holder<CFNumberFormatterRef> f(formatter_for("en_US", kCFNumberFormatterDecimalStyle));
    SInt8 i8 = -8;
    SInt64 big = 9007199254740993LL; // not representable as a double
    float half = 0.5f;
    long l = -123456;
    cf::Holder<CFStringRef> a(
        CFNumberFormatterCreateStringWithValue(nullptr, f.get(), kCFNumberSInt8Type, &i8));
    cf::Holder<CFStringRef> b(
        CFNumberFormatterCreateStringWithValue(nullptr, f.get(), kCFNumberSInt64Type, &big));
    cf::Holder<CFStringRef> c(
        CFNumberFormatterCreateStringWithValue(nullptr, f.get(), kCFNumberFloatType, &half));
    cf::Holder<CFStringRef> d(
        CFNumberFormatterCreateStringWithValue(nullptr, f.get(), kCFNumberLongType, &l));
    EXPECT_EQ(utf8(a.get()), "-8");
    EXPECT_EQ(utf8(b.get()), "9,007,199,254,740,993");
    EXPECT_EQ(utf8(c.get()), "0.5");
    EXPECT_EQ(utf8(d.get()), "-123,456");
    EXPECT_EQ(CFNumberFormatterCreateStringWithValue(nullptr, f.get(), 99, &l), nullptr);

    double pi = 3.14159;
    cf::Holder<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberDoubleType, &pi));
    cf::Holder<CFStringRef> text(
        CFNumberFormatterCreateStringWithNumber(nullptr, f.get(), number.get()));
    EXPECT_EQ(utf8(text.get()), "3.142");
}

TEST(CFNumberFormatter, PropertiesChangeTheOutputAndReadBack) {
    cf::Holder<CFNumberFormatterRef> f(formatter_for("de_DE", kCFNumberFormatterDecimalStyle));
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

    cf::Holder<CFTypeRef> digits(
        CFNumberFormatterCopyProperty(f.get(), kCFNumberFormatterMaxFractionDigits));
    int n = 0;
    ASSERT_NE(digits.get(), nullptr);
    EXPECT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(digits.get()), kCFNumberIntType, &n));
    EXPECT_EQ(n, 2);
    cf::Holder<CFTypeRef> separator(
        CFNumberFormatterCopyProperty(f.get(), kCFNumberFormatterDecimalSeparator));
    EXPECT_EQ(utf8(static_cast<CFStringRef>(separator.get())), "'");
    cf::Holder<CFTypeRef> grouping(
        CFNumberFormatterCopyProperty(f.get(), kCFNumberFormatterUseGroupingSeparator));
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
    cf::Holder<CFNumberFormatterRef> f(formatter_for("de_DE", kCFNumberFormatterDecimalStyle));
    cf::Holder<CFTypeRef> initial(
        CFNumberFormatterCopyProperty(f.get(), kCFNumberFormatterDefaultFormat));
    CFNumberFormatterSetFormat(f.get(), CFSTR("0000.0"));
    EXPECT_EQ(utf8(CFNumberFormatterGetFormat(f.get())), "0000.0");
    EXPECT_EQ(format_double(f.get(), 7.25), "0007,2");
    cf::Holder<CFTypeRef> still(
        CFNumberFormatterCopyProperty(f.get(), kCFNumberFormatterDefaultFormat));
    EXPECT_TRUE(CFEqual(initial.get(), still.get()));

    cf::Holder<CFNumberFormatterRef> de(formatter_for("de_DE", kCFNumberFormatterDecimalStyle));
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

    cf::Holder<CFNumberRef> whole(CFNumberFormatterCreateNumberFromString(
        nullptr, de.get(), CFSTR("9.007.199.254.740.993"), nullptr, 0));
    SInt64 big = 0;
    ASSERT_NE(whole.get(), nullptr);
    EXPECT_TRUE(CFNumberGetValue(whole.get(), kCFNumberSInt64Type, &big));
    EXPECT_EQ(big, 9007199254740993LL);
    cf::Holder<CFNumberRef> truncated(CFNumberFormatterCreateNumberFromString(
        nullptr, de.get(), CFSTR("7,9"), nullptr, kCFNumberFormatterParseIntegersOnly));
    EXPECT_EQ(truncated.get(), nullptr); // ",9" is left over
    CFRange part = CFRangeMake(0, 3);
    cf::Holder<CFNumberRef> seven(CFNumberFormatterCreateNumberFromString(
        nullptr, de.get(), CFSTR("7,9"), &part, kCFNumberFormatterParseIntegersOnly));
    ASSERT_NE(seven.get(), nullptr);
    EXPECT_EQ(part.length, 1);
    EXPECT_EQ(CFNumberFormatterCreateNumberFromString(nullptr, de.get(), CFSTR("abc"), nullptr, 0),
              nullptr);
}

// Patterns and properties that ICU would abort or hang on are refused before they reach it; the
// formatter keeps what it had and goes on working.
TEST(CFNumberFormatter, PatternsAndPropertiesICUCannotTakeAreRefused) {
    cf::Holder<CFNumberFormatterRef> f(formatter_for("en_US", kCFNumberFormatterDecimalStyle));
    testing::internal::CaptureStderr();
    CFNumberFormatterSetFormat(f.get(), CFSTR("#,##0.00"));
    for (CFStringRef bad : {CFSTR("0~"), CFSTR("\u00A4\u00A4\u00A4\u00A4\u00A4\u00A40")}) {
        CFNumberFormatterSetFormat(f.get(), bad);
        EXPECT_EQ(utf8(CFNumberFormatterGetFormat(f.get())), "#,##0.00");
    }
    CFNumberFormatterSetFormat(f.get(), CFSTR("'~'0")); // quoted: a plain character
    CFNumberFormatterSetProperty(f.get(), kCFNumberFormatterPositivePrefix, CFSTR("~"));
    double value = 0;
    EXPECT_TRUE(CFNumberFormatterGetValueFromString(f.get(), CFSTR("~12"), nullptr,
                                                    kCFNumberDoubleType, &value));
    EXPECT_EQ(value, 12);

    cf::Holder<CFNumberFormatterRef> g(formatter_for("en_US", kCFNumberFormatterDecimalStyle));
    double increment = -613;
    cf::Holder<CFNumberRef> negative(CFNumberCreate(nullptr, kCFNumberDoubleType, &increment));
    CFNumberFormatterSetProperty(g.get(), kCFNumberFormatterRoundingIncrement, negative.get());
    set_int(g.get(), kCFNumberFormatterMinFractionDigits, INT32_MAX);
    set_int(g.get(), kCFNumberFormatterFormatWidth, INT32_MAX);
    set_int(g.get(), kCFNumberFormatterRoundingMode, 99);
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ(format_double(g.get(), 1.5), "1.5");
    EXPECT_NE(messages.find("\"0~\" was refused"), std::string::npos) << messages;
    EXPECT_NE(messages.find("kCFNumberFormatterRoundingIncrementKey"), std::string::npos);
    EXPECT_NE(messages.find("kCFNumberFormatterMinFractionDigitsKey"), std::string::npos);
}

} // namespace

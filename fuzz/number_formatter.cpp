// Number formatters: a locale and style, a pattern and properties from the input, then numbers
// formatted and a text parsed.
#include "FuzzSupport.h"

#include <CoreFoundation/CFNumberFormatter.h>

namespace {

const char* const kLocales[] = {"en_US", "de_DE", "fr_CH", "ja_JP", "ar_EG", "hi_IN", "", "root"};
const CFNumberFormatterStyle kStyles[] = {
    kCFNumberFormatterNoStyle,         kCFNumberFormatterDecimalStyle,
    kCFNumberFormatterCurrencyStyle,   kCFNumberFormatterPercentStyle,
    kCFNumberFormatterScientificStyle, kCFNumberFormatterSpellOutStyle,
};

CFStringRef create_text(fuzz::Input& input) {
    const std::string bytes = input.take_text(64);
    return CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                                   static_cast<CFIndex>(bytes.size()), kCFStringEncodingUTF8,
                                   false);
}

void set_property(CFNumberFormatterRef formatter, fuzz::Input& input) {
    const CFStringRef kIntegers[] = {
        kCFNumberFormatterMinIntegerDigits,     kCFNumberFormatterMaxIntegerDigits,
        kCFNumberFormatterMinFractionDigits,    kCFNumberFormatterMaxFractionDigits,
        kCFNumberFormatterGroupingSize,         kCFNumberFormatterSecondaryGroupingSize,
        kCFNumberFormatterRoundingMode,         kCFNumberFormatterFormatWidth,
        kCFNumberFormatterPaddingPosition,      kCFNumberFormatterMultiplier,
        kCFNumberFormatterMinSignificantDigits, kCFNumberFormatterMaxSignificantDigits,
    };
    const CFStringRef kTexts[] = {
        kCFNumberFormatterCurrencyCode,      kCFNumberFormatterDecimalSeparator,
        kCFNumberFormatterGroupingSeparator, kCFNumberFormatterPercentSymbol,
        kCFNumberFormatterZeroSymbol,        kCFNumberFormatterNaNSymbol,
        kCFNumberFormatterMinusSign,         kCFNumberFormatterPlusSign,
        kCFNumberFormatterCurrencySymbol,    kCFNumberFormatterExponentSymbol,
        kCFNumberFormatterPaddingCharacter,  kCFNumberFormatterPositivePrefix,
        kCFNumberFormatterPositiveSuffix,    kCFNumberFormatterNegativePrefix,
        kCFNumberFormatterNegativeSuffix,    kCFNumberFormatterInfinitySymbol,
    };
    const CFStringRef kBooleans[] = {
        kCFNumberFormatterAlwaysShowDecimalSeparator,
        kCFNumberFormatterUseGroupingSeparator,
        kCFNumberFormatterIsLenient,
        kCFNumberFormatterUseSignificantDigits,
    };
    switch (input.take_in(0, 3)) {
    case 0: {
        const SInt32 value = input.take<SInt32>();
        cf::Holder<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberSInt32Type, &value));
        CFNumberFormatterSetProperty(formatter, input.pick(kIntegers), number.get());
        break;
    }
    case 1: {
        cf::Holder<CFStringRef> text(create_text(input));
        if (text)
            CFNumberFormatterSetProperty(formatter, input.pick(kTexts), text.get());
        break;
    }
    case 2:
        CFNumberFormatterSetProperty(formatter, input.pick(kBooleans),
                                     input.take_bool() ? kCFBooleanTrue : kCFBooleanFalse);
        break;
    default: {
        const double value = input.take<double>();
        cf::Holder<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberFloat64Type, &value));
        CFNumberFormatterSetProperty(formatter, kCFNumberFormatterRoundingIncrement, number.get());
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    cf::Holder<CFStringRef> id(
        CFStringCreateWithCString(nullptr, input.pick(kLocales), kCFStringEncodingUTF8));
    cf::Holder<CFLocaleRef> locale(CFLocaleCreate(nullptr, id.get()));
    cf::Holder<CFNumberFormatterRef> formatter(
        CFNumberFormatterCreate(nullptr, locale.get(), input.pick(kStyles)));
    if (!formatter)
        return 0;
    if (input.take_bool()) {
        cf::Holder<CFStringRef> pattern(create_text(input));
        if (pattern)
            CFNumberFormatterSetFormat(formatter.get(), pattern.get());
    }
    for (int n = input.take_in(0, 4); n > 0; --n)
        set_property(formatter.get(), input);
    const double real = input.take<double>();
    const SInt64 whole = input.take<SInt64>();
    cf::Holder<CFStringRef> a(CFNumberFormatterCreateStringWithValue(nullptr, formatter.get(),
                                                                     kCFNumberDoubleType, &real));
    cf::Holder<CFStringRef> b(CFNumberFormatterCreateStringWithValue(nullptr, formatter.get(),
                                                                     kCFNumberSInt64Type, &whole));
    CFNumberFormatterGetFormat(formatter.get());
    cf::Holder<CFStringRef> text(create_text(input));
    if (!text)
        return 0;
    CFRange range = CFRangeMake(0, CFStringGetLength(text.get()));
    const CFOptionFlags options = input.take_bool() ? kCFNumberFormatterParseIntegersOnly : 0;
    cf::Holder<CFNumberRef> parsed(CFNumberFormatterCreateNumberFromString(
        nullptr, formatter.get(), text.get(), &range, options));
    SInt32 value = 0;
    CFNumberFormatterGetValueFromString(formatter.get(), text.get(), nullptr, kCFNumberSInt32Type,
                                        &value);
    return 0;
}

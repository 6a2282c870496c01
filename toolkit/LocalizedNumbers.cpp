// Localised number text.
#include "LocalizedNumbers.h"
#include <CoreFoundation/CFHolder.h>

#include <cfloat>
#include <cmath>

CFStringRef CreateLocalizedCFStringFromNumberWithDecimals(SInt32 value, UInt32 decimals) {
    const cf::Holder<CFLocaleRef> locale(CFLocaleCopyCurrent());
    if (!locale)
        return nullptr;
    const cf::Holder<CFNumberFormatterRef> held(
        CFNumberFormatterCreate(nullptr, locale.get(), kCFNumberFormatterDecimalStyle));
    CFNumberFormatterRef formatter = held.get();
    if (formatter == nullptr)
        return nullptr;
    // Exactly the decimals asked for: locales differ in how many the decimal style shows at
    // most (six in the "C" locale), and beyond them only the single precision's noise shows.
    auto digits = static_cast<SInt32>(decimals);
    const cf::Holder<CFNumberRef> fractionDigits(
        CFNumberCreate(nullptr, kCFNumberSInt32Type, &digits));
    CFNumberFormatterSetProperty(formatter, kCFNumberFormatterMinFractionDigits,
                                 fractionDigits.get());
    CFNumberFormatterSetProperty(formatter, kCFNumberFormatterMaxFractionDigits,
                                 fractionDigits.get());
    CFStringRef text = nullptr;
    if (decimals == 0) {
        text =
            CFNumberFormatterCreateStringWithValue(nullptr, formatter, kCFNumberSInt32Type, &value);
    } else {
        // Single precision on the way in and out, as the values were always scaled.
        auto scaled = static_cast<Float32>(static_cast<Float64>(static_cast<Float32>(value)) /
                                           std::pow(10.0, static_cast<double>(decimals)));
        text = CFNumberFormatterCreateStringWithValue(nullptr, formatter, kCFNumberFloat32Type,
                                                      &scaled);
    }
    return text;
}

SInt32 CountDigits(SInt32 n) {
    if (n == 0)
        return 1;
    // The epsilon keeps an exact power of ten, whose logarithm may come out a hair low, at
    // its full count.
    double magnitude = std::fabs(static_cast<double>(n));
    return static_cast<SInt32>(std::log10(magnitude) + 1.0 + DBL_EPSILON);
}

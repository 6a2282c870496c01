// CFNumberFormatter properties: each key maps onto one ICU symbol, text
// attribute or numeric attribute of the formatter.
#include "CFNumberFormatterInternal.h"
#include "CFStringInternal.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <cstdio>

const CFNumberFormatterKey kCFNumberFormatterCurrencyCode =
    CFSTR("kCFNumberFormatterCurrencyCodeKey");
const CFNumberFormatterKey kCFNumberFormatterDecimalSeparator =
    CFSTR("kCFNumberFormatterDecimalSeparatorKey");
const CFNumberFormatterKey kCFNumberFormatterCurrencyDecimalSeparator =
    CFSTR("kCFNumberFormatterCurrencyDecimalSeparatorKey");
const CFNumberFormatterKey kCFNumberFormatterAlwaysShowDecimalSeparator =
    CFSTR("kCFNumberFormatterAlwaysShowDecimalSeparatorKey");
const CFNumberFormatterKey kCFNumberFormatterGroupingSeparator =
    CFSTR("kCFNumberFormatterGroupingSeparatorKey");
const CFNumberFormatterKey kCFNumberFormatterCurrencyGroupingSeparator =
    CFSTR("kCFNumberFormatterCurrencyGroupingSeparatorKey");
const CFNumberFormatterKey kCFNumberFormatterUseGroupingSeparator =
    CFSTR("kCFNumberFormatterUseGroupingSeparatorKey");
const CFNumberFormatterKey kCFNumberFormatterPercentSymbol =
    CFSTR("kCFNumberFormatterPercentSymbolKey");
const CFNumberFormatterKey kCFNumberFormatterPerMillSymbol =
    CFSTR("kCFNumberFormatterPerMillSymbolKey");
const CFNumberFormatterKey kCFNumberFormatterZeroSymbol = CFSTR("kCFNumberFormatterZeroSymbolKey");
const CFNumberFormatterKey kCFNumberFormatterNaNSymbol = CFSTR("kCFNumberFormatterNaNSymbolKey");
const CFNumberFormatterKey kCFNumberFormatterInfinitySymbol =
    CFSTR("kCFNumberFormatterInfinitySymbolKey");
const CFNumberFormatterKey kCFNumberFormatterMinusSign = CFSTR("kCFNumberFormatterMinusSignKey");
const CFNumberFormatterKey kCFNumberFormatterPlusSign = CFSTR("kCFNumberFormatterPlusSignKey");
const CFNumberFormatterKey kCFNumberFormatterCurrencySymbol =
    CFSTR("kCFNumberFormatterCurrencySymbolKey");
const CFNumberFormatterKey kCFNumberFormatterInternationalCurrencySymbol =
    CFSTR("kCFNumberFormatterInternationalCurrencySymbolKey");
const CFNumberFormatterKey kCFNumberFormatterExponentSymbol =
    CFSTR("kCFNumberFormatterExponentSymbolKey");
const CFNumberFormatterKey kCFNumberFormatterMinIntegerDigits =
    CFSTR("kCFNumberFormatterMinIntegerDigitsKey");
const CFNumberFormatterKey kCFNumberFormatterMaxIntegerDigits =
    CFSTR("kCFNumberFormatterMaxIntegerDigitsKey");
const CFNumberFormatterKey kCFNumberFormatterMinFractionDigits =
    CFSTR("kCFNumberFormatterMinFractionDigitsKey");
const CFNumberFormatterKey kCFNumberFormatterMaxFractionDigits =
    CFSTR("kCFNumberFormatterMaxFractionDigitsKey");
const CFNumberFormatterKey kCFNumberFormatterGroupingSize =
    CFSTR("kCFNumberFormatterGroupingSizeKey");
const CFNumberFormatterKey kCFNumberFormatterSecondaryGroupingSize =
    CFSTR("kCFNumberFormatterSecondaryGroupingSizeKey");
const CFNumberFormatterKey kCFNumberFormatterRoundingMode =
    CFSTR("kCFNumberFormatterRoundingModeKey");
const CFNumberFormatterKey kCFNumberFormatterRoundingIncrement =
    CFSTR("kCFNumberFormatterRoundingIncrementKey");
const CFNumberFormatterKey kCFNumberFormatterFormatWidth =
    CFSTR("kCFNumberFormatterFormatWidthKey");
const CFNumberFormatterKey kCFNumberFormatterPaddingPosition =
    CFSTR("kCFNumberFormatterPaddingPositionKey");
const CFNumberFormatterKey kCFNumberFormatterPaddingCharacter =
    CFSTR("kCFNumberFormatterPaddingCharacterKey");
const CFNumberFormatterKey kCFNumberFormatterDefaultFormat =
    CFSTR("kCFNumberFormatterDefaultFormatKey");
const CFNumberFormatterKey kCFNumberFormatterMultiplier = CFSTR("kCFNumberFormatterMultiplierKey");
const CFNumberFormatterKey kCFNumberFormatterPositivePrefix =
    CFSTR("kCFNumberFormatterPositivePrefixKey");
const CFNumberFormatterKey kCFNumberFormatterPositiveSuffix =
    CFSTR("kCFNumberFormatterPositiveSuffixKey");
const CFNumberFormatterKey kCFNumberFormatterNegativePrefix =
    CFSTR("kCFNumberFormatterNegativePrefixKey");
const CFNumberFormatterKey kCFNumberFormatterNegativeSuffix =
    CFSTR("kCFNumberFormatterNegativeSuffixKey");
const CFNumberFormatterKey kCFNumberFormatterIsLenient = CFSTR("kCFNumberFormatterIsLenientKey");
const CFNumberFormatterKey kCFNumberFormatterUseSignificantDigits =
    CFSTR("kCFNumberFormatterUseSignificantDigitsKey");
const CFNumberFormatterKey kCFNumberFormatterMinSignificantDigits =
    CFSTR("kCFNumberFormatterMinSignificantDigitsKey");
const CFNumberFormatterKey kCFNumberFormatterMaxSignificantDigits =
    CFSTR("kCFNumberFormatterMaxSignificantDigitsKey");

namespace cf {

bool pattern_is_safe(std::u16string_view pattern, bool is_pattern) {
    bool quoted = false;
    size_t currency_run = 0;
    for (char16_t c : pattern) {
        if (is_pattern && c == u'\'') {
            quoted = !quoted;
            currency_run = 0;
            continue;
        }
        if (quoted)
            continue;
        if (c == u'~')
            return false;
        currency_run = c == u'\u00A4' ? currency_run + 1 : 0;
        if (currency_run > 5)
            return false;
    }
    return true;
}

} // namespace cf

namespace {

constexpr SInt32 kMaxDigits = 500;

enum class Kind { symbol, text, boolean, integer, real, zero, default_format };

struct Property {
    const CFNumberFormatterKey* key;
    Kind kind;
    int icu; // a UNumberFormatSymbol, UNumberFormatTextAttribute or UNumberFormatAttribute
};

const Property kProperties[] = {
    {&kCFNumberFormatterCurrencyCode, Kind::text, UNUM_CURRENCY_CODE},
    {&kCFNumberFormatterDecimalSeparator, Kind::symbol, UNUM_DECIMAL_SEPARATOR_SYMBOL},
    {&kCFNumberFormatterCurrencyDecimalSeparator, Kind::symbol, UNUM_MONETARY_SEPARATOR_SYMBOL},
    {&kCFNumberFormatterAlwaysShowDecimalSeparator, Kind::boolean, UNUM_DECIMAL_ALWAYS_SHOWN},
    {&kCFNumberFormatterGroupingSeparator, Kind::symbol, UNUM_GROUPING_SEPARATOR_SYMBOL},
    {&kCFNumberFormatterCurrencyGroupingSeparator, Kind::symbol,
     UNUM_MONETARY_GROUPING_SEPARATOR_SYMBOL},
    {&kCFNumberFormatterUseGroupingSeparator, Kind::boolean, UNUM_GROUPING_USED},
    {&kCFNumberFormatterPercentSymbol, Kind::symbol, UNUM_PERCENT_SYMBOL},
    {&kCFNumberFormatterPerMillSymbol, Kind::symbol, UNUM_PERMILL_SYMBOL},
    {&kCFNumberFormatterZeroSymbol, Kind::zero, 0},
    {&kCFNumberFormatterNaNSymbol, Kind::symbol, UNUM_NAN_SYMBOL},
    {&kCFNumberFormatterInfinitySymbol, Kind::symbol, UNUM_INFINITY_SYMBOL},
    {&kCFNumberFormatterMinusSign, Kind::symbol, UNUM_MINUS_SIGN_SYMBOL},
    {&kCFNumberFormatterPlusSign, Kind::symbol, UNUM_PLUS_SIGN_SYMBOL},
    {&kCFNumberFormatterCurrencySymbol, Kind::symbol, UNUM_CURRENCY_SYMBOL},
    {&kCFNumberFormatterInternationalCurrencySymbol, Kind::symbol, UNUM_INTL_CURRENCY_SYMBOL},
    {&kCFNumberFormatterExponentSymbol, Kind::symbol, UNUM_EXPONENTIAL_SYMBOL},
    {&kCFNumberFormatterMinIntegerDigits, Kind::integer, UNUM_MIN_INTEGER_DIGITS},
    {&kCFNumberFormatterMaxIntegerDigits, Kind::integer, UNUM_MAX_INTEGER_DIGITS},
    {&kCFNumberFormatterMinFractionDigits, Kind::integer, UNUM_MIN_FRACTION_DIGITS},
    {&kCFNumberFormatterMaxFractionDigits, Kind::integer, UNUM_MAX_FRACTION_DIGITS},
    {&kCFNumberFormatterGroupingSize, Kind::integer, UNUM_GROUPING_SIZE},
    {&kCFNumberFormatterSecondaryGroupingSize, Kind::integer, UNUM_SECONDARY_GROUPING_SIZE},
    // The rounding modes and pad positions are numbered as ICU numbers them.
    {&kCFNumberFormatterRoundingMode, Kind::integer, UNUM_ROUNDING_MODE},
    {&kCFNumberFormatterRoundingIncrement, Kind::real, UNUM_ROUNDING_INCREMENT},
    {&kCFNumberFormatterFormatWidth, Kind::integer, UNUM_FORMAT_WIDTH},
    {&kCFNumberFormatterPaddingPosition, Kind::integer, UNUM_PADDING_POSITION},
    {&kCFNumberFormatterPaddingCharacter, Kind::text, UNUM_PADDING_CHARACTER},
    {&kCFNumberFormatterDefaultFormat, Kind::default_format, 0},
    {&kCFNumberFormatterMultiplier, Kind::integer, UNUM_MULTIPLIER},
    {&kCFNumberFormatterPositivePrefix, Kind::text, UNUM_POSITIVE_PREFIX},
    {&kCFNumberFormatterPositiveSuffix, Kind::text, UNUM_POSITIVE_SUFFIX},
    {&kCFNumberFormatterNegativePrefix, Kind::text, UNUM_NEGATIVE_PREFIX},
    {&kCFNumberFormatterNegativeSuffix, Kind::text, UNUM_NEGATIVE_SUFFIX},
    {&kCFNumberFormatterIsLenient, Kind::boolean, UNUM_LENIENT_PARSE},
    {&kCFNumberFormatterUseSignificantDigits, Kind::boolean, UNUM_SIGNIFICANT_DIGITS_USED},
    {&kCFNumberFormatterMinSignificantDigits, Kind::integer, UNUM_MIN_SIGNIFICANT_DIGITS},
    {&kCFNumberFormatterMaxSignificantDigits, Kind::integer, UNUM_MAX_SIGNIFICANT_DIGITS},
};

const Property* find_property(CFStringRef key) {
    for (const Property& p : kProperties)
        if (CFEqual(key, *p.key))
            return &p;
    return nullptr;
}

CFStringRef read_text(UNumberFormat* icu, const Property& p) {
    UChar buffer[128];
    UErrorCode status = U_ZERO_ERROR;
    int32_t n =
        p.kind == Kind::symbol
            ? unum_getSymbol(icu, static_cast<UNumberFormatSymbol>(p.icu), buffer, 128, &status)
            : unum_getTextAttribute(icu, static_cast<UNumberFormatTextAttribute>(p.icu), buffer,
                                    128, &status);
    if (U_FAILURE(status) || n > 128)
        return nullptr;
    return cf::make_string(nullptr, std::u16string(buffer, static_cast<size_t>(n)));
}

bool is_affix(const Property& p) {
    return p.kind == Kind::text &&
           (p.icu == UNUM_POSITIVE_PREFIX || p.icu == UNUM_POSITIVE_SUFFIX ||
            p.icu == UNUM_NEGATIVE_PREFIX || p.icu == UNUM_NEGATIVE_SUFFIX);
}

bool write_text(UNumberFormat* icu, const Property& p, CFTypeRef value) {
    if (CFGetTypeID(value) != CFStringGetTypeID())
        return false;
    std::u16string_view text = cf::string_view(static_cast<CFStringRef>(value));
    if (is_affix(p) && !cf::pattern_is_safe(text, false))
        return false;
    UErrorCode status = U_ZERO_ERROR;
    if (p.kind == Kind::symbol)
        unum_setSymbol(icu, static_cast<UNumberFormatSymbol>(p.icu), text.data(),
                       static_cast<int32_t>(text.size()), &status);
    else
        unum_setTextAttribute(icu, static_cast<UNumberFormatTextAttribute>(p.icu), text.data(),
                              static_cast<int32_t>(text.size()), &status);
    return U_SUCCESS(status);
}

// The values ICU takes without hanging or allocating without bound: counts of digits and
// widths up to a few hundred, a rounding increment that is a finite number not below zero,
// rounding modes and padding positions that ICU numbers.
bool integer_in_range(const Property& p, SInt32 i) {
    switch (p.icu) {
    case UNUM_ROUNDING_MODE:
        return i >= UNUM_ROUND_CEILING && i <= UNUM_ROUND_UNNECESSARY;
    case UNUM_PADDING_POSITION:
        return i >= UNUM_PAD_BEFORE_PREFIX && i <= UNUM_PAD_AFTER_SUFFIX;
    case UNUM_MULTIPLIER:
        return i != 0 && i >= -1000000 && i <= 1000000;
    default:
        return i >= 0 && i <= kMaxDigits;
    }
}

bool write_number(UNumberFormat* icu, const Property& p, CFTypeRef value) {
    if (p.kind == Kind::boolean) {
        if (CFGetTypeID(value) != CFBooleanGetTypeID())
            return false;
        unum_setAttribute(icu, static_cast<UNumberFormatAttribute>(p.icu),
                          CFBooleanGetValue(static_cast<CFBooleanRef>(value)) ? 1 : 0);
        return true;
    }
    if (CFGetTypeID(value) != CFNumberGetTypeID())
        return false;
    auto number = static_cast<CFNumberRef>(value);
    if (p.kind == Kind::real) {
        double d = 0;
        CFNumberGetValue(number, kCFNumberFloat64Type, &d);
        if (!(d >= 0 && d <= 1e15))
            return false;
        unum_setDoubleAttribute(icu, static_cast<UNumberFormatAttribute>(p.icu), d);
    } else {
        SInt32 i = 0;
        CFNumberGetValue(number, kCFNumberSInt32Type, &i);
        if (!integer_in_range(p, i))
            return false;
        unum_setAttribute(icu, static_cast<UNumberFormatAttribute>(p.icu), i);
    }
    return true;
}

CFTypeRef read_number(UNumberFormat* icu, const Property& p) {
    auto attribute = static_cast<UNumberFormatAttribute>(p.icu);
    if (p.kind == Kind::boolean)
        return CFRetain(unum_getAttribute(icu, attribute) ? kCFBooleanTrue : kCFBooleanFalse);
    if (p.kind == Kind::real) {
        double d = unum_getDoubleAttribute(icu, attribute);
        return CFNumberCreate(nullptr, kCFNumberFloat64Type, &d);
    }
    SInt32 i = unum_getAttribute(icu, attribute);
    return CFNumberCreate(nullptr, kCFNumberSInt32Type, &i);
}

} // namespace

void CFNumberFormatterSetProperty(CFNumberFormatterRef formatter, CFNumberFormatterKey key,
                                  CFTypeRef value) {
    OpaqueCFNumberFormatter* f = cf::number_formatter(formatter, __func__);
    if (f == nullptr || !cf::check_type(key, CFStringGetTypeID(), __func__))
        return;
    const Property* p = find_property(key);
    bool done = false;
    if (p == nullptr || p->kind == Kind::default_format) {
        done = false;
    } else if (p->kind == Kind::zero) {
        done = value == nullptr || CFGetTypeID(value) == CFStringGetTypeID();
        if (done) {
            f->zero_symbol.reset(value != nullptr
                                     ? CFStringCreateCopy(nullptr, static_cast<CFStringRef>(value))
                                     : nullptr);
        }
    } else if (value != nullptr) {
        done = p->kind == Kind::symbol || p->kind == Kind::text ? write_text(f->icu, *p, value)
                                                                : write_number(f->icu, *p, value);
    }
    if (!done)
        cf::report(__func__, "cannot set %s to the value given", cf::to_utf8(key).c_str());
}

CFTypeRef CFNumberFormatterCopyProperty(CFNumberFormatterRef formatter, CFNumberFormatterKey key) {
    OpaqueCFNumberFormatter* f = cf::number_formatter(formatter, __func__);
    if (f == nullptr || !cf::check_type(key, CFStringGetTypeID(), __func__))
        return nullptr;
    const Property* p = find_property(key);
    if (p == nullptr)
        return nullptr;
    switch (p->kind) {
    case Kind::symbol:
    case Kind::text:
        return read_text(f->icu, *p);
    case Kind::zero:
        return f->zero_symbol ? CFRetain(f->zero_symbol.get()) : nullptr;
    case Kind::default_format:
        return f->default_format ? CFRetain(f->default_format.get()) : nullptr;
    default:
        return read_number(f->icu, *p);
    }
}

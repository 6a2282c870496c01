// CFNumberFormatter over ICU's unum: creation by style, formatting of numbers
// and raw values, and parsing back into numbers.
#include "CFNumberFormatterInternal.h"
#include "CFStringInternal.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <variant>

namespace {

void finalize_formatter(CFTypeRef obj) {
    auto* f = static_cast<OpaqueCFNumberFormatter*>(const_cast<void*>(obj));
    if (f->icu != nullptr)
        unum_close(f->icu);
    cf::destroy<OpaqueCFNumberFormatter>(obj);
}

CFStringRef describe_formatter(CFTypeRef obj) {
    auto* f = static_cast<const OpaqueCFNumberFormatter*>(obj);
    char text[160];
    std::snprintf(text, sizeof text, "<CFNumberFormatter %p locale %s style %ld>", obj,
                  cf::locale_identifier(f->locale.get()).c_str(), f->style);
    return cf::string_from_utf8(text);
}

const cf::ClassDescriptor kFormatterClass = {"CFNumberFormatter", finalize_formatter, nullptr,
                                             nullptr, describe_formatter};

UNumberFormatStyle icu_style(CFNumberFormatterStyle style) {
    switch (style) {
    case kCFNumberFormatterCurrencyStyle:
        return UNUM_CURRENCY;
    case kCFNumberFormatterPercentStyle:
        return UNUM_PERCENT;
    case kCFNumberFormatterScientificStyle:
        return UNUM_SCIENTIFIC;
    case kCFNumberFormatterSpellOutStyle:
        return UNUM_SPELLOUT;
    default:
        return UNUM_DECIMAL;
    }
}

CFStringRef pattern_of(UNumberFormat* icu) {
    UChar buffer[256];
    UErrorCode status = U_ZERO_ERROR;
    int32_t n = unum_toPattern(icu, false, buffer, 256, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        std::u16string big(static_cast<size_t>(n), u'\0');
        status = U_ZERO_ERROR;
        unum_toPattern(icu, false, big.data(), n, &status);
        return U_SUCCESS(status) ? cf::make_string(nullptr, std::move(big)) : nullptr;
    }
    if (U_FAILURE(status))
        return nullptr;
    return cf::make_string(nullptr, std::u16string(buffer, static_cast<size_t>(n)));
}

using Value = std::variant<SInt64, double>;

// Reads a value of a CFNumberType; nothing for an unknown type.
std::optional<Value> read_value(CFNumberType type, const void* p) {
    switch (type) {
    case kCFNumberSInt8Type:
    case kCFNumberCharType:
        return SInt64(*static_cast<const SInt8*>(p));
    case kCFNumberSInt16Type:
    case kCFNumberShortType:
        return SInt64(*static_cast<const SInt16*>(p));
    case kCFNumberSInt32Type:
    case kCFNumberIntType:
        return SInt64(*static_cast<const SInt32*>(p));
    case kCFNumberSInt64Type:
    case kCFNumberLongLongType:
        return *static_cast<const SInt64*>(p);
    case kCFNumberLongType:
    case kCFNumberCFIndexType:
    case kCFNumberNSIntegerType:
        return SInt64(*static_cast<const long*>(p));
    case kCFNumberFloat32Type:
    case kCFNumberFloatType:
        return double(*static_cast<const float*>(p));
    case kCFNumberFloat64Type:
    case kCFNumberDoubleType:
    case kCFNumberCGFloatType:
        return *static_cast<const double*>(p);
    default:
        return std::nullopt;
    }
}

template <class T> bool store_integer(long double v, void* p) {
    bool exact = v == std::trunc(v) &&
                 v >= static_cast<long double>(std::numeric_limits<T>::min()) &&
                 v <= static_cast<long double>(std::numeric_limits<T>::max());
    if (exact)
        *static_cast<T*>(p) = static_cast<T>(v);
    return exact;
}

// Stores v as a CFNumberType; false when it does not fit exactly (nothing stored).
bool store_value(CFNumberType type, long double v, void* p) {
    switch (type) {
    case kCFNumberSInt8Type:
    case kCFNumberCharType:
        return store_integer<SInt8>(v, p);
    case kCFNumberSInt16Type:
    case kCFNumberShortType:
        return store_integer<SInt16>(v, p);
    case kCFNumberSInt32Type:
    case kCFNumberIntType:
        return store_integer<SInt32>(v, p);
    case kCFNumberSInt64Type:
    case kCFNumberLongLongType:
        return store_integer<SInt64>(v, p);
    case kCFNumberLongType:
    case kCFNumberCFIndexType:
    case kCFNumberNSIntegerType:
        return store_integer<long>(v, p);
    case kCFNumberFloat32Type:
    case kCFNumberFloatType:
        *static_cast<float*>(p) = static_cast<float>(v);
        return true;
    case kCFNumberFloat64Type:
    case kCFNumberDoubleType:
    case kCFNumberCGFloatType:
        *static_cast<double*>(p) = static_cast<double>(v);
        return true;
    default:
        return false;
    }
}

CFStringRef format_value(CFAllocatorRef allocator, OpaqueCFNumberFormatter* f, Value value) {
    bool is_zero = std::visit([](auto v) { return v == 0; }, value);
    if (is_zero && f->zero_symbol)
        return CFStringCreateCopy(allocator, f->zero_symbol.get());
    std::u16string out(64, u'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode status = U_ZERO_ERROR;
        int32_t n = std::holds_alternative<SInt64>(value)
                        ? unum_formatInt64(f->icu, std::get<SInt64>(value), out.data(),
                                           static_cast<int32_t>(out.size()), nullptr, &status)
                        : unum_formatDouble(f->icu, std::get<double>(value), out.data(),
                                            static_cast<int32_t>(out.size()), nullptr, &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.assign(static_cast<size_t>(n) + 1, u'\0');
            continue;
        }
        if (U_FAILURE(status)) {
            cf::report("CFNumberFormatter", "%s", u_errorName(status));
            return nullptr;
        }
        out.resize(static_cast<size_t>(n));
        return cf::make_string(allocator, std::move(out));
    }
    return nullptr;
}

// Parses the text of *range (the whole string when range is NULL, which must
// then be used up) into ICU's decimal form ("-1234.5", "1E+3").
std::optional<long double> parse(OpaqueCFNumberFormatter* f, CFStringRef string, CFRange* range,
                                 bool integers_only) {
    std::u16string_view text = cf::string_view(string);
    CFRange r = range != nullptr ? *range : CFRangeMake(0, static_cast<CFIndex>(text.size()));
    if (r.location < 0 || r.length <= 0 ||
        r.location + r.length > static_cast<CFIndex>(text.size()))
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    int32_t was_int_only = unum_getAttribute(f->icu, UNUM_PARSE_INT_ONLY);
    unum_setAttribute(f->icu, UNUM_PARSE_INT_ONLY, integers_only ? 1 : was_int_only);
    char decimal[128];
    int32_t position = 0;
    int32_t n = unum_parseDecimal(f->icu, text.data() + r.location, static_cast<int32_t>(r.length),
                                  &position, decimal, sizeof decimal, &status);
    unum_setAttribute(f->icu, UNUM_PARSE_INT_ONLY, was_int_only);
    if (U_FAILURE(status) || n <= 0 || n >= static_cast<int32_t>(sizeof decimal) ||
        (range == nullptr && position != r.length))
        return std::nullopt;
    if (range != nullptr)
        range->length = position;
    static locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtold_l(decimal, nullptr, c_locale);
}

} // namespace

namespace cf {

CFTypeID number_formatter_type_id() {
    static CFTypeID id = register_class(&kFormatterClass);
    return id;
}

OpaqueCFNumberFormatter* number_formatter(CFNumberFormatterRef formatter, const char* function) {
    if (!check_type(formatter, number_formatter_type_id(), function))
        return nullptr;
    return const_cast<OpaqueCFNumberFormatter*>(formatter);
}

} // namespace cf

CFTypeID CFNumberFormatterGetTypeID(void) {
    return cf::number_formatter_type_id();
}

CFNumberFormatterRef CFNumberFormatterCreate(CFAllocatorRef allocator, CFLocaleRef locale,
                                             CFNumberFormatterStyle style) {
    if (style < kCFNumberFormatterNoStyle || style > kCFNumberFormatterSpellOutStyle)
        return nullptr;
    if (locale == nullptr)
        locale = CFLocaleGetSystem();
    if (!cf::check_type(locale, CFLocaleGetTypeID(), __func__))
        return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    std::string id = cf::locale_identifier(locale);
    UNumberFormat* icu = unum_open(icu_style(style), nullptr, 0, id.c_str(), nullptr, &status);
    if (U_FAILURE(status)) {
        cf::report(__func__, "%s for locale \"%s\"", u_errorName(status), id.c_str());
        return nullptr;
    }
    if (style == kCFNumberFormatterNoStyle) { // whole numbers, no separators
        unum_setAttribute(icu, UNUM_GROUPING_USED, 0);
        unum_setAttribute(icu, UNUM_MAX_FRACTION_DIGITS, 0);
    }
    auto* f = cf::create<OpaqueCFNumberFormatter>(allocator, cf::number_formatter_type_id());
    if (f == nullptr) {
        unum_close(icu);
        return nullptr;
    }
    f->icu = icu;
    f->style = style;
    f->locale = cf::Holder<CFLocaleRef>::retaining(locale);
    f->default_format.reset(pattern_of(icu));
    return f;
}

CFLocaleRef CFNumberFormatterGetLocale(CFNumberFormatterRef formatter) {
    OpaqueCFNumberFormatter* f = cf::number_formatter(formatter, __func__);
    return f != nullptr ? f->locale.get() : nullptr;
}

CFNumberFormatterStyle CFNumberFormatterGetStyle(CFNumberFormatterRef formatter) {
    OpaqueCFNumberFormatter* f = cf::number_formatter(formatter, __func__);
    return f != nullptr ? f->style : CFNumberFormatterStyle(kCFNumberFormatterNoStyle);
}

CFStringRef CFNumberFormatterGetFormat(CFNumberFormatterRef formatter) {
    OpaqueCFNumberFormatter* f = cf::number_formatter(formatter, __func__);
    if (f == nullptr)
        return nullptr;
    cf::Holder<CFStringRef> now(pattern_of(f->icu));
    // Unchanged: keep handing out the same object.
    if (f->format && now && CFEqual(now.get(), f->format.get()))
        return f->format.get();
    f->format = std::move(now);
    return f->format.get();
}

void CFNumberFormatterSetFormat(CFNumberFormatterRef formatter, CFStringRef formatString) {
    OpaqueCFNumberFormatter* f = cf::number_formatter(formatter, __func__);
    if (f == nullptr || !cf::check_type(formatString, cf::string_type_id(), __func__))
        return;
    std::u16string_view pattern = cf::string_view(formatString);
    if (!cf::pattern_is_safe(pattern, true)) {
        cf::report(__func__,
                   "the pattern \"%s\" was refused (it has a sign or currency mark the number "
                   "library cannot parse)",
                   cf::to_utf8(formatString).c_str());
        return;
    }
    UErrorCode status = U_ZERO_ERROR;
    unum_applyPattern(f->icu, false, pattern.data(), static_cast<int32_t>(pattern.size()), nullptr,
                      &status);
    if (U_FAILURE(status))
        cf::report(__func__, "the pattern \"%s\" was refused (%s)",
                   cf::to_utf8(formatString).c_str(), u_errorName(status));
}

CFStringRef CFNumberFormatterCreateStringWithValue(CFAllocatorRef allocator,
                                                   CFNumberFormatterRef formatter,
                                                   CFNumberType numberType, const void* valuePtr) {
    OpaqueCFNumberFormatter* f = cf::number_formatter(formatter, __func__);
    if (f == nullptr || valuePtr == nullptr)
        return nullptr;
    std::optional<Value> value = read_value(numberType, valuePtr);
    return value ? format_value(allocator, f, *value) : nullptr;
}

CFStringRef CFNumberFormatterCreateStringWithNumber(CFAllocatorRef allocator,
                                                    CFNumberFormatterRef formatter,
                                                    CFNumberRef number) {
    OpaqueCFNumberFormatter* f = cf::number_formatter(formatter, __func__);
    if (f == nullptr || !cf::check_type(number, CFNumberGetTypeID(), __func__))
        return nullptr;
    if (CFNumberIsFloatType(number)) {
        double d = 0;
        CFNumberGetValue(number, kCFNumberFloat64Type, &d);
        return format_value(allocator, f, d);
    }
    SInt64 i = 0;
    CFNumberGetValue(number, kCFNumberSInt64Type, &i);
    return format_value(allocator, f, i);
}

CFNumberRef CFNumberFormatterCreateNumberFromString(CFAllocatorRef allocator,
                                                    CFNumberFormatterRef formatter,
                                                    CFStringRef string, CFRange* rangep,
                                                    CFOptionFlags options) {
    OpaqueCFNumberFormatter* f = cf::number_formatter(formatter, __func__);
    if (f == nullptr || !cf::check_type(string, cf::string_type_id(), __func__))
        return nullptr;
    std::optional<long double> v =
        parse(f, string, rangep, options & kCFNumberFormatterParseIntegersOnly);
    if (!v)
        return nullptr;
    SInt64 i = 0;
    if (store_value(kCFNumberSInt64Type, *v, &i))
        return CFNumberCreate(allocator, kCFNumberSInt64Type, &i);
    double d = static_cast<double>(*v);
    return CFNumberCreate(allocator, kCFNumberFloat64Type, &d);
}

Boolean CFNumberFormatterGetValueFromString(CFNumberFormatterRef formatter, CFStringRef string,
                                            CFRange* rangep, CFNumberType numberType,
                                            void* valuePtr) {
    OpaqueCFNumberFormatter* f = cf::number_formatter(formatter, __func__);
    if (f == nullptr || valuePtr == nullptr ||
        !cf::check_type(string, cf::string_type_id(), __func__))
        return false;
    std::optional<long double> v = parse(f, string, rangep, false);
    return v && store_value(numberType, *v, valuePtr);
}

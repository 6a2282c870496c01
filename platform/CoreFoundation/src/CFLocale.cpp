// CFLocale over ICU locale identifiers. Values are computed on first request
// and kept by the locale, since CFLocaleGetValue hands out unowned references.
#include "CFStringInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <CoreFoundation/CFLocale.h>

#include <unicode/ucurr.h>
#include <unicode/uloc.h>
#include <unicode/unum.h>

#include <cstdlib>
#include <cstring>
#include <map>

struct OpaqueCFLocale : cf::Object {
    std::string id;
    cf::Holder<CFStringRef> identifier;
    std::map<std::u16string, cf::Holder<CFTypeRef>> values; // computed on first request
};

const CFLocaleKey kCFLocaleIdentifier = CFSTR("kCFLocaleIdentifierKey");
const CFLocaleKey kCFLocaleLanguageCode = CFSTR("kCFLocaleLanguageCodeKey");
const CFLocaleKey kCFLocaleCountryCode = CFSTR("kCFLocaleCountryCodeKey");
const CFLocaleKey kCFLocaleScriptCode = CFSTR("kCFLocaleScriptCodeKey");
const CFLocaleKey kCFLocaleVariantCode = CFSTR("kCFLocaleVariantCodeKey");
const CFLocaleKey kCFLocaleDecimalSeparator = CFSTR("kCFLocaleDecimalSeparatorKey");
const CFLocaleKey kCFLocaleGroupingSeparator = CFSTR("kCFLocaleGroupingSeparatorKey");
const CFLocaleKey kCFLocaleCurrencySymbol = CFSTR("kCFLocaleCurrencySymbolKey");
const CFLocaleKey kCFLocaleCurrencyCode = CFSTR("kCFLocaleCurrencyCodeKey");

namespace {

bool equal_locales(CFTypeRef a, CFTypeRef b) {
    return static_cast<const OpaqueCFLocale*>(a)->id == static_cast<const OpaqueCFLocale*>(b)->id;
}

CFHashCode hash_locale(CFTypeRef obj) {
    return std::hash<std::string>()(static_cast<const OpaqueCFLocale*>(obj)->id);
}

CFStringRef describe_locale(CFTypeRef obj) {
    std::string text = "<CFLocale " + static_cast<const OpaqueCFLocale*>(obj)->id + ">";
    return cf::string_from_utf8(text);
}

const cf::ClassDescriptor kLocaleClass = {"CFLocale", cf::destroy<OpaqueCFLocale>, equal_locales,
                                          hash_locale, describe_locale};

CFTypeID locale_type_id() {
    static CFTypeID id = cf::register_class(&kLocaleClass);
    return id;
}

// "de_DE.UTF-8@euro", "de-DE" and "de_DE" all become "de_DE"; "C" and
// "POSIX" become "en_US_POSIX".
std::string canonical_id(std::string raw) {
    size_t cut = raw.find_first_of(".@");
    if (cut != std::string::npos)
        raw.erase(cut);
    if (raw == "C" || raw == "POSIX")
        return "en_US_POSIX";
    char out[ULOC_FULLNAME_CAPACITY];
    UErrorCode status = U_ZERO_ERROR;
    int32_t n = uloc_canonicalize(raw.c_str(), out, sizeof out, &status);
    if (U_FAILURE(status) || n >= static_cast<int32_t>(sizeof out))
        return raw;
    return std::string(out, static_cast<size_t>(n));
}

OpaqueCFLocale* make_locale(CFAllocatorRef allocator, const std::string& id) {
    auto* locale = cf::create<OpaqueCFLocale>(allocator, locale_type_id());
    if (locale == nullptr)
        return nullptr;
    locale->id = id;
    locale->identifier.reset(cf::string_from_utf8(id));
    return locale;
}

using Getter = int32_t (*)(const char*, char*, int32_t, UErrorCode*);

CFStringRef locale_part(const std::string& id, Getter getter) {
    char part[ULOC_FULLNAME_CAPACITY];
    UErrorCode status = U_ZERO_ERROR;
    int32_t n = getter(id.c_str(), part, sizeof part, &status);
    if (U_FAILURE(status) || n <= 0 || n >= static_cast<int32_t>(sizeof part))
        return nullptr;
    return cf::string_from_utf8(std::string_view(part, static_cast<size_t>(n)));
}

CFStringRef number_symbol(const std::string& id, UNumberFormatStyle style,
                          UNumberFormatSymbol symbol) {
    UErrorCode status = U_ZERO_ERROR;
    UNumberFormat* format = unum_open(style, nullptr, 0, id.c_str(), nullptr, &status);
    if (U_FAILURE(status))
        return nullptr;
    UChar buffer[32];
    int32_t n = unum_getSymbol(format, symbol, buffer, 32, &status);
    unum_close(format);
    if (U_FAILURE(status) || n > 32)
        return nullptr;
    return CFStringCreateWithCharacters(nullptr, reinterpret_cast<const UniChar*>(buffer), n);
}

CFStringRef currency_code(const std::string& id) {
    UChar code[4];
    UErrorCode status = U_ZERO_ERROR;
    int32_t n = ucurr_forLocale(id.c_str(), code, 4, &status);
    if (U_FAILURE(status) || n != 3)
        return nullptr;
    return CFStringCreateWithCharacters(nullptr, reinterpret_cast<const UniChar*>(code), 3);
}

CFTypeRef compute_value(const OpaqueCFLocale* locale, CFStringRef key) {
    const std::string& id = locale->id;
    if (CFEqual(key, kCFLocaleIdentifier))
        return CFRetain(locale->identifier.get());
    if (CFEqual(key, kCFLocaleLanguageCode))
        return locale_part(id, uloc_getLanguage);
    if (CFEqual(key, kCFLocaleCountryCode))
        return locale_part(id, uloc_getCountry);
    if (CFEqual(key, kCFLocaleScriptCode))
        return locale_part(id, uloc_getScript);
    if (CFEqual(key, kCFLocaleVariantCode))
        return locale_part(id, uloc_getVariant);
    if (CFEqual(key, kCFLocaleDecimalSeparator))
        return number_symbol(id, UNUM_DECIMAL, UNUM_DECIMAL_SEPARATOR_SYMBOL);
    if (CFEqual(key, kCFLocaleGroupingSeparator))
        return number_symbol(id, UNUM_DECIMAL, UNUM_GROUPING_SEPARATOR_SYMBOL);
    if (CFEqual(key, kCFLocaleCurrencySymbol))
        return number_symbol(id, UNUM_CURRENCY, UNUM_CURRENCY_SYMBOL);
    if (CFEqual(key, kCFLocaleCurrencyCode))
        return currency_code(id);
    return nullptr;
}

} // namespace

namespace cf {

std::string locale_identifier(CFLocaleRef locale) {
    return is_type(locale, locale_type_id()) ? static_cast<const OpaqueCFLocale*>(locale)->id
                                             : std::string();
}

std::string current_locale_id() {
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return canonical_id(value);
    }
    return "en_US_POSIX";
}

} // namespace cf

CFTypeID CFLocaleGetTypeID(void) {
    return locale_type_id();
}

CFLocaleRef CFLocaleCopyCurrent(void) {
    return make_locale(nullptr, cf::current_locale_id());
}

CFLocaleRef CFLocaleGetSystem(void) {
    static OpaqueCFLocale* system = [] {
        OpaqueCFLocale* locale = make_locale(kCFAllocatorSystemDefault, "");
        cf::make_immortal(locale);
        return locale;
    }();
    return system;
}

CFLocaleRef CFLocaleCreate(CFAllocatorRef allocator, CFStringRef localeIdentifier) {
    std::string raw = cf::to_utf8(localeIdentifier);
    if (raw.empty())
        return nullptr;
    return make_locale(allocator, canonical_id(raw));
}

CFLocaleRef CFLocaleCreateCopy(CFAllocatorRef allocator, CFLocaleRef locale) {
    if (!cf::check_type(locale, locale_type_id(), __func__))
        return nullptr;
    return make_locale(allocator, cf::locale_identifier(locale));
}

CFStringRef CFLocaleCreateCanonicalLocaleIdentifierFromString(CFAllocatorRef allocator,
                                                              CFStringRef identifier) {
    std::string raw = cf::to_utf8(identifier);
    if (raw.empty())
        return nullptr;
    std::u16string id = cf::utf8_to_utf16(canonical_id(raw));
    return CFStringCreateWithCharacters(allocator, reinterpret_cast<const UniChar*>(id.data()),
                                        static_cast<CFIndex>(id.size()));
}

CFStringRef CFLocaleGetIdentifier(CFLocaleRef locale) {
    if (!cf::check_type(locale, locale_type_id(), __func__))
        return nullptr;
    return locale->identifier.get();
}

CFTypeRef CFLocaleGetValue(CFLocaleRef locale, CFLocaleKey key) {
    if (!cf::check_type(locale, locale_type_id(), __func__) ||
        !cf::check_type(key, cf::string_type_id(), __func__))
        return nullptr;
    auto* mutable_locale = const_cast<OpaqueCFLocale*>(locale);
    std::u16string name(cf::string_view(key));
    auto found = mutable_locale->values.find(name);
    if (found != mutable_locale->values.end())
        return found->second.get();
    CFTypeRef value = compute_value(locale, key);
    if (value != nullptr)
        mutable_locale->values.emplace(std::move(name), cf::Holder<CFTypeRef>(value));
    return value;
}

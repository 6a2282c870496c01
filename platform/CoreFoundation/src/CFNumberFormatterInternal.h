// The number formatter object, shared by its formatting and property files.
#ifndef COREFOUNDATION_CFNUMBERFORMATTERINTERNAL_H
#define COREFOUNDATION_CFNUMBERFORMATTERINTERNAL_H

#include <CoreFoundation/CFNumberFormatter.h>
#include <CoreFoundation/CFHolder.h>
#include <CoreFoundation/CFRuntime.h>

#include <unicode/unum.h>

#include <string_view>

struct OpaqueCFNumberFormatter : cf::Object {
    UNumberFormat* icu = nullptr;
    cf::Holder<CFLocaleRef> locale;
    CFNumberFormatterStyle style = kCFNumberFormatterNoStyle;
    cf::Holder<CFStringRef> default_format; // the pattern the style started with
    cf::Holder<CFStringRef> format;         // the last pattern handed out by GetFormat
    cf::Holder<CFStringRef> zero_symbol;    // replaces the text of zero when set
};

namespace cf {

CFTypeID number_formatter_type_id();

// The formatter behind a public entry, or nullptr after logging.
OpaqueCFNumberFormatter* number_formatter(CFNumberFormatterRef formatter, const char* function);

// Whether ICU can be handed the pattern (or, when `is_pattern` is false, an affix text):
// ICU 72 aborts when it parses with an unquoted approximately sign ("~") or with six or more
// currency signs in a row.
bool pattern_is_safe(std::u16string_view pattern, bool is_pattern);

} // namespace cf

#endif // COREFOUNDATION_CFNUMBERFORMATTERINTERNAL_H

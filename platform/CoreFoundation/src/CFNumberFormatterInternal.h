// The number formatter object, shared by its formatting and property files.
#ifndef COREFOUNDATION_CFNUMBERFORMATTERINTERNAL_H
#define COREFOUNDATION_CFNUMBERFORMATTERINTERNAL_H

#include <CoreFoundation/CFNumberFormatter.h>
#include <CoreFoundation/CFRuntime.h>

#include <unicode/unum.h>

struct OpaqueCFNumberFormatter : cf::Object {
    UNumberFormat* icu = nullptr;
    CFLocaleRef locale = nullptr;
    CFNumberFormatterStyle style = kCFNumberFormatterNoStyle;
    CFStringRef default_format = nullptr; // the pattern the style started with
    CFStringRef format = nullptr;         // the last pattern handed out by GetFormat
    CFStringRef zero_symbol = nullptr;    // replaces the text of zero when set
};

namespace cf {

CFTypeID number_formatter_type_id();

// The formatter behind a public entry, or nullptr after logging.
OpaqueCFNumberFormatter* number_formatter(CFNumberFormatterRef formatter, const char* function);

} // namespace cf

#endif // COREFOUNDATION_CFNUMBERFORMATTERINTERNAL_H

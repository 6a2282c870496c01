// Internals of CFString shared by its files (creation, encodings, formatting,
// comparison, editing) and by the other types of the framework that build
// strings.
#ifndef COREFOUNDATION_CFSTRINGINTERNAL_H
#define COREFOUNDATION_CFSTRINGINTERNAL_H

#include <CoreFoundation/CFRuntime.h>
#include <CoreFoundation/CFString.h>

#include <optional>
#include <string>
#include <string_view>

// Characters live in `text` unless the string was created over a caller's
// buffer (the NoCopy entries), in which case `external` points at it.
struct OpaqueCFString : cf::Object {
    std::u16string text;
    const UniChar* external = nullptr;
    CFIndex external_length = 0;
    CFAllocatorRef external_deallocator = nullptr;
    bool is_mutable = false;

    const UniChar* chars() const {
        return external != nullptr ? external : reinterpret_cast<const UniChar*>(text.data());
    }
    CFIndex length() const {
        return external != nullptr ? external_length : static_cast<CFIndex>(text.size());
    }
    std::u16string_view view() const {
        return {reinterpret_cast<const char16_t*>(chars()), static_cast<size_t>(length())};
    }
};

namespace cf {

CFTypeID string_type_id();

// A new string owning the characters; nullptr only when memory runs out.
OpaqueCFString* make_string(CFAllocatorRef allocator, std::u16string text, bool is_mutable = false);

// The characters of any string (empty for NULL or a non-string).
std::u16string_view string_view(CFStringRef str);
// The string as UTF-8 (unpaired surrogates become U+FFFD).
std::string to_utf8(CFStringRef str);
std::u16string utf8_to_utf16(std::string_view utf8);
std::string utf16_to_utf8(std::u16string_view text);
// A new string from UTF-8 text that is known to be valid (our own literals, ICU output).
CFStringRef string_from_utf8(std::string_view utf8);

// The mutable string behind a public mutable entry, or nullptr after logging
// when it is not a mutable string.
OpaqueCFString* mutable_string(CFMutableStringRef str, const char* function);

// Decodes bytes in an encoding; nothing when they are invalid for it or the
// encoding is unknown.
std::optional<std::u16string> decode(const UInt8* bytes, CFIndex length, CFStringEncoding encoding,
                                     bool is_external_representation);
// The ICU converter name for an encoding, or nullptr when it has none.
const char* icu_converter_name(CFStringEncoding encoding);

// Comparison and search on raw text (CFString_Compare.cpp). locale_id NULL:
// no collation unless kCFCompareLocalized asks for the root locale's.
CFComparisonResult compare(std::u16string_view a, std::u16string_view b, CFStringCompareFlags flags,
                           const std::string* locale_id);
bool find(std::u16string_view text, std::u16string_view needle, CFRange range,
          CFStringCompareFlags flags, CFRange* result);
// Search by a locale's collation rules (ligatures, "ß" and "ss", ...).
bool collated_find(std::u16string_view text, std::u16string_view needle, CFRange range,
                   CFStringCompareFlags flags, const std::string& locale_id, CFRange* result);

// The ICU identifier of a locale ("" for NULL or a non-locale).
std::string locale_identifier(CFLocaleRef locale);
// The identifier of the user's locale from the environment (CFLocale.cpp).
std::string current_locale_id();

// The default description "<Name 0x...>" of an object.
CFStringRef default_description(CFTypeRef obj);

// Formats into out; shared by CFStringCreateWithFormat and CFStringAppendFormat.
void format_append(std::u16string& out, std::u16string_view format, va_list arguments);
// Formats into out when format reads no argument that valid does not read the same way;
// false (out untouched) otherwise.
bool format_append_validated(std::u16string& out, std::u16string_view format,
                             std::u16string_view valid, va_list arguments);

} // namespace cf

#endif // COREFOUNDATION_CFSTRINGINTERNAL_H

// Text helpers shared inside HIToolbox.
#ifndef HITOOLBOX_SRC_TEXTINTERNAL_H
#define HITOOLBOX_SRC_TEXTINTERNAL_H

#include <CoreFoundation/CFBase.h>
#include <HIToolbox/HIToolboxErrors.h>

#include <string>
#include <vector>

namespace hit {

// The string as UTF-8; empty for NULL.
std::string utf8(CFStringRef string);

// The text in double quotes, with quotes, backslashes and control
// characters escaped, as the window dump writes it (WindowDump.cpp).
std::string quoted(const std::string& text);

// Text kept as UTF-16 units, and its conversions (TextData.cpp).
std::u16string units_of(CFStringRef string); // empty for NULL
// UTF-16 units as UTF-8 (a lone surrogate becomes U+FFFD). `offsets`, when given, receives for
// each unit the byte offset where it starts, then the length.
std::string utf8_of_units(const std::u16string& units, std::vector<int>* offsets = nullptr);
CFStringRef create_string(const std::u16string& units);
// A new string of UTF-8 text; nullptr when the bytes are not UTF-8.
CFStringRef create_utf8_string(const std::string& text);

// The getter and setter halves of a text tag whose data is bytes in the
// system encoding: the getter reports the whole size and copies as much as
// fits (a caller may ask for a prefix); the setter fails with paramErr for
// bytes that are not text in that encoding.
OSStatus get_system_bytes(const std::u16string& units, Size size, void* buffer, Size* actual);
OSStatus set_from_system_bytes(Size size, const void* data, std::u16string& out);

// The halves of a tag whose data is one CFStringRef: the getter hands out a
// new reference (the caller releases it); the setter copies the string.
// Sizes other than that of a reference give errDataSizeMismatch; a NULL
// string sets empty text.
OSStatus get_string_ref(const std::u16string& units, Size size, void* buffer, Size* actual);
OSStatus set_from_string_ref(Size size, const void* data, std::u16string& out);

} // namespace hit

#endif // HITOOLBOX_SRC_TEXTINTERNAL_H

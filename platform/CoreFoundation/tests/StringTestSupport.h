// Helpers shared by the string tests: conversions to and from std::string for readable
// expectations.
#ifndef COREFOUNDATION_TESTS_STRINGTESTSUPPORT_H
#define COREFOUNDATION_TESTS_STRINGTESTSUPPORT_H

#include <CoreFoundation/CFHolder.h>
#include <CoreFoundation/CoreFoundation.h>

#include <string>
#include <vector>

namespace cftest {

inline std::string utf8(CFStringRef str) {
    if (str == nullptr)
        return "<NULL>";
    CFIndex size = CFStringGetMaximumSizeForEncoding(CFStringGetLength(str), kCFStringEncodingUTF8);
    std::vector<char> buffer(static_cast<size_t>(size) + 1);
    if (!CFStringGetCString(str, buffer.data(), size + 1, kCFStringEncodingUTF8))
        return "<unconvertible>";
    return buffer.data();
}

inline CFStringRef make(const char* utf8_text) {
    return CFStringCreateWithCString(nullptr, utf8_text, kCFStringEncodingUTF8);
}

} // namespace cftest

#endif

#include "CFText.h"

#include <vector>

namespace host {

std::string to_utf8(CFStringRef string) {
    if (string == nullptr)
        return {};
    CFIndex length = CFStringGetLength(string);
    CFIndex size = CFStringGetMaximumSizeForEncoding(length, kCFStringEncodingUTF8) + 1;
    std::vector<char> bytes(static_cast<size_t>(size));
    if (!CFStringGetCString(string, bytes.data(), size, kCFStringEncodingUTF8))
        return {};
    return bytes.data();
}

cf::Holder<CFStringRef> make_string(const std::string& text) {
    return cf::Holder<CFStringRef>(
        CFStringCreateWithCString(nullptr, text.c_str(), kCFStringEncodingUTF8));
}

} // namespace host

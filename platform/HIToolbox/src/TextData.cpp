// Text kept by controls, and the two shapes their text tags take: bytes in
// the system encoding, and a CFStringRef.
#include "TextInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <CoreFoundation/CFRuntime.h>
#include <CoreFoundation/CFString.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

std::vector<UInt8> system_bytes(const std::u16string& units) {
    cf::Holder<CFStringRef> held(hit::create_string(units));
    CFStringRef string = held.get();
    if (string == nullptr)
        return {};
    const CFRange all = CFRangeMake(0, CFStringGetLength(string));
    const CFStringEncoding encoding = CFStringGetSystemEncoding();
    CFIndex size = 0;
    // A character the encoding lacks comes out as '?', as a Mac's text would.
    CFStringGetBytes(string, all, encoding, '?', false, nullptr, 0, &size);
    std::vector<UInt8> bytes(static_cast<size_t>(size));
    if (size > 0)
        CFStringGetBytes(string, all, encoding, '?', false, bytes.data(), size, nullptr);
    return bytes;
}

} // namespace

namespace hit {

std::u16string units_of(CFStringRef string) {
    if (string == nullptr)
        return {};
    std::u16string units(static_cast<size_t>(CFStringGetLength(string)), u'\0');
    if (!units.empty())
        CFStringGetCharacters(string, CFRangeMake(0, static_cast<CFIndex>(units.size())),
                              reinterpret_cast<UniChar*>(units.data()));
    return units;
}

CFStringRef create_utf8_string(const std::string& text) {
    return CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(text.data()),
                                   static_cast<CFIndex>(text.size()), kCFStringEncodingUTF8, false);
}

CFStringRef create_string(const std::u16string& units) {
    return CFStringCreateWithCharacters(nullptr, reinterpret_cast<const UniChar*>(units.data()),
                                        static_cast<CFIndex>(units.size()));
}

OSStatus get_system_bytes(const std::u16string& units, Size size, void* buffer, Size* actual) {
    const std::vector<UInt8> bytes = system_bytes(units);
    if (actual != nullptr)
        *actual = static_cast<Size>(bytes.size());
    if (buffer != nullptr && !bytes.empty())
        std::memcpy(buffer, bytes.data(), std::min(bytes.size(), static_cast<size_t>(size)));
    return noErr;
}

OSStatus set_from_system_bytes(Size size, const void* data, std::u16string& out) {
    if (size > 0 && data == nullptr)
        return paramErr;
    const cf::Holder<CFStringRef> string(
        CFStringCreateWithBytes(nullptr, static_cast<const UInt8*>(data),
                                static_cast<CFIndex>(size), CFStringGetSystemEncoding(), false));
    if (!string)
        return paramErr;
    out = units_of(string.get());
    return noErr;
}

OSStatus get_string_ref(const std::u16string& units, Size size, void* buffer, Size* actual) {
    if (actual != nullptr)
        *actual = sizeof(CFStringRef);
    if (buffer == nullptr)
        return noErr;
    if (size < static_cast<Size>(sizeof(CFStringRef)))
        return errDataSizeMismatch;
    CFStringRef string = create_string(units);
    if (string == nullptr)
        return memFullErr;
    std::memcpy(buffer, &string, sizeof(string));
    return noErr;
}

OSStatus set_from_string_ref(Size size, const void* data, std::u16string& out) {
    if (data == nullptr)
        return paramErr;
    if (size != static_cast<Size>(sizeof(CFStringRef)))
        return errDataSizeMismatch;
    CFStringRef string = nullptr;
    std::memcpy(&string, data, sizeof(string));
    if (string != nullptr && !cf::check_type(string, CFStringGetTypeID(), "text tag"))
        return paramErr;
    out = units_of(string);
    return noErr;
}

std::string utf8_of_units(const std::u16string& units, std::vector<int>* offsets) {
    std::string out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        if (offsets != nullptr)
            offsets->push_back(static_cast<int>(out.size()));
        char32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            if (offsets != nullptr)
                offsets->push_back(static_cast<int>(out.size()));
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    if (offsets != nullptr)
        offsets->push_back(static_cast<int>(out.size()));
    return out;
}

} // namespace hit

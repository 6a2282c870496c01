// File names: POSIX (UTF-8) names to and from the Unicode names of FSRef
// calls and the Mac Roman names of FSSpecs.
#include "FileNodes.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace cs {
namespace {

constexpr size_t kSpecNameMax = 63;
constexpr size_t kMaxExtension = 15; // longer "extensions" are kept only in part

// Mac names use "/" where POSIX names use ":" and the other way round.
void swap_separators(std::u16string& text) {
    for (char16_t& c : text)
        c = c == u'/' ? u':' : c == u':' ? u'/' : c;
}

std::u16string utf16_from_utf8(const std::string& text) {
    std::u16string out(text.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                         &length, text.data(), static_cast<int32_t>(text.size()), 0xFFFD, nullptr,
                         &status);
    out.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
    return out;
}

// The Mac Roman converter, opened once. Unmappable characters stop a
// conversion instead of turning into "?", so the caller can tell.
struct MacRoman {
    std::mutex lock;
    UConverter* converter = nullptr;
};

MacRoman& mac_roman() {
    static auto* shared = [] {
        auto* m = new MacRoman;
        UErrorCode status = U_ZERO_ERROR;
        m->converter = ucnv_open("macintosh", &status);
        if (U_FAILURE(status)) {
            cf::report("File Manager", "no Mac Roman converter (%s)", u_errorName(status));
            std::abort();
        }
        ucnv_setFromUCallBack(m->converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &status);
        return m;
    }();
    return *shared;
}

bool to_mac_roman(const std::u16string& text, std::string& out) {
    MacRoman& m = mac_roman();
    std::lock_guard<std::mutex> guard(m.lock);
    out.assign(text.size() * 2 + 1, '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucnv_fromUChars(m.converter, out.data(), static_cast<int32_t>(out.size()),
                                     reinterpret_cast<const UChar*>(text.data()),
                                     static_cast<int32_t>(text.size()), &status);
    ucnv_reset(m.converter);
    if (U_FAILURE(status))
        return false;
    out.resize(static_cast<size_t>(length));
    return true;
}

std::u16string from_mac_roman(const unsigned char* bytes, size_t length) {
    MacRoman& m = mac_roman();
    std::lock_guard<std::mutex> guard(m.lock);
    std::u16string out(length + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t count = ucnv_toUChars(
        m.converter, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
        reinterpret_cast<const char*>(bytes), static_cast<int32_t>(length), &status);
    ucnv_reset(m.converter);
    out.resize(U_SUCCESS(status) ? static_cast<size_t>(count) : 0);
    return out;
}

// Each character in Mac Roman, "_" for those it lacks.
std::string mac_roman_lossy(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t units = U16_IS_LEAD(text[i]) && i + 1 < text.size() ? 2 : 1;
        std::string piece;
        out += to_mac_roman(text.substr(i, units), piece) ? piece : "_";
        i += units - 1;
    }
    return out;
}

// "Some long name#1F.txt": as much of the name as fits, "#", the node ID in
// hexadecimal, and the extension when it is short.
std::string shortened_name(const std::string& roman, SInt32 node_id) {
    char suffix[16];
    std::snprintf(suffix, sizeof(suffix), "#%X", static_cast<unsigned>(node_id));
    size_t dot = roman.rfind('.');
    std::string extension;
    if (dot != std::string::npos && dot > 0 && roman.size() - dot <= kMaxExtension)
        extension = roman.substr(dot);
    std::string stem = roman.substr(0, roman.size() - extension.size());
    size_t room = kSpecNameMax - extension.size() - std::strlen(suffix);
    return stem.substr(0, room) + suffix + extension;
}

// Printable or not, but all below 0x80: the same bytes in UTF-8, UTF-16 and Mac Roman.
bool is_plain_ascii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\0')
            return false;
    return true;
}

void store_pascal(const std::string& text, unsigned char out[64]) {
    size_t length = text.size() < kSpecNameMax ? text.size() : kSpecNameMax;
    out[0] = static_cast<unsigned char>(length);
    std::memcpy(out + 1, text.data(), length);
}

} // namespace

OSErr posix_name_from_unicode(const UniChar* name, UniCharCount length, std::string& out) {
    if (name == nullptr || length == 0)
        return errFSMissingName;
    if (length > 255)
        return errFSNameTooLong;
    std::u16string text(reinterpret_cast<const char16_t*>(name), length);
    swap_separators(text);
    out.assign(length * 3 + 1, '\0');
    int32_t bytes = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &bytes,
                reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                &status);
    if (U_FAILURE(status))
        return bdNamErr;
    out.resize(static_cast<size_t>(bytes));
    if (out == "." || out == ".." || out.find('\0') != std::string::npos)
        return bdNamErr;
    if (out.size() > 255)
        return errFSNameTooLong;
    return noErr;
}

void unicode_from_posix_name(std::string_view name, HFSUniStr255* out) {
    // The common case, a plain ASCII name, is copied unit by unit in one pass, which gives up
    // at the first byte that needs the conversion.
    const size_t length = name.size() < 255 ? name.size() : 255;
    size_t i = 0;
    for (; i < length; ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80 || c == '\0')
            break;
        out->unicode[i] = c == ':' ? u'/' : static_cast<UniChar>(c);
    }
    if (i == length && (length == name.size() || is_plain_ascii(name.substr(length)))) {
        out->length = static_cast<UInt16>(length);
        return;
    }
    std::u16string text = utf16_from_utf8(std::string(name));
    swap_separators(text);
    const size_t units = text.size() < 255 ? text.size() : 255;
    out->length = static_cast<UInt16>(units);
    std::memcpy(out->unicode, text.data(), units * sizeof(UniChar));
}

bool spec_name_fits(std::string_view name, unsigned char out[64]) {
    if (is_plain_ascii(name)) { // Mac Roman agrees with ASCII
        if (name.size() > kSpecNameMax)
            return false;
        out[0] = static_cast<unsigned char>(name.size());
        for (size_t i = 0; i < name.size(); ++i)
            out[i + 1] = name[i] == ':' ? '/' : static_cast<unsigned char>(name[i]);
        return true;
    }
    std::u16string text = utf16_from_utf8(std::string(name));
    swap_separators(text);
    std::string roman;
    if (!to_mac_roman(text, roman) || roman.size() > kSpecNameMax)
        return false;
    store_pascal(roman, out);
    return true;
}

void spec_name_from_posix_name(const std::string& name, SInt32 node_id, unsigned char out[64]) {
    if (spec_name_fits(name, out))
        return;
    std::u16string text = utf16_from_utf8(name);
    swap_separators(text);
    store_pascal(shortened_name(mac_roman_lossy(text), node_id), out);
}

std::string path_from_spec_name(const std::string& folder, const unsigned char* name) {
    std::string roman(reinterpret_cast<const char*>(name + 1), name[0]);
    std::u16string text = from_mac_roman(name + 1, name[0]);
    swap_separators(text);
    std::string posix;
    UErrorCode status = U_ZERO_ERROR;
    int32_t bytes = 0;
    posix.assign(text.size() * 3 + 1, '\0');
    u_strToUTF8(posix.data(), static_cast<int32_t>(posix.size()), &bytes,
                reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                &status);
    posix.resize(U_SUCCESS(status) ? static_cast<size_t>(bytes) : 0);
    std::string direct = join_path(folder, posix);
    struct stat info;
    if (lstat(direct.c_str(), &info) == 0)
        return direct;

    // A shortened name: the node ID after the last "#" leads to the real one,
    // provided that object is in this folder and shortens to this very name.
    size_t hash = roman.rfind('#');
    if (hash == std::string::npos)
        return direct;
    char* end = nullptr;
    unsigned long id = std::strtoul(roman.c_str() + hash + 1, &end, 16);
    std::string candidate;
    if (end == roman.c_str() + hash + 1 || (*end != '\0' && *end != '.') ||
        !path_for_node_id(static_cast<SInt32>(id), candidate) || parent_path(candidate) != folder)
        return direct;
    unsigned char check[64];
    spec_name_from_posix_name(leaf_name(candidate), static_cast<SInt32>(id), check);
    return std::memcmp(check, name, name[0] + 1u) == 0 ? candidate : direct;
}

} // namespace cs

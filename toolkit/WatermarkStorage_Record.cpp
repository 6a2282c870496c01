// A watermark record and its entry in a maker data file: which key holds which field, and how
// each field's type is written and read.
#include "WatermarkStorageInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

template <size_t N> CFStringRef create_text(const char (&field)[N]) {
    return CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(field),
                                   static_cast<CFIndex>(strnlen(field, N)), kCFStringEncodingUTF8,
                                   false);
}

// Copies the text into the field, cut before the character that would not fit.
template <size_t N> void store_text(CFStringRef text, char (&field)[N]) {
    CFIndex length = CFStringGetLength(text), used = 0;
    std::vector<UInt8> bytes(
        static_cast<size_t>(CFStringGetMaximumSizeForEncoding(length, kCFStringEncodingUTF8)));
    CFStringGetBytes(text, CFRangeMake(0, length), kCFStringEncodingUTF8, 0, false, bytes.data(),
                     static_cast<CFIndex>(bytes.size()), &used);
    size_t size = std::min(static_cast<size_t>(used), N - 1);
    while (size > 0 && size < static_cast<size_t>(used) && (bytes[size] & 0xC0) == 0x80)
        --size;
    std::memcpy(field, bytes.data(), size);
    field[size] = '\0';
}

void set_text(CFMutableDictionaryRef entry, CFStringRef key, CFStringRef text) {
    if (text != nullptr) {
        CFDictionarySetValue(entry, key, text);
        CFRelease(text);
    }
}

template <class T> void set_number(CFMutableDictionaryRef entry, CFStringRef key, T value) {
    constexpr CFNumberType type = std::is_same_v<T, float>    ? kCFNumberFloat32Type
                                  : std::is_same_v<T, double> ? kCFNumberFloat64Type
                                                              : kCFNumberSInt32Type;
    cf::Holder<CFNumberRef> number(CFNumberCreate(nullptr, type, &value));
    CFDictionarySetValue(entry, key, number.get());
}

template <class T> void get_number(CFDictionaryRef entry, CFStringRef key, T& field) {
    constexpr CFNumberType type = std::is_same_v<T, float>    ? kCFNumberFloat32Type
                                  : std::is_same_v<T, double> ? kCFNumberFloat64Type
                                                              : kCFNumberSInt32Type;
    CFTypeRef value = CFDictionaryGetValue(entry, key);
    if (value != nullptr && CFGetTypeID(value) == CFNumberGetTypeID())
        CFNumberGetValue(static_cast<CFNumberRef>(value), type, &field);
}

template <size_t N> void get_text(CFDictionaryRef entry, CFStringRef key, char (&field)[N]) {
    CFTypeRef value = CFDictionaryGetValue(entry, key);
    if (value != nullptr && CFGetTypeID(value) == CFStringGetTypeID())
        store_text(static_cast<CFStringRef>(value), field);
}

// The four components of a colour, in the order they are written.
struct ColourKeys {
    CFStringRef red, green, blue, alpha;
};
const ColourKeys kWellKeys = {CFSTR("wellColorRed"), CFSTR("wellColorGreen"),
                              CFSTR("wellColorBlue"), CFSTR("wellColorAlpha")};
const ColourKeys kFontKeys = {CFSTR("fontColorRed"), CFSTR("fontColorGreen"),
                              CFSTR("fontColorBlue"), CFSTR("fontColorAlpha")};

void replace_glyphs(CFDataRef data, WatermarkRecord& record) {
    std::free(record.glyphs);
    record.glyphs = nullptr;
    const CFIndex length = CFDataGetLength(data);
    if (length == 0)
        return;
    record.glyphs = static_cast<UInt16*>(std::malloc(static_cast<size_t>(length)));
    if (record.glyphs != nullptr)
        CFDataGetBytes(data, CFRangeMake(0, length), reinterpret_cast<UInt8*>(record.glyphs));
}

} // namespace

namespace toolkit {

CFStringRef create_watermark_key(const WatermarkRecord& record) {
    return record.keyByText != 0 ? create_text(record.textString) : create_text(record.filename);
}

CFMutableDictionaryRef create_watermark_entry(const WatermarkRecord& r) {
    CFMutableDictionaryRef entry = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    set_text(entry, CFSTR("textString"), create_text(r.textString));
    set_text(entry, CFSTR("filename"), create_text(r.filename));
    set_text(entry, CFSTR("filePath"), create_text(r.filePath));
    set_text(entry, CFSTR("fontName"), create_text(r.fontName));
    set_number(entry, CFSTR("xOffset"), r.xOffset);
    set_number(entry, CFSTR("yOffset"), r.yOffset);
    set_number(entry, CFSTR("xPos"), r.xPos);
    set_number(entry, CFSTR("yPos"), r.yPos);
    set_number(entry, CFSTR("angle"), r.angle);
    set_number(entry, CFSTR("density"), r.density);
    set_number(entry, CFSTR("scale"), r.scale);
    set_number(entry, CFSTR("units"), r.units);
    set_number(entry, CFSTR("fontSize"), r.fontSize);
    const float well[4] = {r.wellColorRed, r.wellColorGreen, r.wellColorBlue, r.wellColorAlpha};
    const float font[4] = {r.fontColorRed, r.fontColorGreen, r.fontColorBlue, r.fontColorAlpha};
    for (const auto& [keys, values] : {std::pair{kWellKeys, well}, std::pair{kFontKeys, font}}) {
        set_number(entry, keys.red, values[0]);
        set_number(entry, keys.green, values[1]);
        set_number(entry, keys.blue, values[2]);
        set_number(entry, keys.alpha, values[3]);
    }
    if (r.glyphs != nullptr && r.glyphCount > 0) {
        set_number(entry, CFSTR("glyphCount"), r.glyphCount);
        cf::Holder<CFDataRef> glyphs(CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(r.glyphs),
                                                  static_cast<CFIndex>(r.glyphCount) * 2));
        CFDictionarySetValue(entry, CFSTR("glyphs"), glyphs.get());
    }
    return entry;
}

void fill_watermark_record(CFDictionaryRef entry, WatermarkRecord& r) {
    get_text(entry, CFSTR("textString"), r.textString);
    get_text(entry, CFSTR("filename"), r.filename);
    get_text(entry, CFSTR("filePath"), r.filePath);
    get_text(entry, CFSTR("fontName"), r.fontName);
    get_number(entry, CFSTR("xOffset"), r.xOffset);
    get_number(entry, CFSTR("yOffset"), r.yOffset);
    get_number(entry, CFSTR("xPos"), r.xPos);
    get_number(entry, CFSTR("yPos"), r.yPos);
    get_number(entry, CFSTR("angle"), r.angle);
    get_number(entry, CFSTR("density"), r.density);
    get_number(entry, CFSTR("scale"), r.scale);
    get_number(entry, CFSTR("units"), r.units);
    get_number(entry, CFSTR("fontSize"), r.fontSize);
    get_number(entry, kWellKeys.red, r.wellColorRed);
    get_number(entry, kWellKeys.green, r.wellColorGreen);
    get_number(entry, kWellKeys.blue, r.wellColorBlue);
    get_number(entry, kWellKeys.alpha, r.wellColorAlpha);
    get_number(entry, kFontKeys.red, r.fontColorRed);
    get_number(entry, kFontKeys.green, r.fontColorGreen);
    get_number(entry, kFontKeys.blue, r.fontColorBlue);
    get_number(entry, kFontKeys.alpha, r.fontColorAlpha);
    get_number(entry, CFSTR("glyphCount"), r.glyphCount);
    CFTypeRef glyphs = CFDictionaryGetValue(entry, CFSTR("glyphs"));
    if (glyphs != nullptr && CFGetTypeID(glyphs) == CFDataGetTypeID())
        replace_glyphs(static_cast<CFDataRef>(glyphs), r);
}

} // namespace toolkit

// CFString encodings: the table of encodings this platform converts, decoding
// bytes into UTF-16 and encoding UTF-16 into bytes. 8-bit and multi-byte
// encodings go through ICU converters that stop at the first byte or character
// without a mapping; the Unicode encodings are byte shuffling done here, so
// that any sequence of UTF-16 code units survives a round trip.
#include "CFStringInternal.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <CoreFoundation/CFStringEncodingExt.h>

#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace cf {
namespace {

struct EncodingInfo {
    CFStringEncoding encoding;
    const char* icu;  // nullptr: converted here
    const char* iana; // the preferred IANA charset name
    const char* name; // for CFStringGetNameOfEncoding
};

constexpr EncodingInfo kEncodings[] = {
    {kCFStringEncodingUTF8, nullptr, "utf-8", "Unicode (UTF-8)"},
    {kCFStringEncodingMacRoman, "macintosh", "macintosh", "Western (Mac OS Roman)"},
    {kCFStringEncodingWindowsLatin1, "windows-1252", "windows-1252", "Western (Windows Latin 1)"},
    {kCFStringEncodingISOLatin1, "ISO-8859-1", "iso-8859-1", "Western (ISO Latin 1)"},
    {kCFStringEncodingISOLatin2, "ISO-8859-2", "iso-8859-2", "Central European (ISO Latin 2)"},
    {kCFStringEncodingISOLatin5, "ISO-8859-9", "iso-8859-9", "Turkish (ISO Latin 5)"},
    {kCFStringEncodingISOLatin9, "ISO-8859-15", "iso-8859-15", "Western (ISO Latin 9)"},
    {kCFStringEncodingWindowsLatin2, "windows-1250", "windows-1250",
     "Central European (Windows Latin 2)"},
    {kCFStringEncodingASCII, "US-ASCII", "us-ascii", "Western (ASCII)"},
    {kCFStringEncodingShiftJIS, "Shift_JIS", "shift_jis", "Japanese (Shift JIS)"},
    {kCFStringEncodingDOSJapanese, "windows-31j", "cp932", "Japanese (Windows, DOS)"},
    {kCFStringEncodingEUC_JP, "EUC-JP", "euc-jp", "Japanese (EUC)"},
    {kCFStringEncodingUnicode, nullptr, "utf-16", "Unicode (UTF-16)"},
    {kCFStringEncodingUTF16BE, nullptr, "utf-16be", "Unicode (UTF-16BE)"},
    {kCFStringEncodingUTF16LE, nullptr, "utf-16le", "Unicode (UTF-16LE)"},
    {kCFStringEncodingUTF32, nullptr, "utf-32", "Unicode (UTF-32)"},
    {kCFStringEncodingUTF32BE, nullptr, "utf-32be", "Unicode (UTF-32BE)"},
    {kCFStringEncodingUTF32LE, nullptr, "utf-32le", "Unicode (UTF-32LE)"},
};

const EncodingInfo* find_encoding(CFStringEncoding encoding) {
    for (const EncodingInfo& info : kEncodings)
        if (info.encoding == encoding)
            return &info;
    return nullptr;
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// A converter that reports, rather than substitutes, anything it cannot map.
Converter open_strict(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    if (U_FAILURE(status))
        return nullptr;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

enum class ByteOrder { big, little };
constexpr ByteOrder kHostOrder =
    __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? ByteOrder::big : ByteOrder::little;

UInt32 read_unit(const UInt8* p, int size, ByteOrder order) {
    UInt32 value = 0;
    for (int i = 0; i < size; ++i)
        value |= static_cast<UInt32>(p[order == ByteOrder::big ? i : size - 1 - i])
                 << (8 * (size - 1 - i));
    return value;
}

void write_unit(UInt8* p, UInt32 value, int size, ByteOrder order) {
    for (int i = 0; i < size; ++i)
        p[order == ByteOrder::big ? i : size - 1 - i] =
            static_cast<UInt8>(value >> (8 * (size - 1 - i)));
}

// UTF-16 or UTF-32; `detect` reads a leading byte order mark (and drops it),
// falling back to the host's order when there is none.
std::optional<std::u16string> decode_utf(const UInt8* bytes, CFIndex length, int size,
                                         ByteOrder order, bool detect) {
    if (length % size != 0)
        return std::nullopt;
    if (detect && length >= size) {
        if (read_unit(bytes, size, ByteOrder::big) == 0xFEFF) {
            order = ByteOrder::big;
            bytes += size, length -= size;
        } else if (read_unit(bytes, size, ByteOrder::little) == 0xFEFF) {
            order = ByteOrder::little;
            bytes += size, length -= size;
        }
    }
    std::u16string out;
    out.reserve(static_cast<size_t>(length / size));
    for (CFIndex i = 0; i < length; i += size) {
        UInt32 unit = read_unit(bytes + i, size, order);
        if (size == 2) {
            out.push_back(static_cast<char16_t>(unit));
        } else if (unit > 0x10FFFF || U_IS_SURROGATE(unit)) {
            return std::nullopt;
        } else if (unit > 0xFFFF) {
            out.push_back(U16_LEAD(unit));
            out.push_back(U16_TRAIL(unit));
        } else {
            out.push_back(static_cast<char16_t>(unit));
        }
    }
    return out;
}

std::optional<std::u16string> decode_icu(const UInt8* bytes, CFIndex length, const char* name) {
    Converter converter = open_strict(name);
    if (!converter)
        return std::nullopt;
    // No encoding we list yields more UTF-16 units than it has bytes.
    std::u16string out(static_cast<size_t>(length) + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t produced =
        ucnv_toUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()),
                      reinterpret_cast<const char*>(bytes), static_cast<int32_t>(length), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    out.resize(static_cast<size_t>(produced));
    return out;
}

std::optional<std::u16string> decode_utf8(const UInt8* bytes, CFIndex length, bool strip_bom) {
    if (strip_bom && length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        bytes += 3, length -= 3;
    return decode_icu(bytes, length, "UTF-8");
}

} // namespace

const char* icu_converter_name(CFStringEncoding encoding) {
    if (encoding == kCFStringEncodingUTF8)
        return "UTF-8";
    const EncodingInfo* info = find_encoding(encoding);
    return info != nullptr ? info->icu : nullptr;
}

std::optional<std::u16string> decode(const UInt8* bytes, CFIndex length, CFStringEncoding encoding,
                                     bool is_external_representation) {
    switch (encoding) {
    case kCFStringEncodingUTF8:
        return decode_utf8(bytes, length, is_external_representation);
    case kCFStringEncodingUnicode:
        return decode_utf(bytes, length, 2, kHostOrder, true);
    case kCFStringEncodingUTF16BE:
        return decode_utf(bytes, length, 2, ByteOrder::big, false);
    case kCFStringEncodingUTF16LE:
        return decode_utf(bytes, length, 2, ByteOrder::little, false);
    case kCFStringEncodingUTF32:
        return decode_utf(bytes, length, 4, kHostOrder, true);
    case kCFStringEncodingUTF32BE:
        return decode_utf(bytes, length, 4, ByteOrder::big, false);
    case kCFStringEncodingUTF32LE:
        return decode_utf(bytes, length, 4, ByteOrder::little, false);
    default:
        break;
    }
    const char* name = icu_converter_name(encoding);
    if (name == nullptr)
        return std::nullopt;
    return decode_icu(bytes, length, name);
}

} // namespace cf

/* ---- Encoding characters into bytes ---- */

namespace {

// Encodes one character (a code point, or an unpaired surrogate) at a time,
// so that a conversion can stop after the last character that fits.
class CharacterEncoder {
  public:
    explicit CharacterEncoder(CFStringEncoding encoding) : encoding_(encoding) {
        const char* name = cf::icu_converter_name(encoding);
        if (encoding != kCFStringEncodingUTF8 && name != nullptr)
            converter_ = cf::open_strict(name);
    }

    bool available() const {
        return converter_ != nullptr || encoding_ == kCFStringEncodingUTF8 || unit_size() != 0;
    }

    // Bytes of the character in out; 0 when it has no representation.
    int encode(UChar32 c, UInt8 out[8]) {
        bool lone_surrogate = U_IS_SURROGATE(c);
        int size = unit_size();
        if (size == 2) {
            UChar units[2];
            int n = 0;
            U16_APPEND_UNSAFE(units, n, c);
            for (int i = 0; i < n; ++i)
                cf::write_unit(out + 2 * i, units[i], 2, order());
            return 2 * n;
        }
        if (lone_surrogate)
            return 0;
        if (size == 4) {
            cf::write_unit(out, static_cast<UInt32>(c), 4, order());
            return 4;
        }
        if (encoding_ == kCFStringEncodingUTF8) {
            int n = 0;
            U8_APPEND_UNSAFE(out, n, c);
            return n;
        }
        return encode_icu(c, out);
    }

    int unit_size() const {
        switch (encoding_) {
        case kCFStringEncodingUnicode:
        case kCFStringEncodingUTF16BE:
        case kCFStringEncodingUTF16LE:
            return 2;
        case kCFStringEncodingUTF32:
        case kCFStringEncodingUTF32BE:
        case kCFStringEncodingUTF32LE:
            return 4;
        default:
            return 0;
        }
    }

    cf::ByteOrder order() const {
        if (encoding_ == kCFStringEncodingUTF16BE || encoding_ == kCFStringEncodingUTF32BE)
            return cf::ByteOrder::big;
        if (encoding_ == kCFStringEncodingUTF16LE || encoding_ == kCFStringEncodingUTF32LE)
            return cf::ByteOrder::little;
        return cf::kHostOrder;
    }

    // The plain UTF-16 and UTF-32 encodings carry a byte order mark in an external representation.
    bool has_bom() const {
        return encoding_ == kCFStringEncodingUnicode || encoding_ == kCFStringEncodingUTF32;
    }

  private:
    int encode_icu(UChar32 c, UInt8 out[8]) {
        UChar units[2];
        int n = 0;
        U16_APPEND_UNSAFE(units, n, c);
        UErrorCode status = U_ZERO_ERROR;
        int32_t produced =
            ucnv_fromUChars(converter_.get(), reinterpret_cast<char*>(out), 8, units, n, &status);
        return U_SUCCESS(status) ? produced : 0;
    }

    CFStringEncoding encoding_;
    cf::Converter converter_;
};

} // namespace

namespace {

// Encodings in which every ASCII character is the one byte of its code.
bool ascii_is_itself(CFStringEncoding encoding) {
    switch (encoding) {
    case kCFStringEncodingUTF8:
    case kCFStringEncodingASCII:
    case kCFStringEncodingISOLatin1:
    case kCFStringEncodingMacRoman:
    case kCFStringEncodingWindowsLatin1:
        return true;
    default:
        return false;
    }
}

} // namespace

CFIndex CFStringGetBytes(CFStringRef theString, CFRange range, CFStringEncoding encoding,
                         UInt8 lossByte, Boolean isExternalRepresentation, UInt8* buffer,
                         CFIndex maxBufLen, CFIndex* usedBufLen) {
    if (usedBufLen != nullptr)
        *usedBufLen = 0;
    if (!cf::check_type(theString, cf::string_type_id(), __func__))
        return 0;
    std::u16string_view text = cf::string_view(theString);
    if (range.location < 0 || range.length < 0 ||
        range.location + range.length > static_cast<CFIndex>(text.size()))
        return 0;
    CharacterEncoder encoder(encoding);
    if (!encoder.available())
        return 0;
    if (buffer == nullptr)
        maxBufLen = LONG_MAX; // measuring only
    CFIndex used = 0;
    UInt8 bytes[8];
    // UTF-8 carries no mark, but a reader drops a leading one: a text that starts with U+FEFF
    // gets a mark in front, so that its own U+FEFF survives the round trip.
    const bool utf8_mark = encoding == kCFStringEncodingUTF8 && range.length > 0 &&
                           text[static_cast<size_t>(range.location)] == 0xFEFF;
    if (isExternalRepresentation && (encoder.has_bom() || utf8_mark)) {
        int n = encoder.encode(0xFEFF, bytes);
        if (n > maxBufLen)
            return 0;
        if (buffer != nullptr)
            std::memcpy(buffer, bytes, static_cast<size_t>(n));
        used = n;
    }
    CFIndex index = range.location;
    const CFIndex end = range.location + range.length;
    if (ascii_is_itself(encoding)) {
        // Plain ASCII is copied as it is, without the encoder.
        while (index < end && text[static_cast<size_t>(index)] < 0x80 && used < maxBufLen) {
            if (buffer != nullptr)
                buffer[used] = static_cast<UInt8>(text[static_cast<size_t>(index)]);
            ++used;
            ++index;
        }
    }
    while (index < end) {
        CFIndex next = index;
        UChar32 c;
        U16_NEXT(text.data(), next, end, c);
        int n = encoder.encode(c, bytes);
        if (n == 0) {
            if (lossByte == 0)
                break;
            bytes[0] = lossByte;
            n = 1;
        }
        if (used + n > maxBufLen)
            break;
        if (buffer != nullptr)
            std::memcpy(buffer + used, bytes, static_cast<size_t>(n));
        used += n;
        index = next;
    }
    if (usedBufLen != nullptr)
        *usedBufLen = used;
    return index - range.location;
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding) {
    if (length < 0)
        return kCFNotFound;
    CFIndex per_unit = 0;
    CharacterEncoder encoder(encoding);
    if (encoding == kCFStringEncodingUTF8)
        per_unit = 3; // a surrogate pair (two units) takes four bytes
    else if (encoder.unit_size() != 0)
        per_unit = encoder.unit_size() == 2 ? 2 : 4;
    else if (const char* name = cf::icu_converter_name(encoding)) {
        cf::Converter converter = cf::open_strict(name);
        if (converter)
            per_unit = ucnv_getMaxCharSize(converter.get());
    }
    if (per_unit == 0 || length > LONG_MAX / per_unit)
        return kCFNotFound;
    return length * per_unit;
}

/* ---- The encodings themselves ---- */

namespace {

bool same_converter(const char* a, const char* b) {
    if (ucnv_compareNames(a, b) == 0)
        return true;
    cf::Converter ca = cf::open_strict(a);
    cf::Converter cb = cf::open_strict(b);
    UErrorCode status = U_ZERO_ERROR;
    return ca && cb &&
           std::strcmp(ucnv_getName(ca.get(), &status), ucnv_getName(cb.get(), &status)) == 0;
}

CFStringEncoding encoding_for_charset(const char* name) {
    for (const cf::EncodingInfo& info : cf::kEncodings)
        if (ucnv_compareNames(name, info.iana) == 0)
            return info.encoding;
    // Aliases ("latin1", "cp1252", "sjis", "mac", ...) resolve through ICU.
    for (const cf::EncodingInfo& info : cf::kEncodings) {
        const char* icu = cf::icu_converter_name(info.encoding);
        if (icu != nullptr && info.encoding != kCFStringEncodingUnicode &&
            same_converter(name, icu))
            return info.encoding;
    }
    return kCFStringEncodingInvalidId;
}

CFStringEncoding read_system_encoding() {
    const char* name = std::getenv("CARBONRT_SYSTEM_ENCODING");
    if (name == nullptr || *name == '\0')
        return kCFStringEncodingUTF8;
    CFStringEncoding encoding = encoding_for_charset(name);
    if (encoding == kCFStringEncodingInvalidId || !CFStringIsEncodingAvailable(encoding)) {
        cf::report("CFStringGetSystemEncoding",
                   "CARBONRT_SYSTEM_ENCODING=\"%s\" is not a known charset; using UTF-8", name);
        return kCFStringEncodingUTF8;
    }
    return encoding;
}

} // namespace

CFStringEncoding CFStringGetSystemEncoding(void) {
    static const CFStringEncoding encoding = read_system_encoding();
    return encoding;
}

CFStringEncoding CFStringGetFastestEncoding(CFStringRef) {
    return kCFStringEncodingUnicode;
}

CFStringEncoding CFStringGetSmallestEncoding(CFStringRef theString) {
    std::u16string_view text = cf::string_view(theString);
    if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; }))
        return kCFStringEncodingASCII;
    if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x100; }))
        return kCFStringEncodingISOLatin1;
    return kCFStringEncodingUnicode;
}

Boolean CFStringIsEncodingAvailable(CFStringEncoding encoding) {
    if (cf::find_encoding(encoding) == nullptr)
        return false;
    return CharacterEncoder(encoding).available();
}

const CFStringEncoding* CFStringGetListOfAvailableEncodings(void) {
    static const std::vector<CFStringEncoding>* list = [] {
        auto* encodings = new std::vector<CFStringEncoding>();
        for (const cf::EncodingInfo& info : cf::kEncodings)
            if (CFStringIsEncodingAvailable(info.encoding))
                encodings->push_back(info.encoding);
        encodings->push_back(kCFStringEncodingInvalidId);
        return encodings;
    }();
    return list->data();
}

CFStringRef CFStringGetNameOfEncoding(CFStringEncoding encoding) {
    const cf::EncodingInfo* info = cf::find_encoding(encoding);
    return info != nullptr ? CFStringMakeConstantString(info->name) : nullptr;
}

CFStringRef CFStringConvertEncodingToIANACharSetName(CFStringEncoding encoding) {
    const cf::EncodingInfo* info = cf::find_encoding(encoding);
    return info != nullptr ? CFStringMakeConstantString(info->iana) : nullptr;
}

CFStringEncoding CFStringConvertIANACharSetNameToEncoding(CFStringRef theString) {
    std::string name = cf::to_utf8(theString);
    if (name.empty())
        return kCFStringEncodingInvalidId;
    return encoding_for_charset(name.c_str());
}

#include "StringTestSupport.h"

#include <CoreFoundation/CFStringEncodingExt.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using cftest::make;
using cftest::utf8;

namespace {

using Bytes = std::vector<UInt8>;

Bytes encode(CFStringRef s, CFStringEncoding encoding, bool external = false, UInt8 loss = 0) {
    CFIndex needed = 0;
    CFRange all = CFRangeMake(0, CFStringGetLength(s));
    CFStringGetBytes(s, all, encoding, loss, external, nullptr, 0, &needed);
    Bytes bytes(static_cast<size_t>(needed));
    CFIndex used = 0;
    CFStringGetBytes(s, all, encoding, loss, external, bytes.data(), needed, &used);
    bytes.resize(static_cast<size_t>(used));
    return bytes;
}

CFStringRef decode(const Bytes& bytes, CFStringEncoding encoding, bool external = false) {
    return CFStringCreateWithBytes(nullptr, bytes.data(), static_cast<CFIndex>(bytes.size()),
                                   encoding, external);
}

struct Known {
    CFStringEncoding encoding;
    const char* text; // UTF-8
    Bytes bytes;
};

// Known byte sequences for text outside ASCII in every supported encoding.
const Known kKnown[] = {
    {kCFStringEncodingUTF8, "é€", {0xC3, 0xA9, 0xE2, 0x82, 0xAC}},
    {kCFStringEncodingMacRoman, "é•Ω", {0x8E, 0xA5, 0xBD}},
    {kCFStringEncodingISOLatin1, "éÿ", {0xE9, 0xFF}},
    {kCFStringEncodingWindowsLatin1, "€é", {0x80, 0xE9}},
    {kCFStringEncodingISOLatin2, "łŽ", {0xB3, 0xAE}},
    {kCFStringEncodingISOLatin5, "şİ", {0xFE, 0xDD}},
    {kCFStringEncodingASCII, "Print", {'P', 'r', 'i', 'n', 't'}},
    {kCFStringEncodingShiftJIS, "日本語", {0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA}},
    {kCFStringEncodingUTF16BE, "é𝄞", {0x00, 0xE9, 0xD8, 0x34, 0xDD, 0x1E}},
    {kCFStringEncodingUTF16LE, "é", {0xE9, 0x00}},
    {kCFStringEncodingUTF32BE, "𝄞", {0x00, 0x01, 0xD1, 0x1E}},
    {kCFStringEncodingUTF32LE, "é", {0xE9, 0x00, 0x00, 0x00}},
};

TEST(CFStringEncoding, KnownBytesRoundTripInEveryEncoding) {
    for (const Known& k : kKnown) {
        SCOPED_TRACE(k.text);
        EXPECT_TRUE(CFStringIsEncodingAvailable(k.encoding));
        cf::Holder<CFStringRef> s(make(k.text));
        EXPECT_EQ(encode(s.get(), k.encoding), k.bytes);
        cf::Holder<CFStringRef> back(decode(k.bytes, k.encoding));
        EXPECT_TRUE(CFEqual(back.get(), s.get())) << utf8(back.get());
    }
}

TEST(CFStringEncoding, InvalidBytesGiveNull) {
    struct Bad {
        CFStringEncoding encoding;
        Bytes bytes;
    } bad[] = {
        {kCFStringEncodingUTF8, {'a', 0xC3, 0x28}},           // broken sequence
        {kCFStringEncodingUTF8, {0xED, 0xA0, 0x80}},          // encoded surrogate
        {kCFStringEncodingUTF8, {0xC0, 0xAF}},                // overlong
        {kCFStringEncodingASCII, {'o', 'k', 0x80}},           // 8-bit in ASCII
        {kCFStringEncodingShiftJIS, {'a', 0x93}},             // truncated double byte
        {kCFStringEncodingShiftJIS, {0x81, 0x20}},            // bad trail byte
        {kCFStringEncodingEUC_JP, {'a', 0xA4}},               // truncated double byte
        {kCFStringEncodingUTF16BE, {0x00, 0x41, 0x00}},       // odd length
        {kCFStringEncodingUTF32LE, {0x00, 0x00, 0x11, 0x00}}, // above U+10FFFF
        {kCFStringEncodingUTF32BE, {0x00, 0x00, 0xD8, 0x00}}, // surrogate code point
    };
    for (const Bad& b : bad) {
        EXPECT_EQ(decode(b.bytes, b.encoding), nullptr) << "encoding 0x" << std::hex << b.encoding;
    }
    EXPECT_EQ(CFStringCreateWithCString(nullptr, "\xff\xfe", kCFStringEncodingUTF8), nullptr);
    EXPECT_EQ(CFStringCreateWithBytes(nullptr, Bytes{'a'}.data(), 1, 0x7777, false), nullptr);
}

TEST(CFStringEncoding, JapaneseThroughShiftJIS) {
    cf::Holder<CFStringRef> text(make("印刷ダイアログ：会計コード"));
    char buffer[64];
    ASSERT_TRUE(CFStringGetCString(text.get(), buffer, sizeof buffer, kCFStringEncodingShiftJIS));
    cf::Holder<CFStringRef> back(
        CFStringCreateWithCString(nullptr, buffer, kCFStringEncodingShiftJIS));
    EXPECT_TRUE(CFEqual(back.get(), text.get()));
    // Characters Shift JIS lacks make the conversion fail, not mangle.
    cf::Holder<CFStringRef> greek_and_emoji(make("日本 ψ 😀"));
    EXPECT_FALSE(CFStringGetCString(greek_and_emoji.get(), buffer, sizeof buffer,
                                    kCFStringEncodingShiftJIS));
    EXPECT_STREQ(buffer, "");
}

TEST(CFStringEncoding, CStringNeedsRoomForEverythingAndTheTerminator) {
    cf::Holder<CFStringRef> s(make("Grüße")); // 7 bytes in UTF-8
    char buffer[16];
    EXPECT_FALSE(CFStringGetCString(s.get(), buffer, 7, kCFStringEncodingUTF8));
    EXPECT_TRUE(CFStringGetCString(s.get(), buffer, 8, kCFStringEncodingUTF8));
    EXPECT_STREQ(buffer, "Grüße");
    EXPECT_TRUE(CFStringGetCString(s.get(), buffer, 6, kCFStringEncodingISOLatin1));
    EXPECT_STREQ(buffer, "Gr\xfc\xdf"
                         "e");
    EXPECT_FALSE(CFStringGetCString(s.get(), buffer, 16, kCFStringEncodingASCII));

    Str255 pascal;
    EXPECT_TRUE(CFStringGetPascalString(s.get(), pascal, sizeof pascal, kCFStringEncodingMacRoman));
    EXPECT_EQ(pascal[0], 5);
    cf::Holder<CFStringRef> back(
        CFStringCreateWithPascalString(nullptr, pascal, kCFStringEncodingMacRoman));
    EXPECT_TRUE(CFEqual(back.get(), s.get()));
}

TEST(CFStringEncoding, GetBytesStopsOrSubstitutes) {
    cf::Holder<CFStringRef> s(make("aé€b"));
    UInt8 buffer[16];
    CFIndex used = -1;
    // Latin 1 has no euro: without a loss byte the conversion stops before it.
    CFIndex converted = CFStringGetBytes(s.get(), CFRangeMake(0, 4), kCFStringEncodingISOLatin1, 0,
                                         false, buffer, sizeof buffer, &used);
    EXPECT_EQ(converted, 2);
    EXPECT_EQ(used, 2);
    converted = CFStringGetBytes(s.get(), CFRangeMake(0, 4), kCFStringEncodingISOLatin1, '?', false,
                                 buffer, sizeof buffer, &used);
    EXPECT_EQ(converted, 4);
    EXPECT_EQ(Bytes(buffer, buffer + used), (Bytes{'a', 0xE9, '?', 'b'}));
    // Only whole characters are written: "é" takes two bytes in UTF-8.
    converted = CFStringGetBytes(s.get(), CFRangeMake(0, 4), kCFStringEncodingUTF8, 0, false,
                                 buffer, 2, &used);
    EXPECT_EQ(converted, 1);
    EXPECT_EQ(used, 1);
    // A run of plain ASCII stops at the end of the buffer too.
    cf::Holder<CFStringRef> ascii(make("abcd"));
    converted = CFStringGetBytes(ascii.get(), CFRangeMake(1, 3), kCFStringEncodingMacRoman, 0,
                                 false, buffer, 2, &used);
    EXPECT_EQ(converted, 2);
    EXPECT_EQ(Bytes(buffer, buffer + used), (Bytes{'b', 'c'}));
    // Measuring with a NULL buffer.
    converted = CFStringGetBytes(s.get(), CFRangeMake(1, 2), kCFStringEncodingUTF8, 0, false,
                                 nullptr, 0, &used);
    EXPECT_EQ(converted, 2);
    EXPECT_EQ(used, 5);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(4, kCFStringEncodingUTF8), 12);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(4, kCFStringEncodingUTF16), 8);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(4, kCFStringEncodingMacRoman), 4);
    EXPECT_GE(CFStringGetMaximumSizeForEncoding(4, kCFStringEncodingShiftJIS), 8);
}

TEST(CFStringEncoding, UnicodeByteOrderMarks) {
    cf::Holder<CFStringRef> s(make("Ab"));
    Bytes external = encode(s.get(), kCFStringEncodingUTF16, true);
    ASSERT_EQ(external.size(), 6u);
    cf::Holder<CFStringRef> back(decode(external, kCFStringEncodingUTF16, true));
    EXPECT_TRUE(CFEqual(back.get(), s.get()));
    // A byte-swapped mark is honoured whatever the host order.
    cf::Holder<CFStringRef> big(
        decode(Bytes{0xFE, 0xFF, 0x00, 'A', 0x00, 'b'}, kCFStringEncodingUTF16));
    cf::Holder<CFStringRef> little(
        decode(Bytes{0xFF, 0xFE, 'A', 0x00, 'b', 0x00}, kCFStringEncodingUTF16));
    EXPECT_TRUE(CFEqual(big.get(), s.get()));
    EXPECT_TRUE(CFEqual(little.get(), s.get()));
    // Without the external flag no mark is written.
    EXPECT_EQ(encode(s.get(), kCFStringEncodingUTF16).size(), 4u);
    cf::Holder<CFStringRef> utf32(
        decode(encode(s.get(), kCFStringEncodingUTF32, true), kCFStringEncodingUTF32));
    EXPECT_TRUE(CFEqual(utf32.get(), s.get()));
    // A UTF-8 mark is dropped only from an external representation.
    Bytes bom8 = {0xEF, 0xBB, 0xBF, 'A', 'b'};
    cf::Holder<CFStringRef> stripped(decode(bom8, kCFStringEncodingUTF8, true));
    cf::Holder<CFStringRef> kept(decode(bom8, kCFStringEncodingUTF8, false));
    EXPECT_TRUE(CFEqual(stripped.get(), s.get()));
    EXPECT_EQ(CFStringGetLength(kept.get()), 3);
}

TEST(CFStringEncoding, CharsetNames) {
    EXPECT_EQ(utf8(CFStringConvertEncodingToIANACharSetName(kCFStringEncodingMacRoman)),
              "macintosh");
    EXPECT_EQ(utf8(CFStringConvertEncodingToIANACharSetName(kCFStringEncodingShiftJIS)),
              "shift_jis");
    EXPECT_EQ(CFStringConvertIANACharSetNameToEncoding(CFSTR("UTF-8")), kCFStringEncodingUTF8);
    EXPECT_EQ(CFStringConvertIANACharSetNameToEncoding(CFSTR("ISO-8859-1")),
              kCFStringEncodingISOLatin1);
    EXPECT_EQ(CFStringConvertIANACharSetNameToEncoding(CFSTR("latin5")),
              kCFStringEncodingISOLatin5);
    EXPECT_EQ(CFStringConvertIANACharSetNameToEncoding(CFSTR("Shift_JIS")),
              kCFStringEncodingShiftJIS);
    EXPECT_EQ(CFStringConvertIANACharSetNameToEncoding(CFSTR("no-such-charset")),
              kCFStringEncodingInvalidId);
    for (const CFStringEncoding* e = CFStringGetListOfAvailableEncodings();
         *e != kCFStringEncodingInvalidId; ++e) {
        CFStringRef iana = CFStringConvertEncodingToIANACharSetName(*e);
        EXPECT_EQ(CFStringConvertIANACharSetNameToEncoding(iana), *e) << utf8(iana);
        EXPECT_NE(CFStringGetNameOfEncoding(*e), nullptr);
    }
    EXPECT_FALSE(CFStringIsEncodingAvailable(kCFStringEncodingMacJapanese));
}

TEST(CFStringEncoding, SystemEncodingComesFromTheEnvironmentOnce) {
    // The value is read once per process, so each case runs in a fresh one.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            unsetenv("CARBONRT_SYSTEM_ENCODING");
            std::exit(CFStringGetSystemEncoding() == kCFStringEncodingUTF8 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            setenv("CARBONRT_SYSTEM_ENCODING", "macintosh", 1);
            bool first = CFStringGetSystemEncoding() == kCFStringEncodingMacRoman;
            setenv("CARBONRT_SYSTEM_ENCODING", "ISO-8859-1", 1);
            bool cached = CFStringGetSystemEncoding() == kCFStringEncodingMacRoman;
            // The system encoding is what %s arguments are read in.
            CFStringRef s = CFStringCreateWithFormat(nullptr, nullptr, CFSTR("%s"), "\x8e");
            bool decoded = CFStringGetCharacterAtIndex(s, 0) == 0x00E9;
            std::exit(first && cached && decoded ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            setenv("CARBONRT_SYSTEM_ENCODING", "klingon", 1);
            std::exit(CFStringGetSystemEncoding() == kCFStringEncodingUTF8 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "not a known charset");
}

TEST(CFStringEncoding, ExternalRepresentations) {
    cf::Holder<CFStringRef> s(make("Zähler ✓"));
    cf::Holder<CFDataRef> utf16(
        CFStringCreateExternalRepresentation(nullptr, s.get(), kCFStringEncodingUTF16, 0));
    ASSERT_NE(utf16.get(), nullptr);
    EXPECT_EQ(CFDataGetLength(utf16.get()), 2 + 2 * 8); // with a byte order mark
    cf::Holder<CFStringRef> back(
        CFStringCreateFromExternalRepresentation(nullptr, utf16.get(), kCFStringEncodingUTF16));
    EXPECT_TRUE(CFEqual(back.get(), s.get()));
    // The check mark has no Latin 1 form: refused without a loss byte, replaced with one.
    EXPECT_EQ(CFStringCreateExternalRepresentation(nullptr, s.get(), kCFStringEncodingISOLatin1, 0),
              nullptr);
    cf::Holder<CFDataRef> lossy(
        CFStringCreateExternalRepresentation(nullptr, s.get(), kCFStringEncodingISOLatin1, '?'));
    ASSERT_NE(lossy.get(), nullptr);
    EXPECT_EQ(Bytes(CFDataGetBytePtr(lossy.get()),
                    CFDataGetBytePtr(lossy.get()) + CFDataGetLength(lossy.get())),
              (Bytes{'Z', 0xE4, 'h', 'l', 'e', 'r', ' ', '?'}));
    cf::Holder<CFDataRef> bad(CFDataCreate(nullptr, Bytes{0xFF, 0xFE, 0x41}.data(), 3));
    EXPECT_EQ(CFStringCreateFromExternalRepresentation(nullptr, bad.get(), kCFStringEncodingUTF16),
              nullptr);
}

// A leading U+FEFF is a character of the text: every external representation keeps it.
TEST(CFStringEncoding, ExternalRepresentationsKeepALeadingByteOrderMark) {
    const UniChar units[] = {0xFEFF, 'o', 'k'};
    cf::Holder<CFStringRef> s(CFStringCreateWithCharacters(nullptr, units, 3));
    for (CFStringEncoding encoding :
         {kCFStringEncodingUTF8, kCFStringEncodingUTF16, kCFStringEncodingUTF16BE,
          kCFStringEncodingUTF16LE, kCFStringEncodingUTF32, kCFStringEncodingUTF32BE,
          kCFStringEncodingUTF32LE}) {
        cf::Holder<CFDataRef> data(
            CFStringCreateExternalRepresentation(nullptr, s.get(), encoding, 0));
        ASSERT_NE(data.get(), nullptr) << encoding;
        cf::Holder<CFStringRef> back(
            CFStringCreateFromExternalRepresentation(nullptr, data.get(), encoding));
        ASSERT_NE(back.get(), nullptr) << encoding;
        EXPECT_EQ(CFStringGetLength(back.get()), 3) << encoding;
        EXPECT_TRUE(CFEqual(back.get(), s.get())) << encoding;
    }
}

} // namespace

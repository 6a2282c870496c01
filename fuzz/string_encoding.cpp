// CFString conversions in every encoding the runtime offers, with and without a byte order mark:
// bytes to a string, and the string back to bytes (whole, or into a buffer too small for it).
#include "FuzzSupport.h"

#include <CoreFoundation/CFStringEncodingExt.h>

#include <vector>

namespace {

const CFStringEncoding kEncodings[] = {
    kCFStringEncodingUTF8,      kCFStringEncodingMacRoman,      kCFStringEncodingWindowsLatin1,
    kCFStringEncodingISOLatin1, kCFStringEncodingISOLatin2,     kCFStringEncodingISOLatin5,
    kCFStringEncodingISOLatin9, kCFStringEncodingWindowsLatin2, kCFStringEncodingASCII,
    kCFStringEncodingShiftJIS,  kCFStringEncodingDOSJapanese,   kCFStringEncodingEUC_JP,
    kCFStringEncodingUnicode,   kCFStringEncodingUTF16BE,       kCFStringEncodingUTF16LE,
    kCFStringEncodingUTF32,     kCFStringEncodingUTF32BE,       kCFStringEncodingUTF32LE,
};

bool is_unicode(CFStringEncoding encoding) {
    return encoding == kCFStringEncodingUTF8 || encoding == kCFStringEncodingUnicode ||
           encoding == kCFStringEncodingUTF16BE || encoding == kCFStringEncodingUTF16LE ||
           encoding == kCFStringEncodingUTF32 || encoding == kCFStringEncodingUTF32BE ||
           encoding == kCFStringEncodingUTF32LE;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const CFStringEncoding encoding = input.pick(kEncodings);
    const bool external = input.take_bool();
    const CFIndex room = input.take_in(0, 64);
    const std::vector<uint8_t> bytes = input.rest();
    cf::Holder<CFStringRef> text(CFStringCreateWithBytes(
        nullptr, bytes.data(), static_cast<CFIndex>(bytes.size()), encoding, external));
    if (!text)
        return 0;
    const CFIndex length = CFStringGetLength(text.get());
    cf::Holder<CFDataRef> back(
        CFStringCreateExternalRepresentation(nullptr, text.get(), encoding, 0));
    if (back) {
        cf::Holder<CFStringRef> again(
            CFStringCreateFromExternalRepresentation(nullptr, back.get(), encoding));
        FUZZ_CHECK(again); // what was written reads back
        // A Unicode encoding keeps every character; others may map two byte forms to one.
        if (is_unicode(encoding))
            FUZZ_CHECK(CFEqual(again.get(), text.get()));
    } else {
        // UTF-16 holds any string, even unpaired surrogates.
        FUZZ_CHECK(encoding != kCFStringEncodingUnicode && encoding != kCFStringEncodingUTF16BE &&
                   encoding != kCFStringEncodingUTF16LE);
    }
    // Into a small buffer: never more than it holds, and a whole number of characters.
    std::vector<UInt8> buffer(static_cast<size_t>(room) + 1, 0xAB);
    CFIndex used = -1;
    const CFIndex converted = CFStringGetBytes(text.get(), CFRangeMake(0, length), encoding, '?',
                                               external, buffer.data(), room, &used);
    FUZZ_CHECK(converted >= 0 && converted <= length && used >= 0 && used <= room);
    FUZZ_CHECK(buffer[static_cast<size_t>(room)] == 0xAB);
    char c_string[64];
    CFStringGetCString(text.get(), c_string, sizeof c_string, encoding);
    return 0;
}

// XML entity unescaping, through both ways it reads its input, with a table of its own entities.
#include "FuzzSupport.h"

#include "XMLEntities.h"
#include "XMLEntitiesInternal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte chooses the encoding, so that any UTF-16 text can be reached.
    if (size == 0)
        return 0;
    const CFStringEncoding encoding =
        data[0] & 1 ? kCFStringEncodingUTF16LE : kCFStringEncodingUTF8;
    cf::Holder<CFStringRef> text(CFStringCreateWithBytes(
        nullptr, data + 1, static_cast<CFIndex>(size - 1), encoding, false));
    if (!text)
        return 0;
    const void* keys[] = {CFSTR("copy"), CFSTR("x"), CFSTR("")};
    const void* values[] = {CFSTR("\u00A9"), CFSTR("&amp;"), CFSTR("empty")};
    cf::Holder<CFDictionaryRef> entities(CFDictionaryCreate(nullptr, keys, values, 3,
                                                            &kCFTypeDictionaryKeyCallBacks,
                                                            &kCFTypeDictionaryValueCallBacks));
    cf::Holder<CFMutableStringRef> plain(
        XMLCreateStringByUnescapingEntities(nullptr, text.get(), nullptr));
    cf::Holder<CFMutableStringRef> direct(
        toolkit::unescape_entities(nullptr, text.get(), entities.get(), true));
    cf::Holder<CFMutableStringRef> windowed(
        toolkit::unescape_entities(nullptr, text.get(), entities.get(), false));
    // Reading straight from the characters or through the window buffer gives the same text.
    FUZZ_CHECK(!direct == !windowed);
    if (direct)
        FUZZ_CHECK(CFEqual(direct.get(), windowed.get()));
    return 0;
}

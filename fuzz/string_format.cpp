// CFString formats with arguments: any format that reads only the arguments passed (checked by
// CFStringCreateStringWithValidatedFormat, as translations are) is rendered with them.
#include "FuzzSupport.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cf::Holder<CFStringRef> format(CFStringCreateWithBytes(
        nullptr, data, static_cast<CFIndex>(size), kCFStringEncodingUTF8, false));
    if (!format)
        return 0;
    static const UniChar kUnichars[] = {'u', 0x263A, 0};
    CFErrorRef error = nullptr;
    cf::Holder<CFStringRef> text(CFStringCreateStringWithValidatedFormat(
        nullptr, nullptr, CFSTR("%d %ld %f %@ %s %S %C %p %lld %Lf %zd %c %hhd %x"), format.get(),
        &error, 42, -7L, 3.5, CFSTR("object"), "c string", kUnichars, UniChar(0x263A),
        static_cast<void*>(&error), -1LL, 2.25L, static_cast<ssize_t>(9), 'c', 300, 0xBEEFu));
    cf::Holder<CFErrorRef> refusal(error);
    FUZZ_CHECK(text || error != nullptr);
    // Formatting into a mutable string that is itself the format.
    if (text) {
        cf::Holder<CFMutableStringRef> self(CFStringCreateMutableCopy(nullptr, 0, CFSTR("%%")));
        CFStringAppendFormat(self.get(), nullptr, self.get());
    }
    return 0;
}

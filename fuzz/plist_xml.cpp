// XML property lists: anything that parses is written back and must read back as the same value.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cf::Holder<CFDataRef> bytes(CFDataCreate(nullptr, data, static_cast<CFIndex>(size)));
    CFStringRef error = nullptr;
    cf::Holder<CFPropertyListRef> plist(CFPropertyListCreateFromXMLData(
        nullptr, bytes.get(), kCFPropertyListMutableContainersAndLeaves, &error));
    cf::Holder<CFStringRef> message(error);
    FUZZ_CHECK(plist || error != nullptr); // a refusal always says why
    if (!plist)
        return 0;
    cf::Holder<CFDataRef> xml(CFPropertyListCreateXMLData(nullptr, plist.get()));
    FUZZ_CHECK(xml);
    CFStringRef again_error = nullptr;
    cf::Holder<CFPropertyListRef> again(CFPropertyListCreateFromXMLData(
        nullptr, xml.get(), kCFPropertyListImmutable, &again_error));
    cf::Holder<CFStringRef> again_message(again_error);
    FUZZ_CHECK(again);
    FUZZ_CHECK(CFEqual(plist.get(), again.get()));
    return 0;
}

// XML property lists: anything that parses is written back and must read back as the same value.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Owned<CFDataRef> bytes(CFDataCreate(nullptr, data, static_cast<CFIndex>(size)));
    CFStringRef error = nullptr;
    fuzz::Owned<CFPropertyListRef> plist(CFPropertyListCreateFromXMLData(
        nullptr, bytes.get(), kCFPropertyListMutableContainersAndLeaves, &error));
    fuzz::Owned<CFStringRef> message(error);
    FUZZ_CHECK(plist || error != nullptr); // a refusal always says why
    if (!plist)
        return 0;
    fuzz::Owned<CFDataRef> xml(CFPropertyListCreateXMLData(nullptr, plist.get()));
    FUZZ_CHECK(xml);
    CFStringRef again_error = nullptr;
    fuzz::Owned<CFPropertyListRef> again(CFPropertyListCreateFromXMLData(
        nullptr, xml.get(), kCFPropertyListImmutable, &again_error));
    fuzz::Owned<CFStringRef> again_message(again_error);
    FUZZ_CHECK(again);
    FUZZ_CHECK(CFEqual(plist.get(), again.get()));
    return 0;
}

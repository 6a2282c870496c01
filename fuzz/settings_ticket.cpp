// Print settings files (--settings) and job tickets: read, and a ticket that reads is written
// and must read back.
#include "FuzzSupport.h"

#include <ApplicationServices/ApplicationServices.h>
#include <PrintCore/PlatformHost.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::ScratchFile input("settings.plist"), output("ticket.plist");
    PMTicketRef ticket = nullptr;
    CFStringRef error = nullptr;
    OSStatus status = PlatformTicketCreateFromFile(input.write(data, size), &ticket, &error);
    cf::Holder<CFStringRef> message(error);
    if (status != noErr) {
        FUZZ_CHECK(ticket == nullptr && error != nullptr);
        return 0;
    }
    FUZZ_CHECK(PlatformTicketWriteToFile(ticket, output.path()) == noErr);
    PMTicketRef again = nullptr;
    CFStringRef again_error = nullptr;
    FUZZ_CHECK(PlatformTicketCreateFromFile(output.path(), &again, &again_error) == noErr);
    PMTicketRelease(again);
    PMTicketRelease(ticket);
    return 0;
}

// Print session and ticket helpers.
#include "TicketHelpers.h"

OSStatus GetTicketFromSession(PMPrintSession session, CFStringRef key, PMTicketRef* outTicket) {
    CFTypeRef data = nullptr;
    OSStatus status = PMSessionGetDataFromSession(session, key, &data);
    if (status != noErr || data == nullptr)
        return status;
    SInt32 handle = 0;
    if (CFGetTypeID(data) == CFNumberGetTypeID() &&
        CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &handle))
        *outTicket = PMTicketFromHandle(handle);
    return noErr;
}

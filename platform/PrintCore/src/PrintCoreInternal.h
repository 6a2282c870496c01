// Internals shared by the printing manager's files.
#ifndef PRINTCORE_INTERNAL_H
#define PRINTCORE_INTERNAL_H

#include <CoreFoundation/CFRuntime.h>
#include <PrintCore/PMCore.h>
#include <PrintCore/PMTicket.h>

#include <map>
#include <string>

namespace pc {

// The UTF-8 bytes of a string; empty for NULL or a string that cannot be converted.
std::string utf8(CFStringRef string);

struct TicketItem {
    CFTypeRef value = nullptr; // retained
    CFStringRef client = nullptr; // retained
    bool locked = false;
};

struct Ticket : cf::Object {
    CFStringRef type = nullptr;
    SInt32 handle = 0;
    std::map<std::string, TicketItem> items; // ordered, so saved tickets read the same every time
    CFMutableDictionaryRef ppd = nullptr;
    ~Ticket();
};

// The live ticket behind a reference, or nullptr.
Ticket* ticket_for(PMTicketRef ref);

} // namespace pc

#endif

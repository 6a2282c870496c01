// Internals shared by the printing manager's files.
#ifndef PRINTCORE_INTERNAL_H
#define PRINTCORE_INTERNAL_H

#include <CoreFoundation/CFHolder.h>
#include <CoreFoundation/CFRuntime.h>
#include <PrintCore/PMCore.h>
#include <PrintCore/PMTicket.h>

#include <cstdint>
#include <map>
#include <string>

// A printer: a name, an ID, and the PPD file that describes it when it has one.
struct OpaquePMPrinter : cf::Object {
    CFStringRef name = nullptr;    // retained
    CFStringRef id = nullptr;      // retained
    std::string ppd_path;          // absolute; empty when the printer has no PPD
    bool ppd_is_temporary = false; // a copy fetched for this printer, removed with it
    std::string ppd_problem;       // why there is no PPD, naming the file and line
    ~OpaquePMPrinter();
};

namespace pc {

using Printer = OpaquePMPrinter;

// The UTF-8 bytes of a string; empty for NULL or a string that cannot be converted.
std::string utf8(CFStringRef string);
// A new string from UTF-8 bytes, or nullptr when they are not UTF-8.
CFStringRef create_string(const std::string& bytes);

struct TicketItem {
    cf::Holder<CFTypeRef> value;
    cf::Holder<CFStringRef> client;
    bool locked = false;
    uint64_t order = 0; // when the item was last written: larger is later
};

struct Ticket : cf::Object {
    cf::Holder<CFStringRef> type;
    SInt32 handle = 0;
    std::map<std::string, TicketItem> items; // ordered, so saved tickets read the same every time
    uint64_t next_order = 1;
    cf::Holder<CFMutableDictionaryRef> ppd;
    ~Ticket();
};

// The live ticket behind a reference, or nullptr.
Ticket* ticket_for(PMTicketRef ref);
// A new empty ticket with a fresh handle, or an error status.
OSStatus create_ticket(CFAllocatorRef allocator, CFStringRef type, PMTicketRef* out);
// Stores a value (retained) under key as the most recent write; the lock rules apply.
OSStatus set_ticket_item(Ticket* ticket, CFStringRef client, const std::string& key,
                         CFTypeRef value, bool locked);
// A top-level item of the ticket behind ref: kPMInvalidTicket, kPMInvalidParameter (no key)
// or kPMKeyNotFound when there is none.
OSStatus find_item(PMTicketRef ref, UInt32 node1, UInt32 node2, CFStringRef key,
                   const TicketItem** out);
// Sets a top-level item of the ticket behind ref (value retained).
OSStatus set_item(PMTicketRef ref, CFStringRef client, CFStringRef key, CFTypeRef value,
                  Boolean locked);

CFTypeID printer_type();
// The printer behind a public reference, or nullptr (with a line on standard error for a
// reference of another type).
Printer* printer_for(PMPrinter printer, const char* function);
// A new printer with that name and ID, known to the registry until it is freed.
Printer* create_printer(CFStringRef name, CFStringRef id);
// A live printer with that ID, retained for the caller, or nullptr.
Printer* copy_registered_printer(CFStringRef id);
// Opens the PPD at path with libcups to check it. On success the printer is described by
// it; otherwise the printer has no PPD and ppd_problem says why.
void attach_ppd(Printer* printer, const std::string& path, bool temporary);

// A printer for a CUPS destination ("queue" or "queue/instance"), or an error status with a
// message for the caller (released by the caller) when CUPS does not know it.
OSStatus create_cups_printer(CFStringRef destination, PMPrinter* out, CFStringRef* errorString);

} // namespace pc

#endif

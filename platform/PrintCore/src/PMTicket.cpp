// Print settings tickets: typed top-level values by key, a PPD dictionary, and 32-bit handles.
#include "PrintCoreInternal.h"

#include <PrintCore/PlatformHost.h>

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <vector>

namespace pc {
namespace {

const cf::ClassDescriptor kTicketClass = {"PMTicket", cf::destroy<Ticket>, nullptr, nullptr,
                                          nullptr};

CFTypeID ticket_type() {
    static CFTypeID id = cf::register_class(&kTicketClass);
    return id;
}

// Handles are never reused, so a stale handle cannot reach a newer ticket.
struct HandleTable {
    SInt32 next = 1;
    std::unordered_map<SInt32, Ticket*> live;
};

HandleTable& handles() {
    static auto* table = new HandleTable;
    return *table;
}

SInt32 handle_of(PMTicketRef ref) {
    return static_cast<SInt32>(reinterpret_cast<intptr_t>(ref));
}

} // namespace

Ticket::~Ticket() {
    handles().live.erase(handle);
}

Ticket* ticket_for(PMTicketRef ref) {
    auto& live = handles().live;
    auto found = live.find(handle_of(ref));
    return found == live.end() ? nullptr : found->second;
}

std::string utf8(CFStringRef string) {
    if (string == nullptr)
        return {};
    if (const char* fast = CFStringGetCStringPtr(string, kCFStringEncodingUTF8))
        return fast;
    CFIndex length = CFStringGetLength(string);
    std::string bytes(
        static_cast<size_t>(CFStringGetMaximumSizeForEncoding(length, kCFStringEncodingUTF8) + 1),
        '\0');
    if (!CFStringGetCString(string, bytes.data(), static_cast<CFIndex>(bytes.size()),
                            kCFStringEncodingUTF8))
        return {};
    bytes.resize(std::char_traits<char>::length(bytes.c_str()));
    return bytes;
}

CFStringRef create_string(const std::string& bytes) {
    return CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                                   static_cast<CFIndex>(bytes.size()), kCFStringEncodingUTF8,
                                   false);
}

OSStatus set_ticket_item(Ticket* ticket, CFStringRef client, const std::string& key,
                         CFTypeRef value, bool locked) {
    TicketItem& item = ticket->items[key];
    if (item.value && item.locked &&
        !(client != nullptr && item.client && CFEqual(client, item.client.get())))
        return kPMItemIsLocked;
    item.value = cf::Holder<CFTypeRef>::retaining(value);
    item.client = cf::Holder<CFStringRef>::retaining(client);
    item.locked = locked;
    item.order = ticket->next_order++;
    return kPMNoError;
}

OSStatus create_ticket(CFAllocatorRef allocator, CFStringRef type, PMTicketRef* out) {
    auto& table = handles();
    if (table.next == INT32_MAX)
        return kPMGeneralError;
    Ticket* ticket = cf::create<Ticket>(allocator, ticket_type());
    if (ticket == nullptr)
        return memFullErr;
    ticket->type.reset(CFStringCreateCopy(nullptr, type));
    ticket->ppd.reset(CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                                &kCFTypeDictionaryValueCallBacks));
    ticket->handle = table.next++;
    table.live[ticket->handle] = ticket;
    *out = reinterpret_cast<PMTicketRef>(static_cast<intptr_t>(ticket->handle));
    return kPMNoError;
}

// Looks a top-level item up; nodes below the top level are not kept.
OSStatus find_item(PMTicketRef ref, UInt32 node1, UInt32 node2, CFStringRef key,
                   const TicketItem** out) {
    Ticket* ticket = ticket_for(ref);
    if (ticket == nullptr)
        return kPMInvalidTicket;
    if (key == nullptr)
        return kPMInvalidParameter;
    if (node1 != kPMTopLevel || node2 != kPMTopLevel)
        return kPMKeyNotFound;
    auto found = ticket->items.find(utf8(key));
    if (found == ticket->items.end())
        return kPMKeyNotFound;
    *out = &found->second;
    return kPMNoError;
}

OSStatus set_item(PMTicketRef ref, CFStringRef client, CFStringRef key, CFTypeRef value,
                  Boolean locked) {
    Ticket* ticket = ticket_for(ref);
    if (ticket == nullptr)
        return kPMInvalidTicket;
    if (key == nullptr || value == nullptr)
        return kPMInvalidParameter;
    return set_ticket_item(ticket, client, utf8(key), value, locked != 0);
}

} // namespace pc

using pc::Ticket;

OSStatus PMTicketCreate(CFAllocatorRef allocator, CFStringRef ticketType, PMTicketRef* newTicket) {
    if (newTicket == nullptr || ticketType == nullptr)
        return kPMInvalidParameter;
    return pc::create_ticket(allocator, ticketType, newTicket);
}

OSStatus PMTicketRetain(PMTicketRef ticket) {
    Ticket* t = pc::ticket_for(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    CFRetain(t);
    return kPMNoError;
}

OSStatus PMTicketRelease(PMTicketRef ticket) {
    Ticket* t = pc::ticket_for(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    CFRelease(t);
    return kPMNoError;
}

SInt32 PMTicketGetHandle(PMTicketRef ticket) {
    Ticket* t = pc::ticket_for(ticket);
    return t != nullptr ? t->handle : 0;
}

PMTicketRef PMTicketFromHandle(SInt32 handle) {
    return reinterpret_cast<PMTicketRef>(static_cast<intptr_t>(handle));
}

OSStatus PMTicketGetSInt32(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, SInt32* value) {
    const pc::TicketItem* item = nullptr;
    OSStatus status = pc::find_item(ticket, nodeIndex1, nodeIndex2, key, &item);
    if (status != kPMNoError)
        return status;
    if (value == nullptr)
        return kPMInvalidParameter;
    if (CFGetTypeID(item->value.get()) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(item->value.get()), kCFNumberSInt32Type, value))
        return kPMInvalidType;
    return kPMNoError;
}

OSStatus PMTicketGetCFString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFStringRef* value) {
    const pc::TicketItem* item = nullptr;
    OSStatus status = pc::find_item(ticket, nodeIndex1, nodeIndex2, key, &item);
    if (status != kPMNoError)
        return status;
    if (value == nullptr)
        return kPMInvalidParameter;
    if (CFGetTypeID(item->value.get()) != CFStringGetTypeID())
        return kPMInvalidType;
    *value = static_cast<CFStringRef>(item->value.get());
    return kPMNoError;
}

OSStatus PMTicketGetCString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, UInt32 bufferSize, CFStringEncoding encoding,
                            char* buffer) {
    CFStringRef string = nullptr;
    OSStatus status = PMTicketGetCFString(ticket, nodeIndex1, nodeIndex2, key, &string);
    if (status != kPMNoError)
        return status;
    if (buffer == nullptr || bufferSize == 0)
        return kPMInvalidParameter;
    // Convert as many whole characters as fit, leaving room for the terminator.
    CFIndex used = 0;
    CFIndex length = CFStringGetLength(string);
    CFIndex converted = CFStringGetBytes(string, CFRangeMake(0, length), encoding, 0, false,
                                         reinterpret_cast<UInt8*>(buffer), bufferSize - 1, &used);
    if (converted == 0 && length > 0)
        return kPMInvalidValue;
    buffer[used] = '\0';
    return converted < length ? kPMValueOutOfRange : kPMNoError;
}

OSStatus PMTicketSetSInt32(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, SInt32 value,
                           Boolean locked) {
    const cf::Holder<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberSInt32Type, &value));
    return pc::set_item(ticket, clientID, key, number.get(), locked);
}

OSStatus PMTicketSetCFString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFStringRef value, Boolean locked) {
    if (value == nullptr)
        return kPMInvalidParameter;
    const cf::Holder<CFStringRef> copy(CFStringCreateCopy(nullptr, value));
    return pc::set_item(ticket, clientID, key, copy.get(), locked);
}

OSStatus PMTicketSetCString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            const char* value, Boolean locked) {
    if (value == nullptr)
        return kPMInvalidParameter;
    const cf::Holder<CFStringRef> string(
        CFStringCreateWithCString(nullptr, value, CFStringGetSystemEncoding()));
    if (!string)
        return kPMInvalidValue;
    return pc::set_item(ticket, clientID, key, string.get(), locked);
}

OSStatus PMTicketGetPPDDict(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFMutableDictionaryRef* dict) {
    Ticket* t = pc::ticket_for(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    if (dict == nullptr || nodeIndex1 != kPMTopLevel || nodeIndex2 != kPMTopLevel)
        return kPMInvalidParameter;
    *dict = t->ppd.get();
    return kPMNoError;
}

CFArrayRef PlatformTicketCopyKeysInWriteOrder(PMTicketRef ticket) {
    Ticket* t = pc::ticket_for(ticket);
    if (t == nullptr)
        return nullptr;
    std::vector<std::pair<uint64_t, const std::string*>> written;
    written.reserve(t->items.size());
    for (const auto& [key, item] : t->items)
        written.emplace_back(item.order, &key);
    std::sort(written.begin(), written.end());
    CFMutableArrayRef keys =
        CFArrayCreateMutable(nullptr, static_cast<CFIndex>(written.size()), &kCFTypeArrayCallBacks);
    for (const auto& entry : written) {
        const cf::Holder<CFStringRef> key(pc::create_string(*entry.second));
        CFArrayAppendValue(keys, key.get());
    }
    return keys;
}

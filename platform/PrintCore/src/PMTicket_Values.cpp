// Ticket values of every property-list type: data, Booleans, numbers, dates, arrays and
// dictionaries, each kept as an immutable deep copy so the caller's later changes do not leak
// into the ticket.
#include "PrintCoreInternal.h"

#include <cstring>

namespace pc {
namespace {

// The value under key when it has the given type.
OSStatus get_typed(PMTicketRef ticket, UInt32 node1, UInt32 node2, CFStringRef key, CFTypeID type,
                   CFTypeRef* out) {
    const TicketItem* item = nullptr;
    OSStatus status = find_item(ticket, node1, node2, key, &item);
    if (status != kPMNoError)
        return status;
    if (out == nullptr)
        return kPMInvalidParameter;
    if (type != 0 && CFGetTypeID(item->value.get()) != type)
        return kPMInvalidType;
    *out = item->value.get();
    return kPMNoError;
}

// Stores a copy of `value`, which must be of `type` (0: any property-list value).
OSStatus set_copy(PMTicketRef ticket, CFStringRef client, CFStringRef key, CFTypeRef value,
                  CFTypeID type, Boolean locked) {
    if (value == nullptr)
        return kPMInvalidParameter;
    if (type != 0 && CFGetTypeID(value) != type)
        return kPMInvalidType;
    if (!CFPropertyListIsValid(value, kCFPropertyListXMLFormat_v1_0))
        return kPMInvalidValue;
    cf::Holder<CFPropertyListRef> copy(
        CFPropertyListCreateDeepCopy(nullptr, value, kCFPropertyListImmutable));
    if (!copy)
        return kPMInvalidValue;
    return set_item(ticket, client, key, copy.get(), locked);
}

template <class Ref>
OSStatus get_as(PMTicketRef ticket, UInt32 node1, UInt32 node2, CFStringRef key, CFTypeID type,
                Ref* out) {
    CFTypeRef value = nullptr;
    OSStatus status = get_typed(ticket, node1, node2, key, type, out != nullptr ? &value : nullptr);
    if (status == kPMNoError)
        *out = static_cast<Ref>(value);
    return status;
}

} // namespace
} // namespace pc

OSStatus PMTicketGetItem(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2, CFStringRef key,
                         CFTypeRef* item) {
    return pc::get_typed(ticket, nodeIndex1, nodeIndex2, key, 0, item);
}

OSStatus PMTicketSetItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, CFTypeRef item,
                         Boolean locked) {
    return pc::set_copy(ticket, clientID, key, item, 0, locked);
}

OSStatus PMTicketGetCFData(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, CFDataRef* data) {
    return pc::get_as(ticket, nodeIndex1, nodeIndex2, key, CFDataGetTypeID(), data);
}

OSStatus PMTicketSetCFData(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                           CFDataRef item, Boolean locked) {
    return pc::set_copy(ticket, clientID, key, item, CFDataGetTypeID(), locked);
}

OSStatus PMTicketGetBytes(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2, CFStringRef key,
                          UInt8* data, UInt32* size) {
    if (size == nullptr)
        return kPMInvalidParameter;
    CFDataRef value = nullptr;
    OSStatus status = PMTicketGetCFData(ticket, nodeIndex1, nodeIndex2, key, &value);
    if (status != kPMNoError)
        return status;
    const auto length = static_cast<UInt32>(CFDataGetLength(value));
    if (data != nullptr && *size < length) {
        *size = length;
        return kPMValueOutOfRange;
    }
    if (data != nullptr && length > 0)
        std::memcpy(data, CFDataGetBytePtr(value), length);
    *size = length;
    return kPMNoError;
}

OSStatus PMTicketSetBytes(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                          const UInt8* data, UInt32 size, Boolean locked) {
    if (data == nullptr && size > 0)
        return kPMInvalidParameter;
    cf::Holder<CFDataRef> value(CFDataCreate(nullptr, data, static_cast<CFIndex>(size)));
    return pc::set_item(ticket, clientID, key, value.get(), locked);
}

OSStatus PMTicketGetCFBoolean(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                              CFStringRef key, CFBooleanRef* value) {
    return pc::get_as(ticket, nodeIndex1, nodeIndex2, key, CFBooleanGetTypeID(), value);
}

OSStatus PMTicketSetCFBoolean(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                              CFBooleanRef item, Boolean locked) {
    return pc::set_copy(ticket, clientID, key, item, CFBooleanGetTypeID(), locked);
}

OSStatus PMTicketGetBoolean(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, Boolean* value) {
    if (value == nullptr)
        return kPMInvalidParameter;
    CFBooleanRef boolean = nullptr;
    OSStatus status = PMTicketGetCFBoolean(ticket, nodeIndex1, nodeIndex2, key, &boolean);
    if (status == kPMNoError)
        *value = CFBooleanGetValue(boolean);
    return status;
}

OSStatus PMTicketSetBoolean(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            Boolean value, Boolean locked) {
    return pc::set_item(ticket, clientID, key, value ? kCFBooleanTrue : kCFBooleanFalse, locked);
}

OSStatus PMTicketGetCFNumber(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFNumberRef* value) {
    return pc::get_as(ticket, nodeIndex1, nodeIndex2, key, CFNumberGetTypeID(), value);
}

OSStatus PMTicketSetCFNumber(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFNumberRef item, Boolean locked) {
    return pc::set_copy(ticket, clientID, key, item, CFNumberGetTypeID(), locked);
}

OSStatus PMTicketGetDouble(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, double* value) {
    if (value == nullptr)
        return kPMInvalidParameter;
    CFNumberRef number = nullptr;
    OSStatus status = PMTicketGetCFNumber(ticket, nodeIndex1, nodeIndex2, key, &number);
    if (status == kPMNoError)
        CFNumberGetValue(number, kCFNumberDoubleType, value);
    return status;
}

OSStatus PMTicketSetDouble(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, double value,
                           Boolean locked) {
    cf::Holder<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberDoubleType, &value));
    return pc::set_item(ticket, clientID, key, number.get(), locked);
}

OSStatus PMTicketGetCFDate(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, CFDateRef* value) {
    return pc::get_as(ticket, nodeIndex1, nodeIndex2, key, CFDateGetTypeID(), value);
}

OSStatus PMTicketSetCFDate(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                           CFDateRef item, Boolean locked) {
    return pc::set_copy(ticket, clientID, key, item, CFDateGetTypeID(), locked);
}

OSStatus PMTicketGetCFArray(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, CFArrayRef* value) {
    return pc::get_as(ticket, nodeIndex1, nodeIndex2, key, CFArrayGetTypeID(), value);
}

OSStatus PMTicketSetCFArray(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            CFArrayRef item, Boolean locked) {
    return pc::set_copy(ticket, clientID, key, item, CFArrayGetTypeID(), locked);
}

OSStatus PMTicketGetCFDictionary(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                 CFStringRef key, CFDictionaryRef* value) {
    return pc::get_as(ticket, nodeIndex1, nodeIndex2, key, CFDictionaryGetTypeID(), value);
}

OSStatus PMTicketSetCFDictionary(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                 CFDictionaryRef item, Boolean locked) {
    return pc::set_copy(ticket, clientID, key, item, CFDictionaryGetTypeID(), locked);
}

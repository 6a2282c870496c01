// Print session and ticket helpers.
#include "TicketHelpers.h"
#include <CoreFoundation/CFHolder.h>

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

Boolean GetCFIndexFromCFDictionary(CFDictionaryRef dictionary, CFStringRef key, CFIndex* outIndex) {
    if (dictionary == nullptr || key == nullptr)
        return false;
    CFTypeRef value = CFDictionaryGetValue(dictionary, key);
    if (value == nullptr || CFGetTypeID(value) != CFNumberGetTypeID())
        return false;
    return CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberCFIndexType, outIndex);
}

void WriteTicketValue(CFMutableDictionaryRef dictionary, CFStringRef key, SInt32 value) {
    CFIndex index = value;
    const cf::Holder<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberCFIndexType, &index));
    CFDictionarySetValue(dictionary, key, number.get());
}

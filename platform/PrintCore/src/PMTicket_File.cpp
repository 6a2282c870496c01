// Tickets kept in XML property-list files: written atomically with mode 0600 (tickets carry
// accounting codes), read back with every value's type checked.
//
// The file holds a dictionary: "TicketType" (string), "Items" (a dictionary from ticket key to
// a record of "Value" (any property-list value, stored with its own type), "Client" (string),
// "Locked" (boolean) and "WriteOrder" (integer, 1 for the first value written)) and
// "PPDChoices" (a dictionary from PPD main keyword to choice keyword).
#include "PrintCoreInternal.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <CoreServices/MacErrors.h>
#include <CoreFoundation/PlatformHost.h>
#include <PrintCore/PlatformHost.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace pc {
namespace {

#define kTypeKey CFSTR("TicketType")
#define kItemsKey CFSTR("Items")
#define kPPDKey CFSTR("PPDChoices")
#define kValueKey CFSTR("Value")
#define kClientKey CFSTR("Client")
#define kLockedKey CFSTR("Locked")
#define kOrderKey CFSTR("WriteOrder")

OSStatus status_for_errno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return fnfErr;
    case EACCES:
    case EPERM:
        return permErr;
    case ENOSPC:
    case EDQUOT:
        return dskFulErr;
    case EROFS:
        return wPrErr;
    default:
        return ioErr;
    }
}

// ---- Writing ----

CFDictionaryRef create_item_record(const TicketItem& item, SInt64 order) {
    CFMutableDictionaryRef record = CFDictionaryCreateMutable(
        nullptr, 4, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDictionarySetValue(record, kValueKey, item.value.get());
    if (item.client)
        CFDictionarySetValue(record, kClientKey, item.client.get());
    CFDictionarySetValue(record, kLockedKey, item.locked ? kCFBooleanTrue : kCFBooleanFalse);
    cf::Holder<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberSInt64Type, &order));
    CFDictionarySetValue(record, kOrderKey, number.get());
    return record;
}

// The ticket as a property list; write orders are renumbered from 1 so files stay small.
CFDictionaryRef create_ticket_plist(const Ticket& ticket) {
    std::vector<std::pair<uint64_t, const std::string*>> written;
    for (const auto& [key, item] : ticket.items)
        written.emplace_back(item.order, &key);
    std::sort(written.begin(), written.end());

    cf::Holder<CFMutableDictionaryRef> items(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    SInt64 order = 1;
    for (const auto& [ignored, key] : written) {
        cf::Holder<CFDictionaryRef> record(create_item_record(ticket.items.at(*key), order));
        cf::Holder<CFStringRef> name(create_string(*key));
        CFDictionarySetValue(items.get(), name.get(), record.get());
        ++order;
    }
    CFMutableDictionaryRef plist = CFDictionaryCreateMutable(
        nullptr, 3, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDictionarySetValue(plist, kTypeKey, ticket.type.get());
    CFDictionarySetValue(plist, kItemsKey, items.get());
    CFDictionarySetValue(plist, kPPDKey, ticket.ppd.get());
    return plist;
}

// ---- Reading ----

// The name a property list gives the object's type, for messages.
const char* plist_kind(CFTypeRef value) {
    CFTypeID type = CFGetTypeID(value);
    if (type == CFStringGetTypeID())
        return "a string";
    if (type == CFNumberGetTypeID())
        return CFNumberIsFloatType(static_cast<CFNumberRef>(value)) ? "a real" : "an integer";
    if (type == CFBooleanGetTypeID())
        return "a boolean";
    if (type == CFDictionaryGetTypeID())
        return "a dictionary";
    if (type == CFArrayGetTypeID())
        return "an array";
    if (type == CFDataGetTypeID())
        return "data";
    return "a date";
}

bool is_string(CFTypeRef value) {
    return CFGetTypeID(value) == CFStringGetTypeID();
}

bool is_integer(CFTypeRef value) {
    return CFGetTypeID(value) == CFNumberGetTypeID() &&
           !CFNumberIsFloatType(static_cast<CFNumberRef>(value));
}

bool is_dictionary(CFTypeRef value) {
    return CFGetTypeID(value) == CFDictionaryGetTypeID();
}

std::string wrong_type(const std::string& what, CFTypeRef value, const char* expected) {
    return what + " is " + plist_kind(value) + ", not " + expected;
}

struct LoadedItem {
    uint64_t order = UINT64_MAX; // items without an order go last, by key
    std::string key;
    CFTypeRef value = nullptr;
    CFStringRef client = nullptr;
};

// Checks one record of "Items"; on failure says what is wrong with it.
bool read_item(const std::string& key, CFTypeRef record, LoadedItem& out, std::string& why) {
    std::string what = "the ticket value \"" + key + "\"";
    if (!is_dictionary(record)) {
        why = wrong_type(what, record, "a dictionary");
        return false;
    }
    auto dict = static_cast<CFDictionaryRef>(record);
    CFTypeRef value = CFDictionaryGetValue(dict, kValueKey);
    if (value == nullptr) {
        why = what + " has no Value";
        return false;
    }
    CFTypeRef client = CFDictionaryGetValue(dict, kClientKey);
    CFTypeRef locked = CFDictionaryGetValue(dict, kLockedKey);
    CFTypeRef order = CFDictionaryGetValue(dict, kOrderKey);
    SInt64 position = 0;
    if (client != nullptr && !is_string(client)) {
        why = wrong_type("the client of " + what, client, "a string");
        return false;
    }
    if (locked != nullptr && CFGetTypeID(locked) != CFBooleanGetTypeID()) {
        why = wrong_type("the lock of " + what, locked, "a boolean");
        return false;
    }
    if (order != nullptr &&
        (!is_integer(order) ||
         !CFNumberGetValue(static_cast<CFNumberRef>(order), kCFNumberSInt64Type, &position) ||
         position < 0)) {
        why = wrong_type("the write order of " + what, order, "a positive integer");
        return false;
    }
    out.key = key;
    out.value = value;
    out.client = static_cast<CFStringRef>(client);
    if (order != nullptr)
        out.order = static_cast<uint64_t>(position);
    return true;
}

struct DictionaryEntries {
    std::vector<const void*> keys;
    std::vector<const void*> values;
    explicit DictionaryEntries(CFDictionaryRef dict)
        : keys(static_cast<size_t>(CFDictionaryGetCount(dict))), values(keys.size()) {
        CFDictionaryGetKeysAndValues(dict, keys.data(), values.data());
    }
};

bool read_items(CFDictionaryRef items, std::vector<LoadedItem>& out, std::string& why) {
    DictionaryEntries entries(items);
    for (size_t i = 0; i < entries.keys.size(); ++i) {
        auto key = static_cast<CFStringRef>(entries.keys[i]);
        LoadedItem item;
        if (!read_item(utf8(key), entries.values[i], item, why))
            return false;
        out.push_back(item);
    }
    std::sort(out.begin(), out.end(), [](const LoadedItem& a, const LoadedItem& b) {
        return std::tie(a.order, a.key) < std::tie(b.order, b.key);
    });
    return true;
}

bool read_ppd_choices(CFDictionaryRef choices, CFMutableDictionaryRef into, std::string& why) {
    DictionaryEntries entries(choices);
    for (size_t i = 0; i < entries.keys.size(); ++i) {
        if (!is_string(entries.values[i])) {
            why = wrong_type("the PPD choice of \"" +
                                 utf8(static_cast<CFStringRef>(entries.keys[i])) + "\"",
                             entries.values[i], "a string");
            return false;
        }
        CFDictionarySetValue(into, entries.keys[i], entries.values[i]);
    }
    return true;
}

// Turns the parsed property list into a new ticket, or says why it is not one.
OSStatus ticket_from_plist(CFTypeRef plist, PMTicketRef* out, std::string& why) {
    if (!is_dictionary(plist)) {
        why = wrong_type("the top level", plist, "a dictionary");
        return kPMInvalidPrintSettings;
    }
    auto root = static_cast<CFDictionaryRef>(plist);
    CFTypeRef type = CFDictionaryGetValue(root, kTypeKey);
    CFTypeRef items = CFDictionaryGetValue(root, kItemsKey);
    CFTypeRef ppd = CFDictionaryGetValue(root, kPPDKey);
    if (type == nullptr || !is_string(type)) {
        why =
            type == nullptr ? "there is no TicketType" : wrong_type("TicketType", type, "a string");
        return kPMInvalidPrintSettings;
    }
    for (auto [name, value] : {std::pair{"Items", items}, std::pair{"PPDChoices", ppd}}) {
        if (value != nullptr && !is_dictionary(value)) {
            why = wrong_type(name, value, "a dictionary");
            return kPMInvalidPrintSettings;
        }
    }
    std::vector<LoadedItem> loaded;
    if (items != nullptr && !read_items(static_cast<CFDictionaryRef>(items), loaded, why))
        return kPMInvalidPrintSettings;
    PMTicketRef ref = nullptr;
    OSStatus status = create_ticket(nullptr, static_cast<CFStringRef>(type), &ref);
    if (status != kPMNoError)
        return status;
    Ticket* ticket = ticket_for(ref);
    // Values come back with their clients, not with their locks: a lock kept a value for its
    // client while the dialog that saved it ran; in a new dialog it would only keep the user's
    // own choices out of the ticket.
    for (const LoadedItem& item : loaded)
        set_ticket_item(ticket, item.client, item.key, item.value, false);
    if (ppd != nullptr &&
        !read_ppd_choices(static_cast<CFDictionaryRef>(ppd), ticket->ppd.get(), why)) {
        PMTicketRelease(ref);
        return kPMInvalidPrintSettings;
    }
    *out = ref;
    return kPMNoError;
}

// Print settings are a few kilobytes; anything much larger is not a ticket, and a device or a
// pipe named by mistake would be read without end.
constexpr off_t kMaxTicketFileSize = 1 << 20;

// The whole file, or why it could not be read (and the errno, 0 when it is not a ticket file).
bool read_file(const char* path, std::string& bytes, std::string& why, int& error) {
    error = 0;
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0) {
        error = errno;
        why = std::strerror(error);
    } else if (!S_ISREG(info.st_mode)) {
        why = S_ISDIR(info.st_mode) ? "a folder, not a print settings file"
                                    : "not a regular file, so not a print settings file";
    } else if (info.st_size > kMaxTicketFileSize) {
        why = "larger than 1 MB, so not a print settings file";
    } else {
        char buffer[16384];
        for (;;) {
            ssize_t got = read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                error = errno;
                why = std::strerror(error);
            }
            if (got <= 0 || bytes.size() + static_cast<size_t>(got) > kMaxTicketFileSize)
                break;
            bytes.append(buffer, static_cast<size_t>(got));
        }
    }
    if (fd >= 0)
        close(fd);
    return why.empty();
}

} // namespace
} // namespace pc

OSStatus PlatformTicketWriteToFile(PMTicketRef ticket, const char* path) {
    pc::Ticket* t = pc::ticket_for(ticket);
    if (t == nullptr)
        return kPMInvalidTicket;
    if (path == nullptr || *path == '\0')
        return kPMInvalidParameter;
    cf::Holder<CFDictionaryRef> plist(pc::create_ticket_plist(*t));
    cf::Holder<CFDataRef> data(CFPropertyListCreateXMLData(nullptr, plist.get()));
    if (!data) {
        cf::report_in_file(__func__, path, 0, "the ticket cannot be written as a property list");
        return kPMInvalidTicket;
    }
    int error = PlatformWriteFileAtomically(path, CFDataGetBytePtr(data.get()),
                                            CFDataGetLength(data.get()), 0600);
    if (error != 0) {
        cf::report_in_file(__func__, path, 0, "the ticket cannot be saved: %s",
                           error == ELOOP
                               ? "it is a symbolic link, and the ticket is never written "
                                 "through one"
                               : std::strerror(error));
        return pc::status_for_errno(error);
    }
    return kPMNoError;
}

OSStatus PlatformTicketCreateFromFile(const char* path, PMTicketRef* ticket,
                                      CFStringRef* errorString) {
    if (errorString != nullptr)
        *errorString = nullptr;
    if (ticket == nullptr || path == nullptr)
        return kPMInvalidParameter;
    *ticket = nullptr;
    std::string bytes;
    std::string why;
    OSStatus status = kPMNoError;
    if (int error = 0; !pc::read_file(path, bytes, why, error)) {
        status = error != 0 ? pc::status_for_errno(error) : kPMInvalidPrintSettings;
    } else {
        cf::Holder<CFDataRef> data(CFDataCreate(nullptr,
                                                reinterpret_cast<const UInt8*>(bytes.data()),
                                                static_cast<CFIndex>(bytes.size())));
        CFStringRef parseError = nullptr;
        cf::Holder<CFPropertyListRef> plist(CFPropertyListCreateFromXMLData(
            nullptr, data.get(), kCFPropertyListImmutable, &parseError));
        if (!plist) {
            cf::Holder<CFStringRef> owned(parseError);
            why = parseError != nullptr ? pc::utf8(parseError) : "not a property list";
            status = kPMInvalidPrintSettings;
        } else {
            status = pc::ticket_from_plist(plist.get(), ticket, why);
        }
    }
    if (status != kPMNoError && errorString != nullptr)
        *errorString = pc::create_string(std::string(path) + ": " + why);
    return status;
}

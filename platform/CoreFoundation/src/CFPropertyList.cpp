// The public face of property lists: reading, writing, validity and deep copies.
#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFDate.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFPropertyList.h>
#include <CoreFoundation/CFString.h>
#include <CoreFoundation/CFDiagnostics.h>
#include <CoreFoundation/CFHolder.h>

#include "CFPropertyListInternal.h"
#include "CFValueSupport.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

CFErrorRef make_error(CFAllocatorRef allocator, CFIndex code, const std::string& message) {
    const cf::Holder<CFStringRef> text(cf::make_cfstring(message, allocator));
    const void* keys[] = {kCFErrorDescriptionKey};
    const void* values[] = {text.get()};
    const cf::Holder<CFDictionaryRef> info(CFDictionaryCreate(allocator, keys, values, 1,
                                                              &kCFTypeDictionaryKeyCallBacks,
                                                              &kCFTypeDictionaryValueCallBacks));
    return CFErrorCreate(allocator, kCFErrorDomainCocoa, code, info.get());
}

bool is_leaf_type(CFTypeID type, CFPropertyListFormat format) {
    if (type == CFStringGetTypeID() || type == CFDataGetTypeID())
        return true;
    // The OpenStep format has only strings, data, arrays and dictionaries.
    return format != kCFPropertyListOpenStepFormat &&
           (type == CFNumberGetTypeID() || type == CFBooleanGetTypeID() ||
            type == CFDateGetTypeID());
}

bool is_valid(CFTypeRef object, CFPropertyListFormat format, std::vector<CFTypeRef>* path) {
    if (object == nullptr)
        return false;
    CFTypeID type = CFGetTypeID(object);
    if (is_leaf_type(type, format))
        return true;
    bool is_array = type == CFArrayGetTypeID();
    if (!is_array && type != CFDictionaryGetTypeID())
        return false;
    for (CFTypeRef open : *path)
        if (open == object)
            return false; // contains itself
    path->push_back(object);
    bool valid = true;
    if (is_array) {
        auto array = static_cast<CFArrayRef>(object);
        for (CFIndex i = 0; valid && i < CFArrayGetCount(array); ++i)
            valid = is_valid(CFArrayGetValueAtIndex(array, i), format, path);
    } else {
        auto dict = static_cast<CFDictionaryRef>(object);
        std::vector<const void*> keys(static_cast<size_t>(CFDictionaryGetCount(dict)));
        std::vector<const void*> values(keys.size());
        CFDictionaryGetKeysAndValues(dict, keys.data(), values.data());
        for (size_t i = 0; valid && i < keys.size(); ++i)
            valid =
                CFGetTypeID(keys[i]) == CFStringGetTypeID() && is_valid(values[i], format, path);
    }
    path->pop_back();
    return valid;
}

CFTypeRef deep_copy(CFAllocatorRef allocator, CFTypeRef object, CFOptionFlags mutability) {
    bool containers = mutability != kCFPropertyListImmutable;
    bool leaves = (mutability & kCFPropertyListMutableContainersAndLeaves) != 0;
    CFTypeID type = CFGetTypeID(object);
    if (type == CFStringGetTypeID())
        return leaves ? CFStringCreateMutableCopy(allocator, 0, static_cast<CFStringRef>(object))
                      : CFStringCreateCopy(allocator, static_cast<CFStringRef>(object));
    if (type == CFDataGetTypeID())
        return leaves ? CFDataCreateMutableCopy(allocator, 0, static_cast<CFDataRef>(object))
                      : CFDataCreateCopy(allocator, static_cast<CFDataRef>(object));
    if (type == CFArrayGetTypeID()) {
        auto source = static_cast<CFArrayRef>(object);
        cf::Holder<CFMutableArrayRef> copy(
            CFArrayCreateMutable(allocator, 0, &kCFTypeArrayCallBacks));
        for (CFIndex i = 0; i < CFArrayGetCount(source); ++i) {
            const cf::Holder<CFTypeRef> element(
                deep_copy(allocator, CFArrayGetValueAtIndex(source, i), mutability));
            CFArrayAppendValue(copy.get(), element.get());
        }
        if (containers)
            return copy.release();
        return CFArrayCreateCopy(allocator, copy.get());
    }
    if (type == CFDictionaryGetTypeID()) {
        auto source = static_cast<CFDictionaryRef>(object);
        cf::Holder<CFMutableDictionaryRef> copy(CFDictionaryCreateMutable(
            allocator, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
        std::vector<const void*> keys(static_cast<size_t>(CFDictionaryGetCount(source)));
        std::vector<const void*> values(keys.size());
        CFDictionaryGetKeysAndValues(source, keys.data(), values.data());
        for (size_t i = 0; i < keys.size(); ++i) {
            const cf::Holder<CFStringRef> key(
                CFStringCreateCopy(allocator, static_cast<CFStringRef>(keys[i])));
            const cf::Holder<CFTypeRef> value(deep_copy(allocator, values[i], mutability));
            CFDictionarySetValue(copy.get(), key.get(), value.get());
        }
        if (containers)
            return copy.release();
        return CFDictionaryCreateCopy(allocator, copy.get());
    }
    // Numbers, booleans and dates are immutable: sharing them is a copy.
    return CFRetain(object);
}

bool looks_binary(CFDataRef data) {
    return CFDataGetLength(data) >= 6 && std::memcmp(CFDataGetBytePtr(data), "bplist", 6) == 0;
}

} // namespace

CFPropertyListRef CFPropertyListCreateWithData(CFAllocatorRef allocator, CFDataRef data,
                                               CFOptionFlags options, CFPropertyListFormat* format,
                                               CFErrorRef* error) {
    if (error != nullptr)
        *error = nullptr;
    std::string message;
    CFPropertyListRef plist = nullptr;
    if (!cf::check_type(data, CFDataGetTypeID(), __func__))
        message = "No data";
    else if (looks_binary(data))
        // FIXME: binary property lists are not read; nothing here writes them.
        message = "Binary property lists are not supported";
    else
        plist = cf::plist::read_xml(allocator, data, options, &message);
    if (plist != nullptr) {
        if (format != nullptr)
            *format = kCFPropertyListXMLFormat_v1_0;
        return plist;
    }
    if (error != nullptr)
        *error = make_error(allocator, kCFPropertyListReadCorruptError, message);
    return nullptr;
}

CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef allocator, CFDataRef xmlData,
                                                  CFOptionFlags mutabilityOption,
                                                  CFStringRef* errorString) {
    if (errorString != nullptr)
        *errorString = nullptr;
    std::string message = "No data";
    CFPropertyListRef plist = nullptr;
    if (cf::check_type(xmlData, CFDataGetTypeID(), __func__))
        plist = cf::plist::read_xml(allocator, xmlData, mutabilityOption, &message);
    if (plist == nullptr && errorString != nullptr)
        *errorString = cf::make_cfstring(message, allocator);
    return plist;
}

CFDataRef CFPropertyListCreateData(CFAllocatorRef allocator, CFPropertyListRef propertyList,
                                   CFPropertyListFormat format, CFOptionFlags, CFErrorRef* error) {
    if (error != nullptr)
        *error = nullptr;
    std::string xml, message;
    if (format != kCFPropertyListXMLFormat_v1_0)
        // FIXME: only the XML format is written.
        message = "Only the XML property list format can be written";
    else if (cf::plist::write_xml(propertyList, &xml, &message))
        return CFDataCreate(allocator, reinterpret_cast<const UInt8*>(xml.data()),
                            static_cast<CFIndex>(xml.size()));
    if (error != nullptr)
        *error = make_error(allocator, kCFPropertyListWriteStreamError, message);
    return nullptr;
}

CFDataRef CFPropertyListCreateXMLData(CFAllocatorRef allocator, CFPropertyListRef propertyList) {
    CFErrorRef error = nullptr;
    CFDataRef data =
        CFPropertyListCreateData(allocator, propertyList, kCFPropertyListXMLFormat_v1_0, 0, &error);
    if (const cf::Holder<CFErrorRef> held{error}) {
        // This entry has no way to report why; say it where someone can see it.
        std::string message = cf::describe(error);
        cf::report(__func__, "%s", message.c_str());
    }
    return data;
}

Boolean CFPropertyListIsValid(CFPropertyListRef plist, CFPropertyListFormat format) {
    if (format != kCFPropertyListOpenStepFormat && format != kCFPropertyListXMLFormat_v1_0 &&
        format != kCFPropertyListBinaryFormat_v1_0)
        return false;
    std::vector<CFTypeRef> path;
    return is_valid(plist, format, &path);
}

CFPropertyListRef CFPropertyListCreateDeepCopy(CFAllocatorRef allocator,
                                               CFPropertyListRef propertyList,
                                               CFOptionFlags mutabilityOption) {
    if (!CFPropertyListIsValid(propertyList, kCFPropertyListXMLFormat_v1_0))
        return nullptr;
    return deep_copy(allocator, propertyList, mutabilityOption);
}

// Helpers shared by the value and collection types.
#include "CFValueSupport.h"
#include <CoreFoundation/CFDiagnostics.h>
#include <CoreFoundation/CFHolder.h>

#include <CoreFoundation/CFString.h>

#include <cstdio>

namespace cf {

CFStringRef make_cfstring(std::string_view utf8, CFAllocatorRef allocator) {
    return CFStringCreateWithBytes(allocator, reinterpret_cast<const UInt8*>(utf8.data()),
                                   static_cast<CFIndex>(utf8.size()), kCFStringEncodingUTF8, false);
}

std::string utf8_string(CFStringRef string) {
    if (string == nullptr)
        return {};
    CFIndex length = CFStringGetLength(string);
    CFIndex capacity = CFStringGetMaximumSizeForEncoding(length, kCFStringEncodingUTF8);
    std::string text(static_cast<size_t>(capacity), '\0');
    CFIndex used = 0;
    CFStringGetBytes(string, CFRangeMake(0, length), kCFStringEncodingUTF8, '?', false,
                     reinterpret_cast<UInt8*>(text.data()), capacity, &used);
    text.resize(static_cast<size_t>(used));
    return text;
}

std::string describe(CFTypeRef object) {
    if (object == nullptr)
        return "(null)";
    const Holder<CFStringRef> description(CFCopyDescription(object));
    return utf8_string(description.get());
}

std::string describe_element(const void* value, CFStringRef (*copy_description)(const void*)) {
    if (copy_description == nullptr) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "<%p>", value);
        return buffer;
    }
    const Holder<CFStringRef> description(copy_description(value));
    return utf8_string(description.get());
}

std::string object_tag(CFTypeRef object, const char* class_name) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "<%s %p>", class_name, object);
    return buffer;
}

bool check_range(CFRange range, CFIndex count, const char* function) {
    if (range.location >= 0 && range.length >= 0 && range.location <= count &&
        range.length <= count - range.location)
        return true;
    cf::report(function, "range {%ld, %ld} out of bounds (count %ld)", range.location, range.length,
               count);
    return false;
}

bool check_index(CFIndex index, CFIndex count, const char* function) {
    if (index >= 0 && index < count)
        return true;
    cf::report(function, "index %ld out of bounds (count %ld)", index, count);
    return false;
}

bool check_mutable(bool is_mutable, const char* function) {
    if (!is_mutable)
        cf::report(function, "attempt to change an immutable object");
    return is_mutable;
}

bool check_capacity(CFIndex capacity, CFIndex count, CFIndex extra, const char* function) {
    if (capacity <= 0 || extra <= capacity - count)
        return true;
    cf::report(function, "capacity %ld exceeded", capacity);
    return false;
}

const void* retain_callback(CFAllocatorRef, const void* value) {
    return CFRetain(value);
}
void release_callback(CFAllocatorRef, const void* value) {
    CFRelease(value);
}
CFStringRef copy_description_callback(const void* value) {
    return CFCopyDescription(value);
}
Boolean equal_callback(const void* a, const void* b) {
    return CFEqual(a, b);
}
CFHashCode hash_callback(const void* value) {
    return CFHash(value);
}

} // namespace cf

// Helpers shared by the value and collection types: text for descriptions,
// and the argument checks that stand in for the assertions of a debug build.
#ifndef COREFOUNDATION_CFVALUESUPPORT_H
#define COREFOUNDATION_CFVALUESUPPORT_H

#include <CoreFoundation/CFRuntime.h>

#include <string>
#include <string_view>

namespace cf {

// A new string holding UTF-8 text; the caller releases it.
CFStringRef make_cfstring(std::string_view utf8, CFAllocatorRef allocator = nullptr);
// The text of a string as UTF-8; empty for NULL.
std::string utf8_string(CFStringRef string);
// The description of a CF object as UTF-8 ("(null)" for NULL).
std::string describe(CFTypeRef object);
// A collection element: through its copyDescription callback when there is
// one, else the raw pointer.
std::string describe_element(const void* value, CFStringRef (*copy_description)(const void*));
// "<Name 0xADDRESS>": the start of every description.
std::string object_tag(CFTypeRef object, const char* class_name);

// Each logs one line naming the function and returns false when the check fails.
bool check_range(CFRange range, CFIndex count, const char* function);
bool check_index(CFIndex index, CFIndex count, const char* function);
bool check_mutable(bool is_mutable, const char* function);
// False when adding extra items would pass a non-zero capacity.
bool check_capacity(CFIndex capacity, CFIndex count, CFIndex extra, const char* function);

// The standard callbacks of collections holding CF objects.
const void* retain_callback(CFAllocatorRef allocator, const void* value);
void release_callback(CFAllocatorRef allocator, const void* value);
CFStringRef copy_description_callback(const void* value);
Boolean equal_callback(const void* a, const void* b);
CFHashCode hash_callback(const void* value);

// Mixes a value into a running hash (Boost-style combine, 64-bit).
inline CFHashCode hash_combine(CFHashCode seed, CFHashCode value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

} // namespace cf

#endif // COREFOUNDATION_CFVALUESUPPORT_H

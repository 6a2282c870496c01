// The property-list pieces shared by its files: the XML reader and writer,
// base64, and the type checks.
#ifndef COREFOUNDATION_CFPROPERTYLISTINTERNAL_H
#define COREFOUNDATION_CFPROPERTYLISTINTERNAL_H

#include <CoreFoundation/CFPropertyList.h>

#include <string>
#include <string_view>
#include <vector>

namespace cf::plist {

// The parsed property list, or nullptr with a message naming the line in *error.
CFPropertyListRef read_xml(CFAllocatorRef allocator, CFDataRef data, CFOptionFlags mutability,
                           std::string* error);
// The XML document, or empty with a message in *error.
bool write_xml(CFPropertyListRef plist, std::string* out, std::string* error);

std::string base64_encode(const UInt8* bytes, size_t length);
// Skips whitespace; false on any other character outside the alphabet or bad padding.
bool base64_decode(std::string_view text, std::vector<UInt8>* out);

} // namespace cf::plist

#endif // COREFOUNDATION_CFPROPERTYLISTINTERNAL_H

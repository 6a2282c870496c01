// Text between the host's std::string and Core Foundation strings.
#ifndef HOST_CFTEXT_H
#define HOST_CFTEXT_H

#include <CoreFoundation/CFHolder.h>
#include <CoreFoundation/CoreFoundation.h>

#include <string>

namespace host {

// The UTF-8 text of a string; "" for NULL.
std::string to_utf8(CFStringRef string);
// A new string from UTF-8 text.
cf::Holder<CFStringRef> make_string(const std::string& text);

} // namespace host

#endif

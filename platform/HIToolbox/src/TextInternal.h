// Text helpers shared inside HIToolbox.
#ifndef HITOOLBOX_SRC_TEXTINTERNAL_H
#define HITOOLBOX_SRC_TEXTINTERNAL_H

#include <CoreFoundation/CFBase.h>

#include <string>

namespace hit {

// The string as UTF-8; empty for NULL.
std::string utf8(CFStringRef string);

} // namespace hit

#endif // HITOOLBOX_SRC_TEXTINTERNAL_H

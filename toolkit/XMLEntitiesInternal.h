// The unescaping routine with a choice of how it reads its input, for tests and benchmarks.
#ifndef TOOLKIT_XMLENTITIESINTERNAL_H
#define TOOLKIT_XMLENTITIESINTERNAL_H

#include <CoreFoundation/CoreFoundation.h>

namespace toolkit {

// allowDirect false reads through the window buffer even when the characters are reachable.
CFMutableStringRef unescape_entities(CFAllocatorRef allocator, CFStringRef string,
                                     CFDictionaryRef entities, bool allowDirect);

} // namespace toolkit

#endif

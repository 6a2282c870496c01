/*
 * XMLEntities.h: turning text with XML character and entity references into plain text.
 */
#ifndef TOOLKIT_XMLENTITIES_H
#define TOOLKIT_XMLENTITIES_H

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

/* Replaces "&amp;", "&quot;", "&lt;", "&gt;", "&apos;", decimal ("&#65;") and hexadecimal
   ("&#x41;") references, and the named entities of entities (name without "&" and ";" ->
   replacement; an entry named like a predefined entity overrides it). Never fails on
   malformed input: an unknown named reference is copied unchanged, digits end at the first
   non-digit and what follows up to the ";" is dropped, and the last character of the input
   never starts or continues a reference. Returns a new mutable string, created with
   allocator, that the caller releases. */
CF_EXPORT CFMutableStringRef XMLCreateStringByUnescapingEntities(CFAllocatorRef allocator,
                                                                 CFStringRef string,
                                                                 CFDictionaryRef entities);

CF_EXTERN_C_END

#endif /* TOOLKIT_XMLENTITIES_H */

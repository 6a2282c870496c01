// The string functions that produce or consume arrays and data: splitting,
// joining, external representations, and the preferred languages.
#include "CFStringInternal.h"
#include "CFStringsFile.h"

#include <CoreFoundation/CFLocale.h>

#include <algorithm>
#include <vector>

namespace {

// A new immutable array of new strings, each released once the array holds it.
CFArrayRef make_string_array(CFAllocatorRef alloc, const std::vector<std::u16string>& parts) {
    std::vector<const void*> strings;
    for (const std::u16string& part : parts)
        strings.push_back(cf::make_string(alloc, part));
    CFArrayRef array = CFArrayCreate(alloc, strings.data(), static_cast<CFIndex>(strings.size()),
                                     &kCFTypeArrayCallBacks);
    for (const void* s : strings)
        CFRelease(s);
    return array;
}

} // namespace

CFArrayRef CFStringCreateArrayBySeparatingStrings(CFAllocatorRef alloc, CFStringRef theString,
                                                  CFStringRef separatorString) {
    if (!cf::check_type(theString, cf::string_type_id(), __func__) ||
        !cf::check_type(separatorString, cf::string_type_id(), __func__))
        return nullptr;
    std::u16string_view text = cf::string_view(theString);
    std::u16string_view separator = cf::string_view(separatorString);
    std::vector<std::u16string> parts;
    size_t start = 0;
    while (!separator.empty()) {
        size_t found = text.find(separator, start);
        if (found == std::u16string_view::npos)
            break;
        parts.emplace_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    parts.emplace_back(text.substr(start));
    return make_string_array(alloc, parts);
}

CFStringRef CFStringCreateByCombiningStrings(CFAllocatorRef alloc, CFArrayRef theArray,
                                             CFStringRef separatorString) {
    if (!cf::check_type(theArray, CFArrayGetTypeID(), __func__))
        return nullptr;
    std::u16string_view separator = cf::string_view(separatorString);
    std::u16string out;
    for (CFIndex i = 0, n = CFArrayGetCount(theArray); i < n; ++i) {
        auto item = static_cast<CFStringRef>(CFArrayGetValueAtIndex(theArray, i));
        if (!cf::check_type(item, cf::string_type_id(), __func__))
            return nullptr;
        if (i > 0)
            out += separator;
        out += cf::string_view(item);
    }
    return cf::make_string(alloc, std::move(out));
}

CFDataRef CFStringCreateExternalRepresentation(CFAllocatorRef alloc, CFStringRef theString,
                                               CFStringEncoding encoding, UInt8 lossByte) {
    if (!cf::check_type(theString, cf::string_type_id(), __func__))
        return nullptr;
    CFRange all = CFRangeMake(0, CFStringGetLength(theString));
    CFIndex size = 0;
    CFIndex converted =
        CFStringGetBytes(theString, all, encoding, lossByte, true, nullptr, 0, &size);
    if (converted != all.length)
        return nullptr;
    std::vector<UInt8> bytes(static_cast<size_t>(size));
    CFStringGetBytes(theString, all, encoding, lossByte, true, bytes.data(), size, &size);
    return CFDataCreate(alloc, bytes.data(), size);
}

CFStringRef CFStringCreateFromExternalRepresentation(CFAllocatorRef alloc, CFDataRef data,
                                                     CFStringEncoding encoding) {
    if (!cf::check_type(data, CFDataGetTypeID(), __func__))
        return nullptr;
    return CFStringCreateWithBytes(alloc, CFDataGetBytePtr(data), CFDataGetLength(data), encoding,
                                   true);
}

CFArrayRef CFLocaleCopyPreferredLanguages(void) {
    // The same list that bundles choose their localization from, as BCP 47 tags.
    std::vector<std::u16string> tags;
    for (std::string language : cf::preferred_languages()) {
        for (char& c : language)
            c = c == '_' ? '-' : c;
        std::u16string tag = cf::utf8_to_utf16(language);
        if (std::find(tags.begin(), tags.end(), tag) == tags.end())
            tags.push_back(std::move(tag));
    }
    if (tags.empty())
        tags.push_back(u"en");
    return make_string_array(nullptr, tags);
}

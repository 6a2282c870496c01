// Help pages of the bundle's help book.
#include "HelpHelpers.h"

#include <Help/Help.h>

OSStatus DisplayHelp(CFBundleRef bundle, CFStringRef path, CFStringRef anchor) {
    CFTypeRef book = CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFBundleHelpBookName"));
    if (book == nullptr || CFGetTypeID(book) != CFStringGetTypeID())
        return paramErr;
    auto bookName = static_cast<CFStringRef>(book);
    if (path != nullptr)
        return AHGotoPage(bookName, path, anchor);
    if (anchor != nullptr)
        return AHLookupAnchor(bookName, anchor);
    return AHGotoPage(bookName, nullptr, nullptr);
}

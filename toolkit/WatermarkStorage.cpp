// Watermarks, the watermark list and stored font data in maker data files: each routine reads
// the whole file, changes one key of its root dictionary and writes the file back whole.
#include "WatermarkStorageInternal.h"
#include "PreferenceFiles.h"
#include "PreferenceFilesInternal.h"
#include <CoreFoundation/CFHolder.h>
#include <CoreFoundation/CFDiagnostics.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const CFStringRef kListKey = CFSTR("WatermarkListEntries");

CFMutableDictionaryRef create_empty_root() {
    return CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
}

// Empties the record, its glyphs included.
void clear_record(WatermarkRecord& record) {
    std::free(record.glyphs);
    std::memset(&record, 0, sizeof(record));
}

// Puts the browser's items for the list's elements, each element its own item ID, and asks
// for all their cells.
void show_in_browser(ControlRef browser, CFArrayRef list) {
    std::vector<DataBrowserItemID> items;
    for (CFIndex i = 0; i < CFArrayGetCount(list); ++i)
        items.push_back(reinterpret_cast<DataBrowserItemID>(CFArrayGetValueAtIndex(list, i)));
    if (items.empty())
        return;
    AddDataBrowserItems(browser, kDataBrowserNoItem, items.size(), items.data(),
                        kDataBrowserItemNoProperty);
    UpdateDataBrowserItems(browser, kDataBrowserNoItem, items.size(), items.data(),
                           kDataBrowserItemNoProperty, kDataBrowserItemNoProperty);
}

// Sets (or, with NULL, removes) the key and writes the file back; false when nothing was
// written. A missing file is created only when create is true.
bool change_key(CFStringRef fileName, CFStringRef key, CFTypeRef value, bool create,
                SInt32* error) {
    *error = 0;
    cf::Holder<CFMutableDictionaryRef> root(toolkit::copy_maker_root(fileName, create));
    if (!root || key == nullptr)
        return false;
    if (value != nullptr)
        CFDictionarySetValue(root.get(), key, value);
    else
        CFDictionaryRemoveValue(root.get(), key);
    return toolkit::write_maker_root(fileName, root.get(), error);
}

} // namespace

namespace toolkit {

CFMutableDictionaryRef copy_maker_root(CFStringRef fileName, bool startAfresh) {
    cf::Holder<CFPropertyListRef> root(fileName != nullptr ? CopyXMLData(fileName) : nullptr);
    if (root && CFGetTypeID(root.get()) == CFDictionaryGetTypeID())
        return static_cast<CFMutableDictionaryRef>(const_cast<void*>(root.release()));
    if (root) {
        cf::Holder<CFURLRef> url(CopyPreferenceFileURL(fileName));
        if (url)
            keep_damaged_file("CopyXMLData", url.get(), CFSTR("the root is not a dictionary"));
    }
    return startAfresh && fileName != nullptr ? create_empty_root() : nullptr;
}

bool write_maker_root(CFStringRef fileName, CFDictionaryRef root, SInt32* error) {
    *error = 0;
    cf::Holder<CFURLRef> url(CopyPreferenceFileURL(fileName));
    return url && write_property_list_file(url.get(), root, error);
}

} // namespace toolkit

Boolean loadWatermarkList(CFStringRef fileName, ControlRef browser, CFArrayRef* outList) {
    if (fileName == nullptr || outList == nullptr)
        return false;
    cf::Holder<CFMutableDictionaryRef> root(toolkit::copy_maker_root(fileName, false));
    if (!root)
        return false;
    CFTypeRef list = CFDictionaryGetValue(root.get(), kListKey);
    if (list == nullptr || CFGetTypeID(list) != CFArrayGetTypeID()) {
        *outList = nullptr;
        return false;
    }
    *outList = static_cast<CFArrayRef>(CFRetain(list));
    if (browser != nullptr)
        show_in_browser(browser, *outList);
    return true;
}

void saveWatermarkList(CFStringRef fileName, CFArrayRef list) {
    SInt32 error = 0;
    if (fileName != nullptr && list != nullptr)
        change_key(fileName, kListKey, list, true, &error);
}

Boolean loadWatermarkData(CFStringRef fileName, CFStringRef key, WatermarkRecord* record) {
    if (record == nullptr)
        return false;
    cf::Holder<CFMutableDictionaryRef> root(toolkit::copy_maker_root(fileName, false));
    CFTypeRef entry = root && key != nullptr ? CFDictionaryGetValue(root.get(), key) : nullptr;
    if (entry == nullptr || CFGetTypeID(entry) != CFDictionaryGetTypeID()) {
        clear_record(*record);
        return false;
    }
    toolkit::fill_watermark_record(static_cast<CFDictionaryRef>(entry), *record);
    return true;
}

void saveWatermarkData(CFStringRef fileName, const WatermarkRecord* record) {
    if (fileName == nullptr || record == nullptr)
        return;
    cf::Holder<CFStringRef> key(toolkit::create_watermark_key(*record));
    cf::Holder<CFMutableDictionaryRef> entry(toolkit::create_watermark_entry(*record));
    SInt32 error = 0;
    if (key && !change_key(fileName, key.get(), entry.get(), true, &error))
        cf::report("saveWatermarkData", "Error %ld writing data to file", static_cast<long>(error));
}

void removeWatermarkData(CFStringRef fileName, CFStringRef key) {
    SInt32 error = 0;
    change_key(fileName, key, nullptr, false, &error);
}

void loadFontData(CFStringRef fileName, CFStringRef key, CFMutableDataRef buffer) {
    if (key == nullptr || buffer == nullptr)
        return;
    cf::Holder<CFMutableDictionaryRef> root(toolkit::copy_maker_root(fileName, false));
    CFTypeRef data = root ? CFDictionaryGetValue(root.get(), key) : nullptr;
    if (data != nullptr && CFGetTypeID(data) == CFDataGetTypeID())
        CFDataAppendBytes(buffer, CFDataGetBytePtr(static_cast<CFDataRef>(data)),
                          CFDataGetLength(static_cast<CFDataRef>(data)));
}

void storeFontData(CFStringRef fileName, CFStringRef key, CFDataRef data) {
    SInt32 error = 0;
    if (data != nullptr)
        change_key(fileName, key, data, true, &error);
}

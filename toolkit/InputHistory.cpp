// The input history: values the user typed before, remembered per field in the user's
// preference file and offered again in popups after a table's own choices.
#include "PreferenceFiles.h"
#include "PreferenceFilesInternal.h"
#include "SettingMapsInternal.h"
#include <CoreFoundation/CFHolder.h>

namespace {

bool is_string(CFTypeRef value) {
    return value != nullptr && CFGetTypeID(value) == CFStringGetTypeID();
}

// The history's root, ready to be changed; NULL without a Preferences folder. A root that is
// not a dictionary is kept aside like any damaged file, so that the save starts afresh.
CFMutableDictionaryRef copy_history_root() {
    cf::Holder<CFPropertyListRef> root(CopyUserPreferences(kInputHistoryFileName));
    if (!root || CFGetTypeID(root.get()) == CFDictionaryGetTypeID())
        return static_cast<CFMutableDictionaryRef>(const_cast<void*>(root.release()));
    cf::Holder<CFURLRef> url(toolkit::copy_user_preference_url(kInputHistoryFileName));
    if (url)
        toolkit::keep_damaged_file("CopyUserPreferences", url.get(),
                                   CFSTR("the root is not a dictionary"));
    return CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
}

// The entries under the key with entry first, without an equal older one, and at most
// kInputHistoryMaxEntries long. Anything that is not a string is dropped on the way.
CFMutableArrayRef create_updated_entries(CFTypeRef old, CFStringRef entry) {
    CFMutableArrayRef entries = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    CFArrayAppendValue(entries, entry);
    if (old == nullptr || CFGetTypeID(old) != CFArrayGetTypeID())
        return entries;
    auto oldEntries = static_cast<CFArrayRef>(old);
    for (CFIndex i = 0; i < CFArrayGetCount(oldEntries); ++i) {
        if (CFArrayGetCount(entries) >= kInputHistoryMaxEntries)
            break;
        CFTypeRef value = CFArrayGetValueAtIndex(oldEntries, i);
        if (is_string(value) && !CFEqual(value, entry))
            CFArrayAppendValue(entries, value);
    }
    return entries;
}

// Inserts the entries under historyKey as one block after item insertAfter; returns how many.
UInt16 insert_history(MenuRef menu, CFStringRef historyKey, SInt32 insertAfter,
                      MenuCommand commandID) {
    cf::Holder<CFPropertyListRef> root(CopyUserPreferences(kInputHistoryFileName));
    if (!root || CFGetTypeID(root.get()) != CFDictionaryGetTypeID())
        return 0;
    CFTypeRef entries = CFDictionaryGetValue(static_cast<CFDictionaryRef>(root.get()), historyKey);
    if (entries == nullptr || CFGetTypeID(entries) != CFArrayGetTypeID())
        return 0;
    auto history = static_cast<CFArrayRef>(entries);
    UInt16 inserted = 0;
    for (CFIndex i = 0; i < CFArrayGetCount(history); ++i) {
        CFTypeRef text = CFArrayGetValueAtIndex(history, i);
        // Whatever else a hand-edited file holds is not a menu item.
        if (!is_string(text))
            continue;
        auto after = static_cast<MenuItemIndex>(insertAfter + inserted);
        if (InsertMenuItemTextWithCFString(menu, static_cast<CFStringRef>(text), after, 0,
                                           commandID) == noErr)
            ++inserted;
    }
    return inserted;
}

} // namespace

Boolean AddInputHistoryEntry(CFStringRef historyKey, CFStringRef entry) {
    if (!is_string(historyKey) || !is_string(entry) || CFStringGetLength(entry) == 0)
        return false;
    cf::Holder<CFMutableDictionaryRef> root(copy_history_root());
    if (!root)
        return false;
    cf::Holder<CFMutableArrayRef> entries(
        create_updated_entries(CFDictionaryGetValue(root.get(), historyKey), entry));
    CFDictionarySetValue(root.get(), historyKey, entries.get());
    return WriteUserPreferences(kInputHistoryFileName, root.get());
}

UInt16 PopulatePopupButtonFromMapAndHistory(CFBundleRef bundle, ControlRef popup,
                                            const SettingMap* map, JobContext jobContext,
                                            CFStringRef historyKey, SInt32 insertAfter,
                                            UInt32 historyCommandID, UInt32 mapCommandID) {
    MenuRef menu = toolkit::popup_menu(popup);
    if (menu == nullptr)
        return 0;
    DeleteMenuItems(menu, 1, CountMenuItems(menu));
    UInt16 count = PopulateMenuFromMap(bundle, menu, map, jobContext, mapCommandID);
    if (historyKey != nullptr)
        count += insert_history(menu, historyKey, insertAfter, historyCommandID);
    SetControl32BitMaximum(popup, count);
    return count;
}

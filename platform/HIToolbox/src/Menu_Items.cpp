// Menu items: adding, removing and counting them, and their text, command
// IDs, reference constants, attributes and enabling.
#include "MenuInternal.h"

#include <CoreFoundation/CFString.h>

#include <algorithm>
#include <limits>

namespace {

// Menus number their items with 16 bits.
constexpr size_t kMaxItems = std::numeric_limits<MenuItemIndex>::max();

// A new item titled with a copy of `text` (so a mutable string changed later
// by its owner does not change the item).
OSStatus make_item(CFStringRef text, MenuItemAttributes attributes, MenuCommand command,
                   hit::MenuItem& out) {
    if (!cf::check_type(text, CFStringGetTypeID(), "menu item text"))
        return paramErr;
    CFStringRef copy = CFStringCreateCopy(nullptr, text);
    if (copy == nullptr)
        return memFullErr;
    out.text.reset(copy);
    out.attributes = attributes;
    out.command = command;
    return noErr;
}

OSStatus insert_item(MenuRef inMenu, CFStringRef text, size_t position,
                     MenuItemAttributes attributes, MenuCommand command, const char* function) {
    OpaqueMenuRef* menu = hit::live_menu(inMenu, function);
    if (menu == nullptr)
        return paramErr;
    if (menu->items.size() >= kMaxItems)
        return memFullErr;
    hit::MenuItem item;
    OSStatus status = make_item(text, attributes, command, item);
    if (status != noErr)
        return status;
    position = std::min(position, menu->items.size());
    menu->items.insert(menu->items.begin() + static_cast<std::ptrdiff_t>(position),
                       std::move(item));
    return noErr;
}

} // namespace

namespace hit {

MenuItem* menu_item(MenuRef menu, MenuItemIndex index) {
    if (index < 1 || index > menu->items.size())
        return nullptr;
    return &menu->items[index - 1];
}

} // namespace hit

OSStatus AppendMenuItemTextWithCFString(MenuRef inMenu, CFStringRef inString,
                                        MenuItemAttributes inAttributes, MenuCommand inCommandID,
                                        MenuItemIndex* outNewItem) {
    OSStatus status = insert_item(inMenu, inString, kMaxItems, inAttributes, inCommandID, __func__);
    if (status == noErr && outNewItem != nullptr)
        *outNewItem = static_cast<MenuItemIndex>(inMenu->items.size());
    return status;
}

OSStatus InsertMenuItemTextWithCFString(MenuRef inMenu, CFStringRef inString,
                                        MenuItemIndex inAfterItem, MenuItemAttributes inAttributes,
                                        MenuCommand inCommandID) {
    return insert_item(inMenu, inString, inAfterItem, inAttributes, inCommandID, __func__);
}

void DeleteMenuItem(MenuRef theMenu, MenuItemIndex item) {
    OpaqueMenuRef* menu = hit::live_menu(theMenu, __func__);
    if (menu == nullptr || hit::menu_item(menu, item) == nullptr)
        return;
    menu->items.erase(menu->items.begin() + (item - 1));
}

OSStatus DeleteMenuItems(MenuRef inMenu, MenuItemIndex inFirstItem, ItemCount inNumItems) {
    OpaqueMenuRef* menu = hit::live_menu(inMenu, __func__);
    if (menu == nullptr)
        return paramErr;
    if (inNumItems == 0)
        return noErr;
    if (hit::menu_item(menu, inFirstItem) == nullptr)
        return menuItemNotFoundErr;
    const size_t first = inFirstItem - 1u;
    const size_t count = std::min<size_t>(inNumItems, menu->items.size() - first);
    auto begin = menu->items.begin() + static_cast<std::ptrdiff_t>(first);
    menu->items.erase(begin, begin + static_cast<std::ptrdiff_t>(count));
    return noErr;
}

UInt16 CountMenuItems(MenuRef theMenu) {
    OpaqueMenuRef* menu = hit::live_menu(theMenu, __func__);
    return menu != nullptr ? static_cast<UInt16>(menu->items.size()) : 0;
}

OSStatus SetMenuItemTextWithCFString(MenuRef inMenu, MenuItemIndex inItem, CFStringRef inString) {
    OpaqueMenuRef* menu = hit::live_menu(inMenu, __func__);
    if (menu == nullptr)
        return paramErr;
    hit::MenuItem* item = hit::menu_item(menu, inItem);
    if (item == nullptr)
        return menuItemNotFoundErr;
    if (!cf::check_type(inString, CFStringGetTypeID(), __func__))
        return paramErr;
    CFStringRef copy = CFStringCreateCopy(nullptr, inString);
    if (copy == nullptr)
        return memFullErr;
    item->text.reset(copy);
    return noErr;
}

OSStatus CopyMenuItemTextAsCFString(MenuRef inMenu, MenuItemIndex inItem, CFStringRef* outString) {
    OpaqueMenuRef* menu = hit::live_menu(inMenu, __func__);
    if (menu == nullptr || outString == nullptr)
        return paramErr;
    hit::MenuItem* item = hit::menu_item(menu, inItem);
    if (item == nullptr)
        return menuItemNotFoundErr;
    *outString = static_cast<CFStringRef>(CFRetain(item->text.get()));
    return noErr;
}

OSStatus SetMenuItemRefCon(MenuRef inMenu, MenuItemIndex inItem, URefCon inRefCon) {
    OpaqueMenuRef* menu = hit::live_menu(inMenu, __func__);
    if (menu == nullptr)
        return paramErr;
    if (inItem == 0) {
        menu->refcon = inRefCon;
        return noErr;
    }
    hit::MenuItem* item = hit::menu_item(menu, inItem);
    if (item == nullptr)
        return menuItemNotFoundErr;
    item->refcon = inRefCon;
    return noErr;
}

OSStatus GetMenuItemRefCon(MenuRef inMenu, MenuItemIndex inItem, URefCon* outRefCon) {
    OpaqueMenuRef* menu = hit::live_menu(inMenu, __func__);
    if (menu == nullptr || outRefCon == nullptr)
        return paramErr;
    if (inItem == 0) {
        *outRefCon = menu->refcon;
        return noErr;
    }
    hit::MenuItem* item = hit::menu_item(menu, inItem);
    if (item == nullptr)
        return menuItemNotFoundErr;
    *outRefCon = item->refcon;
    return noErr;
}

OSErr SetMenuItemCommandID(MenuRef inMenu, MenuItemIndex inItem, MenuCommand inCommandID) {
    OpaqueMenuRef* menu = hit::live_menu(inMenu, __func__);
    if (menu == nullptr)
        return paramErr;
    hit::MenuItem* item = hit::menu_item(menu, inItem);
    if (item == nullptr)
        return menuItemNotFoundErr;
    item->command = inCommandID;
    return noErr;
}

OSErr GetMenuItemCommandID(MenuRef inMenu, MenuItemIndex inItem, MenuCommand* outCommandID) {
    OpaqueMenuRef* menu = hit::live_menu(inMenu, __func__);
    if (menu == nullptr || outCommandID == nullptr)
        return paramErr;
    hit::MenuItem* item = hit::menu_item(menu, inItem);
    if (item == nullptr)
        return menuItemNotFoundErr;
    *outCommandID = item->command;
    return noErr;
}

OSStatus GetIndMenuItemWithCommandID(MenuRef inMenu, MenuCommand inCommandID, UInt32 inItemIndex,
                                     MenuRef* outMenu, MenuItemIndex* outIndex) {
    OpaqueMenuRef* menu = hit::live_menu(inMenu, __func__);
    if (menu == nullptr || inItemIndex < 1)
        return paramErr;
    UInt32 seen = 0;
    for (size_t i = 0; i < menu->items.size(); ++i) {
        if (menu->items[i].command != inCommandID || ++seen < inItemIndex)
            continue;
        if (outMenu != nullptr)
            *outMenu = menu;
        if (outIndex != nullptr)
            *outIndex = static_cast<MenuItemIndex>(i + 1);
        return noErr;
    }
    return menuItemNotFoundErr;
}

OSStatus ChangeMenuItemAttributes(MenuRef inMenu, MenuItemIndex inItem,
                                  MenuItemAttributes inSetTheseAttributes,
                                  MenuItemAttributes inClearTheseAttributes) {
    OpaqueMenuRef* menu = hit::live_menu(inMenu, __func__);
    if (menu == nullptr)
        return paramErr;
    hit::MenuItem* item = hit::menu_item(menu, inItem);
    if (item == nullptr)
        return menuItemNotFoundErr;
    item->attributes = (item->attributes | inSetTheseAttributes) & ~inClearTheseAttributes;
    return noErr;
}

OSStatus GetMenuItemAttributes(MenuRef inMenu, MenuItemIndex inItem,
                               MenuItemAttributes* outAttributes) {
    OpaqueMenuRef* menu = hit::live_menu(inMenu, __func__);
    if (menu == nullptr || outAttributes == nullptr)
        return paramErr;
    hit::MenuItem* item = hit::menu_item(menu, inItem);
    if (item == nullptr)
        return menuItemNotFoundErr;
    *outAttributes = item->attributes;
    return noErr;
}

void EnableMenuItem(MenuRef theMenu, MenuItemIndex item) {
    OpaqueMenuRef* menu = hit::live_menu(theMenu, __func__);
    if (menu == nullptr)
        return;
    if (item == 0)
        menu->enabled = true;
    else if (hit::MenuItem* entry = hit::menu_item(menu, item))
        entry->attributes &= ~static_cast<MenuItemAttributes>(kMenuItemAttrDisabled);
}

void DisableMenuItem(MenuRef theMenu, MenuItemIndex item) {
    OpaqueMenuRef* menu = hit::live_menu(theMenu, __func__);
    if (menu == nullptr)
        return;
    if (item == 0)
        menu->enabled = false;
    else if (hit::MenuItem* entry = hit::menu_item(menu, item))
        entry->attributes |= kMenuItemAttrDisabled;
}

Boolean IsMenuItemEnabled(MenuRef inMenu, MenuItemIndex inItem) {
    OpaqueMenuRef* menu = hit::live_menu(inMenu, __func__);
    if (menu == nullptr || !menu->enabled)
        return false;
    if (inItem == 0)
        return true;
    hit::MenuItem* item = hit::menu_item(menu, inItem);
    return item != nullptr && (item->attributes & kMenuItemAttrDisabled) == 0;
}

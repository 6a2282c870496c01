// Internals of the Menu Manager shared inside HIToolbox: the menu object
// and its items.
#ifndef HITOOLBOX_SRC_MENUINTERNAL_H
#define HITOOLBOX_SRC_MENUINTERNAL_H

#include <HIToolbox/Menus.h>

#include <CoreFoundation/CFHolder.h>
#include "EventInternal.h"

#include <vector>

namespace hit {

struct MenuItem {
    cf::Holder<CFStringRef> text;
    MenuItemAttributes attributes = 0; // kMenuItemAttrDisabled is the item's enabling
    MenuCommand command = 0;
    URefCon refcon = 0;
};

} // namespace hit

struct OpaqueMenuRef : cf::Object {
    MenuID id = 0;
    MenuAttributes attributes = 0;
    EventTargetRef target = nullptr;
    cf::Holder<CFStringRef> title;
    URefCon refcon = 0; // item 0's
    bool enabled = true;
    std::vector<hit::MenuItem> items;
};

namespace hit {

CFTypeID menu_type_id();
// The menu when it is one (a wrong type is reported); otherwise nullptr.
OpaqueMenuRef* live_menu(MenuRef menu, const char* function);
// The item numbered `index` (from 1), or nullptr.
MenuItem* menu_item(MenuRef menu, MenuItemIndex index);

} // namespace hit

#endif // HITOOLBOX_SRC_MENUINTERNAL_H

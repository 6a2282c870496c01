// Menus as objects: identity, reference counting and the event target.
// FIXME: items (titles, command IDs, enabling) arrive with the menu manager
// proper; until then a menu holds no items.
#include "EventInternal.h"

#include <HIToolbox/Menus.h>

struct OpaqueMenuRef : cf::Object {
    MenuID id = 0;
    MenuAttributes attributes = 0;
    EventTargetRef target = nullptr;
};

namespace {

void finalize_menu(CFTypeRef object) {
    auto* menu = static_cast<OpaqueMenuRef*>(const_cast<void*>(object));
    hit::dispose_target(menu->target);
    cf::destroy<OpaqueMenuRef>(object);
}

const cf::ClassDescriptor kMenuClass = {"MenuRef", finalize_menu, nullptr, nullptr, nullptr};

CFTypeID menu_type_id() {
    static CFTypeID id = cf::register_class(&kMenuClass);
    return id;
}

// A menu's events go on to the application.
EventTargetRef menu_parent(void*) {
    return GetApplicationEventTarget();
}

} // namespace

OSStatus CreateNewMenu(MenuID inMenuID, MenuAttributes inMenuAttributes, MenuRef* outMenuRef) {
    if (outMenuRef == nullptr)
        return paramErr;
    auto* menu = cf::create<OpaqueMenuRef>(nullptr, menu_type_id());
    if (menu == nullptr)
        return memFullErr;
    menu->id = inMenuID;
    menu->attributes = inMenuAttributes;
    menu->target = hit::create_target(hit::TargetKind::menu, menu, menu_parent);
    *outMenuRef = menu;
    return noErr;
}

OSStatus RetainMenu(MenuRef inMenu) {
    if (!cf::check_type(inMenu, menu_type_id(), __func__))
        return paramErr;
    CFRetain(inMenu);
    return noErr;
}

OSStatus ReleaseMenu(MenuRef inMenu) {
    if (!cf::check_type(inMenu, menu_type_id(), __func__))
        return paramErr;
    CFRelease(inMenu);
    return noErr;
}

void DisposeMenu(MenuRef theMenu) {
    ReleaseMenu(theMenu);
}

ItemCount GetMenuRetainCount(MenuRef inMenu) {
    if (!cf::check_type(inMenu, menu_type_id(), __func__))
        return 0;
    return static_cast<ItemCount>(CFGetRetainCount(inMenu));
}

MenuID GetMenuID(MenuRef menu) {
    return cf::check_type(menu, menu_type_id(), __func__) ? menu->id : 0;
}

EventTargetRef GetMenuEventTarget(MenuRef inMenu) {
    return cf::check_type(inMenu, menu_type_id(), __func__) ? inMenu->target : nullptr;
}

// Menus as objects: identity, title, reference counting and the event
// target. Their items are in Menu_Items.cpp.
#include "MenuInternal.h"

#include <CoreFoundation/CFString.h>

namespace {

void finalize_menu(CFTypeRef object) {
    auto* menu = static_cast<OpaqueMenuRef*>(const_cast<void*>(object));
    hit::dispose_target(menu->target);
    cf::destroy<OpaqueMenuRef>(object);
}

const cf::ClassDescriptor kMenuClass = {"MenuRef", finalize_menu, nullptr, nullptr, nullptr};

// A menu's events go on to the application.
EventTargetRef menu_parent(void*) {
    return GetApplicationEventTarget();
}

} // namespace

namespace hit {

CFTypeID menu_type_id() {
    static CFTypeID id = cf::register_class(&kMenuClass);
    return id;
}

OpaqueMenuRef* live_menu(MenuRef menu, const char* function) {
    return cf::check_type(menu, menu_type_id(), function) ? menu : nullptr;
}

} // namespace hit

OSStatus CreateNewMenu(MenuID inMenuID, MenuAttributes inMenuAttributes, MenuRef* outMenuRef) {
    if (outMenuRef == nullptr)
        return paramErr;
    auto* menu = cf::create<OpaqueMenuRef>(nullptr, hit::menu_type_id());
    if (menu == nullptr)
        return memFullErr;
    menu->id = inMenuID;
    menu->attributes = inMenuAttributes;
    menu->target = hit::create_target(hit::TargetKind::menu, menu, menu_parent);
    *outMenuRef = menu;
    return noErr;
}

OSStatus RetainMenu(MenuRef inMenu) {
    if (hit::live_menu(inMenu, __func__) == nullptr)
        return paramErr;
    CFRetain(inMenu);
    return noErr;
}

OSStatus ReleaseMenu(MenuRef inMenu) {
    if (hit::live_menu(inMenu, __func__) == nullptr)
        return paramErr;
    CFRelease(inMenu);
    return noErr;
}

void DisposeMenu(MenuRef theMenu) {
    ReleaseMenu(theMenu);
}

ItemCount GetMenuRetainCount(MenuRef inMenu) {
    if (hit::live_menu(inMenu, __func__) == nullptr)
        return 0;
    return static_cast<ItemCount>(CFGetRetainCount(inMenu));
}

MenuID GetMenuID(MenuRef menu) {
    OpaqueMenuRef* m = hit::live_menu(menu, __func__);
    return m != nullptr ? m->id : 0;
}

void SetMenuID(MenuRef menu, MenuID menuID) {
    if (OpaqueMenuRef* m = hit::live_menu(menu, __func__))
        m->id = menuID;
}

EventTargetRef GetMenuEventTarget(MenuRef inMenu) {
    OpaqueMenuRef* m = hit::live_menu(inMenu, __func__);
    return m != nullptr ? m->target : nullptr;
}

OSStatus SetMenuTitleWithCFString(MenuRef inMenu, CFStringRef inString) {
    OpaqueMenuRef* m = hit::live_menu(inMenu, __func__);
    if (m == nullptr || !cf::check_type(inString, CFStringGetTypeID(), __func__))
        return paramErr;
    CFStringRef copy = CFStringCreateCopy(nullptr, inString);
    if (copy == nullptr)
        return memFullErr;
    m->title.reset(copy);
    return noErr;
}

OSStatus CopyMenuTitleAsCFString(MenuRef inMenu, CFStringRef* outString) {
    OpaqueMenuRef* m = hit::live_menu(inMenu, __func__);
    if (m == nullptr || outString == nullptr)
        return paramErr;
    *outString = m->title ? static_cast<CFStringRef>(CFRetain(m->title.get()))
                          : CFStringCreateWithCString(nullptr, "", kCFStringEncodingUTF8);
    return *outString != nullptr ? noErr : memFullErr;
}

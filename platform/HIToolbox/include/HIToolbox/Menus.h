/*
 * Menus.h: menus as reference-counted objects with an event target. Items
 * arrive with the menu manager proper.
 */
#ifndef HITOOLBOX_MENUS_H
#define HITOOLBOX_MENUS_H

#include <HIToolbox/CarbonEvents.h>

CF_EXTERN_C_BEGIN

/* A new, empty menu with a retain count of 1 (release with ReleaseMenu or DisposeMenu). */
CF_EXPORT OSStatus CreateNewMenu(MenuID inMenuID, MenuAttributes inMenuAttributes,
                                 MenuRef* outMenuRef);
CF_EXPORT OSStatus RetainMenu(MenuRef inMenu);
CF_EXPORT OSStatus ReleaseMenu(MenuRef inMenu);
CF_EXPORT void DisposeMenu(MenuRef theMenu);
CF_EXPORT ItemCount GetMenuRetainCount(MenuRef inMenu);
CF_EXPORT MenuID GetMenuID(MenuRef menu);

CF_EXTERN_C_END

#endif /* HITOOLBOX_MENUS_H */

/*
 * Menus.h: menus as reference-counted objects with an event target, and
 * their items. Items are numbered from 1; item 0 stands for the menu itself
 * where a call says so (reference constant, enabling).
 */
#ifndef HITOOLBOX_MENUS_H
#define HITOOLBOX_MENUS_H

#include <HIToolbox/CarbonEvents.h>

CF_EXTERN_C_BEGIN

/* Menu Manager statuses. */
enum {
    menuPropertyInvalidErr = -5603,
    menuPropertyNotFoundErr = -5604,
    menuNotFoundErr = -5620,
    menuUsesSystemDefErr = -5621,
    menuItemNotFoundErr = -5622,
    menuInvalidErr = -5623
};

/* Menu attributes (CreateNewMenu). */
enum {
    kMenuAttrExcludesMarkColumn = (1 << 0),
    kMenuAttrAutoDisable = (1 << 2),
    kMenuAttrUsePencilGlyph = (1 << 3),
    kMenuAttrHidden = (1 << 4)
};

/* Item attributes. */
typedef UInt32 MenuItemAttributes;
enum {
    kMenuItemAttrDisabled = (1 << 0),
    kMenuItemAttrIconDisabled = (1 << 1),
    kMenuItemAttrSubmenuParentChoosable = (1 << 2),
    kMenuItemAttrDynamic = (1 << 3),
    kMenuItemAttrNotPreviousAlternate = (1 << 4),
    kMenuItemAttrHidden = (1 << 5),
    kMenuItemAttrSeparator = (1 << 6),
    kMenuItemAttrSectionHeader = (1 << 7),
    kMenuItemAttrIgnoreMeta = (1 << 8),
    kMenuItemAttrAutoRepeat = (1 << 9),
    kMenuItemAttrUseVirtualKey = (1 << 10),
    kMenuItemAttrCustomDraw = (1 << 11),
    kMenuItemAttrIncludeInCmdKeyMatching = (1 << 12),
    kMenuItemAttrAutoDisable = (1 << 13),
    kMenuItemAttrUpdateSingleItem = (1 << 14)
};

/* ---- Menus ------------------------------------------------------------- */

/* A new, empty menu with a retain count of 1 (release with ReleaseMenu or DisposeMenu). */
CF_EXPORT OSStatus CreateNewMenu(MenuID inMenuID, MenuAttributes inMenuAttributes,
                                 MenuRef* outMenuRef);
CF_EXPORT OSStatus RetainMenu(MenuRef inMenu);
CF_EXPORT OSStatus ReleaseMenu(MenuRef inMenu);
CF_EXPORT void DisposeMenu(MenuRef theMenu);
CF_EXPORT ItemCount GetMenuRetainCount(MenuRef inMenu);
CF_EXPORT MenuID GetMenuID(MenuRef menu);
CF_EXPORT void SetMenuID(MenuRef menu, MenuID menuID);

/* The menu keeps a copy of the title; Copy hands the caller a reference
   (an empty string when none was set). */
CF_EXPORT OSStatus SetMenuTitleWithCFString(MenuRef inMenu, CFStringRef inString);
CF_EXPORT OSStatus CopyMenuTitleAsCFString(MenuRef inMenu, CFStringRef* outString);

/* ---- Items ------------------------------------------------------------- */

/*
 * Adds an item titled inString (copied as it is: no metacharacters) after
 * the last one; outNewItem (may be NULL) receives its number. A disabled
 * attribute makes a disabled item. paramErr for a NULL string.
 */
CF_EXPORT OSStatus AppendMenuItemTextWithCFString(MenuRef inMenu, CFStringRef inString,
                                                  MenuItemAttributes inAttributes,
                                                  MenuCommand inCommandID,
                                                  MenuItemIndex* outNewItem);
/* The same after item inAfterItem (0: at the top; past the end: at the end). */
CF_EXPORT OSStatus InsertMenuItemTextWithCFString(MenuRef inMenu, CFStringRef inString,
                                                  MenuItemIndex inAfterItem,
                                                  MenuItemAttributes inAttributes,
                                                  MenuCommand inCommandID);
/* Numbers outside the menu are ignored (DeleteMenuItems: menuItemNotFoundErr
   when the first one is outside; a run past the end stops there). */
CF_EXPORT void DeleteMenuItem(MenuRef theMenu, MenuItemIndex item);
CF_EXPORT OSStatus DeleteMenuItems(MenuRef inMenu, MenuItemIndex inFirstItem, ItemCount inNumItems);
CF_EXPORT UInt16 CountMenuItems(MenuRef theMenu);

/* Item text; menuItemNotFoundErr for a number outside 1..count. */
CF_EXPORT OSStatus SetMenuItemTextWithCFString(MenuRef inMenu, MenuItemIndex inItem,
                                               CFStringRef inString);
CF_EXPORT OSStatus CopyMenuItemTextAsCFString(MenuRef inMenu, MenuItemIndex inItem,
                                              CFStringRef* outString);

/* A pointer-sized value kept for the caller; item 0 is the menu's own. */
CF_EXPORT OSStatus SetMenuItemRefCon(MenuRef inMenu, MenuItemIndex inItem, URefCon inRefCon);
CF_EXPORT OSStatus GetMenuItemRefCon(MenuRef inMenu, MenuItemIndex inItem, URefCon* outRefCon);

CF_EXPORT OSErr SetMenuItemCommandID(MenuRef inMenu, MenuItemIndex inItem, MenuCommand inCommandID);
CF_EXPORT OSErr GetMenuItemCommandID(MenuRef inMenu, MenuItemIndex inItem,
                                     MenuCommand* outCommandID);
/* The first item (from 1, counting on) with the command ID; menuItemNotFoundErr
   when there is none. */
CF_EXPORT OSStatus GetIndMenuItemWithCommandID(MenuRef inMenu, MenuCommand inCommandID,
                                               UInt32 inItemIndex, MenuRef* outMenu,
                                               MenuItemIndex* outIndex);

CF_EXPORT OSStatus ChangeMenuItemAttributes(MenuRef inMenu, MenuItemIndex inItem,
                                            MenuItemAttributes inSetTheseAttributes,
                                            MenuItemAttributes inClearTheseAttributes);
CF_EXPORT OSStatus GetMenuItemAttributes(MenuRef inMenu, MenuItemIndex inItem,
                                         MenuItemAttributes* outAttributes);

/* Item 0 enables or disables the whole menu; an item of a disabled menu
   counts as disabled. */
CF_EXPORT void EnableMenuItem(MenuRef theMenu, MenuItemIndex item);
CF_EXPORT void DisableMenuItem(MenuRef theMenu, MenuItemIndex item);
CF_EXPORT Boolean IsMenuItemEnabled(MenuRef inMenu, MenuItemIndex inItem);

CF_EXTERN_C_END

#endif /* HITOOLBOX_MENUS_H */

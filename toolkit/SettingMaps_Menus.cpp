// Filling menus and popup buttons from setting tables, and reading and selecting popups by
// ticket value. Each item carries its row's ticket value as its reference constant, so callers
// never depend on item positions, which gated rows make vary from printer to printer.
#include "SettingMaps.h"
#include "SettingMapsInternal.h"
#include <CoreFoundation/CFHolder.h>

namespace {

SInt32 ticket_value_of(URefCon refCon) {
    return static_cast<SInt32>(static_cast<UInt32>(refCon));
}

// The marker row's title says who decides: the printer, or each job.
CFStringRef title_key(const SettingMap& row, JobContext jobContext) {
    if (row.ticketValue != kPrinterDefaultValue)
        return row.localizedKey;
    return jobContext != 0 ? CFSTR("UseJobSetting") : CFSTR("PrinterDefault");
}

void append_row(MenuRef menu, CFStringRef title, MenuCommand commandID, SInt32 ticketValue) {
    MenuItemIndex item = 0;
    if (AppendMenuItemTextWithCFString(menu, title, 0, commandID, &item) == noErr)
        SetMenuItemRefCon(menu, item, toolkit::refcon_for(ticketValue));
}

} // namespace

namespace toolkit {

// Ticket values are compared on their low 32 bits when read back.
URefCon refcon_for(SInt32 ticketValue) {
    return static_cast<URefCon>(static_cast<intptr_t>(ticketValue));
}

MenuRef popup_menu(ControlRef popup) {
    MenuRef menu = nullptr;
    if (GetControlData(popup, kControlEntireControl, kControlPopupButtonMenuRefTag, sizeof(menu),
                       &menu, nullptr) != noErr)
        return nullptr;
    return menu;
}

} // namespace toolkit

using toolkit::popup_menu;
using toolkit::refcon_for;

UInt16 PopulateMenuFromMap(CFBundleRef bundle, MenuRef menu, const SettingMap* map,
                           JobContext jobContext, MenuCommand commandID) {
    UInt16 rows = 0;
    for (const SettingMap* row = map; row->localizedKey != nullptr; ++row, ++rows) {
        const cf::Holder<CFStringRef> title(CFBundleCopyLocalizedString(
            bundle, title_key(*row, jobContext), CFSTR("STRING NOT FOUND"), nullptr));
        if (toolkit::setting_row_applies(*row))
            append_row(menu, title.get(), commandID != 0 ? commandID : row->commandID,
                       row->ticketValue);
    }
    // Whoever handles the menu later can tell which table filled it.
    SetMenuItemRefCon(menu, 0, reinterpret_cast<URefCon>(map));
    return rows;
}

UInt16 PopulatePopupButtonFromMap(CFBundleRef bundle, ControlRef popup, const SettingMap* map,
                                  JobContext jobContext, MenuCommand commandID) {
    MenuRef menu = popup_menu(popup);
    if (menu == nullptr)
        return 0;
    DeleteMenuItems(menu, 1, CountMenuItems(menu));
    UInt16 rows = PopulateMenuFromMap(bundle, menu, map, jobContext, commandID);
    // The row count, hidden rows included, as the table's callers count positions.
    SetControl32BitMaximum(popup, rows);
    return rows;
}

Boolean SetPopupButtonToTicketValue(ControlRef popup, SInt32 ticketValue) {
    if (popup == nullptr)
        return false;
    MenuRef menu = popup_menu(popup);
    if (menu == nullptr)
        return false;
    UInt16 count = CountMenuItems(menu);
    for (UInt32 item = 1; item <= count; ++item) {
        URefCon refCon = 0;
        if (GetMenuItemRefCon(menu, static_cast<MenuItemIndex>(item), &refCon) == noErr &&
            ticket_value_of(refCon) == ticketValue) {
            SetControl32BitValue(popup, static_cast<SInt32>(item));
            return true;
        }
    }
    return false;
}

SInt32 GetPopupButtonTicketValue(ControlRef popup) {
    MenuRef menu = popup_menu(popup);
    auto item = static_cast<MenuItemIndex>(static_cast<UInt16>(GetControl32BitValue(popup)));
    URefCon refCon = 0;
    // A popup without a selection (value 0) answers with item 0's constant: the menu's own,
    // which the filling set to the table's address.
    if (menu == nullptr || GetMenuItemRefCon(menu, item, &refCon) != noErr)
        return 0;
    return ticket_value_of(refCon);
}

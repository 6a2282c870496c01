// Shared between the setting-table lookups and the menu fillers.
#ifndef TOOLKIT_SETTINGMAPSINTERNAL_H
#define TOOLKIT_SETTINGMAPSINTERNAL_H

#include "SettingMaps.h"

namespace toolkit {

// A row applies when it has no feature gate or its feature's installed state is the one the
// row asks for.
bool setting_row_applies(const SettingMap& row);

// The popup button's menu (not retained), or NULL.
MenuRef popup_menu(ControlRef popup);

// Reference constants are pointer-sized; ticket values travel in them sign-extended.
URefCon refcon_for(SInt32 ticketValue);

} // namespace toolkit

#endif

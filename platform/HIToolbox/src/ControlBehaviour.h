// The standard behaviour of controls, shared inside HIToolbox: clicks and
// their hits and commands (StandardClicks.cpp), keystrokes (StandardKeys.cpp)
// and the keyboard focus (Focus.cpp). The behaviours are standard handlers
// (EventInternal.h), so an application handler that takes an event first
// keeps them from running, as in Carbon.
#ifndef HITOOLBOX_SRC_CONTROLBEHAVIOUR_H
#define HITOOLBOX_SRC_CONTROLBEHAVIOUR_H

#include "ControlInternal.h"

namespace hit {

// Sends kEventControlClick to the control. `choice` (a popup's menu item or
// a tab, 0 for none) rides along as kEventParamMenuItemIndex.
OSStatus click_control(ControlRef control, MenuItemIndex choice = 0);

// True when the control is visible, enabled and active: it can be clicked.
bool accepts_clicks(ControlRef control);

// The control's look changed: it must be drawn again.
void changed(ControlRef control);

// Focus. can_take_focus: the control supports focus and is visible and
// enabled. set_focus does no checking; part kControlFocusNoPart clears.
bool can_take_focus(ControlRef control);
void set_focus(WindowRef window, ControlRef control, ControlPartCode part, bool by_click);
// After the control (or an embedder of it) was hidden or disabled: a focus
// inside it that can no longer be kept is dropped.
void focus_may_be_lost(ControlRef control);

// Presses one key in the window (see PlatformTypeKey).
OSStatus type_key(WindowRef window, UniChar char_code, UInt32 modifiers);

// The typed character of a keyboard or text-input event as the key filter
// sees it: a Mac Roman code where there is one, '?' otherwise.
SInt16 mac_char_code(UniChar unicode);
UniChar unicode_for_mac_char(SInt16 char_code);

} // namespace hit

#endif // HITOOLBOX_SRC_CONTROLBEHAVIOUR_H

// The mouse and the menu bar as the host drives them: a press goes to the
// control under the mouse as kEventMouseDown and, when no handler takes it,
// clicks the control; drags and the release go to the window, where a text
// object tracking a drag follows them; a free mouse asks the window to set
// the cursor. Menu commands have their status updated by the focus's
// handlers before they are carried out. Also the conversions the handlers
// of these events use.
#include "ControlBehaviour.h"
#include "ControlKinds.h"
#include "MenuInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <HIToolbox/PlatformHost.h>

namespace {

Point global_of(WindowRef window, Point local) {
    return Point{static_cast<short>(local.v + window->bounds.top),
                 static_cast<short>(local.h + window->bounds.left)};
}

bool contains(const Rect& r, Point p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

ControlPartCode hit_test(ControlRef control, Point local) {
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassControl, kEventControlHitTest, GetCurrentEventTime(),
                    kEventAttributeNone, &event) != noErr)
        return kControlNoPart;
    ControlPartCode part = kControlNoPart;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control), &control);
    SetEventParameter(event, kEventParamMouseLocation, typeQDPoint, sizeof(local), &local);
    if (SendEventToEventTargetWithOptions(event, control->target, kEventTargetDontPropagate) ==
        noErr)
        GetEventParameter(event, kEventParamControlPart, typeControlPartCode, nullptr, sizeof(part),
                          nullptr, &part);
    else
        part = 1; // a control without a hit test is hit wherever it is
    ReleaseEvent(event);
    return part;
}

// The deepest visible control under the point that a hit test hits.
ControlRef control_at(OpaqueWindowPtr* window, Point local) {
    ControlRef found = nullptr;
    if (window->root != nullptr)
        hit::for_each_in_tree(window->root, [&](ControlRef c) {
            if (!c->is_root && IsControlVisible(c) && contains(c->bounds, local) &&
                hit_test(c, local) != kControlNoPart)
                found = c; // later in the walk is deeper or in front
        });
    return found;
}

EventRef mouse_event(UInt32 kind, WindowRef window, Point local, UInt32 modifiers, UInt32 clicks) {
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassMouse, kind, GetCurrentEventTime(), kEventAttributeNone,
                    &event) != noErr)
        return nullptr;
    const Point global = global_of(window, local);
    const UInt16 button = kEventMouseButtonPrimary;
    SetEventParameter(event, kEventParamMouseLocation, typeQDPoint, sizeof(global), &global);
    SetEventParameter(event, kEventParamKeyModifiers, typeUInt32, sizeof(modifiers), &modifiers);
    SetEventParameter(event, kEventParamClickCount, typeUInt32, sizeof(clicks), &clicks);
    SetEventParameter(event, kEventParamMouseButton, typeMouseButton, sizeof(button), &button);
    SetEventParameter(event, kEventParamWindowRef, typeWindowRef, sizeof(window), &window);
    return event;
}

OSStatus send_to_window(WindowRef window, UInt32 kind, Point where) {
    OpaqueWindowPtr* w = hit::live_window(window, "PlatformMouse");
    if (w == nullptr)
        return errInvalidWindowRef;
    EventRef event = mouse_event(kind, w, where, 0, 1);
    if (event == nullptr)
        return memFullErr;
    const OSStatus status = SendEventToEventTarget(event, w->target);
    ReleaseEvent(event);
    return status;
}

EventTargetRef focus_target(WindowRef window) {
    return window->focus != nullptr ? window->focus->target : window->target;
}

OSStatus send_command(WindowRef window, UInt32 kind, MenuRef menu, MenuItemIndex item,
                      MenuCommand command_id) {
    HICommand command{};
    command.attributes = kHICommandFromMenu;
    command.commandID = command_id;
    command.menu.menuRef = menu;
    command.menu.menuItemIndex = item;
    EventRef event = nullptr;
    OSStatus status = CreateEvent(nullptr, kEventClassCommand, kind, GetCurrentEventTime(),
                                  kEventAttributeNone, &event);
    if (status != noErr)
        return status;
    SetEventParameter(event, kEventParamDirectObject, typeHICommand, sizeof(command), &command);
    status = SendEventToEventTarget(event, focus_target(window));
    ReleaseEvent(event);
    return status;
}

} // namespace

OSStatus PlatformPressMouse(WindowRef window, Point where, UInt32 modifiers, UInt32 clicks) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    ControlRef control = control_at(w, where);
    EventRef event = mouse_event(kEventMouseDown, w, where, modifiers, clicks);
    if (event == nullptr)
        return memFullErr;
    const auto keep = cf::Holder<WindowRef>::retaining(w); // its handlers may dispose of it
    OSStatus status =
        SendEventToEventTarget(event, control != nullptr ? control->target : w->target);
    ReleaseEvent(event);
    if (status == eventNotHandledErr && control != nullptr && !w->disposed &&
        hit::live_control(control, __func__) != nullptr)
        status = hit::accepts_clicks(control) ? hit::click_control(control)
                                              : OSStatus{errControlHiddenOrDisabled};
    return status;
}

OSStatus PlatformDragMouse(WindowRef window, Point where) {
    return send_to_window(window, kEventMouseDragged, where);
}

OSStatus PlatformReleaseMouse(WindowRef window, Point where) {
    return send_to_window(window, kEventMouseUp, where);
}

OSStatus PlatformMoveMouse(WindowRef window, Point where) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    EventRef event = nullptr;
    OSStatus status = CreateEvent(nullptr, kEventClassWindow, kEventWindowCursorChange,
                                  GetCurrentEventTime(), kEventAttributeNone, &event);
    if (status != noErr)
        return status;
    const Point global = global_of(w, where);
    SetEventParameter(event, kEventParamDirectObject, typeWindowRef, sizeof(window), &window);
    SetEventParameter(event, kEventParamMouseLocation, typeQDPoint, sizeof(global), &global);
    status = SendEventToEventTarget(event, w->target);
    ReleaseEvent(event);
    if (status == eventNotHandledErr) {
        SetThemeCursor(kThemeArrowCursor);
        status = noErr;
    }
    return status;
}

OSStatus PlatformUpdateMenuStatus(WindowRef window, MenuRef menu) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    const UInt16 count = CountMenuItems(menu);
    for (MenuItemIndex i = 1; i <= count; ++i) {
        MenuCommand command = 0;
        if (GetMenuItemCommandID(menu, i, &command) == noErr && command != 0)
            send_command(w, kEventCommandUpdateStatus, menu, i, command);
    }
    return noErr;
}

OSStatus PlatformChooseMenuCommand(WindowRef window, MenuRef menu, MenuItemIndex item) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    MenuCommand command = 0;
    if (item == 0 || item > CountMenuItems(menu) ||
        GetMenuItemCommandID(menu, item, &command) != noErr || command == 0)
        return menuItemNotFoundErr;
    send_command(w, kEventCommandUpdateStatus, menu, item, command);
    if (!IsMenuItemEnabled(menu, item))
        return errControlHiddenOrDisabled;
    return send_command(w, kEventCommandProcess, menu, item, command);
}

OSStatus HandleControlSetCursor(ControlRef control, Point localPoint, EventModifiers modifiers,
                                Boolean* outCursorWasSet) {
    OpaqueControlRef* c = hit::live_control(control, __func__);
    if (c == nullptr)
        return paramErr;
    EventRef event = nullptr;
    OSStatus status = CreateEvent(nullptr, kEventClassControl, kEventControlSetCursor,
                                  GetCurrentEventTime(), kEventAttributeNone, &event);
    if (status != noErr)
        return status;
    const UInt32 mods = modifiers;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control), &control);
    SetEventParameter(event, kEventParamMouseLocation, typeQDPoint, sizeof(localPoint),
                      &localPoint);
    SetEventParameter(event, kEventParamKeyModifiers, typeUInt32, sizeof(mods), &mods);
    status = SendEventToEventTargetWithOptions(event, c->target, kEventTargetDontPropagate);
    ReleaseEvent(event);
    if (outCursorWasSet != nullptr)
        *outCursorWasSet = status == noErr;
    return status == eventNotHandledErr ? OSStatus{noErr} : status;
}

Point* QDGlobalToLocalPoint(CGrafPtr port, Point* point) {
    WindowRef window = port != nullptr ? GetWindowFromPort(port) : nullptr;
    if (point != nullptr && window != nullptr) {
        point->h = static_cast<short>(point->h - window->bounds.left);
        point->v = static_cast<short>(point->v - window->bounds.top);
    }
    return point;
}

Boolean ConvertEventRefToEventRecord(EventRef inEvent, EventRecord* outEvent) {
    if (inEvent == nullptr || outEvent == nullptr)
        return false;
    *outEvent = EventRecord{};
    UInt32 modifiers = 0;
    GetEventParameter(inEvent, kEventParamKeyModifiers, typeUInt32, nullptr, sizeof(modifiers),
                      nullptr, &modifiers);
    outEvent->modifiers = static_cast<EventModifiers>(modifiers);
    outEvent->when = static_cast<UInt32>(GetEventTime(inEvent) * 60); // ticks
    const UInt32 kind = GetEventKind(inEvent);
    if (GetEventClass(inEvent) == kEventClassMouse &&
        (kind == kEventMouseDown || kind == kEventMouseUp)) {
        outEvent->what = kind == kEventMouseDown ? mouseDown : mouseUp;
        return GetEventParameter(inEvent, kEventParamMouseLocation, typeQDPoint, nullptr,
                                 sizeof(Point), nullptr, &outEvent->where) == noErr;
    }
    if (GetEventClass(inEvent) == kEventClassKeyboard &&
        (kind == kEventRawKeyDown || kind == kEventRawKeyUp || kind == kEventRawKeyRepeat)) {
        char c = 0;
        UInt32 code = 0;
        GetEventParameter(inEvent, kEventParamKeyMacCharCodes, typeChar, nullptr, 1, nullptr, &c);
        GetEventParameter(inEvent, kEventParamKeyCode, typeUInt32, nullptr, sizeof(code), nullptr,
                          &code);
        outEvent->what = kind == kEventRawKeyUp     ? keyUp
                         : kind == kEventRawKeyDown ? keyDown
                                                    : autoKey;
        outEvent->message = static_cast<unsigned char>(c) | (code << 8);
        return true;
    }
    return false;
}

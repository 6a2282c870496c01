// The standard behaviour of a click on a control, as Carbon's standard
// handlers give it: kEventControlClick on a visible, enabled, active control
// gives it the focus if it takes the focus on a click, lets its kind track it
// (ControlKindClass::track) and reports the part hit with kEventControlHit;
// the window's standard handling of that hit sends the control's command, if
// it has one, as kEventCommandProcess from the control. Also the host hooks
// that click.
#include "ControlBehaviour.h"
#include "ControlKinds.h"
#include "Drawing.h"
#include <CoreFoundation/CFHolder.h>

#include <HIToolbox/PlatformHost.h>

namespace {

ControlRef direct_control(EventRef event) {
    ControlRef control = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof(control),
                      nullptr, &control);
    return control;
}

UInt32 modifiers_of(EventRef event) {
    UInt32 modifiers = 0;
    GetEventParameter(event, kEventParamKeyModifiers, typeUInt32, nullptr, sizeof(modifiers),
                      nullptr, &modifiers);
    return modifiers;
}

OSStatus send_hit(ControlRef control, ControlPartCode part, UInt32 modifiers) {
    EventRef event = nullptr;
    OSStatus status = CreateEvent(nullptr, kEventClassControl, kEventControlHit,
                                  GetCurrentEventTime(), kEventAttributeNone, &event);
    if (status != noErr)
        return status;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control), &control);
    SetEventParameter(event, kEventParamControlPart, typeControlPartCode, sizeof(part), &part);
    SetEventParameter(event, kEventParamKeyModifiers, typeUInt32, sizeof(modifiers), &modifiers);
    status = SendEventToEventTarget(event, control->target);
    ReleaseEvent(event);
    return status;
}

OSStatus standard_click(EventHandlerCallRef, EventRef event, EventTargetRef target) {
    ControlRef control = direct_control(event);
    if (control == nullptr || control->target != target)
        control = static_cast<ControlRef>(target->owner);
    if (!hit::accepts_clicks(control))
        return noErr; // a click on it does nothing
    // Its handlers may dispose of it.
    const auto keep = cf::Holder<ControlRef>::retaining(control);
    if ((control->features & kControlGetsFocusOnClick) != 0 && hit::can_take_focus(control)) {
        const ControlPartCode part = control->kind_class->focus_part;
        hit::set_focus(control->owner, control, part != kControlNoPart ? part : 1, true);
    }
    MenuItemIndex choice = 0;
    GetEventParameter(event, kEventParamMenuItemIndex, typeMenuItemIndex, nullptr, sizeof(choice),
                      nullptr, &choice);
    const hit::ControlKindClass& kind = *control->kind_class;
    const ControlPartCode part =
        kind.track != nullptr ? kind.track(control, choice) : kind.click_part;
    if (part != kControlNoPart && !control->disposed)
        send_hit(control, part, modifiers_of(event));
    return noErr;
}

// The window's part: a hit control with a command ID issues its command.
OSStatus standard_hit(EventHandlerCallRef, EventRef event, EventTargetRef) {
    ControlRef control = direct_control(event);
    if (hit::live_control(control, "kEventControlHit") == nullptr || control->command_id == 0)
        return eventNotHandledErr;
    HICommandExtended command{};
    command.attributes = kHICommandFromControl;
    command.commandID = control->command_id;
    command.source.control = control;
    static_assert(sizeof(HICommandExtended) == sizeof(HICommand));
    EventRef process = nullptr;
    if (CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, GetCurrentEventTime(),
                    kEventAttributeNone, &process) != noErr)
        return eventNotHandledErr;
    const UInt32 modifiers = modifiers_of(event);
    SetEventParameter(process, kEventParamDirectObject, typeHICommand, sizeof(command), &command);
    SetEventParameter(process, kEventParamKeyModifiers, typeUInt32, sizeof(modifiers), &modifiers);
    SendEventToEventTarget(process, control->target);
    ReleaseEvent(process);
    return noErr;
}

[[maybe_unused]] const bool kRegistered = [] {
    hit::register_standard_handler(hit::TargetKind::control, kEventClassControl, kEventControlClick,
                                   standard_click);
    hit::register_standard_handler(hit::TargetKind::window, kEventClassControl, kEventControlHit,
                                   standard_hit);
    return true;
}();

} // namespace

namespace hit {

bool accepts_clicks(ControlRef control) {
    return IsControlVisible(control) && IsControlEnabled(control) && IsControlActive(control);
}

void changed(ControlRef control) {
    invalidate_control(control);
}

OSStatus click_control(ControlRef control, MenuItemIndex choice) {
    EventRef event = nullptr;
    OSStatus status = CreateEvent(nullptr, kEventClassControl, kEventControlClick,
                                  GetCurrentEventTime(), kEventAttributeNone, &event);
    if (status != noErr)
        return status;
    // The pointer is in the middle of the control, in global coordinates.
    const Rect& b = control->bounds;
    const Rect& w = control->owner->bounds;
    const Point where{static_cast<short>(w.top + (b.top + b.bottom) / 2),
                      static_cast<short>(w.left + (b.left + b.right) / 2)};
    const UInt32 modifiers = 0, clicks = 1;
    const EventMouseButton button = kEventMouseButtonPrimary;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control), &control);
    SetEventParameter(event, kEventParamMouseLocation, typeQDPoint, sizeof(where), &where);
    SetEventParameter(event, kEventParamKeyModifiers, typeUInt32, sizeof(modifiers), &modifiers);
    SetEventParameter(event, kEventParamMouseButton, typeMouseButton, sizeof(button), &button);
    SetEventParameter(event, kEventParamClickCount, typeUInt32, sizeof(clicks), &clicks);
    if (choice != 0)
        SetEventParameter(event, kEventParamMenuItemIndex, typeMenuItemIndex, sizeof(choice),
                          &choice);
    status = SendEventToEventTarget(event, control->target);
    ReleaseEvent(event);
    return status;
}

} // namespace hit

OSStatus PlatformClickControl(ControlRef control) {
    OpaqueControlRef* c = hit::live_control(control, __func__);
    if (c == nullptr || c->is_root)
        return paramErr;
    if (!hit::accepts_clicks(c))
        return errControlHiddenOrDisabled;
    return hit::click_control(c);
}

OSStatus PlatformChoosePopupItem(ControlRef popup, MenuItemIndex item) {
    OpaqueControlRef* c = hit::live_control(popup, __func__);
    if (c == nullptr || c->kind_class->check_choice == nullptr)
        return paramErr;
    OSStatus status = c->kind_class->check_choice(c, item);
    if (status != noErr)
        return status;
    if (!hit::accepts_clicks(c))
        return errControlHiddenOrDisabled;
    return hit::click_control(c, item);
}

// Control state: geometry, visibility, enabling, activation and values.
// Every change that alters what a control looks like invalidates its area,
// which the window repaints at its next update.
#include "ControlBehaviour.h"
#include "Drawing.h"

#include <algorithm>
#include <limits>

namespace {

// True when the flag is set on the control and on every control embedding it.
bool holds_up_the_tree(ControlRef control, bool OpaqueControlRef::*flag) {
    for (ControlRef c = control; c != nullptr; c = c->embedder)
        if (!(c->*flag))
            return false;
    return true;
}

OSStatus set_flag(ControlRef inControl, bool OpaqueControlRef::*flag, bool on, UInt32 event_when_on,
                  UInt32 event_when_off, const char* function) {
    OpaqueControlRef* control = hit::live_control(inControl, function);
    if (control == nullptr)
        return paramErr;
    if (control->*flag != on) {
        control->*flag = on;
        hit::invalidate_control(control);
        hit::notify(control, on ? event_when_on : event_when_off);
        if (!on)
            hit::focus_may_be_lost(control);
    }
    return noErr;
}

void offset_tree(ControlRef control, short dh, short dv) {
    hit::for_each_in_tree(control, [&](ControlRef c) {
        c->bounds.left = static_cast<short>(c->bounds.left + dh);
        c->bounds.right = static_cast<short>(c->bounds.right + dh);
        c->bounds.top = static_cast<short>(c->bounds.top + dv);
        c->bounds.bottom = static_cast<short>(c->bounds.bottom + dv);
    });
}

void send_bounds_changed(ControlRef control, const Rect& previous) {
    const Rect& now = control->bounds;
    UInt32 attributes = 0;
    if (now.top != previous.top || now.left != previous.left)
        attributes |= kControlBoundsChangePositionChanged;
    if (now.bottom - now.top != previous.bottom - previous.top ||
        now.right - now.left != previous.right - previous.left)
        attributes |= kControlBoundsChangeSizeChanged;
    if (attributes == 0)
        return;
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassControl, kEventControlBoundsChanged, GetCurrentEventTime(),
                    0, &event) != noErr)
        return;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control), &control);
    SetEventParameter(event, kEventParamAttributes, typeUInt32, sizeof(attributes), &attributes);
    SetEventParameter(event, kEventParamOriginalBounds, typeQDRectangle, sizeof(Rect), &previous);
    SetEventParameter(event, kEventParamPreviousBounds, typeQDRectangle, sizeof(Rect), &previous);
    SetEventParameter(event, kEventParamCurrentBounds, typeQDRectangle, sizeof(Rect), &now);
    SendEventToEventTarget(event, control->target);
    ReleaseEvent(event);
}

// Sets the three value fields, keeping the value within the range (the
// minimum wins when the range is empty), and tells the control on a change.
void set_values(ControlRef control, SInt32 value, SInt32 minimum, SInt32 maximum) {
    value = std::max(minimum, std::min(value, maximum));
    if (value == control->value && minimum == control->minimum && maximum == control->maximum)
        return;
    control->value = value;
    control->minimum = minimum;
    control->maximum = maximum;
    hit::invalidate_control(control);
    hit::notify(control, kEventControlValueFieldChanged);
    if (control->kind_class != nullptr && control->kind_class->value_changed != nullptr)
        control->kind_class->value_changed(control);
}

SInt16 to_16_bits(SInt32 value) {
    return static_cast<SInt16>(std::clamp<SInt32>(value, std::numeric_limits<SInt16>::min(),
                                                  std::numeric_limits<SInt16>::max()));
}

} // namespace

Rect* GetControlBounds(ControlRef control, Rect* bounds) {
    if (bounds == nullptr)
        return nullptr;
    OpaqueControlRef* c = hit::live_control(control, __func__);
    *bounds = c != nullptr ? c->bounds : Rect{0, 0, 0, 0};
    return bounds;
}

void SetControlBounds(ControlRef control, const Rect* bounds) {
    OpaqueControlRef* c = hit::live_control(control, __func__);
    if (c == nullptr || bounds == nullptr)
        return;
    const Rect previous = c->bounds;
    hit::invalidate_control(c); // where it was, and below where it goes
    // Embedded controls keep their place relative to this one.
    offset_tree(c, static_cast<short>(bounds->left - previous.left),
                static_cast<short>(bounds->top - previous.top));
    c->bounds = *bounds;
    hit::invalidate_control(c);
    send_bounds_changed(c, previous);
}

void MoveControl(ControlRef theControl, SInt16 h, SInt16 v) {
    OpaqueControlRef* c = hit::live_control(theControl, __func__);
    if (c == nullptr)
        return;
    const Rect& b = c->bounds;
    const Rect moved{v, h, static_cast<short>(v + (b.bottom - b.top)),
                     static_cast<short>(h + (b.right - b.left))};
    SetControlBounds(c, &moved);
}

void SizeControl(ControlRef theControl, SInt16 w, SInt16 h) {
    OpaqueControlRef* c = hit::live_control(theControl, __func__);
    if (c == nullptr)
        return;
    const Rect sized{c->bounds.top, c->bounds.left, static_cast<short>(c->bounds.top + h),
                     static_cast<short>(c->bounds.left + w)};
    SetControlBounds(c, &sized);
}

OSErr SetControlVisibility(ControlRef inControl, Boolean inIsVisible, Boolean) {
    return set_flag(inControl, &OpaqueControlRef::visible, inIsVisible != 0,
                    kEventControlVisibilityChanged, kEventControlVisibilityChanged, __func__);
}

void ShowControl(ControlRef theControl) {
    SetControlVisibility(theControl, true, true);
}

void HideControl(ControlRef theControl) {
    SetControlVisibility(theControl, false, true);
}

Boolean IsControlVisible(ControlRef inControl) {
    OpaqueControlRef* c = hit::live_control(inControl, __func__);
    return c != nullptr && holds_up_the_tree(c, &OpaqueControlRef::visible);
}

OSStatus EnableControl(ControlRef inControl) {
    return set_flag(inControl, &OpaqueControlRef::enabled, true, kEventControlEnabledStateChanged,
                    kEventControlEnabledStateChanged, __func__);
}

OSStatus DisableControl(ControlRef inControl) {
    return set_flag(inControl, &OpaqueControlRef::enabled, false, kEventControlEnabledStateChanged,
                    kEventControlEnabledStateChanged, __func__);
}

Boolean IsControlEnabled(ControlRef inControl) {
    OpaqueControlRef* c = hit::live_control(inControl, __func__);
    return c != nullptr && holds_up_the_tree(c, &OpaqueControlRef::enabled);
}

OSErr ActivateControl(ControlRef inControl) {
    return set_flag(inControl, &OpaqueControlRef::active, true, kEventControlActivate,
                    kEventControlDeactivate, __func__);
}

OSErr DeactivateControl(ControlRef inControl) {
    return set_flag(inControl, &OpaqueControlRef::active, false, kEventControlActivate,
                    kEventControlDeactivate, __func__);
}

Boolean IsControlActive(ControlRef inControl) {
    OpaqueControlRef* c = hit::live_control(inControl, __func__);
    return c != nullptr && holds_up_the_tree(c, &OpaqueControlRef::active);
}

SInt32 GetControl32BitValue(ControlRef theControl) {
    OpaqueControlRef* c = hit::live_control(theControl, __func__);
    return c != nullptr ? c->value : 0;
}

void SetControl32BitValue(ControlRef theControl, SInt32 newValue) {
    if (OpaqueControlRef* c = hit::live_control(theControl, __func__))
        set_values(c, newValue, c->minimum, c->maximum);
}

SInt32 GetControl32BitMinimum(ControlRef theControl) {
    OpaqueControlRef* c = hit::live_control(theControl, __func__);
    return c != nullptr ? c->minimum : 0;
}

void SetControl32BitMinimum(ControlRef theControl, SInt32 newMinimum) {
    if (OpaqueControlRef* c = hit::live_control(theControl, __func__))
        set_values(c, c->value, newMinimum, c->maximum);
}

SInt32 GetControl32BitMaximum(ControlRef theControl) {
    OpaqueControlRef* c = hit::live_control(theControl, __func__);
    return c != nullptr ? c->maximum : 0;
}

void SetControl32BitMaximum(ControlRef theControl, SInt32 newMaximum) {
    if (OpaqueControlRef* c = hit::live_control(theControl, __func__))
        set_values(c, c->value, c->minimum, newMaximum);
}

SInt16 GetControlValue(ControlRef theControl) {
    return to_16_bits(GetControl32BitValue(theControl));
}
void SetControlValue(ControlRef theControl, SInt16 newValue) {
    SetControl32BitValue(theControl, newValue);
}
SInt16 GetControlMinimum(ControlRef theControl) {
    return to_16_bits(GetControl32BitMinimum(theControl));
}
void SetControlMinimum(ControlRef theControl, SInt16 newMinimum) {
    SetControl32BitMinimum(theControl, newMinimum);
}
SInt16 GetControlMaximum(ControlRef theControl) {
    return to_16_bits(GetControl32BitMaximum(theControl));
}
void SetControlMaximum(ControlRef theControl, SInt16 newMaximum) {
    SetControl32BitMaximum(theControl, newMaximum);
}

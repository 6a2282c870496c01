// Windows: creation and disposal, visibility, activation, bounds, the
// default and cancel buttons.
#include "Drawing.h"
#include "WindowInternal.h"

#include <algorithm>

namespace hit {
// Window_List.cpp
void window_list_add(WindowRef window);
void window_list_remove(WindowRef window);
} // namespace hit

namespace {

// Everything a window holds goes, in an order that lets handlers of the
// disposal events still find the window: controls first, then the target.
void tear_down(OpaqueWindowPtr* window) {
    if (window->root != nullptr)
        hit::dispose_control(window->root);
    hit::window_list_remove(window);
    hit::dispose_target(window->target);
    window->target = nullptr;
    hit::detach_port(window->port);
    window->port = nullptr;
    window->title.reset();
    window->disposed = true;
}

void finalize_window(CFTypeRef object) {
    auto* window = static_cast<OpaqueWindowPtr*>(const_cast<void*>(object));
    if (!window->disposed)
        tear_down(window);
    cf::destroy<OpaqueWindowPtr>(object);
}

const cf::ClassDescriptor kWindowClass = {"WindowRef", finalize_window, nullptr, nullptr, nullptr};

EventTargetRef window_parent(void*) {
    return GetApplicationEventTarget();
}

bool known_class(WindowClass window_class) {
    switch (window_class) {
    case kAlertWindowClass:
    case kMovableAlertWindowClass:
    case kModalWindowClass:
    case kMovableModalWindowClass:
    case kFloatingWindowClass:
    case kDocumentWindowClass:
    case kUtilityWindowClass:
    case kHelpWindowClass:
    case kSheetWindowClass:
    case kToolbarWindowClass:
    case kPlainWindowClass:
    case kOverlayWindowClass:
    case kSheetAlertWindowClass:
    case kAltPlainWindowClass:
    case kSimpleWindowClass:
    case kDrawerWindowClass:
        return true;
    default:
        return false;
    }
}

void notify(OpaqueWindowPtr* window, UInt32 kind) {
    hit::send_notification(window->target, kEventClassWindow, kind, typeWindowRef, window);
}

void set_button_flag(ControlRef button, ResType tag, Boolean on) {
    // Only push buttons know the tag; other controls may still be the
    // window's default button, they just do not draw as one.
    if (button != nullptr)
        SetControlData(button, kControlEntireControl, tag, sizeof(on), &on);
}

OSStatus set_button(WindowRef window, ControlRef control, ControlRef OpaqueWindowPtr::*slot,
                    ResType tag, const char* function) {
    OpaqueWindowPtr* w = hit::live_window(window, function);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (control != nullptr && GetControlOwner(control) != window)
        return paramErr;
    set_button_flag(w->*slot, tag, false);
    w->*slot = control;
    set_button_flag(control, tag, true);
    return noErr;
}

OSStatus get_button(WindowRef window, ControlRef* out, ControlRef OpaqueWindowPtr::*slot,
                    const char* function) {
    OpaqueWindowPtr* w = hit::live_window(window, function);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (out == nullptr)
        return paramErr;
    *out = w->*slot;
    return noErr;
}

void send_bounds_changed(OpaqueWindowPtr* window, const Rect& previous) {
    const Rect& now = window->bounds;
    UInt32 attributes = 0;
    if (now.top != previous.top || now.left != previous.left)
        attributes |= kWindowBoundsChangeOriginChanged;
    if (now.bottom - now.top != previous.bottom - previous.top ||
        now.right - now.left != previous.right - previous.left)
        attributes |= kWindowBoundsChangeSizeChanged;
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassWindow, kEventWindowBoundsChanged, GetCurrentEventTime(),
                    kEventAttributeNone, &event) != noErr)
        return;
    WindowRef ref = window;
    SetEventParameter(event, kEventParamDirectObject, typeWindowRef, sizeof(ref), &ref);
    SetEventParameter(event, kEventParamAttributes, typeUInt32, sizeof(attributes), &attributes);
    SetEventParameter(event, kEventParamOriginalBounds, typeQDRectangle, sizeof(Rect), &previous);
    SetEventParameter(event, kEventParamPreviousBounds, typeQDRectangle, sizeof(Rect), &previous);
    SetEventParameter(event, kEventParamCurrentBounds, typeQDRectangle, sizeof(Rect), &now);
    SendEventToEventTarget(event, window->target);
    ReleaseEvent(event);
}

} // namespace

namespace hit {

CFTypeID window_type_id() {
    static CFTypeID id = cf::register_class(&kWindowClass);
    return id;
}

OpaqueWindowPtr* live_window(WindowRef window, const char* function) {
    if (!cf::check_type(window, window_type_id(), function))
        return nullptr;
    return window->disposed ? nullptr : window;
}

void window_forget_control(WindowRef window, ControlRef control) {
    if (!cf::is_type(window, window_type_id()))
        return;
    if (window->default_button == control) {
        set_button_flag(control, kControlPushButtonDefaultTag, false);
        window->default_button = nullptr;
    }
    if (window->cancel_button == control) {
        set_button_flag(control, kControlPushButtonCancelTag, false);
        window->cancel_button = nullptr;
    }
    if (window->focus == control) {
        window->focus = nullptr;
        window->focus_part = kControlFocusNoPart;
    }
}

} // namespace hit

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes,
                         const Rect* contentBounds, WindowRef* outWindow) {
    if (contentBounds == nullptr || outWindow == nullptr)
        return paramErr;
    if (!known_class(windowClass))
        return errUnrecognizedWindowClass;
    auto* window = cf::create<OpaqueWindowPtr>(nullptr, hit::window_type_id());
    if (window == nullptr)
        return memFullErr;
    window->window_class = windowClass;
    window->attributes = attributes;
    window->bounds = *contentBounds;
    window->target = hit::create_target(hit::TargetKind::window, window, window_parent);
    window->port = hit::create_port(window);
    hit::window_list_add(window);
    *outWindow = window;
    return noErr;
}

void DisposeWindow(WindowRef window) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return;
    notify(w, kEventWindowClosed);
    tear_down(w);
    CFRelease(w);
}

OSStatus GetWindowClass(WindowRef window, WindowClass* outClass) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (outClass == nullptr)
        return paramErr;
    *outClass = w->window_class;
    return noErr;
}

OSStatus GetWindowAttributes(WindowRef window, WindowAttributes* outAttributes) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (outAttributes == nullptr)
        return paramErr;
    *outAttributes = w->attributes;
    return noErr;
}

void ShowWindow(WindowRef window) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr || w->visible)
        return;
    w->visible = true;
    notify(w, kEventWindowShown);
    hit::draw_window(w);
}

void HideWindow(WindowRef window) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr || !w->visible)
        return;
    w->visible = false;
    notify(w, kEventWindowHidden);
}

Boolean IsWindowVisible(WindowRef window) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    return w != nullptr && w->visible;
}

OSStatus ActivateWindow(WindowRef window, Boolean activate) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (w->active != (activate != 0)) {
        w->active = activate != 0;
        // Controls look different in an inactive window.
        const Rect& content = w->bounds;
        hit::invalidate_window_rect(w, Rect{0, 0, static_cast<short>(content.bottom - content.top),
                                            static_cast<short>(content.right - content.left)});
        notify(w, w->active ? kEventWindowActivated : kEventWindowDeactivated);
    }
    return noErr;
}

Boolean IsWindowActive(WindowRef window) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    return w != nullptr && w->active;
}

OSStatus GetWindowBounds(WindowRef window, WindowRegionCode regionCode, Rect* globalBounds) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (globalBounds == nullptr)
        return paramErr;
    // FIXME: the structure region equals the content until the theme draws
    // window frames and says how wide they are.
    if (regionCode != kWindowContentRgn && regionCode != kWindowStructureRgn)
        return errWindowRegionCodeInvalid;
    *globalBounds = w->bounds;
    return noErr;
}

OSStatus SetWindowBounds(WindowRef window, WindowRegionCode regionCode, const Rect* globalBounds) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (globalBounds == nullptr)
        return paramErr;
    if (regionCode != kWindowContentRgn && regionCode != kWindowStructureRgn)
        return errWindowRegionCodeInvalid;
    const Rect previous = w->bounds;
    w->bounds = *globalBounds;
    if (w->root != nullptr)
        w->root->bounds = Rect{0, 0, static_cast<short>(globalBounds->bottom - globalBounds->top),
                               static_cast<short>(globalBounds->right - globalBounds->left)};
    send_bounds_changed(w, previous);
    return noErr;
}

void SetWRefCon(WindowRef window, SRefCon data) {
    if (OpaqueWindowPtr* w = hit::live_window(window, __func__))
        w->refcon = data;
}

SRefCon GetWRefCon(WindowRef window) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    return w != nullptr ? w->refcon : nullptr;
}

EventTargetRef GetWindowEventTarget(WindowRef inWindow) {
    OpaqueWindowPtr* w = hit::live_window(inWindow, __func__);
    return w != nullptr ? w->target : nullptr;
}

OSStatus SetWindowDefaultButton(WindowRef window, ControlRef control) {
    return set_button(window, control, &OpaqueWindowPtr::default_button,
                      kControlPushButtonDefaultTag, __func__);
}

OSStatus GetWindowDefaultButton(WindowRef window, ControlRef* outControl) {
    return get_button(window, outControl, &OpaqueWindowPtr::default_button, __func__);
}

OSStatus SetWindowCancelButton(WindowRef window, ControlRef control) {
    return set_button(window, control, &OpaqueWindowPtr::cancel_button, kControlPushButtonCancelTag,
                      __func__);
}

OSStatus GetWindowCancelButton(WindowRef window, ControlRef* outControl) {
    return get_button(window, outControl, &OpaqueWindowPtr::cancel_button, __func__);
}

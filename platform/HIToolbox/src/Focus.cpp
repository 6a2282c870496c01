// Keyboard focus: which control of a window gets its keystrokes, and how
// it moves. Only controls with kControlSupportsFocus that are visible and
// enabled take it; the window forgets a focused control that is disposed
// of or moved away (WindowInternal.h), and one that is hidden or disabled
// loses the focus here.
#include "ControlBehaviour.h"
#include "ControlKinds.h"

#include <algorithm>
#include <vector>

namespace {

// Tells the control which part now has the focus (kControlFocusNoPart: none).
void send_focus_part(ControlRef control, ControlPartCode part) {
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassControl, kEventControlSetFocusPart, GetCurrentEventTime(),
                    kEventAttributeNone, &event) != noErr)
        return;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control), &control);
    SetEventParameter(event, kEventParamControlPart, typeControlPartCode, sizeof(part), &part);
    SendEventToEventTargetWithOptions(event, control->target, kEventTargetDontPropagate);
    ReleaseEvent(event);
}

ControlPartCode first_part(ControlRef control) {
    const ControlPartCode part = control->kind_class->focus_part;
    return part != kControlNoPart ? part : 1;
}

// The controls of the window that can take the focus, in embedding order.
std::vector<ControlRef> focus_candidates(OpaqueWindowPtr* window) {
    std::vector<ControlRef> candidates;
    if (window->root != nullptr)
        hit::for_each_in_tree(window->root, [&](ControlRef c) {
            if (!c->is_root && hit::can_take_focus(c))
                candidates.push_back(c);
        });
    return candidates;
}

OSErr move_focus(WindowRef inWindow, bool forward, const char* function) {
    OpaqueWindowPtr* window = hit::live_window(inWindow, function);
    if (window == nullptr)
        return errInvalidWindowRef;
    const std::vector<ControlRef> candidates = focus_candidates(window);
    if (candidates.empty())
        return errCouldntSetFocus;
    const auto n = static_cast<long>(candidates.size());
    const auto found = std::find(candidates.begin(), candidates.end(), window->focus);
    long next = forward ? 0 : n - 1;
    if (found != candidates.end())
        next = ((found - candidates.begin()) + (forward ? 1 : n - 1)) % n;
    ControlRef control = candidates[static_cast<size_t>(next)];
    hit::set_focus(window, control, first_part(control), false);
    return noErr;
}

} // namespace

namespace hit {

bool can_take_focus(ControlRef control) {
    return (control->features & kControlSupportsFocus) != 0 && IsControlVisible(control) &&
           IsControlEnabled(control);
}

void set_focus(WindowRef window, ControlRef control, ControlPartCode part, bool by_click) {
    if (part == kControlFocusNoPart)
        control = nullptr;
    ControlRef previous = window->focus;
    if (previous == control && window->focus_part == part)
        return;
    window->focus = control;
    window->focus_part = control != nullptr ? part : ControlPartCode{kControlFocusNoPart};
    if (previous != nullptr && previous != control) {
        if (previous->kind_class->lost_focus != nullptr)
            previous->kind_class->lost_focus(previous);
        send_focus_part(previous, kControlFocusNoPart);
        changed(previous);
    }
    if (control == nullptr)
        return;
    if (previous != control && !by_click && control->kind_class->took_focus != nullptr)
        control->kind_class->took_focus(control);
    send_focus_part(control, part);
    changed(control);
}

void focus_may_be_lost(ControlRef control) {
    WindowRef window = control->owner;
    if (window == nullptr || window->disposed || window->focus == nullptr)
        return;
    for (ControlRef c = window->focus; c != nullptr; c = c->embedder) {
        if (c == control) {
            if (!can_take_focus(window->focus))
                set_focus(window, nullptr, kControlFocusNoPart, false);
            return;
        }
    }
}

} // namespace hit

OSErr SetKeyboardFocus(WindowRef inWindow, ControlRef inControl, ControlFocusPart inPart) {
    OpaqueWindowPtr* window = hit::live_window(inWindow, __func__);
    if (window == nullptr)
        return errInvalidWindowRef;
    if (inControl == nullptr || inPart == kControlFocusNoPart) {
        hit::set_focus(window, nullptr, kControlFocusNoPart, false);
        return noErr;
    }
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || control->owner != window)
        return paramErr;
    if ((control->features & kControlSupportsFocus) == 0)
        return errControlDoesntSupportFocus;
    if (!hit::can_take_focus(control))
        return errControlHiddenOrDisabled;
    const bool first_or_last = inPart == kControlFocusNextPart || inPart == kControlFocusPrevPart;
    hit::set_focus(window, control, first_or_last ? first_part(control) : inPart, false);
    return noErr;
}

OSErr GetKeyboardFocus(WindowRef inWindow, ControlRef* outControl) {
    OpaqueWindowPtr* window = hit::live_window(inWindow, __func__);
    if (window == nullptr)
        return errInvalidWindowRef;
    if (outControl == nullptr)
        return paramErr;
    *outControl = window->focus;
    return noErr;
}

OSErr ClearKeyboardFocus(WindowRef inWindow) {
    OpaqueWindowPtr* window = hit::live_window(inWindow, __func__);
    if (window == nullptr)
        return errInvalidWindowRef;
    hit::set_focus(window, nullptr, kControlFocusNoPart, false);
    return noErr;
}

OSErr AdvanceKeyboardFocus(WindowRef inWindow) {
    return move_focus(inWindow, true, __func__);
}

OSErr ReverseKeyboardFocus(WindowRef inWindow) {
    return move_focus(inWindow, false, __func__);
}

// The standard behaviour of keystrokes. A key goes to the window's focus
// (its focused control, else the window) as kEventRawKeyDown; what no
// handler takes, the window's standard handling turns into the dialog keys
// (Return and Enter click the default button, Escape and Command-period the
// cancel button, Tab and Shift-Tab move the focus unless the focus takes
// the tab as text input first) or into
// kEventTextInputUnicodeForKeyEvent for the focus, which a control's kind
// handles (ControlKindClass::text_input). kEventRawKeyUp follows. Also the
// host hooks that type.
#include "ControlBehaviour.h"
#include "ControlKinds.h"
#include <CoreFoundation/CFHolder.h>

#include <HIToolbox/PlatformHost.h>

#include <CoreFoundation/CFString.h>

namespace {

EventTargetRef focus_target(WindowRef window) {
    return window->focus != nullptr ? window->focus->target : window->target;
}

UInt32 virtual_key(UniChar c) {
    switch (c) {
    case kReturnCharCode:
        return kVK_Return;
    case kEnterCharCode:
        return kVK_ANSI_KeypadEnter;
    case kTabCharCode:
        return kVK_Tab;
    case kBackspaceCharCode:
        return kVK_Delete;
    case kDeleteCharCode:
        return kVK_ForwardDelete;
    case kEscapeCharCode:
        return kVK_Escape;
    case kLeftArrowCharCode:
        return kVK_LeftArrow;
    case kRightArrowCharCode:
        return kVK_RightArrow;
    case kUpArrowCharCode:
        return kVK_UpArrow;
    case kDownArrowCharCode:
        return kVK_DownArrow;
    case kHomeCharCode:
        return kVK_Home;
    case kEndCharCode:
        return kVK_End;
    case ' ':
        return kVK_Space;
    default:
        return 0; // the layout's letters are not modelled
    }
}

EventRef key_event(UInt32 kind, UniChar c, UInt32 modifiers) {
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassKeyboard, kind, GetCurrentEventTime(), kEventAttributeNone,
                    &event) != noErr)
        return nullptr;
    const char mac_char = static_cast<char>(hit::mac_char_code(c));
    const UInt32 code = virtual_key(c);
    SetEventParameter(event, kEventParamKeyMacCharCodes, typeChar, 1, &mac_char);
    SetEventParameter(event, kEventParamKeyCode, typeUInt32, sizeof(code), &code);
    SetEventParameter(event, kEventParamKeyModifiers, typeUInt32, sizeof(modifiers), &modifiers);
    SetEventParameter(event, kEventParamKeyUnicodes, typeUnicodeText, sizeof(c), &c);
    return event;
}

// Clicks a default or cancel button that can be clicked; false if there is none.
bool press(ControlRef button) {
    if (button == nullptr || !hit::accepts_clicks(button))
        return false;
    hit::click_control(button);
    return true;
}

OSStatus send_text_input(WindowRef window, EventRef raw) {
    UniChar c = 0;
    GetEventParameter(raw, kEventParamKeyUnicodes, typeUnicodeText, nullptr, sizeof(c), nullptr,
                      &c);
    EventRef event = nullptr;
    OSStatus status = CreateEvent(nullptr, kEventClassTextInput, kEventTextInputUnicodeForKeyEvent,
                                  GetCurrentEventTime(), kEventAttributeNone, &event);
    if (status != noErr)
        return status;
    SetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, sizeof(c), &c);
    SetEventParameter(event, kEventParamTextInputSendKeyboardEvent, typeEventRef, sizeof(raw),
                      &raw);
    status = SendEventToEventTarget(event, focus_target(window));
    ReleaseEvent(event);
    return status;
}

OSStatus window_key_down(EventHandlerCallRef, EventRef event, EventTargetRef target) {
    auto* window = static_cast<WindowRef>(target->owner);
    char mac_char = 0;
    UInt32 modifiers = 0;
    GetEventParameter(event, kEventParamKeyMacCharCodes, typeChar, nullptr, 1, nullptr, &mac_char);
    GetEventParameter(event, kEventParamKeyModifiers, typeUInt32, nullptr, sizeof(modifiers),
                      nullptr, &modifiers);
    const bool command = (modifiers & cmdKey) != 0;
    switch (mac_char) {
    case kReturnCharCode:
    case kEnterCharCode:
        if (press(window->default_button))
            return noErr;
        break;
    case kEscapeCharCode:
        if (press(window->cancel_button))
            return noErr;
        break;
    case '.':
        if (command && press(window->cancel_button))
            return noErr;
        break;
    case kTabCharCode:
        // The focus may take the tab as text (a text view that types tabs);
        // only a tab nobody took moves the focus.
        if (!command && send_text_input(window, event) != noErr) {
            ((modifiers & shiftKey) != 0 ? ReverseKeyboardFocus : AdvanceKeyboardFocus)(window);
            return noErr;
        }
        if (!command)
            return noErr;
        break;
    default:
        break;
    }
    return send_text_input(window, event);
}

// The focused control's kind edits; other controls let the event go on.
OSStatus control_text_input(EventHandlerCallRef, EventRef event, EventTargetRef target) {
    auto* control = static_cast<ControlRef>(target->owner);
    if (control->kind_class->text_input == nullptr)
        return eventNotHandledErr;
    return control->kind_class->text_input(control, event);
}

[[maybe_unused]] const bool kRegistered = [] {
    hit::register_standard_handler(hit::TargetKind::window, kEventClassKeyboard, kEventRawKeyDown,
                                   window_key_down);
    hit::register_standard_handler(hit::TargetKind::control, kEventClassTextInput,
                                   kEventTextInputUnicodeForKeyEvent, control_text_input);
    return true;
}();

OpaqueWindowPtr* window_for_typing(WindowRef window, const char* function) {
    if (window == nullptr)
        window = FrontWindow();
    return window != nullptr ? hit::live_window(window, function) : nullptr;
}

} // namespace

namespace hit {

SInt16 mac_char_code(UniChar unicode) {
    if (unicode < 0x80)
        return static_cast<SInt16>(unicode);
    UInt8 byte = '?';
    const cf::Holder<CFStringRef> string(CFStringCreateWithCharacters(nullptr, &unicode, 1));
    if (string)
        CFStringGetBytes(string.get(), CFRangeMake(0, 1), kCFStringEncodingMacRoman, 0, false,
                         &byte, 1, nullptr);
    return static_cast<SInt16>(byte);
}

UniChar unicode_for_mac_char(SInt16 char_code) {
    const UInt8 byte = static_cast<UInt8>(char_code);
    if (byte < 0x80)
        return byte;
    UniChar unicode = '?';
    const cf::Holder<CFStringRef> string(
        CFStringCreateWithBytes(nullptr, &byte, 1, kCFStringEncodingMacRoman, false));
    if (string && CFStringGetLength(string.get()) == 1)
        unicode = CFStringGetCharacterAtIndex(string.get(), 0);
    return unicode;
}

OSStatus type_key(WindowRef window, UniChar char_code, UInt32 modifiers) {
    EventRef down = key_event(kEventRawKeyDown, char_code, modifiers);
    EventRef up = key_event(kEventRawKeyUp, char_code, modifiers);
    if (down == nullptr || up == nullptr) {
        if (down != nullptr)
            ReleaseEvent(down);
        if (up != nullptr)
            ReleaseEvent(up);
        return memFullErr;
    }
    // A handler of the key may dispose of the window.
    const auto keep = cf::Holder<WindowRef>::retaining(window);
    const OSStatus status = SendEventToEventTarget(down, focus_target(window));
    if (!window->disposed)
        SendEventToEventTarget(up, focus_target(window));
    ReleaseEvent(down);
    ReleaseEvent(up);
    return status;
}

} // namespace hit

OSStatus PlatformTypeKey(WindowRef window, UniChar charCode, UInt32 modifiers) {
    OpaqueWindowPtr* w = window_for_typing(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    return hit::type_key(w, charCode, modifiers);
}

OSStatus PlatformTypeText(WindowRef window, CFStringRef text) {
    if (!cf::check_type(text, CFStringGetTypeID(), __func__))
        return paramErr;
    OpaqueWindowPtr* w = window_for_typing(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    const auto keep = cf::Holder<WindowRef>::retaining(w);
    const CFIndex length = CFStringGetLength(text);
    for (CFIndex i = 0; i < length && !w->disposed; ++i) {
        UniChar c = CFStringGetCharacterAtIndex(text, i);
        hit::type_key(w, c == '\n' ? UniChar{kReturnCharCode} : c, 0);
    }
    return noErr;
}

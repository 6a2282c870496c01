// Typing into an edit text field: the standard handling of
// kEventTextInputUnicodeForKeyEvent sent to a field. The field's key filter
// sees the key first and may drop or change it; then the key edits the text
// (characters replace the selection, backspace and forward delete remove,
// the arrows, Home and End move the caret). Return, Enter, Tab and Escape do
// nothing here: the window's keys (StandardKeys.cpp) deal with them.
#include "EditText.h"

#include "ControlBehaviour.h"

#include "TextInternal.h"

#include <CoreFoundation/CFString.h>
#include <CoreServices/OSUtils.h>
#include <HIToolbox/PlatformHost.h>

#include <algorithm>

namespace {

using hit::EditTextState;

struct Key {
    SInt16 key_code = 0;
    SInt16 char_code = 0;
    EventModifiers modifiers = 0;
    std::u16string text; // what the key types
};

// The key as the keyboard event behind the text input gives it; without one
// (text sent by someone other than the keyboard) the text speaks for itself.
Key key_of(EventRef event) {
    Key key;
    ByteCount size = 0;
    if (GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr, 0, &size,
                          nullptr) == noErr &&
        size >= sizeof(UniChar)) {
        key.text.resize(size / sizeof(UniChar));
        GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr,
                          key.text.size() * sizeof(UniChar), nullptr, key.text.data());
    }
    EventRef raw = nullptr;
    char mac_char = 0;
    UInt32 code = 0, modifiers = 0;
    if (GetEventParameter(event, kEventParamTextInputSendKeyboardEvent, typeEventRef, nullptr,
                          sizeof(raw), nullptr, &raw) == noErr &&
        GetEventParameter(raw, kEventParamKeyMacCharCodes, typeChar, nullptr, 1, nullptr,
                          &mac_char) == noErr) {
        GetEventParameter(raw, kEventParamKeyCode, typeUInt32, nullptr, sizeof(code), nullptr,
                          &code);
        GetEventParameter(raw, kEventParamKeyModifiers, typeUInt32, nullptr, sizeof(modifiers),
                          nullptr, &modifiers);
        key.char_code = static_cast<SInt16>(static_cast<unsigned char>(mac_char));
    } else if (!key.text.empty()) {
        key.char_code = hit::mac_char_code(key.text[0]);
    }
    key.key_code = static_cast<SInt16>(code);
    key.modifiers = static_cast<EventModifiers>(modifiers);
    return key;
}

// Backspace (forward delete) removes the selection, or the character
// before (after) the caret; a surrogate pair goes as one.
bool delete_text(EditTextState& state, bool forward) {
    if (state.sel_start == state.sel_end) {
        const std::u16string& t = state.text;
        size_t at = state.sel_start;
        if (forward ? at >= t.size() : at == 0)
            return false;
        const bool pair = forward ? at + 1 < t.size() && (t[at] & 0xFC00) == 0xD800
                                  : at >= 2 && (t[at - 1] & 0xFC00) == 0xDC00;
        const size_t width = pair ? 2 : 1;
        state.select(static_cast<long>(forward ? at : at - width),
                     static_cast<long>(forward ? at + width : at));
    }
    return state.replace_selection(u"");
}

// Left and right collapse a selection to its edge, or step the caret.
void move_caret(EditTextState& state, SInt16 char_code) {
    size_t to = state.sel_start;
    switch (char_code) {
    case kLeftArrowCharCode:
        to = state.sel_start != state.sel_end || to == 0 ? state.sel_start : to - 1;
        break;
    case kRightArrowCharCode:
        to = state.sel_start != state.sel_end ? state.sel_end
                                              : std::min(state.sel_end + 1, state.text.size());
        break;
    case kHomeCharCode:
    case kUpArrowCharCode:
        to = 0;
        break;
    default: // End, down arrow
        to = state.text.size();
        break;
    }
    state.select(static_cast<long>(to), static_cast<long>(to));
}

// What the key did: nothing, moved the caret, or changed the text.
enum class Effect { none, moved, edited, refused };

Effect apply(EditTextState& state, const Key& key) {
    switch (key.char_code) {
    case kLeftArrowCharCode:
    case kRightArrowCharCode:
    case kUpArrowCharCode:
    case kDownArrowCharCode:
    case kHomeCharCode:
    case kEndCharCode:
        move_caret(state, key.char_code);
        return Effect::moved;
    case kBackspaceCharCode:
    case kDeleteCharCode:
        if (state.locked)
            return Effect::refused;
        return delete_text(state, key.char_code == kDeleteCharCode) ? Effect::edited : Effect::none;
    default:
        break;
    }
    if (key.text.empty() || key.text[0] < 0x20)
        return Effect::none; // Return, Tab, Escape and the other controls
    if (state.locked)
        return Effect::refused;
    return state.replace_selection(key.text) ? Effect::edited : Effect::refused;
}

void send_did_change(ControlRef control) {
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassTextField, kEventTextDidChange, GetCurrentEventTime(),
                    kEventAttributeNone, &event) != noErr)
        return;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control), &control);
    SendEventToEventTargetWithOptions(event, GetControlEventTarget(control),
                                      kEventTargetDontPropagate);
    ReleaseEvent(event);
}

} // namespace

namespace hit {

OSStatus edit_text_input(ControlRef control, EventRef event) {
    EditTextState& state = edit_text_state(control);
    Key key = key_of(event);
    if (state.filter != nullptr) {
        const SInt16 typed = key.char_code;
        if (state.filter(control, &key.key_code, &key.char_code, &key.modifiers) ==
            kControlKeyFilterBlockKey)
            return noErr;
        // A filter that changed the character types the new one instead.
        if (key.char_code != typed)
            key.text = std::u16string(1, unicode_for_mac_char(key.char_code));
    }
    switch (apply(state, key)) {
    case Effect::none:
        return eventNotHandledErr;
    case Effect::refused:
        SysBeep(1);
        return noErr;
    case Effect::moved:
        changed(control);
        return noErr;
    case Effect::edited:
        changed(control);
        send_did_change(control);
        return noErr;
    }
    return noErr;
}

OSStatus edit_text_paste(ControlRef control, const std::u16string& units) {
    EditTextState& state = edit_text_state(control);
    if (state.locked || !state.replace_selection(units)) {
        SysBeep(1);
        return noErr;
    }
    changed(control);
    send_did_change(control);
    return noErr;
}

namespace {

// The window's focused edit text, for the host's text input.
OSStatus focused_edit_text(WindowRef window, ControlRef* focus) {
    *focus = nullptr;
    if (window == nullptr || GetKeyboardFocus(window, focus) != noErr)
        return errInvalidWindowRef;
    if (*focus == nullptr || kind_state<EditTextState>(*focus) == nullptr)
        return errUnknownControl;
    return noErr;
}

} // namespace
} // namespace hit

OSStatus PlatformPasteText(WindowRef window, CFStringRef text) {
    if (!cf::check_type(text, CFStringGetTypeID(), __func__))
        return paramErr;
    ControlRef focus = nullptr;
    if (const OSStatus status = hit::focused_edit_text(window, &focus); status != noErr)
        return status;
    return hit::edit_text_paste(focus, hit::units_of(text));
}

OSStatus PlatformSetMarkedText(WindowRef window, CFStringRef text, CFIndex caret) {
    if (text != nullptr && !cf::check_type(text, CFStringGetTypeID(), __func__))
        return paramErr;
    ControlRef focus = nullptr;
    if (const OSStatus status = hit::focused_edit_text(window, &focus); status != noErr)
        return status;
    EditTextState& state = hit::edit_text_state(focus);
    state.marked = text != nullptr ? hit::units_of(text) : std::u16string();
    state.marked_caret =
        caret < 0 ? state.marked.size() : std::min(static_cast<size_t>(caret), state.marked.size());
    hit::changed(focus);
    return noErr;
}

ControlKeyFilterUPP NewControlKeyFilterUPP(ControlKeyFilterProcPtr userRoutine) {
    return userRoutine;
}

void DisposeControlKeyFilterUPP(ControlKeyFilterUPP) {}

ControlKeyFilterResult InvokeControlKeyFilterUPP(ControlRef theControl, SInt16* keyCode,
                                                 SInt16* charCode, EventModifiers* modifiers,
                                                 ControlKeyFilterUPP userUPP) {
    return userUPP(theControl, keyCode, charCode, modifiers);
}

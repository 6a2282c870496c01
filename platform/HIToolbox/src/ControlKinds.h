// The registry of control kinds. Each kind of control (user pane, push
// button, and those that come later) lives in its own ControlKind_*.cpp and
// describes itself with a ControlKindClass: its kind code, the features its
// controls have, the state it keeps, and a table of the data tags that
// GetControlData and SetControlData dispatch to.
#ifndef HITOOLBOX_SRC_CONTROLKINDS_H
#define HITOOLBOX_SRC_CONTROLKINDS_H

#include <HIToolbox/ControlDefinitions.h>

#include "ControlBehaviour.h"
#include "ControlInternal.h"

#include <cstring>
#include <string>

namespace hit {

struct DataTag {
    ResType tag;
    // nullptr when the tag cannot be read (or written). `buffer` holds
    // `size` bytes; `actual` receives the size of the whole value. A getter
    // called with a null buffer only reports the size, and returns noErr.
    OSStatus (*get)(ControlRef control, ControlPartCode part, Size size, void* buffer,
                    Size* actual);
    OSStatus (*set)(ControlRef control, ControlPartCode part, Size size, const void* data);
};

struct DrawContext; // DrawContext.h

struct ControlKindClass {
    ControlKind kind;
    const char* name; // for dumps and diagnostics
    UInt32 features;  // features every control of the kind has
    const DataTag* tags;
    size_t tag_count;
    // The kind's own state for a new control; nullptr when it keeps none.
    std::unique_ptr<KindState> (*make_state)();
    // The text a person sees on the control, as a new string; nullptr: the title.
    CFStringRef (*copy_text)(ControlRef control);

    // Standard behaviour (ControlBehaviour.h). What a click on a visible,
    // enabled control of the kind changes; it returns the part that was hit,
    // or kControlNoPart when nothing was (no kEventControlHit follows).
    // `choice` is the menu item or tab the click picked, 0 for a plain click.
    // nullptr: `click_part` is hit and nothing changes.
    ControlPartCode (*track)(ControlRef control, MenuItemIndex choice) = nullptr;
    // Whether `choice` can be picked: noErr, menuItemNotFoundErr (no such
    // item or tab) or errControlHiddenOrDisabled (a disabled one); nullptr:
    // the kind offers no choices.
    OSStatus (*check_choice)(ControlRef control, MenuItemIndex choice) = nullptr;
    ControlPartCode click_part = kControlNoPart;
    // The part that gets the keyboard focus when a caller asks for the next
    // or previous part (only controls with kControlSupportsFocus take it);
    // kControlNoPart: part 1.
    ControlPartCode focus_part = kControlNoPart;
    // Called when a control of the kind gains the focus (not by a click).
    void (*took_focus)(ControlRef control) = nullptr;
    // Called when a control of the kind loses the focus.
    void (*lost_focus)(ControlRef control) = nullptr;
    // Standard handling of kEventTextInputUnicodeForKeyEvent sent to a
    // control of the kind; nullptr: the event goes on.
    OSStatus (*text_input)(ControlRef control, EventRef event) = nullptr;
    // Appends the kind's own fields (" sel=0..2") to the control's dump line.
    void (*dump_fields)(ControlRef control, std::string& line) = nullptr;
    // The theme's painter for the kind (one of hit::theme's, ThemePainters.h); it
    // paints the control's look from its state. nullptr: nothing to paint.
    void (*draw)(ControlRef control, DrawContext& context) = nullptr;
    // The theme's measure of the kind: the preferred rectangle with the
    // control's top-left corner, and the text's baseline as an offset from
    // its bottom (0 without text). nullptr: the control's bounds.
    Rect (*best_rect)(ControlRef control, SInt16* baseline_offset) = nullptr;
    // Paints what the control shows on top of every control of its window
    // (an open drop-down list), after the window's controls were drawn.
    void (*draw_overlay)(ControlRef control, DrawContext& context) = nullptr;
    // The choice (as check_choice numbers them) that shows `text`, for scripts that
    // name a choice by its text; 0 when none does. nullptr: the popup menu's items.
    MenuItemIndex (*find_choice)(ControlRef control, const std::string& text) = nullptr;
    // Called after the control's value changed (by a call or a click). nullptr: nothing.
    void (*value_changed)(ControlRef control) = nullptr;
    // Called after a control was embedded in, or moved out of, the control. nullptr: nothing.
    void (*subcontrols_changed)(ControlRef control) = nullptr;
};

// Registers a kind (once, at its first use); a kind already registered under
// the same code is replaced.
void register_control_kind(const ControlKindClass& kind);
// The kind registered under the code, or nullptr.
const ControlKindClass* find_control_kind(const ControlKind& kind);
const DataTag* find_data_tag(const ControlKindClass& kind, ResType tag);
// A tag the kind lacks, sent to the control as kEventControlSetData or
// kEventControlGetData (Control_DataEvents.cpp); errDataNotSupported when no
// handler takes it. `actual` receives the size the handler reports.
OSStatus send_data_event(ControlRef control, UInt32 kind, ControlPartCode part, ResType tag,
                         Size size, const void* buffer, Size* actual);

// The built-in kinds.
const ControlKindClass& user_pane_kind();
const ControlKindClass& push_button_kind();
const ControlKindClass& check_box_kind();
const ControlKindClass& radio_button_kind();
const ControlKindClass& static_text_kind();
const ControlKindClass& edit_text_kind();
const ControlKindClass& edit_unicode_text_kind();
const ControlKindClass& popup_button_kind();
const ControlKindClass& tabs_kind();
const ControlKindClass& group_box_kind();
const ControlKindClass& separator_kind();
const ControlKindClass& combo_box_kind();
const ControlKindClass& radio_group_kind();
// Whether the control is a radio group (whose radio buttons move its value).
bool is_radio_group(ControlRef control);
// Makes `button`, an embedded radio button of `group` just turned on, the group's choice.
void radio_group_button_chosen(ControlRef group, ControlRef button);
// A primary group box (the default) or a secondary one, nested in another.
bool group_box_is_primary(ControlRef control);

// The kind's state of a control, when the control is of that kind.
template <class State> State* kind_state(ControlRef control) {
    return dynamic_cast<State*>(control->state.get());
}

// Creates a control of the kind with a title (copied; may be NULL), range
// and value; disposes of it again when the title cannot be set.
inline OSStatus create_titled_control(WindowRef window, const Rect* bounds,
                                      const ControlKindClass& kind, UInt32 features,
                                      CFStringRef title, SInt32 maximum, SInt32 value,
                                      ControlRef* out) {
    ControlRef control = nullptr;
    OSStatus status = create_control(window, bounds, kind, features, &control);
    if (status != noErr)
        return status;
    SetControl32BitMaximum(control, maximum);
    SetControl32BitValue(control, value);
    if (title != nullptr && (status = SetControlTitleWithCFString(control, title)) != noErr) {
        DisposeControl(control);
        return status;
    }
    *out = control;
    return noErr;
}

// Helpers for tags whose value is one fixed-size record.
template <class T> OSStatus get_fixed(const T& value, Size size, void* buffer, Size* actual) {
    if (actual != nullptr)
        *actual = sizeof(T);
    if (buffer == nullptr)
        return noErr;
    if (size < static_cast<Size>(sizeof(T)))
        return errDataSizeMismatch;
    std::memcpy(buffer, &value, sizeof(T));
    return noErr;
}

template <class T> OSStatus set_fixed(T& value, Size size, const void* data) {
    if (data == nullptr)
        return paramErr;
    if (size != static_cast<Size>(sizeof(T)))
        return errDataSizeMismatch;
    std::memcpy(&value, data, sizeof(T));
    return noErr;
}

// A tag that holds one plain field of a kind's state; setting it repaints the control.
template <class State, class T, T State::*member> struct FieldTag {
    static OSStatus get(ControlRef control, ControlPartCode, Size size, void* buffer,
                        Size* actual) {
        return get_fixed(kind_state<State>(control)->*member, size, buffer, actual);
    }
    static OSStatus set(ControlRef control, ControlPartCode, Size size, const void* data) {
        OSStatus status = set_fixed(kind_state<State>(control)->*member, size, data);
        if (status == noErr)
            changed(control);
        return status;
    }
    static constexpr DataTag entry(ResType tag) { return {tag, &get, &set}; }
};

} // namespace hit

#endif // HITOOLBOX_SRC_CONTROLKINDS_H

// The edit text field: one line of text with a selection, optionally a
// password field that shows bullets, locked against typing, or guarded by a
// key filter. Its typing is in EditText_Typing.cpp.
//
// The text tags of a password field ('text' and 'pass' alike) read and write
// the clear text, so that byte counts (and the key filters that cap them)
// count what was typed; the CFString tag gives what the field shows, and
// kControlEditTextPasswordCFStringTag the clear text.
#include "EditText.h"

#include "ControlBehaviour.h"
#include "Drawing.h"
#include "TextInternal.h"

#include <CoreFoundation/CFString.h>

#include <algorithm>

namespace hit {

void EditTextState::set_text(std::u16string units) {
    if (units.size() > kMaxLength)
        units.resize(kMaxLength);
    text = std::move(units);
    sel_start = sel_end = text.size();
}

void EditTextState::select(long start, long end) {
    const long length = static_cast<long>(text.size());
    start = std::clamp(start, 0L, length);
    end = std::clamp(end, 0L, length);
    sel_start = static_cast<size_t>(std::min(start, end));
    sel_end = static_cast<size_t>(std::max(start, end));
}

bool EditTextState::replace_selection(const std::u16string& units) {
    const size_t room = kMaxLength - (text.size() - (sel_end - sel_start));
    const std::u16string kept = units.substr(0, std::min(units.size(), room));
    if (kept.empty() && !units.empty())
        return false;
    text.replace(sel_start, sel_end - sel_start, kept);
    sel_start = sel_end = sel_start + kept.size();
    return true;
}

std::u16string EditTextState::shown() const {
    return password ? std::u16string(text.size(), u'\u2022') : text;
}

EditTextState& edit_text_state(ControlRef control) {
    return *kind_state<EditTextState>(control);
}

} // namespace hit

namespace {

using hit::EditTextState;

EditTextState& state_of(ControlRef control) {
    return hit::edit_text_state(control);
}

OSStatus set_text_done(ControlRef control, OSStatus status, std::u16string& units) {
    if (status == noErr) {
        state_of(control).set_text(std::move(units));
        hit::changed(control);
    }
    return status;
}

OSStatus get_bytes(ControlRef control, ControlPartCode, Size size, void* buffer, Size* actual) {
    return hit::get_system_bytes(state_of(control).text, size, buffer, actual);
}

OSStatus set_bytes(ControlRef control, ControlPartCode, Size size, const void* data) {
    std::u16string units;
    return set_text_done(control, hit::set_from_system_bytes(size, data, units), units);
}

OSStatus get_shown(ControlRef control, ControlPartCode, Size size, void* buffer, Size* actual) {
    return hit::get_string_ref(state_of(control).shown(), size, buffer, actual);
}

OSStatus get_clear(ControlRef control, ControlPartCode, Size size, void* buffer, Size* actual) {
    return hit::get_string_ref(state_of(control).text, size, buffer, actual);
}

OSStatus set_string(ControlRef control, ControlPartCode, Size size, const void* data) {
    std::u16string units;
    return set_text_done(control, hit::set_from_string_ref(size, data, units), units);
}

OSStatus get_selection(ControlRef control, ControlPartCode, Size size, void* buffer, Size* actual) {
    const EditTextState& state = state_of(control);
    const ControlEditTextSelectionRec selection{static_cast<SInt16>(state.sel_start),
                                                static_cast<SInt16>(state.sel_end)};
    return hit::get_fixed(selection, size, buffer, actual);
}

OSStatus set_selection(ControlRef control, ControlPartCode, Size size, const void* data) {
    ControlEditTextSelectionRec selection{};
    OSStatus status = hit::set_fixed(selection, size, data);
    if (status == noErr) {
        state_of(control).select(selection.selStart, selection.selEnd);
        hit::changed(control);
    }
    return status;
}

OSStatus get_count(ControlRef control, ControlPartCode, Size size, void* buffer, Size* actual) {
    return hit::get_fixed(static_cast<UInt32>(state_of(control).text.size()), size, buffer, actual);
}

template <class T, T EditTextState::*member>
using FieldTag = hit::FieldTag<EditTextState, T, member>;

const hit::DataTag kTags[] = {
    {kControlEditTextTextTag, get_bytes, set_bytes},
    {kControlEditTextPasswordTag, get_bytes, set_bytes},
    {kControlEditTextCFStringTag, get_shown, set_string},
    {kControlEditTextPasswordCFStringTag, get_clear, set_string},
    {kControlEditTextSelectionTag, get_selection, set_selection},
    {kControlEditTextCharCount, get_count, nullptr},
    FieldTag<ControlKeyFilterUPP, &EditTextState::filter>::entry(kControlEditTextKeyFilterTag),
    FieldTag<ControlFontStyleRec, &EditTextState::style>::entry(kControlEditTextStyleTag),
    FieldTag<Boolean, &EditTextState::locked>::entry(kControlEditTextLockedTag),
    FieldTag<Boolean, &EditTextState::single_line>::entry(kControlEditTextSingleLineTag),
};

} // namespace

const hit::DataTag* hit::edit_text_tags(size_t* count) {
    *count = sizeof(kTags) / sizeof(kTags[0]);
    return kTags;
}

namespace {

std::unique_ptr<hit::KindState> make_state() {
    return std::make_unique<EditTextState>();
}

CFStringRef copy_text(ControlRef control) {
    return hit::create_string(state_of(control).shown());
}

// A click puts the caret at the end: there is no pointer position to place it by.
ControlPartCode track(ControlRef control, MenuItemIndex) {
    EditTextState& state = state_of(control);
    state.select(static_cast<long>(state.text.size()), static_cast<long>(state.text.size()));
    hit::changed(control);
    return kControlEditTextPart;
}

// Gaining the focus from the keyboard or a program selects the whole text.
void took_focus(ControlRef control) {
    state_of(control).select(0, static_cast<long>(state_of(control).text.size()));
}

// Text being composed belongs to the field that had the focus; the input method starts again.
void lost_focus(ControlRef control) {
    if (state_of(control).marked.empty())
        return;
    state_of(control).marked.clear();
    hit::changed(control);
}

void dump_fields(ControlRef control, std::string& line) {
    const EditTextState& state = state_of(control);
    line += " sel=" + std::to_string(state.sel_start) + ".." + std::to_string(state.sel_end);
    if (state.password)
        line += " password";
    if (state.locked)
        line += " locked";
    if (!state.marked.empty())
        line += " marked=" + std::to_string(state.marked.size());
}

constexpr UInt32 kFeatures =
    kControlSupportsDataAccess | kControlSupportsFocus | kControlGetsFocusOnClick;

hit::ControlKindClass edit_kind(OSType code, const char* name) {
    return {
        .kind = {kControlKindSignatureApple, code},
        .name = name,
        .features = kFeatures,
        .tags = kTags,
        .tag_count = sizeof(kTags) / sizeof(kTags[0]),
        .make_state = make_state,
        .copy_text = copy_text,
        .track = track,
        .focus_part = kControlEditTextPart,
        .took_focus = took_focus,
        .lost_focus = lost_focus,
        .text_input = hit::edit_text_input,
        .dump_fields = dump_fields,
        .draw = hit::theme::draw_edit_text,
        .best_rect = hit::theme::best_edit_text,
    };
}

OSStatus create(WindowRef window, const Rect* bounds, const hit::ControlKindClass& kind,
                CFStringRef text, Boolean isPassword, Boolean useInlineInput,
                const ControlFontStyleRec* style, ControlRef* outControl) {
    if (text != nullptr && !cf::check_type(text, CFStringGetTypeID(), "CreateEditTextControl"))
        return paramErr;
    ControlRef control = nullptr;
    OSStatus status = hit::create_control(window, bounds, kind, 0, &control);
    if (status != noErr)
        return status;
    EditTextState& state = state_of(control);
    state.set_text(hit::units_of(text));
    state.password = isPassword != 0;
    state.inline_input = useInlineInput != 0;
    if (style != nullptr)
        state.style = *style;
    *outControl = control;
    return noErr;
}

} // namespace

namespace hit {

const ControlKindClass& edit_text_kind() {
    static const ControlKindClass kind = edit_kind(kControlKindEditText, "edit text");
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

const ControlKindClass& edit_unicode_text_kind() {
    static const ControlKindClass kind =
        edit_kind(kControlKindEditUnicodeText, "edit unicode text");
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

} // namespace hit

OSStatus CreateEditTextControl(WindowRef window, const Rect* boundsRect, CFStringRef text,
                               Boolean isPassword, Boolean useInlineInput,
                               const ControlFontStyleRec* style, ControlRef* outControl) {
    return create(window, boundsRect, hit::edit_text_kind(), text, isPassword, useInlineInput,
                  style, outControl);
}

OSStatus CreateEditUnicodeTextControl(WindowRef window, const Rect* boundsRect, CFStringRef text,
                                      Boolean isPassword, const ControlFontStyleRec* style,
                                      ControlRef* outControl) {
    return create(window, boundsRect, hit::edit_unicode_text_kind(), text, isPassword, true, style,
                  outControl);
}

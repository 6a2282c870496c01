// The edit text field's state, shared by its data tags
// (ControlKind_EditText.cpp) and its typing (EditText_Typing.cpp).
#ifndef HITOOLBOX_SRC_EDITTEXT_H
#define HITOOLBOX_SRC_EDITTEXT_H

#include "ControlKinds.h"

#include <string>
#include <vector>

namespace hit {

struct EditTextState : KindState {
    std::u16string text;  // UTF-16 units; a password field's clear text
    size_t sel_start = 0; // offsets into text, sel_start <= sel_end
    size_t sel_end = 0;
    bool password = false;
    bool inline_input = false;
    Boolean locked = false;
    Boolean single_line = true;
    ControlKeyFilterUPP filter = nullptr;
    ControlFontStyleRec style{};
    // Text an input method is composing, shown at the selection (which it would replace)
    // but not yet part of the text; its caret as a UTF-16 offset into it.
    std::u16string marked;
    size_t marked_caret = 0;

    // Offsets are signed 16-bit in the selection record, so text stops there.
    static constexpr size_t kMaxLength = 32767;

    // New text, with the caret after it.
    void set_text(std::u16string units);
    // Sets the selection, clamped to the text and put in order.
    void select(long start, long end);
    // Replaces the selection with `units` (as much as fits) and puts the
    // caret after them; false when nothing could be inserted.
    bool replace_selection(const std::u16string& units);
    // What the field shows: the text, or a bullet per character.
    std::u16string shown() const;
};

EditTextState& edit_text_state(ControlRef control);
// The data tags of an edit text field, shared with the combo box.
const DataTag* edit_text_tags(size_t* count);

// A combo box: an edit text with a list of entries (ControlKind_ComboBox.cpp).
struct ComboBoxState : EditTextState {
    std::vector<std::u16string> items;
    OptionBits attributes = 0;
    bool list_open = false;
};

// Standard typing into the field (kEventTextInputUnicodeForKeyEvent).
OSStatus edit_text_input(ControlRef control, EventRef event);
// A paste: the selection becomes `units`, past the key filter and the
// text-input handlers; a locked field beeps.
OSStatus edit_text_paste(ControlRef control, const std::u16string& units);

} // namespace hit

#endif // HITOOLBOX_SRC_EDITTEXT_H

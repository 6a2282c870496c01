// Scripts of user actions, the first kind of event source: the parsed form
// of a script (docs/scripting.md describes the language) and the parser.
// Script_Play.cpp plays a parsed script through the toolbox.
#ifndef HITOOLBOX_SRC_SCRIPT_H
#define HITOOLBOX_SRC_SCRIPT_H

#include <HIToolbox/Controls.h>

#include <string>
#include <vector>

namespace hit::script {

enum class Verb {
    click,
    choose,
    type,
    key,
    focus,
    answer_alert,
    expect_alert,
    expect_notice,
    expect_value,
    expect_text,
    dump,
    snapshot,
    select,
    keys,
    paste,
    expect_beeps,
    open_list,
};

// A control as a script names it: by control ID, or by its visible text.
struct Target {
    bool by_id = false;
    ControlID id{};
    std::string title;
    std::string spelled; // as written, for messages
};

struct Step {
    int line = 0;
    Verb verb = Verb::click;
    Target control;         // click, choose, type, focus, expect-value, expect-text
    std::string text;       // type, answers and expectations, the item title, file names
    SInt32 number = 0;      // expect-value, the item number of choose
    bool by_number = false; // choose: the item is a number
    UniChar key = 0;        // key
    SInt32 end = 0;         // select: the end of the selection (number is its start)
};

struct Script {
    std::string file;
    std::vector<Step> steps;
};

// True for the steps that are user actions; the others (expectations and
// dumps) run on the way to the next action.
bool is_action(Verb verb);

// Parses a whole script. On the first bad line returns false with `error`
// set to "file:line: what is wrong".
bool parse(const std::string& text, const std::string& file, Script& out, std::string& error);

// Text actions (Script_Text.cpp). Each returns noErr, or a status with
// `message` saying what went wrong.
// select: the field takes the focus, then the units start..end are selected.
OSStatus select_text(WindowRef window, ControlRef field, SInt32 start, SInt32 end,
                     std::string& message);
// keys: types the text into whatever has the focus, key by key.
OSStatus type_keys(WindowRef window, const std::string& text, std::string& message);
// paste: the field takes the focus unless it has it, then the text is pasted
// over its selection.
OSStatus paste_text(WindowRef window, ControlRef field, const std::string& text,
                    std::string& message);
// The entry of a combo box's list whose text is `text` (from 1), or 0; false
// when the control is no combo box.
bool combo_box_item(ControlRef control, const std::string& text, MenuItemIndex& item);
// open-list: a click on a combo box's arrow opens its list, or closes it.
OSStatus toggle_list(ControlRef control, std::string& message);

} // namespace hit::script

#endif // HITOOLBOX_SRC_SCRIPT_H

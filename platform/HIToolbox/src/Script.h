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
    edit,
    scroll,
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
    SInt32 number2 = 0;     // select: the end offset
    UInt32 command = 0;     // edit: the command
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

// The edit command of a word (undo, redo, cut, copy, paste, clear,
// select-all), 0 for another word (Script_Text.cpp).
UInt32 edit_command(const std::string& word);
// Plays select, edit and scroll on a control hosting a text (or, for edit,
// the window's focus): noErr, or a status with `message` set.
OSStatus play_text_step(const Step& step, WindowRef window, ControlRef control,
                        std::string& message);

} // namespace hit::script

#endif // HITOOLBOX_SRC_SCRIPT_H

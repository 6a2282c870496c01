// Playing a script: the script event source. Each call carries out the steps
// up to and including the next user action (expectations and dumps on
// the way), through the same hooks a window system would use.
// Errors name the script's file and line; after one, the source keeps
// failing with its status.
#include "ControlKinds.h"
#include "ModalInternal.h"
#include "Script.h"
#include "TextInternal.h"
#include <CoreFoundation/CFDiagnostics.h>
#include <CoreFoundation/CFHolder.h>

#include <CoreFoundation/PlatformHost.h>
#include <HIToolbox/HIToolbox.h>
#include <CoreServices/PlatformHost.h>
#include <HIToolbox/PlatformHost.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace hit::script {
namespace {

struct Notice {
    std::string header;
    std::string message;
};

class Player {
  public:
    Player(Script script, std::string output)
        : script_(std::move(script)), output_(std::move(output)) {}

    const std::string& name() const { return script_.file; }
    OSStatus perform_next();
    int next_line() const { return next_ < script_.steps.size() ? script_.steps[next_].line : 0; }
    void add_notice(CFStringRef header, CFStringRef message) {
        notices_.push_back({utf8(header), utf8(message)});
    }

  private:
    OSStatus fail(const Step& step, OSStatus status, const std::string& message) {
        cf::report_in_file("HIToolbox", script_.file, step.line, "%s", message.c_str());
        return status;
    }
    OSStatus run(const Step& step);
    OSStatus find(const Step& step, bool acting, WindowRef& window, ControlRef& control);
    OSStatus choose(const Step& step, WindowRef window, ControlRef popup);
    OSStatus type(const Step& step, WindowRef window, ControlRef field);
    OSStatus answer_alert(const Step& step);
    OSStatus command(const Step& step);
    OSStatus expect_alert(const Step& step);
    OSStatus expect_notice(const Step& step);
    OSStatus expect(const Step& step, ControlRef control);
    OSStatus write_output(const Step& step);
    OSStatus write_dump(const Step& step, WindowRef window, const std::string& path);
    OSStatus expect_beeps(const Step& step);
    OSStatus text_action(const Step& step, OSStatus status, const std::string& message) {
        return status == noErr ? noErr : fail(step, status, message);
    }

    Script script_;
    std::string output_;
    size_t next_ = 0;
    OSStatus failed_ = noErr;
    std::deque<Notice> notices_;
    unsigned long beeps_ = PlatformGetBeepCount(); // at the last expect-beeps
};

std::string visible_text(ControlRef control) {
    if (control->kind_class->copy_text == nullptr)
        return utf8(control->title.get());
    cf::Holder<CFStringRef> text(control->kind_class->copy_text(control));
    return utf8(text.get());
}

std::string window_text(WindowRef window) {
    CFStringRef title = nullptr;
    CopyWindowTitleAsCFString(window, &title);
    cf::Holder<CFStringRef> holder(title);
    return quoted(utf8(title));
}

// Depth-first, in embedding order: the controls whose visible text is `title`.
void collect_by_title(ControlRef control, const std::string& title, std::vector<ControlRef>& out) {
    for (ControlRef child : control->children) {
        if (visible_text(child) == title)
            out.push_back(child);
        collect_by_title(child, title, out);
    }
}

OSStatus Player::perform_next() {
    if (failed_ != noErr)
        return failed_;
    while (next_ < script_.steps.size()) {
        // Advance first: the action may run a nested modal loop that plays
        // the following steps before it returns.
        const Step& step = script_.steps[next_++];
        const OSStatus status = run(step);
        if (status != noErr)
            return failed_ = status;
        if (is_action(step.verb))
            return noErr;
    }
    return eofErr;
}

OSStatus Player::find(const Step& step, bool acting, WindowRef& window, ControlRef& control) {
    window = action_window();
    if (window == nullptr)
        return fail(step, errInvalidWindowRef, "no window is open");
    if (acting && !IsWindowVisible(window))
        return fail(step, errControlHiddenOrDisabled,
                    "window " + window_text(window) + " is hidden");
    const Target& target = step.control;
    control = nullptr;
    if (target.by_id) {
        GetControlByID(window, &target.id, &control);
    } else {
        ControlRef root = nullptr;
        std::vector<ControlRef> found;
        if (GetRootControl(window, &root) == noErr)
            collect_by_title(root, target.title, found);
        for (ControlRef c : found) // the first one a user can reach, else the first
            if (control == nullptr || (IsControlVisible(c) && IsControlEnabled(c) &&
                                       !(IsControlVisible(control) && IsControlEnabled(control))))
                control = c;
    }
    if (control == nullptr)
        return fail(step, errUnknownControl,
                    "no control " + target.spelled + " in window " + window_text(window));
    if (acting && !IsControlVisible(control))
        return fail(step, errControlHiddenOrDisabled, "control " + target.spelled + " is hidden");
    if (acting && !IsControlEnabled(control))
        return fail(step, errControlHiddenOrDisabled, "control " + target.spelled + " is disabled");
    return noErr;
}

OSStatus Player::run(const Step& step) {
    WindowRef window = nullptr;
    ControlRef control = nullptr;
    OSStatus status = noErr;
    std::string message;
    switch (step.verb) {
    case Verb::answer_alert:
        return answer_alert(step);
    case Verb::expect_alert:
        return expect_alert(step);
    case Verb::expect_notice:
        return expect_notice(step);
    case Verb::dump:
    case Verb::snapshot:
        return write_output(step);
    case Verb::command:
        return command(step);
    case Verb::expect_beeps:
        return expect_beeps(step);
    case Verb::keys:
        if ((window = action_window()) == nullptr)
            return fail(step, errInvalidWindowRef, "no window is open");
        return text_action(step, type_keys(window, step.text, message), message);
    case Verb::key:
        window = action_window();
        if (window == nullptr)
            return fail(step, errInvalidWindowRef, "no window is open");
        status = PlatformTypeKey(window, step.key, 0);
        return status == noErr || status == eventNotHandledErr
                   ? noErr
                   : fail(step, status, "the key was refused (" + std::to_string(status) + ")");
    default:
        break;
    }
    const bool acting = is_action(step.verb);
    if (step.verb == Verb::edit) { // for the focus, not a named control
        window = action_window();
        if (window == nullptr)
            return fail(step, errInvalidWindowRef, "no window is open");
    } else if ((status = find(step, acting, window, control)) != noErr) {
        return status;
    }
    if (step.verb == Verb::edit || step.verb == Verb::scroll ||
        (step.verb == Verb::select && hosts_text_view(window, control))) {
        std::string text_message;
        status = play_text_view_step(step, window, control, text_message);
        return status == noErr ? noErr : fail(step, status, text_message);
    }
    switch (step.verb) {
    case Verb::click:
        status = PlatformClickControl(control);
        break;
    case Verb::choose:
        return choose(step, window, control);
    case Verb::type:
        return type(step, window, control);
    case Verb::focus:
        status = SetKeyboardFocus(window, control, kControlFocusNextPart);
        break;
    case Verb::select:
        status = select_text(window, control, step.number, step.end, message);
        return text_action(step, status, message);
    case Verb::paste:
        return text_action(step, paste_text(window, control, step.text, message), message);
    case Verb::open_list:
        return text_action(step, toggle_list(control, message), message);
    default:
        return expect(step, control);
    }
    if (status == noErr || status == eventNotHandledErr)
        return noErr;
    return fail(step, status, "the control refused the action (" + std::to_string(status) + ")");
}

OSStatus Player::choose(const Step& step, WindowRef, ControlRef popup) {
    MenuItemIndex item = 0;
    if (step.by_number) {
        item = static_cast<MenuItemIndex>(step.number);
    } else if (combo_box_item(popup, step.text, item)) {
        if (item == 0)
            // A combo box's entries may be codes typed before: the text is not repeated.
            return fail(step, menuItemNotFoundErr, "no such entry in " + step.control.spelled);
    } else if (popup->kind_class->find_choice != nullptr) {
        item = popup->kind_class->find_choice(popup, step.text);
    } else {
        MenuRef menu = nullptr;
        GetControlData(popup, kControlEntireControl, kControlPopupButtonMenuRefTag, sizeof(menu),
                       &menu, nullptr);
        const UInt16 count = menu != nullptr ? CountMenuItems(menu) : 0;
        for (UInt16 i = 1; i <= count && item == 0; ++i) {
            CFStringRef text = nullptr;
            if (CopyMenuItemTextAsCFString(menu, i, &text) == noErr) {
                cf::Holder<CFStringRef> holder(text);
                if (utf8(text) == step.text)
                    item = i;
            }
        }
    }
    if (!step.by_number && item == 0)
        return fail(step, menuItemNotFoundErr,
                    "no item " + quoted(step.text) + " in " + step.control.spelled);
    const OSStatus status = PlatformChoosePopupItem(popup, item);
    if (status == noErr || status == eventNotHandledErr)
        return noErr;
    return fail(step, status,
                "cannot choose item " + step.text + " of " + step.control.spelled + " (" +
                    std::to_string(status) + ")");
}

OSStatus Player::type(const Step& step, WindowRef window, ControlRef field) {
    ControlRef focus = nullptr;
    SetKeyboardFocus(window, field, kControlFocusNextPart);
    GetKeyboardFocus(window, &focus);
    if (focus != field)
        return fail(step, errCouldntSetFocus, step.control.spelled + " does not take the focus");
    // A field that had the focus already keeps its caret: select all, so the typing replaces.
    const ControlEditTextSelectionRec all = {0, 32767};
    SetControlData(field, kControlEntireControl, kControlEditTextSelectionTag, sizeof(all), &all);
    cf::Holder<CFStringRef> text(create_utf8_string(step.text));
    const OSStatus status = PlatformTypeText(window, text.get());
    return status == noErr ? noErr
                           : fail(step, status, "typing failed (" + std::to_string(status) + ")");
}

// A command as a menu item would send it: to the window user actions go to.
OSStatus Player::command(const Step& step) {
    WindowRef window = action_window();
    if (window == nullptr)
        return fail(step, errInvalidWindowRef, "no window is open");
    HICommand command{kHICommandFromMenu, step.command, {}};
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, GetCurrentEventTime(),
                    kEventAttributeNone, &event) != noErr)
        return fail(step, memFullErr, "no memory for the command");
    SetEventParameter(event, kEventParamDirectObject, typeHICommand, sizeof(command), &command);
    const OSStatus status = SendEventToEventTarget(event, GetWindowEventTarget(window));
    ReleaseEvent(event);
    if (status == noErr)
        return noErr;
    return fail(step, status,
                "no one handled the command " + quoted(step.text) + " (" + std::to_string(status) +
                    ")");
}

OSStatus Player::answer_alert(const Step& step) {
    WindowRef window = action_window();
    std::string message, explanation;
    if (window == nullptr || !alert_texts(window, message, explanation))
        return fail(step, errInvalidWindowRef,
                    "no alert is up" + (window != nullptr
                                            ? " (the front window is " + window_text(window) + ")"
                                            : std::string()));
    ControlRef root = nullptr;
    std::vector<ControlRef> found;
    GetRootControl(window, &root);
    collect_by_title(root, step.text, found);
    for (ControlRef button : found)
        if (button->kind_class == &push_button_kind() && IsControlVisible(button)) {
            const OSStatus status = PlatformClickControl(button);
            return status == noErr || status == eventNotHandledErr
                       ? noErr
                       : fail(step, status, "the button refused the click");
        }
    return fail(step, errUnknownControl, "the alert has no button " + quoted(step.text));
}

OSStatus Player::expect_alert(const Step& step) {
    WindowRef window = action_window();
    std::string message, explanation;
    if (window == nullptr || !alert_texts(window, message, explanation))
        return fail(step, paramErr,
                    "expected an alert saying " + quoted(step.text) + "; none is up");
    if (message == step.text || explanation == step.text)
        return noErr;
    return fail(step, paramErr,
                "expected an alert saying " + quoted(step.text) + "; it says " + quoted(message) +
                    (explanation.empty() ? "" : " / " + quoted(explanation)));
}

OSStatus Player::expect_notice(const Step& step) {
    if (notices_.empty())
        return fail(step, paramErr,
                    "expected a notice saying " + quoted(step.text) + "; none came");
    const Notice notice = notices_.front();
    notices_.pop_front();
    if (notice.header == step.text || notice.message == step.text)
        return noErr;
    return fail(step, paramErr,
                "expected a notice saying " + quoted(step.text) + "; it said " +
                    quoted(notice.header) + " / " + quoted(notice.message));
}

OSStatus Player::expect(const Step& step, ControlRef control) {
    if (step.verb == Verb::expect_value) {
        const SInt32 value = GetControl32BitValue(control);
        if (value == step.number)
            return noErr;
        return fail(step, paramErr,
                    step.control.spelled + " has the value " + std::to_string(value) + ", not " +
                        std::to_string(step.number));
    }
    const std::string text = visible_text(control);
    if (text == step.text)
        return noErr;
    // A field may hold an accounting code, and so may the text the script expects in it.
    if (control->kind_class == &edit_text_kind() ||
        control->kind_class == &edit_unicode_text_kind())
        return fail(step, paramErr,
                    step.control.spelled + " does not show the text expected (a field's text is "
                                           "not repeated: it may hold a code)");
    return fail(step, paramErr,
                step.control.spelled + " shows " + quoted(text) + ", not " + quoted(step.text));
}

OSStatus Player::expect_beeps(const Step& step) {
    const unsigned long now = PlatformGetBeepCount(), beeps = now - beeps_;
    beeps_ = now;
    if (beeps == static_cast<unsigned long>(step.number))
        return noErr;
    return fail(step, paramErr,
                std::to_string(beeps) + " beeps since the last count, not " +
                    std::to_string(step.number));
}

OSStatus Player::write_output(const Step& step) {
    WindowRef window = action_window();
    if (window == nullptr)
        return fail(step, errInvalidWindowRef, "no window is open");
    std::string path = output_.empty() ? step.text : output_ + "/" + step.text;
    OSStatus status = noErr;
    if (step.verb == Verb::snapshot)
        status = PlatformWriteWindowPNG(window, path.c_str());
    else
        return write_dump(step, window, path);
    return status == noErr
               ? noErr
               : fail(step, status, "cannot write " + path + " (" + std::to_string(status) + ")");
}

// A dump shows what fields hold, codes too: it is written like a ticket, mode 0600, as a new
// file renamed into place and never through a symbolic link.
OSStatus Player::write_dump(const Step& step, WindowRef window, const std::string& path) {
    char* text = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    if (out == nullptr)
        return fail(step, memFullErr, "cannot write " + path + " (out of memory)");
    OSStatus status = PlatformWriteWindowDump(window, out);
    std::fclose(out);
    int error = status == noErr
                    ? PlatformWriteFileAtomically(path.c_str(), reinterpret_cast<UInt8*>(text),
                                                  static_cast<CFIndex>(size), 0600)
                    : 0;
    std::free(text);
    if (status != noErr)
        return fail(step, status, "cannot write " + path + " (" + std::to_string(status) + ")");
    if (error == 0)
        return noErr;
    return fail(step, ioErr,
                "cannot write " + path + ": " +
                    (error == ELOOP ? "it is a symbolic link" : std::strerror(error)));
}

OSStatus perform(void* info) {
    return static_cast<Player*>(info)->perform_next();
}

void notice(void* info, CFOptionFlags, CFStringRef header, CFStringRef message) {
    static_cast<Player*>(info)->add_notice(header, message);
}

void release(void* info) {
    delete static_cast<Player*>(info);
}

} // namespace
} // namespace hit::script

int PlatformScriptEventSourceNextLine(const PlatformEventSource* source) {
    if (source == nullptr || source->performNextAction != hit::script::perform ||
        source->info == nullptr)
        return 0;
    return static_cast<const hit::script::Player*>(source->info)->next_line();
}

OSStatus PlatformCreateScriptEventSource(const char* scriptPath, const char* outputFolder,
                                         PlatformEventSource* outSource) {
    if (scriptPath == nullptr || outSource == nullptr)
        return paramErr;
    struct stat info {};
    if (stat(scriptPath, &info) != 0) {
        const int error = errno;
        cf::report_in_file("PlatformCreateScriptEventSource", scriptPath, 0,
                           "the script cannot be read: %s", std::strerror(error));
        return error == ENOENT || error == ENOTDIR ? fnfErr : permErr;
    }
    if (!S_ISREG(info.st_mode)) {
        cf::report_in_file("PlatformCreateScriptEventSource", scriptPath, 0, "%s",
                           S_ISDIR(info.st_mode) ? "a folder, not a script" : "not a regular file");
        return paramErr;
    }
    std::ifstream in(scriptPath, std::ios::binary);
    if (!in) {
        cf::report_in_file("PlatformCreateScriptEventSource", scriptPath, 0,
                           "the script cannot be read: %s", std::strerror(errno));
        return permErr;
    }
    std::ostringstream text;
    text << in.rdbuf();
    hit::script::Script script;
    std::string error;
    if (!hit::script::parse(text.str(), scriptPath, script, error)) {
        cf::report(__func__, "%s", error.c_str()); // the parser's error starts "script:line: "
        return paramErr;
    }
    auto* player = new hit::script::Player(std::move(script), outputFolder ? outputFolder : "");
    *outSource = PlatformEventSource{player->name().c_str(), player, hit::script::perform,
                                     hit::script::notice, hit::script::release};
    return noErr;
}

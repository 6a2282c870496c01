// Playing a script: the script event source. Each call carries out the steps
// up to and including the next user action (expectations and dumps on
// the way), through the same hooks a window system would use.
// Errors name the script's file and line; after one, the source keeps
// failing with its status.
#include "CFHolder.h"
#include "ControlKinds.h"
#include "ModalInternal.h"
#include "Script.h"
#include "TextInternal.h"

#include <HIToolbox/HIToolbox.h>
#include <CoreServices/PlatformHost.h>
#include <HIToolbox/PlatformHost.h>

#include <cstdio>
#include <deque>
#include <fstream>
#include <sstream>

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
    void add_notice(CFStringRef header, CFStringRef message) {
        notices_.push_back({utf8(header), utf8(message)});
    }

  private:
    OSStatus fail(const Step& step, OSStatus status, const std::string& message) {
        std::fprintf(stderr, "%s:%d: %s\n", script_.file.c_str(), step.line, message.c_str());
        return status;
    }
    OSStatus run(const Step& step);
    OSStatus find(const Step& step, bool acting, WindowRef& window, ControlRef& control);
    OSStatus choose(const Step& step, WindowRef window, ControlRef popup);
    OSStatus type(const Step& step, WindowRef window, ControlRef field);
    OSStatus answer_alert(const Step& step);
    OSStatus expect_alert(const Step& step);
    OSStatus expect_notice(const Step& step);
    OSStatus expect(const Step& step, ControlRef control);
    OSStatus write_output(const Step& step);
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
        return utf8(control->title);
    CFHolder<CFStringRef> text(control->kind_class->copy_text(control));
    return utf8(text.get());
}

std::string window_text(WindowRef window) {
    CFStringRef title = nullptr;
    CopyWindowTitleAsCFString(window, &title);
    CFHolder<CFStringRef> holder(title);
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
    if ((status = find(step, acting, window, control)) != noErr)
        return status;
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
            return fail(step, menuItemNotFoundErr,
                        "no entry " + quoted(step.text) + " in " + step.control.spelled);
    } else {
        MenuRef menu = nullptr;
        GetControlData(popup, kControlEntireControl, kControlPopupButtonMenuRefTag, sizeof(menu),
                       &menu, nullptr);
        const UInt16 count = menu != nullptr ? CountMenuItems(menu) : 0;
        for (UInt16 i = 1; i <= count && item == 0; ++i) {
            CFStringRef text = nullptr;
            if (CopyMenuItemTextAsCFString(menu, i, &text) == noErr) {
                CFHolder<CFStringRef> holder(text);
                if (utf8(text) == step.text)
                    item = i;
            }
        }
        if (item == 0)
            return fail(step, menuItemNotFoundErr,
                        "no item " + quoted(step.text) + " in " + step.control.spelled);
    }
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
    CFHolder<CFStringRef> text(create_utf8_string(step.text));
    const OSStatus status = PlatformTypeText(window, text.get());
    return status == noErr ? noErr
                           : fail(step, status, "typing failed (" + std::to_string(status) + ")");
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
    else if (FILE* out = std::fopen(path.c_str(), "w")) {
        status = PlatformWriteWindowDump(window, out);
        if (std::fclose(out) != 0 && status == noErr)
            status = ioErr;
    } else {
        status = ioErr;
    }
    return status == noErr
               ? noErr
               : fail(step, status, "cannot write " + path + " (" + std::to_string(status) + ")");
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

OSStatus PlatformCreateScriptEventSource(const char* scriptPath, const char* outputFolder,
                                         PlatformEventSource* outSource) {
    if (scriptPath == nullptr || outSource == nullptr)
        return paramErr;
    std::ifstream in(scriptPath, std::ios::binary);
    if (!in)
        return fnfErr;
    std::ostringstream text;
    text << in.rdbuf();
    hit::script::Script script;
    std::string error;
    if (!hit::script::parse(text.str(), scriptPath, script, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return paramErr;
    }
    auto* player = new hit::script::Player(std::move(script), outputFolder ? outputFolder : "");
    *outSource = PlatformEventSource{player->name().c_str(), player, hit::script::perform,
                                     hit::script::notice, hit::script::release};
    return noErr;
}

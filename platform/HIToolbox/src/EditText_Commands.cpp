// The edit commands of an edit text field with the focus: Cut, Copy,
// Paste, Clear and Select All through the process's scrap, and their menu
// items' status. A password field neither cuts nor copies (its text must
// not leave it); a locked field only copies. Pasted text keeps to one
// paragraph in a single-line field.
#include "EditText.h"
#include "ScrapInternal.h"

#include <HIToolbox/Menus.h>
#include <HIToolbox/Scrap.h>

#include <CoreServices/OSUtils.h>

namespace {

bool is_edit_text(ControlRef control) {
    return control->kind_class == &hit::edit_text_kind() ||
           control->kind_class == &hit::edit_unicode_text_kind();
}

HICommand command_of(EventRef event) {
    HICommand command{};
    GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof(command),
                      nullptr, &command);
    return command;
}

// The field the command is for: the focused edit text the event is at.
ControlRef field_of(EventTargetRef target) {
    auto* control = static_cast<ControlRef>(target->owner);
    if (!is_edit_text(control) || control->owner == nullptr || control->owner->focus != control)
        return nullptr;
    return control;
}

std::u16string selected(const hit::EditTextState& s) {
    return s.text.substr(s.sel_start, s.sel_end - s.sel_start);
}

// Whether the command can act now; false also for commands the field lacks.
bool can(const hit::EditTextState& s, UInt32 command, bool* known) {
    *known = true;
    const bool has_selection = s.sel_start != s.sel_end;
    switch (command) {
    case kHICommandCopy:
        return has_selection && !s.password;
    case kHICommandCut:
        return has_selection && !s.password && !s.locked;
    case kHICommandClear:
        return has_selection && !s.locked;
    case kHICommandPaste: {
        std::u16string text;
        return !s.locked && hit::scrap_copy_text(&text);
    }
    case kHICommandSelectAll:
        return !s.text.empty();
    default:
        *known = false;
        return false;
    }
}

OSStatus process(EventHandlerCallRef, EventRef event, EventTargetRef target) {
    ControlRef field = field_of(target);
    if (field == nullptr)
        return eventNotHandledErr;
    hit::EditTextState& s = hit::edit_text_state(field);
    const UInt32 command = command_of(event).commandID;
    bool known = false;
    if (!can(s, command, &known)) {
        if (known)
            SysBeep(1);
        return known ? OSStatus{noErr} : OSStatus{eventNotHandledErr};
    }
    if (command == kHICommandCopy || command == kHICommandCut) {
        ClearCurrentScrap();
        hit::scrap_put_text(selected(s));
    }
    if (command == kHICommandCut || command == kHICommandClear)
        s.replace_selection(u"");
    if (command == kHICommandPaste) {
        std::u16string text;
        hit::scrap_copy_text(&text);
        if (s.single_line)
            text = text.substr(0, text.find_first_of(u"\r\n"));
        if (!s.replace_selection(text))
            SysBeep(1);
    }
    if (command == kHICommandSelectAll)
        s.select(0, static_cast<long>(s.text.size()));
    hit::changed(field);
    return noErr;
}

OSStatus update_status(EventHandlerCallRef, EventRef event, EventTargetRef target) {
    ControlRef field = field_of(target);
    const HICommand command = command_of(event);
    if (field == nullptr || (command.attributes & kHICommandFromMenu) == 0)
        return eventNotHandledErr;
    bool known = false;
    const bool enable = can(hit::edit_text_state(field), command.commandID, &known);
    if (!known)
        return eventNotHandledErr;
    if (enable) {
        EnableMenuItem(command.menu.menuRef, 0);
        EnableMenuItem(command.menu.menuRef, command.menu.menuItemIndex);
    } else {
        DisableMenuItem(command.menu.menuRef, command.menu.menuItemIndex);
    }
    return noErr;
}

[[maybe_unused]] const bool kRegistered = [] {
    hit::register_standard_handler(hit::TargetKind::control, kEventClassCommand,
                                   kEventCommandProcess, process);
    hit::register_standard_handler(hit::TargetKind::control, kEventClassCommand,
                                   kEventCommandUpdateStatus, update_status);
    return true;
}();

} // namespace

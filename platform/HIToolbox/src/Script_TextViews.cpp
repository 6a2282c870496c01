// The script steps on text views: selecting in one, the Edit menu's
// commands (chosen from an Edit menu of the script's own, so that their
// status is updated first, as a menu bar would), and scrolling.
#include "Script.h"
#include "ControlInternal.h"
#include "TXNInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

namespace hit::script {
namespace {

struct EditItem {
    const char* word;
    UInt32 command;
};
constexpr EditItem kEditItems[] = {
    {"undo", kHICommandUndo},
    {"redo", kHICommandRedo},
    {"cut", kHICommandCut},
    {"copy", kHICommandCopy},
    {"paste", kHICommandPaste},
    {"clear", kHICommandClear},
    {"select-all", kHICommandSelectAll},
};

// The Edit menu the script chooses from; made once, kept for the process.
MenuRef edit_menu() {
    static MenuRef menu = [] {
        MenuRef m = nullptr;
        CreateNewMenu(0, 0, &m);
        for (const EditItem& item : kEditItems) {
            const cf::Holder<CFStringRef> title(
                CFStringCreateWithCString(nullptr, item.word, kCFStringEncodingUTF8));
            AppendMenuItemTextWithCFString(m, title.get(), 0, item.command, nullptr);
        }
        return m;
    }();
    return menu;
}

} // namespace

UInt32 edit_command(const std::string& word) {
    for (const EditItem& item : kEditItems)
        if (word == item.word)
            return item.command;
    return 0;
}

bool hosts_text_view(WindowRef window, ControlRef control) {
    return control != nullptr && txn::hosted_in(window, control->bounds) != nullptr;
}

OSStatus play_text_view_step(const Step& step, WindowRef window, ControlRef control,
                             std::string& message) {
    if (step.verb == Verb::edit) {
        MenuRef menu = edit_menu();
        MenuItemIndex item = 0;
        GetIndMenuItemWithCommandID(menu, step.command, 1, nullptr, &item);
        const OSStatus status = PlatformChooseMenuCommand(window, menu, item);
        if (status == errControlHiddenOrDisabled)
            message = "the Edit menu's command is disabled here";
        else if (status != noErr && status != eventNotHandledErr)
            message = "nothing took the Edit menu's command (" + std::to_string(status) + ")";
        return status == eventNotHandledErr ? OSStatus{noErr} : status;
    }
    OpaqueTXNObject* text = txn::hosted_in(window, control->bounds);
    if (text == nullptr) {
        message = step.control.spelled + " holds no text view";
        return errUnknownControl;
    }
    if (step.verb == Verb::scroll) {
        txn::scroll_lines(text, step.number);
        return noErr;
    }
    if (step.number < 0 || step.end < step.number) {
        message = "the selection must run forwards from 0";
        return paramErr;
    }
    TXNSetSelection(text, static_cast<TXNOffset>(step.number), static_cast<TXNOffset>(step.end));
    TXNShowSelection(text, kTXNShowStart);
    return noErr;
}

} // namespace hit::script

// The script's text actions: selecting part of a field's text, typing at the
// focus, pasting. Each goes through the calls a window system would use.
#include "Script.h"
#include "TextInternal.h"

#include <CoreFoundation/CFHolder.h>

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

namespace hit::script {
namespace {

// Puts the focus in the field unless it is there already (which would
// select the whole text again).
OSStatus focus_field(WindowRef window, ControlRef field, std::string& message) {
    ControlRef focus = nullptr;
    GetKeyboardFocus(window, &focus);
    if (focus != field) {
        SetKeyboardFocus(window, field, kControlFocusNextPart);
        GetKeyboardFocus(window, &focus);
    }
    if (focus == field)
        return noErr;
    message = "the control does not take the focus";
    return errCouldntSetFocus;
}

} // namespace

OSStatus select_text(WindowRef window, ControlRef field, SInt32 start, SInt32 end,
                     std::string& message) {
    OSStatus status = focus_field(window, field, message);
    if (status != noErr)
        return status;
    CFStringRef text = nullptr;
    if (GetControlData(field, kControlEditTextPart, kControlEditTextCFStringTag, sizeof(text),
                       &text, nullptr) != noErr) {
        message = "the control has no text to select";
        return errDataNotSupported;
    }
    const CFIndex length = CFStringGetLength(cf::Holder<CFStringRef>(text).get());
    if (start < 0 || end < start || end > length) {
        message = "cannot select " + std::to_string(start) + ".." + std::to_string(end) +
                  " of a text of " + std::to_string(length);
        return paramErr;
    }
    const ControlEditTextSelectionRec selection{static_cast<SInt16>(start),
                                                static_cast<SInt16>(end)};
    status = SetControlData(field, kControlEditTextPart, kControlEditTextSelectionTag,
                            sizeof(selection), &selection);
    if (status != noErr)
        message = "the control refused the selection (" + std::to_string(status) + ")";
    return status;
}

OSStatus type_keys(WindowRef window, const std::string& text, std::string& message) {
    cf::Holder<CFStringRef> string(create_utf8_string(text));
    const OSStatus status = PlatformTypeText(window, string.get());
    if (status != noErr)
        message = "typing failed (" + std::to_string(status) + ")";
    return status;
}

OSStatus paste_text(WindowRef window, ControlRef field, const std::string& text,
                    std::string& message) {
    OSStatus status = focus_field(window, field, message);
    if (status != noErr)
        return status;
    cf::Holder<CFStringRef> string(create_utf8_string(text));
    status = PlatformPasteText(window, string.get());
    if (status != noErr)
        message = "the control cannot take a paste (" + std::to_string(status) + ")";
    return status;
}

bool combo_box_item(ControlRef control, const std::string& text, MenuItemIndex& item) {
    ControlKind kind{};
    if (GetControlKind(control, &kind) != noErr || kind.kind != kControlKindHIComboBox)
        return false;
    item = 0;
    const ItemCount count = HIComboBoxGetItemCount(control);
    for (ItemCount i = 0; i < count && item == 0; ++i) {
        CFStringRef entry = nullptr;
        if (HIComboBoxCopyTextItemAtIndex(control, static_cast<CFIndex>(i), &entry) == noErr) {
            cf::Holder<CFStringRef> holder(entry);
            if (utf8(entry) == text)
                item = static_cast<MenuItemIndex>(i + 1);
        }
    }
    return true;
}

OSStatus toggle_list(ControlRef control, std::string& message) {
    MenuItemIndex unused = 0;
    if (!combo_box_item(control, "", unused)) {
        message = "the control is no combo box";
        return errUnknownControl;
    }
    return HIComboBoxSetListVisible(control, !HIComboBoxIsListVisible(control));
}

} // namespace hit::script

// Standard alerts: a window with the message, the explanation and the
// buttons, registered with its texts so a script can read and answer it, and
// run in an application-modal loop until a button is pressed.
#include "ModalInternal.h"
#include "TextInternal.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <HIToolbox/HIToolbox.h>

#include <CoreFoundation/CFRuntime.h>

#include <algorithm>
#include <cstdio>
#include <string>

struct OpaqueDialogPtr : cf::Object {
    WindowRef window = nullptr;
    DialogItemIndex item_hit = 0;
};

namespace {

constexpr OSType kAlertItemSignature = 'alrt';
constexpr SInt16 kAlertWidth = 420, kMargin = 20, kButtonHeight = 20, kButtonWidth = 90;

void finalize_dialog(CFTypeRef object) {
    auto* dialog = static_cast<OpaqueDialogPtr*>(const_cast<void*>(object));
    if (dialog->window != nullptr) {
        hit::unregister_alert(dialog->window);
        DisposeWindow(dialog->window);
    }
    cf::destroy<OpaqueDialogPtr>(object);
}

const cf::ClassDescriptor kDialogClass = {"DialogRef", finalize_dialog, nullptr, nullptr, nullptr};

CFTypeID dialog_type_id() {
    static CFTypeID id = cf::register_class(&kDialogClass);
    return id;
}

// Adds a wrapped text of the alert below `top`; returns the text's bottom.
SInt16 add_text(WindowRef window, CFStringRef text, SInt16 top) {
    const SInt16 width = kAlertWidth - 2 * kMargin;
    Rect bounds{top, kMargin, static_cast<SInt16>(top + 16), static_cast<SInt16>(kMargin + width)};
    ControlRef control = nullptr;
    CreateStaticTextControl(window, &bounds, text, nullptr, &control);
    Rect best{};
    GetBestControlRect(control, &best, nullptr);
    const SInt16 line = std::max<SInt16>(16, best.bottom - best.top);
    const int lines = std::max(1, (best.right - best.left + width - 1) / width);
    bounds.bottom = static_cast<SInt16>(top + line * lines);
    SetControlBounds(control, &bounds);
    return bounds.bottom;
}

// The title a parameter asks for: its own, the system's, or none (NULL).
CFStringRef button_title(CFStringRef given, CFStringRef system_title) {
    if (given == kAlertDefaultOKText) // the three "default text" markers are one value
        return system_title;
    return given;
}

// Adds the buttons right to left; each carries its item number as its ID.
void add_buttons(WindowRef window, const AlertStdCFStringAlertParamRec& param, SInt16 top) {
    struct Button {
        DialogItemIndex item;
        CFStringRef title;
    };
    const Button buttons[] = {
        {kAlertStdAlertOKButton, button_title(param.defaultText, CFSTR("OK"))},
        {kAlertStdAlertCancelButton, button_title(param.cancelText, CFSTR("Cancel"))},
        {kAlertStdAlertOtherButton, button_title(param.otherText, CFSTR("Don't Save"))},
        {kAlertStdAlertHelpButton, param.helpButton ? CFSTR("Help") : nullptr},
    };
    SInt16 right = kAlertWidth - kMargin;
    for (const Button& button : buttons) {
        if (button.title == nullptr)
            continue;
        const Rect bounds{top, static_cast<SInt16>(right - kButtonWidth),
                          static_cast<SInt16>(top + kButtonHeight), right};
        right = static_cast<SInt16>(right - kButtonWidth - 12);
        ControlRef control = nullptr;
        if (CreatePushButtonControl(window, &bounds, button.title, &control) != noErr)
            continue;
        const ControlID id{kAlertItemSignature, button.item};
        SetControlID(control, &id);
        if (button.item == param.defaultButton)
            SetWindowDefaultButton(window, control);
        if (button.item == param.cancelButton)
            SetWindowCancelButton(window, control);
    }
}

OSStatus on_button(EventHandlerCallRef, EventRef event, void* info) {
    auto* dialog = static_cast<OpaqueDialogPtr*>(info);
    ControlRef control = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof(control),
                      nullptr, &control);
    ControlID id{};
    if (control == nullptr || GetControlID(control, &id) != noErr ||
        id.signature != kAlertItemSignature)
        return eventNotHandledErr;
    dialog->item_hit = static_cast<DialogItemIndex>(id.id);
    QuitAppModalLoopForWindow(dialog->window);
    return noErr;
}

} // namespace

OSStatus GetStandardAlertDefaultParams(AlertStdCFStringAlertParamPtr param, UInt32 version) {
    if (param == nullptr || version != kStdCFStringAlertVersionOne)
        return paramErr;
    *param = AlertStdCFStringAlertParamRec{};
    param->version = version;
    param->movable = true;
    param->defaultText = kAlertDefaultOKText;
    param->defaultButton = kAlertStdAlertOKButton;
    param->position = kWindowAlertPositionParentWindowScreen;
    return noErr;
}

OSStatus CreateStandardAlert(AlertType, CFStringRef error, CFStringRef explanation,
                             const AlertStdCFStringAlertParamRec* param, DialogRef* outAlert) {
    if (error == nullptr || outAlert == nullptr)
        return paramErr;
    *outAlert = nullptr;
    AlertStdCFStringAlertParamRec defaults{};
    GetStandardAlertDefaultParams(&defaults, kStdCFStringAlertVersionOne);
    const AlertStdCFStringAlertParamRec& p = param != nullptr ? *param : defaults;

    const Rect bounds{200, 300, 320, static_cast<SInt16>(300 + kAlertWidth)};
    WindowRef window = nullptr;
    OSStatus status = CreateNewWindow(p.movable ? kMovableAlertWindowClass : kAlertWindowClass,
                                      kWindowStandardHandlerAttribute, &bounds, &window);
    if (status != noErr)
        return status;
    SInt16 bottom = add_text(window, error, kMargin);
    if (explanation != nullptr)
        bottom = add_text(window, explanation, static_cast<SInt16>(bottom + 8));
    add_buttons(window, p, static_cast<SInt16>(bottom + kMargin));
    Rect content{};
    GetWindowBounds(window, kWindowContentRgn, &content);
    content.bottom = static_cast<SInt16>(content.top + bottom + 2 * kMargin + kButtonHeight);
    SetWindowBounds(window, kWindowContentRgn, &content);

    auto* dialog = cf::create<OpaqueDialogPtr>(nullptr, dialog_type_id());
    dialog->window = window;
    const EventTypeSpec hit{kEventClassControl, kEventControlHit};
    InstallEventHandler(GetWindowEventTarget(window), on_button, 1, &hit, dialog, nullptr);
    hit::register_alert(window, hit::utf8(error),
                        explanation != nullptr ? hit::utf8(explanation) : std::string());
    *outAlert = dialog;
    return noErr;
}

OSStatus RunStandardAlert(DialogRef inAlert, ModalFilterUPP, DialogItemIndex* outItemHit) {
    if (!cf::check_type(inAlert, dialog_type_id(), __func__))
        return paramErr;
    if (outItemHit != nullptr)
        *outItemHit = 0;
    // As a notice does, the alert also says its piece on standard error, so that a run
    // without a display, or its log, still tells why.
    std::string message, explanation;
    hit::alert_texts(inAlert->window, message, explanation);
    cf::report("Alert", "%s%s%s", message.c_str(), explanation.empty() ? "" : ": ",
               explanation.c_str());
    ShowWindow(inAlert->window);
    const OSStatus status = hit::run_modal_loop(
        inAlert->window, "RunStandardAlert(\"" + hit::alert_message(inAlert->window) + "\")", {});
    if (outItemHit != nullptr)
        *outItemHit = inAlert->item_hit;
    CFRelease(inAlert); // disposes of the window
    return status;
}

WindowRef GetDialogWindow(DialogRef dialog) {
    return cf::check_type(dialog, dialog_type_id(), __func__) ? dialog->window : nullptr;
}

// RunModalAccountingDialog: the prompt dialog, or the check of the default codes.
#include "AccountingPrompt.h"

#include "AccountingControls.h"
#include "AccountingEvents.h"
#include "LocalizedText.h"

#include <CoreFoundation/CFHolder.h>
#include <cstring>
#include <initializer_list>

namespace {

const EventTypeSpec kDialogEvents[] = {{kEventClassControl, kEventControlHit},
                                       {kEventClassKeyboard, kEventRawKeyUp},
                                       {kEventClassCommand, kEventCommandProcess}};

cf::Holder<CFStringRef> localized(AccountingContext* context, CFStringRef key) {
    return cf::Holder<CFStringRef>(
        CFBundleCopyLocalizedString(context->bundle, key, CFSTR("STRING NOT FOUND"), nullptr));
}

// Whether a default code is there: the panel's field wins when it exists, and a non-empty
// field is stored as the default code; otherwise the stored code counts.
bool default_code_present(ControlRef field, char* store) {
    // NULL: the panel was never built
    const cf::Holder<CFStringRef> text(CopyAccountingFieldText(field));
    if (!text)
        return store[0] != '\0';
    const CFIndex length = CFStringGetLength(text.get());
    if (length > 0) {
        // Pasted text may not fit: the store keeps the whole characters that do.
        CFIndex used = 0;
        CFStringGetBytes(text.get(), CFRangeMake(0, length), CFStringGetSystemEncoding(), 0, false,
                         reinterpret_cast<UInt8*>(store), kAccountingCodeSize - 1, &used);
        store[used] = '\0';
    }
    return length > 0;
}

OSStatus check_default_codes(AccountingContext* context) {
    // A Cancel in an earlier prompt does not hold up a print with the default codes.
    context->dialogCancelled = 0;
    // "Default Group Account" needs no account ID. Both fields are looked at (and stored)
    // before either absence stops the print.
    bool typed = context->accountType != kAccountTypeDefaultGroup;
    bool userPresent = default_code_present(context->userIDField, context->defaultUserID);
    bool accountPresent =
        !typed || default_code_present(context->accountIDField, context->defaultAccountID);
    if (userPresent && accountPresent) {
        CopyAccountingCode(context->jobUserID, context->defaultUserID);
        if (typed)
            CopyAccountingCode(context->jobAccountID, context->defaultAccountID);
        return eventNotHandledErr;
    }
    // The notice does not wait for the user; the print is stopped and the dialog stays open.
    const auto header = localized(context, CFSTR("Accounting"));
    const auto message = localized(context, CFSTR("Bad Default Codes Message"));
    CFUserNotificationDisplayNotice(0, kCFUserNotificationStopAlertLevel, nullptr, nullptr, nullptr,
                                    header.get(), message.get(), nullptr);
    return noErr;
}

CFStringRef window_name(const AccountingContext* context) {
    bool tallyset = context->accountingSystem == kAccountingTallyset;
    if (context->auxiliaryInterface == 1)
        return tallyset ? CFSTR("FDI Tallyset") : CFSTR("FDI");
    return tallyset ? CFSTR("Tallyset") : CFSTR("Accounting");
}

using Text = AccountingControlText;
using C = AccountingContext;

// The dialog's controls, set up from tables in the order the dialog is built. The ID fields
// are set up between them, by set_up_field.
const AccountingControl kCodeLabels[] = {
    {kPromptUserIDLabelID, nullptr, Text::staticText, "User ID", kFitFillWidth},
    {kPromptAccountIDLabelID, nullptr, Text::staticText, "Account ID", kFitFillWidth},
};
// The Tallyset system's account type.
const AccountingControl kAccountTypeControls[] = {
    {kPromptAccountTypeLabelID, nullptr, Text::staticText, "Account Type:", kFitFillWidth},
    {kPromptAccountTypePopupID, nullptr, Text::popup, nullptr, 0, AccountingTypeMap,
     &C::accountType},
};
// The Tallyset system with the auxiliary interface: where the codes are entered.
const AccountingControl kEntryChoiceControls[] = {
    {kPromptEnterAtDeviceRadioID, &C::enterAtDeviceRadio, Text::title, "Enter at Device",
     kFitFillWidth},
    {kPromptAuxInfoNoteID, &C::auxInfoNote, Text::staticText, "Aux Info Note", kFitFillWidth},
    {kPromptEnterNowRadioID, &C::enterNowRadio, Text::title, "Enter Now", kFitFillWidth},
};
// The push buttons keep their right edges: Cancel moves left by as much as OK grew.
const AccountingControl kButtons[] = {
    {kPromptOKButtonID, nullptr, Text::button, "OK Command", kFitKeepRight},
    {kPromptCancelButtonID, nullptr, Text::button, "Cancel Command", kFitKeepRight},
};

bool masked(const AccountingContext* context, SInt32 mask) {
    return mask != 0 && context->promptForEveryJob != 0;
}

// Gives an ID field its first text: the panel's non-empty field, else the stored default
// (read as UTF-8; text that is not gives the field nothing). A masked field is replaced by a
// password field in its place, with its font style and its ID. Returns whether the text came
// from the panel.
bool set_up_field(AccountingContext* context, SInt32 id, SInt32 hiddenID, ControlRef panelField,
                  const char* stored, bool isMasked) {
    ControlRef field = FindAccountingControl(context->dialogWindow, id);
    cf::Holder<CFStringRef> held(CopyAccountingFieldText(panelField));
    const bool fromPanel = held && CFStringGetLength(held.get()) > 0;
    if (!fromPanel)
        held.reset(CFStringCreateWithCString(nullptr, stored, kCFStringEncodingUTF8));
    CFStringRef text = held.get();
    if (field != nullptr && isMasked) {
        Rect bounds;
        GetControlBounds(field, &bounds);
        ControlFontStyleRec style;
        std::memset(&style, 0, sizeof style);
        GetControlData(field, kControlEntireControl, kControlFontStyleTag, sizeof style, &style,
                       nullptr);
        ControlID hidden = {kAccountingControlSignature, hiddenID};
        SetControlID(field, &hidden);
        HideControl(field);
        ControlRef password = nullptr;
        if (CreateEditTextControl(context->dialogWindow, &bounds, CFSTR(""), true, false, &style,
                                  &password) == noErr) {
            ControlID visible = {kAccountingControlSignature, id};
            SetControlID(password, &visible);
            if (text != nullptr)
                SetControlData(password, kControlEntireControl, kControlEditTextPasswordCFStringTag,
                               sizeof text, &text);
        }
    } else if (field != nullptr && text != nullptr) {
        SetControlData(field, kControlEntireControl, kControlEditTextCFStringTag, sizeof text,
                       &text);
    }
    return fromPanel;
}

// Builds the dialog's texts and states; returns whether both IDs came from the panel.
bool set_up_dialog(AccountingContext* context) {
    WindowRef dialog = context->dialogWindow;
    SetUpAccountingControls(context, dialog, kCodeLabels);
    bool userFromPanel = set_up_field(context, kPromptUserIDFieldID, kPromptHiddenUserIDFieldID,
                                      context->userIDField, context->defaultUserID,
                                      masked(context, context->maskUserID));
    bool accountFromPanel = set_up_field(
        context, kPromptAccountIDFieldID, kPromptHiddenAccountIDFieldID, context->accountIDField,
        context->defaultAccountID, masked(context, context->maskAccountID));
    if (context->accountingSystem == kAccountingTallyset) {
        SetUpAccountingControls(context, dialog, kAccountTypeControls);
        if (context->auxiliaryInterface == 1) {
            SetUpAccountingControls(context, dialog, kEntryChoiceControls);
            setAccountingPromptControls(context);
        }
    }
    SetLocalizedWindowTitle(context->bundle, CFSTR("Accounting"), dialog);
    SetUpAccountingControls(context, dialog, kButtons);
    return userFromPanel && accountFromPanel;
}

void set_initial_states(AccountingContext* context, bool bothFromPanel,
                        ControlKeyFilterUPP filter) {
    ControlRef ok = FindAccountingControl(context->dialogWindow, kPromptOKButtonID);
    if (context->accountingSystem == kAccountingTallyset) {
        DisableControl(FindAccountingControl(context->dialogWindow, kPromptAccountIDFieldID));
        DisableControl(FindAccountingControl(context->dialogWindow, kPromptAccountIDLabelID));
    }
    if (context->auxiliaryInterface == 0 ||
        (context->auxiliaryInterface == 1 && context->accountingSystem == kAccountingTallyset &&
         context->enterAtDevice == 0)) {
        SetKeyboardFocus(context->dialogWindow,
                         FindAccountingControl(context->dialogWindow, kPromptUserIDFieldID),
                         kControlFocusNextPart);
        DisableControl(ok);
    }
    if (bothFromPanel)
        EnableControl(ok);
    for (SInt32 id : {kPromptUserIDFieldID, kPromptAccountIDFieldID})
        SetAccountingKeyFilter(FindAccountingControl(context->dialogWindow, id), filter);
}

// Reads what the user typed: the whole characters of the first gMaxChars bytes, ended right
// after the bytes kept.
void read_code(AccountingContext* context, SInt32 id, SInt32 mask, char* store) {
    ResType tag = masked(context, mask) ? kControlEditTextPasswordTag : kControlEditTextTextTag;
    const auto limit = static_cast<size_t>(gMaxChars > 0 ? gMaxChars : 0);
    if (!ReadAccountingCode(FindAccountingControl(context->dialogWindow, id), tag, limit, store))
        store[0] = '\0';
}

void close_dialog(AccountingContext* context, ControlKeyFilterUPP filter) {
    DisposeControlKeyFilterUPP(filter);
    DisposeWindow(context->dialogWindow);
    context->dialogWindow = nullptr;
    context->enterAtDeviceRadio = nullptr;
    context->auxInfoNote = nullptr;
    context->enterNowRadio = nullptr;
}

// The stop alert that says the job was not printed for want of codes.
void show_cancel_alert(AccountingContext* context) {
    const auto message = localized(context, CFSTR("Cancel Alert"));
    DialogRef alert = nullptr;
    if (CreateStandardAlert(kAlertStopAlert, message.get(), nullptr, nullptr, &alert) == noErr) {
        DialogItemIndex item = 0;
        RunStandardAlert(alert, nullptr, &item);
    }
}

OSStatus run_dialog(AccountingContext* context) {
    IBNibRef nib = nullptr;
    OSStatus status = CreateNibReferenceWithCFBundle(context->bundle, CFSTR("Accounting"), &nib);
    if (status != noErr)
        return status;
    status = CreateWindowFromNib(nib, window_name(context), &context->dialogWindow);
    DisposeNibReference(nib);
    if (status != noErr) {
        context->dialogWindow = nullptr;
        return status;
    }
    context->enterAtDeviceRadio = context->auxInfoNote = context->enterNowRadio = nullptr;
    InstallEventHandler(GetWindowEventTarget(context->dialogWindow),
                        NewEventHandlerUPP(AccountingDialogEventHandler),
                        GetEventTypeCount(kDialogEvents), kDialogEvents, context, nullptr);
    bool bothFromPanel = set_up_dialog(context);
    ControlKeyFilterUPP filter = NewControlKeyFilterUPP(accountKeyFilter);
    set_initial_states(context, bothFromPanel, filter);

    ShowWindow(context->dialogWindow);
    context->dialogAnswered = 0;
    status = RunAppModalLoopForWindow(context->dialogWindow);
    if (!context->dialogAnswered) {
        // The loop ended without the person's answer (no one to ask, or the window went): no
        // codes were entered, so the print stops and the alert says so.
        close_dialog(context, filter);
        show_cancel_alert(context);
        return status != noErr ? status : userCanceledErr;
    }
    if (!context->dialogCancelled) {
        if (context->enterAtDevice != 0) {
            context->accountingSystem = kAccountingNone;
        } else {
            read_code(context, kPromptUserIDFieldID, context->maskUserID, context->jobUserID);
            read_code(context, kPromptAccountIDFieldID, context->maskAccountID,
                      context->jobAccountID);
        }
        close_dialog(context, filter);
        return eventNotHandledErr;
    }
    close_dialog(context, filter);
    show_cancel_alert(context);
    return status;
}

} // namespace

OSStatus RunModalAccountingDialog(AccountingContext* context) {
    if (context == nullptr)
        return paramErr;
    if (context->promptForEveryJob != 0 || context->auxiliaryInterface == 1)
        return run_dialog(context);
    return check_default_codes(context);
}

// The prompt dialog's control states and its event handler.
#include "AccountingPrompt.h"

#include "AccountingControls.h"
#include "AccountingEvents.h"
#include "HelpHelpers.h"

#include <CoreFoundation/CFHolder.h>
#include <initializer_list>

namespace {

void enable(AccountingContext* context, std::initializer_list<SInt32> ids, bool enabled) {
    for (SInt32 id : ids)
        if (ControlRef c = FindAccountingControl(context->dialogWindow, id))
            enabled ? EnableControl(c) : DisableControl(c);
}

void enable_control(ControlRef control, bool enabled) {
    if (control != nullptr)
        enabled ? EnableControl(control) : DisableControl(control);
}

void set_value(ControlRef control, SInt32 value) {
    if (control != nullptr)
        SetControl32BitValue(control, value);
}

// True when the field holds at least one character.
bool has_text(AccountingContext* context, SInt32 id) {
    const cf::Holder<CFStringRef> text(
        CopyAccountingFieldText(FindAccountingControl(context->dialogWindow, id)));
    return text && CFStringGetLength(text.get()) > 0;
}

bool codes_entered_at_device(const AccountingContext* context) {
    return context->auxiliaryInterface != 0 && context->enterAtDevice != 0;
}

void tallyset_states(AccountingContext* context) {
    if (codes_entered_at_device(context)) {
        set_value(context->enterAtDeviceRadio, 1);
        set_value(context->enterNowRadio, 0);
        enable_control(context->auxInfoNote, true);
        enable(context,
               {kPromptUserIDLabelID, kPromptUserIDFieldID, kPromptAccountIDLabelID,
                kPromptAccountIDFieldID, kPromptAccountTypeLabelID, kPromptAccountTypePopupID},
               false);
        enable(context, {kPromptOKButtonID}, true);
        return;
    }
    set_value(context->enterAtDeviceRadio, 0);
    set_value(context->enterNowRadio, 1);
    enable_control(context->auxInfoNote, false);
    enable(context, {kPromptUserIDLabelID, kPromptUserIDFieldID}, true);
    enable(context, {kPromptAccountIDLabelID, kPromptAccountIDFieldID},
           context->accountType != kAccountTypeDefaultGroup);
    enable(context, {kPromptAccountTypeLabelID, kPromptAccountTypePopupID}, true);
}

} // namespace

void setAccountingPromptControls(AccountingContext* context) {
    if (context == nullptr)
        return;
    if (context->accountingSystem == kAccountingTallyset)
        tallyset_states(context);
    bool okEnabled = true;
    if (!codes_entered_at_device(context)) {
        // "Default Group Account" needs no account ID; "Accounting Enabled" always does.
        bool needsAccountID = context->accountingSystem == kAccountingEnabled ||
                              (context->accountingSystem == kAccountingTallyset &&
                               (context->accountType == kAccountTypeGeneral ||
                                context->accountType == kAccountTypeGroup));
        okEnabled = has_text(context, kPromptUserIDFieldID) &&
                    (!needsAccountID || has_text(context, kPromptAccountIDFieldID));
    }
    enable(context, {kPromptOKButtonID}, okEnabled);
}

OSStatus AccountingDialogEventHandler(EventHandlerCallRef, EventRef event, void* userData) {
    auto* context = static_cast<AccountingContext*>(userData);
    if (context == nullptr)
        return eventNotHandledErr;
    UInt32 eventClass = GetEventClass(event);
    UInt32 kind = GetEventKind(event);
    if (eventClass == kEventClassCommand && kind == kEventCommandProcess) {
        if (GetAccountingEventCommand(event).commandID == kHelpButtonCommand)
            return DisplayHelp(context->helpBookRef, kAccountingHelpPage, nullptr);
        return eventNotHandledErr;
    }
    if (eventClass == kEventClassKeyboard && kind == kEventRawKeyUp) {
        setAccountingPromptControls(context);
        return eventNotHandledErr;
    }
    if (eventClass != kEventClassControl || kind != kEventControlHit)
        return eventNotHandledErr;
    ControlRef control = GetAccountingEventControl(event);
    ControlID id = {0, 0};
    GetControlID(control, &id);
    if (id.signature != kAccountingControlSignature)
        return eventNotHandledErr;
    switch (id.id) {
    case kPromptOKButtonID:
    case kPromptCancelButtonID:
        context->dialogCancelled = id.id == kPromptCancelButtonID;
        context->dialogAnswered = 1;
        QuitAppModalLoopForWindow(context->dialogWindow);
        break;
    case kPromptAccountTypePopupID:
        context->accountType = GetPopupButtonTicketValue(control);
        setAccountingPromptControls(context);
        break;
    case kPromptEnterAtDeviceRadioID:
    case kPromptEnterNowRadioID:
        context->enterAtDevice = id.id == kPromptEnterAtDeviceRadioID;
        setAccountingPromptControls(context);
        break;
    default:
        break;
    }
    return eventNotHandledErr;
}

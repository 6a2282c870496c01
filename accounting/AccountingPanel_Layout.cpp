// setControls: the one place where control states are derived from the settings.
#include "AccountingPanel.h"

#include "AccountingControls.h"

#include <initializer_list>
#include <utility>

namespace {

ControlRef control(AccountingContext* context, SInt32 id) {
    return FindAccountingControl(context->window, id);
}

void show(AccountingContext* context, std::initializer_list<SInt32> ids, bool visible) {
    for (SInt32 id : ids)
        if (ControlRef c = control(context, id))
            SetControlVisibility(c, visible, true);
}

void enable(AccountingContext* context, std::initializer_list<SInt32> ids, bool enabled) {
    for (SInt32 id : ids)
        if (ControlRef c = control(context, id))
            enabled ? EnableControl(c) : DisableControl(c);
}

void set_value(AccountingContext* context, SInt32 id, SInt32 value) {
    if (ControlRef c = control(context, id))
        SetControl32BitValue(c, value);
}

bool holds_rect(const Rect& saved) {
    return saved.top != 0;
}

// Each move hides the control, gives it its new bounds and shows it again.
void move_to(ControlRef c, const Rect& bounds) {
    SetControlVisibility(c, false, true);
    SetControlBounds(c, &bounds);
    SetControlVisibility(c, true, true);
}

void erase_bounds(ControlRef c) {
    if (c == nullptr)
        return;
    Rect bounds;
    GetControlBounds(c, &bounds);
    EraseRect(&bounds);
}

// "Accounting Enabled": the account ID row takes the place of the hidden account type row.
void move_account_row_up(AccountingContext* context) {
    ControlRef typeLabel = control(context, kAccountTypeLabelID);
    ControlRef label = control(context, kAccountIDLabelID);
    ControlRef field = control(context, kAccountIDFieldID);
    if (typeLabel == nullptr || label == nullptr || field == nullptr)
        return;
    Rect typeBounds, bounds;
    GetControlBounds(typeLabel, &typeBounds);
    if (!holds_rect(context->accountLabelSavedBounds)) {
        GetControlBounds(label, &bounds);
        context->accountLabelSavedBounds = bounds;
        auto height = static_cast<short>(bounds.bottom - bounds.top);
        bounds.top = typeBounds.top;
        bounds.bottom = static_cast<short>(bounds.top + height);
        move_to(label, bounds);
    }
    if (!holds_rect(context->accountFieldSavedBounds)) {
        GetControlBounds(field, &bounds);
        context->accountFieldSavedBounds = bounds;
        Rect labelBounds;
        GetControlBounds(label, &labelBounds);
        auto height = static_cast<short>(bounds.bottom - bounds.top);
        bounds.top = static_cast<short>(labelBounds.bottom + kAccountFieldGap);
        bounds.bottom = static_cast<short>(bounds.top + height);
        move_to(field, bounds);
    }
}

// The Tallyset system: the row goes back to the place the nib gives it.
void restore_account_row(AccountingContext* context) {
    if (holds_rect(context->accountLabelSavedBounds)) {
        if (ControlRef label = control(context, kAccountIDLabelID))
            move_to(label, context->accountLabelSavedBounds);
        context->accountLabelSavedBounds.top = 0;
    }
    if (holds_rect(context->accountFieldSavedBounds)) {
        if (ControlRef field = control(context, kAccountIDFieldID))
            move_to(field, context->accountFieldSavedBounds);
        context->accountFieldSavedBounds.top = 0;
    }
}

void layout_for_system(AccountingContext* context) {
    switch (context->accountingSystem) {
    case kAccountingNone:
        show(context,
             {kPromptRadioID, kDefaultCodesRadioID, kUserIDFieldID, kUserIDLabelID,
              kAccountIDFieldID, kAccountIDLabelID, kMaskUserIDCheckID, kMaskAccountIDCheckID,
              kAccountTypePopupID, kAccountTypeLabelID, kAuxiliaryInterfaceCheckID},
             false);
        show(context, {kNoAccountingTextID}, true);
        // The pair stays at its moved place; only the pixels it left are cleared.
        if (holds_rect(context->accountLabelSavedBounds))
            erase_bounds(control(context, kAccountIDLabelID));
        if (holds_rect(context->accountFieldSavedBounds))
            erase_bounds(control(context, kAccountIDFieldID));
        return;
    case kAccountingTallyset:
    case kAccountingEnabled:
        show(context,
             {kPromptRadioID, kDefaultCodesRadioID, kUserIDFieldID, kUserIDLabelID,
              kAccountIDFieldID, kAccountIDLabelID, kMaskUserIDCheckID, kMaskAccountIDCheckID},
             true);
        show(context, {kNoAccountingTextID}, false);
        if (context->accountingSystem == kAccountingEnabled) {
            show(context, {kAccountTypeLabelID, kAccountTypePopupID, kAuxiliaryInterfaceCheckID},
                 false);
            move_account_row_up(context);
            gMaxChars = kEnabledCodeBytes;
        } else {
            restore_account_row(context);
            show(context, {kAccountTypePopupID, kAccountTypeLabelID, kAuxiliaryInterfaceCheckID},
                 true);
            gMaxChars = kTallysetCodeBytes;
        }
        return;
    default:
        return; // only a ticket brings other values; nothing to show for them
    }
}

void states_for_prompt(AccountingContext* context) {
    if (context->promptForEveryJob != 0) {
        set_value(context, kPromptRadioID, 1);
        set_value(context, kDefaultCodesRadioID, 0);
        enable(context, {kUserIDFieldID, kUserIDLabelID, kAccountIDFieldID, kAccountIDLabelID},
               false);
        context->accountType = kAccountTypeDefaultGroup;
        if (ControlRef popup = control(context, kAccountTypePopupID))
            SetPopupButtonToTicketValue(popup, kAccountTypeDefaultGroup);
        enable(context, {kAccountTypePopupID, kAccountTypeLabelID}, false);
        for (auto [id, value] : {std::pair{kMaskUserIDCheckID, context->maskUserID},
                                 std::pair{kMaskAccountIDCheckID, context->maskAccountID}}) {
            if (ControlRef check = control(context, id)) {
                SetControl32BitValue(check, value);
                EnableControl(check);
                Draw1Control(check);
            }
        }
        return;
    }
    set_value(context, kPromptRadioID, 0);
    set_value(context, kDefaultCodesRadioID, 1);
    enable(context, {kUserIDFieldID, kUserIDLabelID}, true);
    if (context->accountingSystem == kAccountingTallyset &&
        context->accountType == kAccountTypeDefaultGroup) {
        enable(context, {kAccountIDFieldID, kAccountIDLabelID}, false);
    } else {
        enable(context, {kAccountIDFieldID, kAccountIDLabelID}, true);
        if (ControlRef field = control(context, kAccountIDFieldID))
            Draw1Control(field);
    }
    enable(context, {kAccountTypePopupID, kAccountTypeLabelID}, true);
    enable(context, {kMaskUserIDCheckID, kMaskAccountIDCheckID}, false);
}

} // namespace

void setControls(AccountingContext* context) {
    if (context == nullptr)
        return;
    if (context->accountingImage != nullptr)
        Draw1Control(context->accountingImage);
    layout_for_system(context);
    if (context->accountingSystem != kAccountingNone)
        states_for_prompt(context);
}

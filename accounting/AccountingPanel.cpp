// InitializeWindow: finding, localising and sizing the panel's controls.
#include "AccountingPanel.h"

#include "AccountingControls.h"
#include "AccountingEvents.h"

namespace {

using Text = AccountingControlText;
using C = AccountingContext;

// The panel's controls in the order they are set up. The accounting system label is held only
// while it is set up.
const AccountingControl kPanelControls[] = {
    {kAccountingSystemLabelID, nullptr, Text::staticText, "Accounting System", kFitFillWidth},
    {kNoAccountingTextID, &C::noAccountingText, Text::staticText, "No Accounting Message",
     kFitFillWidthKeepTop},
    {kAccountingPopupID, &C::accountingPopup, Text::popup, nullptr, 0, AccountingMap,
     &C::accountingSystem},
    {kAccountingImageID, &C::accountingImage, Text::none, nullptr, 0},
    {kPromptRadioID, &C::promptRadio, Text::title, "Prompt for Every Job", kFitFillWidth},
    {kMaskUserIDCheckID, &C::maskUserIDCheck, Text::title, "Mask User ID", kFitFillWidth},
    {kMaskAccountIDCheckID, &C::maskAccountIDCheck, Text::title, "Mask Account ID", kFitFillWidth},
    {kDefaultCodesRadioID, &C::defaultCodesRadio, Text::title, "Use Default Accounting Codes",
     kFitFillWidth},
    {kUserIDLabelID, &C::userIDLabel, Text::staticText, "Default User ID:", kFitFillWidth},
    {kUserIDFieldID, &C::userIDField, Text::none, nullptr, 0},
    {kAccountIDLabelID, &C::accountIDLabel, Text::staticText, "Default Account ID:", kFitFillWidth},
    {kAccountIDFieldID, &C::accountIDField, Text::none, nullptr, 0},
    {kAccountTypeLabelID, &C::accountTypeLabel, Text::staticText,
     "Default Account Type:", kFitFillWidth},
    {kAccountTypePopupID, &C::accountTypePopup, Text::popup, nullptr, 0, AccountingTypeMap,
     &C::accountType},
    {kAuxiliaryInterfaceCheckID, &C::auxiliaryInterfaceCheck, Text::title,
     "Auxiliary Accounting Interface", kFitFillWidth},
};

const EventTypeSpec kDrawEvent[] = {{kEventClassControl, kEventControlDraw}};

} // namespace

void InitializeWindow(AccountingContext* context) {
    if (context == nullptr)
        return;
    SetUpAccountingControls(context, context->window, kPanelControls);
    // The handler lives as long as the pane; its reference is not kept.
    if (context->accountingImage != nullptr)
        InstallEventHandler(GetControlEventTarget(context->accountingImage),
                            NewEventHandlerUPP(AccountingDrawEventHandler),
                            GetEventTypeCount(kDrawEvent), kDrawEvent, context, nullptr);
}

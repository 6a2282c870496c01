// InitializeWindow: finding, localising and sizing the panel's controls.
#include "AccountingPanel.h"

#include "AccountingEvents.h"
#include "ControlLayout.h"
#include "LocalizedText.h"
#include "SettingMaps.h"

namespace {

enum class TextKind { none, staticText, title, popup };

// The panel's controls in the order they are set up, with where each is kept, its text and
// the options its size is fitted with.
struct PanelControl {
    SInt32 id;
    ControlRef AccountingContext::*field; // nullptr: held only while it is set up
    TextKind text;
    const char* key;
    UInt32 sizing;
};

const PanelControl kPanelControls[] = {
    {kAccountingSystemLabelID, nullptr, TextKind::staticText, "Accounting System", 3},
    {kNoAccountingTextID, &AccountingContext::noAccountingText, TextKind::staticText,
     "No Accounting Message", 7},
    {kAccountingPopupID, &AccountingContext::accountingPopup, TextKind::popup, nullptr, 0},
    {kAccountingImageID, &AccountingContext::accountingImage, TextKind::none, nullptr, 0},
    {kPromptRadioID, &AccountingContext::promptRadio, TextKind::title, "Prompt for Every Job", 3},
    {kMaskUserIDCheckID, &AccountingContext::maskUserIDCheck, TextKind::title, "Mask User ID", 3},
    {kMaskAccountIDCheckID, &AccountingContext::maskAccountIDCheck, TextKind::title,
     "Mask Account ID", 3},
    {kDefaultCodesRadioID, &AccountingContext::defaultCodesRadio, TextKind::title,
     "Use Default Accounting Codes", 3},
    {kUserIDLabelID, &AccountingContext::userIDLabel, TextKind::staticText, "Default User ID:", 3},
    {kUserIDFieldID, &AccountingContext::userIDField, TextKind::none, nullptr, 0},
    {kAccountIDLabelID, &AccountingContext::accountIDLabel, TextKind::staticText,
     "Default Account ID:", 3},
    {kAccountIDFieldID, &AccountingContext::accountIDField, TextKind::none, nullptr, 0},
    {kAccountTypeLabelID, &AccountingContext::accountTypeLabel, TextKind::staticText,
     "Default Account Type:", 3},
    {kAccountTypePopupID, &AccountingContext::accountTypePopup, TextKind::popup, nullptr, 0},
    {kAuxiliaryInterfaceCheckID, &AccountingContext::auxiliaryInterfaceCheck, TextKind::title,
     "Auxiliary Accounting Interface", 3},
};

void localise(AccountingContext* context, const PanelControl& row, ControlRef control) {
    if (row.key == nullptr)
        return;
    CFStringRef key = CFStringCreateWithCString(nullptr, row.key, kCFStringEncodingUTF8);
    if (row.text == TextKind::staticText)
        SetLocalizedStaticText(context->bundle, key, control);
    else
        SetLocalizedControlTitle(context->bundle, key, control);
    CFRelease(key);
    SetControlBestRect(control, row.sizing, nullptr, nullptr);
}

const EventTypeSpec kDrawEvent[] = {{kEventClassControl, kEventControlDraw}};

} // namespace

ControlRef FindAccountingControl(WindowRef window, SInt32 id) {
    if (window == nullptr)
        return nullptr;
    ControlID controlID = {kAccountingControlSignature, id};
    ControlRef control = nullptr;
    return GetControlByID(window, &controlID, &control) == noErr ? control : nullptr;
}

void InitializeWindow(AccountingContext* context) {
    if (context == nullptr)
        return;
    for (const PanelControl& row : kPanelControls) {
        ControlRef control = FindAccountingControl(context->window, row.id);
        if (row.field != nullptr)
            context->*row.field = control;
        if (control != nullptr)
            localise(context, row, control);
    }
    if (context->accountingPopup != nullptr) {
        PopulatePopupButtonFromMap(context->bundle, context->accountingPopup, AccountingMap, 0, 0);
        SetPopupButtonToTicketValue(context->accountingPopup, context->accountingSystem);
    }
    if (context->accountTypePopup != nullptr) {
        PopulatePopupButtonFromMap(context->bundle, context->accountTypePopup, AccountingTypeMap, 0,
                                   0);
        SetPopupButtonToTicketValue(context->accountTypePopup, context->accountType);
    }
    // The handler lives as long as the pane; its reference is not kept.
    if (context->accountingImage != nullptr)
        InstallEventHandler(GetControlEventTarget(context->accountingImage),
                            NewEventHandlerUPP(AccountingDrawEventHandler),
                            GetEventTypeCount(kDrawEvent), kDrawEvent, context, nullptr);
}

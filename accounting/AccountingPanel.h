/*
 * AccountingPanel.h: the panel's look and the agreement of its controls with the settings.
 */
#ifndef ACCOUNTING_ACCOUNTINGPANEL_H
#define ACCOUNTING_ACCOUNTINGPANEL_H

#include "AccountingContext.h"

CF_EXTERN_C_BEGIN

/* Control IDs of the panel (signature "TVKa"). */
enum {
    kPanelPaneID = 50,
    kAccountingSystemLabelID = 100,
    kAccountingPopupID = 101,
    kAccountingImageID = 102,
    kNoAccountingTextID = 103,
    kPromptRadioID = 110,
    kMaskUserIDCheckID = 111,
    kMaskAccountIDCheckID = 112,
    kDefaultCodesRadioID = 120,
    kUserIDLabelID = 121,
    kUserIDFieldID = 122,
    kAccountTypeLabelID = 123,
    kAccountTypePopupID = 124,
    kAccountIDLabelID = 125,
    kAccountIDFieldID = 126,
    kAuxiliaryInterfaceCheckID = 127
};

/* Bytes kept of each code read back from the prompt (gMaxChars), by accounting system. */
enum { kTallysetCodeBytes = 12, kEnabledCodeBytes = 64 };

/* Under "Accounting Enabled" the account ID field stands this far below its moved label. */
enum { kAccountFieldGap = 8 };

/* Finds the panel's controls in the context's window, keeps them in the context, gives them
   their localised texts and sizes, fills the two popups and hooks the image pane to its draw
   handler. Called on the first Open, once the panel is embedded. */
CF_EXPORT void InitializeWindow(AccountingContext* context);

/* Derives which controls are visible, enabled and on from the settings, moves the account ID
   row under "Accounting Enabled", and sets gMaxChars. Without controls (before the first
   Open) only its effects on data take place. */
CF_EXPORT void setControls(AccountingContext* context);

CF_EXTERN_C_END

#endif /* ACCOUNTING_ACCOUNTINGPANEL_H */

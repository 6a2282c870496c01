/*
 * AccountingPrompt.h: asking for the job's accounting codes when the user prints, or checking
 * the default codes when no question is to be asked.
 */
#ifndef ACCOUNTING_ACCOUNTINGPROMPT_H
#define ACCOUNTING_ACCOUNTINGPROMPT_H

#include "AccountingContext.h"

CF_EXTERN_C_BEGIN

/* Control IDs of the prompt dialog (signature "TVKa"). */
enum {
    kPromptOKButtonID = 1,
    kPromptCancelButtonID = 2,
    kPromptUserIDLabelID = 500,
    kPromptUserIDFieldID = 501,
    kPromptAccountIDLabelID = 502,
    kPromptAccountIDFieldID = 503,
    kPromptAccountTypeLabelID = 504,
    kPromptAccountTypePopupID = 505,
    kPromptEnterAtDeviceRadioID = 600,
    kPromptAuxInfoNoteID = 601,
    kPromptEnterNowRadioID = 602,
    kPromptHiddenUserIDFieldID = 9998,
    kPromptHiddenAccountIDFieldID = 9999
};

/* With prompting (or the auxiliary interface): runs the modal prompt dialog and stores what
   the user confirmed as the job's codes. Otherwise: checks that the default codes are there
   and copies them as the job's codes, or shows a notice; this path clears dialogCancelled
   first. Returns eventNotHandledErr when the print may go ahead (only after the dialog's OK);
   noErr after the notice; after Cancel (and its alert) the modal loop's status with
   dialogCancelled set; when the loop ended without OK or Cancel (nothing to take the person's
   answer from), the cancel alert and the loop's status, or userCanceledErr when that was noErr;
   the nib's status when the dialog cannot be loaded. */
CF_EXPORT OSStatus RunModalAccountingDialog(AccountingContext* context);

/* The dialog's handler: OK, Cancel, the account type popup, the entry radio pair, help, and
   key releases (so that OK follows the typing). User data: the AccountingContext. */
CF_EXPORT OSStatus AccountingDialogEventHandler(EventHandlerCallRef callRef, EventRef event,
                                                void* userData);

/* Derives the enable states of the dialog's controls and of its OK button from the choices
   made and the text typed so far. */
CF_EXPORT void setAccountingPromptControls(AccountingContext* context);

CF_EXTERN_C_END

#endif /* ACCOUNTING_ACCOUNTINGPROMPT_H */

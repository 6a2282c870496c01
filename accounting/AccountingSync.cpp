// Print-ticket synchronisation of the accounting settings.
#include "AccountingSync.h"

#include "AccountingControls.h"
#include "AccountingPanel.h"
#include "TicketHelpers.h"

namespace {

// A number from the ticket, or the fallback when it cannot be read. Values are not checked:
// a ticket may carry a system this panel does not offer, and it is kept as it is.
SInt32 read_number(PMTicketRef ticket, CFStringRef key, SInt32 fallback) {
    SInt32 value = 0;
    return PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, key, &value) == noErr ? value
                                                                                     : fallback;
}

void set_value(WindowRef window, SInt32 id, SInt32 value) {
    if (ControlRef control = FindAccountingControl(window, id))
        SetControl32BitValue(control, value);
}

void read_ticket(AccountingContext* context, PMTicketRef ticket) {
    WindowRef window = context->window;
    context->accountingSystem = read_number(ticket, kAccountingSystemKey, 1);
    // A value the popup has no item for (2) leaves the popup as it is.
    if (ControlRef popup = FindAccountingControl(window, kAccountingPopupID))
        SetPopupButtonToTicketValue(popup, context->accountingSystem);
    context->promptForEveryJob = read_number(ticket, kAccountingPromptKey, 1);
    context->maskUserID = read_number(ticket, kAccountingMaskUserIDKey, 1);
    set_value(window, kMaskUserIDCheckID, context->maskUserID);
    context->maskAccountID = read_number(ticket, kAccountingMaskAccountIDKey, 1);
    set_value(window, kMaskAccountIDCheckID, context->maskAccountID);
    context->accountType = read_number(ticket, kAccountingAccountTypeKey, 1);
    if (ControlRef popup = FindAccountingControl(window, kAccountTypePopupID))
        SetPopupButtonToTicketValue(popup, context->accountType);
    if (context->promptForEveryJob == 0) {
        CFStringEncoding encoding = CFStringGetSystemEncoding();
        PMTicketGetCString(ticket, kPMTopLevel, kPMTopLevel, kAccountingUserIDKey,
                           kAccountingCodeSize, encoding, context->defaultUserID);
        PMTicketGetCString(ticket, kPMTopLevel, kPMTopLevel, kAccountingAccountIDKey,
                           kAccountingCodeSize, encoding, context->defaultAccountID);
        PutAccountingCode(context->userIDField, context->defaultUserID);
        PutAccountingCode(context->accountIDField, context->defaultAccountID);
    }
    context->enterAtDevice = read_number(ticket, kAccountingEnterAtDeviceKey, 0);
    context->auxiliaryInterface = read_number(ticket, kAccountingAuxiliaryKey, 0);
    if (context->auxiliaryInterfaceCheck != nullptr)
        SetControl32BitValue(context->auxiliaryInterfaceCheck, context->auxiliaryInterface);
    setControls(context);
}

// A code always reaches the ticket: a store that does not end on a whole character (nothing
// of this panel leaves one so, but the ticket would refuse it) gives its whole characters.
void write_code(PMTicketRef ticket, CFStringRef key, const char* code) {
    char whole[kAccountingCodeSize];
    CopyAccountingCode(whole, code);
    PMTicketSetCString(ticket, kAccountingTicketClient, key, whole, false);
}

void write_number(PMTicketRef ticket, CFStringRef key, SInt32 value) {
    PMTicketSetSInt32(ticket, kAccountingTicketClient, key, value, false);
}

OSStatus write_ticket(AccountingContext* context, PMTicketRef ticket) {
    OSStatus status = PMTicketSetSInt32(ticket, kAccountingTicketClient, kAccountingSystemKey,
                                        context->accountingSystem, false);
    const char* userID = context->jobUserID;
    const char* accountID = context->jobAccountID;
    bool jobCodes = context->promptForEveryJob != 0 ||
                    (context->auxiliaryInterface != 0 && context->enterAtDevice == 0);
    if (!jobCodes) {
        // The fields hold what the user typed since the codes were last stored.
        // Pasted text is not capped by the key filter: the stores keep the whole characters of
        // its first 79 bytes.
        ReadAccountingCode(FindAccountingControl(context->window, kUserIDFieldID),
                           kControlEditTextTextTag, kAccountingCodeSize - 1,
                           context->defaultUserID);
        ReadAccountingCode(FindAccountingControl(context->window, kAccountIDFieldID),
                           kControlEditTextTextTag, kAccountingCodeSize - 1,
                           context->defaultAccountID);
        userID = context->defaultUserID;
        accountID = context->defaultAccountID;
    }
    write_code(ticket, kAccountingUserIDKey, userID);
    write_code(ticket, kAccountingAccountIDKey, accountID);
    write_number(ticket, kAccountingPromptKey, context->promptForEveryJob);
    write_number(ticket, kAccountingMaskUserIDKey, context->maskUserID);
    write_number(ticket, kAccountingMaskAccountIDKey, context->maskAccountID);
    write_number(ticket, kAccountingAccountTypeKey, context->accountType);
    write_number(ticket, kAccountingEnterAtDeviceKey, context->enterAtDevice);
    write_number(ticket, kAccountingAuxiliaryKey, context->auxiliaryInterface);
    return status;
}

} // namespace

OSStatus SyncAccountingTicket(AccountingContext* context, PMPrintSession session,
                              Boolean direction) {
    if (context == nullptr || session == nullptr)
        return kPMInvalidPrintSession;
    PMTicketRef ticket = nullptr;
    OSStatus status = GetTicketFromSession(session, kPDE_PMPrintSettingsRef, &ticket);
    if (status != noErr)
        return status;
    if (direction == kPMSyncTicketFromPane)
        return write_ticket(context, ticket);
    if (direction == kPMSyncPaneFromTicket)
        read_ticket(context, ticket);
    return noErr;
}

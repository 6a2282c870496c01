/*
 * AccountingSync.h: moving the accounting settings between the context (and the panel's
 * controls) and the print settings ticket of a print session.
 */
#ifndef ACCOUNTING_ACCOUNTINGSYNC_H
#define ACCOUNTING_ACCOUNTINGSYNC_H

#include "AccountingContext.h"

CF_EXTERN_C_BEGIN

/* The nine ticket keys, in the order in which they are written. */
#define kAccountingSystemKey CFSTR("com.tovek.Act.qjob.On")
#define kAccountingUserIDKey CFSTR("com.tovek.Act.qjob.UID")
#define kAccountingAccountIDKey CFSTR("com.tovek.Act.qjob.AID")
#define kAccountingPromptKey CFSTR("com.tovek.Act.qjob.Prm")
#define kAccountingMaskUserIDKey CFSTR("com.tovek.Act.qjob.CU")
#define kAccountingMaskAccountIDKey CFSTR("com.tovek.Act.qjob.CA")
#define kAccountingAccountTypeKey CFSTR("com.tovek.Act.qjob.AT")
#define kAccountingEnterAtDeviceKey CFSTR("com.tovek.Act.qjob.EAD")
#define kAccountingAuxiliaryKey CFSTR("com.tovek.Act.qjob.FDI")

/* The client every write names. */
#define kAccountingTicketClient CFSTR("com.pmvendor.printingmanager")

/* The work of the panel's Sync after its per-model hook: direction 1 reads the ticket into
   the context and the controls, 0 writes them into the ticket, anything else fetches the
   ticket and does nothing. Returns kPMInvalidPrintSession (-30879) for a NULL context or
   session, the fetch's status when the ticket cannot be had, 0 after reading, and after
   writing the status of the first write. */
OSStatus SyncAccountingTicket(AccountingContext* context, PMPrintSession session,
                              Boolean direction);

CF_EXTERN_C_END

#endif /* ACCOUNTING_ACCOUNTINGSYNC_H */

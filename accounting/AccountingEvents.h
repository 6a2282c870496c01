/*
 * AccountingEvents.h: the panel's Carbon event handler.
 */
#ifndef ACCOUNTING_ACCOUNTINGEVENTS_H
#define ACCOUNTING_ACCOUNTINGEVENTS_H

#include "AccountingContext.h"

CF_EXTERN_C_BEGIN

/* Turns clicks on the panel's controls into settings, catches the print dialog's Print
   action and answers the help command. User data: the AccountingContext. Returns
   eventNotHandledErr to let the event go on, anything else to stop it there. */
CF_EXPORT OSStatus accountingEventHandler(EventHandlerCallRef callRef, EventRef event,
                                          void* userData);

CF_EXTERN_C_END

#endif /* ACCOUNTING_ACCOUNTINGEVENTS_H */

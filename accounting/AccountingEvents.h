/*
 * AccountingEvents.h: the panel's Carbon event handlers and the key filter of its ID fields.
 */
#ifndef ACCOUNTING_ACCOUNTINGEVENTS_H
#define ACCOUNTING_ACCOUNTINGEVENTS_H

#include "AccountingContext.h"

CF_EXTERN_C_BEGIN

/* The help page of the panel and of its prompt dialog. */
#define kAccountingHelpPage CFSTR("Mac_topics/M_accounting_dialog.htm")

/* The command of the panel's help request. */
enum { kAccountingHelpCommand = 0x68656C70 /* "help" */ };

/* The bytes the key filter lets be typed into an ID field under a system that takes codes. */
enum { kAccountingKeyFilterLimit = 32 };

/* The result that marks a prompt the user cancelled. */
enum { kAccountingPromptCancelled = -12345678 };

/* Turns clicks on the panel's controls into settings, catches the print dialog's Print action
   (the OK command from 10.5 on, the default button's click before) and answers the help
   command. User data: the AccountingContext. eventNotHandledErr lets the event go on; any
   other result stops it there. */
CF_EXPORT OSStatus accountingEventHandler(EventHandlerCallRef callRef, EventRef event,
                                          void* userData);

/* The key filter of the four ID fields: refuses separator characters and, under the Tallyset
   and "Accounting Enabled" systems, caps the text at 32 bytes; editing keys always pass. A
   refused key beeps. */
CF_EXPORT ControlKeyFilterResult accountKeyFilter(ControlRef control, SInt16* keyCode,
                                                  SInt16* charCode, EventModifiers* modifiers);

/* Draws the status picture into the image pane: off for no accounting, on otherwise. */
CF_EXPORT OSStatus AccountingDrawEventHandler(EventHandlerCallRef callRef, EventRef event,
                                              void* userData);

CF_EXTERN_C_END

#ifdef __cplusplus
/* The control an event is about (kEventParamDirectObject), or NULL. */
ControlRef GetAccountingEventControl(EventRef event);
/* The command an event carries (kEventParamDirectObject); all zero when it carries none. */
HICommand GetAccountingEventCommand(EventRef event);
#endif

#endif /* ACCOUNTING_ACCOUNTINGEVENTS_H */

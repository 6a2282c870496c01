/*
 * Lifecycle.h: the panel's operations in slots 4 to 10 of its interface table.
 */
#ifndef PLUGIN_LIFECYCLE_H
#define PLUGIN_LIFECYCLE_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

/* Creates the context and reports the panel's creator, kind, title and maximum size. */
OSStatus AccountingProlog(PMPDEContext* outContext, OSType* creator, CFStringRef* userOptionKind,
                          CFStringRef* title, UInt32* maxH, UInt32* maxV);
/* Keeps the user pane and the session, reads the ticket, installs the window's handler. */
OSStatus AccountingInitialize(PMPDEContext context, PMPDEFlags* flags, PMPDERef ref,
                              ControlRef parentUserPane, PMPrintSession printSession);
/* Moves the settings between the context and the ticket (1: ticket to panel). */
OSStatus AccountingSyncOperation(PMPDEContext context, PMPrintSession printSession,
                                 Boolean direction);
/* The panel gives no summary. */
OSStatus AccountingGetSummaryText(PMPDEContext context, CFArrayRef* titleArray,
                                  CFArrayRef* summaryArray);
/* Builds the panel on the first Open; installs the command handler on every Open. */
OSStatus AccountingOpen(PMPDEContext context);
/* Removes what the last Open installed. */
OSStatus AccountingClose(PMPDEContext context);
/* Frees the context and what it owns. */
OSStatus AccountingTerminate(PMPDEContext context, OSStatus status);

CF_EXTERN_C_END

#endif /* PLUGIN_LIFECYCLE_H */

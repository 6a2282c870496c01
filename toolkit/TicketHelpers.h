/*
 * TicketHelpers.h: getting the print settings ticket out of a print session, integer values
 * in ticket dictionaries, help pages, nested plug-in bundles and the running system version.
 */
#ifndef TOOLKIT_TICKETHELPERS_H
#define TOOLKIT_TICKETHELPERS_H

#include <CoreFoundation/CoreFoundation.h>
#include <PrintCore/PrintCore.h>

CF_EXTERN_C_BEGIN

/* Fetches the ticket stored as a signed 32-bit number under key in the session's data.
   Returns the printing manager's status; with status 0 and no data, *outTicket is untouched. */
CF_EXPORT OSStatus GetTicketFromSession(PMPrintSession session, CFStringRef key,
                                        PMTicketRef* outTicket);

CF_EXTERN_C_END

#endif /* TOOLKIT_TICKETHELPERS_H */

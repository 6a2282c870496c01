/*
 * TicketHelpers.h: getting the print settings ticket out of a print session, and integer
 * values in ticket dictionaries.
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

/* Reads the number under key as a CFIndex into *outIndex. False when the dictionary or key is
   NULL, the key is missing, the value is not a number, or the number is not exactly a CFIndex
   (a fraction, or out of range); *outIndex then holds the truncated value or is untouched. */
CF_EXPORT Boolean GetCFIndexFromCFDictionary(CFDictionaryRef dictionary, CFStringRef key,
                                             CFIndex* outIndex);

/* Stores value under key as a CFIndex number, replacing any earlier value. The arguments must
   not be NULL. */
CF_EXPORT void WriteTicketValue(CFMutableDictionaryRef dictionary, CFStringRef key, SInt32 value);

CF_EXTERN_C_END

#endif /* TOOLKIT_TICKETHELPERS_H */

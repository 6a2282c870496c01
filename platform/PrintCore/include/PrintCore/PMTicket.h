/*
 * PMTicket.h: print settings tickets. A ticket holds typed values by key at its top level
 * (32-bit integers and strings, each set by a client and possibly locked) and a dictionary
 * of PPD choices by main keyword.
 *
 * Tickets are known by 32-bit handles: a PMTicketRef's value is its handle, so a ticket can
 * be kept in session data as a signed 32-bit number and turned back into a reference.
 */
#ifndef PRINTCORE_PMTICKET_H
#define PRINTCORE_PMTICKET_H

#include <PrintCore/PMDefinitions.h>

CF_EXTERN_C_BEGIN

enum { kPMTopLevel = 0 };

#define kPMPrintSettingsTicket CFSTR("com.apple.printingmanager.PMPrintSettingsTicket")

/* Creates an empty ticket of the given type; the caller releases it with PMTicketRelease. */
CF_EXPORT OSStatus PMTicketCreate(CFAllocatorRef allocator, CFStringRef ticketType,
                                  PMTicketRef* newTicket);
CF_EXPORT OSStatus PMTicketRetain(PMTicketRef ticket);
CF_EXPORT OSStatus PMTicketRelease(PMTicketRef ticket);

/* The ticket's 32-bit handle and back: what a session keeps under "PMPrintSettingsTicket". */
CF_EXPORT SInt32 PMTicketGetHandle(PMTicketRef ticket);
CF_EXPORT PMTicketRef PMTicketFromHandle(SInt32 handle);

/* Reads a top-level integer. kPMKeyNotFound when absent, kPMInvalidType when not an integer,
   kPMInvalidTicket for a reference that names no live ticket. */
CF_EXPORT OSStatus PMTicketGetSInt32(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                     CFStringRef key, SInt32* value);
/* Reads a top-level string into buffer (bufferSize bytes including the terminating zero) in the
   given encoding. Fails without touching buffer when the key is absent, the value is not a
   string, or it does not convert; a string too long for the buffer is cut at a character
   boundary and the status is kPMValueOutOfRange. */
CF_EXPORT OSStatus PMTicketGetCString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                      CFStringRef key, UInt32 bufferSize,
                                      CFStringEncoding encoding, char* buffer);
CF_EXPORT OSStatus PMTicketGetCFString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                       CFStringRef key, CFStringRef* value);

/* Sets a top-level value for clientID, replacing an earlier one. A value locked by another
   client gives kPMItemIsLocked. The C string is taken in the system encoding. */
CF_EXPORT OSStatus PMTicketSetSInt32(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                     SInt32 value, Boolean locked);
CF_EXPORT OSStatus PMTicketSetCString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                      const char* value, Boolean locked);
CF_EXPORT OSStatus PMTicketSetCFString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                       CFStringRef value, Boolean locked);

/* The ticket's PPD dictionary (main keyword -> choice), owned by the ticket and mutable:
   values set in it are the ticket's. Not to be released. */
CF_EXPORT OSStatus PMTicketGetPPDDict(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                      CFMutableDictionaryRef* dict);

CF_EXTERN_C_END

#endif /* PRINTCORE_PMTICKET_H */

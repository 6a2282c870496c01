/*
 * PMTicket.h: print settings tickets. A ticket holds typed values by key at its top level
 * (any property-list value: numbers, strings, data, Booleans, dates, arrays, dictionaries;
 * each set by a client and possibly locked) and a dictionary of PPD choices by main keyword.
 *
 * Tickets are known by 32-bit handles: a PMTicketRef's value is its handle, so a ticket can
 * be kept in session data as a signed 32-bit number and turned back into a reference.
 */
#ifndef PRINTCORE_PMTICKET_H
#define PRINTCORE_PMTICKET_H

#include <PrintCore/PMDefinitions.h>

CF_EXTERN_C_BEGIN

enum { kPMTopLevel = 0 };

/* The locked argument of the setters. */
enum { kPMUnlocked = false, kPMLocked = true };

#define kPMPrintSettingsTicket CFSTR("com.apple.printingmanager.PMPrintSettingsTicket")
/* The client ID of values the printing manager itself sets. */
#define kPMPrintingManager CFSTR("com.apple.printingmanager")

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
                                      CFStringRef key, UInt32 bufferSize, CFStringEncoding encoding,
                                      char* buffer);
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

/* Values of the other property-list types. Every getter fails with kPMKeyNotFound when the
   key is absent and kPMInvalidType when its value is of another type; the CF getters give the
   ticket's own object, not to be released (retain it to keep it past the next set). The
   setters keep a copy of mutable values, so later changes to the caller's object do not
   reach the ticket. A value that is not a property-list object gives kPMInvalidValue. */
CF_EXPORT OSStatus PMTicketGetItem(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                   CFStringRef key, CFTypeRef* item);
CF_EXPORT OSStatus PMTicketSetItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                   CFTypeRef item, Boolean locked);
CF_EXPORT OSStatus PMTicketGetCFData(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                     CFStringRef key, CFDataRef* data);
CF_EXPORT OSStatus PMTicketSetCFData(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                     CFDataRef item, Boolean locked);
/* The data's bytes into data; *size gives the buffer's size and receives the data's length.
   A buffer too small gets nothing and kPMValueOutOfRange; a NULL data gives just the size. */
CF_EXPORT OSStatus PMTicketGetBytes(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                    CFStringRef key, UInt8* data, UInt32* size);
CF_EXPORT OSStatus PMTicketSetBytes(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                    const UInt8* data, UInt32 size, Boolean locked);
CF_EXPORT OSStatus PMTicketGetCFBoolean(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                        CFStringRef key, CFBooleanRef* value);
CF_EXPORT OSStatus PMTicketSetCFBoolean(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                        CFBooleanRef item, Boolean locked);
CF_EXPORT OSStatus PMTicketGetBoolean(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                      CFStringRef key, Boolean* value);
CF_EXPORT OSStatus PMTicketSetBoolean(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                      Boolean value, Boolean locked);
CF_EXPORT OSStatus PMTicketGetCFNumber(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                       CFStringRef key, CFNumberRef* value);
CF_EXPORT OSStatus PMTicketSetCFNumber(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                       CFNumberRef item, Boolean locked);
/* Any number, integer or real, read as a double. */
CF_EXPORT OSStatus PMTicketGetDouble(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                     CFStringRef key, double* value);
CF_EXPORT OSStatus PMTicketSetDouble(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                     double value, Boolean locked);
CF_EXPORT OSStatus PMTicketGetCFDate(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                     CFStringRef key, CFDateRef* value);
CF_EXPORT OSStatus PMTicketSetCFDate(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                     CFDateRef item, Boolean locked);
CF_EXPORT OSStatus PMTicketGetCFArray(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                      CFStringRef key, CFArrayRef* value);
CF_EXPORT OSStatus PMTicketSetCFArray(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                      CFArrayRef item, Boolean locked);
CF_EXPORT OSStatus PMTicketGetCFDictionary(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                           CFStringRef key, CFDictionaryRef* value);
CF_EXPORT OSStatus PMTicketSetCFDictionary(PMTicketRef ticket, CFStringRef clientID,
                                           CFStringRef key, CFDictionaryRef item, Boolean locked);

/* The ticket's PPD dictionary (main keyword -> choice), owned by the ticket and mutable:
   values set in it are the ticket's. Not to be released. */
CF_EXPORT OSStatus PMTicketGetPPDDict(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                      CFMutableDictionaryRef* dict);

CF_EXTERN_C_END

#endif /* PRINTCORE_PMTICKET_H */

/*
 * PMCore.h: print sessions, printers and the generic retain/release of printing objects.
 */
#ifndef PRINTCORE_PMCORE_H
#define PRINTCORE_PMCORE_H

#include <PrintCore/PMDefinitions.h>

CF_EXTERN_C_BEGIN

/* Retains or releases any printing object (session, printer). NULL gives kPMInvalidParameter. */
CF_EXPORT OSStatus PMRetain(PMObject object);
CF_EXPORT OSStatus PMRelease(PMObject object);

/* Creates a print session; the caller releases it with PMRelease. */
CF_EXPORT OSStatus PMCreateSession(PMPrintSession* printSession);

/* Stores data (retained) under key in the session, replacing earlier data; NULL data removes it. */
CF_EXPORT OSStatus PMSessionSetDataInSession(PMPrintSession printSession, CFStringRef key,
                                             CFTypeRef data);
/* The data stored under key, not retained. Status 0 with *data NULL when there is none. */
CF_EXPORT OSStatus PMSessionGetDataFromSession(PMPrintSession printSession, CFStringRef key,
                                               CFTypeRef* data);

/* The session's current printer, not retained. kPMNoDefaultPrinter until one is set. */
CF_EXPORT OSStatus PMSessionGetCurrentPrinter(PMPrintSession printSession,
                                              PMPrinter* currentPrinter);
/* Makes printer (retained by the session) the session's current printer. */
CF_EXPORT OSStatus PMSessionSetCurrentPMPrinter(PMPrintSession session, PMPrinter printer);

/* The printer's name for people and its ID (a queue name), not retained; NULL for a bad
   printer. */
CF_EXPORT CFStringRef PMPrinterGetName(PMPrinter printer);
CF_EXPORT CFStringRef PMPrinterGetID(PMPrinter printer);

/*
 * PMPrinterCreateFromPrinterID: the printer with that ID: a printer of this process (the same
 * object, retained), else the CUPS destination of that name. The caller releases it with
 * PMRelease. NULL when there is no such printer.
 */
CF_EXPORT PMPrinter PMPrinterCreateFromPrinterID(CFStringRef printerID);

/*
 * PMPrinterGetDescriptionURL: a file URL of the printer's description of the given type; only
 * kPMPPDDescriptionType is known. The caller releases the URL. kPMInvalidParameter for another
 * type, kPMNoSuchEntry when the printer has no PPD (PlatformCopyPrinterPPDError says why).
 */
CF_EXPORT OSStatus PMPrinterGetDescriptionURL(PMPrinter printer, CFStringRef descriptionType,
                                              CFURLRef* fileURL);

CF_EXTERN_C_END

#endif /* PRINTCORE_PMCORE_H */

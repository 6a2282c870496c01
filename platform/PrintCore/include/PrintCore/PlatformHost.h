/*
 * PlatformHost.h: the printing manager's entry points that exist only on this platform, for the
 * print dialog host and for tests: making printers from a PPD file or a CUPS destination, and
 * keeping print settings tickets in files. Mac code never calls them.
 */
#ifndef PRINTCORE_PLATFORMHOST_H
#define PRINTCORE_PLATFORMHOST_H

#include <PrintCore/PMDefinitions.h>

CF_EXTERN_C_BEGIN

/*
 * PlatformCreatePrinterWithPPD: a printer named `name`, described by the PPD file at ppdPath.
 * The file is opened with libcups at once; when that fails the printer is still made, but has
 * no PPD: PMPrinterGetDescriptionURL fails and PlatformCopyPrinterPPDError tells why. Its ID is
 * the name with blanks, slashes and other characters a queue name cannot hold made "_". The
 * caller releases the printer with PMRelease. kPMInvalidParameter for a NULL argument.
 */
CF_EXPORT OSStatus PlatformCreatePrinterWithPPD(CFStringRef name, const char* ppdPath,
                                                PMPrinter* printer);

/*
 * PlatformCreatePrinterForCUPSDestination: a printer for the CUPS destination `name` ("queue"
 * or "queue/instance"); its PPD is fetched from CUPS, the first time PMPrinterGetDescriptionURL
 * or PlatformCopyPrinterPPDError asks for it, into a temporary file that lives as long as the
 * printer. A destination without a PPD gives a printer without one, as above. When CUPS
 * has no such destination (or cannot be reached) the status is kPMInvalidPrinter, *printer is
 * NULL and *errorString (when errorString is not NULL) a message the caller releases.
 */
CF_EXPORT OSStatus PlatformCreatePrinterForCUPSDestination(CFStringRef name, PMPrinter* printer,
                                                           CFStringRef* errorString);

/*
 * PlatformCreatePrinterForFoundCUPSDestination: as PlatformCreatePrinterForCUPSDestination, for
 * a destination the caller has just looked up itself (a print dialog that sends the job), so
 * CUPS is not asked again: `name` is what people know it by (its "printer-info"; NULL: the
 * destination's name). kPMInvalidPrinter for an empty queue name, kPMInvalidParameter for a
 * NULL destination or printer.
 */
CF_EXPORT OSStatus PlatformCreatePrinterForFoundCUPSDestination(CFStringRef destination,
                                                                CFStringRef name,
                                                                PMPrinter* printer);

/* Why the printer has no PPD (naming the file and, for a malformed one, the line), as a new
   string the caller releases; NULL when it has one. For a CUPS printer it fetches the PPD. */
CF_EXPORT CFStringRef PlatformCopyPrinterPPDError(PMPrinter printer);

/*
 * PlatformTicketWriteToFile: writes the ticket (its type, its values with their clients and
 * locks and the order they were written in, its PPD dictionary) to an XML property list at
 * path. The file is written to a temporary file in the same folder and renamed into place,
 * with mode 0600, so a failure leaves the old file whole. A path that is a symbolic link is
 * refused and left alone: the ticket carries accounting codes and never goes through a link.
 * Returns noErr, kPMInvalidTicket,
 * kPMInvalidParameter, or a File Manager status (fnfErr, permErr, dskFulErr, ioErr) with a
 * line on standard error naming the file.
 */
CF_EXPORT OSStatus PlatformTicketWriteToFile(PMTicketRef ticket, const char* path);

/* PlatformTicketWriteToFile with the options of PlatformWriteFileAtomicallyWithOptions
   (kPlatformWriteWithoutSync for a printed job's ticket). */
CF_EXPORT OSStatus PlatformTicketWriteToFileWithOptions(PMTicketRef ticket, const char* path,
                                                        OptionBits options);

/*
 * PlatformTicketCreateFromFile: a new ticket from a file written by PlatformTicketWriteToFile;
 * the caller releases it with PMTicketRelease. Values keep their clients and write order but
 * come back unlocked: the file's locks are checked, not restored. On failure *ticket is NULL and
 * *errorString (when errorString is not NULL) a message naming the file, and the line for malformed
 * XML, which the caller releases: fnfErr or permErr or ioErr when the file cannot be read,
 * kPMInvalidPrintSettings when it is not a ticket (not a property list, or a value of the wrong
 * type). The file is only read.
 */
CF_EXPORT OSStatus PlatformTicketCreateFromFile(const char* path, PMTicketRef* ticket,
                                                CFStringRef* errorString);

/* The ticket's top-level keys, least recently written first, in a new array the caller
   releases; NULL for a bad ticket. Rewriting a key moves it to the end. */
CF_EXPORT CFArrayRef PlatformTicketCopyKeysInWriteOrder(PMTicketRef ticket);

CF_EXTERN_C_END

#endif /* PRINTCORE_PLATFORMHOST_H */

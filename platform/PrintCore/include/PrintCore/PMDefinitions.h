/*
 * PMDefinitions.h: the printing manager's object types and status codes.
 */
#ifndef PRINTCORE_PMDEFINITIONS_H
#define PRINTCORE_PMDEFINITIONS_H

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

typedef const void* PMObject;
typedef struct OpaquePMPrintSession* PMPrintSession;
typedef struct OpaquePMPrinter* PMPrinter;
/* A ticket reference carries a 32-bit handle (see PMTicket.h), so it survives a trip through
   a signed 32-bit number in session data. */
typedef struct OpaquePMTicketRef* PMTicketRef;

enum {
    kPMNoError = noErr,
    kPMGeneralError = -30870,
    kPMOutOfScope = -30871,
    kPMInvalidParameter = paramErr,
    kPMNoDefaultPrinter = -30872,
    kPMNotImplemented = -30873,
    kPMNoSuchEntry = -30874,
    kPMInvalidPrintSettings = -30875,
    kPMInvalidPageFormat = -30876,
    kPMValueOutOfRange = -30877,
    kPMLockIgnored = -30878,
    kPMInvalidPrintSession = -30879,
    kPMInvalidPrinter = -30880,
    kPMObjectInUse = -30881
};

enum {
    kPMInvalidPDEContext = -9530, /* a PDE call with a context it did not hand out */
    kPMItemIsLocked = -9586,
    kPMTicketIsLocked = -9587,
    kPMKeyNotFound = -9589,
    kPMInvalidValue = -30889,
    kPMInvalidTicket = -30891,
    kPMInvalidType = -30893
};

/* Session data key under which a print dialog keeps its print settings ticket handle. */
#define kPDE_PMPrintSettingsRef CFSTR("PMPrintSettingsTicket")
#define kPMPPDDescriptionType CFSTR("PMPPDDescriptionType")

CF_EXTERN_C_END

#endif /* PRINTCORE_PMDEFINITIONS_H */

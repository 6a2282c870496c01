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

CF_EXTERN_C_END

#endif /* PRINTCORE_PMCORE_H */

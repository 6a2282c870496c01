/*
 * Gestalt.h: asking the system about itself. The runtime answers the system
 * version selectors; the version it reports is configurable (see
 * <CoreServices/PlatformHost.h>).
 */
#ifndef CORESERVICES_GESTALT_H
#define CORESERVICES_GESTALT_H

#include <CoreServices/MacErrors.h>

CF_EXTERN_C_BEGIN

enum {
    /* "sysv": the version as binary-coded decimal, 0x1068 for 10.6.8. Versions whose minor or
       bug-fix number does not fit one digit read as 10.9.x, bug fix capped at 9. */
    gestaltSystemVersion = 0x73797376,
    gestaltSystemVersionMajor = 0x73797331, /* "sys1" */
    gestaltSystemVersionMinor = 0x73797332, /* "sys2" */
    gestaltSystemVersionBugFix = 0x73797333 /* "sys3" */
};

/*
 * Gestalt: the answer for `selector` into *response. Returns noErr,
 * gestaltUndefSelectorErr for a selector the runtime does not know, or
 * paramErr when response is NULL.
 */
CF_EXPORT OSErr Gestalt(OSType selector, SInt32* response);

CF_EXTERN_C_END

#endif /* CORESERVICES_GESTALT_H */

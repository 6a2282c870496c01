/*
 * PlatformHost.h: the few CoreServices entry points that exist only on this
 * platform, for the host program and for tests. Mac code never calls them.
 */
#ifndef CORESERVICES_PLATFORMHOST_H
#define CORESERVICES_PLATFORMHOST_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

/*
 * PlatformSetSystemVersion: the system version that Gestalt reports from now
 * on, e.g. (10, 4, 11). It wins over the CARBONRT_SYSTEM_VERSION environment
 * variable ("10.4.11", "10.5", "11.0"), which wins over the default 10.6.8.
 * A major version of 0 or less removes the override.
 */
CF_EXPORT void PlatformSetSystemVersion(int major, int minor, int bugfix);

/* The function SysBeep calls, with the duration it was given and the host's context. */
typedef void (*PlatformBeepHandler)(short duration, void* context);

/*
 * PlatformSetBeepHandler: installs the host's beep handler; NULL restores the
 * default (a bell on standard error when that is a terminal).
 */
CF_EXPORT void PlatformSetBeepHandler(PlatformBeepHandler handler, void* context);

/* PlatformGetBeepCount: how many times SysBeep has been called in this process. */
CF_EXPORT unsigned long PlatformGetBeepCount(void);

CF_EXTERN_C_END

#endif /* CORESERVICES_PLATFORMHOST_H */

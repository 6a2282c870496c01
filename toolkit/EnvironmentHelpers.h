/*
 * EnvironmentHelpers.h: plug-in bundles nested in a bundle, and the running system version.
 */
#ifndef TOOLKIT_ENVIRONMENTHELPERS_H
#define TOOLKIT_ENVIRONMENTHELPERS_H

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

/* Loads the code of the bundle called `name` in the bundle's built-in plug-ins folder. True
   when it was loaded: *outBundle then holds the nested bundle, which the caller releases.
   False otherwise, with *outBundle NULL (when outBundle is not NULL itself). */
CF_EXPORT Boolean LoadPrivateBundle(CFBundleRef bundle, CFStringRef name, CFBundleRef* outBundle);

/* Whether the system is Mac OS X 10.4 or later. Asked of Gestalt once per process; a system
   that does not answer counts as earlier. */
CF_EXPORT Boolean RunningOn104OrLater(void);

/* Whether the system is Mac OS X 10.5 or later, as RunningOn104OrLater. */
CF_EXPORT Boolean RunningOn105OrLater(void);

CF_EXTERN_C_END

#endif /* TOOLKIT_ENVIRONMENTHELPERS_H */

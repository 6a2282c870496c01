/* OSUtils.h: the system alert sound. */
#ifndef CORESERVICES_OSUTILS_H
#define CORESERVICES_OSUTILS_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

/*
 * SysBeep: sounds the system alert. The duration (in ticks) is passed on to
 * the host's beep handler; the default handler rings the terminal bell when
 * standard error is a terminal and is silent otherwise.
 */
CF_EXPORT void SysBeep(short duration);

CF_EXTERN_C_END

#endif /* CORESERVICES_OSUTILS_H */

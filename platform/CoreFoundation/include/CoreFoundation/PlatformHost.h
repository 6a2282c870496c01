/*
 * PlatformHost.h: the few Core Foundation entry points that exist only on
 * this platform, for the host program and for tests. Mac code never calls
 * them.
 */
#ifndef COREFOUNDATION_PLATFORMHOST_H
#define COREFOUNDATION_PLATFORMHOST_H

#include <CoreFoundation/CFBundle.h>

CF_EXTERN_C_BEGIN

/*
 * PlatformCopyBundleLoadError: why the bundle's code could not be loaded or
 * a factory could not be reached (the dlopen message, a missing executable
 * or symbol, a malformed Info.plist), or NULL when nothing went wrong. The
 * caller releases the string.
 */
CF_EXPORT CFStringRef PlatformCopyBundleLoadError(CFBundleRef bundle);

/*
 * The function that receives each CFUserNotificationDisplayNotice: the alert
 * level (kCFUserNotification...AlertLevel), the header, message and button
 * title after localisation (any may be NULL), and the host's context. The
 * strings are valid during the call.
 */
typedef void (*PlatformNoticeHandler)(CFOptionFlags level, CFStringRef header, CFStringRef message,
                                      CFStringRef defaultButtonTitle, void* context);

/* PlatformSetNoticeHandler: installs the host's handler; NULL restores the default (standard
 * error). */
CF_EXPORT void PlatformSetNoticeHandler(PlatformNoticeHandler handler, void* context);

CF_EXTERN_C_END

#endif /* COREFOUNDATION_PLATFORMHOST_H */

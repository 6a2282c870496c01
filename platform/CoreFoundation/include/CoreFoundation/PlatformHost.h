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

/*
 * PlatformWriteFileAtomically: writes length bytes to path as a new file in the same folder
 * (permission bits `mode`), synced and renamed into place, so a crash leaves the old file or
 * the new one. Unlike CFURLWriteDataAndPropertiesToResource, which writes through a symbolic
 * link onto the file it points at (preferences kept elsewhere stay where they are), this never
 * writes through a link: a path that is one is refused with ELOOP and left alone, as is a
 * folder (EISDIR). For output files, whose folder may hold links nobody expects. Returns 0 or
 * the errno of the step that failed.
 */
CF_EXPORT int PlatformWriteFileAtomically(const char* path, const UInt8* bytes, CFIndex length,
                                          UInt32 mode);

/* Options of PlatformWriteFileAtomicallyWithOptions. */
enum {
    /* Neither the file nor its folder is synced: readers still never see half a file, but a
       crash may leave the new file empty. For records whose loss costs nothing (a printed job's
       copy, which the scheduler has), where a sync would cost more than the write. */
    kPlatformWriteWithoutSync = 1
};

/* PlatformWriteFileAtomically with options (0: the same). */
CF_EXPORT int PlatformWriteFileAtomicallyWithOptions(const char* path, const UInt8* bytes,
                                                     CFIndex length, UInt32 mode,
                                                     OptionBits options);

CF_EXTERN_C_END

#endif /* COREFOUNDATION_PLATFORMHOST_H */

/*
 * PlatformHost.h: the Help entry point that exists only on this platform,
 * for the host program and for tests. Mac code never calls it.
 */
#ifndef HELP_PLATFORMHOST_H
#define HELP_PLATFORMHOST_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

/*
 * The function that shows a help page: the page's absolute UTF-8 path, the
 * anchor to scroll to (NULL for none) and the host's info. Both strings are
 * valid during the call only.
 */
typedef void (*PlatformHelpViewer)(const char* path, const char* anchor, void* info);

/*
 * PlatformSetHelpViewer: installs the host's viewer; NULL restores the
 * default, which opens the page with xdg-open when DISPLAY or
 * WAYLAND_DISPLAY is set and otherwise prints "path#anchor" on standard
 * output.
 */
CF_EXPORT void PlatformSetHelpViewer(PlatformHelpViewer viewer, void* info);

CF_EXTERN_C_END

#endif /* HELP_PLATFORMHOST_H */

/*
 * PlatformHost.h: what the host program and the tests need from HIToolbox
 * beyond Apple's calls. Not part of any Mac interface.
 */
#ifndef HITOOLBOX_PLATFORMHOST_H
#define HITOOLBOX_PLATFORMHOST_H

#include <HIToolbox/MacWindows.h>
#include <stdio.h>

CF_EXTERN_C_BEGIN

/*
 * Copies up to `capacity` windows, front to back, into `outWindows` (which
 * may be NULL when capacity is 0) and returns how many windows exist. The
 * references are not retained.
 */
CF_EXPORT ItemCount PlatformCopyWindowList(WindowRef* outWindows, ItemCount capacity);

/*
 * Writes a text dump of the window and its control tree to `out`: one line
 * for the window, then one line per control, depth-first, indented two
 * spaces per level, with its control ID, kind, bounds, visibility, enabling,
 * value and range, and its title or text. paramErr for a NULL stream,
 * errInvalidWindowRef for a bad window.
 */
CF_EXPORT OSStatus PlatformWriteWindowDump(WindowRef window, FILE* out);

CF_EXTERN_C_END

#endif /* HITOOLBOX_PLATFORMHOST_H */

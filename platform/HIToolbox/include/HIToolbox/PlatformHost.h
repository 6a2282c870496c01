/*
 * PlatformHost.h: what the host program and the tests need from HIToolbox
 * beyond Apple's calls. Not part of any Mac interface.
 */
#ifndef HITOOLBOX_PLATFORMHOST_H
#define HITOOLBOX_PLATFORMHOST_H

#include <HIToolbox/MacWindows.h>
#include <cairo.h>
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

/*
 * Draws the whole window (background and every visible control) and writes
 * its backing store as a PNG file of the content's size. The file is written
 * next to `path` under a temporary name and renamed into place. paramErr for
 * a NULL path, errInvalidWindowRef for a bad window, ioErr when the file
 * cannot be written (the reason goes to standard error).
 */
CF_EXPORT OSStatus PlatformWriteWindowPNG(WindowRef window, const char* path);

/*
 * The pixel at (x, y) of the window's content, as 0xAARRGGBB, after the
 * window has repainted whatever waits to be repainted. paramErr outside the
 * content or for a NULL result, errInvalidWindowRef for a bad window.
 */
CF_EXPORT OSStatus PlatformCopyWindowPixel(WindowRef window, SInt32 x, SInt32 y, UInt32* outARGB);

/*
 * A new cairo context on the port's backing store, for frameworks that draw
 * into windows (pictures); clipped to the area being repainted during an
 * update. The caller destroys it. NULL for a bad port or one whose window
 * is gone.
 */
CF_EXPORT cairo_t* PlatformCreatePortContext(CGrafPtr port);

CF_EXTERN_C_END

#endif /* HITOOLBOX_PLATFORMHOST_H */

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

/* ---- The event source ---------------------------------------------------- */

/*
 * Where user actions come from: modal loops (RunAppModalLoopForWindow,
 * standard alerts) and the host's own loop (PlatformRunEventSource) pull
 * them one at a time: a script of actions, or a window system.
 */
typedef struct PlatformEventSource {
    /* What the source is, for messages ("tests/print.script"); may be NULL. */
    const char* name;
    void* info;
    /*
     * Carries out the next user action through the toolbox (a click, a key,
     * a choice in a popup) and returns noErr. eofErr when there are no more;
     * any other status when the source failed, after saying why on standard
     * error (it then keeps failing with that status).
     */
    OSStatus (*performNextAction)(void* info);
    /* A notice went up (CFUserNotificationDisplayNotice); may be NULL. */
    void (*notice)(void* info, CFOptionFlags level, CFStringRef header, CFStringRef message);
    /* The source is no longer in use; may be NULL. */
    void (*release)(void* info);
} PlatformEventSource;

/*
 * Makes `source` (copied, name included) the event source; NULL removes it.
 * The previous source is released (after its running call, if any).
 * FIXME: the notice callback is not called yet; it will receive
 * CFUserNotificationDisplayNotice once Core Foundation's notice handler is in.
 */
CF_EXPORT void PlatformSetEventSource(const PlatformEventSource* source);

/*
 * The host's loop: carries out actions until the source has no more (noErr)
 * or fails (its status). paramErr (and a line on standard error) when no
 * source is installed.
 */
CF_EXPORT OSStatus PlatformRunEventSource(void);

CF_EXTERN_C_END

#endif /* HITOOLBOX_PLATFORMHOST_H */

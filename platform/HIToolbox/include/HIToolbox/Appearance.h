/*
 * Appearance.h: theme drawing that code outside the controls asks for (an
 * edit-text frame, a focus ring), drawn into the current port, and the
 * theme's cursors.
 */
#ifndef HITOOLBOX_APPEARANCE_H
#define HITOOLBOX_APPEARANCE_H

#include <HIToolbox/Quickdraw.h>

CF_EXTERN_C_BEGIN

typedef UInt32 ThemeDrawState;
enum { kThemeStateInactive = 0, kThemeStateActive = 1, kThemeStatePressed = 2 };

typedef SInt32 ThemeCursor;
enum {
    kThemeArrowCursor = 0,
    kThemeCopyArrowCursor = 1,
    kThemeAliasArrowCursor = 2,
    kThemeContextualMenuArrowCursor = 3,
    kThemeIBeamCursor = 4,
    kThemeCrossCursor = 5,
    kThemePlusCursor = 6,
    kThemeWatchCursor = 7,
    kThemeClosedHandCursor = 8,
    kThemeOpenHandCursor = 9,
    kThemePointingHandCursor = 10
};

/* The sunken frame of an edit text field, drawn just outside inRect in
   the current port. paramErr for a NULL rectangle or no current port. */
CF_EXPORT OSStatus DrawThemeEditTextFrame(const Rect* inRect, ThemeDrawState inState);
/* Draws the focus ring around inRect, or (inHasFocus false) paints the
   window's background where a ring would be. */
CF_EXPORT OSStatus DrawThemeFocusRect(const Rect* inRect, Boolean inHasFocus);

/* Makes inCursor the cursor (see PlatformGetThemeCursor). paramErr for an
   unknown cursor. */
CF_EXPORT OSStatus SetThemeCursor(ThemeCursor inCursor);

CF_EXTERN_C_END

#endif /* HITOOLBOX_APPEARANCE_H */

// Appearance calls: theme drawing into the current port, and the cursor.
#include "Port.h"
#include "ThemeTextView.h"

#include <HIToolbox/Appearance.h>
#include <HIToolbox/PlatformHost.h>

namespace {

ThemeCursor current_cursor = kThemeArrowCursor;

// A context on the current port, or nullptr when there is none.
cairo_t* current_context() {
    GrafPtr port = nullptr;
    GetPort(&port);
    return port != nullptr ? hit::port_create_context(port) : nullptr;
}

} // namespace

OSStatus DrawThemeEditTextFrame(const Rect* inRect, ThemeDrawState inState) {
    if (inRect == nullptr)
        return paramErr;
    cairo_t* cr = current_context();
    if (cr == nullptr)
        return paramErr;
    // The frame lies just outside the rectangle, as the theme's does.
    const Rect outside{static_cast<short>(inRect->top - 1), static_cast<short>(inRect->left - 1),
                       static_cast<short>(inRect->bottom + 1),
                       static_cast<short>(inRect->right + 1)};
    hit::theme::draw_edit_text_frame(cr, outside, inState != kThemeStateInactive);
    cairo_destroy(cr);
    return noErr;
}

OSStatus DrawThemeFocusRect(const Rect* inRect, Boolean inHasFocus) {
    if (inRect == nullptr)
        return paramErr;
    cairo_t* cr = current_context();
    if (cr == nullptr)
        return paramErr;
    hit::theme::draw_focus_band(cr, *inRect, !inHasFocus);
    cairo_destroy(cr);
    return noErr;
}

OSStatus SetThemeCursor(ThemeCursor inCursor) {
    if (inCursor < kThemeArrowCursor || inCursor > kThemePointingHandCursor)
        return paramErr;
    current_cursor = inCursor;
    return noErr;
}

ThemeCursor PlatformGetThemeCursor(void) {
    return current_cursor;
}

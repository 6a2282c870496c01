/*
 * HIView.h: the view names of controls. A view is a control. Windows here
 * do not composite: a view's bounds and frame are both its rectangle in its
 * window's coordinates, as GetControlBounds gives it, in floats.
 */
#ifndef HITOOLBOX_HIVIEW_H
#define HITOOLBOX_HIVIEW_H

#include <HIToolbox/Controls.h>
#include <HIToolbox/HIGeometry.h>

CF_EXTERN_C_BEGIN

typedef ControlID HIViewID;
typedef ControlKind HIViewKind;

/* The window's root view (created if the window has none yet); NULL for an
   invalid window. The window owns it. */
CF_EXPORT HIViewRef HIViewGetRoot(WindowRef inWindow);

/* The first view below inStartView (depth-first, in embedding order) with
   the ID; errUnknownControl when there is none, paramErr for bad arguments. */
CF_EXPORT OSStatus HIViewFindByID(HIViewRef inStartView, HIViewID inID, HIViewRef* outControl);

/* The view's rectangle (see above); paramErr for a bad view or NULL. */
CF_EXPORT OSStatus HIViewGetBounds(HIViewRef inView, HIRect* outRect);
CF_EXPORT OSStatus HIViewGetFrame(HIViewRef inView, HIRect* outRect);
/* Moves and sizes the view (and what it embeds); coordinates are rounded to
   whole pixels. */
CF_EXPORT OSStatus HIViewSetFrame(HIViewRef inView, const HIRect* inRect);
CF_EXPORT OSStatus HIViewMoveBy(HIViewRef inView, CGFloat inDX, CGFloat inDY);

/* The first embedded view and the next sibling, in embedding order; NULL at
   the end or for a bad view. */
CF_EXPORT HIViewRef HIViewGetFirstSubview(HIViewRef inView);
CF_EXPORT HIViewRef HIViewGetNextView(HIViewRef inView);
/* Shows or hides the view, as SetControlVisibility(inView, inVisible, true); a view is
   visible when it and every view it is embedded in are (IsControlVisible). */
CF_EXPORT OSStatus HIViewSetVisible(HIViewRef inView, Boolean inVisible);
CF_EXPORT Boolean HIViewIsVisible(HIViewRef inView);

/* The view's value (GetControl32BitValue), and setting it; paramErr for a bad view. */
CF_EXPORT SInt32 HIViewGetValue(HIViewRef inView);
CF_EXPORT OSStatus HIViewSetValue(HIViewRef inView, SInt32 inValue);
/* The view's text: the content of a text view (static or edit text, 'cfst'), the title of
   others. HIViewCopyText gives a new string the caller releases (NULL for a bad view). */
CF_EXPORT OSStatus HIViewSetText(HIViewRef inView, CFStringRef inText);
CF_EXPORT CFStringRef HIViewCopyText(HIViewRef inView);
/* Enables or disables the view (EnableControl, DisableControl). */
CF_EXPORT OSStatus HIViewSetEnabled(HIViewRef inView, Boolean inSetEnabled);

/* Makes inNewChild the last subview of inParent, keeping its rectangle, as
   EmbedControl does (and with its statuses). */
CF_EXPORT OSStatus HIViewAddSubview(HIViewRef inParent, HIViewRef inNewChild);

CF_EXTERN_C_END

#endif /* HITOOLBOX_HIVIEW_H */

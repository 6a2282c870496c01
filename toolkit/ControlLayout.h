/*
 * ControlLayout.h: sizing controls to their content, embedding and moving views.
 */
#ifndef TOOLKIT_CONTROLLAYOUT_H
#define TOOLKIT_CONTROLLAYOUT_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

/* Which edges of its rectangle SetControlBestRect keeps. Both edges of an axis: the control
   fills it; one: it is aligned there at its preferred extent; neither: it is centred. */
enum {
    kBestRectAnchorLeft = 1,
    kBestRectAnchorRight = 2,
    kBestRectAnchorTop = 4,
    kBestRectAnchorBottom = 8
};

/* Resizes control to its preferred size inside its current bounds, as options says. Each
   offset, when given, shifts the control first and then grows by the control's growth along
   its axis, so one offset passed to a row of controls pushes each by the growth of those before
   it. A control that fills a width too narrow for its text gets taller in proportion.
   Always returns 0; a NULL control changes nothing. */
CF_EXPORT OSStatus SetControlBestRect(ControlRef control, UInt32 options,
                                      SInt32* ioHorizontalOffset, SInt32* ioVerticalOffset);

/* Embeds control in container and, when that worked, makes it visible without drawing it.
   Returns the first failing status, else 0. */
CF_EXPORT OSStatus EmbedAndShowControl(ControlRef control, ControlRef container);

/* Finds the view controlID under the root of sourceWindow, moves it to the top-left corner of
   destination, *ioVerticalOffset further down, adds its height to *ioVerticalOffset and moves
   its subviews, first to last, into destination. Returns the lookup's status (nothing changes),
   the status of the first move that failed (the rest stay behind), or 0. */
CF_EXPORT OSStatus AppendViewFromWindowAndUnpack(HIViewRef destination, WindowRef sourceWindow,
                                                 ControlID controlID, float* ioVerticalOffset);

/* Moves view's frame origin by (dx, dy); nothing for a NULL view. */
CF_EXPORT void TranslateView(HIViewRef view, float dx, float dy);

CF_EXTERN_C_END

#endif /* TOOLKIT_CONTROLLAYOUT_H */

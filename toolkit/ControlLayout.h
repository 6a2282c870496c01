/*
 * ControlLayout.h: sizing controls to their content, embedding and moving views.
 */
#ifndef TOOLKIT_CONTROLLAYOUT_H
#define TOOLKIT_CONTROLLAYOUT_H

#include <Carbon/Carbon.h>

CF_EXTERN_C_BEGIN

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

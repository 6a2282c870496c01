// Drawing inside HIToolbox: how windows and controls get their pixels.
//
// Every window's port has a cairo image surface as its backing store
// (WindowPort.cpp). Controls hold state; the theme (Theme*.cpp) paints it.
// Each kind of control points its ControlKindClass::draw and ::best_rect
// hooks at the theme's painter and measurer for that kind (ThemePainters.h),
// and reads nothing else of the theme. Whoever changes what a control shows
// calls invalidate_control; the area is repainted at the next update.
#ifndef HITOOLBOX_SRC_DRAWING_H
#define HITOOLBOX_SRC_DRAWING_H

#include "ControlKinds.h"
#include "DrawContext.h"
#include "ThemePainters.h"

#include <cairo.h>

namespace hit {

// ---- Repainting ------------------------------------------------------------

// Marks the control's area of its window for repainting (the control, what
// it embeds and what lies behind it). Cheap; nothing is painted yet.
void invalidate_control(ControlRef control);
// Marks a window-local rectangle of the window for repainting.
void invalidate_window_rect(WindowRef window, const Rect& rect);
// Repaints the invalidated area now: background, then every visible control
// that touches it. Nothing happens when nothing was invalidated.
void update_window(WindowRef window);

// Draws the control and then its embedded controls, at once, unless it is
// hidden. kEventControlDraw goes to the control first; a handler that
// returns noErr replaces the theme's drawing of that control.
void draw_control(ControlRef control);
// Draws the whole window: its background, then its control tree.
void draw_window(WindowRef window);

// ---- Measuring ---------------------------------------------------------------

// The control's preferred rectangle (top-left corner at the control's) for
// its current text, and the text's baseline offset from the bottom of that
// rectangle (negative; 0 without text). Controls whose kind has no measure
// prefer their bounds.
Rect best_control_rect(ControlRef control, SInt16* baseline_offset);

} // namespace hit

#endif // HITOOLBOX_SRC_DRAWING_H

// Drawing inside HIToolbox: how windows and controls get their pixels.
//
// Every window's port has a cairo image surface as its backing store
// (WindowPort.cpp). Controls hold state; the theme (Theme*.cpp) paints it.
// Each kind of control points its ControlKindClass::draw and ::best_rect
// hooks at the theme's painter and measurer for that kind (declared below),
// and reads nothing else of the theme. Whoever changes what a control shows
// calls invalidate_control; the area is repainted at the next update.
#ifndef HITOOLBOX_SRC_DRAWING_H
#define HITOOLBOX_SRC_DRAWING_H

#include "ControlKinds.h"

#include <cairo.h>

namespace hit {

// What a painter gets for one control.
struct DrawContext {
    cairo_t* cr = nullptr; // on the window's surface, window-local pixels
    WindowRef window = nullptr;
    Rect bounds{};       // the control's bounds
    bool enabled = true; // the control and its embedders are enabled
    bool active = true;  // the control, its embedders and its window are active
    bool focused =
        false; // the control has the window's keyboard focus (rings show only when active)
};

// ---- Repainting ------------------------------------------------------------

// Marks the control's area of its window for repainting (the control, what
// it embeds and what lies behind it). Cheap; nothing is painted yet.
void invalidate_control(ControlRef control);
// Marks a window-local rectangle of the window for repainting.
void invalidate_window_rect(WindowRef window, const Rect& rect);
// Repaints the invalidated area now: background, then every visible control
// that touches it. Nothing happens when nothing was invalidated.
void update_window(WindowRef window);

// Draws the control and then its embedded controls, unless it is hidden: at
// once inside a pass, otherwise its area is invalidated and painted when the
// window's pixels are next read (update_window). kEventControlDraw goes to
// the control first; a handler that returns noErr replaces the theme's
// drawing of that control.
void draw_control(ControlRef control);
// Marks the whole window for repainting.
void invalidate_window(WindowRef window);
// Draws the whole window now: its background, then its control tree.
void draw_window(WindowRef window);

// ---- Measuring ---------------------------------------------------------------

// The control's preferred rectangle (top-left corner at the control's) for
// its current text, and the text's baseline offset from the bottom of that
// rectangle (negative; 0 without text). Controls whose kind has no measure
// prefer their bounds.
Rect best_control_rect(ControlRef control, SInt16* baseline_offset);

// ---- The theme's painters and measurers, one pair per kind -------------------
//
// They read state through the Control Manager: value and range, title, the
// kind's copy_text (the text a person sees: a static text's or edit text's
// text, a popup's chosen item), and the kind's data tags.
namespace theme {

void draw_user_pane(ControlRef control, DrawContext& context);
void draw_push_button(ControlRef control, DrawContext& context);
void draw_check_box(ControlRef control, DrawContext& context);
void draw_radio_button(ControlRef control, DrawContext& context);
void draw_popup_button(ControlRef control, DrawContext& context);
void draw_static_text(ControlRef control, DrawContext& context);
void draw_edit_text(ControlRef control, DrawContext& context);
void draw_group_box(ControlRef control, DrawContext& context);
void draw_tabs(ControlRef control, DrawContext& context);
void draw_separator(ControlRef control, DrawContext& context);
void draw_combo_box(ControlRef control, DrawContext& context);
// A combo box's open list, below its field, over the other controls.
void draw_combo_list(ControlRef control, DrawContext& context);
Rect combo_list_rect(ControlRef control);

Rect best_push_button(ControlRef control, SInt16* baseline_offset);
Rect best_check_box(ControlRef control, SInt16* baseline_offset);
Rect best_radio_button(ControlRef control, SInt16* baseline_offset);
Rect best_popup_button(ControlRef control, SInt16* baseline_offset);
Rect best_static_text(ControlRef control, SInt16* baseline_offset);
Rect best_edit_text(ControlRef control, SInt16* baseline_offset);
Rect best_group_box(ControlRef control, SInt16* baseline_offset);
Rect best_tabs(ControlRef control, SInt16* baseline_offset);
// The tab (from 1) drawn under the window-local point; 0 when none is.
MenuItemIndex tab_at(ControlRef control, Point where);

} // namespace theme

} // namespace hit

#endif // HITOOLBOX_SRC_DRAWING_H

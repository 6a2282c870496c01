// The theme's painters and measurers, one pair per kind of control: each
// kind's ControlKindClass::draw and ::best_rect hooks point at them. Defined in
// Theme_*.cpp.
#ifndef HITOOLBOX_SRC_THEMEPAINTERS_H
#define HITOOLBOX_SRC_THEMEPAINTERS_H

#include "DrawContext.h"

namespace hit::theme {

// They read state through the Control Manager: value and range, title, the
// kind's copy_text (the text a person sees: a static text's or edit text's
// text, a popup's chosen item), and the kind's data tags.

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

} // namespace hit::theme

#endif // HITOOLBOX_SRC_THEMEPAINTERS_H

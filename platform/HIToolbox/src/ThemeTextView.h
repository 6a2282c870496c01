// The theme's pieces of a text view: the edit-text frame around it, its
// scroll bar, and the colours its text engine draws the selection and the
// caret in.
#ifndef HITOOLBOX_SRC_THEMETEXTVIEW_H
#define HITOOLBOX_SRC_THEMETEXTVIEW_H

#include <HIToolbox/HIToolboxTypes.h>

#include <cairo.h>

namespace hit::theme {

// The sunken frame of an edit text, one pixel wide, just inside `r`.
void draw_edit_text_frame(cairo_t* cr, const Rect& r, bool active);
// The soft focus ring around `r` (drawn outside it); `erase` paints the
// band with the background behind it instead.
void draw_focus_band(cairo_t* cr, const Rect& r, bool erase);
// A vertical scroll bar filling `r`: the thumb covers `visible` (0..1) of
// the track from `position` (0..1 of the part that can scroll); no thumb
// when everything is visible.
void draw_vertical_scroll_bar(cairo_t* cr, const Rect& r, double position, double visible,
                              bool active);
// The thumb's span within the track, in pixels from r.top.
void scroll_thumb_span(const Rect& r, double position, double visible, int* top, int* bottom);
// The selection's highlight and the caret of editable text.
void set_selection_colour(cairo_t* cr, bool active);
void set_caret_colour(cairo_t* cr);

inline constexpr int kScrollBarWidth = 15;

} // namespace hit::theme

#endif // HITOOLBOX_SRC_THEMETEXTVIEW_H

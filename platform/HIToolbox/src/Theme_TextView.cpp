// The theme's text view pieces: edit-text frames, focus bands, the vertical
// scroll bar, and the selection and caret colours.
#include "ThemeTextView.h"
#include "Theme.h"

#include <algorithm>

namespace hit::theme {
namespace {

constexpr Colour kTrack = {0.93, 0.93, 0.93};
constexpr Colour kTrackEdge = {0.78, 0.78, 0.78};
constexpr Colour kThumb = {0.55, 0.55, 0.55};
constexpr Colour kInactiveThumb = {0.78, 0.78, 0.78};
constexpr Colour kFrameTop = {0.50, 0.50, 0.50};
constexpr Colour kFrameSide = {0.68, 0.68, 0.68};
constexpr Colour kInactiveFrame = {0.80, 0.80, 0.80};
constexpr Colour kInactiveSelection = {0.85, 0.85, 0.85};
constexpr int kMinThumb = 16;

} // namespace

void draw_edit_text_frame(cairo_t* cr, const Rect& r, bool active) {
    const double w = r.right - r.left;
    const double h = r.bottom - r.top;
    cairo_save(cr);
    cairo_set_line_width(cr, 1);
    set_colour(cr, active ? kFrameSide : kInactiveFrame);
    cairo_rectangle(cr, r.left + 0.5, r.top + 0.5, w - 1, h - 1);
    cairo_stroke(cr);
    if (active) {
        set_colour(cr, kFrameTop);
        cairo_move_to(cr, r.left, r.top + 0.5);
        cairo_line_to(cr, r.right, r.top + 0.5);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void draw_focus_band(cairo_t* cr, const Rect& r, bool erase) {
    cairo_save(cr);
    if (erase) {
        constexpr int kBand = 4;
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_rectangle(cr, r.left - kBand, r.top - kBand, r.right - r.left + 2 * kBand,
                        r.bottom - r.top + 2 * kBand);
        cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
        cairo_clip(cr);
        // The window's own grey: what lies under a ring drawn around a control.
        cairo_set_source_rgb(cr, 0.925, 0.925, 0.925);
        cairo_paint(cr);
    } else {
        focus_ring(cr, r, 0);
    }
    cairo_restore(cr);
}

void scroll_thumb_span(const Rect& r, double position, double visible, int* top, int* bottom) {
    const int track = r.bottom - r.top;
    const int length =
        std::clamp(static_cast<int>(track * visible), std::min(kMinThumb, track), track);
    const int start = static_cast<int>((track - length) * std::clamp(position, 0.0, 1.0));
    *top = start;
    *bottom = start + length;
}

void draw_vertical_scroll_bar(cairo_t* cr, const Rect& r, double position, double visible,
                              bool active) {
    cairo_save(cr);
    set_colour(cr, kTrack);
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_fill(cr);
    set_colour(cr, kTrackEdge);
    cairo_rectangle(cr, r.left, r.top, 1, r.bottom - r.top);
    cairo_fill(cr);
    if (visible < 1.0) {
        int top = 0, bottom = 0;
        scroll_thumb_span(r, position, visible, &top, &bottom);
        set_colour(cr, active ? kThumb : kInactiveThumb);
        rounded_rect(cr, r.left + 3, r.top + top + 1, r.right - r.left - 5, bottom - top - 2, 4);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void set_selection_colour(cairo_t* cr, bool active) {
    set_colour(cr, active ? kSelection : kInactiveSelection);
}

void set_caret_colour(cairo_t* cr) {
    set_colour(cr, kText);
}

} // namespace hit::theme

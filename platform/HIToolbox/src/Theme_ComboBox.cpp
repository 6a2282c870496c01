// The theme's combo box: an edit text field with an arrow button at its
// right end, and its drop-down list, one entry a row, drawn over whatever
// lies below the field while it is open.
#include "EditText.h"
#include "Theme.h"
#include "TextInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <algorithm>

namespace hit::theme {
namespace {

constexpr int kArrowWidth = 20; // the button that opens the list
constexpr int kRowInset = 4;    // between the list's edge and an entry's text

constexpr Colour kListBackground = {1, 1, 1};
constexpr Colour kListEdge = {0.55, 0.55, 0.55};

int row_height(ControlRef control) {
    return measure_text(" ", text_style(control).font).height + 2;
}

} // namespace

void draw_combo_box(ControlRef control, DrawContext& context) {
    cairo_t* cr = context.cr;
    const Rect b = context.bounds;
    DrawContext field = context;
    field.bounds.right = static_cast<short>(std::max<int>(b.left, b.right - kArrowWidth + 1));
    draw_edit_text(control, field);

    const double x = b.right - kArrowWidth, h = b.bottom - b.top;
    rounded_rect(cr, x + 0.5, b.top + 0.5, kArrowWidth - 1, h - 1, 3);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    if (context.enabled && context.active)
        fill_gradient(cr, b.top, h, kAccentTop, kAccentBottom);
    else
        fill_gradient(cr, b.top, h, {0.97, 0.97, 0.97}, {0.88, 0.88, 0.88});
    cairo_restore(cr);
    set_colour(cr, context.enabled && context.active ? kAccentFrame : kFrame);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // The arrow points down: the list opens below.
    const double cx = x + kArrowWidth / 2.0, cy = b.top + h / 2.0;
    cairo_move_to(cr, cx - 4, cy - 2);
    cairo_line_to(cr, cx + 4, cy - 2);
    cairo_line_to(cr, cx, cy + 3);
    cairo_close_path(cr);
    set_colour(cr, context.enabled && context.active ? Colour{1, 1, 1} : kInactiveMark);
    cairo_fill(cr);
}

Rect combo_list_rect(ControlRef control) {
    const Rect& b = control->bounds;
    const ComboBoxState* state = kind_state<ComboBoxState>(control);
    const size_t rows = state != nullptr ? std::max<size_t>(state->items.size(), 1) : 1;
    return Rect{b.bottom, b.left, static_cast<short>(b.bottom + 2 + rows * row_height(control)),
                b.right};
}

void draw_combo_list(ControlRef control, DrawContext& context) {
    const ComboBoxState* state = kind_state<ComboBoxState>(control);
    if (state == nullptr || !state->list_open)
        return;
    cairo_t* cr = context.cr;
    const Rect r = combo_list_rect(control);
    set_colour(cr, kListBackground);
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_fill_preserve(cr);
    set_colour(cr, kListEdge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    const Font font = text_style(control).font;
    const int row = row_height(control);
    cairo_rectangle(cr, r.left + 1, r.top + 1, r.right - r.left - 2, r.bottom - r.top - 2);
    cairo_clip(cr);
    for (size_t i = 0; i < state->items.size(); ++i) {
        const double y = r.top + 1 + static_cast<double>(i) * row;
        if (state->items[i] == state->text) { // the entry the field holds
            set_colour(cr, kSelection);
            cairo_rectangle(cr, r.left + 1, y, r.right - r.left - 2, row);
            cairo_fill(cr);
        }
        const cf::Holder<CFStringRef> item(create_string(state->items[i]));
        draw_text(cr, utf8(item.get()), font, r.left + kRowInset, y + 1,
                  context.enabled ? kText : kDisabledText);
    }
}

} // namespace hit::theme

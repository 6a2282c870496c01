// The theme's text controls: static text and edit text (plain and password),
// with the edit text's frame, selection and caret.
#include "EditText.h"
#include "TextInternal.h"
#include "Theme.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace hit::theme {
namespace {

constexpr int kEditInset = 3; // between an edit text's frame and its text

constexpr Colour kEditBackground = {1, 1, 1};
constexpr Colour kDisabledEditBackground = {0.97, 0.97, 0.97};
constexpr Colour kEditTopEdge = {0.50, 0.50, 0.50};
constexpr Colour kEditEdge = {0.68, 0.68, 0.68};
constexpr Colour kInactiveSelection = {0.85, 0.85, 0.85};

// What an edit text shows: its text, or one bullet per character of a
// password; and the selection as byte offsets into what it shows.
struct EditLook {
    std::string shown;
    int selection_start = 0;
    int selection_end = 0;
    int marked_start = 0; // text being composed, underlined: empty when start == end
    int marked_end = 0;
};

EditLook edit_look(ControlRef control) {
    const EditTextState& state = edit_text_state(control);
    std::vector<int> offsets;
    EditLook look;
    std::u16string shown = state.shown();
    if (state.marked.empty()) {
        look.shown = utf8_of_units(shown, &offsets);
        const size_t last = offsets.size() - 1;
        look.selection_start = offsets[std::min(state.sel_start, last)];
        look.selection_end = offsets[std::min(state.sel_end, last)];
        return look;
    }
    // The composed text stands where the selection is, with its own caret.
    const size_t start = std::min(state.sel_start, shown.size());
    const size_t end = std::min(state.sel_end, shown.size());
    const std::u16string marked =
        state.password ? std::u16string(state.marked.size(), u'\u2022') : state.marked;
    shown = shown.substr(0, start) + marked + shown.substr(end);
    look.shown = utf8_of_units(shown, &offsets);
    const size_t caret = start + std::min(state.marked_caret, marked.size());
    look.selection_start = look.selection_end = offsets[caret];
    look.marked_start = offsets[start];
    look.marked_end = offsets[start + marked.size()];
    return look;
}

void edit_frame(cairo_t* cr, const Rect& b, const DrawContext& context) {
    const double w = b.right - b.left;
    const double h = b.bottom - b.top;
    set_colour(cr, context.enabled ? kEditBackground : kDisabledEditBackground);
    cairo_rectangle(cr, b.left, b.top, w, h);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1);
    Colour edge = kEditEdge;
    Colour top = kEditTopEdge;
    if (!context.enabled)
        edge.a = top.a = 0.5;
    set_colour(cr, edge);
    cairo_rectangle(cr, b.left + 0.5, b.top + 0.5, w - 1, h - 1);
    cairo_stroke(cr);
    set_colour(cr, top);
    cairo_move_to(cr, b.left, b.top + 0.5);
    cairo_line_to(cr, b.right, b.top + 0.5);
    cairo_stroke(cr);
}

} // namespace

void draw_static_text(ControlRef control, DrawContext& context) {
    cairo_t* cr = context.cr;
    const Rect& b = context.bounds;
    const int width = b.right - b.left;
    const TextStyle style = text_style(control);
    Boolean multiline = true;
    GetControlData(control, kControlEntireControl, kControlStaticTextIsMultilineTag,
                   sizeof(multiline), &multiline, nullptr);
    cairo_rectangle(cr, b.left, b.top, width, b.bottom - b.top);
    cairo_clip(cr);
    draw_text(cr, visible_text(control), style.font, b.left, b.top,
              context.enabled ? kText : kDisabledText, style.align, width, multiline ? width : 0);
}

Rect best_static_text(ControlRef control, SInt16* baseline_offset) {
    const std::string text = visible_text(control);
    const TextSize size = measure_text(text, text_style(control).font);
    if (baseline_offset != nullptr)
        *baseline_offset = text.empty() ? 0 : static_cast<SInt16>(size.baseline - size.height);
    const Rect& b = control->bounds;
    return Rect{b.top, b.left, static_cast<short>(b.top + size.height),
                static_cast<short>(b.left + size.width)};
}

void draw_edit_text(ControlRef control, DrawContext& context) {
    cairo_t* cr = context.cr;
    const Rect& b = context.bounds;
    edit_frame(cr, b, context);
    const EditLook look = edit_look(control);
    const Font font = text_style(control).font;
    const TextSize line = measure_text(look.shown.empty() ? " " : look.shown, font);
    const double x = b.left + kEditInset;
    const double y = b.top + std::max(kEditInset, (b.bottom - b.top - line.height) / 2);
    cairo_save(cr);
    cairo_rectangle(cr, b.left + 1, b.top + 1, b.right - b.left - 2, b.bottom - b.top - 2);
    cairo_clip(cr);
    if (context.focused) {
        const int from = text_offset(look.shown, font, look.selection_start);
        const int to = text_offset(look.shown, font, look.selection_end);
        if (from != to) {
            set_colour(cr, context.active ? kSelection : kInactiveSelection);
            cairo_rectangle(cr, x + std::min(from, to), y, std::abs(to - from), line.height);
            cairo_fill(cr);
        } else if (context.active) {
            set_colour(cr, kText);
            cairo_rectangle(cr, x + from, y, 1, line.height);
            cairo_fill(cr);
        }
    }
    draw_text(cr, look.shown, font, x, y, context.enabled ? kText : kDisabledText);
    if (look.marked_start != look.marked_end) {
        // Text being composed is underlined, as input methods expect.
        const int from = text_offset(look.shown, font, look.marked_start);
        const int to = text_offset(look.shown, font, look.marked_end);
        set_colour(cr, kText);
        cairo_rectangle(cr, x + from, y + line.height - 1, to - from, 1);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    if (context.focused && context.active)
        focus_ring(cr, b, 0);
}

Rect best_edit_text(ControlRef control, SInt16* baseline_offset) {
    // A field scrolls its text: it keeps its width and asks for one line.
    const TextSize line = measure_text(" ", text_style(control).font);
    const int height = line.height + 2 * kEditInset;
    if (baseline_offset != nullptr)
        *baseline_offset = static_cast<SInt16>(kEditInset + line.baseline - height);
    const Rect& b = control->bounds;
    return Rect{b.top, b.left, static_cast<short>(b.top + height), b.right};
}

} // namespace hit::theme

// The theme's data browser: a white well with a frame, a header row with the column titles,
// striped rows with the selection in the accent colour, text and check box cells, and a
// vertical scroller that shows which part of the rows is in view.
#include "DataBrowser.h"
#include "Theme.h"
#include "TextInternal.h"

#include <algorithm>

namespace hit::theme {
namespace {

using databrowser::Column;
using databrowser::Row;
using databrowser::State;

constexpr Colour kWell = {1.0, 1.0, 1.0};
constexpr Colour kStripe = {0.95, 0.96, 0.98};
constexpr Colour kHeaderTop = {0.98, 0.98, 0.98};
constexpr Colour kHeaderBottom = {0.88, 0.88, 0.88};
constexpr Colour kRule = {0.78, 0.78, 0.78};
constexpr Colour kInactiveSelection = {0.85, 0.85, 0.85};
constexpr Colour kScrollTrack = {0.93, 0.93, 0.93};
constexpr Colour kScrollThumb = {0.60, 0.60, 0.60};
constexpr int kCellInset = 4;
constexpr int kCheckSize = 12;

void fill(cairo_t* cr, double x, double y, double w, double h, const Colour& colour) {
    cairo_rectangle(cr, x, y, w, h);
    set_colour(cr, colour);
    cairo_fill(cr);
}

void draw_headers(cairo_t* cr, const State& state, const Rect& b, const DrawContext& context) {
    const int top = b.top + 1, height = state.header_height;
    cairo_save(cr);
    cairo_rectangle(cr, b.left + 1, top, b.right - b.left - 2, height);
    cairo_clip(cr);
    cairo_rectangle(cr, b.left + 1, top, b.right - b.left - 2, height);
    fill_gradient(cr, top, height, kHeaderTop, kHeaderBottom);
    cairo_new_path(cr); // the gradient keeps its path for callers that stroke it
    int x = b.left + 1 - static_cast<int>(state.scroll_left);
    for (const Column& column : state.columns) {
        const std::string title = utf8(column.title.get());
        const TextSize text = measure_text(title, kSmallSystemFont);
        draw_text(cr, title, kSmallSystemFont, x + kCellInset, top + (height - text.height) / 2.0,
                  context.enabled ? kText : kDisabledText);
        x += column.width;
        fill(cr, x - 1, top + 2, 1, height - 4, kRule);
    }
    fill(cr, b.left + 1, top + height - 1, b.right - b.left - 2, 1, kRule);
    cairo_restore(cr);
}

void draw_check_cell(cairo_t* cr, ThemeButtonValue value, double x, double y, double row_height,
                     const DrawContext& context) {
    const double top = y + (row_height - kCheckSize) / 2.0;
    rounded_rect(cr, x + 0.5, top + 0.5, kCheckSize - 1, kCheckSize - 1, 2);
    set_colour(cr, kWell);
    cairo_fill_preserve(cr);
    set_colour(cr, context.enabled ? kFrame : kDisabledFrame);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    set_colour(cr, context.enabled ? kMark : kInactiveMark);
    cairo_set_line_width(cr, 2);
    if (value == kThemeButtonOn) {
        cairo_move_to(cr, x + 2.5, top + kCheckSize / 2.0);
        cairo_line_to(cr, x + kCheckSize / 2.0 - 1, top + kCheckSize - 3);
        cairo_line_to(cr, x + kCheckSize - 2.5, top + 2.5);
        cairo_stroke(cr);
    } else if (value == kThemeButtonMixed) {
        cairo_move_to(cr, x + 3, top + kCheckSize / 2.0);
        cairo_line_to(cr, x + kCheckSize - 3, top + kCheckSize / 2.0);
        cairo_stroke(cr);
    }
}

void draw_row(cairo_t* cr, const State& state, const Row& row, size_t index, double x0, double y,
              double width, const DrawContext& context) {
    const double height = state.row_height;
    if (row.selected)
        fill(cr, x0, y, width, height, context.active ? kSelection : kInactiveSelection);
    else if (index % 2 == 1)
        fill(cr, x0, y, width, height, kStripe);
    double x = x0 - state.scroll_left;
    for (const Column& column : state.columns) {
        cairo_save(cr);
        cairo_rectangle(cr, x, y, column.width, height);
        cairo_clip(cr);
        const databrowser::Cell* cell = row.cell(column.desc.propertyID);
        if (column.desc.propertyType == kDataBrowserCheckboxType) {
            draw_check_cell(cr, cell != nullptr ? cell->button : ThemeButtonValue{kThemeButtonOff},
                            x + kCellInset, y, height, context);
        } else if (cell != nullptr && cell->text) {
            const std::string text = utf8(cell->text.get());
            const TextSize size = measure_text(text, kViewsFont);
            draw_text(cr, text, kViewsFont, x + kCellInset, y + (height - size.height) / 2.0,
                      context.enabled ? kText : kDisabledText);
        }
        cairo_restore(cr);
        x += column.width;
    }
}

void draw_scroller(cairo_t* cr, const State& state, const Rect& area) {
    const double x = area.right, top = area.top, height = area.bottom - area.top;
    fill(cr, x, top, 11, height, kScrollTrack);
    const double content = static_cast<double>(state.rows.size()) * state.row_height;
    if (content <= height || height <= 0)
        return;
    const double thumb = std::max(16.0, height * height / content);
    const double offset = (height - thumb) * state.scroll_top / (content - height);
    rounded_rect(cr, x + 2, top + offset + 1, 7, thumb - 2, 3.5);
    set_colour(cr, kScrollThumb);
    cairo_fill(cr);
}

} // namespace

void draw_data_browser(ControlRef control, DrawContext& context) {
    cairo_t* cr = context.cr;
    const Rect& b = context.bounds;
    const State& state = databrowser::state_of(control);
    fill(cr, b.left, b.top, b.right - b.left, b.bottom - b.top, kWell);
    if (!state.columns.empty() && state.header_height > 0)
        draw_headers(cr, state, b, context);
    const Rect area = databrowser::rows_area(control, state);
    cairo_save(cr);
    cairo_rectangle(cr, area.left, area.top, area.right - area.left, area.bottom - area.top);
    cairo_clip(cr);
    const size_t first = state.scroll_top / state.row_height;
    const double width = area.right - area.left;
    for (size_t r = first; r < state.rows.size(); ++r) {
        const double y = area.top + static_cast<double>(r) * state.row_height - state.scroll_top;
        if (y >= area.bottom)
            break;
        draw_row(cr, state, state.rows[r], r, area.left, y, width, context);
    }
    cairo_restore(cr);
    if (state.vertical_bar)
        draw_scroller(cr, state, area);
    cairo_rectangle(cr, b.left + 0.5, b.top + 0.5, b.right - b.left - 1, b.bottom - b.top - 1);
    set_colour(cr, context.enabled ? kFrame : kDisabledFrame);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (context.focused && context.active)
        focus_ring(cr, b, 0);
}

} // namespace hit::theme

// The text engine's layout and drawing: one pango layout per paragraph,
// made when the paragraph is first drawn or measured; until then its height
// is estimated from its length. Everything here is in "text pixels": x from
// the left of the text area, y from the top of the text (scroll_y of which
// lies above the view).
#include "TXNInternal.h"
#include "TextInternal.h"
#include "Port.h"
#include "ThemeTextView.h"

#include <algorithm>
#include <cmath>

namespace hit::txn {
namespace {

constexpr const char* kFamily = "DejaVu Sans";

PangoContext* context() {
    static PangoContext* c = [] {
        PangoFontMap* map = pango_cairo_font_map_new();
        PangoContext* made = pango_font_map_create_context(map);
        g_object_unref(map);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        pango_cairo_context_set_font_options(made, options);
        cairo_font_options_destroy(options);
        return made;
    }();
    return c;
}

PangoFontDescription* font(const OpaqueTXNObject* o) {
    PangoFontDescription* d = pango_font_description_new();
    pango_font_description_set_family_static(d, kFamily);
    pango_font_description_set_absolute_size(d, o->font_pixels * PANGO_SCALE);
    return d;
}

// The font's line height (of a laid-out line, so that estimates of
// one-line paragraphs are exact) and average advance, for estimates.
void measure_font(OpaqueTXNObject* o) {
    if (o->line_height > 0)
        return;
    PangoFontDescription* d = font(o);
    PangoLayout* l = pango_layout_new(context());
    pango_layout_set_font_description(l, d);
    pango_layout_set_text(l, "X", 1);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(l, &width, &height);
    g_object_unref(l);
    o->line_height = std::max(1, height);
    PangoFontMetrics* m = pango_context_get_metrics(context(), d, nullptr);
    o->char_width = std::max(1.0, pango_font_metrics_get_approximate_char_width(m) /
                                      static_cast<double>(PANGO_SCALE));
    pango_font_metrics_unref(m);
    pango_font_description_free(d);
}

int text_width(const OpaqueTXNObject* o) {
    const Rect r = text_rect(o);
    return std::max(1, r.right - r.left);
}

// UTF-8 bytes taken by the first `unit` units (as utf8_of_units writes them).
int byte_index(const std::u16string& units, size_t unit) {
    int bytes = 0;
    for (size_t i = 0; i < unit && i < units.size(); ++i) {
        const char16_t c = units[i];
        if ((c & 0xFC00) == 0xD800 && i + 1 < units.size() && (units[i + 1] & 0xFC00) == 0xDC00) {
            bytes += 4;
            ++i;
        } else {
            bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        }
    }
    return bytes;
}

size_t unit_index(const std::u16string& units, int byte) {
    int bytes = 0;
    size_t i = 0;
    while (i < units.size() && bytes < byte) {
        const char16_t c = units[i];
        if ((c & 0xFC00) == 0xD800 && i + 1 < units.size() && (units[i + 1] & 0xFC00) == 0xDC00) {
            bytes += 4;
            i += 2;
        } else {
            bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
            ++i;
        }
    }
    return i;
}

int estimate(OpaqueTXNObject* o, const Paragraph& p) {
    measure_font(o);
    const double per_line = o->wrap ? std::max(1.0, text_width(o) / o->char_width) : 1e9;
    const int lines = std::max(1, static_cast<int>(std::ceil(p.text.size() / per_line)));
    return lines * o->line_height;
}

} // namespace

bool has_scroll_bar(const OpaqueTXNObject* o) {
    return (o->options & kTXNWantVScrollBarMask) != 0;
}

Rect scroll_bar_rect(const OpaqueTXNObject* o) {
    Rect r = o->frame;
    r.left = static_cast<short>(std::max<int>(r.left, r.right - theme::kScrollBarWidth));
    return r;
}

Rect text_rect(const OpaqueTXNObject* o) {
    Rect r = o->frame;
    r.top = static_cast<short>(r.top + o->margins.topMargin);
    r.left = static_cast<short>(r.left + o->margins.leftMargin);
    r.bottom = static_cast<short>(r.bottom - o->margins.bottomMargin);
    r.right = static_cast<short>(r.right - o->margins.rightMargin -
                                 (has_scroll_bar(o) ? theme::kScrollBarWidth : 0));
    r.bottom = std::max(r.top, r.bottom);
    r.right = std::max(r.left, r.right);
    return r;
}

void drop_layout(Paragraph& p) {
    if (p.layout != nullptr)
        g_object_unref(p.layout);
    p.layout = nullptr;
    p.height = -1;
    p.exact = false;
}

void drop_layouts(OpaqueTXNObject* o) {
    o->line_height = 0;
    for (Paragraph& p : o->paragraphs)
        drop_layout(p);
}

PangoLayout* layout(OpaqueTXNObject* o, size_t index) {
    Paragraph& p = o->paragraphs[index];
    if (p.layout != nullptr)
        return p.layout;
    PangoLayout* l = pango_layout_new(context());
    PangoFontDescription* d = font(o);
    pango_layout_set_font_description(l, d);
    pango_font_description_free(d);
    if (o->wrap) {
        pango_layout_set_width(l, text_width(o) * PANGO_SCALE);
        pango_layout_set_wrap(l, PANGO_WRAP_WORD_CHAR);
    }
    if (o->tab_width > 0) {
        PangoTabArray* tabs =
            pango_tab_array_new_with_positions(1, TRUE, PANGO_TAB_LEFT, o->tab_width);
        pango_layout_set_tabs(l, tabs);
        pango_tab_array_free(tabs);
    }
    const std::string text = utf8_of_units(p.text);
    pango_layout_set_text(l, text.data(), static_cast<int>(text.size()));
    int width = 0, height = 0;
    pango_layout_get_pixel_size(l, &width, &height);
    p.layout = l;
    p.height = std::max(1, height);
    p.exact = true;
    return l;
}

int paragraph_height(OpaqueTXNObject* o, size_t index) {
    Paragraph& p = o->paragraphs[index];
    if (p.height < 0)
        p.height = estimate(o, p);
    return p.height;
}

int content_height(OpaqueTXNObject* o) {
    int h = 0;
    for (size_t i = 0; i < o->paragraphs.size(); ++i)
        h += paragraph_height(o, i);
    return h;
}

int paragraph_top(OpaqueTXNObject* o, size_t index) {
    int y = 0;
    for (size_t i = 0; i < index && i < o->paragraphs.size(); ++i)
        y += paragraph_height(o, i);
    return y;
}

void caret_position(OpaqueTXNObject* o, size_t offset, int* x, int* y, int* height) {
    offset = std::min(offset, o->length);
    const size_t i = paragraph_at(o, offset);
    PangoLayout* l = layout(o, i);
    const Paragraph& p = o->paragraphs[i];
    const size_t local = std::min(offset - starts(o)[i], p.text.size());
    PangoRectangle pos;
    pango_layout_get_cursor_pos(l, byte_index(p.text, local), &pos, nullptr);
    *x = PANGO_PIXELS(pos.x);
    *y = paragraph_top(o, i) + PANGO_PIXELS(pos.y);
    *height = std::max(1, PANGO_PIXELS(pos.height));
}

size_t offset_at(OpaqueTXNObject* o, int x, int y) {
    if (y < 0)
        return 0;
    int top = 0;
    for (size_t i = 0; i < o->paragraphs.size(); ++i) {
        const int h = paragraph_height(o, i);
        if (y >= top + h && i + 1 < o->paragraphs.size()) {
            top += h;
            continue;
        }
        PangoLayout* l = layout(o, i);
        // The layout's height may differ from the estimate the loop used.
        int index = 0, trailing = 0;
        pango_layout_xy_to_index(l, x * PANGO_SCALE, (y - top) * PANGO_SCALE, &index, &trailing);
        const char* text = pango_layout_get_text(l);
        for (; trailing > 0 && text[index] != '\0'; --trailing)
            index = static_cast<int>(g_utf8_next_char(text + index) - text);
        const Paragraph& p = o->paragraphs[i];
        if (y >= top + paragraph_height(o, i))
            return starts(o)[i] + p.text.size();
        return starts(o)[i] + unit_index(p.text, index);
    }
    return o->length;
}

void clamp_scroll(OpaqueTXNObject* o) {
    const Rect r = text_rect(o);
    const int view = r.bottom - r.top;
    o->scroll_y = std::clamp(o->scroll_y, 0, std::max(0, content_height(o) - view));
}

void scroll_to(OpaqueTXNObject* o, size_t offset) {
    int x = 0, y = 0, h = 0;
    caret_position(o, offset, &x, &y, &h);
    const Rect r = text_rect(o);
    const int view = r.bottom - r.top;
    if (y < o->scroll_y)
        o->scroll_y = y;
    else if (y + h > o->scroll_y + view)
        o->scroll_y = y + h - view;
    clamp_scroll(o);
}

namespace {

void draw_selection(OpaqueTXNObject* o, cairo_t* cr, size_t i, double left, double top,
                    bool active) {
    const size_t start = starts(o)[i];
    const Paragraph& p = o->paragraphs[i];
    const size_t end = start + p.text.size() + (p.end != 0 ? 1 : 0);
    if (o->sel_end <= start || o->sel_start >= end || o->sel_start == o->sel_end)
        return;
    PangoLayout* l = layout(o, i);
    const int from = byte_index(p.text, o->sel_start > start ? o->sel_start - start : 0);
    const int to = byte_index(p.text, std::min(o->sel_end - start, p.text.size()));
    const bool through_end = o->sel_end > start + p.text.size() && p.end != 0;
    theme::set_selection_colour(cr, active);
    PangoLayoutIter* it = pango_layout_get_iter(l);
    do {
        PangoLayoutLine* line = pango_layout_iter_get_line_readonly(it);
        int y0 = 0, y1 = 0;
        pango_layout_iter_get_line_yrange(it, &y0, &y1);
        int* ranges = nullptr;
        int n = 0;
        pango_layout_line_get_x_ranges(line, from, to, &ranges, &n);
        for (int k = 0; k < n; ++k)
            cairo_rectangle(cr, left + PANGO_PIXELS(ranges[2 * k]), top + PANGO_PIXELS(y0),
                            std::max(1, PANGO_PIXELS(ranges[2 * k + 1] - ranges[2 * k])),
                            PANGO_PIXELS(y1 - y0));
        g_free(ranges);
        if (through_end && pango_layout_iter_at_last_line(it)) {
            PangoRectangle logical;
            pango_layout_iter_get_line_extents(it, nullptr, &logical);
            const double x = left + PANGO_PIXELS(logical.x + logical.width);
            cairo_rectangle(cr, x, top + PANGO_PIXELS(y0), std::max(4.0, 6.0),
                            PANGO_PIXELS(y1 - y0));
        }
    } while (pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);
    cairo_fill(cr);
}

void draw_scroll_bar(OpaqueTXNObject* o, cairo_t* cr) {
    const Rect r = text_rect(o);
    const int view = r.bottom - r.top;
    const int total = content_height(o);
    const double visible = total > 0 ? std::min(1.0, static_cast<double>(view) / total) : 1.0;
    const double position = total > view ? static_cast<double>(o->scroll_y) / (total - view) : 0.0;
    theme::draw_vertical_scroll_bar(cr, scroll_bar_rect(o), position, visible,
                                    o->scroll_active || o->focused);
}

} // namespace

void draw(OpaqueTXNObject* o, cairo_t* cr, TXNDrawItems items, int band_top, int band_bottom) {
    if (!o->visible)
        return;
    const Rect f = o->frame;
    cairo_save(cr);
    cairo_rectangle(cr, f.left, f.top, f.right - f.left, f.bottom - f.top);
    cairo_clip(cr);
    const bool banded = band_bottom > band_top;
    if (banded) { // only these rows of the text (text pixels) change
        const Rect t = text_rect(o);
        cairo_rectangle(cr, t.left, t.top + band_top - o->scroll_y, t.right - t.left,
                        band_bottom - band_top);
        cairo_clip(cr);
    }
    cairo_set_source_rgb(cr, o->background.r, o->background.g, o->background.b);
    cairo_paint(cr);
    const Rect r = text_rect(o);
    cairo_save(cr);
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
    clamp_scroll(o);
    const bool show_selection = (items & (kTXNDrawItemTextAndSelectionMask)) != 0 &&
                                (o->focused || o->selection_when_inactive);
    int top = 0;
    for (size_t i = 0; i < o->paragraphs.size(); ++i) {
        int h = paragraph_height(o, i);
        if (top + h <= o->scroll_y) {
            top += h;
            continue;
        }
        if (top >= o->scroll_y + (r.bottom - r.top) || (banded && top >= band_bottom))
            break;
        if (banded && top + h <= band_top) {
            top += h;
            continue;
        }
        PangoLayout* l = layout(o, i);
        h = paragraph_height(o, i); // exact now
        const double y = r.top + top - o->scroll_y;
        if (show_selection)
            draw_selection(o, cr, i, r.left, y, o->focused);
        if ((items & (kTXNDrawItemTextMask | kTXNDrawItemTextAndSelectionMask)) != 0) {
            cairo_set_source_rgb(cr, o->text_colour.r, o->text_colour.g, o->text_colour.b);
            cairo_move_to(cr, r.left, y);
            pango_cairo_show_layout(cr, l);
        }
        top += h;
    }
    const bool caret = o->sel_start == o->sel_end && (o->focused || o->caret_when_inactive) &&
                       (items & kTXNDrawItemTextAndSelectionMask) != 0;
    if (caret) {
        int x = 0, y = 0, h = 0;
        caret_position(o, o->sel_start, &x, &y, &h);
        theme::set_caret_colour(cr);
        cairo_rectangle(cr, r.left + std::min(x, r.right - r.left - 1), r.top + y - o->scroll_y, 1,
                        h);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    if (has_scroll_bar(o) && (items & kTXNDrawItemScrollbarsMask) != 0 && !banded)
        draw_scroll_bar(o, cr);
    cairo_restore(cr);
}

void redraw(OpaqueTXNObject* o, int band_top, int band_bottom) {
    if (o->window == nullptr || !o->visible)
        return;
    cairo_t* cr = port_create_context(GetWindowPort(o->window));
    if (cr == nullptr)
        return;
    draw(o, cr, kTXNDrawItemAllMask, band_top, band_bottom);
    cairo_destroy(cr);
}

} // namespace hit::txn

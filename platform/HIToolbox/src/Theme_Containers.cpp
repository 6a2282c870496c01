// The theme's containers: user panes (which draw nothing of their own unless
// given a draw procedure), group boxes and tab controls.
#include "Theme.h"
#include "TextInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <algorithm>
#include <cmath>

namespace hit::theme {
namespace {

constexpr int kTabRowHeight = 22;
constexpr int kTabPadding = 12; // each side of a tab's name
constexpr double kBoxRadius = 4;
constexpr Colour kBoxEdge = {0, 0, 0, 0.20};

// A container's box: its fill over the content, and a soft edge.
void container_box(ControlRef control, cairo_t* cr, double x, double y, double w, double h) {
    if (w <= 0 || h <= 0)
        return;
    rounded_rect(cr, x + 0.5, y + 0.5, w - 1, h - 1, kBoxRadius);
    set_colour(cr, container_fill(control));
    cairo_fill_preserve(cr);
    set_colour(cr, kBoxEdge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// The name of tab `index` (from 1).
std::string tab_name(ControlRef control, SInt32 index) {
    ControlTabInfoRecV1 info{kControlTabInfoVersionOne, 0, nullptr};
    if (GetControlData(control, static_cast<ControlPartCode>(index), kControlTabInfoTag,
                       sizeof(info), &info, nullptr) != noErr ||
        info.name == nullptr)
        return {};
    const cf::Holder<CFStringRef> name(info.name);
    return utf8(name.get());
}

int tab_width(const std::string& name) {
    return measure_text(name, kSmallSystemFont).width + 2 * kTabPadding;
}

} // namespace

void draw_user_pane(ControlRef control, DrawContext&) {
    ControlUserPaneDrawUPP draw = nullptr;
    if (GetControlData(control, kControlEntireControl, kControlUserPaneDrawProcTag, sizeof(draw),
                       &draw, nullptr) == noErr &&
        draw != nullptr)
        draw(control, kControlEntireControl);
}

void draw_group_box(ControlRef control, DrawContext& context) {
    cairo_t* cr = context.cr;
    const Rect& b = context.bounds;
    const std::string title = title_text(control);
    int box_top = b.top;
    if (!title.empty()) {
        const Font font = text_style(control, kSmallSystemFont).font;
        const TextSize text = measure_text(title, font);
        draw_text(cr, title, font, b.left + 6, b.top, context.enabled ? kText : kDisabledText);
        box_top += text.height + 2;
    }
    container_box(control, cr, b.left, box_top, b.right - b.left, b.bottom - box_top);
}

Rect best_group_box(ControlRef control, SInt16* baseline_offset) {
    const Rect& b = control->bounds;
    const std::string title = title_text(control);
    const TextSize text = measure_text(title, text_style(control, kSmallSystemFont).font);
    const int height = b.bottom - b.top;
    if (baseline_offset != nullptr)
        *baseline_offset = title.empty() ? 0 : static_cast<SInt16>(text.baseline - height);
    // The box keeps its size unless its title would not fit.
    const int width = std::max(b.right - b.left, title.empty() ? 0 : text.width + 12);
    return Rect{b.top, b.left, b.bottom, static_cast<short>(b.left + width)};
}

void draw_tabs(ControlRef control, DrawContext& context) {
    cairo_t* cr = context.cr;
    const Rect& b = context.bounds;
    const double width = b.right - b.left;
    container_box(control, cr, b.left, b.top + kTabRowHeight / 2.0, width,
                  b.bottom - b.top - kTabRowHeight / 2.0);
    const SInt32 count = std::max<SInt32>(control->maximum, 0);
    if (count == 0)
        return;
    std::vector<int> widths;
    int total = 0;
    for (SInt32 i = 1; i <= count; ++i) {
        widths.push_back(tab_width(tab_name(control, i)));
        total += widths.back();
    }
    double x = b.left + std::floor((width - total) / 2);
    const bool accent = context.enabled && context.active;
    // The row of tabs, one rounded strip with the chosen tab in the accent colour.
    rounded_rect(cr, x + 0.5, b.top + 0.5, total - 1, kTabRowHeight - 1, kBoxRadius);
    fill_gradient(cr, b.top, kTabRowHeight, {1, 1, 1}, {0.90, 0.90, 0.90});
    cairo_new_path(cr);
    for (SInt32 i = 1; i <= count; ++i) {
        const int w = widths[static_cast<size_t>(i - 1)];
        const bool chosen = control->value == i;
        if (chosen) {
            cairo_save(cr);
            rounded_rect(cr, b.left + std::floor((width - total) / 2) + 0.5, b.top + 0.5, total - 1,
                         kTabRowHeight - 1, kBoxRadius);
            cairo_clip(cr);
            cairo_rectangle(cr, x, b.top, w, kTabRowHeight);
            fill_gradient(cr, b.top, kTabRowHeight, accent ? kAccentTop : Colour{0.80, 0.80, 0.80},
                          accent ? kAccentBottom : Colour{0.70, 0.70, 0.70});
            cairo_new_path(cr);
            cairo_restore(cr);
        } else if (i > 1 && control->value != i - 1) {
            set_colour(cr, kFrame);
            cairo_rectangle(cr, x, b.top + 1, 1, kTabRowHeight - 2);
            cairo_fill(cr);
        }
        const std::string name = tab_name(control, i);
        const TextSize text = measure_text(name, kSmallSystemFont);
        draw_text(cr, name, kSmallSystemFont, x, b.top + (kTabRowHeight - text.height) / 2,
                  chosen && accent ? Colour{1, 1, 1} : (context.enabled ? kText : kDisabledText),
                  Align::centre, w);
        x += w;
    }
    rounded_rect(cr, b.left + std::floor((width - total) / 2) + 0.5, b.top + 0.5, total - 1,
                 kTabRowHeight - 1, kBoxRadius);
    set_colour(cr, context.enabled ? kFrame : kDisabledFrame);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

Rect best_tabs(ControlRef control, SInt16* baseline_offset) {
    const Rect& b = control->bounds;
    int total = 0;
    for (SInt32 i = 1; i <= control->maximum; ++i)
        total += tab_width(tab_name(control, i));
    if (baseline_offset != nullptr)
        *baseline_offset = 0;
    const int width = std::max(b.right - b.left, total + 2 * kTabPadding);
    return Rect{b.top, b.left, b.bottom, static_cast<short>(b.left + width)};
}

void draw_separator(ControlRef, DrawContext& context) {
    cairo_t* cr = context.cr;
    const Rect& b = context.bounds;
    const int width = b.right - b.left;
    const int height = b.bottom - b.top;
    // A groove: a dark line with a light one beside it, across the longer side.
    const bool across = width >= height;
    const double x = across ? b.left : b.left + std::floor((width - 2) / 2.0);
    const double y = across ? b.top + std::floor((height - 2) / 2.0) : b.top;
    set_colour(cr, Colour{0, 0, 0, context.enabled ? 0.25 : 0.12});
    cairo_rectangle(cr, x, y, across ? width : 1, across ? 1 : height);
    cairo_fill(cr);
    set_colour(cr, Colour{1, 1, 1, 0.8});
    cairo_rectangle(cr, across ? x : x + 1, across ? y + 1 : y, across ? width : 1,
                    across ? 1 : height);
    cairo_fill(cr);
}

} // namespace hit::theme

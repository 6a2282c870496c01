// The theme's shared pieces: colours, fonts and text with pango, shapes, and
// what shows behind a control.
//
// Text is laid out in DejaVu Sans; characters it lacks (Japanese, for one)
// come from whatever font fontconfig offers for them. One pango context
// serves the whole process, and laid-out texts are cached by font, wrap
// width and text, so that measuring a title and then drawing it lays it out
// once.
#include "Theme.h"
#include "Port.h"
#include "TextInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace hit::theme {
namespace {

constexpr const char* kFamily = "DejaVu Sans";
// What a ControlFontStyleRec says in its style and just fields: QuickDraw's
// bold face bit, and TextEdit's centred and right-flush justifications.
constexpr SInt16 kBoldFace = 1;
constexpr SInt16 kJustCentre = 1;
constexpr SInt16 kJustRight = -1;
// Cached layouts beyond this many are dropped all at once.
constexpr size_t kMaxCachedLayouts = 2048;

struct CachedLayout {
    PangoLayout* layout = nullptr;
    TextSize size;
};

// One description per size and weight, made on first use, kept for the process.
const PangoFontDescription* font_description(Font font) {
    static auto* fonts = new std::unordered_map<int, PangoFontDescription*>;
    const int key = font.pixels * 2 + (font.bold ? 1 : 0);
    if (auto it = fonts->find(key); it != fonts->end())
        return it->second;
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family_static(description, kFamily);
    pango_font_description_set_absolute_size(description, font.pixels * PANGO_SCALE);
    pango_font_description_set_weight(description,
                                      font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    return fonts->emplace(key, description).first->second;
}

PangoContext* text_context() {
    static PangoContext* context = [] {
        PangoFontMap* map = pango_cairo_font_map_new();
        PangoContext* c = pango_font_map_create_context(map);
        g_object_unref(map); // the context keeps it
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        pango_cairo_context_set_font_options(c, options);
        cairo_font_options_destroy(options);
        return c;
    }();
    return context;
}

std::unordered_map<std::string, CachedLayout>& layout_cache() {
    static auto* cache = new std::unordered_map<std::string, CachedLayout>;
    return *cache;
}

const CachedLayout& layout_for(const std::string& text, Font font, int wrap_width) {
    std::string key;
    key.reserve(text.size() + 16);
    key += std::to_string(font.pixels);
    key += font.bold ? 'b' : 'r';
    key += std::to_string(wrap_width > 0 ? wrap_width : 0);
    key += '\x1f';
    key += text;
    auto& cache = layout_cache();
    if (auto it = cache.find(key); it != cache.end())
        return it->second;
    if (cache.size() >= kMaxCachedLayouts) {
        for (auto& entry : cache)
            g_object_unref(entry.second.layout);
        cache.clear();
    }
    PangoLayout* layout = pango_layout_new(text_context());
    pango_layout_set_font_description(layout, font_description(font));
    if (wrap_width > 0) {
        pango_layout_set_width(layout, wrap_width * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    CachedLayout entry;
    entry.layout = layout;
    entry.size.width = logical.x + logical.width;
    entry.size.height = logical.height;
    entry.size.baseline = pango_layout_get_baseline(layout) / PANGO_SCALE;
    return cache.emplace(std::move(key), entry).first->second;
}

} // namespace

void set_colour(cairo_t* cr, const Colour& c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

TextSize measure_text(const std::string& text, Font font, int wrap_width) {
    return layout_for(text, font, wrap_width).size;
}

void draw_text(cairo_t* cr, const std::string& text, Font font, double x, double y,
               const Colour& colour, Align align, int width, int wrap_width) {
    if (text.empty())
        return;
    const CachedLayout& entry = layout_for(text, font, wrap_width);
    if (align == Align::centre)
        x += std::floor((width - entry.size.width) / 2.0);
    else if (align == Align::right)
        x += width - entry.size.width;
    set_colour(cr, colour);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, entry.layout);
}

int text_offset(const std::string& text, Font font, int index) {
    PangoRectangle pos;
    pango_layout_index_to_pos(layout_for(text, font, 0).layout, index, &pos);
    return PANGO_PIXELS(pos.x);
}

TextStyle text_style(ControlRef control, Font fallback) {
    TextStyle style{fallback};
    ControlFontStyleRec rec{};
    if (GetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof(rec), &rec,
                       nullptr) != noErr) {
        if (!control->font_style)
            return style;
        rec = *control->font_style;
    }
    if ((rec.flags & kControlUseFontMask) != 0) {
        switch (rec.font) {
        case kControlFontBigSystemFont:
            style.font = kSystemFont;
            break;
        case kControlFontSmallSystemFont:
            style.font = kSmallSystemFont;
            break;
        case kControlFontSmallBoldSystemFont:
            style.font = kSmallEmphasizedSystemFont;
            break;
        case kControlFontViewSystemFont:
            style.font = kViewsFont;
            break;
        case kControlFontMiniSystemFont:
            style.font = kMiniSystemFont;
            break;
        default:
            break; // a font by number: the theme has one family
        }
    }
    if ((rec.flags & kControlUseSizeMask) != 0 && rec.size > 0)
        style.font.pixels =
            (rec.flags & kControlAddFontSizeMask) != 0 ? style.font.pixels + rec.size : rec.size;
    if ((rec.flags & kControlUseFaceMask) != 0)
        style.font.bold = (rec.style & kBoldFace) != 0;
    if ((rec.flags & kControlUseJustMask) != 0)
        style.align = rec.just == kJustCentre  ? Align::centre
                      : rec.just == kJustRight ? Align::right
                                               : Align::left;
    return style;
}

std::string title_text(ControlRef control) {
    return utf8(control->title.get());
}

std::string visible_text(ControlRef control) {
    if (control->kind_class->copy_text == nullptr)
        return title_text(control);
    const cf::Holder<CFStringRef> text(control->kind_class->copy_text(control));
    return utf8(text.get());
}

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double radius) {
    radius = std::min({radius, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void fill_gradient(cairo_t* cr, double y, double h, const Colour& top, const Colour& bottom) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(gradient, 0, top.r, top.g, top.b, top.a);
    cairo_pattern_add_color_stop_rgba(gradient, 1, bottom.r, bottom.g, bottom.b, bottom.a);
    cairo_set_source(cr, gradient);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(gradient);
}

void focus_ring(cairo_t* cr, const Rect& around, double radius) {
    rounded_rect(cr, around.left - 1.5, around.top - 1.5, around.right - around.left + 3,
                 around.bottom - around.top + 3, radius + 1.5);
    set_colour(cr, kFocusRing);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

Colour container_fill(ControlRef container) {
    switch (container->kind_class->kind.kind) {
    case kControlKindGroupBox:
        return {0, 0, 0, group_box_is_primary(container) ? 0.05 : 0.025};
    case kControlKindTabs:
        return {0, 0, 0, 0.04};
    default:
        return {0, 0, 0, 0};
    }
}

Colour background_behind(ControlRef control) {
    const Rgb window = port_background(control->owner != nullptr ? control->owner->port : nullptr);
    Colour colour = {window.r, window.g, window.b};
    std::vector<ControlRef> embedders;
    for (ControlRef c = control->embedder; c != nullptr; c = c->embedder)
        embedders.push_back(c);
    for (auto it = embedders.rbegin(); it != embedders.rend(); ++it) {
        const Colour fill = container_fill(*it);
        colour.r = colour.r * (1 - fill.a) + fill.r * fill.a;
        colour.g = colour.g * (1 - fill.a) + fill.g * fill.a;
        colour.b = colour.b * (1 - fill.a) + fill.b * fill.a;
    }
    return colour;
}

void paint_background_behind(ControlRef control, cairo_t* cr) {
    const Rect& b = control->bounds;
    if (b.right <= b.left || b.bottom <= b.top)
        return;
    cairo_save(cr);
    set_colour(cr, background_behind(control));
    cairo_rectangle(cr, b.left, b.top, b.right - b.left, b.bottom - b.top);
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace hit::theme

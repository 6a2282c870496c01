// The theme's buttons: push buttons, check boxes, radio buttons and popup
// buttons. Each painter reads the control's state and paints it; each
// measurer gives the size that the control's text and the kind's chrome need.
#include "TextInternal.h"
#include "Theme.h"
#include <CoreFoundation/CFHolder.h>

#include <HIToolbox/Menus.h>

#include <algorithm>
#include <cmath>

namespace hit::theme {
namespace {

constexpr int kButtonHeight = 20;
constexpr int kButtonPadding = 14; // each side of a push button's title
constexpr double kButtonRadius = 5;
constexpr int kMarkSize = 14; // a check box's box, a radio button's circle
constexpr int kMarkGap = 5;   // between the mark and the title
constexpr int kMarkHeight = 18;
constexpr int kPopupArrows = 18;   // the arrow part at a popup's right end
constexpr int kPopupTextInset = 9; // left of the chosen item's text
constexpr int kPopupLabelGap = 6;  // between a popup's title and its box

constexpr Colour kFaceTop = {1.0, 1.0, 1.0};
constexpr Colour kFaceBottom = {0.90, 0.90, 0.90};

Colour text_colour(const DrawContext& context) {
    return context.enabled ? kText : kDisabledText;
}

Colour frame_colour(const DrawContext& context) {
    return context.enabled ? kFrame : kDisabledFrame;
}

bool is_default_button(ControlRef control) {
    Boolean is_default = false;
    return GetControlData(control, kControlEntireControl, kControlPushButtonDefaultTag,
                          sizeof(is_default), &is_default, nullptr) == noErr &&
           is_default;
}

// A button face over the rectangle: gradient, frame, and the accent colour
// for a default button in an active window.
void button_face(cairo_t* cr, double x, double y, double w, double h, const DrawContext& context,
                 bool accent) {
    rounded_rect(cr, x + 0.5, y + 0.5, w - 1, h - 1, kButtonRadius);
    const bool blue = accent && context.enabled && context.active;
    fill_gradient(cr, y, h, blue ? kAccentTop : kFaceTop, blue ? kAccentBottom : kFaceBottom);
    set_colour(cr, blue ? kAccentFrame : frame_colour(context));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// Where a single line of text sits vertically centred in a height.
int centred_top(int height, const TextSize& text) {
    return (height - text.height) / 2;
}

SInt16 baseline_from_bottom(int text_top, const TextSize& text, int height) {
    return static_cast<SInt16>(text_top + text.baseline - height);
}

Rect sized(ControlRef control, int width, int height) {
    const Rect& b = control->bounds;
    return Rect{b.top, b.left, static_cast<short>(b.top + height),
                static_cast<short>(b.left + width)};
}

// The box or circle of a check box or radio button, its mark, its title.
void mark_control(ControlRef control, DrawContext& context, bool round) {
    cairo_t* cr = context.cr;
    const Rect& b = context.bounds;
    const double x = b.left;
    const double y = b.top + std::floor((b.bottom - b.top - kMarkSize) / 2.0);
    if (round) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + kMarkSize / 2.0, y + kMarkSize / 2.0, kMarkSize / 2.0 - 0.5, 0, 2 * M_PI);
    } else {
        rounded_rect(cr, x + 0.5, y + 0.5, kMarkSize - 1, kMarkSize - 1, 3);
    }
    fill_gradient(cr, y, kMarkSize, kFaceTop, kFaceBottom);
    set_colour(cr, frame_colour(context));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    Colour mark = context.active ? kMark : kInactiveMark;
    if (!context.enabled)
        mark.a = 0.4;
    set_colour(cr, mark);
    const SInt32 value = control->value;
    if (value == kControlCheckBoxMixedValue) {
        cairo_rectangle(cr, x + 3.5, y + 6, kMarkSize - 7, 2);
        cairo_fill(cr);
    } else if (value == kControlCheckBoxCheckedValue && round) {
        cairo_arc(cr, x + kMarkSize / 2.0, y + kMarkSize / 2.0, 3.5, 0, 2 * M_PI);
        cairo_fill(cr);
    } else if (value == kControlCheckBoxCheckedValue) {
        cairo_move_to(cr, x + 3, y + 7);
        cairo_line_to(cr, x + 6, y + 10.5);
        cairo_line_to(cr, x + 11, y + 3);
        cairo_set_line_width(cr, 2.2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }

    const std::string title = title_text(control);
    const Font font = text_style(control).font;
    const TextSize text = measure_text(title, font);
    draw_text(cr, title, font, x + kMarkSize + kMarkGap,
              b.top + centred_top(b.bottom - b.top, text), text_colour(context));
    if (context.focused && context.active)
        focus_ring(cr,
                   Rect{static_cast<short>(y), b.left, static_cast<short>(y + kMarkSize),
                        static_cast<short>(b.left + kMarkSize)},
                   round ? kMarkSize / 2.0 : 3);
}

Rect mark_best(ControlRef control, SInt16* baseline_offset) {
    const std::string title = title_text(control);
    const TextSize text = measure_text(title, text_style(control).font);
    const int height = std::max(kMarkHeight, text.height);
    if (baseline_offset != nullptr)
        *baseline_offset =
            title.empty() ? 0 : baseline_from_bottom(centred_top(height, text), text, height);
    const int width = kMarkSize + (title.empty() ? 0 : kMarkGap + text.width);
    return sized(control, width, height);
}

// The popup's label (its title) takes the left part of its bounds, as wide
// as the title measures, so that a translated title never runs into the menu.
int popup_label_width(const std::string& title, Font font) {
    return title.empty() ? 0 : measure_text(title, font).width + kPopupLabelGap;
}

MenuRef popup_menu(ControlRef control) {
    MenuRef menu = nullptr;
    if (GetControlData(control, kControlEntireControl, kControlPopupButtonMenuRefTag, sizeof(menu),
                       &menu, nullptr) != noErr)
        return nullptr;
    return menu;
}

// The widest item of the popup's menu: the popup does not change its size
// when another item is chosen.
int widest_item(ControlRef control, Font font) {
    int widest = 0;
    MenuRef menu = popup_menu(control);
    const UInt16 count = menu != nullptr ? CountMenuItems(menu) : 0;
    for (MenuItemIndex item = 1; item <= count; ++item) {
        CFStringRef copied = nullptr;
        const OSStatus status = CopyMenuItemTextAsCFString(menu, item, &copied);
        const cf::Holder<CFStringRef> text(copied);
        if (status == noErr)
            widest = std::max(widest, measure_text(utf8(text.get()), font).width);
    }
    return widest;
}

void popup_arrows(cairo_t* cr, double centre_x, double centre_y, const Colour& colour) {
    set_colour(cr, colour);
    cairo_move_to(cr, centre_x - 3.5, centre_y - 1.5);
    cairo_line_to(cr, centre_x + 3.5, centre_y - 1.5);
    cairo_line_to(cr, centre_x, centre_y - 6);
    cairo_close_path(cr);
    cairo_move_to(cr, centre_x - 3.5, centre_y + 1.5);
    cairo_line_to(cr, centre_x + 3.5, centre_y + 1.5);
    cairo_line_to(cr, centre_x, centre_y + 6);
    cairo_close_path(cr);
    cairo_fill(cr);
}

} // namespace

void draw_push_button(ControlRef control, DrawContext& context) {
    cairo_t* cr = context.cr;
    const Rect& b = context.bounds;
    const int width = b.right - b.left;
    const int height = b.bottom - b.top;
    const bool is_default = is_default_button(control);
    button_face(cr, b.left, b.top, width, height, context, is_default);
    if (is_default && !(context.enabled && context.active)) {
        // Still told apart from its neighbours without the accent colour.
        rounded_rect(cr, b.left + 1.5, b.top + 1.5, width - 3, height - 3, kButtonRadius - 1);
        set_colour(cr, frame_colour(context));
        cairo_stroke(cr);
    }
    const std::string title = title_text(control);
    const Font font = text_style(control).font;
    const TextSize text = measure_text(title, font);
    draw_text(cr, title, font, b.left, b.top + centred_top(height, text), text_colour(context),
              Align::centre, width);
    if (context.focused && context.active)
        focus_ring(cr, b, kButtonRadius);
}

Rect best_push_button(ControlRef control, SInt16* baseline_offset) {
    const std::string title = title_text(control);
    const TextSize text = measure_text(title, text_style(control).font);
    const int height = std::max(kButtonHeight, text.height + 4);
    if (baseline_offset != nullptr)
        *baseline_offset =
            title.empty() ? 0 : baseline_from_bottom(centred_top(height, text), text, height);
    return sized(control, text.width + 2 * kButtonPadding, height);
}

void draw_check_box(ControlRef control, DrawContext& context) {
    mark_control(control, context, false);
}

Rect best_check_box(ControlRef control, SInt16* baseline_offset) {
    return mark_best(control, baseline_offset);
}

void draw_radio_button(ControlRef control, DrawContext& context) {
    mark_control(control, context, true);
}

Rect best_radio_button(ControlRef control, SInt16* baseline_offset) {
    return mark_best(control, baseline_offset);
}

void draw_popup_button(ControlRef control, DrawContext& context) {
    cairo_t* cr = context.cr;
    const Rect& b = context.bounds;
    const int height = b.bottom - b.top;
    const std::string title = title_text(control);
    const Font font = text_style(control).font;
    const int label = popup_label_width(title, font);
    if (label > 0) {
        const TextSize text = measure_text(title, font);
        draw_text(cr, title, font, b.left, b.top + centred_top(height, text), text_colour(context));
    }
    const double x = b.left + label;
    const double width = b.right - x;
    if (width <= 0)
        return;
    button_face(cr, x, b.top, width, height, context, false);
    // The arrow part, in the accent colour while the control is usable.
    const double arrows_x = x + width - kPopupArrows;
    cairo_save(cr);
    rounded_rect(cr, x + 0.5, b.top + 0.5, width - 1, height - 1, kButtonRadius);
    cairo_clip(cr);
    cairo_rectangle(cr, arrows_x, b.top, kPopupArrows, height);
    const bool accent = context.enabled && context.active;
    fill_gradient(cr, b.top, height, accent ? kAccentTop : kFaceTop,
                  accent ? kAccentBottom : kFaceBottom);
    cairo_new_path(cr);
    cairo_restore(cr);
    rounded_rect(cr, x + 0.5, b.top + 0.5, width - 1, height - 1, kButtonRadius);
    set_colour(cr, accent ? kAccentFrame : frame_colour(context));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    popup_arrows(cr, arrows_x + kPopupArrows / 2.0, b.top + height / 2.0,
                 accent ? Colour{1, 1, 1} : text_colour(context));

    // The chosen item's text.
    const std::string item = visible_text(control);
    const TextSize text = measure_text(item, font);
    cairo_save(cr);
    cairo_rectangle(cr, x, b.top, width - kPopupArrows - 2, height);
    cairo_clip(cr);
    draw_text(cr, item, font, x + kPopupTextInset, b.top + centred_top(height, text),
              text_colour(context));
    cairo_restore(cr);
    if (context.focused && context.active)
        focus_ring(cr, Rect{b.top, static_cast<short>(x), b.bottom, b.right}, kButtonRadius);
}

Rect best_popup_button(ControlRef control, SInt16* baseline_offset) {
    const Font font = text_style(control).font;
    // An empty menu still has the height of a line of text.
    const TextSize line = measure_text(" ", font);
    const int height = std::max(kButtonHeight, line.height + 4);
    if (baseline_offset != nullptr)
        *baseline_offset = baseline_from_bottom(centred_top(height, line), line, height);
    const int width = popup_label_width(title_text(control), font) + kPopupTextInset +
                      widest_item(control, font) + 6 + kPopupArrows;
    return sized(control, width, height);
}

} // namespace hit::theme

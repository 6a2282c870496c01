// The theme's shared pieces: its colours, its fonts and text (pango), and the
// shapes the painters of Theme_*.cpp are built from. Only the theme's own
// files include this; the rest of HIToolbox sees Drawing.h. The theme reads
// the controls' state and paints into a DrawContext; it never calls back into
// the drawing code.
#ifndef HITOOLBOX_SRC_THEME_H
#define HITOOLBOX_SRC_THEME_H

#include "ControlKinds.h"
#include "ThemePainters.h"

#include <string>

namespace hit::theme {

struct Colour {
    double r, g, b, a = 1.0;
};

// ---- Colours -----------------------------------------------------------------

inline constexpr Colour kText = {0.0, 0.0, 0.0};
inline constexpr Colour kDisabledText = {0.0, 0.0, 0.0, 0.35};
inline constexpr Colour kFrame = {0.55, 0.55, 0.55};
inline constexpr Colour kDisabledFrame = {0.55, 0.55, 0.55, 0.45};
inline constexpr Colour kMark = {0.10, 0.10, 0.10};
inline constexpr Colour kInactiveMark = {0.45, 0.45, 0.45};
inline constexpr Colour kFocusRing = {0.33, 0.58, 0.87, 0.75};
inline constexpr Colour kSelection = {0.71, 0.84, 1.0};
inline constexpr Colour kAccentTop = {0.52, 0.75, 0.98};
inline constexpr Colour kAccentBottom = {0.18, 0.50, 0.92};
inline constexpr Colour kAccentFrame = {0.13, 0.33, 0.66};

void set_colour(cairo_t* cr, const Colour& c);

// ---- Fonts and text ----------------------------------------------------------

// A font of the theme: DejaVu Sans at a pixel size, plain or bold.
struct Font {
    int pixels = 13;
    bool bold = false;
    bool operator==(const Font&) const = default;
};
inline constexpr Font kSystemFont = {13, false};
inline constexpr Font kEmphasizedSystemFont = {13, true};
inline constexpr Font kSmallSystemFont = {11, false};
inline constexpr Font kSmallEmphasizedSystemFont = {11, true};
inline constexpr Font kViewsFont = {12, false};
inline constexpr Font kMiniSystemFont = {9, false};

enum class Align { left, centre, right };

// How a control's text looks: its font and alignment, from the control's
// font style (kControlFontStyleTag) where it has one, else `fallback`.
struct TextStyle {
    Font font;
    Align align = Align::left;
};
TextStyle text_style(ControlRef control, Font fallback = kSystemFont);

// One laid-out text: its ink-independent size and baseline, in pixels.
struct TextSize {
    int width = 0;
    int height = 0;
    int baseline = 0; // from the top
};

// Measures `text` (UTF-8) in the font, on one line per line break, or
// wrapped at `wrap_width` pixels when it is positive. Layouts are cached per
// process, so measuring and drawing the same text again is cheap.
TextSize measure_text(const std::string& text, Font font, int wrap_width = 0);

// Draws `text` with its top-left corner at (x, y) (for Align::centre and
// Align::right, x..x+width is the span it is placed in).
void draw_text(cairo_t* cr, const std::string& text, Font font, double x, double y,
               const Colour& colour, Align align = Align::left, int width = 0, int wrap_width = 0);

// The x position of the boundary before byte `index` of `text`, laid out
// as measure_text does, from the text's left edge.
int text_offset(const std::string& text, Font font, int index);

// The text a person sees on the control (the kind's copy_text, else the
// title), as UTF-8.
std::string visible_text(ControlRef control);
std::string title_text(ControlRef control);

// ---- Shapes --------------------------------------------------------------------

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double radius);
// A vertical gradient from `top` to `bottom` over y..y+h.
void fill_gradient(cairo_t* cr, double y, double h, const Colour& top, const Colour& bottom);
// The focus ring: a soft band around the rounded rectangle, outside it.
void focus_ring(cairo_t* cr, const Rect& around, double radius);

// ---- Backgrounds ---------------------------------------------------------------

// The solid colour that shows behind the control: the window's background
// with the fills of the containers (group boxes, tab panes) that embed it.
Colour background_behind(ControlRef control);
// Paints the control's bounds with background_behind: what lies behind a
// control is painted before the control.
void paint_background_behind(ControlRef control, cairo_t* cr);

// The colour a container lays over its content area, or alpha 0.
Colour container_fill(ControlRef container);

} // namespace hit::theme

#endif // HITOOLBOX_SRC_THEME_H

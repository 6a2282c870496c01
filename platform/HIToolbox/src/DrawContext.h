// What the theme's painters get for one control: the cairo context on the
// window's backing store and the control's state as the drawing code found it.
// Shared by the drawing code (Drawing.cpp), which makes one per control, and
// the theme (Theme*.cpp), which paints with it; it includes neither.
#ifndef HITOOLBOX_SRC_DRAWCONTEXT_H
#define HITOOLBOX_SRC_DRAWCONTEXT_H

#include <HIToolbox/HIToolboxTypes.h>

#include <cairo.h>

namespace hit {

// What a painter gets for one control.
struct DrawContext {
    cairo_t* cr = nullptr; // on the window's surface, window-local pixels
    WindowRef window = nullptr;
    Rect bounds{};       // the control's bounds
    bool enabled = true; // the control and its embedders are enabled
    bool active = true;  // the control, its embedders and its window are active
    bool focused =
        false; // the control has the window's keyboard focus (rings show only when active)
};

} // namespace hit

#endif // HITOOLBOX_SRC_DRAWCONTEXT_H

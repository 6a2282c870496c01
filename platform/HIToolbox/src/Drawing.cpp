// Drawing windows and controls into their ports, and the Control Manager's
// drawing and measuring calls.
//
// A drawing pass paints one control tree with one cairo context: each
// visible control in embedding order, its embedded controls after it. For
// each control the pass first paints what lies behind it (the theme knows),
// then sends kEventControlDraw to the control alone; the standard behaviour
// of that event is the theme's painter for the control's kind, so a handler
// that returns noErr replaces it, and one that calls the next handler draws
// on top of it.
#include "Drawing.h"
#include "Port.h"
#include "Theme.h"

#include <HIToolbox/PlatformHost.h>

namespace {

// The pass under way; the standard kEventControlDraw behaviour paints with it.
struct Pass {
    cairo_t* cr = nullptr;
    const cairo_region_t* region = nullptr; // nullptr: draw everything
};
Pass* current_pass = nullptr;

// A focus ring is drawn around a control, outside its bounds.
constexpr short kRingMargin = 4;

Rect outset(const Rect& r, short by) {
    return Rect{static_cast<short>(r.top - by), static_cast<short>(r.left - by),
                static_cast<short>(r.bottom + by), static_cast<short>(r.right + by)};
}

bool meets(const cairo_region_t* region, const Rect& r) {
    if (region == nullptr)
        return true;
    const cairo_rectangle_int_t rect = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    return rect.width > 0 && rect.height > 0 &&
           cairo_region_contains_rectangle(region, &rect) != CAIRO_REGION_OVERLAP_OUT;
}

bool has_focus(ControlRef control) {
    return control->owner->focus == control && control->owner->focus_part != kControlFocusNoPart;
}

hit::DrawContext context_for(ControlRef control, cairo_t* cr) {
    hit::DrawContext context;
    context.cr = cr;
    context.window = control->owner;
    context.bounds = control->bounds;
    context.enabled = IsControlEnabled(control);
    context.active = IsControlActive(control) && control->owner->active;
    context.focused = has_focus(control);
    return context;
}

void paint_standard(ControlRef control, cairo_t* cr) {
    if (control->kind_class->draw == nullptr || control->owner == nullptr)
        return;
    hit::DrawContext context = context_for(control, cr);
    cairo_save(cr);
    control->kind_class->draw(control, context);
    cairo_restore(cr);
}

// What visible controls show above all others (an open list), in tree order.
void draw_overlays(ControlRef control, cairo_t* cr) {
    if (!control->visible || control->owner == nullptr)
        return;
    if (control->kind_class->draw_overlay != nullptr) {
        hit::DrawContext context = context_for(control, cr);
        cairo_save(cr);
        control->kind_class->draw_overlay(control, context);
        cairo_restore(cr);
    }
    for (ControlRef child : control->children)
        draw_overlays(child, cr);
}

OSStatus standard_draw(EventHandlerCallRef, EventRef, EventTargetRef target) {
    auto* control = static_cast<ControlRef>(target->owner);
    if (current_pass != nullptr) {
        paint_standard(control, current_pass->cr);
        return noErr;
    }
    // Someone sent kEventControlDraw outside a pass: paint straight away.
    if (cairo_t* cr = hit::port_create_context(control->owner->port)) {
        paint_standard(control, cr);
        cairo_destroy(cr);
    }
    return noErr;
}

OSStatus standard_optimal_bounds(EventHandlerCallRef, EventRef event, EventTargetRef target) {
    auto* control = static_cast<ControlRef>(target->owner);
    SInt16 baseline = 0;
    const Rect best = control->kind_class->best_rect != nullptr
                          ? control->kind_class->best_rect(control, &baseline)
                          : control->bounds;
    SetEventParameter(event, kEventParamControlOptimalBounds, typeQDRectangle, sizeof(best), &best);
    SetEventParameter(event, kEventParamControlOptimalBaselineOffset, typeShortInteger,
                      sizeof(baseline), &baseline);
    return noErr;
}

void register_standard_behaviours() {
    static bool done = false;
    if (done)
        return;
    done = true;
    hit::register_standard_handler(hit::TargetKind::control, kEventClassControl, kEventControlDraw,
                                   standard_draw);
    hit::register_standard_handler(hit::TargetKind::control, kEventClassControl,
                                   kEventControlGetOptimalBounds, standard_optimal_bounds);
}

void send_draw(ControlRef control) {
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassControl, kEventControlDraw, GetCurrentEventTime(),
                    kEventAttributeNone, &event) != noErr)
        return;
    CGrafPtr port = control->owner->port;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control), &control);
    SetEventParameter(event, kEventParamGrafPort, typeGrafPtr, sizeof(port), &port);
    SendEventToEventTargetWithOptions(event, control->target, kEventTargetDontPropagate);
    ReleaseEvent(event);
}

void draw_tree(ControlRef control, const Pass& pass) {
    if (!control->visible || control->owner == nullptr)
        return;
    if (!control->is_root && meets(pass.region, outset(control->bounds, kRingMargin))) {
        hit::theme::paint_background_behind(control, pass.cr);
        send_draw(control);
    }
    // Copy: a draw handler may change the tree.
    std::vector<ControlRef> children = control->children;
    for (ControlRef child : children)
        draw_tree(child, pass);
}

// Draws the tree under `top` into the window with the port current and, for
// an update, clipped to `region`; the background first when `erase`.
void run_pass(WindowRef window, ControlRef top, const cairo_region_t* region, bool erase) {
    register_standard_behaviours();
    CGrafPtr port = window->port;
    const bool untouched = hit::port_take_untouched(port);
    cairo_t* cr = hit::port_create_context(port);
    if (cr == nullptr)
        return;
    if (region != nullptr) {
        hit::port_set_clip(port, region);
        cairo_reset_clip(cr);
        hit::port_apply_clip(port, cr);
    }
    if (erase && !untouched) {
        const hit::Rgb bg = hit::port_background(port);
        cairo_set_source_rgb(cr, bg.r, bg.g, bg.b);
        cairo_paint(cr);
    }
    GrafPtr saved_port = nullptr;
    GetPort(&saved_port);
    SetPort(port);
    Pass pass{cr, region};
    Pass* outer = current_pass;
    current_pass = &pass;
    if (top != nullptr) {
        draw_tree(top, pass);
        if (top == window->root)
            draw_overlays(top, cr);
    }
    current_pass = outer;
    SetPort(saved_port);
    // An update nested in a pass (a draw handler calling Draw1Control) gives
    // the outer pass its clip back.
    hit::port_set_clip(port, outer != nullptr ? outer->region : nullptr);
    cairo_destroy(cr);
}

} // namespace

namespace hit {

void invalidate_control(ControlRef control) {
    if (control == nullptr || control->owner == nullptr || control->disposed)
        return;
    port_invalidate(control->owner->port, outset(control->bounds, kRingMargin));
}

void invalidate_window_rect(WindowRef window, const Rect& rect) {
    if (window != nullptr)
        port_invalidate(window->port, rect);
}

void update_window(WindowRef window) {
    if (window == nullptr || port_surface(window->port) == nullptr)
        return;
    cairo_region_t* region = port_take_invalid(window->port);
    if (region == nullptr)
        return;
    run_pass(window, window->root, region, true);
    cairo_region_destroy(region);
}

void draw_control(ControlRef control) {
    if (control == nullptr || control->owner == nullptr || !IsControlVisible(control))
        return;
    // A window is painted when its pixels are read (the display's next frame, a snapshot):
    // drawing now would only be painted over, and a window nobody reads (a scripted print)
    // is never painted. Inside a pass (a draw handler drawing a part) draw at once.
    if (current_pass == nullptr) {
        invalidate_control(control);
        return;
    }
    run_pass(control->owner, control, current_pass != nullptr ? current_pass->region : nullptr,
             false);
}

void invalidate_window(WindowRef window) {
    if (window == nullptr)
        return;
    const Rect& content = window->bounds;
    port_invalidate(window->port, Rect{0, 0, static_cast<short>(content.bottom - content.top),
                                       static_cast<short>(content.right - content.left)});
}

void draw_window(WindowRef window) {
    if (window == nullptr || port_surface(window->port) == nullptr)
        return;
    invalidate_window(window);
    update_window(window);
}

Rect best_control_rect(ControlRef control, SInt16* baseline_offset) {
    register_standard_behaviours();
    Rect best = control->bounds;
    SInt16 baseline = 0;
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassControl, kEventControlGetOptimalBounds,
                    GetCurrentEventTime(), kEventAttributeNone, &event) == noErr) {
        SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control),
                          &control);
        if (SendEventToEventTargetWithOptions(event, control->target, kEventTargetDontPropagate) ==
            noErr) {
            GetEventParameter(event, kEventParamControlOptimalBounds, typeQDRectangle, nullptr,
                              sizeof(best), nullptr, &best);
            GetEventParameter(event, kEventParamControlOptimalBaselineOffset, typeShortInteger,
                              nullptr, sizeof(baseline), nullptr, &baseline);
        }
        ReleaseEvent(event);
    }
    if (baseline_offset != nullptr)
        *baseline_offset = baseline;
    return best;
}

} // namespace hit

void Draw1Control(ControlRef theControl) {
    if (OpaqueControlRef* control = hit::live_control(theControl, __func__))
        hit::draw_control(control);
}

void DrawControls(WindowRef theWindow) {
    OpaqueWindowPtr* window = hit::live_window(theWindow, __func__);
    if (window != nullptr && window->root != nullptr)
        hit::draw_control(window->root);
}

void UpdateControls(WindowRef inWindow, RgnHandle inUpdateRegion) {
    OpaqueWindowPtr* window = hit::live_window(inWindow, __func__);
    if (window == nullptr || window->root == nullptr)
        return;
    if (inUpdateRegion == nullptr || *inUpdateRegion == nullptr) {
        hit::draw_control(window->root);
        return;
    }
    const Rect& box = (*inUpdateRegion)->rgnBBox;
    const cairo_rectangle_int_t r = {box.left, box.top, box.right - box.left, box.bottom - box.top};
    cairo_region_t* region = cairo_region_create_rectangle(&r);
    run_pass(window, window->root, region, false);
    cairo_region_destroy(region);
}

OSStatus InvalWindowRect(WindowRef window, const Rect* bounds) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (bounds == nullptr)
        return paramErr;
    hit::invalidate_window_rect(w, *bounds);
    return noErr;
}

OSErr GetBestControlRect(ControlRef inControl, Rect* outRect, SInt16* outBaseLineOffset) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || outRect == nullptr)
        return paramErr;
    *outRect = hit::best_control_rect(control, outBaseLineOffset);
    return noErr;
}

// Carbon windows shown as GTK top-level windows, drawn from the window's own backing store.
#include "DisplayGtk.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace display {
namespace {

std::string utf8(CFStringRef string) {
    if (string == nullptr)
        return {};
    const CFIndex length = CFStringGetLength(string);
    std::string out(
        static_cast<size_t>(CFStringGetMaximumSizeForEncoding(length, kCFStringEncodingUTF8)) + 1,
        '\0');
    if (!CFStringGetCString(string, out.data(), static_cast<CFIndex>(out.size()),
                            kCFStringEncodingUTF8))
        return {};
    out.resize(std::char_traits<char>::length(out.c_str()));
    return out;
}

bool is_modal(WindowRef window) {
    WindowClass windowClass = 0;
    GetWindowClass(window, &windowClass);
    return windowClass == kAlertWindowClass || windowClass == kMovableAlertWindowClass ||
           windowClass == kModalWindowClass || windowClass == kMovableModalWindowClass ||
           windowClass == kSheetWindowClass;
}

struct DrawTarget {
    Display* display;
    WindowRef window;
};

void report_first_frame(Display& display) {
    if (display.firstFrameDrawn)
        return;
    display.firstFrameDrawn = true;
    if (!display.reportFirstFrame)
        return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::fprintf(stderr, "display: first frame at %lld.%09ld\n", static_cast<long long>(now.tv_sec),
                 now.tv_nsec);
}

void draw(GtkDrawingArea* area, cairo_t* cr, int, int, gpointer data) {
    auto* target = static_cast<DrawTarget*>(data);
    const int scale = gtk_widget_get_scale_factor(GTK_WIDGET(area));
    cairo_surface_t* surface = PlatformCopyWindowSurface(target->window, scale);
    if (surface == nullptr)
        return;
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(surface);
    report_first_frame(*target->display);
}

void free_target(gpointer data) {
    delete static_cast<DrawTarget*>(data);
}

void free_closure_target(gpointer data, GClosure*) {
    free_target(data);
}

gboolean on_close_request(GtkWindow*, gpointer data) {
    auto* target = static_cast<DrawTarget*>(data);
    Action action;
    action.kind = Action::close;
    action.window = target->window;
    queue_action(*target->display, action);
    return TRUE; // the toolbox decides: Cancel hides the window
}

// The front-most shown window that is not itself modal: a dialog's parent.
GtkWindow* parent_for(Display& display) {
    for (Shown& shown : display.shown)
        if (!is_modal(shown.window))
            return GTK_WINDOW(shown.gtkWindow);
    return nullptr;
}

void update(Shown& shown) {
    CFStringRef title = nullptr;
    if (CopyWindowTitleAsCFString(shown.window, &title) == noErr) {
        gtk_window_set_title(GTK_WINDOW(shown.gtkWindow), utf8(title).c_str());
        CFRelease(title);
    }
    Rect bounds{};
    GetWindowBounds(shown.window, kWindowContentRgn, &bounds);
    if (std::memcmp(&bounds, &shown.bounds, sizeof bounds) != 0) {
        shown.bounds = bounds;
        gtk_drawing_area_set_content_width(GTK_DRAWING_AREA(shown.area),
                                           bounds.right - bounds.left);
        gtk_drawing_area_set_content_height(GTK_DRAWING_AREA(shown.area),
                                            bounds.bottom - bounds.top);
    }
    // The input method's candidates open by the field that has the focus.
    ControlRef focus = nullptr;
    Rect field{};
    if (shown.im != nullptr && GetKeyboardFocus(shown.window, &focus) == noErr &&
        focus != nullptr) {
        GetControlBounds(focus, &field);
        const GdkRectangle where = {field.left, field.top, field.right - field.left,
                                    field.bottom - field.top};
        gtk_im_context_set_cursor_location(shown.im, &where);
    }
    gtk_widget_queue_draw(shown.area);
}

Shown show(Display& display, WindowRef window) {
    Shown shown;
    CFRetain(window);
    shown.window = window;
    shown.gtkWindow = gtk_window_new();
    shown.area = gtk_drawing_area_new();
    gtk_widget_set_focusable(shown.area, TRUE);
    gtk_window_set_child(GTK_WINDOW(shown.gtkWindow), shown.area);
    gtk_window_set_resizable(GTK_WINDOW(shown.gtkWindow), FALSE);
    auto* target = new DrawTarget{&display, window};
    gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(shown.area), draw, target, free_target);
    g_signal_connect_data(shown.gtkWindow, "close-request", G_CALLBACK(on_close_request),
                          new DrawTarget{&display, window}, free_closure_target, GConnectFlags(0));
    if (is_modal(window)) {
        gtk_window_set_modal(GTK_WINDOW(shown.gtkWindow), TRUE);
        gtk_window_set_transient_for(GTK_WINDOW(shown.gtkWindow), parent_for(display));
    }
    attach_input(display, shown);
    update(shown);
    gtk_window_present(GTK_WINDOW(shown.gtkWindow));
    return shown;
}

void hide(Shown& shown) {
    if (shown.im != nullptr) {
        gtk_im_context_set_client_widget(shown.im, nullptr);
        g_object_unref(shown.im);
    }
    gtk_window_destroy(GTK_WINDOW(shown.gtkWindow));
    CFRelease(shown.window);
}

} // namespace

Shown* shown_for(Display& display, WindowRef window) {
    for (Shown& shown : display.shown)
        if (shown.window == window)
            return &shown;
    return nullptr;
}

void sync_windows(Display& display) {
    std::vector<WindowRef> visible(PlatformCopyWindowList(nullptr, 0));
    visible.resize(PlatformCopyWindowList(visible.data(), visible.size()));
    std::erase_if(visible, [](WindowRef w) { return !IsWindowVisible(w); });
    for (auto it = display.shown.begin(); it != display.shown.end();) {
        if (std::find(visible.begin(), visible.end(), it->window) != visible.end()) {
            ++it;
            continue;
        }
        hide(*it);
        it = display.shown.erase(it);
    }
    for (Shown& shown : display.shown)
        update(shown);
    // Back to front, so that a dialog finds the window it belongs to already shown.
    for (auto it = visible.rbegin(); it != visible.rend(); ++it)
        if (shown_for(display, *it) == nullptr)
            display.shown.insert(display.shown.begin(), show(display, *it));
}

void hide_all(Display& display) {
    for (Shown& shown : display.shown)
        hide(shown);
    display.shown.clear();
}

} // namespace display

// The display module's event source: the toolbox asks for the person's next action, and the
// GLib main loop runs (drawing windows, taking input) until there is one.
#include "DisplayGtk.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace display {
namespace {

bool window_exists(WindowRef window) {
    std::vector<WindowRef> windows(PlatformCopyWindowList(nullptr, 0));
    windows.resize(PlatformCopyWindowList(windows.data(), windows.size()));
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

OSStatus perform_next(void* info) {
    auto* display = static_cast<Display*>(info);
    sync_windows(*display);
    while (display->queue.empty()) {
        if (display->shown.empty())
            return eofErr; // nothing on the display to act in
        g_main_context_iteration(nullptr, TRUE);
    }
    Action action = std::move(display->queue.front());
    display->queue.pop_front();
    if (window_exists(action.window) && IsWindowVisible(action.window))
        perform(*display, action);
    CFRelease(action.window);
    sync_windows(*display);
    return noErr;
}

void release(void* info) {
    auto* display = static_cast<Display*>(info);
    for (Action& action : display->queue)
        CFRelease(action.window);
    display->queue.clear();
    hide_all(*display);
    while (g_main_context_pending(nullptr))
        g_main_context_iteration(nullptr, FALSE);
    delete display;
}

} // namespace
} // namespace display

extern "C" __attribute__((visibility("default"))) OSStatus
PlatformDisplayModuleCreateSource(PlatformEventSource* outSource) {
    if (outSource == nullptr)
        return paramErr;
    // The windows are small pictures drawn by cairo: starting a GL context for them costs more
    // than half of the time to the first frame. Whoever sets either variable decides.
    if (std::getenv("GSK_RENDERER") == nullptr && std::getenv("GDK_DEBUG") == nullptr) {
        g_setenv("GSK_RENDERER", "cairo", FALSE);
        g_setenv("GDK_DEBUG", "gl-disable", FALSE);
    }
    if (!gtk_init_check()) {
        std::fprintf(stderr, "HIToolbox: cannot open the display\n");
        return fnfErr;
    }
    auto* display = new display::Display;
    display->reportFirstFrame = std::getenv("CARBONRT_DISPLAY_REPORT_FRAME") != nullptr;
    *outSource = PlatformEventSource{"the display", display, display::perform_next, nullptr,
                                     display::release};
    return noErr;
}

// Internals of the Window Manager shared inside HIToolbox.
#ifndef HITOOLBOX_SRC_WINDOWINTERNAL_H
#define HITOOLBOX_SRC_WINDOWINTERNAL_H

#include <HIToolbox/MacWindows.h>
#include <CoreFoundation/CFHolder.h>

#include "EventInternal.h"

#include <string>

struct OpaqueWindowPtr : cf::Object {
    WindowClass window_class = 0;
    WindowAttributes attributes = 0;
    Rect bounds{}; // content, global coordinates
    cf::Holder<CFStringRef> title;
    bool visible = false;
    bool active = false;
    bool disposed = false;
    SRefCon refcon = nullptr;
    EventTargetRef target = nullptr;
    CGrafPtr port = nullptr;
    ControlRef root = nullptr; // owns the control tree
    // Plain references into the tree, cleared when the control leaves it.
    ControlRef default_button = nullptr;
    ControlRef cancel_button = nullptr;
    ControlRef focus = nullptr; // the control with the keyboard focus
    ControlPartCode focus_part = 0;
    std::string nib_window; // the nib's window it was built from; empty for others
};

namespace hit {

CFTypeID window_type_id();
// The window when it is a live, undisposed window; otherwise nullptr (a
// wrong type is reported on standard error).
OpaqueWindowPtr* live_window(WindowRef window, const char* function);
// A control is leaving the window (disposed or moved away): forget every
// plain reference the window keeps to it.
void window_forget_control(WindowRef window, ControlRef control);

// The window's port, created with the window and detached when it goes.
CGrafPtr create_port(WindowRef window);
void detach_port(CGrafPtr port);

} // namespace hit

#endif // HITOOLBOX_SRC_WINDOWINTERNAL_H

// Graphics ports: one per window, for as long as the window lives.
// FIXME: the port's cairo backing surface arrives with the drawing theme;
// until then a port ties drawing calls to their window and knows its size.
#include "WindowInternal.h"

struct OpaqueGrafPtr : cf::Object {
    WindowRef window = nullptr; // plain back-pointer; nullptr once the window is gone
};

namespace {

void finalize_port(CFTypeRef object) {
    cf::destroy<OpaqueGrafPtr>(object);
}

const cf::ClassDescriptor kPortClass = {"CGrafPtr", finalize_port, nullptr, nullptr, nullptr};

CFTypeID port_type_id() {
    static CFTypeID id = cf::register_class(&kPortClass);
    return id;
}

} // namespace

namespace hit {

CGrafPtr create_port(WindowRef window) {
    auto* port = cf::create<OpaqueGrafPtr>(nullptr, port_type_id());
    if (port != nullptr)
        port->window = window;
    return port;
}

void detach_port(CGrafPtr port) {
    if (!cf::check_type(port, port_type_id(), __func__))
        return;
    port->window = nullptr;
    CFRelease(port);
}

} // namespace hit

CGrafPtr GetWindowPort(WindowRef window) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    return w != nullptr ? w->port : nullptr;
}

WindowRef GetWindowFromPort(CGrafPtr port) {
    if (!cf::check_type(port, port_type_id(), __func__))
        return nullptr;
    return port->window;
}

Rect* GetPortBounds(CGrafPtr port, Rect* rect) {
    if (rect == nullptr)
        return nullptr;
    *rect = Rect{0, 0, 0, 0};
    if (cf::check_type(port, port_type_id(), __func__) && port->window != nullptr) {
        const Rect& content = port->window->bounds;
        rect->bottom = static_cast<short>(content.bottom - content.top);
        rect->right = static_cast<short>(content.right - content.left);
    }
    return rect;
}

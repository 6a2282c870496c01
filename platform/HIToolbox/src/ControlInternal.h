// Internals of the Control Manager shared inside HIToolbox: the control
// object, its tree, and the notifications it sends.
#ifndef HITOOLBOX_SRC_CONTROLINTERNAL_H
#define HITOOLBOX_SRC_CONTROLINTERNAL_H

#include <HIToolbox/Controls.h>
#include <CoreFoundation/CFHolder.h>

#include "WindowInternal.h"

#include <memory>
#include <optional>
#include <vector>

namespace hit {

struct ControlKindClass;

// State that a kind of control keeps beyond what every control has.
struct KindState {
    virtual ~KindState() = default;
};

struct Property {
    OSType creator;
    OSType tag;
    std::vector<UInt8> data;
};

} // namespace hit

struct OpaqueControlRef : cf::Object {
    WindowRef owner = nullptr;        // plain back-pointer; the window owns the tree
    ControlRef embedder = nullptr;    // plain back-pointer; nullptr for a root
    std::vector<ControlRef> children; // each holds one reference
    const hit::ControlKindClass* kind_class = nullptr;
    std::unique_ptr<hit::KindState> state;
    UInt32 features = 0;
    ControlID id{};
    UInt32 command_id = 0;
    SRefCon refcon = nullptr;
    Rect bounds{}; // window-local
    SInt32 value = 0;
    SInt32 minimum = 0;
    SInt32 maximum = 0;
    cf::Holder<CFStringRef> title;
    bool visible = true; // the control's own flags; embedders count too
    bool enabled = true;
    bool active = true;
    bool is_root = false;
    bool disposing = false; // its disposal events are being sent
    bool disposed = false;
    std::vector<hit::Property> properties;
    // SetControlFontStyle's style, for kinds that do not keep one of their own.
    std::optional<ControlFontStyleRec> font_style;
    EventTargetRef target = nullptr;
};

namespace hit {

CFTypeID control_type_id();
// The control when it is live and not disposed of; otherwise nullptr.
OpaqueControlRef* live_control(ControlRef control, const char* function);

// A new visible control of the kind in the window, embedded last in the
// window's root control (created if needed).
OSStatus create_control(WindowRef window, const Rect* bounds, const ControlKindClass& kind,
                        UInt32 features, ControlRef* out);
// A new control of the kind in no window (an HIView made on its own); the
// caller holds its one reference until a view embeds it.
OSStatus create_free_control(const Rect& bounds, const ControlKindClass& kind, ControlRef* out);
// The window's root, created on first use; nullptr if it cannot be made.
ControlRef ensure_root(WindowRef window);
// Disposes of a control and its subtree (kEventControlDispose to each).
void dispose_control(ControlRef control);

// Sends a kEventClassControl notification about the control to the control.
void notify(ControlRef control, UInt32 event_kind);

// Calls f on the control and then on every control below it, depth-first.
template <class F> void for_each_in_tree(ControlRef control, F&& f) {
    f(control);
    // Copy: f may change the tree (for instance move a control away).
    std::vector<ControlRef> children = control->children;
    for (ControlRef child : children)
        for_each_in_tree(child, f);
}

} // namespace hit

#endif // HITOOLBOX_SRC_CONTROLINTERNAL_H

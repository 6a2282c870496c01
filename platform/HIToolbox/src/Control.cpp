// Controls as objects: creation, disposal, identity and the control tree
// (the root control, embedding, sub-controls, lookup by ID).
#include "Drawing.h"

#include <HIToolbox/HIView.h>

#include <algorithm>

namespace {

void finalize_control(CFTypeRef object) {
    auto* control = static_cast<OpaqueControlRef*>(const_cast<void*>(object));
    // Only a control released more often than it was retained gets here
    // undisposed; its tree is not reachable any more.
    if (control->target != nullptr)
        hit::dispose_target(control->target);
    cf::destroy<OpaqueControlRef>(object);
}

const cf::ClassDescriptor kControlClass = {"ControlRef", finalize_control, nullptr, nullptr,
                                           nullptr};

// A control's events go on to its embedder; a root's go to its window.
EventTargetRef control_parent(void* owner) {
    auto* control = static_cast<OpaqueControlRef*>(owner);
    if (control->embedder != nullptr)
        return control->embedder->target;
    return control->owner != nullptr ? control->owner->target : nullptr;
}

OpaqueControlRef* new_control(WindowRef window, const Rect& bounds,
                              const hit::ControlKindClass& kind, UInt32 features) {
    auto* control = cf::create<OpaqueControlRef>(nullptr, hit::control_type_id());
    if (control == nullptr)
        return nullptr;
    control->owner = window;
    control->kind_class = &kind;
    control->features = kind.features | features;
    if (kind.make_state != nullptr)
        control->state = kind.make_state();
    control->bounds = bounds;
    control->target = hit::create_target(hit::TargetKind::control, control, control_parent);
    return control;
}

void send_about_sub(ControlRef to, UInt32 kind, ControlRef sub) {
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassControl, kind, GetCurrentEventTime(), 0, &event) != noErr)
        return;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(to), &to);
    SetEventParameter(event, kEventParamControlSubControl, typeControlRef, sizeof(sub), &sub);
    SendEventToEventTarget(event, to->target);
    ReleaseEvent(event);
}

void send_owner_changed(ControlRef control, WindowRef from, WindowRef to) {
    EventRef event = nullptr;
    if (CreateEvent(nullptr, kEventClassControl, kEventControlOwningWindowChanged,
                    GetCurrentEventTime(), 0, &event) != noErr)
        return;
    UInt32 attributes = 0;
    SetEventParameter(event, kEventParamDirectObject, typeControlRef, sizeof(control), &control);
    SetEventParameter(event, kEventParamAttributes, typeUInt32, sizeof(attributes), &attributes);
    SetEventParameter(event, kEventParamControlOriginalOwningWindow, typeWindowRef, sizeof(from),
                      &from);
    SetEventParameter(event, kEventParamControlCurrentOwningWindow, typeWindowRef, sizeof(to), &to);
    SendEventToEventTarget(event, control->target);
    ReleaseEvent(event);
}

bool is_within(ControlRef control, ControlRef ancestor) {
    for (ControlRef c = control; c != nullptr; c = c->embedder)
        if (c == ancestor)
            return true;
    return false;
}

// Takes the control out of its embedder; the caller gets the embedder's reference.
void detach(ControlRef control) {
    ControlRef embedder = control->embedder;
    if (embedder == nullptr)
        return;
    auto& siblings = embedder->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), control), siblings.end());
    control->embedder = nullptr;
}

void move_to_window(ControlRef control, WindowRef window) {
    WindowRef previous = control->owner;
    hit::invalidate_control(control); // in the window it leaves
    hit::for_each_in_tree(control, [&](ControlRef c) {
        hit::window_forget_control(previous, c);
        c->owner = window;
    });
    hit::for_each_in_tree(control, [&](ControlRef c) { send_owner_changed(c, previous, window); });
}

ControlRef find_by_id(ControlRef control, const ControlID& id) {
    for (ControlRef child : control->children) {
        if (child->id.signature == id.signature && child->id.id == id.id)
            return child;
        if (ControlRef found = find_by_id(child, id))
            return found;
    }
    return nullptr;
}

} // namespace

namespace hit {

CFTypeID control_type_id() {
    static CFTypeID id = cf::register_class(&kControlClass);
    return id;
}

OpaqueControlRef* live_control(ControlRef control, const char* function) {
    if (!cf::check_type(control, control_type_id(), function))
        return nullptr;
    return control->disposed ? nullptr : control;
}

void notify(ControlRef control, UInt32 event_kind) {
    if (control->target != nullptr)
        send_notification(control->target, kEventClassControl, event_kind, typeControlRef, control);
}

ControlRef ensure_root(WindowRef window) {
    if (window->root != nullptr)
        return window->root;
    const Rect& content = window->bounds;
    const Rect bounds{0, 0, static_cast<short>(content.bottom - content.top),
                      static_cast<short>(content.right - content.left)};
    OpaqueControlRef* root =
        new_control(window, bounds, user_pane_kind(), kControlSupportsEmbedding);
    if (root != nullptr)
        root->is_root = true;
    window->root = root;
    return root;
}

OSStatus create_free_control(const Rect& bounds, const ControlKindClass& kind, ControlRef* out) {
    OpaqueControlRef* control = new_control(nullptr, bounds, kind, 0);
    if (control == nullptr)
        return memFullErr;
    *out = control;
    return noErr;
}

OSStatus create_control(WindowRef window, const Rect* bounds, const ControlKindClass& kind,
                        UInt32 features, ControlRef* out) {
    OpaqueWindowPtr* w = live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    if (bounds == nullptr || out == nullptr)
        return paramErr;
    ControlRef root = ensure_root(w);
    OpaqueControlRef* control = new_control(w, *bounds, kind, features);
    if (root == nullptr || control == nullptr)
        return memFullErr;
    root->children.push_back(control); // the embedder holds the creation reference
    control->embedder = root;
    *out = control;
    return noErr;
}

void dispose_control(ControlRef control) {
    if (control->disposed || control->disposing)
        return;
    control->disposing = true;
    CFRetain(control);
    invalidate_control(control);
    notify(control, kEventControlDispose);
    std::vector<ControlRef> children = control->children;
    for (ControlRef child : children)
        dispose_control(child);
    window_forget_control(control->owner, control);
    if (control->embedder != nullptr) {
        detach(control);
        CFRelease(control);
    } else if (control->is_root && control->owner != nullptr) {
        control->owner->root = nullptr;
        CFRelease(control);
    }
    dispose_target(control->target);
    control->target = nullptr;
    control->state.reset();
    control->properties.clear();
    control->title.reset();
    control->owner = nullptr;
    control->disposed = true;
    CFRelease(control);
}

} // namespace hit

void DisposeControl(ControlRef theControl) {
    if (OpaqueControlRef* control = hit::live_control(theControl, __func__))
        hit::dispose_control(control);
}

OSStatus GetControlKind(ControlRef inControl, ControlKind* outControlKind) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || outControlKind == nullptr)
        return paramErr;
    *outControlKind = control->kind_class->kind;
    return noErr;
}

OSErr GetControlFeatures(ControlRef inControl, UInt32* outFeatures) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || outFeatures == nullptr)
        return paramErr;
    *outFeatures = control->features;
    return noErr;
}

WindowRef GetControlOwner(ControlRef inControl) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    return control != nullptr ? control->owner : nullptr;
}

EventTargetRef GetControlEventTarget(ControlRef inControl) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    return control != nullptr ? control->target : nullptr;
}

OSStatus SetControlID(ControlRef inControl, const ControlID* inID) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || inID == nullptr)
        return paramErr;
    control->id = *inID;
    return noErr;
}

OSStatus GetControlID(ControlRef inControl, ControlID* outID) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || outID == nullptr)
        return paramErr;
    *outID = control->id;
    return noErr;
}

OSStatus GetControlByID(WindowRef inWindow, const ControlID* inID, ControlRef* outControl) {
    OpaqueWindowPtr* window = hit::live_window(inWindow, __func__);
    if (window == nullptr)
        return errInvalidWindowRef;
    if (inID == nullptr || outControl == nullptr)
        return paramErr;
    ControlRef found = window->root != nullptr ? find_by_id(window->root, *inID) : nullptr;
    if (found == nullptr)
        return errUnknownControl;
    *outControl = found;
    return noErr;
}

OSStatus SetControlCommandID(ControlRef inControl, UInt32 inCommandID) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr)
        return paramErr;
    control->command_id = inCommandID;
    return noErr;
}

OSStatus GetControlCommandID(ControlRef inControl, UInt32* outCommandID) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || outCommandID == nullptr)
        return paramErr;
    *outCommandID = control->command_id;
    return noErr;
}

void SetControlReference(ControlRef theControl, SRefCon data) {
    if (OpaqueControlRef* control = hit::live_control(theControl, __func__))
        control->refcon = data;
}

SRefCon GetControlReference(ControlRef theControl) {
    OpaqueControlRef* control = hit::live_control(theControl, __func__);
    return control != nullptr ? control->refcon : nullptr;
}

OSErr CreateRootControl(WindowRef inWindow, ControlRef* outControl) {
    OpaqueWindowPtr* window = hit::live_window(inWindow, __func__);
    if (window == nullptr)
        return errInvalidWindowRef;
    if (outControl == nullptr)
        return paramErr;
    if (window->root != nullptr)
        return errRootAlreadyExists;
    *outControl = hit::ensure_root(window);
    return *outControl != nullptr ? noErr : memFullErr;
}

OSErr GetRootControl(WindowRef inWindow, ControlRef* outControl) {
    OpaqueWindowPtr* window = hit::live_window(inWindow, __func__);
    if (window == nullptr)
        return errInvalidWindowRef;
    if (outControl == nullptr)
        return paramErr;
    if (window->root == nullptr)
        return errNoRootControl;
    *outControl = window->root;
    return noErr;
}

HIViewRef HIViewGetRoot(WindowRef inWindow) {
    OpaqueWindowPtr* window = hit::live_window(inWindow, __func__);
    return window != nullptr ? hit::ensure_root(window) : nullptr;
}

OSErr EmbedControl(ControlRef inControl, ControlRef inContainer) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    OpaqueControlRef* container = hit::live_control(inContainer, __func__);
    if (control == nullptr || container == nullptr)
        return paramErr;
    if (control->is_root)
        return errCantEmbedRoot;
    if (is_within(container, control))
        return errCantEmbedIntoSelf;
    if ((container->features & kControlSupportsEmbedding) == 0)
        return errControlIsNotEmbedder;
    if (control->embedder == container)
        return noErr;
    ControlRef previous = control->embedder;
    if (previous != nullptr)
        send_about_sub(previous, kEventControlRemovingSubControl, control);
    detach(control); // the reference moves with the control to its new embedder
    container->children.push_back(control);
    control->embedder = container;
    if (control->owner != container->owner)
        move_to_window(control, container->owner);
    hit::invalidate_control(control);
    send_about_sub(container, kEventControlAddedSubControl, control);
    for (ControlRef changed : {previous, static_cast<ControlRef>(container)})
        if (changed != nullptr && changed->kind_class->subcontrols_changed != nullptr)
            changed->kind_class->subcontrols_changed(changed);
    return noErr;
}

OSErr GetSuperControl(ControlRef inControl, ControlRef* outParent) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || outParent == nullptr)
        return paramErr;
    *outParent = control->embedder;
    return noErr;
}

OSErr CountSubControls(ControlRef inControl, UInt16* outNumChildren) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || outNumChildren == nullptr)
        return paramErr;
    *outNumChildren = static_cast<UInt16>(control->children.size());
    return noErr;
}

OSErr GetIndexedSubControl(ControlRef inControl, UInt16 inIndex, ControlRef* outSubControl) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || outSubControl == nullptr || inIndex < 1 ||
        inIndex > control->children.size())
        return paramErr;
    *outSubControl = control->children[inIndex - 1];
    return noErr;
}

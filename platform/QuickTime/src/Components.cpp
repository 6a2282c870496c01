// Component instances: runtime objects, closed (and freed) by CloseComponent.
#include "Component.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <CoreFoundation/CFRuntime.h>

#include <cstdio>

struct OpaqueComponentInstance : cf::Object {
    OSType type = 0;
    std::unique_ptr<qt::ComponentState> state;
};

namespace qt {
namespace {

const cf::ClassDescriptor kInstanceClass = {
    "ComponentInstance", cf::destroy<OpaqueComponentInstance>, nullptr, nullptr, nullptr};

CFTypeID instance_type_id() {
    static CFTypeID id = cf::register_class(&kInstanceClass);
    return id;
}

} // namespace

ComponentInstance create_instance(OSType type, std::unique_ptr<ComponentState> state) {
    auto* instance = cf::create<OpaqueComponentInstance>(nullptr, instance_type_id());
    if (instance == nullptr)
        return nullptr;
    instance->type = type;
    instance->state = std::move(state);
    return instance;
}

ComponentState* instance_state(ComponentInstance ci, OSType type, const char* function) {
    if (!cf::check_type(ci, instance_type_id(), function))
        return nullptr;
    if (ci->type != type) {
        cf::report(function, "the component instance is of another kind");
        return nullptr;
    }
    return ci->state.get();
}

} // namespace qt

OSErr CloseComponent(ComponentInstance aComponentInstance) {
    // badComponentInstance does not fit an OSErr; the Component Manager's own
    // 16-bit status for a reference it does not know is used instead.
    if (!cf::check_type(aComponentInstance, qt::instance_type_id(), __func__))
        return invalidComponentID;
    CFRelease(aComponentInstance);
    return noErr;
}

// Component instances inside QuickTime: each is a runtime object that keeps
// its component's type and the state of the one component it is.
#ifndef QUICKTIME_SRC_COMPONENT_H
#define QUICKTIME_SRC_COMPONENT_H

#include <QuickTime/Components.h>

#include <memory>

namespace qt {

// What a kind of component keeps per open instance.
struct ComponentState {
    virtual ~ComponentState() = default;
};

// A new open instance of a component of `type` owning `state`; nullptr
// without memory. CloseComponent destroys it.
ComponentInstance create_instance(OSType type, std::unique_ptr<ComponentState> state);

// The state of an open instance of `type`, or nullptr (with a line on
// standard error naming `function` for something that is not an instance).
ComponentState* instance_state(ComponentInstance ci, OSType type, const char* function);

} // namespace qt

#endif // QUICKTIME_SRC_COMPONENT_H

// The registry of control kinds. Each kind of control (user pane, push
// button, and those that come later) lives in its own ControlKind_*.cpp and
// describes itself with a ControlKindClass: its kind code, the features its
// controls have, the state it keeps, and a table of the data tags that
// GetControlData and SetControlData dispatch to.
#ifndef HITOOLBOX_SRC_CONTROLKINDS_H
#define HITOOLBOX_SRC_CONTROLKINDS_H

#include <HIToolbox/ControlDefinitions.h>

#include "ControlInternal.h"

#include <cstring>

namespace hit {

struct DataTag {
    ResType tag;
    // nullptr when the tag cannot be read (or written). `buffer` holds
    // `size` bytes; `actual` receives the size of the whole value. A getter
    // called with a null buffer only reports the size, and returns noErr.
    OSStatus (*get)(ControlRef control, ControlPartCode part, Size size, void* buffer,
                    Size* actual);
    OSStatus (*set)(ControlRef control, ControlPartCode part, Size size, const void* data);
};

struct ControlKindClass {
    ControlKind kind;
    const char* name; // for dumps and diagnostics
    UInt32 features;  // features every control of the kind has
    const DataTag* tags;
    size_t tag_count;
    // The kind's own state for a new control; nullptr when it keeps none.
    std::unique_ptr<KindState> (*make_state)();
    // The text a person sees on the control, as a new string; nullptr: the title.
    CFStringRef (*copy_text)(ControlRef control);
};

// Registers a kind (once, at its first use); a kind already registered under
// the same code is replaced.
void register_control_kind(const ControlKindClass& kind);
// The kind registered under the code, or nullptr.
const ControlKindClass* find_control_kind(const ControlKind& kind);
const DataTag* find_data_tag(const ControlKindClass& kind, ResType tag);

// The built-in kinds.
const ControlKindClass& user_pane_kind();
const ControlKindClass& push_button_kind();

// The kind's state of a control, when the control is of that kind.
template <class State> State* kind_state(ControlRef control) {
    return dynamic_cast<State*>(control->state.get());
}

// Helpers for tags whose value is one fixed-size record.
template <class T> OSStatus get_fixed(const T& value, Size size, void* buffer, Size* actual) {
    if (actual != nullptr)
        *actual = sizeof(T);
    if (buffer == nullptr)
        return noErr;
    if (size < static_cast<Size>(sizeof(T)))
        return errDataSizeMismatch;
    std::memcpy(buffer, &value, sizeof(T));
    return noErr;
}

template <class T> OSStatus set_fixed(T& value, Size size, const void* data) {
    if (data == nullptr)
        return paramErr;
    if (size != static_cast<Size>(sizeof(T)))
        return errDataSizeMismatch;
    std::memcpy(&value, data, sizeof(T));
    return noErr;
}

} // namespace hit

#endif // HITOOLBOX_SRC_CONTROLKINDS_H

// The registry of control kinds, and GetControlData / SetControlData, which
// hand each tag to the table of the control's kind.
#include "ControlKinds.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<const hit::ControlKindClass*>& kinds() {
    static auto* registry = new std::vector<const hit::ControlKindClass*>;
    return *registry;
}

bool same_kind(const ControlKind& a, const ControlKind& b) {
    return a.signature == b.signature && a.kind == b.kind;
}

// Kinds register at their first use; a lookup by code must see all of them.
void register_builtin_kinds() {
    static bool done = false;
    if (done)
        return;
    done = true;
    hit::user_pane_kind();
    hit::push_button_kind();
    hit::check_box_kind();
    hit::radio_button_kind();
    hit::static_text_kind();
    hit::edit_text_kind();
    hit::edit_unicode_text_kind();
    hit::popup_button_kind();
    hit::tabs_kind();
    hit::group_box_kind();
    hit::separator_kind();
    hit::combo_box_kind();
}

const hit::DataTag* tag_of(ControlRef control, ResType tag) {
    return hit::find_data_tag(*control->kind_class, tag);
}

} // namespace

namespace hit {

void register_control_kind(const ControlKindClass& kind) {
    auto& registry = kinds();
    auto it = std::find_if(registry.begin(), registry.end(), [&](const ControlKindClass* k) {
        return same_kind(k->kind, kind.kind);
    });
    if (it != registry.end())
        *it = &kind;
    else
        registry.push_back(&kind);
}

const ControlKindClass* find_control_kind(const ControlKind& kind) {
    register_builtin_kinds();
    for (const ControlKindClass* k : kinds())
        if (same_kind(k->kind, kind))
            return k;
    return nullptr;
}

const DataTag* find_data_tag(const ControlKindClass& kind, ResType tag) {
    for (size_t i = 0; i < kind.tag_count; ++i)
        if (kind.tags[i].tag == tag)
            return &kind.tags[i];
    return nullptr;
}

} // namespace hit

OSErr SetControlData(ControlRef inControl, ControlPartCode inPart, ResType inTagName, Size inSize,
                     const void* inData) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || inSize < 0)
        return paramErr;
    const hit::DataTag* tag = tag_of(control, inTagName);
    if (tag == nullptr)
        return hit::send_data_event(control, kEventControlSetData, inPart, inTagName, inSize,
                                    inData, nullptr);
    if (tag->set == nullptr)
        return errDataNotSupported;
    return tag->set(control, inPart, inSize, inData);
}

OSErr GetControlData(ControlRef inControl, ControlPartCode inPart, ResType inTagName,
                     Size inBufferSize, void* inBuffer, Size* outActualSize) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || inBuffer == nullptr || inBufferSize < 0)
        return paramErr;
    const hit::DataTag* tag = tag_of(control, inTagName);
    if (tag == nullptr)
        return hit::send_data_event(control, kEventControlGetData, inPart, inTagName, inBufferSize,
                                    inBuffer, outActualSize);
    if (tag->get == nullptr)
        return errDataNotSupported;
    Size actual = 0;
    OSStatus status = tag->get(control, inPart, inBufferSize, inBuffer, &actual);
    if (outActualSize != nullptr)
        *outActualSize = actual;
    return status;
}

OSErr GetControlDataSize(ControlRef inControl, ControlPartCode inPart, ResType inTagName,
                         Size* outMaxSize) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr || outMaxSize == nullptr)
        return paramErr;
    const hit::DataTag* tag = tag_of(control, inTagName);
    if (tag == nullptr)
        return hit::send_data_event(control, kEventControlGetData, inPart, inTagName, 0, nullptr,
                                    outMaxSize);
    if (tag->get == nullptr)
        return errDataNotSupported;
    // A getter given no buffer only reports the size.
    return tag->get(control, inPart, 0, nullptr, outMaxSize);
}

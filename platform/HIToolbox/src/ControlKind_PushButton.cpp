// The push button. Whether it draws as its window's default or cancel button
// is kept under two Boolean tags, which SetWindowDefaultButton and
// SetWindowCancelButton also set.
#include "Drawing.h"

namespace {

struct PushButtonState : hit::KindState {
    Boolean is_default = false;
    Boolean is_cancel = false;
};

template <Boolean PushButtonState::*member> struct FlagTag {
    static OSStatus get(ControlRef control, ControlPartCode, Size size, void* buffer,
                        Size* actual) {
        return hit::get_fixed(hit::kind_state<PushButtonState>(control)->*member, size, buffer,
                              actual);
    }
    static OSStatus set(ControlRef control, ControlPartCode, Size size, const void* data) {
        Boolean value = false;
        OSStatus status = hit::set_fixed(value, size, data);
        if (status == noErr) {
            hit::kind_state<PushButtonState>(control)->*member = value != 0;
            hit::invalidate_control(control);
        }
        return status;
    }
    static constexpr hit::DataTag entry(ResType tag) { return {tag, &get, &set}; }
};

const hit::DataTag kTags[] = {
    FlagTag<&PushButtonState::is_default>::entry(kControlPushButtonDefaultTag),
    FlagTag<&PushButtonState::is_cancel>::entry(kControlPushButtonCancelTag),
};

std::unique_ptr<hit::KindState> make_state() {
    return std::make_unique<PushButtonState>();
}

} // namespace

namespace hit {

const ControlKindClass& push_button_kind() {
    static const ControlKindClass kind = {
        .kind = {kControlKindSignatureApple, kControlKindPushButton},
        .name = "push button",
        .features = kControlSupportsDataAccess,
        .tags = kTags,
        .tag_count = sizeof(kTags) / sizeof(kTags[0]),
        .make_state = make_state,
        .copy_text = nullptr,
        .click_part = kControlButtonPart,
        .draw = hit::theme::draw_push_button,
        .best_rect = hit::theme::best_push_button,
    };
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

} // namespace hit

OSStatus CreatePushButtonControl(WindowRef window, const Rect* boundsRect, CFStringRef title,
                                 ControlRef* outControl) {
    ControlRef control = nullptr;
    OSStatus status = hit::create_control(window, boundsRect, hit::push_button_kind(), 0, &control);
    if (status != noErr)
        return status;
    SetControl32BitMaximum(control, 1);
    if (title != nullptr && (status = SetControlTitleWithCFString(control, title)) != noErr) {
        DisposeControl(control);
        return status;
    }
    *outControl = control;
    return noErr;
}

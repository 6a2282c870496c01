// The group box: a titled frame that embeds the controls it groups, and the
// separator line. Neither does anything when clicked.
#include "Drawing.h"

namespace {

struct GroupBoxState : hit::KindState {
    ControlFontStyleRec style{};
    Boolean primary = true;
};

OSStatus get_style(ControlRef control, ControlPartCode, Size size, void* buffer, Size* actual) {
    return hit::get_fixed(hit::kind_state<GroupBoxState>(control)->style, size, buffer, actual);
}

OSStatus set_style(ControlRef control, ControlPartCode, Size size, const void* data) {
    return hit::set_fixed(hit::kind_state<GroupBoxState>(control)->style, size, data);
}

const hit::DataTag kTags[] = {{kControlGroupBoxFontStyleTag, get_style, set_style}};

std::unique_ptr<hit::KindState> make_state() {
    return std::make_unique<GroupBoxState>();
}

} // namespace

namespace hit {

bool group_box_is_primary(ControlRef control) {
    const auto* state = kind_state<GroupBoxState>(control);
    return state == nullptr || state->primary;
}

const ControlKindClass& group_box_kind() {
    static const ControlKindClass kind = {
        .kind = {kControlKindSignatureApple, kControlKindGroupBox},
        .name = "group box",
        .features = kControlSupportsDataAccess | kControlSupportsEmbedding,
        .tags = kTags,
        .tag_count = sizeof(kTags) / sizeof(kTags[0]),
        .make_state = make_state,
        .copy_text = nullptr,
        .draw = theme::draw_group_box,
        .best_rect = theme::best_group_box,
    };
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

const ControlKindClass& separator_kind() {
    static const ControlKindClass kind = {
        .kind = {kControlKindSignatureApple, kControlKindSeparator},
        .name = "separator",
        .features = 0,
        .tags = nullptr,
        .tag_count = 0,
        .make_state = nullptr,
        .copy_text = nullptr,
        .draw = theme::draw_separator,
    };
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

} // namespace hit

OSStatus CreateGroupBoxControl(WindowRef window, const Rect* boundsRect, CFStringRef title,
                               Boolean primary, ControlRef* outControl) {
    ControlRef control = nullptr;
    OSStatus status = hit::create_titled_control(window, boundsRect, hit::group_box_kind(), 0,
                                                 title, 0, 0, &control);
    if (status != noErr)
        return status;
    hit::kind_state<GroupBoxState>(control)->primary = primary;
    *outControl = control;
    return noErr;
}

OSStatus CreateSeparatorControl(WindowRef window, const Rect* boundsRect, ControlRef* outControl) {
    return hit::create_control(window, boundsRect, hit::separator_kind(), 0, outControl);
}

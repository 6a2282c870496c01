// The radio button. An auto-toggling one, or one in a radio group, turns
// itself on when clicked; turning its partners off is the application's
// business, or its radio group's.
#include "ControlBehaviour.h"
#include "ControlKinds.h"
#include "Drawing.h"

namespace {

ControlPartCode track(ControlRef control, MenuItemIndex) {
    if ((control->features & kControlAutoToggles) != 0 || hit::is_radio_group(control->embedder)) {
        SetControl32BitValue(control, kControlRadioButtonCheckedValue);
        hit::changed(control);
    }
    return kControlRadioButtonPart;
}

void value_changed(ControlRef control) {
    if (control->value == kControlRadioButtonCheckedValue && hit::is_radio_group(control->embedder))
        hit::radio_group_button_chosen(control->embedder, control);
}

} // namespace

namespace hit {

const ControlKindClass& radio_button_kind() {
    static const ControlKindClass kind = {
        .kind = {kControlKindSignatureApple, kControlKindRadioButton},
        .name = "radio button",
        .features = kControlHasRadioBehavior,
        .tags = nullptr,
        .tag_count = 0,
        .make_state = nullptr,
        .copy_text = nullptr,
        .track = track,
        .draw = hit::theme::draw_radio_button,
        .best_rect = hit::theme::best_radio_button,
        .value_changed = value_changed,
    };
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

} // namespace hit

OSStatus CreateRadioButtonControl(WindowRef window, const Rect* boundsRect, CFStringRef title,
                                  SInt32 initialValue, Boolean autoToggle, ControlRef* outControl) {
    return hit::create_titled_control(window, boundsRect, hit::radio_button_kind(),
                                      autoToggle ? kControlAutoToggles : 0, title,
                                      kControlRadioButtonMixedValue, initialValue, outControl);
}

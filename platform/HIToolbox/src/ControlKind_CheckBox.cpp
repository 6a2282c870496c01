// The check box: on, off or mixed. An auto-toggling check box flips itself
// when clicked (a mixed one turns off), before the hit is reported.
#include "ControlBehaviour.h"
#include "ControlKinds.h"
#include "Drawing.h"

namespace {

ControlPartCode track(ControlRef control, MenuItemIndex) {
    if ((control->features & kControlAutoToggles) != 0) {
        const bool off = GetControl32BitValue(control) == kControlCheckBoxUncheckedValue;
        SetControl32BitValue(control,
                             off ? kControlCheckBoxCheckedValue : kControlCheckBoxUncheckedValue);
        hit::changed(control);
    }
    return kControlCheckBoxPart;
}

} // namespace

namespace hit {

const ControlKindClass& check_box_kind() {
    static const ControlKindClass kind = {
        .kind = {kControlKindSignatureApple, kControlKindCheckBox},
        .name = "check box",
        .features = 0,
        .tags = nullptr,
        .tag_count = 0,
        .make_state = nullptr,
        .copy_text = nullptr,
        .track = track,
        .draw = hit::theme::draw_check_box,
        .best_rect = hit::theme::best_check_box,
    };
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

} // namespace hit

OSStatus CreateCheckBoxControl(WindowRef window, const Rect* boundsRect, CFStringRef title,
                               SInt32 initialValue, Boolean autoToggle, ControlRef* outControl) {
    return hit::create_titled_control(window, boundsRect, hit::check_box_kind(),
                                      autoToggle ? kControlAutoToggles : 0, title,
                                      kControlCheckBoxMixedValue, initialValue, outControl);
}

// SetControlFontStyle: the kind's own font style tag where it has one, otherwise a style the
// control keeps for the theme to draw and measure its title with.
#include "ControlKinds.h"
#include "Drawing.h"

OSErr SetControlFontStyle(ControlRef inControl, const ControlFontStyleRec* inStyle) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr)
        return paramErr;
    const ControlFontStyleRec plain{};
    const ControlFontStyleRec& style = inStyle != nullptr ? *inStyle : plain;
    if (hit::find_data_tag(*control->kind_class, kControlFontStyleTag) != nullptr)
        return SetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof(style),
                              &style);
    if (style.flags == 0)
        control->font_style.reset();
    else
        control->font_style = style;
    hit::invalidate_control(control);
    return noErr;
}

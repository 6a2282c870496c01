// The static text: a label whose text lives in its data tags (apart from
// its title), with a font style, a truncation mode and a multi-line switch.
#include "ControlBehaviour.h"
#include "ControlKinds.h"
#include "Drawing.h"
#include "TextInternal.h"

#include <CoreFoundation/CFString.h>

namespace {

struct StaticTextState : hit::KindState {
    std::u16string text;
    ControlFontStyleRec style{};
    TruncCode truncation = -1; // none
    Boolean multiline = true;
};

StaticTextState& state_of(ControlRef control) {
    return *hit::kind_state<StaticTextState>(control);
}

OSStatus get_bytes(ControlRef control, ControlPartCode, Size size, void* buffer, Size* actual) {
    return hit::get_system_bytes(state_of(control).text, size, buffer, actual);
}

OSStatus set_bytes(ControlRef control, ControlPartCode, Size size, const void* data) {
    OSStatus status = hit::set_from_system_bytes(size, data, state_of(control).text);
    if (status == noErr)
        hit::changed(control);
    return status;
}

OSStatus get_string(ControlRef control, ControlPartCode, Size size, void* buffer, Size* actual) {
    return hit::get_string_ref(state_of(control).text, size, buffer, actual);
}

OSStatus set_string(ControlRef control, ControlPartCode, Size size, const void* data) {
    OSStatus status = hit::set_from_string_ref(size, data, state_of(control).text);
    if (status == noErr)
        hit::changed(control);
    return status;
}

template <class T, T StaticTextState::*member>
using FieldTag = hit::FieldTag<StaticTextState, T, member>;

const hit::DataTag kTags[] = {
    {kControlStaticTextTextTag, get_bytes, set_bytes},
    {kControlStaticTextCFStringTag, get_string, set_string},
    FieldTag<ControlFontStyleRec, &StaticTextState::style>::entry(kControlStaticTextStyleTag),
    FieldTag<TruncCode, &StaticTextState::truncation>::entry(kControlStaticTextTruncTag),
    FieldTag<Boolean, &StaticTextState::multiline>::entry(kControlStaticTextIsMultilineTag),
};

std::unique_ptr<hit::KindState> make_state() {
    return std::make_unique<StaticTextState>();
}

CFStringRef copy_text(ControlRef control) {
    return hit::create_string(state_of(control).text);
}

} // namespace

namespace hit {

const ControlKindClass& static_text_kind() {
    static const ControlKindClass kind = {
        .kind = {kControlKindSignatureApple, kControlKindStaticText},
        .name = "static text",
        .features = kControlSupportsDataAccess,
        .tags = kTags,
        .tag_count = sizeof(kTags) / sizeof(kTags[0]),
        .make_state = make_state,
        .copy_text = copy_text,
        .draw = hit::theme::draw_static_text,
        .best_rect = hit::theme::best_static_text,
    };
    static bool registered = (register_control_kind(kind), true);
    (void)registered;
    return kind;
}

} // namespace hit

OSStatus CreateStaticTextControl(WindowRef window, const Rect* boundsRect, CFStringRef text,
                                 const ControlFontStyleRec* style, ControlRef* outControl) {
    if (text != nullptr && !cf::check_type(text, CFStringGetTypeID(), __func__))
        return paramErr;
    ControlRef control = nullptr;
    OSStatus status = hit::create_control(window, boundsRect, hit::static_text_kind(), 0, &control);
    if (status != noErr)
        return status;
    state_of(control).text = hit::units_of(text);
    if (style != nullptr)
        state_of(control).style = *style;
    *outControl = control;
    return noErr;
}

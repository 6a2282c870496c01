// The view names for a control's value, text and enabled state: the Control Manager's calls
// under the names code written for 10.4 and later uses.
#include "ControlKinds.h"

#include <HIToolbox/HIView.h>

namespace {

// Static and edit texts keep their text under 'cfst'; other kinds show their title.
bool has_text_tag(OpaqueControlRef* view) {
    return hit::find_data_tag(*view->kind_class, kControlStaticTextCFStringTag) != nullptr;
}

} // namespace

SInt32 HIViewGetValue(HIViewRef inView) {
    return GetControl32BitValue(inView);
}

OSStatus HIViewSetValue(HIViewRef inView, SInt32 inValue) {
    if (hit::live_control(inView, __func__) == nullptr)
        return paramErr;
    SetControl32BitValue(inView, inValue);
    return noErr;
}

OSStatus HIViewSetText(HIViewRef inView, CFStringRef inText) {
    OpaqueControlRef* view = hit::live_control(inView, __func__);
    if (view == nullptr || inText == nullptr)
        return paramErr;
    if (has_text_tag(view))
        return SetControlData(view, kControlEntireControl, kControlStaticTextCFStringTag,
                              sizeof(inText), &inText);
    return SetControlTitleWithCFString(view, inText);
}

CFStringRef HIViewCopyText(HIViewRef inView) {
    OpaqueControlRef* view = hit::live_control(inView, __func__);
    if (view == nullptr)
        return nullptr;
    CFStringRef text = nullptr;
    if (has_text_tag(view)) {
        if (GetControlData(view, kControlEntireControl, kControlStaticTextCFStringTag, sizeof(text),
                           &text, nullptr) != noErr)
            return nullptr;
        return text; // the tag hands out a new reference
    }
    if (CopyControlTitleAsCFString(view, &text) != noErr)
        return nullptr;
    return text;
}

OSStatus HIViewSetEnabled(HIViewRef inView, Boolean inSetEnabled) {
    if (hit::live_control(inView, __func__) == nullptr)
        return paramErr;
    return inSetEnabled ? EnableControl(inView) : DisableControl(inView);
}

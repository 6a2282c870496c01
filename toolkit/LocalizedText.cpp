// Localised texts for controls, windows and menu items.
#include "LocalizedText.h"

#include <cstdarg>

namespace {

// The bundle's text for key, formatted with the arguments; NULL when there is none.
CFStringRef create_text(CFBundleRef bundle, CFStringRef key, va_list arguments) {
    CFStringRef format =
        CFBundleCopyLocalizedString(bundle, key, CFSTR("STRING NOT FOUND"), nullptr);
    if (format == nullptr)
        return nullptr;
    CFStringRef text = CFStringCreateWithFormatAndArguments(nullptr, nullptr, format, arguments);
    CFRelease(format);
    return text;
}

// Hands a text to `apply` and releases it; nothing for NULL.
template <class Apply> void apply_text(CFStringRef text, Apply apply) {
    if (text == nullptr)
        return;
    apply(text);
    CFRelease(text);
}

} // namespace

void SetLocalizedStaticText(CFBundleRef bundle, CFStringRef key, ControlRef control, ...) {
    if (bundle == nullptr || key == nullptr || control == nullptr)
        return;
    va_list arguments;
    va_start(arguments, control);
    CFStringRef text = create_text(bundle, key, arguments);
    va_end(arguments);
    apply_text(text, [control](CFStringRef t) {
        SetControlData(control, kControlEntireControl, kControlStaticTextCFStringTag, sizeof(t),
                       &t);
        Draw1Control(control);
    });
}

void SetLocalizedControlTitle(CFBundleRef bundle, CFStringRef key, ControlRef control, ...) {
    if (bundle == nullptr || key == nullptr || control == nullptr)
        return;
    va_list arguments;
    va_start(arguments, control);
    CFStringRef text = create_text(bundle, key, arguments);
    va_end(arguments);
    apply_text(text, [control](CFStringRef t) { SetControlTitleWithCFString(control, t); });
}

void SetLocalizedWindowTitle(CFBundleRef bundle, CFStringRef key, WindowRef window, ...) {
    if (bundle == nullptr || key == nullptr || window == nullptr)
        return;
    va_list arguments;
    va_start(arguments, window);
    CFStringRef text = create_text(bundle, key, arguments);
    va_end(arguments);
    apply_text(text, [window](CFStringRef t) { SetWindowTitleWithCFString(window, t); });
}

void SetLocalizedMenuTitle(CFBundleRef bundle, CFStringRef key, MenuRef menu, UInt16 item, ...) {
    if (bundle == nullptr || key == nullptr || menu == nullptr)
        return;
    va_list arguments;
    va_start(arguments, item);
    CFStringRef text = create_text(bundle, key, arguments);
    va_end(arguments);
    apply_text(text, [menu, item](CFStringRef t) { SetMenuItemTextWithCFString(menu, item, t); });
}

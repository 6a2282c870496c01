// Localised texts for controls, windows and menu items.
#include "LocalizedText.h"
#include <CoreFoundation/CFDiagnostics.h>
#include <CoreFoundation/CFHolder.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

// Where the bundle's translations come from, for messages.
std::string strings_file(CFBundleRef bundle) {
    std::string path = "Localizable.strings";
    const cf::Holder<CFURLRef> url(
        CFBundleCopyResourceURL(bundle, CFSTR("Localizable"), CFSTR("strings"), nullptr));
    char buffer[4096];
    if (url && CFURLGetFileSystemRepresentation(url.get(), true, reinterpret_cast<UInt8*>(buffer),
                                                sizeof buffer))
        path = buffer;
    return path;
}

std::string utf8(CFStringRef text) {
    char buffer[1024];
    return CFStringGetCString(text, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "?";
}

// The bundle's text for key, formatted with the arguments; NULL when there is none. The key is
// the text as the developer wrote it, so a translation may read only the arguments the key
// reads: a translator's "%s" or "100 % sure" would read arguments nobody passed. Such a text
// is shown as written, with a message naming the strings file and the key.
CFStringRef create_text(const char* caller, CFBundleRef bundle, CFStringRef key,
                        va_list arguments) {
    const cf::Holder<CFStringRef> format(
        CFBundleCopyLocalizedString(bundle, key, CFSTR("STRING NOT FOUND"), nullptr));
    if (!format)
        return nullptr;
    CFErrorRef error = nullptr;
    CFStringRef text = CFStringCreateStringWithValidatedFormatAndArguments(
        nullptr, nullptr, key, format.get(), arguments, &error);
    const cf::Holder<CFErrorRef> held_error(error);
    if (text == nullptr && error != nullptr) {
        cf::report_in_file(caller, strings_file(bundle), 0,
                           "\"%s\": the text has %% conversions that its key does not have; "
                           "shown as written",
                           utf8(key).c_str());
        text = static_cast<CFStringRef>(CFRetain(format.get()));
    }
    return text;
}

// Hands a text to `apply` and releases it; nothing for NULL.
template <class Apply> void apply_text(CFStringRef text, Apply apply) {
    const cf::Holder<CFStringRef> held(text);
    if (held)
        apply(held.get());
}

} // namespace

void SetLocalizedStaticText(CFBundleRef bundle, CFStringRef key, ControlRef control, ...) {
    if (bundle == nullptr || key == nullptr || control == nullptr)
        return;
    va_list arguments;
    va_start(arguments, control);
    CFStringRef text = create_text(__func__, bundle, key, arguments);
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
    CFStringRef text = create_text(__func__, bundle, key, arguments);
    va_end(arguments);
    apply_text(text, [control](CFStringRef t) { SetControlTitleWithCFString(control, t); });
}

void SetLocalizedWindowTitle(CFBundleRef bundle, CFStringRef key, WindowRef window, ...) {
    if (bundle == nullptr || key == nullptr || window == nullptr)
        return;
    va_list arguments;
    va_start(arguments, window);
    CFStringRef text = create_text(__func__, bundle, key, arguments);
    va_end(arguments);
    apply_text(text, [window](CFStringRef t) { SetWindowTitleWithCFString(window, t); });
}

void SetLocalizedMenuTitle(CFBundleRef bundle, CFStringRef key, MenuRef menu, UInt16 item, ...) {
    if (bundle == nullptr || key == nullptr || menu == nullptr)
        return;
    va_list arguments;
    va_start(arguments, item);
    CFStringRef text = create_text(__func__, bundle, key, arguments);
    va_end(arguments);
    apply_text(text, [menu, item](CFStringRef t) { SetMenuItemTextWithCFString(menu, item, t); });
}

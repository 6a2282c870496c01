// Window and control titles, and the text helpers the rest of HIToolbox uses.
#include "Drawing.h"
#include "TextInternal.h"

#include <CoreFoundation/CFString.h>

namespace {

// Stores a copy of `title` (or nothing for NULL) in `slot`; a mutable
// string changed later by its owner must not change the title.
OSStatus replace_title(cf::Holder<CFStringRef>& slot, CFStringRef title) {
    cf::Holder<CFStringRef> copy;
    if (title != nullptr) {
        if (!cf::check_type(title, CFStringGetTypeID(), "title"))
            return paramErr;
        copy.reset(CFStringCreateCopy(nullptr, title));
        if (!copy)
            return memFullErr;
    }
    slot = std::move(copy);
    return noErr;
}

OSStatus copy_title(CFStringRef title, CFStringRef* out) {
    if (out == nullptr)
        return paramErr;
    *out = title != nullptr ? static_cast<CFStringRef>(CFRetain(title))
                            : CFStringCreateWithCString(nullptr, "", kCFStringEncodingUTF8);
    return *out != nullptr ? noErr : memFullErr;
}

} // namespace

namespace hit {

std::string utf8(CFStringRef string) {
    if (string == nullptr)
        return {};
    const CFIndex length = CFStringGetLength(string);
    std::string text(
        static_cast<size_t>(CFStringGetMaximumSizeForEncoding(length, kCFStringEncodingUTF8)) + 1,
        '\0');
    if (!CFStringGetCString(string, text.data(), static_cast<CFIndex>(text.size()),
                            kCFStringEncodingUTF8))
        return {};
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

} // namespace hit

OSStatus SetWindowTitleWithCFString(WindowRef window, CFStringRef title) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    return replace_title(w->title, title);
}

OSStatus CopyWindowTitleAsCFString(WindowRef window, CFStringRef* outTitle) {
    OpaqueWindowPtr* w = hit::live_window(window, __func__);
    if (w == nullptr)
        return errInvalidWindowRef;
    return copy_title(w->title.get(), outTitle);
}

OSStatus SetControlTitleWithCFString(ControlRef inControl, CFStringRef inString) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr)
        return paramErr;
    OSStatus status = replace_title(control->title, inString);
    if (status == noErr) {
        hit::invalidate_control(control);
        hit::notify(control, kEventControlTitleChanged);
    }
    return status;
}

OSStatus CopyControlTitleAsCFString(ControlRef inControl, CFStringRef* outString) {
    OpaqueControlRef* control = hit::live_control(inControl, __func__);
    if (control == nullptr)
        return paramErr;
    return copy_title(control->title.get(), outString);
}

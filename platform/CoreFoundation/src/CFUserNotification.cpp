// User notices, delivered to the host's handler.
#include <CoreFoundation/CFUserNotification.h>
#include <CoreFoundation/PlatformHost.h>

#include "CFBundleInternal.h"

#include <cstdio>

namespace cf {
namespace {

const char* level_name(CFOptionFlags level) {
    switch (level) {
    case kCFUserNotificationStopAlertLevel:
        return "Stop";
    case kCFUserNotificationNoteAlertLevel:
        return "Note";
    case kCFUserNotificationCautionAlertLevel:
        return "Caution";
    default:
        return "Plain";
    }
}

void default_notice(CFOptionFlags level, CFStringRef header, CFStringRef message,
                    CFStringRef button, void*) {
    std::fprintf(stderr, "Notice (%s): %s%s%s [%s]\n", level_name(level), to_utf8(header).c_str(),
                 header != nullptr && message != nullptr ? ": " : "", to_utf8(message).c_str(),
                 button != nullptr ? to_utf8(button).c_str() : "OK");
}

PlatformNoticeHandler gNoticeHandler = default_notice;
void* gNoticeContext = nullptr;

// The text for `key` in the Localizable table of the bundle at `url` (a new reference).
CFStringRef localized(CFBundleRef bundle, CFStringRef key) {
    if (key == nullptr)
        return nullptr;
    if (bundle == nullptr)
        return static_cast<CFStringRef>(CFRetain(key));
    return CFBundleCopyLocalizedString(bundle, key, key, nullptr);
}

} // namespace
} // namespace cf

SInt32 CFUserNotificationDisplayNotice(CFTimeInterval, CFOptionFlags flags, CFURLRef, CFURLRef,
                                       CFURLRef localizationURL, CFStringRef alertHeader,
                                       CFStringRef alertMessage, CFStringRef defaultButtonTitle) {
    CFBundleRef bundle =
        localizationURL != nullptr ? CFBundleCreate(nullptr, localizationURL) : nullptr;
    CFStringRef header = cf::localized(bundle, alertHeader);
    CFStringRef message = cf::localized(bundle, alertMessage);
    CFStringRef button = cf::localized(bundle, defaultButtonTitle);
    cf::gNoticeHandler(flags & 0x3, header, message, button, cf::gNoticeContext);
    for (CFTypeRef owned : {static_cast<CFTypeRef>(header), static_cast<CFTypeRef>(message),
                            static_cast<CFTypeRef>(button), static_cast<CFTypeRef>(bundle)})
        if (owned != nullptr)
            CFRelease(owned);
    return 0;
}

void PlatformSetNoticeHandler(PlatformNoticeHandler handler, void* context) {
    cf::gNoticeHandler = handler != nullptr ? handler : cf::default_notice;
    cf::gNoticeContext = handler != nullptr ? context : nullptr;
}

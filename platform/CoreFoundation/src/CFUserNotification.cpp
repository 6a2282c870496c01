// User notices, delivered to the host's handler.
#include <CoreFoundation/CFUserNotification.h>
#include <CoreFoundation/PlatformHost.h>
#include <CoreFoundation/CFHolder.h>

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
    const cf::Holder<CFBundleRef> bundle(
        localizationURL != nullptr ? CFBundleCreate(nullptr, localizationURL) : nullptr);
    const cf::Holder<CFStringRef> header(cf::localized(bundle.get(), alertHeader));
    const cf::Holder<CFStringRef> message(cf::localized(bundle.get(), alertMessage));
    const cf::Holder<CFStringRef> button(cf::localized(bundle.get(), defaultButtonTitle));
    cf::gNoticeHandler(flags & 0x3, header.get(), message.get(), button.get(), cf::gNoticeContext);
    return 0;
}

void PlatformSetNoticeHandler(PlatformNoticeHandler handler, void* context) {
    cf::gNoticeHandler = handler != nullptr ? handler : cf::default_notice;
    cf::gNoticeContext = handler != nullptr ? context : nullptr;
}

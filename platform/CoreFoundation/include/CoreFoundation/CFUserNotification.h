/*
 * CFUserNotification.h: notices for the user. There is no notification
 * server here: a notice is handed to the host's notice handler
 * (PlatformSetNoticeHandler), which by default writes one line to standard
 * error.
 */
#ifndef COREFOUNDATION_CFUSERNOTIFICATION_H
#define COREFOUNDATION_CFUSERNOTIFICATION_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFDate.h>
#include <CoreFoundation/CFURL.h>

CF_EXTERN_C_BEGIN

/* The alert level, in the low two bits of the flags. */
enum {
    kCFUserNotificationStopAlertLevel = 0,
    kCFUserNotificationNoteAlertLevel = 1,
    kCFUserNotificationCautionAlertLevel = 2,
    kCFUserNotificationPlainAlertLevel = 3
};

enum {
    kCFUserNotificationDefaultResponse = 0,
    kCFUserNotificationAlternateResponse = 1,
    kCFUserNotificationOtherResponse = 2,
    kCFUserNotificationCancelResponse = 3
};

enum {
    kCFUserNotificationNoDefaultButtonFlag = (1UL << 5),
    kCFUserNotificationUseRadioButtonsFlag = (1UL << 6)
};

/*
 * CFUserNotificationDisplayNotice: shows a notice and does not wait for the
 * user. With a localizationURL, the header, message and button title are
 * keys of that bundle's Localizable.strings. The icon and sound are not
 * used. Returns 0.
 */
CF_EXPORT SInt32 CFUserNotificationDisplayNotice(CFTimeInterval timeout, CFOptionFlags flags,
                                                 CFURLRef iconURL, CFURLRef soundURL,
                                                 CFURLRef localizationURL, CFStringRef alertHeader,
                                                 CFStringRef alertMessage,
                                                 CFStringRef defaultButtonTitle);

CF_EXTERN_C_END

#endif /* COREFOUNDATION_CFUSERNOTIFICATION_H */

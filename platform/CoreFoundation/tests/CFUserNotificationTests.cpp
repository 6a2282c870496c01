#include "BundleTestSupport.h"

#include <CoreFoundation/CFUserNotification.h>

#include <vector>

using cftest::utf8;

namespace {

struct Notice {
    CFOptionFlags level;
    std::string header, message, button;
};

void record_notice(CFOptionFlags level, CFStringRef header, CFStringRef message, CFStringRef button,
                   void* context) {
    static_cast<std::vector<Notice>*>(context)->push_back(
        {level, utf8(header), utf8(message), button ? utf8(button) : "(none)"});
}

TEST(CFUserNotification, NoticesReachTheHostLocalisedByTheirBundle) {
    std::vector<Notice> notices;
    PlatformSetNoticeHandler(record_notice, &notices);
    EXPECT_EQ(CFUserNotificationDisplayNotice(0, kCFUserNotificationCautionAlertLevel, nullptr,
                                              nullptr, nullptr, CFSTR("Head"), CFSTR("Body"),
                                              nullptr),
              0);
    cftest::ScopedEnv lang("LANG", "de_DE.UTF-8");
    cf::Holder<CFURLRef> bundle(cftest::url_of(cftest::fixture("Good.plugin")));
    CFUserNotificationDisplayNotice(0, kCFUserNotificationStopAlertLevel, nullptr, nullptr,
                                    bundle.get(), CFSTR("Accounting"), CFSTR("Unknown key"),
                                    CFSTR("Print"));
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].level, static_cast<CFOptionFlags>(kCFUserNotificationCautionAlertLevel));
    EXPECT_EQ(notices[0].header + "|" + notices[0].message + "|" + notices[0].button,
              "Head|Body|(none)");
    EXPECT_EQ(notices[1].level, static_cast<CFOptionFlags>(kCFUserNotificationStopAlertLevel));
    EXPECT_EQ(notices[1].header + "|" + notices[1].message + "|" + notices[1].button,
              "Kostenstellen|Unknown key|Drucken");

    PlatformSetNoticeHandler(nullptr, nullptr);
    testing::internal::CaptureStderr();
    CFUserNotificationDisplayNotice(0, kCFUserNotificationNoteAlertLevel, nullptr, nullptr, nullptr,
                                    CFSTR("Head"), CFSTR("Body"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Notice (Note): Head: Body [OK]\n");
}

} // namespace

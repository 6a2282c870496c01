#include <CoreServices/CoreServices.h>
#include <CoreServices/PlatformHost.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

void record(short duration, void* context) {
    static_cast<std::vector<short>*>(context)->push_back(duration);
}

TEST(SysBeep, HostHandlerSeesEachBeepAndTheCountGrows) {
    std::vector<short> heard;
    PlatformSetBeepHandler(record, &heard);
    unsigned long before = PlatformGetBeepCount();
    SysBeep(10);
    SysBeep(30);
    EXPECT_EQ(heard, (std::vector<short>{10, 30}));
    EXPECT_EQ(PlatformGetBeepCount(), before + 2);
    PlatformSetBeepHandler(nullptr, nullptr);
}

TEST(SysBeep, DefaultHandlerIsSilentWhenStandardErrorIsNotATerminal) {
    PlatformSetBeepHandler(nullptr, nullptr);
    unsigned long before = PlatformGetBeepCount();
    testing::internal::CaptureStderr(); // a file, not a terminal
    SysBeep(10);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(PlatformGetBeepCount(), before + 1);
}

} // namespace

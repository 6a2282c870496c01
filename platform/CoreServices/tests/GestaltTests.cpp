#include <CoreServices/CoreServices.h>
#include <CoreServices/PlatformHost.h>

#include "TestSupport.h"

namespace {

struct Answer {
    SInt32 sysv, major, minor, bugfix;
};

Answer ask() {
    Answer a{};
    EXPECT_EQ(Gestalt(gestaltSystemVersion, &a.sysv), noErr);
    EXPECT_EQ(Gestalt(gestaltSystemVersionMajor, &a.major), noErr);
    EXPECT_EQ(Gestalt(gestaltSystemVersionMinor, &a.minor), noErr);
    EXPECT_EQ(Gestalt(gestaltSystemVersionBugFix, &a.bugfix), noErr);
    return a;
}

TEST(Gestalt, SelectorsAreTheirFourCharacterCodes) {
    EXPECT_EQ(gestaltSystemVersion, 's' << 24 | 'y' << 16 | 's' << 8 | 'v');
    EXPECT_EQ(gestaltSystemVersionBugFix, 's' << 24 | 'y' << 16 | 's' << 8 | '3');
}

TEST(Gestalt, DefaultIsTenSixEight) {
    cstest::ScopedEnv env("CARBONRT_SYSTEM_VERSION", nullptr);
    Answer a = ask();
    EXPECT_EQ(a.sysv, 0x1068);
    EXPECT_EQ(a.major, 10);
    EXPECT_EQ(a.minor, 6);
    EXPECT_EQ(a.bugfix, 8);
}

TEST(Gestalt, EnvironmentVersionAndBcdCapping) {
    struct Case {
        const char* text;
        Answer expected;
    } cases[] = {
        {"10.4.11", {0x1049, 10, 4, 11}}, // bug fix past 9 reads as 9
        {"10.5", {0x1050, 10, 5, 0}},     {"10.3.9", {0x1039, 10, 3, 9}},
        {"10.10.5", {0x1095, 10, 10, 5}}, // minor past 9 reads as 10.9.x
        {"11.0", {0x1090, 11, 0, 0}},     {"12", {0x1090, 12, 0, 0}},
    };
    for (const Case& c : cases) {
        cstest::ScopedEnv env("CARBONRT_SYSTEM_VERSION", c.text);
        Answer a = ask();
        EXPECT_EQ(a.sysv, c.expected.sysv) << c.text;
        EXPECT_EQ(a.major, c.expected.major) << c.text;
        EXPECT_EQ(a.minor, c.expected.minor) << c.text;
        EXPECT_EQ(a.bugfix, c.expected.bugfix) << c.text;
    }
}

TEST(Gestalt, MalformedEnvironmentFallsBackToDefaultWithOneMessage) {
    for (const char* bad : {"ten", "10..4", "10.4.", "10.4.1.2", "0.9", "10.4x"}) {
        cstest::ScopedEnv env("CARBONRT_SYSTEM_VERSION", bad);
        testing::internal::CaptureStderr();
        EXPECT_EQ(ask().sysv, 0x1068) << bad;
        ask();
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(bad), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << "expected exactly one line: " << said;
    }
}

TEST(Gestalt, HostOverrideWinsOverEnvironmentUntilCleared) {
    cstest::ScopedEnv env("CARBONRT_SYSTEM_VERSION", "10.4.11");
    PlatformSetSystemVersion(10, 5, 2);
    EXPECT_EQ(ask().sysv, 0x1052);
    PlatformSetSystemVersion(0, 0, 0);
    EXPECT_EQ(ask().sysv, 0x1049);
}

TEST(Gestalt, UnknownSelectorAndNullResponse) {
    SInt32 response = 1234;
    EXPECT_EQ(Gestalt(0x71746D20 /* "qtm " */, &response), gestaltUndefSelectorErr);
    EXPECT_EQ(response, 1234);
    EXPECT_EQ(Gestalt(gestaltSystemVersion, nullptr), paramErr);
}

} // namespace

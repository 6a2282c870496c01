#include "EnvironmentHelpers.h"
#include "EnvironmentHelpersInternal.h"

#include <CoreServices/PlatformHost.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

CFBundleRef create_help_host() {
    const std::string path = HELP_HOST_BUNDLE;
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
        true);
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    return bundle;
}

TEST(LoadPrivateBundle, LoadsNestedCodeOrLeavesNothingBehind) {
    CFBundleRef host = create_help_host();
    ASSERT_NE(host, nullptr);
    CFBundleRef nested = reinterpret_cast<CFBundleRef>(0x1);
    ASSERT_TRUE(LoadPrivateBundle(host, CFSTR("Nested.bundle"), &nested));
    ASSERT_NE(nested, nullptr);
    EXPECT_TRUE(CFBundleIsExecutableLoaded(nested));
    auto answer = reinterpret_cast<int (*)(void)>(
        CFBundleGetFunctionPointerForName(nested, CFSTR("NestedPlugInAnswer")));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    CFBundleUnloadExecutable(nested);
    CFRelease(nested);

    for (CFStringRef name : {CFSTR("Missing.bundle"), CFSTR("NoCode.bundle")}) {
        nested = reinterpret_cast<CFBundleRef>(0x1);
        EXPECT_FALSE(LoadPrivateBundle(host, name, &nested));
        EXPECT_EQ(nested, nullptr);
    }
    nested = reinterpret_cast<CFBundleRef>(0x1);
    EXPECT_FALSE(LoadPrivateBundle(nullptr, CFSTR("Nested.bundle"), &nested));
    EXPECT_EQ(nested, nullptr);
    EXPECT_FALSE(LoadPrivateBundle(host, CFSTR("Nested.bundle"), nullptr));
    CFRelease(host);
}

// A Gestalt that answers the three version selectors from this table, or fails for each
// number set to -1.
SInt32 gFakeVersion[3];

OSErr fake_gestalt(OSType selector, SInt32* response) {
    const int index = selector == gestaltSystemVersionMajor    ? 0
                      : selector == gestaltSystemVersionMinor  ? 1
                      : selector == gestaltSystemVersionBugFix ? 2
                                                               : -1;
    if (index < 0 || gFakeVersion[index] < 0)
        return gestaltUndefSelectorErr;
    *response = gFakeVersion[index];
    return noErr;
}

// Whether a system of that version counts as newer than 10.3 and than 10.4.
std::pair<bool, bool> newer(SInt32 major, SInt32 minor, SInt32 bugfix) {
    gFakeVersion[0] = major;
    gFakeVersion[1] = minor;
    gFakeVersion[2] = bugfix;
    return {toolkit::system_newer_than(fake_gestalt, 3),
            toolkit::system_newer_than(fake_gestalt, 4)};
}

TEST(SystemVersion, ComparesMajorThenMinorStartingFromTheTestedVersion) {
    using Answer = std::pair<bool, bool>;
    EXPECT_EQ(newer(10, 5, 0), Answer(true, true));
    EXPECT_EQ(newer(10, 4, 11), Answer(true, false));
    EXPECT_EQ(newer(10, 3, 9), Answer(false, false));
    EXPECT_EQ(newer(11, 0, 0), Answer(true, true));
    EXPECT_EQ(newer(9, 22, 0), Answer(false, false));
    // A selector that fails keeps the tested version's number for it.
    EXPECT_EQ(newer(-1, 5, -1), Answer(true, true));
    EXPECT_EQ(newer(11, -1, -1), Answer(true, true));
    EXPECT_EQ(newer(-1, -1, -1), Answer(false, false));
}

TEST(SystemVersion, EachAnswerIsWorkedOutOnceAndKept) {
    PlatformSetSystemVersion(10, 4, 11);
    const bool on104 = RunningOn104OrLater();
    const bool on105 = RunningOn105OrLater();
    // Alone in its process (as CTest runs it), the first calls see 10.4.11.
    EXPECT_TRUE(on104);
    EXPECT_FALSE(on105);
    PlatformSetSystemVersion(10, 3, 0);
    EXPECT_EQ(RunningOn104OrLater(), on104);
    PlatformSetSystemVersion(10, 6, 8);
    EXPECT_EQ(RunningOn105OrLater(), on105);
    PlatformSetSystemVersion(0, 0, 0);
}

} // namespace

#include "InstallableOptions.h"
#include "ToolkitTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Features of the fixture printers. "HardDisk" has a conditional row followed by an
// unconditional one; "Finisher" is provided by either finisher model.
const InstalledFeatureMap kFeatures[] = {
    {CFSTR("Finisher"), CFSTR("TKFinisher"), CFSTR("Staple"), CFSTR("Staple Finisher"), 10},
    {CFSTR("Finisher"), CFSTR("TKFinisher"), CFSTR("SaddleStitch"), CFSTR("Booklet Finisher"), 20},
    {CFSTR("Tray3"), CFSTR("TKTray3"), CFSTR("True"), CFSTR("Tray 3"), 3},
    {CFSTR("HardDisk"), CFSTR("TKHardDisk"), CFSTR("True"), CFSTR("Hard Disk"), 1},
    {CFSTR("HardDisk"), nullptr, nullptr, nullptr, 2},
    {CFSTR("PunchUnit"), CFSTR("TKPunchUnit"), CFSTR("TwoHole"), CFSTR("Punch Unit"), 4},
    {nullptr, nullptr, nullptr, nullptr, 0},
};

std::string recorded(const char* keyword) {
    CFStringRef key = CFStringCreateWithCString(nullptr, keyword, kCFStringEncodingUTF8);
    CFStringRef choice = nullptr;
    bool found = getInstallableOptionValue(key, &choice);
    CFRelease(key);
    if (!found)
        return "<none>";
    char buffer[64];
    CFStringGetCString(choice, buffer, sizeof(buffer), kCFStringEncodingUTF8);
    return buffer;
}

// The options are process-wide: every test starts and ends unloaded.
class InstallableOptions : public testing::Test {
  protected:
    void SetUp() override { UnloadInstallableOptions(); }
    void TearDown() override { UnloadInstallableOptions(); }
};

TEST_F(InstallableOptions, RecordsTheDefaultChoiceKeywordOfEachOptionOfTheGroup) {
    tktest::OpenPPD ppd("InstallableOptions.ppd");
    ASSERT_NE(ppd.get(), nullptr);
    // What the caller marked before does not count: the defaults say what is installed.
    ppdMarkOption(ppd.get(), "TKFinisher", "None");
    EXPECT_TRUE(LoadInstallableOptions(ppd.get(), kFeatures));
    EXPECT_EQ(recorded("TKFinisher"), "SaddleStitch"); // the keyword, not "Booklet Finisher"
    EXPECT_EQ(recorded("TKTray3"), "True");
    EXPECT_EQ(recorded("TKHardDisk"), "False");
    EXPECT_EQ(recorded("TKPunchUnit"), "<none>"); // its default names no choice
    EXPECT_EQ(recorded("InputSlot"), "<none>");   // outside the group

    UnloadInstallableOptions();
    EXPECT_EQ(recorded("TKFinisher"), "<none>");
    EXPECT_EQ(recorded("TKTray3"), "<none>");
    UnloadInstallableOptions(); // a second unload is harmless
}

TEST_F(InstallableOptions, FirstRowWhoseConditionHoldsAnswers) {
    tktest::OpenPPD ppd("InstallableOptions.ppd");
    ASSERT_TRUE(LoadInstallableOptions(ppd.get(), kFeatures));
    SInt32 value = -7;
    EXPECT_TRUE(getInstalledFeature(CFSTR("Finisher")));
    EXPECT_TRUE(getInstallableOptionTicketValue(CFSTR("Finisher"), &value));
    EXPECT_EQ(value, 20);
    EXPECT_TRUE(getInstalledFeature(CFSTR("Tray3")));
    // The disk's conditional row fails (not installed), so the unconditional row answers.
    EXPECT_TRUE(getInstalledFeature(CFSTR("HardDisk")));
    EXPECT_TRUE(getInstallableOptionTicketValue(CFSTR("HardDisk"), &value));
    EXPECT_EQ(value, 2);

    value = -7;
    EXPECT_FALSE(getInstalledFeature(CFSTR("PunchUnit")));
    EXPECT_FALSE(getInstallableOptionTicketValue(CFSTR("PunchUnit"), &value));
    EXPECT_FALSE(getInstalledFeature(CFSTR("Fax")));
    EXPECT_FALSE(getInstalledFeature(nullptr));
    EXPECT_FALSE(getInstallableOptionTicketValue(nullptr, &value));
    EXPECT_FALSE(getInstallableOptionTicketValue(CFSTR("Tray3"), nullptr));
    EXPECT_EQ(value, -7);
}

TEST_F(InstallableOptions, LoadingTwiceKeepsTheFirstPrinter) {
    tktest::OpenPPD first("InstallableOptions.ppd");
    tktest::OpenPPD second("NoInstallableOptions.ppd");
    ASSERT_TRUE(LoadInstallableOptions(first.get(), kFeatures));
    EXPECT_FALSE(LoadInstallableOptions(second.get(), kFeatures));
    EXPECT_EQ(recorded("TKFinisher"), "SaddleStitch");
    EXPECT_TRUE(getInstalledFeature(CFSTR("Tray3")));
}

TEST_F(InstallableOptions, WithoutTheGroupOnlyUnconditionalRowsHold) {
    tktest::OpenPPD ppd("NoInstallableOptions.ppd");
    ASSERT_NE(ppd.get(), nullptr);
    EXPECT_FALSE(LoadInstallableOptions(ppd.get(), kFeatures));
    EXPECT_EQ(recorded("TKFinisher"), "<none>"); // a general option, not installed hardware
    EXPECT_FALSE(getInstalledFeature(CFSTR("Finisher")));
    EXPECT_FALSE(getInstalledFeature(CFSTR("Tray3")));
    EXPECT_TRUE(getInstalledFeature(CFSTR("HardDisk")));
    // That still counts as loaded: another PPD must wait for an unload.
    tktest::OpenPPD other("InstallableOptions.ppd");
    EXPECT_FALSE(LoadInstallableOptions(other.get(), kFeatures));
    UnloadInstallableOptions();
    EXPECT_TRUE(LoadInstallableOptions(other.get(), kFeatures));
}

TEST_F(InstallableOptions, NothingLoadedAnswersFalseForEveryFeature) {
    SInt32 value = -7;
    EXPECT_FALSE(getInstalledFeature(CFSTR("HardDisk"))); // even the unconditional row
    EXPECT_FALSE(getInstallableOptionTicketValue(CFSTR("HardDisk"), &value));
    EXPECT_EQ(value, -7);
    // A missing PPD loads the table with no options recorded.
    EXPECT_FALSE(LoadInstallableOptions(nullptr, kFeatures));
    EXPECT_TRUE(getInstalledFeature(CFSTR("HardDisk")));
    EXPECT_FALSE(getInstalledFeature(CFSTR("Tray3")));
}

} // namespace

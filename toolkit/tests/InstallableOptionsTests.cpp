#include "InstallableOptions.h"
#include "ToolkitTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Features of the fixture printers. "HardDisk" has a conditional row followed by an
// unconditional one; "Finisher" is provided by either finisher model; "Tray3"'s text is missing
// from the fixture strings; "Cassette"'s first row applies but has no text.
const InstalledFeatureMap kFeatures[] = {
    {CFSTR("Finisher"), CFSTR("TKFinisher"), CFSTR("Staple"), CFSTR("Staple Finisher"), 10},
    {CFSTR("Finisher"), CFSTR("TKFinisher"), CFSTR("SaddleStitch"), CFSTR("Booklet Finisher"), 20},
    {CFSTR("Tray3"), CFSTR("TKTray3"), CFSTR("True"), CFSTR("Tray 3"), 3},
    {CFSTR("HardDisk"), CFSTR("TKHardDisk"), CFSTR("True"), CFSTR("Hard Disk"), 1},
    {CFSTR("HardDisk"), nullptr, nullptr, nullptr, 2},
    {CFSTR("PunchUnit"), CFSTR("TKPunchUnit"), CFSTR("TwoHole"), CFSTR("Punch Unit"), 4},
    {CFSTR("Cassette"), CFSTR("TKTray3"), CFSTR("True"), nullptr, 5},
    {CFSTR("Cassette"), nullptr, nullptr, CFSTR("Staple Finisher"), 6},
    {nullptr, nullptr, nullptr, nullptr, 0},
};

std::string recorded(const char* keyword) {
    CFStringRef key = CFStringCreateWithCString(nullptr, keyword, kCFStringEncodingUTF8);
    CFStringRef choice = nullptr;
    bool found = getInstallableOptionValue(key, &choice);
    CFRelease(key);
    if (!found)
        return "<none>";
    return tktest::text(choice);
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
    EXPECT_FALSE(getInstalledFeature(nullptr));
    EXPECT_FALSE(getInstallableOptionTicketValue(CFSTR("Tray3"), nullptr));
    EXPECT_EQ(value, -7);
}

TEST_F(InstallableOptions, DisplayTextComesFromTheBundle) {
    CFBundleRef bundle = tktest::create_fixture_bundle();
    ASSERT_NE(bundle, nullptr);
    auto copied = [bundle](CFStringRef feature) {
        CFStringRef string = CopyLocalizedStringForInstalledFeatureFromPlugin(feature, bundle);
        std::string result = tktest::text(string);
        if (string != nullptr)
            CFRelease(string);
        return result;
    };
    EXPECT_EQ(copied(CFSTR("Finisher")), "<null>"); // nothing loaded

    tktest::OpenPPD ppd("InstallableOptions.ppd");
    ASSERT_TRUE(LoadInstallableOptions(ppd.get(), kFeatures));
    EXPECT_EQ(copied(CFSTR("Finisher")), "Booklet Finishing Unit");
    EXPECT_EQ(copied(CFSTR("Tray3")), "STRING NOT FOUND");
    EXPECT_EQ(copied(CFSTR("HardDisk")), "<null>"); // the unconditional row has no text
    EXPECT_EQ(copied(CFSTR("PunchUnit")), "<null>");
    // The first row answers for the value but, without a text, not for the name.
    SInt32 value = 0;
    EXPECT_TRUE(getInstallableOptionTicketValue(CFSTR("Cassette"), &value));
    EXPECT_EQ(value, 5);
    EXPECT_EQ(copied(CFSTR("Cassette")), "Stapling Unit");
    EXPECT_EQ(copied(nullptr), "<null>");
    CFRelease(bundle);
}

TEST_F(InstallableOptions, LoadsOncePerPrinterAndWithoutTheGroupOnlyUnconditionalRowsHold) {
    SInt32 value = -7;
    EXPECT_FALSE(getInstalledFeature(CFSTR("HardDisk"))); // nothing loaded: not even this
    EXPECT_FALSE(getInstallableOptionTicketValue(CFSTR("HardDisk"), &value));
    EXPECT_EQ(value, -7);

    tktest::OpenPPD without("NoInstallableOptions.ppd"), with("InstallableOptions.ppd");
    EXPECT_FALSE(LoadInstallableOptions(without.get(), kFeatures));
    EXPECT_EQ(recorded("TKFinisher"), "<none>"); // a general option, not installed hardware
    EXPECT_FALSE(getInstalledFeature(CFSTR("Finisher")));
    EXPECT_TRUE(getInstalledFeature(CFSTR("HardDisk")));
    // That counts as loaded: another printer must wait for an unload.
    EXPECT_FALSE(LoadInstallableOptions(with.get(), kFeatures));
    EXPECT_FALSE(getInstalledFeature(CFSTR("Tray3")));
    UnloadInstallableOptions();
    EXPECT_TRUE(LoadInstallableOptions(with.get(), kFeatures));
    EXPECT_TRUE(getInstalledFeature(CFSTR("Tray3")));

    // No PPD at all loads like a PPD without the group.
    UnloadInstallableOptions();
    EXPECT_FALSE(LoadInstallableOptions(nullptr, kFeatures));
    EXPECT_TRUE(getInstalledFeature(CFSTR("HardDisk")));
    EXPECT_FALSE(getInstalledFeature(CFSTR("Tray3")));
}

} // namespace

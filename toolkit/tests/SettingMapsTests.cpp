#include "InstallableOptions.h"
#include "SettingMaps.h"
#include "ToolkitTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text(CFStringRef string) {
    if (string == nullptr)
        return "<null>";
    char buffer[128];
    CFStringGetCString(string, buffer, sizeof(buffer), kCFStringEncodingUTF8);
    return buffer;
}

const InstalledFeatureMap kFeatures[] = {
    {CFSTR("Finisher"), CFSTR("TKFinisher"), CFSTR("SaddleStitch"), nullptr, 1},
    {CFSTR("Tray3"), CFSTR("TKTray3"), CFSTR("True"), nullptr, 3},
    {nullptr, nullptr, nullptr, nullptr, 0},
};

// Output bins of a printer family: the booklet bin exists only with the finisher; without it
// the same value reads as a plain bin. Tray 3 needs the tray.
const SettingMap kBinMap[] = {
    {CFSTR("Auto Select"), 1, 0, nullptr, false},
    {CFSTR("Booklet Tray"), 7, 0, CFSTR("Finisher"), true},
    {CFSTR("Face Down Tray"), 7, 0, CFSTR("Finisher"), false},
    {CFSTR("Tray 3"), 3, 0, CFSTR("Tray3"), true},
    {CFSTR("Printer Setting"), kPrinterDefaultValue, 0, nullptr, false},
    {nullptr, 0, 0, nullptr, false},
};

class SettingMapLookups : public testing::Test {
  protected:
    void SetUp() override { UnloadInstallableOptions(); }
    void TearDown() override { UnloadInstallableOptions(); }
};

TEST_F(SettingMapLookups, GatesFollowTheInstalledFeatures) {
    // Nothing loaded: every feature reads as absent, so "false" gates hold.
    EXPECT_EQ(text(LocalizedKeyForTicketValue(kBinMap, 7)), "Face Down Tray");
    EXPECT_EQ(TicketToUI(kBinMap, 7), 3);
    EXPECT_EQ(LocalizedKeyForTicketValue(kBinMap, 3), nullptr);
    EXPECT_EQ(TicketToUI(kBinMap, 3), -1);
    EXPECT_EQ(TicketToUI(kBinMap, kPrinterDefaultValue), 5);

    tktest::OpenPPD ppd("InstallableOptions.ppd");
    ASSERT_TRUE(LoadInstallableOptions(ppd.get(), kFeatures));
    EXPECT_EQ(text(LocalizedKeyForTicketValue(kBinMap, 7)), "Booklet Tray");
    EXPECT_EQ(TicketToUI(kBinMap, 7), 2);
    EXPECT_EQ(text(LocalizedKeyForTicketValue(kBinMap, 3)), "Tray 3");
    EXPECT_EQ(TicketToUI(kBinMap, 3), 4); // hidden rows still count in positions
}

TEST_F(SettingMapLookups, CountsAndPositionsIgnoreGates) {
    EXPECT_EQ(CountMaps(kBinMap), 5);
    EXPECT_EQ(UIToTicket(kBinMap, 1), 1);
    EXPECT_EQ(UIToTicket(kBinMap, 4), 3);
    EXPECT_EQ(UIToTicket(kBinMap, 5), kPrinterDefaultValue);
    EXPECT_EQ(CountMaps(AccountingMap), 2);
    EXPECT_EQ(CountMaps(AccountingTypeMap), 3);
    EXPECT_EQ(UIToTicket(AccountingMap, 2), 3);
    EXPECT_EQ(TicketToUI(AccountingMap, 3), 2);
    EXPECT_EQ(TicketToUI(AccountingTypeMap, 1), 1);

    const SettingMap empty[] = {{nullptr, 0, 0, nullptr, false}};
    EXPECT_EQ(CountMaps(empty), 0);
    EXPECT_EQ(TicketToUI(empty, 1), -1);
    EXPECT_EQ(LocalizedKeyForTicketValue(empty, 1), nullptr);
}

TEST_F(SettingMapLookups, UnknownValuesFindNothing) {
    EXPECT_EQ(LocalizedKeyForTicketValue(AccountingMap, 2), nullptr);
    EXPECT_EQ(TicketToUI(AccountingMap, 2), -1);
    EXPECT_EQ(TicketToUI(AccountingMap, 0), -1); // the terminator's value is no row's
    EXPECT_EQ(LocalizedKeyForTicketValue(AccountingMap, 0), nullptr);
    EXPECT_EQ(text(LocalizedKeyForTicketValue(AccountingTypeMap, 2)), "General Account");
}

TEST(PaperSizeLookups, FindTheFirstRowWithTheValue) {
    const PaperSizeSettingMap sizes[] = {
        {CFSTR("US Letter"), 1, CFSTR("Letter"), 612, 792},
        {CFSTR("A4"), 4, CFSTR("A4"), 595, 842},
        {CFSTR("A4 (Cover)"), 4, CFSTR("A4Cover"), 595, 842},
        {nullptr, 0, nullptr, 0, 0},
    };
    EXPECT_EQ(text(LocalizedKeyForPaperSizeTicketValue(sizes, 4)), "A4");
    EXPECT_EQ(text(LocalizedKeyForPaperSizeTicketValue(sizes, 1)), "US Letter");
    EXPECT_EQ(LocalizedKeyForPaperSizeTicketValue(sizes, 5), nullptr);
}

} // namespace

#include "SettingMaps.h"
#include "ToolkitTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using tktest::text;

int count_rows(const ChoiceMap* table) {
    int rows = 0;
    while (table[rows].choice != nullptr)
        ++rows;
    return rows;
}

struct TableExpectation {
    const char* name;
    const ChoiceMap* table;
    int rows;
    // Rows by position (0-based), to catch rows dropped, reordered or mistyped.
    std::vector<std::pair<int, std::pair<const char*, SInt32>>> samples;
};

TEST(ChoiceTables, HaveTheirRowsInTableOrder) {
    const std::vector<TableExpectation> expectations = {
        {"BannerPageMap", BannerPageMap, 2, {{1, {"False", 0}}}},
        {"RequestOffsetMap", RequestOffsetMap, 2, {{0, {"EndOfSet", 1}}}},
        {"JCLTrueGrayGraphicsMap", JCLTrueGrayGraphicsMap, 2, {{1, {"True", 2}}}},
        {"JCLTrueGrayImagesMap", JCLTrueGrayImagesMap, 2, {{0, {"False", 1}}}},
        {"LightenDarkenMap", LightenDarkenMap, 11, {{0, {"Lighten5", -5}}, {10, {"Darken5", 5}}}},
        {"MediaColorMap",
         MediaColorMap,
         22,
         {{0, {"PrinterDefaultColor", 23}}, {21, {"Custom7", 21}}}},
        {"MediaTypeMap",
         MediaTypeMap,
         43,
         {{11, {"Custom1", 15}}, {22, {"CardStock", 43}}, {42, {"Postcard", 46}}}},
        {"PPDDuplexMap", PPDDuplexMap, 3, {{2, {"DuplexTumble", 3}}}},
        {"JCLPrintQualityMap", JCLPrintQualityMap, 6, {{5, {"HighResolution", 6}}}},
        {"TKRGBColorSpaceMap", TKRGBColorSpaceMap, 4, {{3, {"AdobeRGB", 4}}}},
        {"TKCMYKColorSpaceMap", TKCMYKColorSpaceMap, 5, {{4, {"JapanColor", 5}}}},
        {"JCLColorCorrectionMap", JCLColorCorrectionMap, 6, {{4, {"None", 5}}}},
        {"PageSizeMap",
         PageSizeMap,
         55,
         {{6, {"8.5x13", 12}}, {53, {"3x5", 80}}, {54, {"Custom", 75}}}},
        {"OutputBinMap",
         OutputBinMap,
         17,
         {{12, {"PrinterDefault", kPrinterDefaultValue}}, {16, {"SBM", 14}}}},
        {"TKFoldMap", TKFoldMap, 6, {{5, {"BiFoldStaple", 53}}}},
        {"TKPunchMap", TKPunchMap, 5, {{3, {"3HolePunch", 4}}}},
        {"TKStapleMap", TKStapleMap, 4, {{3, {"MultipleStaples", 54}}}},
        {"DraftModeMap", DraftModeMap, 2, {{0, {"None", 2}}}},
        {"PPDOutputOptionMap", PPDOutputOptionMap, 2, {{1, {"False", 0}}}},
        {"PPDResolutionMap",
         PPDResolutionMap,
         7,
         {{0, {"200x100dpi", 6}}, {6, {"1800x1800dpi", 7}}}},
        {"ColorModeMap", ColorModeMap, 2, {{1, {"Color", 2}}}},
        {"InputSlotMap", InputSlotMap, 8, {{0, {"Auto", 0}}, {7, {"Bypass", 100}}}},
        {"FeedEdgeMap", FeedEdgeMap, 2, {{1, {"ShortEdge", 2}}}},
        {"SlipSheetMap", SlipSheetMap, 3, {{2, {"Printed", 3}}}},
    };
    for (const TableExpectation& table : expectations) {
        SCOPED_TRACE(table.name);
        ASSERT_EQ(count_rows(table.table), table.rows);
        EXPECT_EQ(table.table[table.rows].ticketValue, 0); // a clean terminator
        for (const auto& [index, row] : table.samples) {
            EXPECT_EQ(text(table.table[index].choice), row.first) << "row " << index;
            EXPECT_EQ(table.table[index].ticketValue, row.second) << "row " << index;
        }
    }
}

TEST(ChoiceTables, MainKeywordMapListsEveryOptionInOrderWithSharedTables) {
    int rows = 0;
    while (MainKeywordMap[rows].keyword != nullptr)
        ++rows;
    ASSERT_EQ(rows, 28);
    const std::vector<std::tuple<int, const char*, const ChoiceMap*>> expected = {
        {0, "JCLBanner", BannerPageMap},         {4, "TKImageQuality", LightenDarkenMap},
        {12, "PageSize", PageSizeMap},           {16, "StapleLocation", TKStapleMap},
        {17, "TKEconomode", DraftModeMap},       {21, "InputSlot", InputSlotMap},
        {23, "TKFrontCoverSheet", InputSlotMap}, {24, "TKBackCoverSheet", InputSlotMap},
        {25, "TKSlipSheetPrint", SlipSheetMap},  {26, "TKSlipSheetSource", InputSlotMap},
        {27, "TKSlipSheetType", MediaTypeMap},
    };
    for (const auto& [position, keyword, table] : expected) {
        EXPECT_EQ(text(MainKeywordMap[position].keyword), keyword);
        EXPECT_EQ(MainKeywordMap[position].choices, table) << keyword;
    }
}

TEST(PPDLookups, FirstMatchingRowAnswersAndUnknownsGiveMinusOneOrNull) {
    EXPECT_EQ(PPDTicketValueForChoice(CFSTR("InputSlot"), CFSTR("Auto")), 0);
    EXPECT_EQ(PPDTicketValueForChoice(CFSTR("TKFrontCoverSheet"), CFSTR("Tray2")), 2);
    EXPECT_EQ(PPDTicketValueForChoice(CFSTR("MediaType"), CFSTR("CardStock")), 12);
    EXPECT_EQ(PPDTicketValueForChoice(CFSTR("TKSlipSheetType"), CFSTR("CardStock")), 12);
    EXPECT_EQ(text(PPDChoiceForTicketValue(CFSTR("MediaType"), 43)), "CardStock");
    EXPECT_EQ(text(PPDChoiceForTicketValue(CFSTR("OutputBin"), 5)), "Upper");
    EXPECT_EQ(PPDTicketValueForChoice(CFSTR("OutputBin"), CFSTR("Bottom")), 5);
    EXPECT_EQ(text(PPDChoiceForTicketValue(CFSTR("PageSize"), 80)), "3x5");
    // 0 is an ordinary value in choice tables: it must not end the scan.
    EXPECT_EQ(text(PPDChoiceForTicketValue(CFSTR("JCLBanner"), 0)), "False");

    EXPECT_EQ(PPDTicketValueForChoice(nullptr, CFSTR("Auto")), -1);
    EXPECT_EQ(PPDTicketValueForChoice(CFSTR("InputSlot"), nullptr), -1);
    EXPECT_EQ(PPDTicketValueForChoice(CFSTR("NoSuchKeyword"), CFSTR("Auto")), -1);
    EXPECT_EQ(PPDTicketValueForChoice(CFSTR("InputSlot"), CFSTR("tray1")), -1); // exact case
    EXPECT_EQ(PPDTicketValueForChoice(CFSTR("TKImageQuality"), CFSTR("Lighten1")), -1);
    EXPECT_EQ(PPDChoiceForTicketValue(nullptr, 1), nullptr);
    EXPECT_EQ(PPDChoiceForTicketValue(CFSTR("NoSuchKeyword"), 1), nullptr);
    EXPECT_EQ(PPDChoiceForTicketValue(CFSTR("InputSlot"), 7), nullptr);
}

// Every choice of the fixture printer's known options has a value, and the value reads back as
// the same choice except where a table lists two choices for one value.
TEST(PPDLookups, ChoicesOfARealPPDReadBackThroughTheTables) {
    tktest::OpenPPD ppd("InstallableOptions.ppd");
    ASSERT_NE(ppd.get(), nullptr);
    int valued = 0;
    std::vector<std::string> aliases;
    for (int g = 0; g < ppd.get()->num_groups; ++g) {
        const ppd_group_t& group = ppd.get()->groups[g];
        for (int o = 0; o < group.num_options; ++o) {
            const ppd_option_t& option = group.options[o];
            CFStringRef keyword =
                CFStringCreateWithCString(nullptr, option.keyword, kCFStringEncodingUTF8);
            for (int c = 0; c < option.num_choices; ++c) {
                CFStringRef choice = CFStringCreateWithCString(nullptr, option.choices[c].choice,
                                                               kCFStringEncodingUTF8);
                SInt32 value = PPDTicketValueForChoice(keyword, choice);
                if (value != -1) {
                    ++valued;
                    CFStringRef back = PPDChoiceForTicketValue(keyword, value);
                    if (back == nullptr || !CFEqual(back, choice))
                        aliases.push_back(std::string(option.keyword) + " " +
                                          option.choices[c].choice + " -> " + text(back));
                }
                CFRelease(choice);
            }
            CFRelease(keyword);
        }
    }
    // PageSize 3, InputSlot 5, OutputBin 4, MediaType 5, TKImageQuality 3 (Lighten1 reads as
    // "not found"), TKFrontCoverSheet 2.
    EXPECT_EQ(valued, 22);
    EXPECT_EQ(aliases, (std::vector<std::string>{"OutputBin Center -> Upper",
                                                 "MediaType CardStockF -> CardStock"}));
}

} // namespace

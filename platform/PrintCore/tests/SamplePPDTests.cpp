// The sample PPD shipped for the embedded default printer, read the way the print dialog reads
// it: with libcups.
#include "CupsPPD.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

ppd_group_t* find_group(ppd_file_t* ppd, const char* name) {
    for (int i = 0; i < ppd->num_groups; ++i)
        if (std::strcmp(ppd->groups[i].name, name) == 0)
            return &ppd->groups[i];
    return nullptr;
}

class SamplePPD : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* source = std::getenv("ACCOUNTING_SOURCE_DIR");
        std::string path =
            std::string(source != nullptr ? source : ".") + "/resources/printers/tovek-kv3300.ppd";
        ppd = ppdOpenFile(path.c_str());
        int line = 0;
        ASSERT_NE(ppd, nullptr) << ppdErrorString(ppdLastError(&line)) << " on line " << line;
        ppdMarkDefaults(ppd);
    }
    void TearDown() override {
        if (ppd != nullptr)
            ppdClose(ppd);
    }
    ppd_file_t* ppd = nullptr;
};

TEST_F(SamplePPD, DefaultsAreConsistentAndEveryDefaultIsAChoice) {
    EXPECT_STREQ(ppd->manufacturer, "Tovek");
    EXPECT_EQ(ppdConflicts(ppd), 0);
    for (ppd_option_t* option = ppdFirstOption(ppd); option != nullptr;
         option = ppdNextOption(ppd)) {
        SCOPED_TRACE(option->keyword);
        EXPECT_NE(ppdFindChoice(option, option->defchoice), nullptr);
        // Marking a page size unmarks the page region: libcups keeps one of the two.
        if (std::strcmp(option->keyword, "PageRegion") != 0) {
            EXPECT_NE(ppdFindMarkedChoice(ppd, option->keyword), nullptr);
        }
    }
}

TEST_F(SamplePPD, InstallableOptionsRecordWhatIsFittedAndRuleOutTheRest) {
    ppd_group_t* installable = find_group(ppd, "InstallableOptions");
    ASSERT_NE(installable, nullptr);
    ASSERT_GE(installable->num_options, 3);
    EXPECT_STREQ(ppdFindMarkedChoice(ppd, "TKDuplexUnit")->choice, "True");
    EXPECT_STREQ(ppdFindMarkedChoice(ppd, "TKFinisher")->choice, "None");

    // Without the finisher there is no stapling; without the duplex unit no two-sided printing.
    EXPECT_GT(ppdMarkOption(ppd, "StapleLocation", "SinglePortrait"), 0);
    ppdMarkOption(ppd, "TKFinisher", "Staple");
    EXPECT_EQ(ppdConflicts(ppd), 0);
    ppdMarkOption(ppd, "TKDuplexUnit", "False");
    EXPECT_GT(ppdMarkOption(ppd, "Duplex", "DuplexTumble"), 0);
}

TEST_F(SamplePPD, EveryPageSizeHasAPaperDimensionAndAnImageableAreaInsideIt) {
    ASSERT_GT(ppd->num_sizes, 0);
    for (int i = 0; i < ppd->num_sizes; ++i) {
        const ppd_size_t& size = ppd->sizes[i];
        SCOPED_TRACE(size.name);
        if (std::strcmp(size.name, "Custom") == 0)
            continue;
        EXPECT_GT(size.width, 0.0f);
        EXPECT_GT(size.length, 0.0f);
        EXPECT_TRUE(0.0f <= size.left && size.left < size.right && size.right <= size.width);
        EXPECT_TRUE(0.0f <= size.bottom && size.bottom < size.top && size.top <= size.length);
        ppd_option_t* region = ppdFindOption(ppd, "PageRegion");
        ASSERT_NE(region, nullptr);
        EXPECT_NE(ppdFindChoice(region, size.name), nullptr);
    }
    // Custom sizes run from 3 x 5 to 12 x 18 inches.
    EXPECT_TRUE(ppd->variable_sizes);
    EXPECT_FLOAT_EQ(ppd->custom_min[0], 216.0f);
    EXPECT_FLOAT_EQ(ppd->custom_min[1], 360.0f);
    EXPECT_FLOAT_EQ(ppd->custom_max[0], 864.0f);
    EXPECT_FLOAT_EQ(ppd->custom_max[1], 1296.0f);
}

} // namespace

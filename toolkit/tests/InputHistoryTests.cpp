#include "PreferenceFiles.h"
#include "ToolkitTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tktest::text;

const SettingMap kModeMap[] = {
    {CFSTR("None"), 1, 'none', nullptr, false},
    {CFSTR("Accounting Enabled"), 3, 'acct', nullptr, false},
    {CFSTR("Auto Select"), 4, 0, nullptr, false},
    {CFSTR("Booklet Tray"), 5, 0, nullptr, false},
    {CFSTR("Face Down Tray"), 6, 0, nullptr, false},
    {nullptr, 0, 0, nullptr, false},
};

// A panel's field with a history popup beside it, and the user's scratch Preferences folder.
class InputHistory : public testing::Test {
  protected:
    void SetUp() override {
        bundle = tktest::create_fixture_bundle();
        const Rect bounds{100, 100, 300, 500}, r{10, 10, 30, 250};
        ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window), noErr);
        ASSERT_EQ(CreatePopupButtonControl(window, &r, nullptr, 200, false, 0, 0, 0, &popup),
                  noErr);
        GetControlData(popup, 0, kControlPopupButtonMenuRefTag, sizeof(menu), &menu, nullptr);
    }
    void TearDown() override {
        DisposeWindow(window);
        CFRelease(bundle);
    }

    std::vector<std::string> titles() const {
        std::vector<std::string> out;
        for (MenuItemIndex i = 1; i <= CountMenuItems(menu); ++i) {
            CFStringRef title = nullptr;
            CopyMenuItemTextAsCFString(menu, i, &title);
            out.push_back(text(title));
            if (title != nullptr)
                CFRelease(title);
        }
        return out;
    }

    // What a panel does after a print: remember each typed value.
    void remember(CFStringRef key, std::initializer_list<const char*> typed) {
        for (const char* value : typed) {
            CFStringRef entry = CFStringCreateWithCString(nullptr, value, kCFStringEncodingUTF8);
            EXPECT_TRUE(AddInputHistoryEntry(key, entry));
            CFRelease(entry);
        }
    }

    UInt16 fill(CFStringRef key, SInt32 insertAfter) {
        return PopulatePopupButtonFromMapAndHistory(bundle, popup, kModeMap, kJobContextJob, key,
                                                    insertAfter, 'hist', 'map ');
    }

    tktest::ScratchFolders folders;
    CFBundleRef bundle = nullptr;
    WindowRef window = nullptr;
    ControlRef popup = nullptr;
    MenuRef menu = nullptr;
};

TEST_F(InputHistory, FreshMachineShowsTheMapOnlyAndReplacesWhatThePopupHeld) {
    AppendMenuItemTextWithCFString(menu, CFSTR("stale"), 0, 0, nullptr);
    EXPECT_EQ(fill(CFSTR("AccountID"), 5), 5);
    EXPECT_EQ(titles(), (std::vector<std::string>{"No Accounting", "Accounting On", "Automatically",
                                                  "Booklet Output Tray", "Face-Down Output Tray"}));
    EXPECT_EQ(GetControl32BitMaximum(popup), 5);
    MenuCommand command = 0;
    GetMenuItemCommandID(menu, 1, &command);
    EXPECT_EQ(command, 'map ');
}

TEST_F(InputHistory, EntriesFollowTheMapNewestFirstWithoutDuplicates) {
    remember(CFSTR("AccountID"), {"A-1", "B-2", "C-3", "A-1"});
    remember(CFSTR("UserID"), {"someone"});
    EXPECT_EQ(fill(CFSTR("AccountID"), 5), 8);
    EXPECT_EQ(GetControl32BitMaximum(popup), 8);
    const auto all = titles();
    EXPECT_EQ(std::vector<std::string>(all.begin() + 5, all.end()),
              (std::vector<std::string>{"A-1", "C-3", "B-2"}));
    MenuCommand command = 0;
    GetMenuItemCommandID(menu, 6, &command);
    EXPECT_EQ(command, 'hist');

    // With 0 the block comes before the map's items; no key means the map alone.
    EXPECT_EQ(fill(CFSTR("AccountID"), 0), 8);
    EXPECT_EQ(titles().front(), "A-1");
    EXPECT_EQ(titles()[3], "No Accounting");
    EXPECT_EQ(fill(nullptr, 5), 5);
    EXPECT_EQ(fill(CFSTR("Unknown"), 5), 5);
}

TEST_F(InputHistory, EachKeyKeepsOnlyItsNewestEntriesAndTheOtherKeys) {
    remember(CFSTR("UserID"), {"kept"});
    for (int i = 0; i < kInputHistoryMaxEntries + 5; ++i) {
        CFStringRef entry = CFStringCreateWithFormat(nullptr, nullptr, CFSTR("code %d"), i);
        ASSERT_TRUE(AddInputHistoryEntry(CFSTR("AccountID"), entry));
        CFRelease(entry);
    }
    CFPropertyListRef root = CopyUserPreferences(kInputHistoryFileName);
    auto account = (CFArrayRef)CFDictionaryGetValue((CFDictionaryRef)root, CFSTR("AccountID"));
    ASSERT_EQ(CFArrayGetCount(account), kInputHistoryMaxEntries);
    EXPECT_EQ(text((CFStringRef)CFArrayGetValueAtIndex(account, 0)), "code 24");
    EXPECT_EQ(text((CFStringRef)CFArrayGetValueAtIndex(account, kInputHistoryMaxEntries - 1)),
              "code 5");
    EXPECT_TRUE(CFDictionaryContainsKey((CFDictionaryRef)root, CFSTR("UserID")));
    CFRelease(root);
    EXPECT_FALSE(AddInputHistoryEntry(CFSTR("AccountID"), CFSTR("")));
}

TEST_F(InputHistory, ADamagedOrHandEditedFileCostsNothingItHeld) {
    const auto file = folders.prefs / "com.tovek.print.inputhistory.plist";
    const std::string damaged = "<plist version=\"1.0\"><dict><key>UserID</key><array><string>";
    tktest::write_file(file, damaged);
    testing::internal::CaptureStderr();
    EXPECT_EQ(fill(CFSTR("UserID"), 5), 5);
    remember(CFSTR("UserID"), {"new"});
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(tktest::read_file(file.string() + ".damaged"), damaged);
    EXPECT_EQ(fill(CFSTR("UserID"), 5), 6);

    // Values that are not strings are no menu items; the strings around them still are.
    tktest::write_file(file, "<plist version=\"1.0\"><dict><key>UserID</key><array>"
                             "<string>x</string><integer>4</integer><string>y</string>"
                             "</array><key>Other</key><string>no array</string></dict></plist>");
    EXPECT_EQ(fill(CFSTR("UserID"), 5), 7);
    EXPECT_EQ(titles()[6], "y");
    EXPECT_EQ(fill(CFSTR("Other"), 5), 5);
}

} // namespace

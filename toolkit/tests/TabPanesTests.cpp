// Tab panes as a person sees them: clicking a tab shows its pane and hides the others.
#include "TabPanes.h"

#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

namespace {

constexpr OSType kSignature = 0x74616273; // 'tabs'

struct TabPanes : ::testing::Test {
    void SetUp() override {
        const Rect bounds{100, 100, 400, 500};
        ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
        const ControlTabEntry entries[] = {{nullptr, CFSTR("One"), true},
                                           {nullptr, CFSTR("Two"), true},
                                           {nullptr, CFSTR("Three"), true}};
        const Rect r{10, 10, 290, 390};
        ASSERT_EQ(noErr, CreateTabsControl(window, &r, kControlTabSizeLarge,
                                           kControlTabDirectionNorth, 3, entries, &tabs));
        const ControlID tabs_id{kSignature, 1};
        SetControlID(tabs, &tabs_id);
        for (SInt32 i = 0; i < 3; ++i) {
            const Rect inner{40, 20, 280, 380};
            ASSERT_EQ(noErr,
                      CreateUserPaneControl(window, &inner, kControlSupportsEmbedding, &panes[i]));
            EmbedControl(panes[i], tabs);
            const ControlID id{kSignature, 11 + i};
            SetControlID(panes[i], &id);
        }
        ShowWindow(window);
    }
    void TearDown() override { DisposeWindow(window); }

    // Which panes show, as "v" or "-" per pane.
    std::string shown() const {
        std::string s;
        for (ControlRef pane : panes)
            s += IsControlVisible(pane) ? "v" : "-";
        return s;
    }

    WindowRef window = nullptr;
    ControlRef tabs = nullptr;
    ControlRef panes[3] = {};
};

OSStatus on_tab_hit(EventHandlerCallRef, EventRef, void* data) {
    auto* test = static_cast<TabPanes*>(data);
    UpdateTabControl(test->tabs, 3, test->panes);
    return noErr;
}

TEST_F(TabPanes, ClickingATabShowsItsPaneOnly) {
    const EventTypeSpec hit{kEventClassControl, kEventControlHit};
    InstallControlEventHandler(tabs, on_tab_hit, 1, &hit, this, nullptr);
    UpdateTabControl(tabs, 3, panes);
    EXPECT_EQ("v--", shown());
    ASSERT_EQ(noErr, PlatformChoosePopupItem(tabs, 2));
    EXPECT_EQ("-v-", shown());
    EXPECT_TRUE(IsControlEnabled(panes[1]) && IsControlActive(panes[1]));
    EXPECT_FALSE(IsControlEnabled(panes[0]) || IsControlActive(panes[0]));
    ASSERT_EQ(noErr, PlatformChoosePopupItem(tabs, 3));
    EXPECT_EQ("--v", shown());
    EXPECT_TRUE(IsControlEnabled(panes[2]) && IsControlActive(panes[2]));
}

TEST_F(TabPanes, SelectingByIDShowsTheChosenPaneAndSkipsMissingOnes) {
    const SInt16 ids[] = {4, 11, 12, 99, 13}; // 99 is no control of the window
    selectItemOfTabControl(tabs, 2, ids);
    EXPECT_EQ("-v-", shown());
    EXPECT_FALSE(IsControlEnabled(panes[0]));
    EXPECT_FALSE(IsControlEnabled(panes[2]));
    selectItemOfTabControl(tabs, 4, ids);
    EXPECT_EQ("--v", shown());
    EXPECT_TRUE(IsControlEnabled(panes[2]));
    selectItemOfTabControl(tabs, 3, ids); // the missing pane's tab: every found pane hides
    EXPECT_EQ("---", shown());
}

} // namespace

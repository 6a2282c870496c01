// Menus: items added, inserted and removed, their text, reference
// constants (item 0 being the menu's own), command IDs, attributes and
// enabling, and what out-of-range item numbers give.
#include <HIToolbox/HIToolbox.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr MenuCommand kOpen = 0x6F70656E; // 'open'
constexpr MenuCommand kSave = 0x73617665; // 'save'

std::string text_of(MenuRef menu, MenuItemIndex item) {
    CFStringRef text = nullptr;
    if (CopyMenuItemTextAsCFString(menu, item, &text) != noErr)
        return "<none>";
    char buffer[256] = {};
    CFStringGetCString(text, buffer, sizeof(buffer), kCFStringEncodingUTF8);
    CFRelease(text);
    return buffer;
}

std::vector<std::string> texts(MenuRef menu) {
    std::vector<std::string> all;
    for (MenuItemIndex i = 1; i <= CountMenuItems(menu); ++i)
        all.push_back(text_of(menu, i));
    return all;
}

struct Menus : ::testing::Test {
    void SetUp() override { ASSERT_EQ(noErr, CreateNewMenu(128, 0, &menu)); }
    void TearDown() override { ReleaseMenu(menu); }
    MenuItemIndex append(const char* text, MenuCommand command = 0,
                         MenuItemAttributes attributes = 0) {
        CFStringRef string = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
        MenuItemIndex index = 0;
        EXPECT_EQ(noErr, AppendMenuItemTextWithCFString(menu, string, attributes, command, &index));
        CFRelease(string);
        return index;
    }
    MenuRef menu = nullptr;
};

TEST_F(Menus, AppendInsertAndDeleteKeepTheOrder) {
    EXPECT_EQ(1, append("One"));
    EXPECT_EQ(2, append("Three"));
    EXPECT_EQ(noErr, InsertMenuItemTextWithCFString(menu, CFSTR("Two"), 1, 0, 0));
    EXPECT_EQ(noErr, InsertMenuItemTextWithCFString(menu, CFSTR("Zero"), 0, 0, 0));
    EXPECT_EQ(noErr, InsertMenuItemTextWithCFString(menu, CFSTR("Four"), 99, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"Zero", "One", "Two", "Three", "Four"}), texts(menu));

    DeleteMenuItem(menu, 1);
    DeleteMenuItem(menu, 0);  // ignored
    DeleteMenuItem(menu, 17); // ignored
    EXPECT_EQ((std::vector<std::string>{"One", "Two", "Three", "Four"}), texts(menu));

    // A run that goes past the end stops there; one that starts outside fails.
    EXPECT_EQ(noErr, DeleteMenuItems(menu, 3, 10));
    EXPECT_EQ((std::vector<std::string>{"One", "Two"}), texts(menu));
    EXPECT_EQ(menuItemNotFoundErr, DeleteMenuItems(menu, 3, 1));
    EXPECT_EQ(noErr, DeleteMenuItems(menu, 1, CountMenuItems(menu)));
    EXPECT_EQ(0, CountMenuItems(menu));
}

TEST_F(Menus, ItemTextIsCopiedAndMetacharactersStayLiteral) {
    CFMutableStringRef text = CFStringCreateMutable(nullptr, 0);
    CFStringAppend(text, CFSTR("(-Item;/X"));
    EXPECT_EQ(noErr, AppendMenuItemTextWithCFString(menu, text, 0, 0, nullptr));
    CFStringAppend(text, CFSTR(" changed later"));
    CFRelease(text);
    EXPECT_EQ("(-Item;/X", text_of(menu, 1));

    EXPECT_EQ(noErr, SetMenuItemTextWithCFString(menu, 1, CFSTR("Renamed")));
    EXPECT_EQ("Renamed", text_of(menu, 1));
    EXPECT_EQ(menuItemNotFoundErr, SetMenuItemTextWithCFString(menu, 2, CFSTR("x")));
    EXPECT_EQ(menuItemNotFoundErr, SetMenuItemTextWithCFString(menu, 0, CFSTR("x")));
    EXPECT_EQ("<none>", text_of(menu, 0));
    EXPECT_EQ(paramErr, AppendMenuItemTextWithCFString(menu, nullptr, 0, 0, nullptr));
    EXPECT_EQ(1, CountMenuItems(menu));

    // The title is apart from the items.
    EXPECT_EQ(noErr, SetMenuTitleWithCFString(menu, CFSTR("Title")));
    CFStringRef title = nullptr;
    ASSERT_EQ(noErr, CopyMenuTitleAsCFString(menu, &title));
    EXPECT_EQ(kCFCompareEqualTo, CFStringCompare(title, CFSTR("Title"), 0));
    CFRelease(title);
    EXPECT_EQ("Renamed", text_of(menu, 1));
}

TEST_F(Menus, RefConsArePointerSizedAndItemZeroIsTheMenu) {
    append("A");
    append("B");
    const URefCon big = static_cast<URefCon>(0x80000000u);
    const URefCon table = reinterpret_cast<URefCon>(&big); // an address, as fillers store
    EXPECT_EQ(noErr, SetMenuItemRefCon(menu, 1, big));
    EXPECT_EQ(noErr, SetMenuItemRefCon(menu, 2, 3));
    EXPECT_EQ(noErr, SetMenuItemRefCon(menu, 0, table));
    URefCon value = 0;
    EXPECT_EQ(noErr, GetMenuItemRefCon(menu, 1, &value));
    EXPECT_EQ(big, value);
    EXPECT_EQ(noErr, GetMenuItemRefCon(menu, 2, &value));
    EXPECT_EQ(3u, value);
    EXPECT_EQ(noErr, GetMenuItemRefCon(menu, 0, &value));
    EXPECT_EQ(table, value);
    EXPECT_EQ(menuItemNotFoundErr, GetMenuItemRefCon(menu, 3, &value));
    EXPECT_EQ(menuItemNotFoundErr, SetMenuItemRefCon(menu, 3, 1));

    // Refcons travel with their items when others are inserted before them.
    EXPECT_EQ(noErr, InsertMenuItemTextWithCFString(menu, CFSTR("First"), 0, 0, 0));
    EXPECT_EQ(noErr, GetMenuItemRefCon(menu, 3, &value));
    EXPECT_EQ(3u, value);
}

TEST_F(Menus, CommandIDsAndTheirLookup) {
    append("Open", kOpen);
    append("Other");
    append("Again", kOpen);
    MenuCommand command = 0;
    EXPECT_EQ(noErr, GetMenuItemCommandID(menu, 1, &command));
    EXPECT_EQ(kOpen, command);
    EXPECT_EQ(noErr, SetMenuItemCommandID(menu, 2, kSave));
    EXPECT_EQ(noErr, GetMenuItemCommandID(menu, 2, &command));
    EXPECT_EQ(kSave, command);
    EXPECT_EQ(menuItemNotFoundErr, GetMenuItemCommandID(menu, 4, &command));

    MenuRef found = nullptr;
    MenuItemIndex index = 0;
    EXPECT_EQ(noErr, GetIndMenuItemWithCommandID(menu, kOpen, 2, &found, &index));
    EXPECT_EQ(menu, found);
    EXPECT_EQ(3, index);
    EXPECT_EQ(menuItemNotFoundErr, GetIndMenuItemWithCommandID(menu, kOpen, 3, &found, &index));
}

TEST_F(Menus, EnablingItemsAndTheWholeMenu) {
    append("On");
    append("Off", 0, kMenuItemAttrDisabled);
    EXPECT_TRUE(IsMenuItemEnabled(menu, 1));
    EXPECT_FALSE(IsMenuItemEnabled(menu, 2));
    EnableMenuItem(menu, 2);
    DisableMenuItem(menu, 1);
    EXPECT_FALSE(IsMenuItemEnabled(menu, 1));
    EXPECT_TRUE(IsMenuItemEnabled(menu, 2));
    MenuItemAttributes attributes = 0;
    EXPECT_EQ(noErr, GetMenuItemAttributes(menu, 1, &attributes));
    EXPECT_NE(0u, attributes & kMenuItemAttrDisabled);

    // A disabled menu disables every item without forgetting their own states.
    DisableMenuItem(menu, 0);
    EXPECT_FALSE(IsMenuItemEnabled(menu, 0));
    EXPECT_FALSE(IsMenuItemEnabled(menu, 2));
    EnableMenuItem(menu, 0);
    EXPECT_TRUE(IsMenuItemEnabled(menu, 2));
    EXPECT_FALSE(IsMenuItemEnabled(menu, 1));
    EXPECT_FALSE(IsMenuItemEnabled(menu, 3)); // no such item
}

TEST(MenuObjects, RetainCountsAndIdentity) {
    MenuRef menu = nullptr;
    ASSERT_EQ(noErr, CreateNewMenu(7, 0, &menu));
    EXPECT_EQ(7, GetMenuID(menu));
    SetMenuID(menu, 9);
    EXPECT_EQ(9, GetMenuID(menu));
    EXPECT_EQ(1u, GetMenuRetainCount(menu));
    EXPECT_EQ(noErr, RetainMenu(menu));
    EXPECT_EQ(2u, GetMenuRetainCount(menu));
    DisposeMenu(menu); // a release, like ReleaseMenu
    EXPECT_EQ(1u, GetMenuRetainCount(menu));
    EXPECT_NE(nullptr, GetMenuEventTarget(menu));
    ReleaseMenu(menu);
    EXPECT_EQ(paramErr, CreateNewMenu(1, 0, nullptr));
}

} // namespace

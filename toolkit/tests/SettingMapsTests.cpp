#include "InstallableOptions.h"
#include "SettingMaps.h"
#include "ToolkitTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tktest::text;

const InstalledFeatureMap kFeatures[] = {
    {CFSTR("Finisher"), CFSTR("TKFinisher"), CFSTR("SaddleStitch"), nullptr, 1},
    {CFSTR("Tray3"), CFSTR("TKTray3"), CFSTR("True"), nullptr, 3},
    {nullptr, nullptr, nullptr, nullptr, 0},
};

// The booklet bin needs the finisher; without it, 7 is a plain bin. "Tray 3" has no title in
// the fixture strings.
const SettingMap kBinMap[] = {
    {CFSTR("Auto Select"), 1, 'auto', nullptr, false},
    {CFSTR("Booklet Tray"), 7, 'bklt', CFSTR("Finisher"), true},
    {CFSTR("Face Down Tray"), 7, 'face', CFSTR("Finisher"), false},
    {CFSTR("Tray 3"), 3, 0, CFSTR("Tray3"), true},
    {CFSTR("Default Bin"), kPrinterDefaultValue, 0, nullptr, false},
    {nullptr, 0, 0, nullptr, false},
};

const SettingMap kEmptyMap[] = {{nullptr, 0, 0, nullptr, false}};

// Title, ticket value (the reference constant) and command ID of a menu item.
struct Item {
    std::string title;
    SInt32 value;
    MenuCommand command;
    bool operator==(const Item&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Item& item) {
    return out << '{' << item.title << ", " << item.value << ", " << item.command << '}';
}

class SettingMaps : public testing::Test {
  protected:
    void SetUp() override {
        UnloadInstallableOptions(); // features are process-wide
        bundle = tktest::create_fixture_bundle();
        ASSERT_NE(bundle, nullptr);
        const Rect bounds{100, 100, 300, 500}, r{10, 10, 30, 250};
        ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window), noErr);
        ASSERT_EQ(CreatePopupButtonControl(window, &r, nullptr, 200, false, 0, 0, 0, &popup),
                  noErr);
        GetControlData(popup, 0, kControlPopupButtonMenuRefTag, sizeof(menu), &menu, nullptr);
    }
    void TearDown() override {
        UnloadInstallableOptions();
        if (window != nullptr)
            DisposeWindow(window);
        if (bundle != nullptr)
            CFRelease(bundle);
    }

    std::vector<Item> items(MenuRef m) const {
        std::vector<Item> out;
        for (MenuItemIndex i = 1; i <= CountMenuItems(m); ++i) {
            CFStringRef title = nullptr;
            URefCon refCon = 0;
            MenuCommand command = 0;
            CopyMenuItemTextAsCFString(m, i, &title);
            GetMenuItemRefCon(m, i, &refCon);
            GetMenuItemCommandID(m, i, &command);
            out.push_back({text(title), static_cast<SInt32>(refCon), command});
            if (title != nullptr)
                CFRelease(title);
        }
        return out;
    }

    URefCon menu_refcon(MenuRef m) const {
        URefCon refCon = 0;
        GetMenuItemRefCon(m, 0, &refCon);
        return refCon;
    }

    CFBundleRef bundle = nullptr;
    WindowRef window = nullptr;
    ControlRef popup = nullptr;
    MenuRef menu = nullptr;
};

TEST_F(SettingMaps, AccountingPopupIsReadAndSetByTicketValue) {
    EXPECT_EQ(PopulatePopupButtonFromMap(bundle, popup, AccountingMap, 0, 0), 2);
    EXPECT_EQ(items(menu), (std::vector<Item>{{"No Accounting", 1, 0}, {"Accounting On", 3, 0}}));
    EXPECT_EQ(GetControl32BitMaximum(popup), 2);
    EXPECT_EQ(menu_refcon(menu), reinterpret_cast<URefCon>(AccountingMap));

    EXPECT_TRUE(SetPopupButtonToTicketValue(popup, 3));
    EXPECT_EQ(GetControl32BitValue(popup), 2);
    EXPECT_EQ(GetPopupButtonTicketValue(popup), 3);
    EXPECT_FALSE(SetPopupButtonToTicketValue(popup, 2)); // the panel never offers 2
    EXPECT_EQ(GetControl32BitValue(popup), 2);
    EXPECT_FALSE(SetPopupButtonToTicketValue(nullptr, 1));

    // Refilling replaces the items, keeps the selection; an empty table empties the popup.
    EXPECT_EQ(PopulatePopupButtonFromMap(bundle, popup, AccountingTypeMap, 0, 0), 3);
    EXPECT_EQ(CountMenuItems(menu), 3);
    EXPECT_EQ(GetPopupButtonTicketValue(popup), 2);
    EXPECT_EQ(PopulatePopupButtonFromMap(bundle, popup, kEmptyMap, 0, 0), 0);
    EXPECT_EQ(CountMenuItems(menu), 0);
    EXPECT_EQ(GetControl32BitMaximum(popup), 0);
    EXPECT_EQ(menu_refcon(menu), reinterpret_cast<URefCon>(kEmptyMap));
}

// A popup whose value is 0 (one whose minimum allows no selection) reads item 0's constant:
// the filled menu's own, its table's address cut to 32 bits.
TEST_F(SettingMaps, PopupValueZeroReadsTheMenusOwnConstant) {
    PopulatePopupButtonFromMap(bundle, popup, AccountingMap, 0, 0);
    SetControl32BitMinimum(popup, 0);
    SetControl32BitValue(popup, 0);
    ASSERT_EQ(GetControl32BitValue(popup), 0);
    EXPECT_EQ(GetPopupButtonTicketValue(popup),
              static_cast<SInt32>(static_cast<UInt32>(reinterpret_cast<URefCon>(AccountingMap))));
}

TEST_F(SettingMaps, MarkerRowIsTitledByWhoDecides) {
    PopulatePopupButtonFromMap(bundle, popup, kBinMap, 0, 0);
    EXPECT_EQ(items(menu).back(), (Item{"Printer's Default", kPrinterDefaultValue, 0}));
    PopulatePopupButtonFromMap(bundle, popup, kBinMap, 7, 0); // any non-zero context
    EXPECT_EQ(items(menu).back(), (Item{"Job's Setting", kPrinterDefaultValue, 0}));
    EXPECT_TRUE(SetPopupButtonToTicketValue(popup, kPrinterDefaultValue));
    EXPECT_EQ(GetControl32BitValue(popup), 3);
    EXPECT_EQ(GetPopupButtonTicketValue(popup), kPrinterDefaultValue);
}

TEST_F(SettingMaps, GatedRowsAreHiddenButCounted) {
    // Nothing installed: the booklet bin and tray 3 are left out, the plain bin shown.
    EXPECT_EQ(PopulatePopupButtonFromMap(bundle, popup, kBinMap, 0, 0), 5);
    EXPECT_EQ(GetControl32BitMaximum(popup), 5);
    EXPECT_EQ(items(menu), (std::vector<Item>{{"Automatically", 1, 'auto'},
                                              {"Face-Down Output Tray", 7, 'face'},
                                              {"Printer's Default", kPrinterDefaultValue, 0}}));
    EXPECT_EQ(text(LocalizedKeyForTicketValue(kBinMap, 7)), "Face Down Tray");
    EXPECT_EQ(TicketToUI(kBinMap, 7), 3);
    EXPECT_EQ(LocalizedKeyForTicketValue(kBinMap, 3), nullptr);
    EXPECT_EQ(TicketToUI(kBinMap, 3), -1);

    tktest::OpenPPD ppd("InstallableOptions.ppd");
    ASSERT_TRUE(LoadInstallableOptions(ppd.get(), kFeatures));
    EXPECT_EQ(PopulatePopupButtonFromMap(bundle, popup, kBinMap, 0, 0), 5);
    EXPECT_EQ(items(menu), (std::vector<Item>{{"Automatically", 1, 'auto'},
                                              {"Booklet Output Tray", 7, 'bklt'},
                                              {"STRING NOT FOUND", 3, 0},
                                              {"Printer's Default", kPrinterDefaultValue, 0}}));
    EXPECT_EQ(text(LocalizedKeyForTicketValue(kBinMap, 7)), "Booklet Tray");
    EXPECT_EQ(TicketToUI(kBinMap, 7), 2);
    EXPECT_EQ(TicketToUI(kBinMap, 3), 4); // table positions count hidden rows
    EXPECT_TRUE(SetPopupButtonToTicketValue(popup, 3));
    EXPECT_EQ(GetControl32BitValue(popup), 3); // menu positions do not
}

TEST_F(SettingMaps, CommandIDArgumentOverridesTheRowsAndMenusAreAppendedTo) {
    MenuRef own = nullptr;
    ASSERT_EQ(CreateNewMenu(300, 0, &own), noErr);
    EXPECT_EQ(PopulateMenuFromMap(bundle, own, AccountingMap, 0, 0), 2);
    EXPECT_EQ(PopulateMenuFromMap(bundle, own, kBinMap, 0, 'bins'), 5);
    std::vector<Item> all = items(own);
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[1].command, 0u);
    for (size_t i = 2; i < all.size(); ++i)
        EXPECT_EQ(all[i].command, static_cast<MenuCommand>('bins')) << all[i];
    EXPECT_EQ(menu_refcon(own), reinterpret_cast<URefCon>(kBinMap)); // the last to fill it
    ReleaseMenu(own);
}

TEST_F(SettingMaps, CountsPositionsAndUnknownValues) {
    EXPECT_EQ(CountMaps(kBinMap), 5);
    EXPECT_EQ(CountMaps(kEmptyMap), 0);
    EXPECT_EQ(UIToTicket(kBinMap, 4), 3);
    EXPECT_EQ(UIToTicket(kBinMap, 5), kPrinterDefaultValue);
    EXPECT_EQ(TicketToUI(AccountingMap, 3), 2);
    EXPECT_EQ(text(LocalizedKeyForTicketValue(AccountingTypeMap, 2)), "General Account");
    EXPECT_EQ(TicketToUI(AccountingMap, 2), -1);
    EXPECT_EQ(TicketToUI(AccountingMap, 0), -1); // the terminator's value is no row's
    EXPECT_EQ(LocalizedKeyForTicketValue(AccountingMap, 2), nullptr);
    EXPECT_EQ(TicketToUI(kEmptyMap, 1), -1);

    const PaperSizeSettingMap sizes[] = {
        {CFSTR("US Letter"), 1, CFSTR("Letter"), 612, 792},
        {CFSTR("A4"), 4, CFSTR("A4"), 595, 842},
        {CFSTR("A4 (Cover)"), 4, CFSTR("A4Cover"), 595, 842},
        {nullptr, 0, nullptr, 0, 0},
    };
    EXPECT_EQ(text(LocalizedKeyForPaperSizeTicketValue(sizes, 4)), "A4");
    EXPECT_EQ(LocalizedKeyForPaperSizeTicketValue(sizes, 5), nullptr);
}

} // namespace

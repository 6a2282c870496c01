// The theme's look of each kind, by pixel samples: marks of check boxes and
// radio buttons, edit text frames, bullets, carets and focus rings, greyed
// disabled controls, popups, static text, group boxes and tabs.
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Ink {
    int dark = 0;    // pixels darker than mid grey
    int changed = 0; // pixels unlike the window's background
};

int channel(UInt32 argb, int shift) {
    return static_cast<int>((argb >> shift) & 0xFF);
}

int brightness(UInt32 argb) {
    return (channel(argb, 16) + channel(argb, 8) + channel(argb, 0)) / 3;
}

class Theme : public ::testing::Test {
  protected:
    void SetUp() override {
        const Rect bounds{40, 40, 240, 440}; // 400 by 200
        ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window),
                  noErr);
        SelectWindow(window);
        background = pixel(0, 0);
    }
    void TearDown() override {
        DisposeWindow(window);
        for (CFStringRef s : strings)
            CFRelease(s);
    }

    CFStringRef str(const char* text) {
        strings.push_back(CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8));
        return strings.back();
    }

    UInt32 pixel(int x, int y) {
        UInt32 argb = 0;
        EXPECT_EQ(PlatformCopyWindowPixel(window, x, y, &argb), noErr);
        return argb;
    }

    Ink ink(const Rect& r) {
        Ink result;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const UInt32 p = pixel(x, y);
                result.dark += brightness(p) < 128;
                result.changed += p != background;
            }
        return result;
    }

    WindowRef window = nullptr;
    UInt32 background = 0;
    std::vector<CFStringRef> strings;
};

TEST_F(Theme, ACheckBoxMarkIsDarkWhenOnAbsentWhenOffAndABarWhenMixed) {
    ControlRef box = nullptr;
    const Rect bounds{10, 10, 28, 120};
    ASSERT_EQ(CreateCheckBoxControl(window, &bounds, str("Prompt"), 0, true, &box), noErr);
    const Rect mark{12, 12, 26, 24}; // inside the 14-pixel box
    Draw1Control(box);
    EXPECT_EQ(ink(mark).dark, 0);
    // The title is drawn beside the box.
    EXPECT_GT(ink(Rect{10, 30, 28, 90}).dark, 20);

    SetControl32BitValue(box, kControlCheckBoxCheckedValue);
    const int on = ink(mark).dark;
    EXPECT_GT(on, 12);

    SetControl32BitValue(box, kControlCheckBoxMixedValue);
    const int mixed = ink(mark).dark;
    EXPECT_GT(mixed, 6);
    // The bar is a horizontal line through the middle: nothing at the top.
    EXPECT_EQ(ink(Rect{12, 12, 16, 24}).dark, 0);

    SetControl32BitValue(box, kControlCheckBoxUncheckedValue);
    EXPECT_EQ(ink(mark).dark, 0);
}

TEST_F(Theme, ARadioButtonShowsADotWhenOn) {
    ControlRef radio = nullptr;
    const Rect bounds{10, 10, 28, 120};
    ASSERT_EQ(CreateRadioButtonControl(window, &bounds, str("Group"), 0, true, &radio), noErr);
    const Rect centre{16, 14, 22, 20};
    Draw1Control(radio);
    EXPECT_EQ(ink(centre).dark, 0);
    SetControl32BitValue(radio, 1);
    EXPECT_GT(ink(centre).dark, 15);
}

TEST_F(Theme, DisabledAndInactiveControlsAreGreyedNotHidden) {
    ControlRef box = nullptr;
    const Rect bounds{10, 10, 28, 160};
    ASSERT_EQ(CreateCheckBoxControl(window, &bounds, str("Mask the codes"), 1, true, &box), noErr);
    const Rect title{10, 30, 28, 150};
    const Rect mark{12, 12, 26, 24};
    const Ink enabled_title = ink(title);
    const Ink enabled_mark = ink(mark);
    DisableControl(box);
    const Ink disabled_title = ink(title);
    EXPECT_GT(disabled_title.changed, 20); // still there
    EXPECT_EQ(disabled_title.dark, 0);     // but grey
    EXPECT_GT(enabled_title.dark, 20);
    EXPECT_LT(ink(mark).dark, enabled_mark.dark);

    EnableControl(box);
    ActivateWindow(window, false);
    EXPECT_GT(ink(title).dark, 20);               // text stays readable
    EXPECT_LT(ink(mark).dark, enabled_mark.dark); // the mark turns grey
}

TEST_F(Theme, AnEditTextHasAWhiteFieldInAFrameAndBulletsForAPassword) {
    ControlRef plain = nullptr;
    ControlRef secret = nullptr;
    const Rect a{10, 10, 32, 210};
    const Rect b{50, 10, 72, 210};
    ASSERT_EQ(CreateEditUnicodeTextControl(window, &a, str("ll"), false, nullptr, &plain), noErr);
    ASSERT_EQ(CreateEditUnicodeTextControl(window, &b, str("ll"), true, nullptr, &secret), noErr);
    DrawControls(window);
    EXPECT_EQ(pixel(150, 20), 0xFFFFFFFFu);     // the field
    EXPECT_LT(brightness(pixel(150, 10)), 200); // its frame
    // "ll" is two tall thin strokes; two bullets are two round dots in the
    // middle of the line: the password field has no ink at the top of it.
    const Ink plain_top = ink(Rect{13, 12, 17, 40});
    const Ink secret_top = ink(Rect{53, 12, 57, 40});
    EXPECT_GT(plain_top.dark, 0);
    EXPECT_EQ(secret_top.dark, 0);
    EXPECT_GT(ink(Rect{53, 12, 70, 40}).dark, 4);
}

TEST_F(Theme, TheFocusedFieldHasARingAndACaret) {
    ControlRef field = nullptr;
    const Rect bounds{20, 20, 42, 220};
    ASSERT_EQ(CreateEditUnicodeTextControl(window, &bounds, str(""), false, nullptr, &field),
              noErr);
    DrawControls(window);
    const UInt32 outside = pixel(120, 18); // two pixels above the field
    EXPECT_EQ(outside, background);
    const Ink before = ink(Rect{23, 23, 39, 30});

    ASSERT_EQ(SetKeyboardFocus(window, field, kControlEditTextPart), noErr);
    const UInt32 ring = pixel(120, 18);
    EXPECT_NE(ring, background);
    EXPECT_GT(channel(ring, 0), channel(ring, 16));         // blue
    EXPECT_GT(ink(Rect{23, 23, 39, 30}).dark, before.dark); // the caret

    // An inactive window shows neither ring nor caret.
    ActivateWindow(window, false);
    EXPECT_EQ(pixel(120, 18), background);
    EXPECT_EQ(ink(Rect{23, 23, 39, 30}).dark, before.dark);
    ActivateWindow(window, true);
    EXPECT_EQ(pixel(120, 18), ring);

    ASSERT_EQ(SetKeyboardFocus(window, nullptr, kControlFocusNoPart), noErr);
    EXPECT_EQ(pixel(120, 18), background);
}

TEST_F(Theme, APopupShowsItsChosenItemAndArrows) {
    MenuRef menu = nullptr;
    ASSERT_EQ(CreateNewMenu(200, 0, &menu), noErr);
    AppendMenuItemTextWithCFString(menu, str("None"), 0, 0, nullptr);
    AppendMenuItemTextWithCFString(menu, str("Accounting Enabled"), 0, 0, nullptr);
    ControlRef popup = nullptr;
    const Rect bounds{10, 10, 30, 250};
    ASSERT_EQ(CreatePopupButtonControl(window, &bounds, nullptr, -12345, false, 0, 0, 0, &popup),
              noErr);
    ASSERT_EQ(SetControlData(popup, 0, kControlPopupButtonOwnedMenuRefTag, sizeof(menu), &menu),
              noErr);
    SetControl32BitValue(popup, 1);
    const Rect text{12, 15, 28, 200};
    const int none = ink(text).dark;
    EXPECT_GT(none, 10);
    SetControl32BitValue(popup, 2);
    EXPECT_GT(ink(text).dark, none + 20); // the longer item
    // The arrow part at the right end is blue.
    const UInt32 arrows = pixel(236, 13);
    EXPECT_GT(channel(arrows, 0), channel(arrows, 16) + 40);

    // The preferred width fits the widest item, whichever is chosen.
    Rect first{};
    Rect second{};
    SetControl32BitValue(popup, 1);
    GetBestControlRect(popup, &first, nullptr);
    SetControl32BitValue(popup, 2);
    GetBestControlRect(popup, &second, nullptr);
    EXPECT_EQ(first.right, second.right);
    EXPECT_LT(first.right, 250);
}

TEST_F(Theme, StaticTextWrapsInsideItsBoundsAndMeasuresOneLine) {
    ControlRef label = nullptr;
    const Rect bounds{10, 10, 60, 110};
    ASSERT_EQ(CreateStaticTextControl(window, &bounds,
                                      str("Enter the user ID and the account ID for this job"),
                                      nullptr, &label),
              noErr);
    Draw1Control(label);
    EXPECT_GT(ink(Rect{10, 10, 25, 110}).dark, 20);    // first line
    EXPECT_GT(ink(Rect{27, 10, 42, 110}).dark, 20);    // second line
    EXPECT_EQ(ink(Rect{10, 112, 60, 200}).changed, 0); // nothing past the right edge

    Rect best{};
    SInt16 baseline = 0;
    ASSERT_EQ(GetBestControlRect(label, &best, &baseline), noErr);
    EXPECT_GT(best.right - best.left, 250); // one line, wider than given
    EXPECT_LT(best.bottom - best.top, 20);
    EXPECT_LT(baseline, 0);
}

TEST_F(Theme, GroupBoxesAndTabsFrameWhatTheyEmbed) {
    ControlRef group = nullptr;
    const Rect group_bounds{10, 10, 90, 190};
    ASSERT_EQ(CreateGroupBoxControl(window, &group_bounds, str("Codes"), true, &group), noErr);
    ControlTabEntry entries[2] = {{nullptr, str("General"), true}, {nullptr, str("Limits"), true}};
    ControlRef tabs = nullptr;
    const Rect tab_bounds{10, 200, 190, 390};
    ASSERT_EQ(CreateTabsControl(window, &tab_bounds, kControlTabSizeLarge,
                                kControlTabDirectionNorth, 2, entries, &tabs),
              noErr);
    DrawControls(window);
    // Inside the box the colour is slightly darker than the window.
    EXPECT_LT(brightness(pixel(100, 60)), brightness(background));
    EXPECT_GT(ink(Rect{10, 12, 24, 80}).dark, 10); // the title
    // The chosen tab is blue, the other has a dark name.
    SetControl32BitValue(tabs, 1);
    int blue = 0;
    for (int x = 210; x < 380; ++x) {
        const UInt32 p = pixel(x, 21);
        blue += channel(p, 0) > channel(p, 16) + 40;
    }
    EXPECT_GT(blue, 30);
    EXPECT_GT(ink(Rect{12, 200, 30, 390}).dark, 10);
}

TEST_F(Theme, TheDefaultButtonIsStillDistinctInAnInactiveWindow) {
    ControlRef plain = nullptr;
    ControlRef preferred = nullptr;
    const Rect a{10, 10, 30, 110};
    const Rect b{10, 150, 30, 250};
    ASSERT_EQ(CreatePushButtonControl(window, &a, str(""), &plain), noErr);
    ASSERT_EQ(CreatePushButtonControl(window, &b, str(""), &preferred), noErr);
    SetWindowDefaultButton(window, preferred);
    ActivateWindow(window, false);
    int differ = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            differ += pixel(10 + x, y) != pixel(150 + x, y);
    EXPECT_GT(differ, 50);
}

} // namespace

// The radio group: its value is the number of the chosen embedded button, and clicks and set
// values move the choice in both directions.
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

namespace {

struct RadioGroup : ::testing::Test {
    void SetUp() override {
        const Rect bounds{100, 100, 300, 400};
        ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
        const Rect groupBounds{10, 10, 100, 200};
        ASSERT_EQ(noErr, CreateRadioGroupControl(window, &groupBounds, &group));
        for (int i = 0; i < 3; ++i) {
            const Rect r{static_cast<short>(10 + 20 * i), 10, static_cast<short>(28 + 20 * i), 200};
            // Not auto-toggling: inside a group a click still turns the button on.
            ASSERT_EQ(noErr,
                      CreateRadioButtonControl(window, &r, CFSTR("Choice"), 0, false, &buttons[i]));
            ASSERT_EQ(noErr, EmbedControl(buttons[i], group));
        }
        ShowWindow(window);
    }
    void TearDown() override { DisposeWindow(window); }
    std::string values() {
        std::string text;
        for (ControlRef button : buttons)
            text += std::to_string(GetControl32BitValue(button));
        return text;
    }

    WindowRef window = nullptr;
    ControlRef group = nullptr;
    ControlRef buttons[3] = {};
};

TEST_F(RadioGroup, CountsItsButtonsAndStartsWithNoChoice) {
    ControlKind kind{};
    GetControlKind(group, &kind);
    EXPECT_EQ(kind.kind, static_cast<OSType>(kControlKindRadioGroup));
    EXPECT_EQ(GetControl32BitMaximum(group), 3);
    EXPECT_EQ(GetControl32BitValue(group), 0);
    EXPECT_EQ(values(), "000");
}

TEST_F(RadioGroup, ClicksAndSetValuesMoveTheOneChoice) {
    EXPECT_EQ(noErr, PlatformClickControl(buttons[1]));
    EXPECT_EQ(GetControl32BitValue(group), 2);
    EXPECT_EQ(values(), "010");
    EXPECT_EQ(noErr, PlatformClickControl(buttons[2]));
    EXPECT_EQ(GetControl32BitValue(group), 3);
    EXPECT_EQ(values(), "001");
    SetControl32BitValue(group, 1);
    EXPECT_EQ(values(), "100");
    SetControl32BitValue(buttons[1], kControlRadioButtonCheckedValue);
    EXPECT_EQ(GetControl32BitValue(group), 2);
    EXPECT_EQ(values(), "010");
    SetControl32BitValue(group, 9); // beyond the buttons: the last one
    EXPECT_EQ(values(), "001");
    SetControl32BitValue(group, 0);
    EXPECT_EQ(values(), "000");
}

} // namespace

// Taking a group of views out of another nib window and appending it below
// what a destination already holds; moving a view by float deltas.
#include "ControlLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr OSType kSig = 0x54564B61; // 'TVKa'

Rect bounds_of(ControlRef control) {
    Rect r{};
    GetControlBounds(control, &r);
    return r;
}

struct AppendView : testing::Test {
    WindowRef panel = nullptr, source = nullptr;
    ControlRef destination = nullptr, group = nullptr, label = nullptr, field = nullptr;

    void SetUp() override {
        const Rect screen{0, 0, 400, 400};
        CreateNewWindow(kDocumentWindowClass, 0, &screen, &panel);
        CreateNewWindow(kDocumentWindowClass, 0, &screen, &source);
        const Rect d{100, 10, 300, 210}, g{40, 50, 90, 250};
        const Rect l{45, 60, 60, 120}, f{65, 60, 85, 240};
        CreateUserPaneControl(panel, &d, kControlSupportsEmbedding, &destination);
        CreateUserPaneControl(source, &g, kControlSupportsEmbedding, &group);
        CreatePushButtonControl(source, &l, CFSTR("Label"), &label);
        CreatePushButtonControl(source, &f, CFSTR("Field"), &field);
        EmbedControl(label, group);
        EmbedControl(field, group);
        const ControlID id{kSig, 700};
        SetControlID(group, &id);
    }
    void TearDown() override {
        DisposeWindow(source);
        DisposeWindow(panel);
    }
};

TEST_F(AppendView, MovesTheGroupsSubviewsBelowWhatCameBefore) {
    float offset = 5;
    ASSERT_EQ(noErr,
              AppendViewFromWindowAndUnpack(destination, source, ControlID{kSig, 700}, &offset));
    EXPECT_FLOAT_EQ(55, offset); // 5 + the group's height of 50
    EXPECT_EQ(panel, GetControlOwner(label));
    ControlRef parent = nullptr;
    GetSuperControl(field, &parent);
    EXPECT_EQ(destination, parent);
    UInt16 left_behind = 9;
    CountSubControls(group, &left_behind);
    EXPECT_EQ(0, left_behind);
    // The group's corner went to the destination's corner, 5 down; its
    // views kept their places relative to it.
    const Rect l = bounds_of(label), f = bounds_of(field);
    EXPECT_EQ(100 + 5 + 5, l.top);
    EXPECT_EQ(10 + 10, l.left);
    EXPECT_EQ(100 + 5 + 25, f.top);
    EXPECT_EQ(10 + 190, f.right);

    // A second group of the same window (another ID) goes below the first.
    const Rect g2{200, 0, 230, 100}, b{205, 5, 225, 95};
    ControlRef group2 = nullptr, button = nullptr;
    CreateUserPaneControl(source, &g2, kControlSupportsEmbedding, &group2);
    CreatePushButtonControl(source, &b, CFSTR("More"), &button);
    EmbedControl(button, group2);
    const ControlID id2{kSig, 701};
    SetControlID(group2, &id2);
    ASSERT_EQ(noErr, AppendViewFromWindowAndUnpack(destination, source, id2, &offset));
    EXPECT_EQ(100 + 55 + 5, bounds_of(button).top);
    EXPECT_FLOAT_EQ(85, offset);
}

TEST_F(AppendView, FailuresLeaveWhatTheyDidNotMove) {
    float offset = 5;
    EXPECT_EQ(errUnknownControl,
              AppendViewFromWindowAndUnpack(destination, source, ControlID{kSig, 9}, &offset));
    EXPECT_FLOAT_EQ(5, offset);
    EXPECT_EQ(source, GetControlOwner(label));

    // A destination that embeds nothing: the first move fails, both stay.
    ControlRef button = nullptr;
    const Rect r{0, 0, 20, 80};
    CreatePushButtonControl(panel, &r, CFSTR("Flat"), &button);
    EXPECT_EQ(errControlIsNotEmbedder,
              AppendViewFromWindowAndUnpack(button, source, ControlID{kSig, 700}, &offset));
    UInt16 count = 0;
    CountSubControls(group, &count);
    EXPECT_EQ(2, count);
}

TEST_F(AppendView, TranslateViewMovesTheFrame) {
    TranslateView(label, 10.0f, -5.0f);
    const Rect l = bounds_of(label);
    EXPECT_EQ(40, l.top);
    EXPECT_EQ(70, l.left);
    EXPECT_EQ(130, l.right); // the size stays
    TranslateView(nullptr, 1, 1);
}

} // namespace

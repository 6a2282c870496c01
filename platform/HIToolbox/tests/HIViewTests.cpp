// The view calls: finding by ID below a view, rectangles as floats (and
// rounding back to pixels), moving with what a view embeds, walking and
// re-parenting subviews.
#include <HIToolbox/HIToolbox.h>

#include <gtest/gtest.h>

namespace {

constexpr OSType kSig = 0x54564B61; // 'TVKa'

struct Fixture : testing::Test {
    WindowRef window = nullptr;
    ControlRef pane = nullptr, first = nullptr, second = nullptr;

    void SetUp() override {
        const Rect content{100, 100, 400, 500};
        ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &content, &window));
        const Rect pane_bounds{10, 20, 110, 220};
        const Rect a{20, 30, 40, 90}, b{50, 30, 70, 90};
        CreateUserPaneControl(window, &pane_bounds, kControlSupportsEmbedding, &pane);
        CreatePushButtonControl(window, &a, CFSTR("A"), &first);
        CreatePushButtonControl(window, &b, CFSTR("B"), &second);
        EmbedControl(first, pane);
        EmbedControl(second, pane);
        const ControlID id{kSig, 7};
        SetControlID(second, &id);
    }
    void TearDown() override { DisposeWindow(window); }
};

using HIView = Fixture;

TEST_F(HIView, FindsByIDBelowTheStartView) {
    HIViewRef found = nullptr;
    const HIViewID id{kSig, 7};
    EXPECT_EQ(noErr, HIViewFindByID(HIViewGetRoot(window), id, &found));
    EXPECT_EQ(second, found);
    found = nullptr;
    EXPECT_EQ(errUnknownControl, HIViewFindByID(first, id, &found)); // not below a sibling
    EXPECT_EQ(errUnknownControl, HIViewFindByID(pane, HIViewID{kSig, 8}, &found));
    EXPECT_EQ(nullptr, found);
    EXPECT_EQ(paramErr, HIViewFindByID(nullptr, id, &found));
}

TEST_F(HIView, RectanglesAreFloatsAndRoundToPixels) {
    static_assert(sizeof(HIRect) == 16, "32-bit float coordinates");
    HIRect frame{};
    ASSERT_EQ(noErr, HIViewGetFrame(pane, &frame));
    EXPECT_FLOAT_EQ(20, frame.origin.x);
    EXPECT_FLOAT_EQ(10, frame.origin.y);
    EXPECT_FLOAT_EQ(200, frame.size.width);
    EXPECT_FLOAT_EQ(100, frame.size.height);
    HIRect bounds{};
    HIViewGetBounds(pane, &bounds);
    EXPECT_FLOAT_EQ(frame.origin.x, bounds.origin.x); // windows do not composite

    const HIRect moved{{30.4f, 14.6f}, {100.2f, 50.0f}};
    ASSERT_EQ(noErr, HIViewSetFrame(pane, &moved));
    Rect r{};
    GetControlBounds(pane, &r);
    EXPECT_EQ(15, r.top);
    EXPECT_EQ(30, r.left);
    EXPECT_EQ(65, r.bottom);
    EXPECT_EQ(131, r.right); // each edge rounds: 30.4 + 100.2 = 130.6
    GetControlBounds(first, &r);
    EXPECT_EQ(25, r.top); // the embedded button moved with its pane
    EXPECT_EQ(40, r.left);

    ASSERT_EQ(noErr, HIViewMoveBy(first, -10.0f, 2.5f));
    GetControlBounds(first, &r);
    EXPECT_EQ(28, r.top); // 2.5 rounds away from zero
    EXPECT_EQ(30, r.left);
    EXPECT_EQ(48, r.bottom);
    EXPECT_EQ(paramErr, HIViewGetFrame(first, nullptr));
    EXPECT_EQ(paramErr, HIViewMoveBy(nullptr, 1, 1));
}

TEST_F(HIView, VisibilityFollowsTheEmbedder) {
    EXPECT_EQ(noErr, HIViewSetVisible(pane, false));
    EXPECT_FALSE(HIViewIsVisible(first));
    EXPECT_EQ(noErr, HIViewSetVisible(pane, true));
    EXPECT_TRUE(HIViewIsVisible(first));
    EXPECT_EQ(noErr, HIViewSetVisible(first, false));
    EXPECT_FALSE(HIViewIsVisible(first));
    EXPECT_TRUE(HIViewIsVisible(second));
}

TEST_F(HIView, ValueTextAndEnabledGoThroughTheControl) {
    const Rect r{200, 20, 220, 200};
    ControlRef text = nullptr, box = nullptr;
    ASSERT_EQ(noErr, CreateStaticTextControl(window, &r, CFSTR("old"), nullptr, &text));
    ASSERT_EQ(noErr, CreateCheckBoxControl(window, &r, CFSTR("Box"), 0, true, &box));
    EXPECT_EQ(noErr, HIViewSetText(text, CFSTR("new")));
    EXPECT_EQ(noErr, HIViewSetText(box, CFSTR("Title")));
    for (auto [view, expected] : {std::pair{text, "new"}, std::pair{box, "Title"}}) {
        CFStringRef copy = HIViewCopyText(view);
        ASSERT_NE(copy, nullptr);
        char buffer[32] = {};
        CFStringGetCString(copy, buffer, sizeof buffer, kCFStringEncodingUTF8);
        EXPECT_STREQ(buffer, expected);
        CFRelease(copy);
    }
    EXPECT_EQ(noErr, HIViewSetValue(box, 1));
    EXPECT_EQ(HIViewGetValue(box), 1);
    EXPECT_EQ(noErr, HIViewSetEnabled(box, false));
    EXPECT_FALSE(IsControlEnabled(box));
    EXPECT_EQ(noErr, HIViewSetEnabled(box, true));
    EXPECT_TRUE(IsControlEnabled(box));
}

TEST_F(HIView, WalksAndMovesSubviews) {
    EXPECT_EQ(first, HIViewGetFirstSubview(pane));
    EXPECT_EQ(second, HIViewGetNextView(first));
    EXPECT_EQ(nullptr, HIViewGetNextView(second));
    EXPECT_EQ(nullptr, HIViewGetFirstSubview(first));
    EXPECT_EQ(pane, HIViewGetFirstSubview(HIViewGetRoot(window)));

    // Into another window: the rectangle stays, the owner changes.
    WindowRef other = nullptr;
    const Rect content{0, 0, 200, 200};
    CreateNewWindow(kDocumentWindowClass, 0, &content, &other);
    ASSERT_EQ(noErr, HIViewAddSubview(HIViewGetRoot(other), first));
    EXPECT_EQ(other, GetControlOwner(first));
    EXPECT_EQ(second, HIViewGetFirstSubview(pane));
    HIRect frame{};
    HIViewGetFrame(first, &frame);
    EXPECT_FLOAT_EQ(30, frame.origin.x);
    EXPECT_EQ(errCantEmbedIntoSelf, HIViewAddSubview(second, pane));
    EXPECT_EQ(errControlIsNotEmbedder, HIViewAddSubview(second, first));
    DisposeWindow(other);
}

} // namespace

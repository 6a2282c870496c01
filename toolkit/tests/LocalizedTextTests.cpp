// Texts set from the bundle's strings, and controls sized to their content.
#include "ControlLayout.h"
#include "LocalizedText.h"
#include "ToolkitTestSupport.h"

#include <gtest/gtest.h>

namespace {

class LocalizedTextTest : public testing::Test {
  protected:
    void SetUp() override {
        bundle = tktest::create_fixture_bundle();
        ASSERT_NE(nullptr, bundle);
        const Rect bounds{100, 100, 300, 500};
        CreateNewWindow(kDocumentWindowClass, kWindowStandardHandlerAttribute, &bounds, &window);
        const Rect text_bounds{10, 10, 30, 110};
        CreateStaticTextControl(window, &text_bounds, CFSTR("placeholder"), nullptr, &text);
    }
    void TearDown() override {
        DisposeWindow(window);
        CFRelease(bundle);
    }
    std::string static_text() {
        CFStringRef value = nullptr;
        GetControlData(text, 0, kControlStaticTextCFStringTag, sizeof(value), &value, nullptr);
        const std::string result = tktest::text(value);
        if (value != nullptr)
            CFRelease(value);
        return result;
    }
    CFBundleRef bundle = nullptr;
    WindowRef window = nullptr;
    ControlRef text = nullptr;
};

TEST_F(LocalizedTextTest, TextsComeFromTheStringsFormattedWithTheArguments) {
    SetLocalizedStaticText(bundle, CFSTR("%d copies of %@"), text, 3, CFSTR("the report"));
    EXPECT_EQ("3 copies of the report", static_text());
    SetLocalizedStaticText(bundle, CFSTR("Reordered %d of %@"), text, 3, CFSTR("the report"));
    EXPECT_EQ("the report, copy 3", static_text());
    SetLocalizedStaticText(bundle, CFSTR("%d copies of %@"), text, 3, CFSTR("the report"));
    EXPECT_EQ("3 copies of the report", static_text());
    SetLocalizedStaticText(bundle, CFSTR("Percent"), text);
    EXPECT_EQ("100% sure", static_text());
    SetLocalizedStaticText(bundle, CFSTR("No such key"), text);
    EXPECT_EQ("STRING NOT FOUND", static_text());

    SetLocalizedWindowTitle(bundle, CFSTR("None"), window);
    CFStringRef title = nullptr;
    CopyWindowTitleAsCFString(window, &title);
    EXPECT_EQ("No Accounting", tktest::text(title));
    CFRelease(title);

    MenuRef menu = nullptr;
    CreateNewMenu(1, 0, &menu);
    SetMenuTitleWithCFString(menu, CFSTR("Menu"));
    for (CFStringRef item : {CFSTR("a"), CFSTR("b"), CFSTR("c")})
        AppendMenuItemTextWithCFString(menu, item, 0, 0, nullptr);
    SetLocalizedMenuTitle(bundle, CFSTR("Auto Select"), menu, 3);
    CFStringRef item = nullptr;
    CopyMenuItemTextAsCFString(menu, 3, &item);
    EXPECT_EQ("Automatically", tktest::text(item));
    CFRelease(item);
    CFStringRef menu_title = nullptr;
    CopyMenuTitleAsCFString(menu, &menu_title);
    EXPECT_EQ("Menu", tktest::text(menu_title));
    CFRelease(menu_title);
    ReleaseMenu(menu);
}

// A translation may read only the arguments its key reads: the panel passes none, and a
// translator's "%s" must not read one that nobody passed.
TEST_F(LocalizedTextTest, ConversionsTheKeyLacksAreShownAsWritten) {
    testing::internal::CaptureStderr();
    SetLocalizedStaticText(bundle, CFSTR("Typo"), text);
    EXPECT_EQ("%s %@ %n", static_text());
    SetLocalizedControlTitle(bundle, CFSTR("Lone Percent"), text);
    CFStringRef title = nullptr;
    CopyControlTitleAsCFString(text, &title);
    EXPECT_EQ("100 % sure", tktest::text(title));
    CFRelease(title);
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, messages.find("en.lproj/Localizable.strings: \"Typo\""))
        << messages;
    EXPECT_NE(std::string::npos, messages.find("\"Lone Percent\"")) << messages;
}

TEST_F(LocalizedTextTest, NullArgumentsLeaveTheTargetAlone) {
    SetLocalizedStaticText(nullptr, CFSTR("None"), text);
    SetLocalizedStaticText(bundle, nullptr, text);
    SetLocalizedControlTitle(bundle, CFSTR("None"), nullptr);
    SetLocalizedWindowTitle(bundle, CFSTR("None"), nullptr);
    EXPECT_EQ("placeholder", static_text());
}

Rect rect(SInt32 top, SInt32 left, SInt32 bottom, SInt32 right) {
    return Rect{static_cast<SInt16>(top), static_cast<SInt16>(left), static_cast<SInt16>(bottom),
                static_cast<SInt16>(right)};
}

// The best rectangle's size, for the layout checks below.
void preferred_size(ControlRef control, SInt32& width, SInt32& height) {
    Rect p{};
    GetBestControlRect(control, &p, nullptr);
    width = p.right - p.left;
    height = p.bottom - p.top;
}

TEST_F(LocalizedTextTest, BestRectPlacesTheControlAsTheAnchorsSay) {
    SInt32 width, height;
    // Filling a width narrower than the text makes the control taller in proportion.
    SetLocalizedStaticText(bundle, CFSTR("Booklet Finisher"), text);
    preferred_size(text, width, height);
    ASSERT_GT(width, 50);
    Rect given{10, 10, 30, 60}, n{};
    SetControlBounds(text, &given);
    SetControlBestRect(text, 7, nullptr, nullptr);
    GetControlBounds(text, &n);
    EXPECT_EQ(10, n.left);
    EXPECT_EQ(60, n.right);
    EXPECT_EQ(10, n.top);
    EXPECT_EQ(10 + height + (height * width) / 50, n.bottom);

    // Right-aligned with a running offset: the left edge moves out by the growth.
    SetControlBounds(text, &given);
    SInt32 offset = 0;
    SetControlBestRect(text, 14, &offset, nullptr);
    GetControlBounds(text, &n);
    EXPECT_EQ(width - 50, offset);
    EXPECT_EQ(60, n.right);
    EXPECT_EQ(60 - width, n.left);
    // The next control of the row is pushed by that growth, and shrinking gives it back.
    const Rect wide = rect(40, 10, 60, 10 + width + 40);
    SetControlBounds(text, &wide);
    SetControlBestRect(text, kBestRectAnchorLeft, &offset, nullptr);
    GetControlBounds(text, &n);
    EXPECT_EQ(10 + (width - 50), n.left);
    EXPECT_EQ(width - 50 - 40, offset);

    // Centred on both axes; an odd slack puts the smaller half first.
    const Rect room = rect(0, 0, height + 21, width + 41);
    SetControlBounds(text, &room);
    SetControlBestRect(text, 0, nullptr, nullptr);
    GetControlBounds(text, &n);
    EXPECT_EQ(20, n.left);
    EXPECT_EQ(20 + width, n.right);
    EXPECT_EQ(10, n.top);
    EXPECT_EQ(noErr, SetControlBestRect(nullptr, 0, &offset, nullptr));
}

TEST_F(LocalizedTextTest, AControlThatFitsKeepsItsBoundsAndTheOffset) {
    Rect p{};
    GetBestControlRect(text, &p, nullptr);
    SetControlBounds(text, &p);
    for (UInt32 options = 0; options < 16; ++options) {
        SInt32 h = 5, v = -3;
        SetControlBestRect(text, options, &h, &v);
        Rect n{};
        GetControlBounds(text, &n);
        EXPECT_EQ(5, h) << options;
        EXPECT_EQ(-3, v) << options;
        EXPECT_EQ(p.left + 5, n.left) << options;
        EXPECT_EQ(p.top - 3, n.top) << options;
        SetControlBounds(text, &p);
    }
}

} // namespace

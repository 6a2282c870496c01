// The scrolling text control and the summary view, as a person meets them:
// the first click focuses, Tab moves on (or is typed), copy and paste with
// an edit text, undo from the Edit menu, menu items enabled by the text's
// state, read-only summaries, the frame following the control, and data
// tags with wrong sizes refused.
#include "TextViews.h"

#include <HIToolbox/PlatformHost.h>

#include "ToolkitTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string all_text(ControlRef view) {
    CFStringRef s = nullptr;
    EXPECT_EQ(noErr,
              GetControlData(view, 0, kYASTControlAllUnicodeTextTag, sizeof(s), &s, nullptr));
    const std::string out = tktest::text(s);
    if (s != nullptr)
        CFRelease(s);
    return out;
}

void set_text(ControlRef view, const char* text) {
    CFStringRef s = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
    ASSERT_EQ(noErr, SetControlData(view, 0, kYASTControlAllUnicodeTextTag, sizeof(s), &s));
    CFRelease(s);
}

TXNObject object_of(ControlRef view) {
    TXNObject object = nullptr;
    EXPECT_EQ(noErr,
              GetControlData(view, 0, kYASTControlTXObjectTag, sizeof(object), &object, nullptr));
    return object;
}

struct TextViews : ::testing::Test {
    WindowRef window = nullptr;
    ControlRef view = nullptr;
    ControlRef field = nullptr;
    MenuRef edit = nullptr;
    void SetUp() override {
        const Rect bounds{100, 100, 400, 500};
        ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
        const Rect r{20, 20, 120, 220};
        ASSERT_EQ(noErr, CreateYASTControl(window, &r, &view));
        const Rect f{140, 20, 162, 220};
        ASSERT_EQ(noErr,
                  CreateEditTextControl(window, &f, CFSTR(""), false, false, nullptr, &field));
        ASSERT_EQ(noErr, CreateNewMenu(129, 0, &edit));
        const MenuCommand commands[] = {kHICommandUndo,     kHICommandRedo,  kHICommandCut,
                                        kHICommandCopy,     kHICommandPaste, kHICommandClear,
                                        kHICommandSelectAll};
        for (MenuCommand c : commands)
            AppendMenuItemTextWithCFString(edit, CFSTR("item"), 0, c, nullptr);
    }
    void TearDown() override {
        ReleaseMenu(edit);
        DisposeWindow(window);
    }
    bool enabled(MenuItemIndex item) {
        PlatformUpdateMenuStatus(window, edit);
        return IsMenuItemEnabled(edit, item);
    }
    ControlRef focus() {
        ControlRef c = nullptr;
        GetKeyboardFocus(window, &c);
        return c;
    }
    YASTControlEditTextSelectionRec selection() {
        YASTControlEditTextSelectionRec sel{};
        GetControlData(view, 0, kYASTControlSelectionRangeTag, sizeof(sel), &sel, nullptr);
        return sel;
    }
};

enum { kUndo = 1, kRedo, kCut, kCopy, kPaste, kClear, kSelectAll };

TEST_F(TextViews, FirstClickFocusesLaterClicksPlaceTheCaret) {
    set_text(view, "some words here");
    TXNSetSelection(object_of(view), 4, 4);
    ASSERT_EQ(noErr, PlatformPressMouse(window, Point{30, 25}, 0, 1));
    EXPECT_EQ(view, focus());
    EXPECT_EQ(4u, selection().selStart); // the click only focused
    PlatformReleaseMouse(window, Point{30, 25});
    ASSERT_EQ(noErr, PlatformPressMouse(window, Point{30, 23}, 0, 1));
    PlatformReleaseMouse(window, Point{30, 23});
    EXPECT_EQ(0u, selection().selStart); // now it reached the text
    PlatformTypeText(window, CFSTR("new "));
    EXPECT_EQ("new some words here", all_text(view));
}

TEST_F(TextViews, TabMovesOnUnlessTyped) {
    SetKeyboardFocus(window, view, 1);
    PlatformTypeKey(window, 'a', 0);
    PlatformTypeKey(window, kTabCharCode, 0);
    EXPECT_EQ(field, focus());
    PlatformTypeKey(window, kTabCharCode, shiftKey);
    EXPECT_EQ(view, focus());
    EXPECT_EQ("a", all_text(view));

    const Boolean no = false;
    ASSERT_EQ(noErr, SetControlData(view, 0, kYASTControlTabsAdvanceFocusTag, 1, &no));
    PlatformTypeKey(window, kTabCharCode, 0);
    EXPECT_EQ(view, focus());
    EXPECT_EQ("a\t", all_text(view));
}

TEST_F(TextViews, CopiesAndPastesWithAnEditText) {
    set_text(view, "shared words");
    SetKeyboardFocus(window, view, 1);
    TXNSetSelection(object_of(view), 0, 6);
    ASSERT_EQ(noErr, PlatformChooseMenuCommand(window, edit, kCopy));
    SetKeyboardFocus(window, field, kControlEditTextPart);
    ASSERT_EQ(noErr, PlatformChooseMenuCommand(window, edit, kPaste));
    CFStringRef typed = nullptr;
    GetControlData(field, 0, kControlEditTextCFStringTag, sizeof(typed), &typed, nullptr);
    EXPECT_EQ("shared", tktest::text(typed));
    CFRelease(typed);

    // And back: cut from the field, paste over the view's selection.
    ASSERT_EQ(noErr, PlatformChooseMenuCommand(window, edit, kSelectAll));
    PlatformTypeText(window, CFSTR("joint"));
    ASSERT_EQ(noErr, PlatformChooseMenuCommand(window, edit, kSelectAll));
    ASSERT_EQ(noErr, PlatformChooseMenuCommand(window, edit, kCut));
    SetKeyboardFocus(window, view, 1);
    ASSERT_EQ(noErr, PlatformChooseMenuCommand(window, edit, kPaste));
    EXPECT_EQ("joint words", all_text(view));
    ASSERT_EQ(noErr, PlatformChooseMenuCommand(window, edit, kUndo));
    EXPECT_EQ("shared words", all_text(view));
}

TEST_F(TextViews, EditMenuFollowsTheTextsState) {
    SetKeyboardFocus(window, view, 1);
    EXPECT_FALSE(enabled(kSelectAll)); // empty text
    EXPECT_FALSE(enabled(kUndo));
    PlatformTypeText(window, CFSTR("typed"));
    EXPECT_TRUE(enabled(kSelectAll));
    EXPECT_FALSE(enabled(kCopy)); // no selection
    EXPECT_FALSE(enabled(kCut));
    EXPECT_FALSE(enabled(kClear));
    EXPECT_TRUE(enabled(kUndo));
    EXPECT_EQ(errControlHiddenOrDisabled, PlatformChooseMenuCommand(window, edit, kCopy));

    ASSERT_EQ(noErr, PlatformChooseMenuCommand(window, edit, kUndo));
    EXPECT_EQ("", all_text(view));
    EXPECT_TRUE(enabled(kRedo));
    ASSERT_EQ(noErr, PlatformChooseMenuCommand(window, edit, kRedo));
    EXPECT_EQ("typed", all_text(view));
    ASSERT_EQ(noErr, PlatformChooseMenuCommand(window, edit, kSelectAll));
    EXPECT_TRUE(enabled(kCopy));
    EXPECT_TRUE(enabled(kClear));
}

TEST_F(TextViews, SummaryViewsStayReadOnly) {
    const Rect r{180, 20, 280, 300};
    ControlRef summary = nullptr;
    ASSERT_EQ(noErr, CreateUserPaneControl(window, &r, 0x59E, &summary));
    ASSERT_EQ(noErr, SetupTextViewControl(summary, 10));
    ASSERT_EQ(noErr, UpdateSummaryTextView(summary, CFSTR("Copies: 2\rPages: All")));
    EXPECT_EQ(paramErr, UpdateSummaryTextView(summary, nullptr));
    Boolean read_only = false;
    ASSERT_EQ(noErr, GetControlData(summary, 0, kYASTControlReadOnlyTag, 1, &read_only, nullptr));
    EXPECT_TRUE(read_only);
    SetKeyboardFocus(window, summary, 1);
    PlatformTypeText(window, CFSTR("xyz"));
    PlatformTypeKey(window, kBackspaceCharCode, 0);
    EXPECT_EQ("Copies: 2\rPages: All", all_text(summary));

    // It is drawn: dark text pixels inside its frame.
    UInt32 pixel = 0;
    int dark = 0;
    for (int x = 24; x < 120; x += 2)
        for (int y = 184; y < 200; ++y)
            if (PlatformCopyWindowPixel(window, x, y, &pixel) == noErr && (pixel & 0xFF) < 0x60)
                ++dark;
    EXPECT_GT(dark, 10);
}

TEST_F(TextViews, TheFrameFollowsTheControl) {
    const Rect moved{50, 60, 200, 300};
    SetControlBounds(view, &moved);
    Rect frame{};
    TXNGetViewRect(object_of(view), &frame);
    EXPECT_EQ(62, frame.left);
    EXPECT_EQ(53, frame.top);
    EXPECT_EQ(297, frame.right);
    EXPECT_EQ(198, frame.bottom);
}

TEST_F(TextViews, DataTagsCheckTheirSizes) {
    set_text(view, "twenty-five bytes of text");
    CFStringRef s = CFSTR("other");
    EXPECT_EQ(paramErr, SetControlData(view, 0, kYASTControlAllUnicodeTextTag, 3, &s));
    EXPECT_EQ("twenty-five bytes of text", all_text(view));
    char buffer[10];
    Size actual = 0;
    ASSERT_EQ(noErr,
              GetControlData(view, 0, kYASTControlAllTextTag, sizeof(buffer), buffer, &actual));
    EXPECT_EQ(10, actual);
    EXPECT_EQ("twenty-fiv", std::string(buffer, 10));

    const YASTControlEditTextSelectionRec sel{7, 11};
    ASSERT_EQ(noErr, SetControlData(view, 0, kYASTControlSelectionRangeTag, sizeof(sel), &sel));
    ASSERT_EQ(noErr, GetControlData(view, 0, kYASTControlSelectedTextTag, sizeof(buffer), buffer,
                                    &actual));
    EXPECT_EQ("five", std::string(buffer, static_cast<size_t>(actual)));
    EXPECT_EQ(paramErr, SetControlData(view, 0, kYASTControlSelectionRangeTag, 4, &sel));
    const SInt16 tab = 24;
    EXPECT_EQ(paramErr, SetControlData(view, 0, kYASTControlTabSizeTag, 4, &tab));
    ASSERT_EQ(noErr, SetControlData(view, 0, kYASTControlTabSizeTag, sizeof(tab), &tab));
    SInt16 back = 0;
    ASSERT_EQ(noErr, GetControlData(view, 0, kYASTControlTabSizeTag, sizeof(back), &back, nullptr));
    EXPECT_EQ(24, back);
    Fixed size = 0;
    EXPECT_EQ(errDataNotSupported,
              GetControlData(view, 0, kYASTControlFontSizeTag, sizeof(size), &size, nullptr));
    EXPECT_EQ(errDataNotSupported, SetControlData(view, 0, 'zzzz', 1, "x"));
}

TEST_F(TextViews, SnapshotShowsAnEditableViewAndASummary) {
    const Rect r{180, 20, 280, 300};
    ControlRef summary = nullptr;
    ASSERT_EQ(noErr, CreateUserPaneControl(window, &r, 0x59E, &summary));
    ASSERT_EQ(noErr, SetupTextViewControl(summary, 11));
    UpdateSummaryTextView(summary, CFSTR("Summary: 2 copies, both sides\rJob: 印刷テスト"));
    SetKeyboardFocus(window, view, 1);
    PlatformTypeText(window, CFSTR("Editable text that wraps at the edge of the view, "
                                   "日本語も折り返します。"));
    ShowWindow(window);

    // The focused view has its ring just outside its bounds; the summary has none.
    auto blue = [&](int x, int y) {
        UInt32 pixel = 0;
        PlatformCopyWindowPixel(window, x, y, &pixel);
        return (pixel & 0xFF) > ((pixel >> 16) & 0xFF) + 40;
    };
    EXPECT_TRUE(blue(100, 18));
    EXPECT_FALSE(blue(100, 178));
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    const auto path =
        (build != nullptr ? std::filesystem::path(build) : std::filesystem::temp_directory_path()) /
        "text-views.png";
    ASSERT_EQ(noErr, PlatformWriteWindowPNG(window, path.c_str()));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
}

} // namespace

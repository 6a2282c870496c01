// The text engine: its text in both encodings and in paragraphs, typing
// and the movement keys through a window, selection by click and drag,
// undo, the scrap, read-only and hidden text, wrapping and scrolling.
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <CoreServices/MacMemory.h>

#include "Drawing.h"
#include "TXNInternal.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string unicode(TXNObject o, TXNOffset from = kTXNStartOffset,
                       TXNOffset to = kTXNEndOffset) {
    Handle h = nullptr;
    EXPECT_EQ(noErr, TXNGetData(o, from, to, &h));
    std::u16string out(reinterpret_cast<const char16_t*>(*h), GetHandleSize(h) / 2);
    DisposeHandle(h);
    return out;
}

std::string plain(TXNObject o) {
    Handle h = nullptr;
    EXPECT_EQ(noErr, TXNGetDataEncoded(o, kTXNStartOffset, kTXNEndOffset, &h, kTXNTextData));
    std::string out(*h, static_cast<size_t>(GetHandleSize(h)));
    DisposeHandle(h);
    return out;
}

void set_unicode(TXNObject o, const std::u16string& text) {
    ASSERT_EQ(noErr, TXNSetData(o, kTXNUnicodeTextData, text.data(), text.size() * 2,
                                kTXNStartOffset, kTXNEndOffset));
}

std::pair<TXNOffset, TXNOffset> selection(TXNObject o) {
    TXNOffset a = 0, b = 0;
    TXNGetSelection(o, &a, &b);
    return {a, b};
}

struct TextEngine : ::testing::Test {
    WindowRef window = nullptr;
    TXNObject text = nullptr;
    void SetUp() override {
        const Rect bounds{50, 50, 350, 450};
        ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
        const HIRect frame{{20, 20}, {200, 120}};
        ASSERT_EQ(noErr, TXNCreateObject(&frame, kTXNWantVScrollBarMask, &text));
        ASSERT_EQ(noErr, TXNAttachObjectToWindowRef(text, window));
        TXNFocus(text, true);
    }
    void TearDown() override {
        TXNDeleteObject(text);
        DisposeWindow(window);
    }
    // A click at a window-local point (the event record wants global ones).
    void click(short x, short y, EventModifiers modifiers = 0, UInt32 when = 1000) {
        EventRecord e{};
        e.what = mouseDown;
        e.where = Point{static_cast<short>(y + 50), static_cast<short>(x + 50)};
        e.modifiers = modifiers;
        e.when = when;
        TXNClick(text, &e);
    }
    void mouse(UInt32 kind, short x, short y) {
        EventRef e = nullptr;
        ASSERT_EQ(noErr, CreateEvent(nullptr, kEventClassMouse, kind, 0, 0, &e));
        Point p{static_cast<short>(y + 50), static_cast<short>(x + 50)};
        SetEventParameter(e, kEventParamMouseLocation, typeQDPoint, sizeof(p), &p);
        SendEventToEventTarget(e, GetWindowEventTarget(window));
        ReleaseEvent(e);
    }
    OpaqueTXNObject* inside() { return static_cast<OpaqueTXNObject*>(text); }
};

TEST_F(TextEngine, KeepsTextInBothEncodingsAndInParagraphs) {
    const std::string bytes = "Grüße\rzwei"; // the system encoding is UTF-8 here
    ASSERT_EQ(noErr, TXNSetData(text, kTXNTextData, bytes.data(), bytes.size(), kTXNStartOffset,
                                kTXNEndOffset));
    EXPECT_EQ(u"Grüße\rzwei", unicode(text));
    EXPECT_EQ(bytes, plain(text));
    EXPECT_EQ(20u, TXNDataSize(text));
    EXPECT_EQ(2u, inside()->paragraphs.size());
    EXPECT_EQ(u"e\rzw", unicode(text, 4, 8));

    // Replacing across the paragraph end joins the paragraphs.
    const std::u16string japanese = u"日本語";
    ASSERT_EQ(noErr,
              TXNSetData(text, kTXNUnicodeTextData, japanese.data(), japanese.size() * 2, 3, 7));
    EXPECT_EQ(u"Grü日本語wei", unicode(text));
    EXPECT_EQ(1u, inside()->paragraphs.size());
    EXPECT_EQ("Grü日本語wei", plain(text));
    EXPECT_EQ(kTXNDataTypeNotAllowedErr,
              TXNSetData(text, 'PICT', "x", 1, kTXNStartOffset, kTXNEndOffset));
    EXPECT_EQ(paramErr, TXNSetData(text, kTXNUnicodeTextData, "abc", 3, 0, 0));
}

TEST_F(TextEngine, TypesMovesSelectsAndUndoes) {
    CFStringRef typed = CFSTR("one two\nthree");
    ASSERT_EQ(noErr, PlatformTypeText(window, typed));
    EXPECT_EQ(u"one two\rthree", unicode(text));
    EXPECT_EQ(std::make_pair(13u, 13u), selection(text));

    PlatformTypeKey(window, kUpArrowCharCode, 0); // into the first line
    EXPECT_LT(selection(text).first, 8u);
    PlatformTypeKey(window, kHomeCharCode, 0);
    PlatformTypeKey(window, kRightArrowCharCode, shiftKey);
    PlatformTypeKey(window, kRightArrowCharCode, shiftKey);
    EXPECT_EQ(std::make_pair(0u, 2u), selection(text));
    PlatformTypeKey(window, 'O', 0);
    EXPECT_EQ(u"Oe two\rthree", unicode(text));
    PlatformTypeKey(window, kBackspaceCharCode, 0);
    PlatformTypeKey(window, kDeleteCharCode, 0);
    EXPECT_EQ(u" two\rthree", unicode(text));

    // Undo goes back step by step; typing after an undo drops the redo.
    TXNActionKey key = 99;
    ASSERT_TRUE(TXNCanUndo(text, &key));
    EXPECT_EQ(kTXNTypingAction, key);
    TXNUndo(text);
    TXNUndo(text);
    EXPECT_EQ(u"Oe two\rthree", unicode(text));
    TXNUndo(text);
    EXPECT_EQ(u"one two\rthree", unicode(text));
    EXPECT_EQ(std::make_pair(0u, 2u), selection(text));
    ASSERT_TRUE(TXNCanRedo(text, nullptr));
    TXNRedo(text);
    EXPECT_EQ(u"Oe two\rthree", unicode(text));
    TXNUndo(text);
    TXNUndo(text); // the first typing, all of it at once
    EXPECT_EQ(u"", unicode(text));
    EXPECT_FALSE(TXNCanUndo(text, nullptr));
    TXNRedo(text);
    PlatformTypeKey(window, 'x', 0);
    EXPECT_FALSE(TXNCanRedo(text, nullptr));
}

TEST_F(TextEngine, TabsAreTypedWhenTheFocusTakesThem) {
    // No control has the focus: the window's text object takes the tab.
    PlatformTypeKey(window, 'a', 0);
    PlatformTypeKey(window, kTabCharCode, 0);
    EXPECT_EQ(u"a\t", unicode(text));
    TXNFocus(text, false);
    PlatformTypeKey(window, 'b', 0);
    EXPECT_EQ(u"a\t", unicode(text));
}

TEST_F(TextEngine, ReadOnlyTextCopiesButDoesNotChange) {
    set_unicode(text, u"fixed text");
    const TXNControlTag tag = kTXNIOPrivilegesTag;
    TXNControlData data{};
    data.uValue = kTXNReadOnly;
    ASSERT_EQ(noErr, TXNSetTXNObjectControls(text, false, 1, &tag, &data));
    TXNSetSelection(text, 0, 5);
    PlatformTypeKey(window, 'z', 0);
    PlatformTypeKey(window, kBackspaceCharCode, 0);
    EXPECT_EQ(kTXNDisabledFunctionalityErr, TXNCut(text));
    EXPECT_EQ(kTXNDisabledFunctionalityErr, TXNClear(text));
    EXPECT_EQ(u"fixed text", unicode(text));
    ASSERT_EQ(noErr, TXNCopy(text));
    EXPECT_TRUE(TXNIsScrapPastable());

    // The copy pastes into another object, and undoes there.
    TXNObject other = nullptr;
    const HIRect frame{{0, 0}, {100, 50}};
    ASSERT_EQ(noErr, TXNCreateObject(&frame, 0, &other));
    set_unicode(other, u"[]");
    TXNSetSelection(other, 1, 1);
    ASSERT_EQ(noErr, TXNPaste(other));
    EXPECT_EQ(u"[fixed]", unicode(other));
    TXNUndo(other);
    EXPECT_EQ(u"[]", unicode(other));
    TXNDeleteObject(other);

    TXNControlData back{};
    ASSERT_EQ(noErr, TXNGetTXNObjectControls(text, 1, &tag, &back));
    EXPECT_EQ(1u, back.uValue);
    const TXNControlTag bad = 'zzzz';
    EXPECT_EQ(kTXNAttributeTagInvalidForRunErr,
              TXNSetTXNObjectControls(text, false, 1, &bad, &data));
}

TEST_F(TextEngine, ClicksAndDragsSelect) {
    set_unicode(text, u"alpha beta gamma");
    click(21, 25); // left edge of the first line
    EXPECT_EQ(std::make_pair(0u, 0u), selection(text));
    mouse(kEventMouseDragged, 200, 25);
    mouse(kEventMouseUp, 200, 25);
    EXPECT_GT(selection(text).second, 8u);
    EXPECT_EQ(0u, selection(text).first);
    mouse(kEventMouseDragged, 21, 25); // the drag has ended
    EXPECT_GT(selection(text).second, 8u);

    // Twice in the same place selects the word; Shift extends.
    int x = 0, y = 0, h = 0;
    hit::txn::caret_position(inside(), 8, &x, &y, &h);
    click(static_cast<short>(20 + x), static_cast<short>(20 + y + h / 2), 0, 2000);
    click(static_cast<short>(20 + x), static_cast<short>(20 + y + h / 2), 0, 2010);
    mouse(kEventMouseUp, static_cast<short>(20 + x), static_cast<short>(20 + y + h / 2));
    EXPECT_EQ(std::make_pair(6u, 10u), selection(text));
    click(21, 25, shiftKey, 3000);
    EXPECT_EQ(std::make_pair(0u, 6u), selection(text));
}

TEST_F(TextEngine, WrapsLongParagraphsInAnyScript) {
    std::u16string line;
    for (int i = 0; i < 40; ++i)
        line += u"日本語のテキスト";
    set_unicode(text, line);
    EXPECT_EQ(1u, inside()->paragraphs.size());
    TXNSetSelection(text, 0, 0);
    PlatformTypeKey(window, kDownArrowCharCode, 0);
    const TXNOffset below = selection(text).first;
    EXPECT_GT(below, 0u); // a second line of the same paragraph
    EXPECT_LT(below, line.size() / 4);
    EXPECT_GT(hit::txn::content_height(inside()), 120); // taller than the view
}

TEST_F(TextEngine, ScrollsToTheSelectionAndWithTheScrollBar) {
    std::u16string lines;
    for (int i = 0; i < 200; ++i)
        lines += u"line\r";
    set_unicode(text, lines);
    EXPECT_EQ(0, inside()->scroll_y);
    TXNShowSelection(text, kTXNShowEnd); // the caret is at the end
    const int bottom = inside()->scroll_y;
    EXPECT_GT(bottom, 1000);
    TXNSetSelection(text, 0, 0);
    TXNShowSelection(text, kTXNShowStart);
    EXPECT_EQ(0, inside()->scroll_y);

    // A click in the track below the thumb pages down; the thumb drags.
    click(210, 130);
    EXPECT_GT(inside()->scroll_y, 80);
    click(210, 25); // on the thumb near the top
    mouse(kEventMouseDragged, 210, 200);
    mouse(kEventMouseUp, 210, 200);
    EXPECT_GE(inside()->scroll_y, bottom);
    EXPECT_EQ(hit::txn::content_height(inside()) - 120, inside()->scroll_y);
}

TEST_F(TextEngine, DrawsTextUnlessHidden) {
    UInt32 pixel = 0;
    PlatformCopyWindowPixel(window, 0, 0, &pixel); // the window's first paint
    set_unicode(text, u"████████");
    auto dark_pixels = [&] {
        int dark = 0;
        for (int x = 21; x < 120; x += 2)
            for (int y = 21; y < 40; y += 2)
                if (PlatformCopyWindowPixel(window, x, y, &pixel) == noErr && (pixel & 0xFF) < 0x60)
                    ++dark;
        return dark;
    };
    ASSERT_EQ(noErr, TXNDrawObject(text, nullptr, kTXNDrawItemAllMask));
    EXPECT_GT(dark_pixels(), 20);

    const TXNControlTag tag = kTXNVisibilityTag;
    TXNControlData hidden{};
    ASSERT_EQ(noErr, TXNSetTXNObjectControls(text, false, 1, &tag, &hidden));
    // What was drawn stays until the window repaints; hidden text does not return.
    hit::invalidate_window_rect(window, Rect{0, 0, 300, 400});
    ASSERT_EQ(noErr, TXNDrawObject(text, nullptr, kTXNDrawItemAllMask));
    EXPECT_EQ(0, dark_pixels());
}

} // namespace

namespace {

TEST(TextEngineWindow, AnObjectOutlivesItsWindow) {
    WindowRef window = nullptr;
    const Rect bounds{50, 50, 150, 250};
    ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
    const HIRect frame{{0, 0}, {100, 50}};
    TXNObject text = nullptr;
    ASSERT_EQ(noErr, TXNCreateObject(&frame, 0, &text));
    ASSERT_EQ(noErr, TXNAttachObjectToWindowRef(text, window));
    TXNFocus(text, true);
    DisposeWindow(window);
    // It keeps its text and no longer draws into the window that went.
    ASSERT_EQ(noErr, TXNSetData(text, kTXNTextData, "still here", 10, 0, kTXNEndOffset));
    EXPECT_EQ(20u, TXNDataSize(text));
    EXPECT_EQ(errInvalidWindowRef, TXNDrawObject(text, nullptr, kTXNDrawItemAllMask));
    TXNDeleteObject(text);
}

} // namespace

// Keystrokes and the keyboard focus: typing into edit text fields through
// their key filters, the editing keys, locked fields, the events a key
// sends on its way, and how the focus moves, skips and is lost.
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <CoreServices/OSUtils.h>
#include <CoreServices/PlatformHost.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A filter like an ID field's: refuses ',', '/' and ':' and caps the text
// at gCap bytes, letting the editing keys through when the field is full.
int gCap = 4;

ControlKeyFilterResult id_filter(ControlRef field, SInt16*, SInt16* charCode, EventModifiers*) {
    const SInt16 c = *charCode;
    ControlEditTextSelectionRec sel{};
    GetControlData(field, 0, kControlEditTextSelectionTag, sizeof(sel), &sel, nullptr);
    Size length = 0;
    GetControlDataSize(field, 0, kControlEditTextTextTag, &length);
    const bool full = length >= gCap && sel.selStart == sel.selEnd;
    const bool editing = c == kBackspaceCharCode || c == kDeleteCharCode ||
                         c == kLeftArrowCharCode || c == kRightArrowCharCode;
    if ((full && !editing) || c == ',' || c == '/' || c == ':') {
        SysBeep(10);
        return kControlKeyFilterBlockKey;
    }
    return kControlKeyFilterPassKey;
}

ControlKeyFilterResult upper_filter(ControlRef, SInt16*, SInt16* charCode, EventModifiers*) {
    if (*charCode >= 'a' && *charCode <= 'z')
        *charCode = static_cast<SInt16>(*charCode - 'a' + 'A');
    return kControlKeyFilterPassKey;
}

struct Keys : ::testing::Test {
    void SetUp() override {
        const Rect bounds{100, 100, 400, 600};
        ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
    }
    void TearDown() override { DisposeWindow(window); }

    ControlRef field(const char* text = "", ControlKeyFilterUPP filter = nullptr,
                     bool password = false) {
        const Rect r{10, 10, 30, 200};
        CFStringRef s = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
        ControlRef c = nullptr;
        EXPECT_EQ(noErr, CreateEditTextControl(window, &r, s, password, false, nullptr, &c));
        CFRelease(s);
        if (filter != nullptr)
            SetControlData(c, 0, kControlEditTextKeyFilterTag, sizeof(filter), &filter);
        return c;
    }
    std::string text(ControlRef c, ResType tag = kControlEditTextPasswordCFStringTag) {
        CFStringRef s = nullptr;
        GetControlData(c, 0, tag, sizeof(s), &s, nullptr);
        char buffer[256] = {};
        CFStringGetCString(s, buffer, sizeof(buffer), kCFStringEncodingUTF8);
        CFRelease(s);
        return buffer;
    }
    ControlEditTextSelectionRec selection(ControlRef c) {
        ControlEditTextSelectionRec sel{};
        GetControlData(c, 0, kControlEditTextSelectionTag, sizeof(sel), &sel, nullptr);
        return sel;
    }
    void type(const char* s) {
        CFStringRef t = CFStringCreateWithCString(nullptr, s, kCFStringEncodingUTF8);
        EXPECT_EQ(noErr, PlatformTypeText(window, t));
        CFRelease(t);
    }
    void key(UniChar c, UInt32 modifiers = 0) { PlatformTypeKey(window, c, modifiers); }
    ControlRef focus() {
        ControlRef c = nullptr;
        GetKeyboardFocus(window, &c);
        return c;
    }

    WindowRef window = nullptr;
};

// The character code is Mac Roman, where "ł" is "?"; the current event has what was typed.
std::u16string gSeen;

ControlKeyFilterResult seeing_filter(ControlRef, SInt16*, SInt16*, EventModifiers*) {
    EventRef event = GetCurrentEvent();
    ByteCount size = 0;
    gSeen.clear();
    if (event != nullptr && GetEventClass(event) == kEventClassTextInput &&
        GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr, 0, &size,
                          nullptr) == noErr) {
        gSeen.resize(size / sizeof(UniChar));
        GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr, size,
                          nullptr, gSeen.data());
    }
    return kControlKeyFilterPassKey;
}

TEST_F(Keys, AKeyFilterFindsTheTypedTextInTheCurrentEvent) {
    EXPECT_EQ(nullptr, GetCurrentEvent());
    ControlRef id = field("", seeing_filter);
    ASSERT_EQ(noErr, SetKeyboardFocus(window, id, kControlFocusNextPart));
    type("\xC5\x82"); // ł
    EXPECT_EQ(u"\u0142", gSeen);
    EXPECT_EQ(nullptr, GetCurrentEvent());
}

TEST_F(Keys, TypingGoesThroughTheKeyFilterWhichRefusesAndCaps) {
    ControlRef id = field("", id_filter);
    ASSERT_EQ(noErr, SetKeyboardFocus(window, id, kControlFocusNextPart));
    const unsigned long beeps = PlatformGetBeepCount();
    type("ab,c/d:e");
    EXPECT_EQ("abcd", text(id)); // ',', '/', ':' refused; 'e' beyond the cap of 4
    EXPECT_EQ(beeps + 4, PlatformGetBeepCount());

    // A full field still takes the editing keys, and room made is typed into.
    key(kLeftArrowCharCode);
    key(kBackspaceCharCode);
    EXPECT_EQ("abd", text(id));
    type("X");
    EXPECT_EQ("abXd", text(id));
    key(kRightArrowCharCode);
    key(kBackspaceCharCode);
    key(kBackspaceCharCode);
    EXPECT_EQ("ab", text(id));

    // A selection is replaced, so typing over it passes a full field.
    SetControlData(id, 0, kControlEditTextTextTag, 4, "wxyz");
    ControlEditTextSelectionRec all{0, 4};
    SetControlData(id, 0, kControlEditTextSelectionTag, sizeof(all), &all);
    type("Q");
    EXPECT_EQ("Q", text(id));
    EXPECT_EQ(1, selection(id).selStart);
}

TEST_F(Keys, EditingKeysMoveAndDeleteAsExpected) {
    ControlRef f = field("héllo");
    SetKeyboardFocus(window, f, kControlEditTextPart);
    EXPECT_EQ(0, selection(f).selStart); // gaining the focus selects everything
    EXPECT_EQ(5, selection(f).selEnd);
    key(kLeftArrowCharCode); // collapses to the start
    EXPECT_EQ(0, selection(f).selEnd);
    key(kDeleteCharCode); // forward delete
    EXPECT_EQ("éllo", text(f));
    key(kBackspaceCharCode); // nothing before the caret
    EXPECT_EQ("éllo", text(f));
    key(kEndCharCode);
    key(kBackspaceCharCode);
    key(kRightArrowCharCode); // already at the end
    type("ö\n\t");            // Return and Tab are not inserted
    EXPECT_EQ("éllö", text(f));
    EXPECT_EQ(4, selection(f).selStart);
}

TEST_F(Keys, FiltersMayChangeTheKeyAndPasswordsKeepClearText) {
    ControlRef f = field("", upper_filter, true);
    SetKeyboardFocus(window, f, kControlFocusNextPart);
    type("ab1");
    EXPECT_EQ("AB1", text(f));
    EXPECT_EQ("\u2022\u2022\u2022", text(f, kControlEditTextCFStringTag));
}

TEST_F(Keys, LockedFieldsBeepAndKeepTheirText) {
    ControlRef f = field("fixed");
    Boolean locked = true;
    SetControlData(f, 0, kControlEditTextLockedTag, sizeof(locked), &locked);
    SetKeyboardFocus(window, f, kControlFocusNextPart);
    const unsigned long beeps = PlatformGetBeepCount();
    type("x");
    key(kBackspaceCharCode);
    key(kEndCharCode); // moving is still allowed, silently
    key(kLeftArrowCharCode);
    EXPECT_EQ("fixed", text(f));
    EXPECT_EQ(beeps + 2, PlatformGetBeepCount());
    EXPECT_EQ(4, selection(f).selStart);
}

// The events a key sends, in order, as seen by handlers on the field and the window.
std::vector<std::string> gEvents;
OSStatus log_event(EventHandlerCallRef call, EventRef event, void* who) {
    const UInt32 kind = GetEventKind(event);
    std::string name = GetEventClass(event) == kEventClassTextInput ? "text"
                       : kind == kEventRawKeyDown                   ? "down"
                                                                    : "up";
    gEvents.push_back(static_cast<const char*>(who) + (" " + name));
    // Like an input limiter: let a digit through to the field by hand, swallow others.
    if (GetEventClass(event) == kEventClassTextInput) {
        UniChar c = 0;
        GetEventParameter(event, kEventParamTextInputSendText, typeUnicodeText, nullptr, sizeof(c),
                          nullptr, &c);
        return c >= '0' && c <= '9' ? CallNextEventHandler(call, event) : OSStatus{noErr};
    }
    return eventNotHandledErr;
}

TEST_F(Keys, KeysReachTheFocusFirstAndKeyUpFollows) {
    ControlRef f = field();
    const EventTypeSpec keys[] = {{kEventClassKeyboard, kEventRawKeyDown},
                                  {kEventClassKeyboard, kEventRawKeyUp},
                                  {kEventClassTextInput, kEventTextInputUnicodeForKeyEvent}};
    InstallControlEventHandler(f, log_event, 3, keys, const_cast<char*>("field"), nullptr);
    InstallWindowEventHandler(window, log_event, 2, keys, const_cast<char*>("window"), nullptr);
    SetKeyboardFocus(window, f, kControlFocusNextPart);
    gEvents.clear();
    type("7a");
    const std::vector<std::string> expected = {
        "field down", "window down", "field text", "field up", "window up",
        "field down", "window down", "field text", "field up", "window up"};
    EXPECT_EQ(expected, gEvents);
    EXPECT_EQ("7", text(f)); // the handler swallowed the letter
}

TEST_F(Keys, TabMovesTheFocusInOrderSkippingWhatCannotTakeIt) {
    ControlRef a = field("a"), b = field("b"), c = field("c"), d = field("d");
    ControlRef button = nullptr;
    const Rect r{0, 0, 20, 80};
    CreatePushButtonControl(window, &r, CFSTR("OK"), &button);
    EXPECT_EQ(errControlDoesntSupportFocus,
              SetKeyboardFocus(window, button, kControlFocusNextPart));
    HideControl(b);
    DisableControl(c);
    EXPECT_EQ(errControlHiddenOrDisabled, SetKeyboardFocus(window, b, kControlFocusNextPart));

    EXPECT_EQ(nullptr, focus());
    key(kTabCharCode);
    EXPECT_EQ(a, focus());
    key(kTabCharCode);
    EXPECT_EQ(d, focus());
    key(kTabCharCode); // wraps around
    EXPECT_EQ(a, focus());
    key(kTabCharCode, shiftKey);
    EXPECT_EQ(d, focus());
    EXPECT_EQ(noErr, ReverseKeyboardFocus(window));
    EXPECT_EQ(a, focus());
    EXPECT_EQ("a", text(a)); // Tab is never typed
}

TEST_F(Keys, FocusIsLostWithTheControlAndGainedByAClick) {
    ControlRef pane = nullptr;
    const Rect r{0, 0, 100, 300};
    CreateUserPaneControl(window, &r, kControlSupportsEmbedding, &pane);
    ControlRef a = field("abc"), b = field("xyz");
    EmbedControl(a, pane);

    // A click gives an edit text field the focus with the caret at the end.
    EXPECT_EQ(noErr, PlatformClickControl(a));
    EXPECT_EQ(a, focus());
    EXPECT_EQ(3, selection(a).selStart);
    EXPECT_EQ(3, selection(a).selEnd);
    EXPECT_NE(std::string::npos,
              [&] {
                  char* dump = nullptr;
                  size_t size = 0;
                  FILE* out = open_memstream(&dump, &size);
                  PlatformWriteWindowDump(window, out);
                  std::fclose(out);
                  std::string s(dump, size);
                  std::free(dump);
                  return s;
              }()
                  .find("focus text=\"abc\" sel=3..3"));

    HideControl(pane); // hiding an embedder takes the focus from what it holds
    EXPECT_EQ(nullptr, focus());
    ShowControl(pane);
    SetKeyboardFocus(window, a, kControlFocusNextPart);
    DisableControl(a);
    EXPECT_EQ(nullptr, focus());

    SetKeyboardFocus(window, b, kControlFocusNextPart);
    DisposeControl(b);
    EXPECT_EQ(nullptr, focus());
    type("q"); // nowhere to go: nothing happens
    EXPECT_EQ(noErr, ClearKeyboardFocus(window));
    EXPECT_EQ(errCouldntSetFocus, AdvanceKeyboardFocus(window)); // a is disabled
}

} // namespace

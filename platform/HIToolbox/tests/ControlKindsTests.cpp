// The control kinds: their kind signatures, and for each kind the data tags
// it answers (round trips, the sizes Carbon uses, the errors for wrong
// sizes and unknown tags, and who owns what a tag hands out).
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include "ControlKinds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string utf8(CFStringRef s) {
    char buffer[512] = {};
    if (s != nullptr)
        CFStringGetCString(s, buffer, sizeof(buffer), kCFStringEncodingUTF8);
    return buffer;
}

struct Kinds : ::testing::Test {
    void SetUp() override {
        const Rect bounds{100, 100, 400, 600};
        ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
    }
    void TearDown() override { DisposeWindow(window); }

    // The text a CFString tag hands out (released here, as its caller must).
    std::string string_tag(ControlRef c, ResType tag) {
        CFStringRef s = nullptr;
        Size actual = 0;
        EXPECT_EQ(noErr, GetControlData(c, 0, tag, sizeof(s), &s, &actual));
        EXPECT_EQ(static_cast<Size>(sizeof(CFStringRef)), actual);
        std::string text = utf8(s);
        if (s != nullptr) {
            EXPECT_EQ(1, CFGetRetainCount(s)); // a new reference, the caller's alone
            CFRelease(s);
        }
        return text;
    }
    OSStatus set_string(ControlRef c, ResType tag, CFStringRef s) {
        return SetControlData(c, 0, tag, sizeof(s), &s);
    }
    std::string dump() {
        char* text = nullptr;
        size_t size = 0;
        FILE* out = open_memstream(&text, &size);
        PlatformWriteWindowDump(window, out);
        std::fclose(out);
        std::string result(text, size);
        std::free(text);
        return result;
    }

    WindowRef window = nullptr;
    const Rect r{10, 10, 30, 200};
};

TEST_F(Kinds, EachKindReportsItsSignatureAndIsFoundByIt) {
    ControlRef c[9] = {};
    ASSERT_EQ(noErr, CreateStaticTextControl(window, &r, CFSTR("s"), nullptr, &c[0]));
    ASSERT_EQ(noErr, CreateEditTextControl(window, &r, nullptr, false, false, nullptr, &c[1]));
    ASSERT_EQ(noErr, CreateEditUnicodeTextControl(window, &r, nullptr, true, nullptr, &c[2]));
    ASSERT_EQ(noErr, CreateCheckBoxControl(window, &r, CFSTR("c"), 1, true, &c[3]));
    ASSERT_EQ(noErr, CreateRadioButtonControl(window, &r, CFSTR("r"), 0, true, &c[4]));
    ASSERT_EQ(noErr, CreatePopupButtonControl(window, &r, nullptr, -12345, false, 0, 0, 0, &c[5]));
    ASSERT_EQ(noErr, CreateTabsControl(window, &r, 0, 0, 0, nullptr, &c[6]));
    ASSERT_EQ(noErr, CreateGroupBoxControl(window, &r, CFSTR("Group"), true, &c[7]));
    ASSERT_EQ(noErr, CreateSeparatorControl(window, &r, &c[8]));
    const OSType expected[] = {
        kControlKindStaticText, kControlKindEditText,    kControlKindEditUnicodeText,
        kControlKindCheckBox,   kControlKindRadioButton, kControlKindPopupButton,
        kControlKindTabs,       kControlKindGroupBox,    kControlKindSeparator};
    for (int i = 0; i < 9; ++i) {
        ControlKind kind{};
        ASSERT_EQ(noErr, GetControlKind(c[i], &kind));
        EXPECT_EQ(static_cast<OSType>(kControlKindSignatureApple), kind.signature);
        EXPECT_EQ(expected[i], kind.kind);
        const hit::ControlKindClass* found = hit::find_control_kind(kind);
        ASSERT_NE(nullptr, found);
        EXPECT_EQ(c[i]->kind_class, found);
    }
    // Check boxes and radio buttons hold 0, 1 or 2 (mixed).
    EXPECT_EQ(2, GetControl32BitMaximum(c[3]));
    EXPECT_EQ(1, GetControl32BitValue(c[3]));
    EXPECT_EQ(2, GetControl32BitMaximum(c[4]));
    // A group box holds the controls it groups; a separator holds nothing.
    EXPECT_EQ(noErr, EmbedControl(c[3], c[7]));
    EXPECT_EQ(errControlIsNotEmbedder, EmbedControl(c[4], c[8]));
}

TEST_F(Kinds, StaticTextTagsRoundTripWithCarbonSizes) {
    ControlRef label = nullptr;
    ASSERT_EQ(noErr, CreateStaticTextControl(window, &r, CFSTR("Label"), nullptr, &label));
    EXPECT_EQ("Label", string_tag(label, kControlStaticTextCFStringTag));

    // The control keeps a copy: changing the caller's mutable string later changes nothing.
    CFMutableStringRef text = CFStringCreateMutableCopy(nullptr, 0, CFSTR("Größe"));
    EXPECT_EQ(noErr, set_string(label, kControlStaticTextCFStringTag, text));
    CFStringAppend(text, CFSTR("!"));
    CFRelease(text);
    EXPECT_EQ("Größe", string_tag(label, kControlStaticTextCFStringTag));

    // Bytes in the system encoding (UTF-8 here): the full size is reported,
    // a short buffer gets a prefix, never more than it holds.
    char bytes[4] = {'x', 'x', 'x', 'x'};
    Size actual = 0;
    EXPECT_EQ(noErr, GetControlData(label, 0, kControlStaticTextTextTag, 3, bytes, &actual));
    EXPECT_EQ(7, actual); // "Größe": ö and ß take two bytes each
    EXPECT_EQ(0, std::memcmp(bytes, "Gr\xC3x", 4));
    EXPECT_EQ(noErr, GetControlDataSize(label, 0, kControlStaticTextTextTag, &actual));
    EXPECT_EQ(7, actual);

    EXPECT_EQ(noErr, SetControlData(label, 0, kControlStaticTextTextTag, 2, "OKAY"));
    EXPECT_EQ("OK", string_tag(label, kControlStaticTextCFStringTag));
    EXPECT_EQ(paramErr, SetControlData(label, 0, kControlStaticTextTextTag, 2, "\xC3\x28"));
    EXPECT_EQ("OK", string_tag(label, kControlStaticTextCFStringTag));

    // Wrong sizes and foreign tags give Carbon's statuses.
    CFStringRef s = nullptr;
    EXPECT_EQ(errDataSizeMismatch,
              GetControlData(label, 0, kControlStaticTextCFStringTag, 4, &s, &actual));
    EXPECT_EQ(errDataSizeMismatch, SetControlData(label, 0, kControlStaticTextCFStringTag, 4, &s));
    EXPECT_EQ(errDataNotSupported, SetControlData(label, 0, kControlEditTextSelectionTag, 4, &s));
    ControlFontStyleRec style{kControlUseSizeMask, 0, 11, 0, 0, 0, {}, {}};
    EXPECT_EQ(24u, sizeof(style));
    EXPECT_EQ(noErr, SetControlData(label, 0, kControlStaticTextStyleTag, sizeof(style), &style));
    ControlFontStyleRec back{};
    EXPECT_EQ(noErr, GetControlData(label, 0, kControlFontStyleTag, sizeof(back), &back, &actual));
    EXPECT_EQ(11, back.size);
    EXPECT_EQ(errDataSizeMismatch,
              SetControlData(label, 0, kControlStaticTextStyleTag, sizeof(style) - 1, &style));
}

TEST_F(Kinds, EditTextTextSelectionFilterAndLock) {
    ControlRef field = nullptr;
    ASSERT_EQ(noErr, CreateEditTextControl(window, &r, CFSTR("abc"), false, true, nullptr, &field));
    EXPECT_EQ("abc", string_tag(field, kControlEditTextCFStringTag));
    ControlEditTextSelectionRec sel{-1, -1};
    Size actual = 0;
    ASSERT_EQ(noErr,
              GetControlData(field, 0, kControlEditTextSelectionTag, sizeof(sel), &sel, &actual));
    EXPECT_EQ(4, actual); // two SInt16
    EXPECT_EQ(3, sel.selStart);
    EXPECT_EQ(3, sel.selEnd);

    // Out-of-range and reversed selections are clamped and ordered.
    sel = {32767, 1};
    ASSERT_EQ(noErr, SetControlData(field, 0, kControlEditTextSelectionTag, sizeof(sel), &sel));
    GetControlData(field, 0, kControlEditTextSelectionTag, sizeof(sel), &sel, nullptr);
    EXPECT_EQ(1, sel.selStart);
    EXPECT_EQ(3, sel.selEnd);
    EXPECT_EQ(errDataSizeMismatch, SetControlData(field, 0, kControlEditTextSelectionTag, 8, &sel));

    UInt32 count = 0;
    EXPECT_EQ(noErr,
              GetControlData(field, 0, kControlEditTextCharCount, sizeof(count), &count, nullptr));
    EXPECT_EQ(3u, count);
    EXPECT_EQ(errDataNotSupported,
              SetControlData(field, 0, kControlEditTextCharCount, sizeof(count), &count));

    // The key filter travels as one pointer-sized procedure pointer.
    ControlKeyFilterUPP filter = [](ControlRef, SInt16*, SInt16*, EventModifiers*) {
        return ControlKeyFilterResult{kControlKeyFilterPassKey};
    };
    EXPECT_EQ(errDataSizeMismatch,
              SetControlData(field, 0, kControlEditTextKeyFilterTag, 4, &filter));
    EXPECT_EQ(noErr,
              SetControlData(field, 0, kControlEditTextKeyFilterTag, sizeof(filter), &filter));
    ControlKeyFilterUPP back = nullptr;
    EXPECT_EQ(noErr, GetControlData(field, 0, kControlKeyFilterTag, sizeof(back), &back, &actual));
    EXPECT_EQ(filter, back);
    EXPECT_EQ(static_cast<Size>(sizeof(void*)), actual);

    Boolean locked = true;
    EXPECT_EQ(noErr, SetControlData(field, 0, kControlEditTextLockedTag, sizeof(locked), &locked));
    locked = false;
    GetControlData(field, 0, kControlEditTextLockedTag, sizeof(locked), &locked, nullptr);
    EXPECT_TRUE(locked);

    // Setting the text puts the caret after it.
    EXPECT_EQ(noErr, SetControlData(field, 0, kControlEditTextTextTag, 5, "hello"));
    GetControlData(field, 0, kControlEditTextSelectionTag, sizeof(sel), &sel, nullptr);
    EXPECT_EQ(5, sel.selStart);
    EXPECT_EQ(5, sel.selEnd);
}

TEST_F(Kinds, PasswordFieldShowsBulletsButKeepsTheClearText) {
    ControlRef field = nullptr;
    ASSERT_EQ(noErr, CreateEditTextControl(window, &r, nullptr, true, false, nullptr, &field));
    ASSERT_EQ(noErr, set_string(field, kControlEditTextPasswordCFStringTag, CFSTR("s3cr3t")));
    EXPECT_EQ("s3cr3t", string_tag(field, kControlEditTextPasswordCFStringTag));
    EXPECT_EQ("\u2022\u2022\u2022\u2022\u2022\u2022",
              string_tag(field, kControlEditTextCFStringTag));

    // The byte tags give the clear text, so byte counts are those typed.
    char clear[16] = {};
    Size actual = 0;
    EXPECT_EQ(noErr,
              GetControlData(field, 0, kControlEditTextPasswordTag, sizeof(clear), clear, &actual));
    EXPECT_EQ(6, actual);
    EXPECT_STREQ("s3cr3t", clear);
    std::memset(clear, 0, sizeof(clear));
    EXPECT_EQ(noErr, GetControlData(field, 0, kControlEditTextTextTag, 4, clear, &actual));
    EXPECT_EQ(6, actual);
    EXPECT_STREQ("s3cr", clear);

    // People and logs see bullets only.
    const std::string text = dump();
    EXPECT_EQ(std::string::npos, text.find("s3cr3t"));
    EXPECT_NE(std::string::npos, text.find("password"));
}

TEST_F(Kinds, PopupMenuTagsOwnTheirReferencesOnce) {
    ControlRef popup = nullptr;
    ASSERT_EQ(noErr,
              CreatePopupButtonControl(window, &r, CFSTR("Type:"), -12345, false, 0, 0, 0, &popup));
    MenuRef menu = nullptr;
    Size actual = 0;
    ASSERT_EQ(noErr, GetControlData(popup, 0, kControlPopupButtonMenuRefTag, sizeof(menu), &menu,
                                    &actual));
    EXPECT_EQ(nullptr, menu); // -12345: no menu yet
    EXPECT_EQ(static_cast<Size>(sizeof(MenuRef)), actual);

    ASSERT_EQ(noErr, CreateNewMenu(200, 0, &menu));
    AppendMenuItemTextWithCFString(menu, CFSTR("One"), 0, 0, nullptr);
    AppendMenuItemTextWithCFString(menu, CFSTR("Two"), 0, 0, nullptr);
    EXPECT_EQ(errDataSizeMismatch,
              SetControlData(popup, 0, kControlPopupButtonMenuRefTag, 4, &menu));
    ASSERT_EQ(noErr, SetControlData(popup, 0, kControlPopupButtonMenuRefTag, sizeof(menu), &menu));
    EXPECT_EQ(2u, GetMenuRetainCount(menu)); // the popup retains a menu it is lent
    EXPECT_EQ(2, GetControl32BitMaximum(popup));
    SInt16 id = 0;
    EXPECT_EQ(noErr,
              GetControlData(popup, 0, kControlPopupButtonMenuIDTag, sizeof(id), &id, nullptr));
    EXPECT_EQ(200, id);
    SetControl32BitValue(popup, 2);
    EXPECT_NE(std::string::npos,
              dump().find("text=\"Two\" title=\"Type:\" items=[\"One\",\"Two\"]"));

    // An owned menu takes the caller's reference; the lent one is let go.
    MenuRef owned = nullptr;
    ASSERT_EQ(noErr, CreateNewMenu(201, 0, &owned));
    RetainMenu(owned); // keep one to watch it
    ASSERT_EQ(noErr,
              SetControlData(popup, 0, kControlPopupButtonOwnedMenuRefTag, sizeof(owned), &owned));
    EXPECT_EQ(1u, GetMenuRetainCount(menu));
    EXPECT_EQ(2u, GetMenuRetainCount(owned));
    EXPECT_EQ(0, GetControl32BitMaximum(popup));
    DisposeControl(popup);
    EXPECT_EQ(1u, GetMenuRetainCount(owned)); // disposal released the popup's
    ReleaseMenu(owned);
    ReleaseMenu(menu);

    // Any other menu ID gives the popup an empty menu of its own under that ID.
    ASSERT_EQ(noErr, CreatePopupButtonControl(window, &r, nullptr, 300, false, 0, 0, 0, &popup));
    GetControlData(popup, 0, kControlPopupButtonOwnedMenuRefTag, sizeof(menu), &menu, nullptr);
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(300, GetMenuID(menu));
    EXPECT_EQ(0, CountMenuItems(menu));
}

TEST_F(Kinds, TabsKeepNamesAndEnablingPerTab) {
    ControlTabEntry entries[] = {{nullptr, CFSTR("General"), true},
                                 {nullptr, CFSTR("More"), false}};
    ControlRef tabs = nullptr;
    ASSERT_EQ(noErr, CreateTabsControl(window, &r, kControlTabSizeLarge, kControlTabDirectionNorth,
                                       2, entries, &tabs));
    EXPECT_EQ(1, GetControl32BitValue(tabs));
    EXPECT_EQ(2, GetControl32BitMaximum(tabs));

    ControlTabInfoRecV1 info{kControlTabInfoVersionOne, 0, CFSTR("Extra")};
    ASSERT_EQ(noErr, SetControlData(tabs, 2, kControlTabInfoTag, sizeof(info), &info));
    ControlTabInfoRecV1 back{kControlTabInfoVersionOne, 0, nullptr};
    ASSERT_EQ(noErr, GetControlData(tabs, 2, kControlTabInfoTag, sizeof(back), &back, nullptr));
    EXPECT_EQ("Extra", utf8(back.name));
    CFRelease(back.name);

    // The old record carries a Mac Roman Pascal string.
    ControlTabInfoRec old{kControlTabInfoVersionZero, 0, {}};
    ASSERT_EQ(noErr, GetControlData(tabs, 1, kControlTabInfoTag, sizeof(old), &old, nullptr));
    EXPECT_EQ(7, old.name[0]);
    EXPECT_EQ(0, std::memcmp(old.name + 1, "General", 7));

    Boolean enabled = true;
    EXPECT_EQ(noErr, GetControlData(tabs, 2, kControlTabEnabledFlagTag, sizeof(enabled), &enabled,
                                    nullptr));
    EXPECT_FALSE(enabled);
    EXPECT_EQ(errInvalidPartCode, GetControlData(tabs, 3, kControlTabEnabledFlagTag,
                                                 sizeof(enabled), &enabled, nullptr));
    EXPECT_EQ(errDataSizeMismatch, SetControlData(tabs, 1, kControlTabInfoTag, 6, &info));
}

OSStatus record_part(EventHandlerCallRef, EventRef event, void* parts) {
    ControlPartCode part = kControlNoPart;
    GetEventParameter(event, kEventParamControlPart, typeControlPartCode, nullptr, sizeof(part),
                      nullptr, &part);
    *static_cast<std::string*>(parts) += static_cast<char>('0' + part);
    return eventNotHandledErr;
}

// A press of the mouse picks the tab under it (as the row of tabs is drawn, centred), never a
// disabled one, and one beside the tabs or below them picks nothing.
TEST_F(Kinds, APressPicksTheTabUnderIt) {
    ControlTabEntry entries[] = {{nullptr, CFSTR("One"), true},
                                 {nullptr, CFSTR("Second"), true},
                                 {nullptr, CFSTR("Off"), false},
                                 {nullptr, CFSTR("Fourth"), true}};
    const Rect bounds{20, 20, 200, 480};
    ControlRef tabs = nullptr;
    ASSERT_EQ(noErr, CreateTabsControl(window, &bounds, kControlTabSizeLarge,
                                       kControlTabDirectionNorth, 4, entries, &tabs));
    std::string hits; // the part of each kEventControlHit
    const EventTypeSpec hit = {kEventClassControl, kEventControlHit};
    ASSERT_EQ(noErr, InstallEventHandler(GetControlEventTarget(tabs), record_part, 1, &hit, &hits,
                                         nullptr));
    std::string picked; // the tabs chosen as the presses go left to right
    int presses = 0;
    for (short h = bounds.left; h < bounds.right; h += 2, ++presses) {
        const size_t before = hits.size();
        PlatformPressMouse(window, Point{static_cast<short>(bounds.top + 10), h}, 0, 1);
        PlatformReleaseMouse(window, Point{static_cast<short>(bounds.top + 10), h});
        if (hits.size() == before)
            continue;
        ASSERT_EQ('0' + GetControl32BitValue(tabs), hits.back());
        if (picked.empty() || picked.back() != hits.back())
            picked += hits.back();
    }
    EXPECT_EQ("124", picked);
    EXPECT_LT(static_cast<int>(hits.size()), presses - 10); // the row's ends and "Off" pick none
    SetControl32BitValue(tabs, 2);
    const size_t before = hits.size();
    PlatformPressMouse(window, Point{120, 250}, 0, 1); // in the pane, below the tabs
    EXPECT_EQ(2, GetControl32BitValue(tabs));
    EXPECT_EQ(before, hits.size());
}

} // namespace

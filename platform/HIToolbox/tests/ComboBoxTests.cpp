// The combo box: its list (counted, edited, opened and picked from), its text
// typed through the key filter and text-input handlers like an edit text's,
// the pick's event, its nib kind, its dump and its drawn list.
#include "NibInternal.h"

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string text_of(CFStringRef s) {
    char buffer[256] = {};
    CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8);
    return buffer;
}

std::string item(HIViewRef combo, CFIndex index) {
    CFStringRef s = nullptr;
    if (HIComboBoxCopyTextItemAtIndex(combo, index, &s) != noErr)
        return "<none>";
    const std::string t = text_of(s);
    CFRelease(s);
    return t;
}

std::string field_text(ControlRef c) {
    CFStringRef s = nullptr;
    GetControlData(c, 0, kControlEditTextCFStringTag, sizeof(s), &s, nullptr);
    const std::string t = text_of(s);
    CFRelease(s);
    return t;
}

ControlKeyFilterResult no_spaces(ControlRef, SInt16*, SInt16* charCode, EventModifiers*) {
    return *charCode == ' ' ? kControlKeyFilterBlockKey : kControlKeyFilterPassKey;
}

struct Seen {
    int text_inputs = 0;
    int picks = 0;
    CFIndex picked = -1;
};

OSStatus watch(EventHandlerCallRef, EventRef event, void* data) {
    auto* seen = static_cast<Seen*>(data);
    if (GetEventClass(event) == kEventClassTextInput) {
        ++seen->text_inputs;
    } else {
        ++seen->picks;
        GetEventParameter(event, kEventParamComboBoxListSelectedItemIndex, typeCFIndex, nullptr,
                          sizeof(seen->picked), nullptr, &seen->picked);
    }
    return eventNotHandledErr;
}

struct Combo : ::testing::Test {
    void SetUp() override {
        const Rect bounds{100, 100, 300, 400};
        ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
        const void* values[] = {CFSTR("Letter"), CFSTR("A4")};
        CFArrayRef list = CFArrayCreate(nullptr, values, 2, &kCFTypeArrayCallBacks);
        const HIRect r{{10, 10}, {200, 22}};
        ASSERT_EQ(noErr, HIComboBoxCreate(&r, CFSTR("Letter"), nullptr, list,
                                          kHIComboBoxStandardAttributes, &combo));
        CFRelease(list);
        ASSERT_EQ(noErr, HIViewAddSubview(HIViewGetRoot(window), combo));
        // Something below the field, for the open list to cover.
        const Rect below{40, 10, 60, 210};
        CreatePushButtonControl(window, &below, CFSTR("Below"), &button);
        ShowWindow(window);
    }
    void TearDown() override { DisposeWindow(window); }

    WindowRef window = nullptr;
    HIViewRef combo = nullptr;
    ControlRef button = nullptr;
};

TEST_F(Combo, ItsListIsCountedEditedAndCopied) {
    EXPECT_EQ(2u, HIComboBoxGetItemCount(combo));
    CFIndex index = -1;
    EXPECT_EQ(noErr, HIComboBoxAppendTextItem(combo, CFSTR("Legal"), &index));
    EXPECT_EQ(2, index);
    EXPECT_EQ(noErr, HIComboBoxInsertTextItemAtIndex(combo, 0, CFSTR("A3")));
    EXPECT_EQ(noErr, HIComboBoxRemoveItemAtIndex(combo, 2)); // "A4"
    EXPECT_EQ(3u, HIComboBoxGetItemCount(combo));
    EXPECT_EQ("A3", item(combo, 0));
    EXPECT_EQ("Letter", item(combo, 1));
    EXPECT_EQ("Legal", item(combo, 2));
    EXPECT_EQ(paramErr, HIComboBoxRemoveItemAtIndex(combo, 3));
    EXPECT_EQ(paramErr, HIComboBoxInsertTextItemAtIndex(combo, 5, CFSTR("x")));
    EXPECT_EQ("<none>", item(combo, -1));

    OptionBits attributes = 0;
    HIComboBoxChangeAttributes(combo, kHIComboBoxAutoSortAttribute,
                               kHIComboBoxAutoCompletionAttribute);
    HIComboBoxGetAttributes(combo, &attributes);
    EXPECT_EQ(static_cast<OptionBits>(kHIComboBoxAutoDisclosureAttribute |
                                      kHIComboBoxAutoSizeListAttribute |
                                      kHIComboBoxAutoSortAttribute),
              attributes);
    // One never added to a window goes with its last reference; a list must hold strings.
    const HIRect r{{0, 0}, {100, 22}};
    HIViewRef loose = nullptr;
    ASSERT_EQ(noErr, HIComboBoxCreate(&r, nullptr, nullptr, nullptr, 0, &loose));
    EXPECT_EQ(0u, HIComboBoxGetItemCount(loose));
    CFRelease(loose);
    const void* numbers[] = {CFSTR("A5"), kCFBooleanTrue};
    CFArrayRef bad = CFArrayCreate(nullptr, numbers, 2, &kCFTypeArrayCallBacks);
    EXPECT_EQ(paramErr, HIComboBoxCreate(&r, nullptr, nullptr, bad, 0, &loose));
    CFRelease(bad);
    // Not a combo box: nothing to count, nothing to change.
    EXPECT_EQ(0u, HIComboBoxGetItemCount(button));
    EXPECT_EQ(paramErr, HIComboBoxAppendTextItem(button, CFSTR("x"), nullptr));
}

TEST_F(Combo, ItsTextIsTypedLikeAnEditTextsThroughFilterAndHandlers) {
    Seen seen;
    const EventTypeSpec events[] = {{kEventClassTextInput, kEventTextInputUnicodeForKeyEvent},
                                    {kEventClassHIComboBox, kEventComboBoxListItemSelected}};
    InstallControlEventHandler(combo, watch, 2, events, &seen, nullptr);
    ControlKeyFilterUPP filter = no_spaces;
    SetControlData(combo, 0, kControlEditTextKeyFilterTag, sizeof(filter), &filter);
    ASSERT_EQ(noErr, SetKeyboardFocus(window, combo, kControlFocusNextPart));
    EXPECT_EQ(noErr, PlatformTypeText(window, CFSTR("B 5")));
    EXPECT_EQ("B5", field_text(combo)); // the focus selected "Letter"; the space was filtered
    EXPECT_EQ(3, seen.text_inputs);     // handlers see each key before the filter does
    PlatformTypeKey(window, kBackspaceCharCode, 0);
    EXPECT_EQ("B", field_text(combo));
    EXPECT_EQ(noErr, PlatformPasteText(window, CFSTR(" x")));
    EXPECT_EQ("B x", field_text(combo));
    EXPECT_EQ(0, seen.picks);
}

TEST_F(Combo, PickingFromTheOpenListSetsTheTextClosesTheListAndTellsTheBox) {
    Seen seen;
    const EventTypeSpec pick{kEventClassHIComboBox, kEventComboBoxListItemSelected};
    InstallControlEventHandler(combo, watch, 1, &pick, &seen, nullptr);

    UInt32 closed = 0, open = 0;
    PlatformCopyWindowPixel(window, 150, 55, &closed); // on the button below
    EXPECT_EQ(noErr, HIComboBoxSetListVisible(combo, true));
    EXPECT_TRUE(HIComboBoxIsListVisible(combo));
    PlatformCopyWindowPixel(window, 150, 55, &open); // the list covers it now
    EXPECT_NE(closed, open);
    EXPECT_EQ(0xFFFFFFFFu, open);
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    const std::string png = std::string(build != nullptr ? build : "/tmp") + "/combo-open.png";
    EXPECT_EQ(noErr, PlatformWriteWindowPNG(window, png.c_str()));

    EXPECT_EQ(noErr, PlatformChoosePopupItem(combo, 2));
    EXPECT_EQ("A4", field_text(combo));
    EXPECT_FALSE(HIComboBoxIsListVisible(combo));
    EXPECT_EQ(1, seen.picks);
    EXPECT_EQ(1, seen.picked);
    UInt32 again = 0;
    PlatformCopyWindowPixel(window, 150, 55, &again);
    EXPECT_EQ(closed, again);
    EXPECT_EQ(menuItemNotFoundErr, PlatformChoosePopupItem(combo, 3));
    EXPECT_EQ(1, seen.picks);

    // An open list closes when the focus moves on.
    HIComboBoxSetListVisible(combo, true);
    SetKeyboardFocus(window, nullptr, kControlFocusNoPart);
    EXPECT_FALSE(HIComboBoxIsListVisible(combo));
    EXPECT_EQ(1, seen.picks); // closing picks nothing
}

TEST(ComboNib, TheNibKindMakesABoxWithItsEntriesThatAScriptPicksFrom) {
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    const std::filesystem::path dir =
        (build != nullptr ? std::filesystem::path(build) : std::filesystem::temp_directory_path()) /
        "test-combo";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "combo.nib") << R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- synthetic test data -->
<nib version="1">
  <window name="Size" title="Size" class="movable-modal" bounds="100,100,200,400">
    <control kind="combo-box" id="TVKa:7" bounds="10,10,32,210" title="Letter">
      <item title="Letter"/>
      <item title="A4"/>
    </control>
    <control kind="push-button" id="TVKa:1" bounds="60,200,80,280" title="OK" command="ok  "
             default="true"/>
  </window>
</nib>
)";
    std::ofstream(dir / "combo.script") << "# synthetic test data\n"
                                           "open-list TVKa:7\n"
                                           "dump combo-open.txt\n"
                                           "choose TVKa:7 \"A4\"\n"
                                           "expect-text TVKa:7 \"A4\"\n"
                                           "dump combo.txt\n"
                                           "snapshot combo.png\n"
                                           "key return\n";
    IBNibRef nib = nullptr;
    ASSERT_EQ(noErr, hit::nib::open_nib_file((dir / "combo.nib").string(), &nib));
    WindowRef window = nullptr;
    ASSERT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("Size"), &window));
    DisposeNibReference(nib);
    const ControlID id{0x54564B61, 7};
    HIViewRef combo = nullptr;
    ASSERT_EQ(noErr, GetControlByID(window, &id, &combo));
    EXPECT_EQ(2u, HIComboBoxGetItemCount(combo));

    const EventTypeSpec command{kEventClassCommand, kEventCommandProcess};
    InstallWindowEventHandler(
        window,
        [](EventHandlerCallRef, EventRef, void* w) -> OSStatus {
            QuitAppModalLoopForWindow(static_cast<WindowRef>(w));
            return noErr;
        },
        1, &command, window, nullptr);
    ShowWindow(window);
    PlatformEventSource source{};
    ASSERT_EQ(noErr, PlatformCreateScriptEventSource((dir / "combo.script").c_str(), dir.c_str(),
                                                     &source));
    PlatformSetEventSource(&source);
    EXPECT_EQ(noErr, RunAppModalLoopForWindow(window));
    PlatformSetEventSource(nullptr);
    std::ifstream open_dump(dir / "combo-open.txt");
    const std::string open_text((std::istreambuf_iterator<char>(open_dump)), {});
    EXPECT_NE(std::string::npos, open_text.find("items=[Letter|A4] list-open")) << open_text;
    std::ifstream dump(dir / "combo.txt");
    const std::string text((std::istreambuf_iterator<char>(dump)), {});
    EXPECT_NE(std::string::npos,
              text.find("'TVKa'/7 combo box bounds={10,10,32,210} visible enabled"))
        << text;
    EXPECT_NE(std::string::npos, text.find("text=\"A4\" sel=2..2 items=[Letter|A4]")) << text;
    DisposeWindow(window);
}

} // namespace

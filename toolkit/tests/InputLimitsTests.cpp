// Limited text fields as a person types into them: the key that would overflow is refused with
// a beep, a selection makes room, editing keys always pass, a character set refuses foreign
// characters, and the field hears whether its text is empty, too short or long enough.
#include "InputLimits.h"

#include <CoreServices/PlatformHost.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void silent_beep(short, void*) {}

OSStatus record_notification(EventHandlerCallRef, EventRef event, void* data) {
    const UInt32 kind = GetEventKind(event);
    ControlRef subject = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof(subject),
                      nullptr, &subject);
    auto* seen = static_cast<std::vector<std::string>*>(data);
    const char code[5] = {char(kind >> 24), char(kind >> 16), char(kind >> 8), char(kind), 0};
    seen->push_back(subject != nullptr ? code : "no subject");
    return noErr;
}

struct Limits : ::testing::Test {
    void SetUp() override {
        const Rect bounds{100, 100, 300, 500};
        ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
        const Rect r{10, 10, 30, 200};
        ASSERT_EQ(noErr,
                  CreateEditTextControl(window, &r, CFSTR(""), false, false, nullptr, &field));
        const EventTypeSpec notes[] = {{kEventClassInputLimit, kEventInputTextEmpty},
                                       {kEventClassInputLimit, kEventInputTextTooShort},
                                       {kEventClassInputLimit, kEventInputTextLongEnough}};
        InstallControlEventHandler(field, record_notification, 3, notes, &seen, nullptr);
        SetKeyboardFocus(window, field, kControlFocusNextPart);
        PlatformSetBeepHandler(silent_beep, nullptr);
    }
    void TearDown() override {
        PlatformSetBeepHandler(nullptr, nullptr);
        if (window != nullptr)
            DisposeWindow(window);
    }
    void type(const char* s) {
        CFStringRef t = CFStringCreateWithCString(nullptr, s, kCFStringEncodingUTF8);
        EXPECT_EQ(noErr, PlatformTypeText(window, t));
        CFRelease(t);
    }
    void key(UniChar c) { PlatformTypeKey(window, c, 0); }
    std::string text() {
        CFStringRef s = nullptr;
        GetControlData(field, 0, kControlEditTextCFStringTag, sizeof(s), &s, nullptr);
        char buffer[256] = {};
        CFStringGetCString(s, buffer, sizeof(buffer), kCFStringEncodingUTF8);
        CFRelease(s);
        return buffer;
    }
    void set_text(CFStringRef s) {
        SetControlData(field, 0, kControlEditTextCFStringTag, sizeof(s), &s);
    }
    void select(SInt16 start, SInt16 end) {
        ControlEditTextSelectionRec sel{start, end};
        SetControlData(field, 0, kControlEditTextSelectionTag, sizeof(sel), &sel);
    }
    unsigned long beeps_since(unsigned long before) { return PlatformGetBeepCount() - before; }

    WindowRef window = nullptr;
    ControlRef field = nullptr;
    std::vector<std::string> seen;
};

TEST_F(Limits, AFullFieldRefusesALetterButTakesOneOverASelectionAndTheEditingKeys) {
    LimitInputLengthAndCharacters(field, 0, 4, nullptr);
    const unsigned long before = PlatformGetBeepCount();
    type("abcde");
    EXPECT_EQ("abcd", text());
    EXPECT_EQ(1u, beeps_since(before)); // only the fifth letter

    select(1, 3); // "bc": 4 - 2 + 1 = 3
    type("X");
    EXPECT_EQ("aXd", text());
    type("YZ");
    EXPECT_EQ("aXYd", text());
    EXPECT_EQ(2u, beeps_since(before)); // Z: the field is full again

    key(kLeftArrowCharCode);
    key(kBackspaceCharCode);
    key(kReturnCharCode);
    EXPECT_EQ("aYd", text());
    EXPECT_EQ(2u, beeps_since(before));
}

TEST_F(Limits, ADigitsOnlyFieldRefusesLettersButNotPastedText) {
    CFCharacterSetRef digits =
        CFCharacterSetCreateWithCharactersInString(nullptr, CFSTR("0123456789"));
    LimitInputLengthAndCharacters(field, 0, 0, digits);
    CFRelease(digits);
    const unsigned long before = PlatformGetBeepCount();
    type("1a2");
    EXPECT_EQ("12", text());
    EXPECT_EQ(1u, beeps_since(before));
    set_text(CFSTR("12abc")); // what a paste does: the handler never sees it
    EXPECT_EQ("12abc", text());
}

TEST_F(Limits, TheFieldHearsWhetherItsTextIsEmptyTooShortOrLongEnough) {
    LimitInputLengthAndCharacters(field, 3, 0, nullptr);
    type("abc");
    key(kBackspaceCharCode);
    key(kBackspaceCharCode);
    key(kBackspaceCharCode);
    EXPECT_EQ((std::vector<std::string>{"ICfw", "ICfw", "ICso", "ICfw", "ICfw", "ICno"}), seen);

    // A refused key sends nothing; without a minimum one character is enough.
    seen.clear();
    LimitInputLengthAndCharacters(field, 0, 1, nullptr);
    type("xy");
    EXPECT_EQ((std::vector<std::string>{"ICso"}), seen);
}

TEST_F(Limits, ASecondCallReplacesTheFirstLimitsAndHandler) {
    CFCharacterSetRef letters = CFCharacterSetCreateWithCharactersInString(nullptr, CFSTR("ab"));
    LimitInputLengthAndCharacters(field, 2, 2, letters);
    LimitInputLengthAndCharacters(field, 0, 3, nullptr);
    type("xyzw");
    EXPECT_EQ("xyz", text());                // the second limits only
    EXPECT_EQ(3u, seen.size());              // one notification per key: one handler
    EXPECT_EQ(1, CFGetRetainCount(letters)); // the first set went with its limit
    CFRelease(letters);
}

TEST_F(Limits, DisposingOfTheFieldReleasesItsCharacterSetExactlyOnce) {
    CFCharacterSetRef digits = CFCharacterSetCreateWithCharactersInString(nullptr, CFSTR("01"));
    LimitInputLengthAndCharacters(field, 0, 0, digits);
    LimitInputLengthAndCharacters(field, 0, 0, digits); // the same set again
    EXPECT_EQ(2, CFGetRetainCount(digits));
    DisposeWindow(window);
    window = nullptr;
    EXPECT_EQ(1, CFGetRetainCount(digits));
    CFRelease(digits);
}

TEST_F(Limits, APickFromAComboBoxListIsLongEnoughWhateverItsLength) {
    LimitInputLengthAndCharacters(field, 10, 0, nullptr);
    EventRef pick = nullptr;
    ASSERT_EQ(noErr, CreateEvent(nullptr, kEventClassHIComboBox, kEventComboBoxListItemSelected, 0,
                                 kEventAttributeNone, &pick));
    SendEventToEventTarget(pick, GetControlEventTarget(field));
    ReleaseEvent(pick);
    EXPECT_EQ((std::vector<std::string>{"ICso"}), seen);
}

TEST(LimitsOnAComboBox, TypingIsLimitedAndAPickFromItsListIsLongEnough) {
    const Rect bounds{100, 100, 300, 500};
    WindowRef window = nullptr;
    ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
    const void* entries[] = {CFSTR("A4"), CFSTR("Tabloid")};
    CFArrayRef list = CFArrayCreate(nullptr, entries, 2, &kCFTypeArrayCallBacks);
    const HIRect r{{10, 10}, {200, 22}};
    HIViewRef combo = nullptr;
    ASSERT_EQ(noErr, HIComboBoxCreate(&r, nullptr, nullptr, list, 0, &combo));
    CFRelease(list);
    HIViewAddSubview(HIViewGetRoot(window), combo);
    std::vector<std::string> seen;
    const EventTypeSpec notes[] = {{kEventClassInputLimit, kEventInputTextTooShort},
                                   {kEventClassInputLimit, kEventInputTextLongEnough}};
    InstallControlEventHandler(combo, record_notification, 2, notes, &seen, nullptr);
    LimitInputLengthAndCharacters(combo, 3, 4, nullptr);
    SetKeyboardFocus(window, combo, kControlFocusNextPart);
    PlatformSetBeepHandler(silent_beep, nullptr);
    const unsigned long before = PlatformGetBeepCount();
    PlatformTypeText(window, CFSTR("Ledger"));
    EXPECT_EQ(2u, PlatformGetBeepCount() - before);
    EXPECT_EQ(noErr, PlatformChoosePopupItem(combo, 2)); // longer than the maximum: a pick
    PlatformSetBeepHandler(nullptr, nullptr);
    EXPECT_EQ((std::vector<std::string>{"ICfw", "ICfw", "ICso", "ICso", "ICso"}), seen);
    DisposeWindow(window);
}

} // namespace

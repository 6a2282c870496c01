// Clicks: what the standard handling of a click changes for each kind, the
// hit that follows and its propagation, the command a control sends to its
// window, and the controls that ignore clicks.
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr OSType kSig = 0x54564B61; // 'TVKa'

struct Seen {
    std::vector<std::string> log;
    OSStatus result = eventNotHandledErr;
    HICommand command{};
};

SInt32 id_of(ControlRef c) {
    ControlID id{};
    GetControlID(c, &id);
    return id.id;
}

OSStatus record(EventHandlerCallRef, EventRef event, void* data) {
    auto* seen = static_cast<Seen*>(data);
    if (GetEventClass(event) == kEventClassCommand) {
        GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                          sizeof(seen->command), nullptr, &seen->command);
        seen->log.push_back("command");
        return seen->result;
    }
    ControlRef control = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof(control),
                      nullptr, &control);
    ControlPartCode part = 0;
    GetEventParameter(event, kEventParamControlPart, typeControlPartCode, nullptr, sizeof(part),
                      nullptr, &part);
    seen->log.push_back("hit " + std::to_string(id_of(control)) + " part " + std::to_string(part) +
                        " value " + std::to_string(GetControl32BitValue(control)));
    return seen->result;
}

const EventTypeSpec kEvents[] = {{kEventClassControl, kEventControlHit},
                                 {kEventClassCommand, kEventCommandProcess}};

struct Clicks : ::testing::Test {
    void SetUp() override {
        const Rect bounds{100, 100, 400, 600};
        ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
        ASSERT_EQ(noErr,
                  InstallWindowEventHandler(window, record, 2, kEvents, &at_window, nullptr));
    }
    void TearDown() override { DisposeWindow(window); }
    ControlRef with_id(ControlRef c, SInt32 id) {
        const ControlID cid{kSig, id};
        SetControlID(c, &cid);
        return c;
    }
    ControlRef check_box(SInt32 id, SInt32 value, bool auto_toggle = true) {
        ControlRef c = nullptr;
        EXPECT_EQ(noErr, CreateCheckBoxControl(window, &r, CFSTR("Mask"), value, auto_toggle, &c));
        return with_id(c, id);
    }
    ControlRef radio(SInt32 id, SInt32 value) {
        ControlRef c = nullptr;
        EXPECT_EQ(noErr, CreateRadioButtonControl(window, &r, CFSTR("Prompt"), value, true, &c));
        return with_id(c, id);
    }
    ControlRef popup(SInt32 id, std::initializer_list<const char*> items) {
        ControlRef c = nullptr;
        EXPECT_EQ(noErr, CreatePopupButtonControl(window, &r, nullptr, 128, false, 0, 0, 0, &c));
        MenuRef menu = nullptr;
        GetControlData(c, 0, kControlPopupButtonMenuRefTag, sizeof(menu), &menu, nullptr);
        for (const char* item : items) {
            CFStringRef s = CFStringCreateWithCString(nullptr, item, kCFStringEncodingUTF8);
            AppendMenuItemTextWithCFString(menu, s, 0, 0, nullptr);
            CFRelease(s);
        }
        SetControl32BitMaximum(c, CountMenuItems(menu));
        return with_id(c, id);
    }

    WindowRef window = nullptr;
    Seen at_window;
    const Rect r{10, 10, 30, 200};
};

TEST_F(Clicks, CheckBoxesToggleAndRadioButtonsTurnOnBeforeTheHit) {
    ControlRef mask = check_box(111, 0);
    ControlRef mixed = check_box(112, kControlCheckBoxMixedValue);
    ControlRef manual = check_box(113, 0, false);
    ControlRef prompt = radio(110, 0);
    EXPECT_EQ(noErr, PlatformClickControl(mask));
    EXPECT_EQ(noErr, PlatformClickControl(mask));
    EXPECT_EQ(noErr, PlatformClickControl(mixed));
    EXPECT_EQ(noErr, PlatformClickControl(manual));
    EXPECT_EQ(noErr, PlatformClickControl(prompt));
    EXPECT_EQ(noErr, PlatformClickControl(prompt)); // stays on
    const std::vector<std::string> expected = {
        "hit 111 part 11 value 1", "hit 111 part 11 value 0", "hit 112 part 11 value 0",
        "hit 113 part 11 value 0", "hit 110 part 12 value 1", "hit 110 part 12 value 1"};
    EXPECT_EQ(expected, at_window.log);
}

TEST_F(Clicks, HiddenDisabledAndInactiveControlsIgnoreClicks) {
    ControlRef box = check_box(111, 0);
    ControlRef pane = nullptr;
    CreateUserPaneControl(window, &r, kControlSupportsEmbedding, &pane);
    EmbedControl(box, pane);

    DisableControl(pane); // disabled through its embedder
    EXPECT_EQ(errControlHiddenOrDisabled, PlatformClickControl(box));
    // A click event sent by other means is swallowed all the same.
    EventRef click = nullptr;
    CreateEvent(nullptr, kEventClassControl, kEventControlClick, 0, 0, &click);
    SetEventParameter(click, kEventParamDirectObject, typeControlRef, sizeof(box), &box);
    EXPECT_EQ(noErr, SendEventToEventTarget(click, GetControlEventTarget(box)));
    EnableControl(pane);
    HideControl(box);
    EXPECT_EQ(errControlHiddenOrDisabled, PlatformClickControl(box));
    ShowControl(box);
    DeactivateControl(box);
    EXPECT_EQ(errControlHiddenOrDisabled, PlatformClickControl(box));
    EXPECT_TRUE(at_window.log.empty());
    EXPECT_EQ(0, GetControl32BitValue(box));

    ActivateControl(box);
    EXPECT_EQ(noErr, SendEventToEventTarget(click, GetControlEventTarget(box)));
    ReleaseEvent(click);
    EXPECT_EQ(1, GetControl32BitValue(box));
    EXPECT_EQ(paramErr, PlatformClickControl(nullptr));
}

TEST_F(Clicks, PopupsTakeTheChosenEnabledItem) {
    ControlRef system = popup(101, {"None", "Accounting Enabled", "Off"});
    MenuRef menu = nullptr;
    GetControlData(system, 0, kControlPopupButtonMenuRefTag, sizeof(menu), &menu, nullptr);
    DisableMenuItem(menu, 3);

    EXPECT_EQ(noErr, PlatformChoosePopupItem(system, 2));
    EXPECT_EQ(2, GetControl32BitValue(system));
    EXPECT_EQ(menuItemNotFoundErr, PlatformChoosePopupItem(system, 4));
    EXPECT_EQ(menuItemNotFoundErr, PlatformChoosePopupItem(system, 0));
    EXPECT_EQ(errControlHiddenOrDisabled, PlatformChoosePopupItem(system, 3));
    // A plain click picks nothing: the menu is dismissed and nothing is hit.
    EXPECT_EQ(noErr, PlatformClickControl(system));
    EXPECT_EQ(2, GetControl32BitValue(system));
    EXPECT_EQ(std::vector<std::string>{"hit 101 part 2 value 2"}, at_window.log);
    // Only controls with items can choose one.
    EXPECT_EQ(paramErr, PlatformChoosePopupItem(check_box(111, 0), 1));
}

TEST_F(Clicks, HitsPropagateAndAHandlerThatTakesOneStopsTheCommand) {
    ControlRef pane = nullptr;
    CreateUserPaneControl(window, &r, kControlSupportsEmbedding, &pane);
    ControlRef print = nullptr;
    ASSERT_EQ(noErr, CreatePushButtonControl(window, &r, CFSTR("Print"), &print));
    with_id(print, 1);
    EmbedControl(print, pane);
    SetControlCommandID(print, kHICommandOK);
    Seen at_pane;
    InstallControlEventHandler(pane, record, 1, kEvents, &at_pane, nullptr);

    EXPECT_EQ(noErr, PlatformClickControl(print));
    EXPECT_EQ(std::vector<std::string>{"hit 1 part 10 value 0"}, at_pane.log);
    EXPECT_EQ((std::vector<std::string>{"hit 1 part 10 value 0", "command"}), at_window.log);
    EXPECT_EQ(static_cast<UInt32>(kHICommandOK), at_window.command.commandID);
    EXPECT_EQ(static_cast<UInt32>(kHICommandFromControl), at_window.command.attributes);
    // The control rides in the command's source, where HICommandExtended has it.
    HICommandExtended extended{};
    static_assert(sizeof(extended) == sizeof(HICommand));
    std::memcpy(&extended, &at_window.command, sizeof(extended));
    EXPECT_EQ(print, extended.source.control);

    // A handler on the way that takes the hit keeps the command from being sent.
    at_window.log.clear();
    at_pane.result = noErr;
    EXPECT_EQ(noErr, PlatformClickControl(print));
    EXPECT_TRUE(at_window.log.empty());
}

TEST_F(Clicks, ReturnAndEscapeClickTheDefaultAndCancelButtons) {
    ControlRef ok = nullptr, cancel = nullptr;
    CreatePushButtonControl(window, &r, CFSTR("OK"), &ok);
    CreatePushButtonControl(window, &r, CFSTR("Cancel"), &cancel);
    with_id(ok, 1);
    with_id(cancel, 2);
    SetControlCommandID(cancel, kHICommandCancel);
    SetWindowDefaultButton(window, ok);
    SetWindowCancelButton(window, cancel);

    EXPECT_EQ(noErr, PlatformTypeKey(window, kReturnCharCode, 0));
    EXPECT_EQ(noErr, PlatformTypeKey(window, kEnterCharCode, 0));
    EXPECT_EQ(noErr, PlatformTypeKey(window, kEscapeCharCode, 0));
    EXPECT_EQ(noErr, PlatformTypeKey(window, '.', cmdKey));
    const std::vector<std::string> expected = {"hit 1 part 10 value 0", "hit 1 part 10 value 0",
                                               "hit 2 part 10 value 0", "command",
                                               "hit 2 part 10 value 0", "command"};
    EXPECT_EQ(expected, at_window.log);
    EXPECT_EQ(static_cast<UInt32>(kHICommandCancel), at_window.command.commandID);

    // A disabled default button does not answer Return.
    at_window.log.clear();
    DisableControl(ok);
    PlatformTypeKey(window, kReturnCharCode, 0);
    EXPECT_TRUE(at_window.log.empty());
}

} // namespace

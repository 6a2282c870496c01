// Scripts of user actions: the parser's checks (file and line for every bad
// line), and playing a script against a real window through a modal loop,
// with the errors that stop it.
#include "Script.h"

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <CoreServices/MacMemory.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr OSType kSig = 0x54564B61; // 'TVKa'

std::filesystem::path work_dir() {
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    auto dir =
        (build != nullptr ? std::filesystem::path(build) : std::filesystem::temp_directory_path()) /
        "test-scripts" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::create_directories(dir); // a folder per test: ctest runs them in parallel
    return dir;
}

std::string write_script(const std::string& name, const std::string& text) {
    const auto path = work_dir() / name;
    std::ofstream(path) << "# synthetic test data\n" << text;
    return path.string();
}

TEST(ScriptParser, ReadsStepsAndTheirArguments) {
    hit::script::Script script;
    std::string error;
    const std::string text = "  # a comment\n"
                             "\n"
                             "type TVKa:501 \"say \\\"hi\\\"\\n\"  # trailing comment\n"
                             "choose \"Type\" 2\n"
                             "choose TVKa:-3 \"General Account\"\n"
                             "key escape\n"
                             "expect-value TVKa:1 -4\n"
                             "dump out.txt\n";
    ASSERT_TRUE(hit::script::parse(text, "s.script", script, error)) << error;
    ASSERT_EQ(6u, script.steps.size());
    const hit::script::Step& type = script.steps[0];
    EXPECT_EQ(3, type.line);
    EXPECT_TRUE(type.control.by_id);
    EXPECT_EQ(kSig, type.control.id.signature);
    EXPECT_EQ(501, type.control.id.id);
    EXPECT_EQ("say \"hi\"\n", type.text);
    EXPECT_FALSE(script.steps[1].control.by_id);
    EXPECT_EQ("Type", script.steps[1].control.title);
    EXPECT_TRUE(script.steps[1].by_number);
    EXPECT_EQ(2, script.steps[1].number);
    EXPECT_EQ(-3, script.steps[2].control.id.id);
    EXPECT_FALSE(script.steps[2].by_number);
    EXPECT_EQ(kEscapeCharCode, script.steps[3].key);
    EXPECT_EQ(-4, script.steps[4].number);
    EXPECT_TRUE(hit::script::is_action(hit::script::Verb::key));
    EXPECT_FALSE(hit::script::is_action(script.steps[5].verb));
}

TEST(ScriptParser, BadLinesNameTheFileAndLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"wiggle TVKa:1", "s.script:2: unknown action (the actions: click,"},
        {"12345678", "s.script:2: unknown action"},
        {"click", "s.script:2: click takes 1 argument, not 0"},
        {"click TVKa:1 TVKa:2", "s.script:2: click takes 1 argument, not 2"},
        {"click OK", "s.script:2: expected a control"},
        {"click TVK:1", "s.script:2: expected a control"},
        {"type TVKa:1 12345678", "s.script:2: expected a text in quotes"},
        {"type TVKa:1 \"open", "s.script:2: a string is not closed"},
        {"type TVKa:1 \"a\\qb\"", "s.script:2: unknown escape"},
        {"choose TVKa:1 0", "s.script:2: expected an item"},
        {"key 12345678", "s.script:2: unknown key (return"},
        {"expect-value TVKa:1 A12345678", "s.script:2: expected a whole number"},
        {"dump 12345678/x", "s.script:2: expected a plain file name"},
        {"dump ../x.txt", "s.script:2: expected a plain file name"},
        {"answer-alert OK", "s.script:2: expected a text in quotes"},
        {"command synch", "s.script:2: expected a command of four characters"},
    };
    for (const auto& [line, expected] : cases) {
        hit::script::Script script;
        std::string error;
        EXPECT_FALSE(hit::script::parse(std::string("click TVKa:1\n") + line + "\nclick TVKa:2\n",
                                        "s.script", script, error));
        EXPECT_EQ(0u, error.rfind(expected, 0)) << "got: " << error;
        EXPECT_EQ(std::string::npos, error.find("12345678")) << "a code was echoed: " << error;
    }
}

// A dialog like those the panel runs: a label, a field whose key filter
// refuses digits, a check box, a popup, a hidden and a disabled button, and
// OK and Cancel that end the loop.
struct ScriptPlay : testing::Test {
    WindowRef window = nullptr;
    ControlRef label = nullptr, field = nullptr, check = nullptr, popup = nullptr;
    ControlRef hidden = nullptr, disabled = nullptr, ok = nullptr;
    int ok_clicks = 0;

    static ControlKeyFilterResult no_digits(ControlRef, SInt16*, SInt16* charCode,
                                            EventModifiers*) {
        return *charCode >= '0' && *charCode <= '9' ? kControlKeyFilterBlockKey
                                                    : kControlKeyFilterPassKey;
    }
    static OSStatus on_hit(EventHandlerCallRef, EventRef event, void* data) {
        auto* self = static_cast<ScriptPlay*>(data);
        ControlRef control = nullptr;
        GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof(control),
                          nullptr, &control);
        if (control == self->ok) {
            ++self->ok_clicks;
            QuitAppModalLoopForWindow(self->window);
        }
        return eventNotHandledErr;
    }
    void give_id(ControlRef control, SInt32 id) {
        const ControlID control_id{kSig, id};
        SetControlID(control, &control_id);
    }
    void SetUp() override {
        const Rect content{100, 100, 300, 400};
        CreateNewWindow(kMovableModalWindowClass, 0, &content, &window);
        SetWindowTitleWithCFString(window, CFSTR("Codes"));
        const Rect r1{10, 10, 26, 100}, r2{10, 110, 30, 290}, r3{40, 10, 58, 200},
            r4{70, 10, 90, 200}, r5{150, 20, 170, 100}, r6{150, 110, 170, 190},
            r7{150, 200, 170, 280};
        CreateStaticTextControl(window, &r1, CFSTR("User ID"), nullptr, &label);
        CreateEditUnicodeTextControl(window, &r2, CFSTR(""), false, nullptr, &field);
        CreateCheckBoxControl(window, &r3, CFSTR("Mask"), 0, true, &check);
        CreatePopupButtonControl(window, &r4, CFSTR("Type"), 1, false, -1, 0, 0, &popup);
        CreatePushButtonControl(window, &r5, CFSTR("Hidden"), &hidden);
        CreatePushButtonControl(window, &r6, CFSTR("Disabled"), &disabled);
        CreatePushButtonControl(window, &r7, CFSTR("OK"), &ok);
        MenuRef menu = nullptr;
        GetControlData(popup, 0, kControlPopupButtonMenuRefTag, sizeof(menu), &menu, nullptr);
        AppendMenuItemTextWithCFString(menu, CFSTR("Default Group Account"), 0, 0, nullptr);
        AppendMenuItemTextWithCFString(menu, CFSTR("General Account"), 0, 0, nullptr);
        SetControl32BitMaximum(popup, 2);
        SetControl32BitValue(popup, 1);
        give_id(field, 501);
        give_id(check, 111);
        give_id(popup, 505);
        HideControl(hidden);
        DisableControl(disabled);
        ControlKeyFilterUPP filter = no_digits;
        SetControlData(field, 0, kControlEditTextKeyFilterTag, sizeof(filter), &filter);
        const EventTypeSpec hit{kEventClassControl, kEventControlHit};
        InstallEventHandler(GetWindowEventTarget(window), on_hit, 1, &hit, this, nullptr);
        ShowWindow(window);
    }
    void TearDown() override {
        PlatformSetEventSource(nullptr);
        DisposeWindow(window);
    }
    // Installs the script; false (with the failure reported) when it is refused.
    bool install(const std::string& name, const std::string& text) {
        PlatformEventSource source{};
        const OSStatus status = PlatformCreateScriptEventSource(
            write_script(name, text).c_str(), work_dir().string().c_str(), &source);
        EXPECT_EQ(noErr, status);
        if (status == noErr)
            PlatformSetEventSource(&source);
        return status == noErr;
    }
    std::string field_text() {
        CFStringRef text = nullptr;
        GetControlData(field, 0, kControlEditTextCFStringTag, sizeof(text), &text, nullptr);
        char buffer[64] = "";
        CFStringGetCString(text, buffer, sizeof(buffer), kCFStringEncodingUTF8);
        CFRelease(text);
        return buffer;
    }
};

TEST_F(ScriptPlay, ActionsReachTheControlsThroughTheModalLoop) {
    ASSERT_TRUE(install("play.script", "expect-text \"User ID\" \"User ID\"\n"
                                       "type TVKa:501 \"j2d0e\"\n"
                                       "expect-text TVKa:501 \"jde\"\n"
                                       "click \"Mask\"\n"
                                       "choose TVKa:505 \"General Account\"\n"
                                       "expect-value TVKa:505 2\n"
                                       "choose TVKa:505 1\n"
                                       "focus TVKa:501\n"
                                       "key backspace\n"
                                       "dump play-dump.txt\n"
                                       "snapshot play.png\n"
                                       "click \"OK\"\n"
                                       "expect-value TVKa:111 1\n"));
    EXPECT_EQ(noErr, RunAppModalLoopForWindow(window));
    EXPECT_EQ(1, ok_clicks);
    EXPECT_EQ("jd", field_text()); // the field kept its focus and caret; backspace took the "e"
    EXPECT_EQ(1, GetControl32BitValue(check));
    EXPECT_EQ(1, GetControl32BitValue(popup));
    // The last expectation runs when the host's loop asks for more.
    EXPECT_EQ(noErr, PlatformRunEventSource());

    EXPECT_GT(std::filesystem::file_size(work_dir() / "play.png"), 100u);
    std::ifstream dump(work_dir() / "play-dump.txt");
    std::stringstream text;
    text << dump.rdbuf();
    EXPECT_EQ(0u, text.str().rfind("window \"Codes\"", 0)) << text.str();
    EXPECT_NE(std::string::npos, text.str().find("'TVKa'/501")) << text.str();
    // Dumps and snapshots show what fields hold: owner-only, like the ticket.
    for (const char* name : {"play-dump.txt", "play.png"})
        EXPECT_EQ(std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                  std::filesystem::status(work_dir() / name).permissions())
            << name;
}

TEST_F(ScriptPlay, DumpsAreNeverWrittenThroughALink) {
    const std::filesystem::path victim = work_dir() / "victim.txt", link = work_dir() / "l.txt";
    std::filesystem::remove(link);
    std::ofstream(victim) << "precious";
    std::filesystem::create_symlink(victim, link);
    ASSERT_TRUE(install("link.script", "dump l.txt\n"));
    testing::internal::CaptureStderr();
    EXPECT_NE(noErr, RunAppModalLoopForWindow(window));
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, message.find("l.txt: it is a symbolic link")) << message;
    std::ifstream in(victim);
    std::string kept;
    std::getline(in, kept);
    EXPECT_EQ("precious", kept);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

// Typing into a field replaces its text, also when the field has the focus already.
TEST_F(ScriptPlay, TypeReplacesTheFieldsText) {
    ASSERT_TRUE(install("replace.script", "type TVKa:501 \"first\"\n"
                                          "type TVKa:501 \"again\"\n"
                                          "click \"OK\"\n"));
    EXPECT_EQ(noErr, RunAppModalLoopForWindow(window));
    EXPECT_EQ("again", field_text());
}

TEST_F(ScriptPlay, AStepThatCannotBeDoneStopsTheScript) {
    const std::pair<const char*, const char*> cases[] = {
        {"click TVKa:999\n", ":3: no control TVKa:999 in window \"Codes\""},
        {"click \"Nothing\"\n", ":3: no control \"Nothing\" in window"},
        {"click \"Hidden\"\n", ":3: control \"Hidden\" is hidden"},
        {"click \"Disabled\"\n", ":3: control \"Disabled\" is disabled"},
        {"choose TVKa:505 \"Group\"\n", ":3: no item \"Group\" in TVKa:505"},
        {"expect-value TVKa:111 1\n", ":3: TVKa:111 has the value 0, not 1"},
        {"expect-text TVKa:501 \"12345678\"\n",
         ":3: TVKa:501 does not show the text expected (a field's text is not repeated"},
        {"expect-text \"User ID\" \"x\"\n", ":3: \"User ID\" shows \"User ID\", not \"x\""},
        {"answer-alert \"OK\"\n", ":3: no alert is up (the front window is \"Codes\")"},
        {"expect-notice \"Bad codes\"\n", ":3: expected a notice saying \"Bad codes\"; none came"},
    };
    for (const auto& [line, expected] : cases) {
        ASSERT_TRUE(install("fail.script", std::string("focus TVKa:501\n") + line));
        testing::internal::CaptureStderr();
        const OSStatus status = RunAppModalLoopForWindow(window);
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_NE(noErr, status);
        EXPECT_NE(std::string::npos, message.find(std::string("fail.script") + expected))
            << message;
        EXPECT_EQ(std::string::npos, message.find("12345678")) << "a code was echoed: " << message;
        EXPECT_EQ(status, PlatformRunEventSource()); // it keeps failing
    }
}

TEST_F(ScriptPlay, AnExhaustedScriptEndsTheLoopAndTheHostLoopReportsIt) {
    ASSERT_TRUE(install("short.script", "click \"Mask\"\n"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(eventLoopTimedOutErr, RunAppModalLoopForWindow(window));
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, message.find("short.script has no more actions")) << message;
    EXPECT_EQ(eventLoopTimedOutErr, PlatformRunEventSource());

    PlatformEventSource source{};
    testing::internal::CaptureStderr();
    EXPECT_EQ(fnfErr, PlatformCreateScriptEventSource("/nonexistent/x.script", nullptr, &source));
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find(
                                     "/nonexistent/x.script: the script cannot be read: No such"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(paramErr, PlatformCreateScriptEventSource("/tmp", nullptr, &source));
    EXPECT_NE(std::string::npos,
              testing::internal::GetCapturedStderr().find("/tmp: a folder, not a script"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(paramErr, PlatformCreateScriptEventSource(
                            write_script("bad.script", "click\n").c_str(), nullptr, &source));
    EXPECT_NE(std::string::npos,
              testing::internal::GetCapturedStderr().find("bad.script:2: click takes 1"));
}

// Selecting part of a text, typing at the caret and pasting: the paste passes the key filter
// that refuses the typed digits, and the beeps are counted between counts.
TEST_F(ScriptPlay, SelectKeysPasteAndBeepCounts) {
    ASSERT_TRUE(install("text.script", "type TVKa:501 \"abcdef\"\n"
                                       "select TVKa:501 1 3\n"
                                       "keys \"X9\"\n"
                                       "expect-text TVKa:501 \"aXdef\"\n"
                                       "select TVKa:501 0 1\n"
                                       "paste TVKa:501 \"12\"\n"
                                       "expect-text TVKa:501 \"12Xdef\"\n"
                                       "keys \"Z\"\n" // at the caret after the paste
                                       "expect-text TVKa:501 \"12ZXdef\"\n"
                                       "expect-beeps 0\n"
                                       "click \"OK\"\n"));
    EXPECT_EQ(noErr, RunAppModalLoopForWindow(window));
    EXPECT_EQ(noErr, PlatformRunEventSource());

    const std::pair<const char*, const char*> cases[] = {
        {"select TVKa:501 2 99\n", ":3: cannot select 2..99 of a text of"},
        {"select \"Mask\" 0 1\n", ":3: the control does not take the focus"},
        {"paste \"Mask\" \"x\"\n", ":3: the control does not take the focus"},
        {"expect-beeps 2\n", ":3: 0 beeps since the last count, not 2"},
        {"open-list \"Mask\"\n", ":3: the control is no combo box"},
    };
    for (const auto& [line, expected] : cases) {
        ASSERT_TRUE(install("fail.script", std::string("type TVKa:501 \"abcdef\"\n") + line));
        testing::internal::CaptureStderr();
        EXPECT_NE(noErr, RunAppModalLoopForWindow(window));
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_NE(std::string::npos, message.find(std::string("fail.script") + expected))
            << line << message;
    }
}

TEST_F(ScriptPlay, AlertsAndNoticesAreReadAndAnswered) {
    ASSERT_TRUE(install("alert.script", "expect-notice \"Codes missing\"\n"
                                        "expect-alert \"Not printed\"\n"
                                        "expect-text \"Not printed\" \"Not printed\"\n"
                                        "answer-alert \"Cancel\"\n"
                                        "answer-alert \"OK\"\n"));
    testing::internal::CaptureStderr();
    CFUserNotificationDisplayNotice(0, kCFUserNotificationStopAlertLevel, nullptr, nullptr, nullptr,
                                    CFSTR("Accounting"), CFSTR("Codes missing"), nullptr);
    EXPECT_NE(std::string::npos,
              testing::internal::GetCapturedStderr().find("Accounting: Codes missing"));

    AlertStdCFStringAlertParamRec param{};
    ASSERT_EQ(noErr, GetStandardAlertDefaultParams(&param, kStdCFStringAlertVersionOne));
    param.cancelText = kAlertDefaultCancelText;
    param.cancelButton = kAlertStdAlertCancelButton;
    DialogRef alert = nullptr;
    ASSERT_EQ(noErr, CreateStandardAlert(kAlertStopAlert, CFSTR("Not printed"),
                                         CFSTR("No codes were entered."), &param, &alert));
    DialogItemIndex item = 0;
    EXPECT_EQ(noErr, RunStandardAlert(alert, nullptr, &item));
    EXPECT_EQ(kAlertStdAlertCancelButton, item);

    // Default parameters: one OK button, which Return would press too.
    ASSERT_EQ(noErr,
              CreateStandardAlert(kAlertStopAlert, CFSTR("Again"), nullptr, nullptr, &alert));
    WindowRef window = GetDialogWindow(alert);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(noErr, RunStandardAlert(alert, nullptr, &item));
    EXPECT_EQ(kAlertStdAlertOKButton, item);

    // With the script spent, an alert ends at once instead of waiting forever.
    ASSERT_EQ(noErr, CreateStandardAlert(kAlertStopAlert, CFSTR("Late"), nullptr, nullptr, &alert));
    testing::internal::CaptureStderr();
    EXPECT_EQ(eventLoopTimedOutErr, RunStandardAlert(alert, nullptr, &item));
    EXPECT_EQ(0, item);
    EXPECT_NE(std::string::npos,
              testing::internal::GetCapturedStderr().find("has no more actions"));
}

} // namespace

namespace {

// A text view as the toolkit makes one: a user pane hosting a text object.
TEST_F(ScriptPlay, TextViewsAreSelectedEditedScrolledAndDumped) {
    const Rect r{100, 210, 140, 290};
    ControlRef pane = nullptr;
    ASSERT_EQ(noErr, CreateUserPaneControl(window, &r, kControlSupportsFocus, &pane));
    give_id(pane, 600);
    const HIRect frame{{212, 103}, {75, 35}};
    TXNObject text = nullptr;
    ASSERT_EQ(noErr, TXNCreateObject(&frame, kTXNWantVScrollBarMask, &text));
    ASSERT_EQ(noErr, TXNAttachObjectToWindowRef(text, window));
    std::u16string lines = u"first\r";
    for (int i = 0; i < 20; ++i)
        lines += u"more\r";
    TXNSetData(text, kTXNUnicodeTextData, lines.data(), lines.size() * 2, 0, kTXNEndOffset);
    ASSERT_TRUE(install("text.script", "type TVKa:501 \"copied\"\n"
                                       "edit select-all\n"
                                       "edit copy\n"
                                       "select TVKa:600 0 5\n"
                                       "scroll TVKa:600 4\n"
                                       "dump text-dump.txt\n"
                                       "key right\n"
                                       "edit copy\n"));
    // With nothing selected in the field, Copy is disabled: the script stops there.
    EXPECT_EQ(errControlHiddenOrDisabled, RunAppModalLoopForWindow(window));
    TXNSetSelection(text, 0, 0);
    ASSERT_EQ(noErr, TXNPaste(text));
    Handle h = nullptr;
    ASSERT_EQ(noErr, TXNGetData(text, 0, 6, &h));
    EXPECT_EQ(u"copied", std::u16string(reinterpret_cast<char16_t*>(*h), 6));
    DisposeHandle(h);
    std::ifstream dump(work_dir() / "text-dump.txt");
    std::stringstream out;
    out << dump.rdbuf();
    EXPECT_NE(std::string::npos, out.str().find("user pane bounds={100,210,140,290} visible "
                                                "enabled value=0 range=0..0 text=\"first\\x0Dmore"))
        << out.str();
    EXPECT_NE(std::string::npos, out.str().find(" sel=0..5 scroll=")) << out.str();
    EXPECT_EQ(std::string::npos, out.str().find(" scroll=0/")) << out.str();
    EXPECT_EQ(std::string::npos, out.str().find("root bounds={0,0,200,300} visible enabled text"));
    TXNDeleteObject(text);
}

} // namespace

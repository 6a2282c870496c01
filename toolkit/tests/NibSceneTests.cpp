// A dialog from a bundle's nib, filled in by a script in English and in German: its texts come
// from the bundle's strings, its controls are sized to them, its name field refuses digits with
// a beep, and its Send button asks through a standard alert before it ends the dialog. The
// window's text dump must be exactly the expected one of its language.
#include "ControlLayout.h"
#include "LocalizedText.h"
#include "ToolkitTestSupport.h"

#include <CoreServices/PlatformHost.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

constexpr OSType kSignature = 0x7363656E; // 'scen'
enum : SInt32 {
    kIntro = 1,
    kNameLabel,
    kNameField,
    kPriorityLabel,
    kPriorityPopup,
    kNotify,
    kStatus,
    kCancel,
    kSend
};

fs::path output_dir() {
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    const fs::path dir =
        (build != nullptr ? fs::path(build) : fs::temp_directory_path()) / "nib-scene";
    fs::create_directories(dir);
    return dir;
}

std::string read_text(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The expected dump without its leading "#" comment lines.
std::string expected_dump(const std::string& language) {
    std::istringstream in(
        read_text(tktest::fixture_path(("NibScene/notes-" + language + ".dump").c_str())));
    std::string line, text;
    bool header = true;
    while (std::getline(in, line)) {
        header = header && line.rfind('#', 0) == 0;
        if (!header)
            text += line + "\n";
    }
    return text;
}

// The preferred language of the process, for the life of the holder.
class ScopedLanguage {
  public:
    explicit ScopedLanguage(const char* language) {
        if (const char* old = std::getenv("LANGUAGE"))
            saved_ = old, had_ = true;
        setenv("LANGUAGE", language, 1);
    }
    ~ScopedLanguage() {
        if (had_)
            setenv("LANGUAGE", saved_.c_str(), 1);
        else
            unsetenv("LANGUAGE");
    }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

  private:
    std::string saved_;
    bool had_ = false;
};

struct Scene {
    CFBundleRef bundle = nullptr;
    WindowRef window = nullptr;
    DialogItemIndex answer = 0;

    ControlRef control(SInt32 number) const {
        const ControlID id{kSignature, number};
        ControlRef found = nullptr;
        GetControlByID(window, &id, &found);
        return found;
    }
};

ControlKeyFilterResult refuse_digits(ControlRef, SInt16*, SInt16* charCode, EventModifiers*) {
    if (*charCode >= '0' && *charCode <= '9') {
        SysBeep(1);
        return kControlKeyFilterBlockKey;
    }
    return kControlKeyFilterPassKey;
}

void silent_beep(short, void*) {}

// Send asks first; once the user confirms, the status line says so and the dialog ends.
OSStatus on_command(EventHandlerCallRef, EventRef event, void* data) {
    HICommand command{};
    GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof(command),
                      nullptr, &command);
    if (command.commandID != kHICommandOK)
        return eventNotHandledErr;
    auto* scene = static_cast<Scene*>(data);
    auto text = [scene](CFStringRef key) {
        return CFBundleCopyLocalizedString(scene->bundle, key, nullptr, nullptr);
    };
    CFStringRef send = text(CFSTR("Send")), cancel = text(CFSTR("Cancel"));
    CFStringRef question = text(CFSTR("Send Question"));
    CFStringRef explanation = text(CFSTR("Send Explanation"));
    AlertStdCFStringAlertParamRec param{};
    GetStandardAlertDefaultParams(&param, kStdCFStringAlertVersionOne);
    param.defaultText = send;
    param.cancelText = cancel;
    param.cancelButton = kAlertStdAlertCancelButton;
    DialogRef alert = nullptr;
    if (CreateStandardAlert(kAlertNoteAlert, question, explanation, &param, &alert) == noErr)
        RunStandardAlert(alert, nullptr, &scene->answer);
    for (CFStringRef s : {send, cancel, question, explanation})
        CFRelease(s);
    if (scene->answer == kAlertStdAlertOKButton) {
        SetLocalizedStaticText(scene->bundle, CFSTR("Sent"), scene->control(kStatus));
        QuitAppModalLoopForWindow(scene->window);
    }
    return noErr;
}

// Texts from the strings, then sizes: labels fill their width at their text's height, the popup
// and the check box take their preferred width, and the buttons keep the row's right edge.
void localize_and_lay_out(const Scene& scene) {
    SetLocalizedWindowTitle(scene.bundle, CFSTR("Notes Title"), scene.window);
    const std::pair<SInt32, CFStringRef> labels[] = {{kIntro, CFSTR("Intro")},
                                                     {kNameLabel, CFSTR("Name Label")},
                                                     {kPriorityLabel, CFSTR("Priority Label")}};
    for (const auto& [number, key] : labels) {
        SetLocalizedStaticText(scene.bundle, key, scene.control(number));
        SetControlBestRect(scene.control(number), 7, nullptr, nullptr);
    }
    ControlRef popup = scene.control(kPriorityPopup);
    MenuRef menu = nullptr;
    GetControlData(popup, 0, kControlPopupButtonMenuRefTag, sizeof(menu), &menu, nullptr);
    const CFStringRef items[] = {CFSTR("Normal"), CFSTR("Urgent"), CFSTR("Idle")};
    for (UInt16 item = 1; item <= 3; ++item)
        SetLocalizedMenuTitle(scene.bundle, items[item - 1], menu, item);
    SetControlBestRect(popup, kBestRectAnchorLeft | kBestRectAnchorTop, nullptr, nullptr);
    SetLocalizedControlTitle(scene.bundle, CFSTR("Notify"), scene.control(kNotify));
    SetControlBestRect(scene.control(kNotify), kBestRectAnchorLeft | kBestRectAnchorTop, nullptr,
                       nullptr);

    // Send first: Cancel, to its left, moves left by as much as Send grew.
    SInt32 offset = 0;
    SetLocalizedControlTitle(scene.bundle, CFSTR("Send"), scene.control(kSend));
    SetControlBestRect(scene.control(kSend), 14, &offset, nullptr);
    offset = -offset;
    SetLocalizedControlTitle(scene.bundle, CFSTR("Cancel"), scene.control(kCancel));
    SetControlBestRect(scene.control(kCancel), 14, &offset, nullptr);
}

struct Outcome {
    std::string dump;
    unsigned long beeps = 0;
    DialogItemIndex answer = 0;
    Rect intro{}, popup{}, notify{}, cancel{}, send{};
    fs::path png;
};

// Builds the dialog in `language`, plays that language's script on it and records the result.
void play(const std::string& language, Outcome& out) {
    ScopedLanguage scoped(language.c_str());
    Scene scene;
    const std::string bundle_path = tktest::fixture_path("NibScene/Scene.bundle");
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(bundle_path.data()),
        static_cast<CFIndex>(bundle_path.size()), true);
    scene.bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    ASSERT_NE(nullptr, scene.bundle);
    IBNibRef nib = nullptr;
    ASSERT_EQ(noErr, CreateNibReferenceWithCFBundle(scene.bundle, CFSTR("Dialog"), &nib));
    EXPECT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("Notes"), &scene.window));
    DisposeNibReference(nib);
    ASSERT_NE(nullptr, scene.window);

    localize_and_lay_out(scene);
    ControlKeyFilterUPP filter = refuse_digits;
    SetControlData(scene.control(kNameField), 0, kControlEditTextKeyFilterTag, sizeof(filter),
                   &filter);
    const EventTypeSpec command{kEventClassCommand, kEventCommandProcess};
    InstallEventHandler(GetWindowEventTarget(scene.window), on_command, 1, &command, &scene,
                        nullptr);
    ShowWindow(scene.window);

    PlatformEventSource source{};
    const std::string script = tktest::fixture_path(("NibScene/" + language + ".script").c_str());
    ASSERT_EQ(noErr,
              PlatformCreateScriptEventSource(script.c_str(), output_dir().c_str(), &source));
    PlatformSetEventSource(&source);
    PlatformSetBeepHandler(silent_beep, nullptr);
    const unsigned long beeps_before = PlatformGetBeepCount();
    EXPECT_EQ(noErr, RunAppModalLoopForWindow(scene.window));
    EXPECT_EQ(noErr, PlatformRunEventSource()); // the dump, after the dialog ended
    out.beeps = PlatformGetBeepCount() - beeps_before;
    PlatformSetBeepHandler(nullptr, nullptr);
    PlatformSetEventSource(nullptr);

    out.dump = read_text(output_dir() / ("notes-" + language + ".txt"));
    out.answer = scene.answer;
    GetControlBounds(scene.control(kIntro), &out.intro);
    GetControlBounds(scene.control(kPriorityPopup), &out.popup);
    GetControlBounds(scene.control(kNotify), &out.notify);
    GetControlBounds(scene.control(kCancel), &out.cancel);
    GetControlBounds(scene.control(kSend), &out.send);
    out.png = output_dir() / ("notes-" + language + ".png");
    EXPECT_EQ(noErr, PlatformWriteWindowPNG(scene.window, out.png.c_str()));
    DisposeWindow(scene.window);
    CFRelease(scene.bundle);
}

class NibScene : public testing::TestWithParam<const char*> {};

TEST_P(NibScene, TheScriptFillsInTheDialogAndItsDumpIsTheExpectedOne) {
    Outcome outcome;
    ASSERT_NO_FATAL_FAILURE(play(GetParam(), outcome));
    EXPECT_EQ(expected_dump(GetParam()), outcome.dump);
    EXPECT_EQ(2u, outcome.beeps); // one for each digit typed
    EXPECT_EQ(kAlertStdAlertOKButton, outcome.answer);
    EXPECT_GT(fs::file_size(outcome.png), 1000u);
}

INSTANTIATE_TEST_SUITE_P(Languages, NibScene, testing::Values("en", "de"));

TEST(NibSceneLayout, LongerGermanTextsWidenTheControlsAndKeepTheButtonRow) {
    Outcome en, de;
    ASSERT_NO_FATAL_FAILURE(play("en", en));
    ASSERT_NO_FATAL_FAILURE(play("de", de));
    ASSERT_NE(en.dump, de.dump);

    // Both buttons grew to the left; the row keeps its right edge and its gap.
    EXPECT_LT(de.send.left, en.send.left);
    EXPECT_EQ(360, en.send.right);
    EXPECT_EQ(360, de.send.right);
    EXPECT_LT(de.cancel.left, en.cancel.left);
    EXPECT_EQ(10, en.send.left - en.cancel.right);
    EXPECT_EQ(10, de.send.left - de.cancel.right);
    // The popup and the check box take the width of their texts from the same left edge.
    EXPECT_EQ(en.popup.left, de.popup.left);
    EXPECT_GT(de.popup.right, en.popup.right);
    EXPECT_GT(de.notify.right, en.notify.right);
    // The introduction keeps its width and wraps onto more height.
    EXPECT_EQ(en.intro.right, de.intro.right);
    EXPECT_GT(de.intro.bottom - de.intro.top, en.intro.bottom - en.intro.top);
}

} // namespace

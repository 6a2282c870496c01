// The bundle's custom value dialog, reached through its exported routines as another panel of
// the bundle would call it, and driven by scripts of what a person does: OK and Cancel with
// their results, the limited field, the help button, in each language the bundle has.
#include "AccountingTestSupport.h"

#include <CoreServices/PlatformHost.h>
#include <Help/PlatformHost.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

namespace fs = std::filesystem;
using RunDialog = OSStatus (*)(CFBundleRef, SInt32, SInt32, CFStringRef*, SInt16*);

fs::path work_dir() {
    const fs::path dir = fs::path(std::getenv("ACCOUNTING_BINARY_DIR")) / "custom-value-tests";
    fs::create_directories(dir);
    return dir;
}

void silent_beep(short, void*) {}
void record_page(const char* path, const char*, void* info) {
    *static_cast<std::string*>(info) = path;
}

struct Outcome {
    OSStatus status = 1;
    SInt16 result = -1;
    std::string value = "<untouched>";
    unsigned long beeps = 0;
};

// Runs the dialog on `script`, starting with `value` in the field.
Outcome run(const std::string& script, CFStringRef value, SInt32 minimum, SInt32 maximum) {
    Outcome out;
    auto dialog = reinterpret_cast<RunDialog>(
        CFBundleGetFunctionPointerForName(accounting_bundle(), CFSTR("RunModalCustomValueDialog")));
    EXPECT_NE(nullptr, dialog) << "RunModalCustomValueDialog not exported";
    if (dialog == nullptr)
        return out;
    // ctest runs each test in a process of its own, in parallel: one script file per test.
    const fs::path path =
        work_dir() /
        (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".script");
    std::ofstream(path) << "# synthetic test data\n" << script;
    PlatformEventSource source{};
    EXPECT_EQ(noErr, PlatformCreateScriptEventSource(path.c_str(), work_dir().c_str(), &source));
    PlatformSetEventSource(&source);
    PlatformSetBeepHandler(silent_beep, nullptr);
    const unsigned long before = PlatformGetBeepCount();
    CFStringRef io = value;
    out.status = dialog(accounting_bundle(), minimum, maximum, &io, &out.result);
    out.beeps = PlatformGetBeepCount() - before;
    PlatformSetBeepHandler(nullptr, nullptr);
    PlatformSetEventSource(nullptr);
    if (io == nullptr) {
        out.value = "<none>";
    } else {
        char text[256] = {};
        CFStringGetCString(io, text, sizeof text, kCFStringEncodingUTF8);
        out.value = text;
        if (io != value)
            CFRelease(io);
    }
    return out;
}

TEST(CustomValueDialog, OKGivesTheTypedValueCappedAtTheMaximum) {
    const Outcome out = run("type TPDE:123456 \"123456789\"\n"
                            "expect-text TPDE:123456 \"123456\"\n"
                            "click \"OK\"\n",
                            nullptr, 0, 6);
    EXPECT_EQ(noErr, out.status);
    EXPECT_EQ(1, out.result);
    EXPECT_EQ("123456", out.value);
    EXPECT_EQ(3u, out.beeps);
}

TEST(CustomValueDialog, ASelectionMakesRoomAndAPasteIsNotLimited) {
    const Outcome out = run("type TPDE:123456 \"abcd\"\n"
                            "keys \"e\"\n"
                            "expect-beeps 1\n"
                            "select TPDE:123456 1 3\n"
                            "keys \"X\"\n"
                            "expect-text TPDE:123456 \"aXd\"\n"
                            "paste TPDE:123456 \"1234\"\n"
                            "expect-text TPDE:123456 \"aX1234d\"\n"
                            "key left\n"
                            "key backspace\n"
                            "expect-beeps 0\n"
                            "click \"OK\"\n",
                            nullptr, 0, 4);
    EXPECT_EQ(1, out.result);
    EXPECT_EQ("aX124d", out.value);
}

TEST(CustomValueDialog, TheGivenValueShowsAndOKWithAnEmptyFieldGivesAnEmptyString) {
    const Outcome shown = run("expect-text TPDE:123456 \"A4\"\nkey return\n", CFSTR("A4"), 0, 0);
    EXPECT_EQ(1, shown.result);
    EXPECT_EQ("A4", shown.value);
    // The focus selects the text, so Backspace empties the field.
    const Outcome empty = run("key backspace\nclick \"OK\"\n", CFSTR("A4"), 3, 0);
    EXPECT_EQ(1, empty.result);
    EXPECT_EQ("", empty.value);
}

TEST(CustomValueDialog, CancelGivesNoStringAndLeavesTheCallersOwn) {
    CFStringRef mine = CFStringCreateWithCString(nullptr, "mine", kCFStringEncodingUTF8);
    const Outcome out = run("type TPDE:123456 \"other\"\nclick \"Cancel\"\n", mine, 0, 0);
    EXPECT_EQ(noErr, out.status);
    EXPECT_EQ(2, out.result);
    EXPECT_EQ("<none>", out.value);
    EXPECT_EQ(1, CFGetRetainCount(mine));
    CFRelease(mine);
}

TEST(CustomValueDialog, HelpOpensTheCustomValuePageOfTheLanguageInUse) {
    const char* old = std::getenv("LANGUAGE");
    const std::string saved = old != nullptr ? old : "";
    for (const char* language : {"en", "de", "fr", "ja"}) {
        setenv("LANGUAGE", language, 1);
        std::string page;
        PlatformSetHelpViewer(record_page, &page);
        const Outcome out = run("click \"?\"\nkey escape\n", nullptr, 0, 0);
        PlatformSetHelpViewer(nullptr, nullptr);
        EXPECT_EQ(2, out.result) << language;
        EXPECT_NE(std::string::npos,
                  page.find(std::string(language) +
                            ".lproj/AccountingHelp/image_options/db_custom_color_d.htm"))
            << page;
        EXPECT_TRUE(fs::exists(page)) << page;
    }
    if (old != nullptr)
        setenv("LANGUAGE", saved.c_str(), 1);
    else
        unsetenv("LANGUAGE");
}

// Each language's nib has the window with the field, and buttons for the three commands, the
// cancel and default buttons among them.
TEST(CustomValueDialog, EveryLanguagesNibHasTheFieldAndTheThreeCommands) {
    const char* old = std::getenv("LANGUAGE");
    const std::string saved = old != nullptr ? old : "";
    std::vector<std::string> titles;
    for (const char* language : {"en", "de", "fr", "ja"}) {
        setenv("LANGUAGE", language, 1);
        IBNibRef nib = nullptr;
        ASSERT_EQ(noErr,
                  CreateNibReferenceWithCFBundle(accounting_bundle(), CFSTR("Utilities"), &nib));
        WindowRef window = nullptr;
        ASSERT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("CustomValue"), &window)) << language;
        DisposeNibReference(nib);
        const ControlID id{'TPDE', 123456};
        ControlRef field = nullptr;
        ASSERT_EQ(noErr, GetControlByID(window, &id, &field)) << language;
        ControlKind kind{};
        GetControlKind(field, &kind);
        EXPECT_EQ(static_cast<OSType>(kControlKindEditText), kind.kind) << language;
        std::vector<UInt32> commands;
        ControlRef root = nullptr;
        GetRootControl(window, &root);
        for (HIViewRef view = HIViewGetFirstSubview(root); view != nullptr;
             view = HIViewGetNextView(view)) {
            UInt32 command = 0;
            if (GetControlCommandID(view, &command) == noErr && command != 0)
                commands.push_back(command);
        }
        EXPECT_EQ((std::vector<UInt32>{'Thlp', kHICommandCancel, kHICommandOK}), commands)
            << language;
        CFStringRef title = nullptr;
        CopyWindowTitleAsCFString(window, &title);
        char text[128] = {};
        CFStringGetCString(title, text, sizeof text, kCFStringEncodingUTF8);
        CFRelease(title);
        titles.push_back(text);
        DisposeWindow(window);
    }
    if (old != nullptr)
        setenv("LANGUAGE", saved.c_str(), 1);
    else
        unsetenv("LANGUAGE");
    EXPECT_EQ((std::vector<std::string>{"Custom Value", "Eigener Wert", "Valeur personnalisée",
                                        "カスタム値"}),
              titles);
}

TEST(CustomValueDialog, TheToolkitsRoutinesAreExportedFromTheBundle) {
    for (CFStringRef name :
         {CFSTR("LimitInputLengthAndCharacters"), CFSTR("LimitInputEventHandler"),
          CFSTR("RunModalCustomValueDialog"), CFSTR("CustomValueEventHandler"),
          CFSTR("UpdateTabControl"), CFSTR("selectItemOfTabControl")})
        EXPECT_NE(nullptr, CFBundleGetFunctionPointerForName(accounting_bundle(), name));
}

} // namespace

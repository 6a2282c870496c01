// Windows made from nib files: the control tree with the attributes every
// control shares, the statuses of the nib calls, and what a bad description
// leaves behind (nothing, and one line on standard error).
#include "NibInternal.h"

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

constexpr OSType kSig = 0x54564B61; // 'TVKa'

std::string write_nib(const std::string& name, const std::string& text) {
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    // A folder per test: ctest runs the tests in parallel processes.
    std::filesystem::path dir = (build != nullptr ? std::filesystem::path(build) / "test-nibs"
                                                  : std::filesystem::temp_directory_path()) /
                                ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::create_directories(dir);
    const std::string path = (dir / name).string();
    std::ofstream(path) << text;
    return path;
}

IBNibRef open(const std::string& name, const std::string& text) {
    IBNibRef nib = nullptr;
    EXPECT_EQ(noErr, hit::nib::open_nib_file(write_nib(name, text), &nib));
    return nib;
}

ControlRef control(WindowRef window, SInt32 id) {
    const ControlID control_id{kSig, id};
    ControlRef found = nullptr;
    GetControlByID(window, &control_id, &found);
    return found;
}

const char kDialog[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- synthetic test data -->
<nib version="1">
  <window name="Dialog" title="Codes" class="movable-modal" bounds="100,100,300,400">
    <control kind="user-pane" id="TVKa:50" bounds="10,10,190,290" title="pane">
      <control kind="push-button" id="TVKa:1" bounds="150,200,170,280" title="OK"
               command="ok  " default="true"/>
      <control kind="push-button" id="TVKa:2" bounds="150,110,170,190" title="Cancel"
               cancel="true" enabled="false" min="0" max="5" value="3"/>
      <control kind="user-pane" id="TVKa:3" bounds="20,20,40,40" visible="false"
               features="focus"/>
    </control>
  </window>
  <menu name="Menu"><item title="One"/></menu>
</nib>
)";

TEST(Nib, BuildsTheControlTreeWithItsAttributes) {
    IBNibRef nib = open("dialog.nib", kDialog);
    ASSERT_NE(nullptr, nib);
    WindowRef window = nullptr;
    ASSERT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("Dialog"), &window));
    DisposeNibReference(nib); // the window does not need it any more
    EXPECT_FALSE(IsWindowVisible(window));
    WindowClass window_class = 0;
    GetWindowClass(window, &window_class);
    EXPECT_EQ(static_cast<WindowClass>(kMovableModalWindowClass), window_class);
    Rect bounds{};
    GetWindowBounds(window, kWindowContentRgn, &bounds);
    EXPECT_EQ(400, bounds.right);

    ControlRef pane = control(window, 50), ok = control(window, 1), cancel = control(window, 2);
    ControlRef hidden = control(window, 3);
    ASSERT_TRUE(pane && ok && cancel && hidden);
    ControlRef parent = nullptr;
    GetSuperControl(ok, &parent);
    EXPECT_EQ(pane, parent); // nesting in the file is embedding
    UInt32 command = 0, features = 0;
    GetControlCommandID(ok, &command);
    EXPECT_EQ(kHICommandOK, command);
    ControlRef button = nullptr;
    GetWindowDefaultButton(window, &button);
    EXPECT_EQ(ok, button);
    GetWindowCancelButton(window, &button);
    EXPECT_EQ(cancel, button);
    EXPECT_FALSE(IsControlEnabled(cancel));
    EXPECT_EQ(3, GetControl32BitValue(cancel));
    EXPECT_EQ(5, GetControl32BitMaximum(cancel));
    EXPECT_FALSE(IsControlVisible(hidden));
    GetControlFeatures(hidden, &features);
    EXPECT_NE(0u, features & kControlSupportsFocus);
    EXPECT_EQ(0u, features & kControlSupportsEmbedding); // the listed features replace it
    CFStringRef title = nullptr;
    CopyControlTitleAsCFString(cancel, &title);
    EXPECT_EQ(kCFCompareEqualTo, CFStringCompare(CFSTR("Cancel"), title, 0));
    CFRelease(title);

    // Each window is built afresh from the same nib.
    nib = open("dialog.nib", kDialog);
    WindowRef second = nullptr;
    ASSERT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("Dialog"), &second));
    EXPECT_NE(window, second);
    EXPECT_NE(ok, control(second, 1));
    DisposeWindow(second);
    DisposeWindow(window);
    DisposeNibReference(nib);
}

const char kAllKinds[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- synthetic test data -->
<nib>
  <menu name="Types" id="7" title="Types">
    <item title="Default Group Account"/>
    <item title="General Account" command="gen "/>
    <item title="Group Account" enabled="false"/>
  </menu>
  <window name="Kinds" bounds="0,0,300,400">
    <control kind="static-text" id="TVKa:1" bounds="10,10,26,200" title="Label" font="small-system"/>
    <control kind="edit-text" id="TVKa:2" bounds="30,10,50,200" title="secret" password="true"/>
    <control kind="edit-unicode-text" id="TVKa:3" bounds="30,210,50,390" title="plain"/>
    <control kind="check-box" id="TVKa:4" bounds="60,10,78,200" title="Mask" value="1"
             auto-toggle="false"/>
    <control kind="radio-button" id="TVKa:5" bounds="80,10,98,200" title="Prompt"/>
    <control kind="popup-button" id="TVKa:6" bounds="100,10,120,200" value="2">
      <item title="One"/><item title="Two"/>
    </control>
    <control kind="popup-button" id="TVKa:7" bounds="100,210,120,390" menu="Types"/>
    <control kind="tabs" id="TVKa:8" bounds="130,10,290,390" size="small">
      <item title="First"/><item title="Second" enabled="false"/>
      <control kind="group-box" id="TVKa:9" bounds="160,20,280,380" title="Group"
               primary="false">
        <control kind="separator" id="TVKa:10" bounds="200,30,201,370"/>
      </control>
    </control>
  </window>
</nib>
)";

TEST(Nib, BuildsEveryKindWithItsOwnAttributes) {
    IBNibRef nib = open("kinds.nib", kAllKinds);
    ASSERT_NE(nullptr, nib);
    WindowRef window = nullptr;
    ASSERT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("Kinds"), &window));
    const OSType expected[] = {kControlKindStaticText,      kControlKindEditText,
                               kControlKindEditUnicodeText, kControlKindCheckBox,
                               kControlKindRadioButton,     kControlKindPopupButton,
                               kControlKindPopupButton,     kControlKindTabs,
                               kControlKindGroupBox,        kControlKindSeparator};
    for (SInt32 id = 1; id <= 10; ++id) {
        ControlKind kind{};
        ASSERT_EQ(noErr, GetControlKind(control(window, id), &kind)) << id;
        EXPECT_EQ(expected[id - 1], kind.kind) << id;
    }
    CFStringRef text = nullptr;
    GetControlData(control(window, 2), 0, kControlEditTextPasswordCFStringTag, sizeof(text), &text,
                   nullptr);
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(kCFCompareEqualTo, CFStringCompare(CFSTR("secret"), text, 0)); // a password field
    CFRelease(text);
    EXPECT_EQ(1, GetControl32BitValue(control(window, 4)));
    UInt32 features = 0;
    GetControlFeatures(control(window, 4), &features);
    EXPECT_EQ(0u, features & kControlAutoToggles);
    GetControlFeatures(control(window, 5), &features);
    EXPECT_NE(0u, features & kControlAutoToggles);

    EXPECT_EQ(2, GetControl32BitValue(control(window, 6)));
    EXPECT_EQ(2, GetControl32BitMaximum(control(window, 6)));
    MenuRef menu = nullptr;
    GetControlData(control(window, 7), 0, kControlPopupButtonMenuRefTag, sizeof(menu), &menu,
                   nullptr);
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(3, CountMenuItems(menu));
    EXPECT_EQ(1, GetControl32BitValue(control(window, 7)));
    EXPECT_FALSE(IsMenuItemEnabled(menu, 3));
    MenuCommand command = 0;
    GetMenuItemCommandID(menu, 2, &command);
    EXPECT_EQ(0x67656E20u, command); // 'gen '

    EXPECT_EQ(2, GetControl32BitMaximum(control(window, 8))); // two tabs
    ControlRef parent = nullptr;
    GetSuperControl(control(window, 10), &parent);
    EXPECT_EQ(control(window, 9), parent);
    GetSuperControl(parent, &parent);
    EXPECT_EQ(control(window, 8), parent);
    DisposeWindow(window);

    MenuRef types = nullptr;
    ASSERT_EQ(noErr, CreateMenuFromNib(nib, CFSTR("Types"), &types));
    EXPECT_EQ(7, GetMenuID(types));
    EXPECT_EQ(3, CountMenuItems(types));
    ReleaseMenu(types);
    EXPECT_EQ(kIBCarbonRuntimeObjectNotOfRequestedType,
              CreateMenuFromNib(nib, CFSTR("Kinds"), &types));
    DisposeNibReference(nib);
}

TEST(Nib, StatusesOfTheNibCalls) {
    IBNibRef nib = open("dialog.nib", kDialog);
    WindowRef window = nullptr;
    EXPECT_EQ(kIBCarbonRuntimeCantFindObject, CreateWindowFromNib(nib, CFSTR("Nope"), &window));
    EXPECT_EQ(kIBCarbonRuntimeObjectNotOfRequestedType,
              CreateWindowFromNib(nib, CFSTR("Menu"), &window));
    EXPECT_EQ(nullptr, window);
    EXPECT_EQ(paramErr, CreateWindowFromNib(nib, nullptr, &window));
    DisposeNibReference(nib);

    IBNibRef missing = nullptr;
    EXPECT_EQ(kIBCarbonRuntimeCantFindNibFile,
              hit::nib::open_nib_file("/nonexistent/dir/x.nib", &missing));
    testing::internal::CaptureStderr();
    const std::string path = write_nib("broken.nib", "<nib>\n<window name=\"W\">\n</nib>\n");
    EXPECT_EQ(errCorruptWindowDescription, hit::nib::open_nib_file(path, &missing));
    const std::string expected = "CreateNibReference: " + path + ":3: ";
    EXPECT_EQ(expected, testing::internal::GetCapturedStderr().substr(0, expected.size()));
    EXPECT_EQ(nullptr, missing);
}

TEST(Nib, ABadControlLeavesNothingBehind) {
    struct Case {
        const char* control;
        const char* message; // after "file:line: "
    };
    const Case cases[] = {
        {"<control kind=\"slider\" bounds=\"0,0,9,9\"/>", "unknown control kind \"slider\""},
        {"<control kind=\"static-text\" bounds=\"0,0,9,9\" font=\"huge\"/>",
         "unknown font \"huge\""},
        {"<control kind=\"popup-button\" bounds=\"0,0,9,9\" menu=\"Nope\"/>",
         "no <menu> is named \"Nope\""},
        {"<control kind=\"tabs\" bounds=\"0,0,9,9\" size=\"tiny\"/>", "tab size \"tiny\""},
        {"<control kind=\"push-button\" bounds=\"0,0,9,9\" features=\"focus\"/>",
         "a push-button control has no attribute features"},
        {"<control kind=\"push-button\" bounds=\"0,0,9,9\" default=\"yes\"/>",
         "attribute default=\"yes\": expected true or false"},
        {"<control kind=\"push-button\" bounds=\"0,0,9,9\">\n"
         "<control kind=\"user-pane\" bounds=\"0,0,1,1\"/></control>",
         "a push-button control cannot hold other controls"},
        {"<control kind=\"user-pane\" bounds=\"0,0,9,9\" features=\"wobble\"/>",
         "unknown user pane feature \"wobble\""},
        {"<control kind=\"user-pane\" bounds=\"0,0,9,9\">\n<item title=\"x\"/></control>",
         "a user-pane control has no <item> entries"},
    };
    const ItemCount windows_before = PlatformCopyWindowList(nullptr, 0);
    for (const Case& c : cases) {
        const std::string text = std::string("<nib>\n<window name=\"W\" bounds=\"0,0,50,50\">\n") +
                                 "<control kind=\"user-pane\" bounds=\"0,0,50,50\">\n" + c.control +
                                 "</control></window></nib>";
        IBNibRef nib = open("bad-control.nib", text);
        WindowRef window = nullptr;
        testing::internal::CaptureStderr();
        EXPECT_EQ(errCorruptWindowDescription, CreateWindowFromNib(nib, CFSTR("W"), &window));
        const std::string message = testing::internal::GetCapturedStderr();
        const bool on_line_4_or_5 = message.find("bad-control.nib:4: ") != std::string::npos ||
                                    message.find("bad-control.nib:5: ") != std::string::npos;
        EXPECT_TRUE(on_line_4_or_5) << message;
        EXPECT_NE(std::string::npos, message.find(c.message)) << message;
        EXPECT_EQ(windows_before, PlatformCopyWindowList(nullptr, 0));
        DisposeNibReference(nib);
    }
}

TEST(Nib, FoundAmongABundlesLocalizedResources) {
    const std::filesystem::path bundle_dir =
        std::filesystem::path(write_nib("unused.nib", "")).parent_path() / "Nibbed.bundle";
    const std::filesystem::path lproj = bundle_dir / "Contents" / "Resources" / "en.lproj";
    std::filesystem::create_directories(lproj);
    std::ofstream(bundle_dir / "Contents" / "Info.plist")
        << "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict>"
           "<key>CFBundleIdentifier</key><string>test.nibbed</string></dict></plist>\n";
    std::ofstream(lproj / "Panel.nib") << kDialog;

    const std::string path = bundle_dir.string();
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.c_str()), path.size(), true);
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    ASSERT_NE(nullptr, bundle);

    IBNibRef nib = nullptr;
    ASSERT_EQ(noErr, CreateNibReferenceWithCFBundle(bundle, CFSTR("Panel"), &nib));
    WindowRef window = nullptr;
    EXPECT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("Dialog"), &window));
    EXPECT_NE(nullptr, control(window, 50));
    DisposeWindow(window);
    DisposeNibReference(nib);

    EXPECT_EQ(kIBCarbonRuntimeCantFindNibFile,
              CreateNibReferenceWithCFBundle(bundle, CFSTR("Missing"), &nib));
    EXPECT_EQ(nullptr, nib);
    EXPECT_EQ(paramErr, CreateNibReferenceWithCFBundle(nullptr, CFSTR("Panel"), &nib));
    CFRelease(bundle);
}

} // namespace

namespace {

std::string window_title(IBNibRef nib) {
    WindowRef window = nullptr;
    EXPECT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("Dialog"), &window));
    CFStringRef title = nullptr;
    CopyWindowTitleAsCFString(window, &title);
    char text[64] = "";
    CFStringGetCString(title, text, sizeof(text), kCFStringEncodingUTF8);
    CFRelease(title);
    DisposeWindow(window);
    return text;
}

// A nib opened again is not parsed again, but a nib whose file changed is.
TEST(Nib, OpenedAgainItIsTheFileAsItIsNow) {
    const std::string first = kDialog;
    std::string second = first;
    second.replace(second.find("title=\"Codes\""), 13, "title=\"Other\"");
    IBNibRef nib = open("opened-again.nib", first);
    IBNibRef again = open("opened-again.nib", first);
    DisposeNibReference(nib); // the second reference keeps what it was given
    EXPECT_EQ("Codes", window_title(again));
    IBNibRef changed = open("opened-again.nib", second);
    EXPECT_EQ("Other", window_title(changed));
    EXPECT_EQ("Codes", window_title(again));
    DisposeNibReference(again);
    DisposeNibReference(changed);
}

} // namespace

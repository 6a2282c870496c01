// Interface Builder's Carbon nibs: a Name.nib folder holding objects.xib builds the same
// windows as the project's own nibs; compiled and Cocoa nibs are refused with a message.
// The archives here are synthetic test data written from the format's documented shape.
#include "NibInternal.h"

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

constexpr OSType kSig = 0x53616D70; // 'Samp'

const char* const kPanel = R"(<?xml version="1.0" standalone="yes"?>
<object class="NSIBObjectData">
  <string name="targetFramework">IBCarbonFramework</string>
  <object name="rootObject" class="NSCustomObject" id="1"/>
  <array count="1" name="allObjects">
    <object class="IBCarbonWindow" id="10">
      <string name="windowRect">100 100 300 500 </string>
      <string name="title">Panel</string>
      <int name="carbonWindowClass">6</int>
      <boolean name="hasCollapseBox">FALSE</boolean>
      <object name="rootControl" class="IBCarbonRootControl" id="11">
        <string name="bounds">0 0 200 400 </string>
        <array count="1" name="subviews">
          <object class="IBCarbonUserPane" id="12">
            <string name="bounds">0 0 200 400 </string>
            <ostype name="controlSignature">Samp</ostype>
            <int name="controlID">1</int>
            <array count="4" name="subviews">
              <object class="IBCarbonStaticText" id="13">
                <string name="bounds">10 10 24 120 </string>
                <string name="title">Quality:</string>
                <int name="controlSize">1</int>
              </object>
              <object class="IBCarbonPopupButton" id="14">
                <string name="bounds">10 130 30 300 </string>
                <ostype name="controlSignature">Samp</ostype>
                <int name="controlID">2</int>
                <int name="menuID">300</int>
              </object>
              <reference idRef="20"/>
              <object class="IBCarbonCheckBox" id="17">
                <string name="bounds">120 10 138 200 </string>
                <ostype name="controlSignature">Samp</ostype>
                <int name="controlID">4</int>
                <string name="title">Print on both sides of the paper</string>
                <int name="controlSize">1</int>
              </object>
              <object class="IBCarbonButton" id="16">
                <string name="bounds">160 300 180 380 </string>
                <ostype name="command">ok  </ostype>
                <int name="buttonType">1</int>
                <string name="title">Apply</string>
              </object>
            </array>
          </object>
        </array>
      </object>
    </object>
  </array>
  <object class="IBCarbonRadioGroup" id="20">
    <string name="bounds">40 10 100 200 </string>
    <ostype name="controlSignature">Samp</ostype>
    <int name="controlID">3</int>
    <int name="value">2</int>
    <array count="2" name="subviews">
      <object class="IBCarbonRadioButton" id="21">
        <string name="bounds">40 10 58 200 </string>
        <string name="title">Draft</string>
      </object>
      <object class="IBCarbonRadioButton" id="22">
        <string name="bounds">60 10 78 200 </string>
        <string name="title">Best</string>
      </object>
    </array>
  </object>
  <object class="IBCarbonMenu" id="30">
    <string name="title">Quality</string>
    <int name="menuID">300</int>
    <array count="2" name="items">
      <object class="IBCarbonMenuItem" id="31"><string name="title">Normal</string></object>
      <object class="IBCarbonMenuItem" id="32">
        <string name="title">Fine</string>
        <ostype name="command">fine</ostype>
      </object>
    </array>
  </object>
  <dictionary count="3" name="nameTable">
    <string>File&apos;s Owner</string>
    <reference idRef="1"/>
    <string>Panel</string>
    <reference idRef="10"/>
    <string>QualityMenu</string>
    <reference idRef="30"/>
  </dictionary>
</object>
)";

std::string nib_folder(const std::string& name) {
    const char* build = std::getenv("ACCOUNTING_BINARY_DIR");
    fs::path dir =
        (build != nullptr ? fs::path(build) : fs::temp_directory_path()) / "test-xib-nibs" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

void write(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

ControlRef control(WindowRef window, SInt32 id) {
    const ControlID control_id{kSig, id};
    ControlRef found = nullptr;
    GetControlByID(window, &control_id, &found);
    return found;
}

TEST(XibNibs, AFolderWithObjectsXibBuildsItsWindowAndMenus) {
    const std::string folder = nib_folder("Panel.nib");
    write(folder + "/objects.xib", kPanel);
    IBNibRef nib = nullptr;
    ASSERT_EQ(noErr, hit::nib::open_nib_file(folder, &nib));
    WindowRef window = nullptr;
    ASSERT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("Panel"), &window));
    WindowAttributes attributes = 0;
    GetWindowAttributes(window, &attributes);
    EXPECT_NE(attributes & kWindowCloseBoxAttribute, 0u);
    EXPECT_EQ(attributes & kWindowCollapseBoxAttribute, 0u);

    ControlRef popup = control(window, 2);
    ASSERT_NE(popup, nullptr);
    MenuRef menu = GetControlPopupMenuHandle(popup);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(CountMenuItems(menu), 2);
    MenuCommand command = 0;
    GetMenuItemCommandID(menu, 2, &command);
    EXPECT_EQ(command, static_cast<MenuCommand>('fine'));

    ControlRef group = control(window, 3); // a referenced object, embedded where referred to
    ASSERT_NE(group, nullptr);
    ControlRef pane = nullptr;
    GetSuperControl(group, &pane);
    EXPECT_EQ(pane, control(window, 1));
    EXPECT_EQ(GetControl32BitValue(group), 2);
    EXPECT_EQ(GetControl32BitMaximum(group), 2);

    // Laid out small on the Mac: the small system font, so the title measures narrower than
    // the same title in the regular font.
    ControlRef small = control(window, 4);
    ASSERT_NE(small, nullptr);
    ControlRef regular = nullptr;
    const Rect r{0, 0, 18, 200};
    ASSERT_EQ(noErr, CreateCheckBoxControl(window, &r, CFSTR("Print on both sides of the paper"), 0,
                                           true, &regular));
    Rect smallBest{}, regularBest{};
    SInt16 baseline = 0;
    GetBestControlRect(small, &smallBest, &baseline);
    GetBestControlRect(regular, &regularBest, &baseline);
    EXPECT_LT(smallBest.right - smallBest.left, regularBest.right - regularBest.left);
    ControlFontStyleRec style{};
    style.flags = kControlUseFontMask;
    style.font = kControlFontSmallSystemFont;
    EXPECT_EQ(noErr, SetControlFontStyle(regular, &style));
    GetBestControlRect(regular, &regularBest, &baseline);
    EXPECT_EQ(smallBest.right - smallBest.left, regularBest.right - regularBest.left);

    MenuRef standalone = nullptr;
    EXPECT_EQ(noErr, CreateMenuFromNib(nib, CFSTR("QualityMenu"), &standalone));
    ReleaseMenu(standalone);
    EXPECT_EQ(kIBCarbonRuntimeObjectNotOfRequestedType,
              CreateWindowFromNib(nib, CFSTR("QualityMenu"), &window));
    DisposeWindow(window);
    DisposeNibReference(nib);
}

TEST(XibNibs, OtherFormatsAndBrokenArchivesAreRefusedWithAMessage) {
    IBNibRef nib = nullptr;
    const std::string compiled = nib_folder("Compiled.nib");
    write(compiled + "/keyedobjects.nib", "bplist00 binary");
    EXPECT_EQ(errCorruptWindowDescription, hit::nib::open_nib_file(compiled, &nib));
    EXPECT_EQ(kIBCarbonRuntimeCantFindNibFile,
              hit::nib::open_nib_file(nib_folder("Empty.nib"), &nib));

    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"Cocoa.nib", "<object class=\"NSIBObjectData\"><string name=\"targetFramework\">"
                      "IBCocoaFramework</string></object>"},
        {"Dangling.nib", "<object class=\"NSIBObjectData\"><dictionary name=\"nameTable\">"
                         "<string>W</string><reference idRef=\"9\"/></dictionary></object>"},
        {"BadRect.nib",
         std::string(kPanel).replace(std::string(kPanel).find("10 10 24 120"), 12, "10 10 24")},
        {"Unknown.nib", std::string(kPanel).replace(std::string(kPanel).find("IBCarbonButton"), 14,
                                                    "IBCarbonSlider")},
    };
    // A group that holds itself is refused, not followed forever.
    std::string cycle(kPanel);
    cycle.insert(cycle.find("<object class=\"IBCarbonRadioButton\" id=\"21\">"),
                 "<reference idRef=\"20\"/>\n");
    const std::string folder = nib_folder("Cycle.nib");
    write(folder + "/objects.xib", cycle);
    EXPECT_EQ(errCorruptWindowDescription, hit::nib::open_nib_file(folder, &nib));
    for (const Case& c : cases) {
        const std::string folder = nib_folder(c.name);
        write(folder + "/objects.xib", c.text);
        nib = nullptr;
        EXPECT_EQ(errCorruptWindowDescription, hit::nib::open_nib_file(folder, &nib)) << c.name;
        EXPECT_EQ(nib, nullptr);
    }
}

} // namespace

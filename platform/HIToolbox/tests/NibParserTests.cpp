// The nib parser on its own: the records it makes, and the file and line of
// every error.
#include "NibInternal.h"

#include <gtest/gtest.h>

namespace {

using hit::nib::Document;

constexpr UInt32 fourcc(const char (&c)[5]) {
    return UInt32(UInt8(c[0])) << 24 | UInt32(UInt8(c[1])) << 16 | UInt32(UInt8(c[2])) << 8 |
           UInt8(c[3]);
}

std::string parse_error(const std::string& text) {
    Document document;
    std::string error;
    EXPECT_FALSE(hit::nib::parse(text, "bad.nib", document, error)) << text;
    return error;
}

TEST(NibParser, ReadsWindowsControlsItemsAndMenus) {
    const std::string text = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- synthetic test data -->
<nib version="1">
  <window name="Window" title="Print &amp; Go" class="movable-modal"
          bounds="100, 50, 400, 450" attributes="close-box standard-handler">
    <control kind="user-pane" id="TVKa:50" bounds="0,0,300,400" features="embedding focus">
      <control kind="check-box" id="TVKa:111" bounds="10,10,28,200" title="Mask"
               value="1" min="0" max="1" visible="false" enabled="false" auto-toggle="true"/>
      <control kind="popup-button" id="ok  :-7" bounds="40,10,60,200" command="Thlp">
        <item title="One"/>
        <item title="Two" command="two " enabled="false"/>
      </control>
    </control>
  </window>
  <menu name="Types" id="-3" title="Types"><item title="A"/></menu>
</nib>
)";
    Document document;
    std::string error;
    ASSERT_TRUE(hit::nib::parse(text, "ok.nib", document, error)) << error;
    ASSERT_EQ(1u, document.windows.size());
    const hit::nib::WindowNode& window = *document.find_window("Window");
    EXPECT_EQ(4, window.line);
    EXPECT_EQ("Print & Go", window.title.value());
    EXPECT_EQ(static_cast<WindowClass>(kMovableModalWindowClass), window.window_class);
    EXPECT_EQ(
        static_cast<WindowAttributes>(kWindowCloseBoxAttribute | kWindowStandardHandlerAttribute),
        window.attributes);
    EXPECT_EQ(450, window.bounds.right);

    ASSERT_EQ(1u, window.controls.size());
    const hit::nib::ControlNode& pane = window.controls[0];
    EXPECT_EQ("user-pane", pane.kind);
    EXPECT_EQ(fourcc("TVKa"), pane.id->signature);
    EXPECT_EQ(50, pane.id->id);
    ASSERT_NE(nullptr, pane.find_extra("features"));
    EXPECT_EQ("embedding focus", pane.find_extra("features")->value);
    ASSERT_EQ(2u, pane.children.size());

    const hit::nib::ControlNode& check = pane.children[0];
    EXPECT_EQ(7, check.line);
    EXPECT_EQ(1, check.value.value());
    EXPECT_EQ(1, check.maximum.value());
    EXPECT_FALSE(check.visible);
    EXPECT_FALSE(check.enabled);
    EXPECT_EQ("Mask", check.title.value());
    ASSERT_EQ(1u, check.extra.size());
    EXPECT_EQ("auto-toggle", check.extra[0].name);

    const hit::nib::ControlNode& popup = pane.children[1];
    EXPECT_EQ(fourcc("ok  "), popup.id->signature); // spaces count
    EXPECT_EQ(-7, popup.id->id);
    EXPECT_EQ(fourcc("Thlp"), popup.command);
    EXPECT_FALSE(popup.title.has_value());
    ASSERT_EQ(2u, popup.items.size());
    EXPECT_EQ(fourcc("two "), popup.items[1].command);
    EXPECT_FALSE(popup.items[1].enabled);
    EXPECT_EQ(11, popup.items[1].line);

    ASSERT_NE(nullptr, document.find_menu("Types"));
    EXPECT_EQ(-3, document.find_menu("Types")->id);
    EXPECT_EQ(nullptr, document.find_window("Types"));
}

TEST(NibParser, EveryErrorNamesTheFileAndLine) {
    const std::string head = "<nib>\n<window name=\"W\" bounds=\"0,0,10,10\">\n";
    const std::string tail = "\n</window>\n</nib>\n";
    struct Case {
        std::string text;
        std::string expected; // the start of the message, file and line included
    };
    const Case cases[] = {
        {"<nib>\n<window name=\"W\"", "bad.nib:2: "}, // not well-formed
        {"\n<panel/>", "bad.nib:2: the root element is <panel>"},
        {"<nib version=\"2\"/>", "bad.nib:1: nib version 2"},
        {"<nib>\n\n<window bounds=\"0,0,1,1\"/></nib>", "bad.nib:3: <window> needs a name"},
        {"<nib>\n<window name=\"W\"/></nib>", "bad.nib:2: <window> needs a bounds"},
        {"<nib>\n<window name=\"W\" bounds=\"0,0,1\"/></nib>", "bad.nib:2: attribute bounds"},
        {"<nib>\n<window name=\"W\" bounds=\"5,0,1,1\"/></nib>", "bad.nib:2: attribute bounds"},
        {"<nib>\n<window name=\"W\" bounds=\"0,0,1,99999\"/></nib>", "bad.nib:2: attribute bounds"},
        {"<nib>\n<window name=\"W\" bounds=\"0,0,1,1\" class=\"round\"/></nib>",
         "bad.nib:2: attribute class"},
        {"<nib>\n<window name=\"W\" bounds=\"0,0,1,1\" attributes=\"close-box wavy\"/></nib>",
         "bad.nib:2: unknown window attribute \"wavy\""},
        {"<nib>\n<window name=\"W\" bounds=\"0,0,1,1\" size=\"3\"/></nib>",
         "bad.nib:2: <window> has no attribute size"},
        {"<nib><window name=\"W\" bounds=\"0,0,1,1\"/>\n<menu name=\"W\"/></nib>",
         "bad.nib:2: a second object is named \"W\""},
        {"<nib>\n<button/></nib>", "bad.nib:2: <button> is not allowed in <nib>"},
        {"<nib>\nhello</nib>", "bad.nib:2: text is not allowed inside <nib>"},
        {head + "<control bounds=\"0,0,1,1\"/>" + tail, "bad.nib:3: <control> needs a kind"},
        {head + "<control kind=\"x\" bounds=\"0,0,1,1\" id=\"TVK:50\"/>" + tail,
         "bad.nib:3: attribute id=\"TVK:50\""},
        {head + "<control kind=\"x\" bounds=\"0,0,1,1\" id=\"TVKa:5x\"/>" + tail,
         "bad.nib:3: attribute id"},
        {head + "<control kind=\"x\" bounds=\"0,0,1,1\" value=\"1.5\"/>" + tail,
         "bad.nib:3: attribute value=\"1.5\": expected a whole number"},
        {head + "<control kind=\"x\" bounds=\"0,0,1,1\" max=\"99999999999\"/>" + tail,
         "bad.nib:3: attribute max"},
        {head + "<control kind=\"x\" bounds=\"0,0,1,1\" min=\"3\" max=\"2\"/>" + tail,
         "bad.nib:3: min 3 is above max 2"},
        {head + "<control kind=\"x\" bounds=\"0,0,1,1\" value=\"3\" max=\"2\"/>" + tail,
         "bad.nib:3: value 3 is above max 2"},
        {head + "<control kind=\"x\" bounds=\"0,0,1,1\" visible=\"yes\"/>" + tail,
         "bad.nib:3: attribute visible=\"yes\": expected true or false"},
        {head + "<control kind=\"x\" bounds=\"0,0,1,1\" command=\"ok\"/>" + tail,
         "bad.nib:3: attribute command"},
        {head + "<control kind=\"x\" bounds=\"0,0,1,1\">\n\n<item/></control>" + tail,
         "bad.nib:5: <item> needs a title"},
        {head + "<control kind=\"x\" bounds=\"0,0,1,1\"><item title=\"a\" key=\"k\"/></control>" +
             tail,
         "bad.nib:3: <item> has no attribute key"},
        {head + "<menu name=\"M\"/>" + tail, "bad.nib:3: <menu> is not allowed in <window>"},
        {"<!DOCTYPE nib [<!ENTITY e \"x\">]>\n<nib/>", "bad.nib:1: a nib has no document type"},
        {"", "bad.nib:"},
    };
    for (const Case& c : cases) {
        const std::string error = parse_error(c.text);
        EXPECT_EQ(0u, error.rfind(c.expected, 0)) << "got: " << error << "\nfor: " << c.text;
        EXPECT_EQ(std::string::npos, error.find('\n')) << error; // one line
    }
}

} // namespace

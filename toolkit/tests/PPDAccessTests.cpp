#include "CurrentPrintSession.h"
#include "PPDAccess.h"
#include "SettingMaps.h"
#include "ToolkitTestSupport.h"

#include <CoreServices/PlatformHost.h>
#include <PrintCore/PlatformHost.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tktest::text;

std::vector<std::pair<std::string, SInt32>> items(MenuRef menu) {
    std::vector<std::pair<std::string, SInt32>> out;
    for (MenuItemIndex i = 1; i <= CountMenuItems(menu); ++i) {
        CFStringRef title = nullptr;
        URefCon refCon = 0;
        CopyMenuItemTextAsCFString(menu, i, &title);
        GetMenuItemRefCon(menu, i, &refCon);
        out.emplace_back(text(title), static_cast<SInt32>(refCon));
        if (title != nullptr)
            CFRelease(title);
    }
    return out;
}

using Items = std::vector<std::pair<std::string, SInt32>>;

// The print dialog as the hooks leave it: a session whose current printer has a PPD.
class PPDAccess : public testing::Test {
  protected:
    void SetUp() override {
        PPDCloseCurrent();
        ASSERT_EQ(PMCreateSession(&session), noErr);
        use_printer(tktest::fixture_path("PPDAccess.ppd"));
        gCurrentPrintSession = session;
    }
    void TearDown() override {
        PPDCloseCurrent();
        gCurrentPrintSession = nullptr;
        PMRelease(session);
        PlatformSetSystemVersion(0, 0, 0);
    }
    void use_printer(const std::string& ppdPath) {
        PMPrinter printer = nullptr;
        ASSERT_EQ(PlatformCreatePrinterWithPPD(CFSTR("Test Printer"), ppdPath.c_str(), &printer),
                  noErr);
        PMSessionSetCurrentPMPrinter(session, printer);
        PMRelease(printer);
    }

    PMPrintSession session = nullptr;
};

TEST_F(PPDAccess, TheCurrentPPDIsOpenedOnceAndKeptUntilClosed) {
    ppd_file_t* ppd = PPDGetCurrent();
    ASSERT_NE(ppd, nullptr);
    float limits[4] = {};
    GetMediaLimits(&limits[0], &limits[1], &limits[2], &limits[3]);
    EXPECT_EQ(std::vector<float>(limits, limits + 4), (std::vector<float>{200, 300, 900, 1400}));

    // Another printer changes nothing until the kept PPD is closed.
    use_printer(tktest::fixture_path("InstallableOptions.ppd"));
    EXPECT_EQ(PPDGetCurrent(), ppd);
    PPDCloseCurrent();
    ppd_file_t* other = PPDGetCurrent();
    ASSERT_NE(other, nullptr);
    EXPECT_NE(ppdFindOption(other, "TKFinisher"), nullptr);
}

TEST_F(PPDAccess, WithoutASessionOrAReadablePPDThereIsNoneAndFixedLimits) {
    use_printer(tktest::fixture_path("NoSuchFile.ppd"));
    EXPECT_EQ(PPDGetCurrent(), nullptr);
    float minW = 0, minH = 0, maxW = 0, maxH = 0;
    GetMediaLimits(&minW, &minH, &maxW, &maxH);
    EXPECT_EQ(std::vector<float>({minW, minH, maxW, maxH}),
              (std::vector<float>{432, 432, 864, 864}));
    // A failed open is tried again next time.
    use_printer(tktest::fixture_path("PPDAccess.ppd"));
    EXPECT_NE(PPDGetCurrent(), nullptr);
    PPDCloseCurrent();
    gCurrentPrintSession = nullptr;
    EXPECT_EQ(PPDGetCurrent(), nullptr);
}

TEST_F(PPDAccess, TheFeaturePlugInLocalisesEachNewPPDOnceFrom10Point5On) {
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(FEATURES_BUNDLE), strlen(FEATURES_BUNDLE), true);
    CFBundleRef features = CFBundleCreate(nullptr, url);
    CFRelease(url);
    ASSERT_NE(features, nullptr);

    PlatformSetSystemVersion(10, 4, 11);
    EXPECT_EQ(
        tktest::take_text(PPDCopyChoiceText(PPDGetCurrent(), CFSTR("InputSlot"), CFSTR("Tray1"))),
        "Fach 1");
    PPDCloseCurrent();
    PlatformSetSystemVersion(10, 5, 0);
    ppd_file_t* ppd = PPDGetCurrent();
    PPDGetCurrent();
    CFStringRef title = PPDCopyChoiceText(ppd, CFSTR("InputSlot"), CFSTR("Tray1"));
    EXPECT_EQ(text(title), "Localised Tray 1");
    CFRelease(title);

    // The plug-in's code is loaded by now; ask it how often it was called.
    CFURLRef pluginURL = CFURLCreateFromFileSystemRepresentation(
        nullptr,
        reinterpret_cast<const UInt8*>(FEATURES_BUNDLE "/Contents/Resources/QyxCups.plugin"),
        strlen(FEATURES_BUNDLE "/Contents/Resources/QyxCups.plugin"), true);
    CFBundleRef plugin = CFBundleCreate(nullptr, pluginURL);
    auto count = reinterpret_cast<int (*)()>(
        CFBundleGetFunctionPointerForName(plugin, CFSTR("QyxCupsCallCount")));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count(), 1);
    CFRelease(plugin);
    CFRelease(pluginURL);
    CFRelease(features);
}

TEST_F(PPDAccess, MenusOfferTheChoicesTheTablesKnowWithTheirTicketValues) {
    ppd_file_t* ppd = PPDGetCurrent();
    MenuRef menu = nullptr;
    ASSERT_EQ(CreateNewMenu(300, 0, &menu), noErr);
    AppendMenuItemTextWithCFString(menu, CFSTR("stale"), 0, 0, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(PPDPopulateMenuWithChoices(menu, ppd, CFSTR("InputSlot"), 'slot', false), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Skipped unrecognized choice in PPD: Envelope\n");
    EXPECT_EQ(items(menu), (Items{{"Fach 1", 1}, {"Fach 2 (gro\u00dfe Bl\u00e4tter)", 2}}));
    MenuCommand command = 0;
    GetMenuItemCommandID(menu, 2, &command);
    EXPECT_EQ(command, 'slot');

    testing::internal::CaptureStderr();
    EXPECT_EQ(PPDPopulateMenuWithChoices(menu, ppd, CFSTR("TKNoSuchOption"), 0, false), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Expected PPD option not found: TKNoSuchOption\n");
    EXPECT_EQ(CountMenuItems(menu), 0);

    // The default paper type is a transparency, which cannot go through the duplexer.
    EXPECT_EQ(PPDPopulateMenuWithChoices(menu, ppd, CFSTR("Duplex"), 0, true), 1);
    EXPECT_EQ(items(menu), (Items{{"Aus", 1}}));
    EXPECT_EQ(PPDPopulateMenuWithChoices(menu, ppd, CFSTR("Duplex"), 0, false), 3);
    EXPECT_EQ(PPDPopulateMenuWithChoices(nullptr, ppd, CFSTR("Duplex"), 0, false), 0);
    EXPECT_EQ(PPDPopulateMenuWithChoices(menu, nullptr, CFSTR("Duplex"), 0, false), 0);
    ReleaseMenu(menu);
}

TEST_F(PPDAccess, PopupsAreSetAndReadByTicketValue) {
    WindowRef window = nullptr;
    ControlRef popup = nullptr;
    const Rect bounds{100, 100, 300, 500}, r{10, 10, 30, 250};
    ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window), noErr);
    ASSERT_EQ(CreatePopupButtonControl(window, &r, nullptr, 200, false, 0, 0, 0, &popup), noErr);
    EXPECT_EQ(PPDPopulatePopupWithChoices(popup, PPDGetCurrent(), CFSTR("MediaType"), false), 3);
    EXPECT_EQ(GetControl32BitMaximum(popup), 3);
    EXPECT_TRUE(SetPopupButtonToTicketValue(popup, 2)); // Transparency
    EXPECT_EQ(GetControl32BitValue(popup), 2);
    EXPECT_EQ(GetPopupButtonTicketValue(popup), 2);
    EXPECT_EQ(PPDPopulatePopupWithChoices(nullptr, PPDGetCurrent(), CFSTR("MediaType"), false), 0);
    DisposeWindow(window);
}

TEST_F(PPDAccess, TheTicketHoldsChoicesAndFallsBackToThePPDsDefault) {
    ppd_file_t* ppd = PPDGetCurrent();
    PMTicketRef ticket = nullptr;
    ASSERT_EQ(PMTicketCreate(nullptr, kPMPrintSettingsTicket, &ticket), noErr);
    EXPECT_EQ(PPDCopyCurrentChoice(ticket, CFSTR("InputSlot")), nullptr);
    SInt32 value = 77;
    PPDGetTicketValueForChoiceOrDefault(ppd, ticket, CFSTR("InputSlot"), &value);
    EXPECT_EQ(value, 2); // the default, Tray2
    value = 77;
    PPDGetTicketValueForChoiceOrDefault(ppd, ticket, CFSTR("TKNoSuchOption"), &value);
    EXPECT_EQ(value, 77);

    PPDSetCurrentChoice(ticket, CFSTR("InputSlot"), CFSTR("Tray1"));
    CFStringRef choice = PPDCopyCurrentChoice(ticket, CFSTR("InputSlot"));
    EXPECT_EQ(text(choice), "Tray1");
    CFRelease(choice);
    PPDGetTicketValueForChoiceOrDefault(ppd, ticket, CFSTR("InputSlot"), &value);
    EXPECT_EQ(value, 1);
    PPDSetCurrentChoice(ticket, CFSTR("InputSlot"), CFSTR("Envelope"));
    PPDGetTicketValueForChoiceOrDefault(ppd, ticket, CFSTR("InputSlot"), &value);
    EXPECT_EQ(value, -1);

    EXPECT_EQ(tktest::take_text(PPDCopyDefaultChoice(ppd, CFSTR("MediaType"))), "Transparency");
    EXPECT_EQ(PPDCopyDefaultChoice(ppd, CFSTR("TKNoSuchOption")), nullptr);
    EXPECT_EQ(PPDCopyChoiceText(ppd, CFSTR("InputSlot"), CFSTR("Tray9")), nullptr);
    EXPECT_EQ(PPDCopyCurrentChoice(nullptr, CFSTR("InputSlot")), nullptr);
    PPDSetCurrentChoice(nullptr, CFSTR("InputSlot"), CFSTR("Tray1")); // no crash, no effect
    PMTicketRelease(ticket);
}

// A one-option PPD whose texts are the given bytes. CUPS converts the encodings it knows to
// UTF-8 and keeps the bytes of any other, naming them "UTF-8" either way; the tests then say
// what the bytes really are, as a PPD record from elsewhere would.
std::string write_ppd(const std::string& encodingLine, const std::string& title) {
    const auto path = tktest::scratch_folder() / "Encoded.ppd";
    tktest::write_file(path, "*PPD-Adobe: \"4.3\"\n*% Synthetic test data.\n"
                             "*FormatVersion: \"4.3\"\n*LanguageVersion: English\n"
                             "*LanguageEncoding: " +
                                 encodingLine +
                                 "\n"
                                 "*ModelName: \"Encoded\"\n*NickName: \"Encoded\"\n"
                                 "*OpenUI *InputSlot: PickOne\n*DefaultInputSlot: Tray1\n"
                                 "*InputSlot Tray1/" +
                                 title + ": \"\"\n*CloseUI: *InputSlot\n");
    return path.string();
}

TEST(PPDEncodings, TextsAreReadInTheEncodingThePPDNames) {
    struct Case {
        const char* name;
        const char* bytes;
        CFStringEncoding encoding;
        const char* utf8;
    };
    const Case cases[] = {
        {"ISOLatin1", "gro\xdf", kCFStringEncodingISOLatin1, "gro\u00df"},
        {"ISOLatin2", "\xa9koda", kCFStringEncodingISOLatin2, "\u0160koda"},
        {"ISOLatin5", "Ka\xf0\xfdt", kCFStringEncodingISOLatin5, "Ka\u011f\u0131t"},
        {"JIS83-RKSJ", "\x83\x67\x83\x8c\x83\x43", kCFStringEncodingShiftJIS, "\u30c8\u30ec\u30a4"},
        {"UTF8", "\xc3\xa9t\xc3\xa9", kCFStringEncodingUTF8, "\u00e9t\u00e9"},
        {"UTF-8", "\xc3\xa9t\xc3\xa9", kCFStringEncodingUTF8, "\u00e9t\u00e9"},
        {"isolatin1", "\x8a", kCFStringEncodingMacRoman, "\u00e4"},
        {"Klingon", "\x8a", kCFStringEncodingMacRoman, "\u00e4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ppd_file_t* ppd = ppdOpenFile(write_ppd("TKRawBytes", c.bytes).c_str());
        ASSERT_NE(ppd, nullptr);
        char* cupsName = ppd->lang_encoding;
        ppd->lang_encoding = const_cast<char*>(c.name);
        EXPECT_EQ(PPDGetEncoding(ppd), c.encoding);
        EXPECT_EQ(tktest::take_text(PPDCopyChoiceText(ppd, CFSTR("InputSlot"), CFSTR("Tray1"))),
                  c.utf8);
        ppd->lang_encoding = cupsName;
        ppdClose(ppd);
    }
    EXPECT_EQ(PPDGetEncoding(nullptr), kCFStringEncodingMacRoman);

    // A whole Shift-JIS file, as CUPS reads it.
    ppd_file_t* ppd = ppdOpenFile(write_ppd("JIS83-RKSJ", "\x83\x67\x83\x8c\x83\x43").c_str());
    ASSERT_NE(ppd, nullptr);
    EXPECT_EQ(tktest::take_text(PPDCopyChoiceText(ppd, CFSTR("InputSlot"), CFSTR("Tray1"))),
              "\u30c8\u30ec\u30a4");
    ppdClose(ppd);
}

} // namespace

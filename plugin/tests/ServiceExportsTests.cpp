// The toolkit's services as the driver's other panels reach them: exported from the bundle
// under their names, and the PPD routines finding the printer of the session that the
// bundle's own Initialize hook made current.
#include "AccountingTestSupport.h"

#include <PrintCore/PlatformHost.h>
#include <cups/ppd.h>
#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ServiceExports, EveryServiceRoutineIsExportedUnderItsName) {
    CFBundleRef bundle = testsupport::accounting_bundle();
    ASSERT_NE(bundle, nullptr);
    const char* const names[] = {
        "CopyPreferenceFileURL", "CopyXMLData", "CopyUserPreferences", "WriteUserPreferences",
        // PopulatePopupButtonFromMapAndHistory, under its C++ name.
        "_Z36PopulatePopupButtonFromMapAndHistoryP14OpaqueCFBundleP16OpaqueControlRefPK10"
        "SettingMapjPK14OpaqueCFStringijj",
        "loadWatermarkList", "saveWatermarkList", "loadWatermarkData", "saveWatermarkData",
        "removeWatermarkData", "loadFontData", "storeFontData", "PPDGetCurrent", "PPDCloseCurrent",
        "PPDGetEncoding", "PPDCopyChoiceText", "PPDCopyDefaultChoice", "PPDCopyCurrentChoice",
        "PPDSetCurrentChoice", "PPDGetTicketValueForChoiceOrDefault", "PPDPopulateMenuWithChoices",
        "PPDPopulatePopupWithChoices", "GetMediaLimits"};
    for (const char* name : names) {
        CFStringRef symbol = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
        EXPECT_NE(CFBundleGetFunctionPointerForName(bundle, symbol), nullptr) << name;
        CFRelease(symbol);
    }
    EXPECT_NE(CFBundleGetDataPointerForName(bundle, CFSTR("gCurrentPrintSession")), nullptr);
}

template <class F> F function(const char* name) {
    CFStringRef symbol = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
    void* found = CFBundleGetFunctionPointerForName(testsupport::accounting_bundle(), symbol);
    CFRelease(symbol);
    return reinterpret_cast<F>(found);
}

TEST(ServiceExports, ThePPDIsTheOneOfTheSessionInitializeMadeCurrent) {
    using Hook = OSStatus (*)(PMPDEContext, PMPDEFlags*, PMPDERef, ControlRef, PMPrintSession);
    using Terminate = OSStatus (*)(PMPDEContext, OSStatus);
    auto initialize = function<Hook>("TovekPDEInitialize");
    auto terminate = function<Terminate>("TovekPDETerminate");
    auto get_current = function<ppd_file_t* (*)()>("PPDGetCurrent");
    auto close_current = function<void (*)()>("PPDCloseCurrent");
    ASSERT_TRUE(initialize && terminate && get_current && close_current);

    PMPrintSession session = nullptr;
    PMPrinter printer = nullptr;
    ASSERT_EQ(PMCreateSession(&session), noErr);
    const std::string ppd =
        std::string(std::getenv("ACCOUNTING_SOURCE_DIR")) + "/resources/printers/tovek-kv3300.ppd";
    ASSERT_EQ(PlatformCreatePrinterWithPPD(CFSTR("KV3300"), ppd.c_str(), &printer), noErr);
    PMSessionSetCurrentPMPrinter(session, printer);
    PMRelease(printer);

    close_current();
    EXPECT_EQ(get_current(), nullptr); // no session yet
    PMPDEFlags flags = 0;
    initialize(nullptr, &flags, nullptr, nullptr, session);
    auto* current = static_cast<PMPrintSession*>(CFBundleGetDataPointerForName(
        testsupport::accounting_bundle(), CFSTR("gCurrentPrintSession")));
    EXPECT_EQ(*current, session);
    EXPECT_NE(get_current(), nullptr);
    terminate(nullptr, noErr);
    EXPECT_EQ(*current, nullptr);
    close_current();
    PMRelease(session);
}

} // namespace

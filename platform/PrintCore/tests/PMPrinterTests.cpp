#include "CupsPPD.h"
#include "TestFolder.h"

#include <PrintCore/PlatformHost.h>
#include <PrintCore/PrintCore.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace {

std::string sample_ppd() {
    const char* source = std::getenv("ACCOUNTING_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/resources/printers/tovek-kv3300.ppd";
}

std::string path_of(CFURLRef url) {
    char path[PATH_MAX];
    if (!CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(path), sizeof path))
        return {};
    return path;
}

TEST(Printer, FromAPPDFileGivesItsAbsolutePathAsTheDescription) {
    PMPrinter printer = nullptr;
    ASSERT_EQ(
        PlatformCreatePrinterWithPPD(CFSTR("Tovek KV3300 #2"), sample_ppd().c_str(), &printer),
        noErr);
    EXPECT_EQ(text_of(PMPrinterGetName(printer)), "Tovek KV3300 #2");
    EXPECT_EQ(text_of(PMPrinterGetID(printer)), "Tovek_KV3300__2");
    CFStringRef problem = PlatformCopyPrinterPPDError(printer);
    EXPECT_EQ(problem, nullptr) << text_of(problem);
    if (problem != nullptr)
        CFRelease(problem);

    CFURLRef url = nullptr;
    ASSERT_EQ(PMPrinterGetDescriptionURL(printer, kPMPPDDescriptionType, &url), noErr);
    char resolved[PATH_MAX];
    ASSERT_NE(realpath(sample_ppd().c_str(), resolved), nullptr);
    EXPECT_EQ(path_of(url), resolved);
    ppd_file_t* ppd = ppdOpenFile(path_of(url).c_str());
    ASSERT_NE(ppd, nullptr);
    EXPECT_STREQ(ppd->manufacturer, "Tovek");
    ppdClose(ppd);
    CFRelease(url);

    EXPECT_EQ(PMPrinterGetDescriptionURL(printer, CFSTR("PMOtherType"), &url), kPMInvalidParameter);
    EXPECT_EQ(PMPrinterGetDescriptionURL(nullptr, kPMPPDDescriptionType, &url), kPMInvalidPrinter);
    PMRelease(printer);
}

// A printer whose PPD libcups can't open still exists, but has no description, and says why.
TEST(Printer, WithoutAReadablePPDHasNoDescriptionAndSaysWhy) {
    TestFolder folder;
    struct Case {
        std::string path;
        std::string reason;
    } cases[] = {
        {folder.write("notes.ppd", "Not a PPD at all.\n"), "on line 1"},
        {folder.write("header.ppd", "*Manufacturer: \"Tovek\"\n"), "PPD-Adobe"},
        {folder.file("missing.ppd"), "No such file or directory"},
        {folder.path(), "folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        PMPrinter printer = nullptr;
        ASSERT_EQ(PlatformCreatePrinterWithPPD(CFSTR("Broken"), c.path.c_str(), &printer), noErr);
        CFURLRef url = nullptr;
        EXPECT_EQ(PMPrinterGetDescriptionURL(printer, kPMPPDDescriptionType, &url), kPMNoSuchEntry);
        EXPECT_EQ(url, nullptr);
        CFStringRef why = PlatformCopyPrinterPPDError(printer);
        std::string message = text_of(why);
        EXPECT_NE(message.find(c.path), std::string::npos) << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        if (why != nullptr)
            CFRelease(why);
        PMRelease(printer);
    }
}

TEST(Printer, TheSessionKeepsItsCurrentPrinterAlive) {
    PMPrintSession session = nullptr;
    ASSERT_EQ(PMCreateSession(&session), noErr);
    PMPrinter current = nullptr;
    EXPECT_EQ(PMSessionGetCurrentPrinter(session, &current), kPMNoDefaultPrinter);

    PMPrinter printer = nullptr;
    PlatformCreatePrinterWithPPD(CFSTR("Tovek"), sample_ppd().c_str(), &printer);
    EXPECT_EQ(PMSessionSetCurrentPMPrinter(session, printer), noErr);
    PMRelease(printer); // the session's reference is now the only one
    ASSERT_EQ(PMSessionGetCurrentPrinter(session, &current), noErr);
    EXPECT_EQ(current, printer);
    EXPECT_EQ(text_of(PMPrinterGetName(current)), "Tovek");

    // Not a printer: refused, and the current printer stays.
    EXPECT_EQ(PMSessionSetCurrentPMPrinter(session, reinterpret_cast<PMPrinter>(session)),
              kPMInvalidPrinter);
    EXPECT_EQ(PMSessionGetCurrentPrinter(session, &current), noErr);
    EXPECT_EQ(current, printer);
    PMRelease(session);
}

TEST(Printer, CreateFromPrinterIDFindsTheLivePrinter) {
    PMPrinter printer = nullptr;
    PlatformCreatePrinterWithPPD(CFSTR("Tovek Lookup"), sample_ppd().c_str(), &printer);
    PMPrinter found = PMPrinterCreateFromPrinterID(CFSTR("Tovek_Lookup"));
    EXPECT_EQ(found, printer);
    PMRelease(found);
    PMRelease(printer);
    EXPECT_EQ(PMPrinterCreateFromPrinterID(CFSTR("Tovek_Lookup")), nullptr);
}

// No CUPS server runs where these tests run; a destination that does not exist must fail the
// same way whether or not one does.
TEST(CUPSPrinter, AnUnknownDestinationFailsWithAMessage) {
    std::string name = "no-such-destination-" + std::to_string(getpid());
    CFStringRef cfName = CFStringCreateWithCString(nullptr, name.c_str(), kCFStringEncodingUTF8);
    PMPrinter printer = reinterpret_cast<PMPrinter>(0x1);
    CFStringRef error = nullptr;
    EXPECT_EQ(PlatformCreatePrinterForCUPSDestination(cfName, &printer, &error), kPMInvalidPrinter);
    EXPECT_EQ(printer, nullptr);
    EXPECT_NE(text_of(error).find(name), std::string::npos) << text_of(error);
    EXPECT_EQ(PMPrinterCreateFromPrinterID(cfName), nullptr);
    if (error != nullptr)
        CFRelease(error);
    CFRelease(cfName);
}

// A destination the host found itself: named as people know it, and its PPD asked of CUPS
// only when someone wants it, which for a queue CUPS does not have says why there is none.
TEST(CUPSPrinter, AFoundDestinationAsksForItsPPDOnlyWhenAsked) {
    const std::string queue = "found-queue-" + std::to_string(getpid());
    CFStringRef cfQueue = CFStringCreateWithCString(nullptr, queue.c_str(), kCFStringEncodingUTF8);
    PMPrinter printer = nullptr;
    ASSERT_EQ(
        PlatformCreatePrinterForFoundCUPSDestination(cfQueue, CFSTR("Front office"), &printer),
        noErr);
    EXPECT_EQ(text_of(PMPrinterGetName(printer)), "Front office");
    EXPECT_EQ(text_of(PMPrinterGetID(printer)), queue);
    CFURLRef url = nullptr;
    EXPECT_EQ(PMPrinterGetDescriptionURL(printer, kPMPPDDescriptionType, &url), kPMNoSuchEntry);
    CFStringRef why = PlatformCopyPrinterPPDError(printer);
    EXPECT_NE(text_of(why).find("CUPS has no PPD for \"" + queue + "\""), std::string::npos)
        << text_of(why);
    if (why != nullptr)
        CFRelease(why);
    PMRelease(printer);
    CFRelease(cfQueue);
    EXPECT_EQ(PlatformCreatePrinterForFoundCUPSDestination(CFSTR("/instance"), nullptr, &printer),
              kPMInvalidPrinter);
    EXPECT_EQ(printer, nullptr);
}

TEST(CUPSPrinter, AnExistingDestinationBecomesAPrinter) {
    cups_dest_t* dests = nullptr;
    int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    if (count == 0)
        GTEST_SKIP() << "CUPS knows no destination here (" << cupsLastErrorString() << ")";
    std::string name = dests[0].name;
    cupsFreeDests(count, dests);
    CFStringRef cfName = CFStringCreateWithCString(nullptr, name.c_str(), kCFStringEncodingUTF8);
    PMPrinter printer = nullptr;
    CFStringRef error = nullptr;
    ASSERT_EQ(PlatformCreatePrinterForCUPSDestination(cfName, &printer, &error), noErr)
        << text_of(error);
    EXPECT_EQ(text_of(PMPrinterGetID(printer)), name);
    CFURLRef url = nullptr;
    if (PMPrinterGetDescriptionURL(printer, kPMPPDDescriptionType, &url) == noErr) {
        std::string path = path_of(url);
        EXPECT_EQ(access(path.c_str(), R_OK), 0);
        CFRelease(url);
        PMRelease(printer);
        EXPECT_NE(access(path.c_str(), F_OK), 0) << "the fetched PPD outlived its printer";
    } else {
        CFStringRef why = PlatformCopyPrinterPPDError(printer);
        EXPECT_NE(why, nullptr);
        CFRelease(why);
        PMRelease(printer);
    }
    CFRelease(cfName);
}

} // namespace

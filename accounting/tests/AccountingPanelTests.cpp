// The panel built from the bundle's nib: which controls each accounting system and prompt
// choice shows and enables, where the account ID pair stands, and what the key filter lets in.
#include "AccountingContext.h"
#include "AccountingControls.h"
#include "AccountingEvents.h"
#include "AccountingPanel.h"
#include "AccountingPrompt.h"
#include "AccountingSync.h"
#include "AccountingTestSupport.h"

#include <CoreServices/PlatformHost.h>
#include <PrintCore/PlatformHost.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class Panel : public testing::Test {
  protected:
    void SetUp() override {
        IBNibRef nib = nullptr;
        ASSERT_EQ(noErr, CreateNibReferenceWithCFBundle(testsupport::accounting_bundle(),
                                                        CFSTR("Accounting"), &nib));
        ASSERT_EQ(noErr, CreateWindowFromNib(nib, CFSTR("Window"), &window));
        DisposeNibReference(nib);
        context = CreateAccountingContext();
        ASSERT_NE(nullptr, context);
        context->bundle = testsupport::accounting_bundle();
        context->window = window;
        gContext = context; // as Prolog makes it
        InitializeWindow(context);
    }
    void TearDown() override {
        gContext = nullptr;
        DisposeWindow(window);
        std::free(context);
    }
    ControlRef control(SInt32 id) { return FindAccountingControl(window, id); }
    bool shown(SInt32 id) { return IsControlVisible(control(id)); }
    bool enabled(SInt32 id) { return IsControlEnabled(control(id)); }
    SInt32 value(SInt32 id) { return GetControl32BitValue(control(id)); }
    Rect bounds(SInt32 id) {
        Rect r{};
        GetControlBounds(control(id), &r);
        return r;
    }
    void show(SInt32 system, SInt32 prompt) {
        context->accountingSystem = system;
        context->promptForEveryJob = prompt;
        setControls(context);
    }

    WindowRef window = nullptr;
    AccountingContext* context = nullptr;
};

TEST_F(Panel, EachSystemAndPromptChoiceShowsItsControls) {
    struct Row {
        SInt32 system, prompt;
        bool text103, radios, userEnabled, typeShown, typeEnabled, masksEnabled, auxShown;
        SInt32 maxChars;
    };
    const Row rows[] = {
        {2, 1, false, true, false, true, false, true, true, 12},
        {2, 0, false, true, true, true, true, false, true, 12},
        {3, 1, false, true, false, false, false, true, false, 64},
        {3, 0, false, true, true, false, true, false, false, 64},
        {1, 1, true, false, false, false, false, false, false, 64}, // keeps the last value
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("system " + std::to_string(row.system) + ", prompt " +
                     std::to_string(row.prompt));
        context->accountType = 2;
        show(row.system, row.prompt);
        EXPECT_EQ(row.text103, shown(kNoAccountingTextID));
        EXPECT_EQ(row.radios, shown(kPromptRadioID));
        EXPECT_EQ(row.radios, shown(kDefaultCodesRadioID));
        EXPECT_EQ(row.radios, shown(kUserIDFieldID));
        EXPECT_EQ(row.typeShown, shown(kAccountTypePopupID));
        EXPECT_EQ(row.auxShown, shown(kAuxiliaryInterfaceCheckID));
        EXPECT_EQ(row.maxChars, gMaxChars);
        EXPECT_TRUE(shown(kAccountingPopupID));
        if (row.system == 1)
            continue;
        EXPECT_EQ(row.prompt, value(kPromptRadioID));
        EXPECT_EQ(1 - row.prompt, value(kDefaultCodesRadioID));
        EXPECT_EQ(row.userEnabled, enabled(kUserIDFieldID));
        EXPECT_EQ(row.typeEnabled, enabled(kAccountTypePopupID));
        EXPECT_EQ(row.masksEnabled, enabled(kMaskUserIDCheckID));
        // Prompting forces the account type to the default group account.
        EXPECT_EQ(row.prompt ? 1 : 2, context->accountType);
    }
}

TEST_F(Panel, TheAccountPairMovesOnceAndComesBackHome) {
    const Rect labelHome = bounds(kAccountIDLabelID), fieldHome = bounds(kAccountIDFieldID);
    show(3, 0);
    const Rect labelMoved = bounds(kAccountIDLabelID), fieldMoved = bounds(kAccountIDFieldID);
    EXPECT_EQ(bounds(kAccountTypeLabelID).top, labelMoved.top);
    EXPECT_EQ(labelMoved.bottom + 8, fieldMoved.top);
    EXPECT_EQ(fieldHome.bottom - fieldHome.top, fieldMoved.bottom - fieldMoved.top);

    for (SInt32 system : {3, 1, 3}) {
        show(system, 0);
        EXPECT_EQ(labelMoved.top, bounds(kAccountIDLabelID).top) << system;
        EXPECT_EQ(fieldMoved.top, bounds(kAccountIDFieldID).top) << system;
    }
    show(2, 0);
    const Rect labelBack = bounds(kAccountIDLabelID), fieldBack = bounds(kAccountIDFieldID);
    EXPECT_EQ(0, std::memcmp(&labelHome, &labelBack, sizeof(Rect)));
    EXPECT_EQ(0, std::memcmp(&fieldHome, &fieldBack, sizeof(Rect)));
    // With the default group account the account ID has nothing to say.
    context->accountType = 1;
    show(2, 0);
    EXPECT_FALSE(enabled(kAccountIDFieldID));
}

TEST_F(Panel, AnUnknownSystemKeepsTheLayoutButSetsTheStates) {
    show(3, 1);
    show(7, 0);
    EXPECT_FALSE(shown(kAccountTypePopupID)); // as system 3 left it
    EXPECT_EQ(64, gMaxChars);
    EXPECT_EQ(1, value(kDefaultCodesRadioID));
    EXPECT_FALSE(enabled(kMaskUserIDCheckID));
}

ControlKeyFilterResult key(ControlRef field, char c) {
    SInt16 keyCode = 0, charCode = c;
    EventModifiers modifiers = 0;
    return accountKeyFilter(field, &keyCode, &charCode, &modifiers);
}

TEST_F(Panel, TheKeyFilterRefusesSeparatorsAndCapsCodesAt32Bytes) {
    show(3, 0);
    ControlRef field = control(kUserIDFieldID);
    const unsigned long beeps = PlatformGetBeepCount();
    EXPECT_EQ(kControlKeyFilterPassKey, key(field, 'a'));
    for (char c : std::string(",\"':;/\\|{}[]><?"))
        EXPECT_EQ(kControlKeyFilterBlockKey, key(field, c)) << c;
    EXPECT_EQ(beeps + 15, PlatformGetBeepCount());

    const std::string full(32, 'x');
    SetControlData(field, 0, kControlEditTextTextTag, 32, full.data());
    ControlEditTextSelectionRec caret{32, 32};
    SetControlData(field, 0, kControlEditTextSelectionTag, sizeof(caret), &caret);
    EXPECT_EQ(kControlKeyFilterBlockKey, key(field, 'y'));
    EXPECT_EQ(kControlKeyFilterPassKey, key(field, kBackspaceCharCode)); // edits
    ControlEditTextSelectionRec all{0, 32};
    SetControlData(field, 0, kControlEditTextSelectionTag, sizeof(all), &all);
    EXPECT_EQ(kControlKeyFilterPassKey, key(field, 'y')); // replaces the selection

    // Without a system that takes codes, the limit is 0: only editing keys pass.
    SetControlData(field, 0, kControlEditTextSelectionTag, sizeof(caret), &caret);
    context->accountingSystem = 1;
    EXPECT_EQ(kControlKeyFilterBlockKey, key(control(kUserIDFieldID), 'a'));
}

// Text pasted into a default ID field is not capped by the key filter. What the stores keep of
// it ends before the character that does not fit whole, and the ticket still gets every key.
TEST_F(Panel, PastedCodesAreCutBeforeACharacterThatDoesNotFitWhole) {
    show(3, 0);
    const std::string pasted = std::string(78, 'p') + "\xC3\xA9tail"; // 78 bytes, then "é"
    for (SInt32 id : {kUserIDFieldID, kAccountIDFieldID})
        SetControlData(control(id), 0, kControlEditTextTextTag, static_cast<Size>(pasted.size()),
                       pasted.data());
    context->accountType = 2;
    CopyAccountingCode(context->defaultUserID, "earlier");
    EXPECT_EQ(eventNotHandledErr, RunModalAccountingDialog(context));
    EXPECT_EQ(std::string(78, 'p'), context->jobUserID);
    EXPECT_EQ(std::string(78, 'p'), context->defaultAccountID);

    PMPrintSession session = nullptr;
    PMTicketRef ticket = nullptr;
    ASSERT_EQ(noErr, PMCreateSession(&session));
    ASSERT_EQ(noErr, PMTicketCreate(nullptr, kPMPrintSettingsTicket, &ticket));
    SInt32 handle = PMTicketGetHandle(ticket);
    CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &handle);
    PMSessionSetDataInSession(session, kPDE_PMPrintSettingsRef, number);
    CFRelease(number);
    CopyAccountingCode(context->defaultUserID, "earlier");
    EXPECT_EQ(noErr, SyncAccountingTicket(context, session, kPMSyncTicketFromPane));
    CFArrayRef keys = PlatformTicketCopyKeysInWriteOrder(ticket);
    EXPECT_EQ(9, CFArrayGetCount(keys));
    CFRelease(keys);
    char code[kAccountingCodeSize] = "";
    EXPECT_EQ(noErr, PMTicketGetCString(ticket, 0, 0, kAccountingUserIDKey, sizeof code,
                                        kCFStringEncodingUTF8, code));
    EXPECT_EQ(std::string(78, 'p'), code);
    PMTicketRelease(ticket);
    PMRelease(session);
}

// A bundle whose nib is missing, or lacks the prompt's window, stops the print with the nib
// call's status and shows nothing.
TEST(Prompt, AMissingNibOrWindowStopsThePrintWithItsStatus) {
    const std::filesystem::path root =
        std::filesystem::path(std::getenv("ACCOUNTING_BINARY_DIR")) / "test-bundles" / "NoPrompt";
    const std::filesystem::path resources = root / "Contents" / "Resources";
    std::filesystem::create_directories(resources);
    std::ofstream(root / "Contents" / "Info.plist")
        << "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
           "<string>test.noprompt</string></dict></plist>\n"; // synthetic test data
    std::filesystem::remove(resources / "Accounting.nib");
    const std::string path = root.string();
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.c_str()), static_cast<CFIndex>(path.size()),
        true);
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    ASSERT_NE(nullptr, bundle);

    AccountingContext* context = CreateAccountingContext();
    context->bundle = bundle;
    context->accountingSystem = kAccountingEnabled;
    context->promptForEveryJob = 1;
    EXPECT_EQ(kIBCarbonRuntimeCantFindNibFile, RunModalAccountingDialog(context));
    std::ofstream(resources / "Accounting.nib") << "<nib version=\"1\"></nib>\n";
    EXPECT_EQ(kIBCarbonRuntimeCantFindObject, RunModalAccountingDialog(context));
    EXPECT_EQ(nullptr, context->dialogWindow);
    std::free(context);
    CFRelease(bundle);
}

} // namespace

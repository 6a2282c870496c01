// The panel's lifecycle operations, driven through the interface table as a host does.
#include "AccountingTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace testsupport;

namespace {

std::string utf8(CFStringRef s) {
    char buffer[256] = "";
    if (s != nullptr)
        CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8);
    return buffer;
}

class Lifecycle : public ::testing::Test {
  protected:
    void SetUp() override {
        pde_ = make_pde();
        ASSERT_NE(pde_, nullptr);
        table_ = pde_->vtable;
    }
    void TearDown() override {
        if (pde_ != nullptr)
            release_pde(pde_);
    }
    PMPDEContext prolog() {
        PMPDEContext context = nullptr;
        OSType creator = 0;
        CFStringRef kind = nullptr, title = nullptr;
        UInt32 h = 0, v = 0;
        EXPECT_EQ(table_->Prolog(&context, &creator, &kind, &title, &h, &v), noErr);
        return context;
    }
    PlugInIntf* pde_ = nullptr;
    const PlugInIntfVTable* table_ = nullptr;
};

TEST_F(Lifecycle, PrologReportsThePanelAndTerminateFreesIt) {
    PMPDEContext context = nullptr;
    OSType creator = 0;
    CFStringRef kind = nullptr, title = nullptr;
    UInt32 h = 0, v = 0;
    ASSERT_EQ(table_->Prolog(&context, &creator, &kind, &title, &h, &v), noErr);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(creator, static_cast<OSType>('pde '));
    EXPECT_EQ(utf8(kind), "com.tovek.print.pde.AccountingKind");
    EXPECT_EQ(utf8(title), "Accounting");
    EXPECT_EQ(h, 150u);
    EXPECT_EQ(v, 378u);
    // Terminate after a Prolog with no Initialize.
    EXPECT_EQ(table_->Terminate(context, noErr), noErr);
}

TEST_F(Lifecycle, NullContextsAreRefusedAfterTheHooksRan) {
    EXPECT_EQ(table_->Open(nullptr), -9530);
    EXPECT_EQ(table_->Close(nullptr), -9530);
    EXPECT_EQ(table_->Terminate(nullptr, noErr), -9530);
    EXPECT_EQ(table_->Sync(nullptr, nullptr, kPMSyncPaneFromTicket), kPMInvalidPrintSession);
    PMPDEFlags flags = 0;
    EXPECT_EQ(table_->Initialize(nullptr, &flags, nullptr, nullptr, nullptr), noErr);
}

TEST_F(Lifecycle, SummaryAndCloseWithoutOpenChangeNothing) {
    PMPDEContext context = prolog();
    CFArrayRef titles = reinterpret_cast<CFArrayRef>(0x1234);
    CFArrayRef summaries = nullptr;
    EXPECT_EQ(table_->GetSummaryText(context, &titles, &summaries), noErr);
    EXPECT_EQ(titles, reinterpret_cast<CFArrayRef>(0x1234));
    EXPECT_EQ(summaries, nullptr);
    EXPECT_EQ(table_->Close(context), noErr);
    EXPECT_EQ(table_->Terminate(context, noErr), noErr);
}

TEST_F(Lifecycle, SyncWithoutATicketReadsFallbacksAndFailsToWrite) {
    PMPDEContext context = prolog();
    PMPrintSession session = nullptr;
    ASSERT_EQ(PMCreateSession(&session), noErr);
    EXPECT_EQ(table_->Sync(context, session, kPMSyncPaneFromTicket), noErr);
    EXPECT_EQ(table_->Sync(context, session, 2), noErr);
    EXPECT_NE(table_->Sync(context, session, kPMSyncTicketFromPane), noErr);
    EXPECT_EQ(table_->Terminate(context, noErr), noErr);
    PMRelease(session);
}

} // namespace

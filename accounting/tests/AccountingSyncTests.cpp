// Ticket synchronisation of the accounting settings, on a context without controls.
#include "AccountingSync.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

class Sync : public ::testing::Test {
  protected:
    void SetUp() override {
        context.reset(CreateAccountingContext());
        ASSERT_EQ(PMCreateSession(&session), noErr);
        ASSERT_EQ(PMTicketCreate(nullptr, kPMPrintSettingsTicket, &ticket), noErr);
        SInt32 handle = PMTicketGetHandle(ticket);
        CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &handle);
        PMSessionSetDataInSession(session, kPDE_PMPrintSettingsRef, number);
        CFRelease(number);
    }
    void TearDown() override {
        PMTicketRelease(ticket);
        PMRelease(session);
    }
    void put(CFStringRef key, SInt32 value) {
        PMTicketSetSInt32(ticket, kAccountingTicketClient, key, value, false);
    }
    SInt32 number(CFStringRef key) {
        SInt32 value = -999;
        EXPECT_EQ(PMTicketGetSInt32(ticket, 0, 0, key, &value), noErr);
        return value;
    }
    std::string text(CFStringRef key) {
        char buffer[kAccountingCodeSize] = "";
        EXPECT_EQ(
            PMTicketGetCString(ticket, 0, 0, key, sizeof buffer, kCFStringEncodingUTF8, buffer),
            noErr);
        return buffer;
    }

    struct Free {
        void operator()(AccountingContext* c) const { std::free(c); }
    };
    std::unique_ptr<AccountingContext, Free> context;
    PMPrintSession session = nullptr;
    PMTicketRef ticket = nullptr;
};

TEST_F(Sync, AnEmptyTicketReadsAsTheFallbacksAndLeavesTheDefaultCodes) {
    CopyAccountingCode(context->defaultUserID, "kept");
    EXPECT_EQ(SyncAccountingTicket(context.get(), session, kPMSyncPaneFromTicket), noErr);
    EXPECT_EQ(context->accountingSystem, 1);
    EXPECT_EQ(context->promptForEveryJob, 1);
    EXPECT_EQ(context->maskUserID, 1);
    EXPECT_EQ(context->maskAccountID, 1);
    EXPECT_EQ(context->accountType, 1);
    EXPECT_EQ(context->enterAtDevice, 0);
    EXPECT_EQ(context->auxiliaryInterface, 0);
    EXPECT_STREQ(context->defaultUserID, "kept");
}

TEST_F(Sync, DefaultCodesAreReadOnlyWhenPromptingIsOff) {
    PMTicketSetCString(ticket, kAccountingTicketClient, kAccountingUserIDKey, "alice", false);
    PMTicketSetCString(ticket, kAccountingTicketClient, kAccountingAccountIDKey, "4711", false);
    put(kAccountingPromptKey, 1);
    SyncAccountingTicket(context.get(), session, kPMSyncPaneFromTicket);
    EXPECT_STREQ(context->defaultUserID, "");
    put(kAccountingPromptKey, 0);
    put(kAccountingSystemKey, 7); // out of range: kept as it is
    SyncAccountingTicket(context.get(), session, kPMSyncPaneFromTicket);
    EXPECT_STREQ(context->defaultUserID, "alice");
    EXPECT_STREQ(context->defaultAccountID, "4711");
    EXPECT_EQ(context->accountingSystem, 7);
}

// Which pair of codes goes to the ticket, for every row of the choice.
TEST_F(Sync, WritingChoosesJobOrDefaultCodes) {
    struct Row {
        SInt32 prompt, aux, atDevice;
        const char* expectedUser;
    } rows[] = {{1, 0, 0, "job"},     {1, 1, 1, "job"},     {0, 1, 0, "job"},
                {0, 1, 1, "default"}, {0, 0, 0, "default"}, {0, 0, 1, "default"}};
    CopyAccountingCode(context->jobUserID, "job");
    CopyAccountingCode(context->jobAccountID, "job-account");
    CopyAccountingCode(context->defaultUserID, "default");
    CopyAccountingCode(context->defaultAccountID, "default-account");
    for (const Row& row : rows) {
        context->promptForEveryJob = row.prompt;
        context->auxiliaryInterface = row.aux;
        context->enterAtDevice = row.atDevice;
        EXPECT_EQ(SyncAccountingTicket(context.get(), session, kPMSyncTicketFromPane), noErr);
        EXPECT_EQ(text(kAccountingUserIDKey), row.expectedUser)
            << "prompt " << row.prompt << " aux " << row.aux << " at device " << row.atDevice;
        EXPECT_EQ(text(kAccountingAccountIDKey), std::string(row.expectedUser) + "-account");
    }
}

TEST_F(Sync, WritingStoresEverySettingAndReadingBringsItBack) {
    context->accountingSystem = 3;
    context->promptForEveryJob = 0;
    context->maskUserID = 0;
    context->maskAccountID = 1;
    context->accountType = 2;
    context->enterAtDevice = 1;
    context->auxiliaryInterface = 1;
    CopyAccountingCode(context->defaultUserID, "bob");
    ASSERT_EQ(SyncAccountingTicket(context.get(), session, kPMSyncTicketFromPane), noErr);
    EXPECT_EQ(number(kAccountingSystemKey), 3);
    EXPECT_EQ(number(kAccountingPromptKey), 0);
    EXPECT_EQ(number(kAccountingMaskUserIDKey), 0);
    EXPECT_EQ(number(kAccountingMaskAccountIDKey), 1);
    EXPECT_EQ(number(kAccountingAccountTypeKey), 2);
    EXPECT_EQ(number(kAccountingEnterAtDeviceKey), 1);
    EXPECT_EQ(number(kAccountingAuxiliaryKey), 1);

    std::unique_ptr<AccountingContext, Free> fresh(CreateAccountingContext());
    ASSERT_EQ(SyncAccountingTicket(fresh.get(), session, kPMSyncPaneFromTicket), noErr);
    EXPECT_EQ(fresh->accountingSystem, 3);
    EXPECT_EQ(fresh->accountType, 2);
    EXPECT_EQ(fresh->maskAccountID, 1);
    EXPECT_EQ(fresh->auxiliaryInterface, 1);
    EXPECT_STREQ(fresh->defaultUserID, "bob");
}

TEST_F(Sync, FailuresAndOtherDirections) {
    EXPECT_EQ(SyncAccountingTicket(nullptr, session, kPMSyncPaneFromTicket),
              kPMInvalidPrintSession);
    EXPECT_EQ(SyncAccountingTicket(context.get(), nullptr, kPMSyncPaneFromTicket),
              kPMInvalidPrintSession);
    context->accountingSystem = 3;
    EXPECT_EQ(SyncAccountingTicket(context.get(), session, 2), noErr);
    SInt32 value = 0;
    EXPECT_EQ(PMTicketGetSInt32(ticket, 0, 0, kAccountingSystemKey, &value), kPMKeyNotFound);

    // A session without a ticket: reading falls back, writing fails at its first write.
    PMPrintSession bare = nullptr;
    PMCreateSession(&bare);
    EXPECT_EQ(SyncAccountingTicket(context.get(), bare, kPMSyncPaneFromTicket), noErr);
    EXPECT_EQ(context->accountingSystem, 1);
    EXPECT_EQ(SyncAccountingTicket(context.get(), bare, kPMSyncTicketFromPane), kPMInvalidTicket);
    PMRelease(bare);
}

TEST_F(Sync, LongCodesAreCutToTheStore) {
    std::string longCode(100, 'x');
    PMTicketSetCString(ticket, kAccountingTicketClient, kAccountingUserIDKey, longCode.c_str(),
                       false);
    put(kAccountingPromptKey, 0);
    SyncAccountingTicket(context.get(), session, kPMSyncPaneFromTicket);
    EXPECT_EQ(std::strlen(context->defaultUserID), 79u);
}

} // namespace

#include "TicketHelpers.h"

#include <gtest/gtest.h>

namespace {

TEST(GetTicketFromSession, FindsTheTicketByItsHandleAndLeavesTheOutputAloneWithoutData) {
    PMPrintSession session = nullptr;
    ASSERT_EQ(PMCreateSession(&session), noErr);
    PMTicketRef untouched = reinterpret_cast<PMTicketRef>(0x77);
    PMTicketRef ticket = untouched;
    EXPECT_EQ(GetTicketFromSession(session, kPDE_PMPrintSettingsRef, &ticket), noErr);
    EXPECT_EQ(ticket, untouched);

    PMTicketRef created = nullptr;
    ASSERT_EQ(PMTicketCreate(nullptr, kPMPrintSettingsTicket, &created), noErr);
    SInt32 handle = PMTicketGetHandle(created);
    CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &handle);
    PMSessionSetDataInSession(session, kPDE_PMPrintSettingsRef, number);
    CFRelease(number);
    EXPECT_EQ(GetTicketFromSession(session, kPDE_PMPrintSettingsRef, &ticket), noErr);
    EXPECT_EQ(PMTicketGetHandle(ticket), handle);

    EXPECT_EQ(GetTicketFromSession(nullptr, kPDE_PMPrintSettingsRef, &ticket),
              kPMInvalidPrintSession);
    PMTicketRelease(created);
    PMRelease(session);
}

} // namespace

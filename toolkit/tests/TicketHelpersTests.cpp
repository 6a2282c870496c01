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

TEST(TicketValues, WrittenValuesReadBackExactlyAndInexactOnesAreRefused) {
    CFMutableDictionaryRef ticket = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    WriteTicketValue(ticket, CFSTR("com.example.value"), 7);
    WriteTicketValue(ticket, CFSTR("com.example.value"), -2147483647 - 1);
    CFIndex index = 0;
    EXPECT_TRUE(GetCFIndexFromCFDictionary(ticket, CFSTR("com.example.value"), &index));
    EXPECT_EQ(index, -2147483647 - 1);
    EXPECT_EQ(CFDictionaryGetCount(ticket), 1);

    double fraction = 2.5;
    CFNumberRef real = CFNumberCreate(nullptr, kCFNumberDoubleType, &fraction);
    CFDictionarySetValue(ticket, CFSTR("com.example.real"), real);
    CFRelease(real);
    EXPECT_FALSE(GetCFIndexFromCFDictionary(ticket, CFSTR("com.example.real"), &index));
    CFDictionarySetValue(ticket, CFSTR("com.example.text"), CFSTR("3"));
    index = 99;
    EXPECT_FALSE(GetCFIndexFromCFDictionary(ticket, CFSTR("com.example.text"), &index));
    EXPECT_FALSE(GetCFIndexFromCFDictionary(ticket, CFSTR("com.example.missing"), &index));
    EXPECT_FALSE(GetCFIndexFromCFDictionary(nullptr, CFSTR("com.example.value"), &index));
    EXPECT_FALSE(GetCFIndexFromCFDictionary(ticket, nullptr, &index));
    EXPECT_EQ(index, 99);
    CFRelease(ticket);
}

} // namespace

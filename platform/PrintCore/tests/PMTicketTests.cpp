#include <PrintCore/PlatformHost.h>
#include <PrintCore/PrintCore.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class Ticket : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(PMTicketCreate(nullptr, kPMPrintSettingsTicket, &t), noErr); }
    void TearDown() override { PMTicketRelease(t); }
    PMTicketRef t = nullptr;
};

TEST_F(Ticket, NumbersRoundTripAndLaterValuesReplaceEarlierOnes) {
    SInt32 value = 0;
    EXPECT_EQ(PMTicketGetSInt32(t, kPMTopLevel, kPMTopLevel, CFSTR("k"), &value), kPMKeyNotFound);
    EXPECT_EQ(PMTicketSetSInt32(t, CFSTR("client"), CFSTR("k"), 7, false), noErr);
    EXPECT_EQ(PMTicketSetSInt32(t, CFSTR("client"), CFSTR("k"), -2, false), noErr);
    EXPECT_EQ(PMTicketGetSInt32(t, kPMTopLevel, kPMTopLevel, CFSTR("k"), &value), noErr);
    EXPECT_EQ(value, -2);
    // Only the top level holds values.
    EXPECT_EQ(PMTicketGetSInt32(t, 1, 0, CFSTR("k"), &value), kPMKeyNotFound);
}

TEST_F(Ticket, TypesAreCheckedOnReading) {
    PMTicketSetCString(t, CFSTR("c"), CFSTR("s"), "text", false);
    PMTicketSetSInt32(t, CFSTR("c"), CFSTR("n"), 1, false);
    SInt32 value = 0;
    char buffer[8];
    EXPECT_EQ(PMTicketGetSInt32(t, 0, 0, CFSTR("s"), &value), kPMInvalidType);
    EXPECT_EQ(PMTicketGetCString(t, 0, 0, CFSTR("n"), sizeof buffer, kCFStringEncodingUTF8, buffer),
              kPMInvalidType);
}

TEST_F(Ticket, StringsAreCutToTheBufferAndAFailedReadLeavesItAlone) {
    std::string longText(100, 'x');
    longText += "\xC3\xA9"; // a two-byte character straddling the cut must not be split
    PMTicketSetCString(t, CFSTR("c"), CFSTR("long"), longText.c_str(), false);
    char buffer[80];
    EXPECT_EQ(
        PMTicketGetCString(t, 0, 0, CFSTR("long"), sizeof buffer, kCFStringEncodingUTF8, buffer),
        kPMValueOutOfRange);
    EXPECT_EQ(std::strlen(buffer), 79u);

    std::strcpy(buffer, "kept");
    EXPECT_NE(
        PMTicketGetCString(t, 0, 0, CFSTR("missing"), sizeof buffer, kCFStringEncodingUTF8, buffer),
        noErr);
    EXPECT_STREQ(buffer, "kept");

    char small[4];
    PMTicketSetCString(t, CFSTR("c"), CFSTR("accent"), "ab\xC3\xA9", false);
    EXPECT_EQ(
        PMTicketGetCString(t, 0, 0, CFSTR("accent"), sizeof small, kCFStringEncodingUTF8, small),
        kPMValueOutOfRange);
    EXPECT_STREQ(small, "ab");
}

TEST_F(Ticket, LockedValuesBelongToTheirClient) {
    EXPECT_EQ(PMTicketSetSInt32(t, CFSTR("owner"), CFSTR("k"), 1, true), noErr);
    EXPECT_EQ(PMTicketSetSInt32(t, CFSTR("other"), CFSTR("k"), 2, false), kPMItemIsLocked);
    EXPECT_EQ(PMTicketSetSInt32(t, CFSTR("owner"), CFSTR("k"), 3, false), noErr);
    EXPECT_EQ(PMTicketSetSInt32(t, CFSTR("other"), CFSTR("k"), 4, false), noErr);
    SInt32 value = 0;
    PMTicketGetSInt32(t, 0, 0, CFSTR("k"), &value);
    EXPECT_EQ(value, 4);
}

TEST_F(Ticket, HandlesSurviveAThirtyTwoBitTripAndDieWithTheTicket) {
    SInt32 handle = PMTicketGetHandle(t);
    ASSERT_NE(handle, 0);
    PMTicketRef back = PMTicketFromHandle(handle);
    EXPECT_EQ(PMTicketSetSInt32(back, CFSTR("c"), CFSTR("k"), 5, false), noErr);
    PMTicketRef other = nullptr;
    ASSERT_EQ(PMTicketCreate(nullptr, kPMPrintSettingsTicket, &other), noErr);
    EXPECT_NE(PMTicketGetHandle(other), handle);
    PMTicketRelease(other);
    SInt32 value = 0;
    EXPECT_EQ(PMTicketGetSInt32(other, 0, 0, CFSTR("k"), &value), kPMInvalidTicket);
    EXPECT_EQ(PMTicketGetSInt32(nullptr, 0, 0, CFSTR("k"), &value), kPMInvalidTicket);
}

TEST_F(Ticket, ThePPDDictionaryBelongsToTheTicket) {
    CFMutableDictionaryRef ppd = nullptr;
    ASSERT_EQ(PMTicketGetPPDDict(t, 0, 0, &ppd), noErr);
    CFDictionarySetValue(ppd, CFSTR("Duplex"), CFSTR("DuplexNoTumble"));
    CFMutableDictionaryRef again = nullptr;
    PMTicketGetPPDDict(t, 0, 0, &again);
    EXPECT_TRUE(CFEqual(CFDictionaryGetValue(again, CFSTR("Duplex")), CFSTR("DuplexNoTumble")));
}

std::vector<std::string> keys_in_write_order(PMTicketRef ticket) {
    std::vector<std::string> keys;
    CFArrayRef array = PlatformTicketCopyKeysInWriteOrder(ticket);
    if (array == nullptr)
        return keys;
    for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
        char buffer[128] = "";
        CFStringGetCString(static_cast<CFStringRef>(CFArrayGetValueAtIndex(array, i)), buffer,
                           sizeof buffer, kCFStringEncodingUTF8);
        keys.push_back(buffer);
    }
    CFRelease(array);
    return keys;
}

TEST_F(Ticket, KeysComeBackInTheOrderTheyWereLastWritten) {
    EXPECT_TRUE(keys_in_write_order(t).empty());
    PMTicketSetSInt32(t, CFSTR("c"), CFSTR("z.first"), 1, false);
    PMTicketSetCString(t, CFSTR("c"), CFSTR("a.second"), "x", false);
    PMTicketSetSInt32(t, CFSTR("c"), CFSTR("m.third"), 3, true);
    EXPECT_EQ(keys_in_write_order(t), (std::vector<std::string>{"z.first", "a.second", "m.third"}));
    // Rewriting moves a key to the end; a write refused by a lock moves nothing.
    PMTicketSetSInt32(t, CFSTR("c"), CFSTR("z.first"), 2, false);
    EXPECT_EQ(PMTicketSetSInt32(t, CFSTR("other"), CFSTR("m.third"), 4, false), kPMItemIsLocked);
    EXPECT_EQ(keys_in_write_order(t), (std::vector<std::string>{"a.second", "m.third", "z.first"}));
    EXPECT_EQ(PlatformTicketCopyKeysInWriteOrder(nullptr), nullptr);
}

TEST(PrintSession, DataByKeyWithRetainedValues) {
    PMPrintSession session = nullptr;
    ASSERT_EQ(PMCreateSession(&session), noErr);
    CFTypeRef data = reinterpret_cast<CFTypeRef>(0x1);
    EXPECT_EQ(PMSessionGetDataFromSession(session, CFSTR("key"), &data), noErr);
    EXPECT_EQ(data, nullptr);
    SInt32 n = 42;
    CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &n);
    EXPECT_EQ(PMSessionSetDataInSession(session, CFSTR("key"), number), noErr);
    CFRelease(number);
    EXPECT_EQ(PMSessionGetDataFromSession(session, CFSTR("key"), &data), noErr);
    SInt32 back = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &back);
    EXPECT_EQ(back, 42);
    EXPECT_EQ(PMSessionGetDataFromSession(nullptr, CFSTR("key"), &data), kPMInvalidPrintSession);
    EXPECT_EQ(PMRelease(session), noErr);
    EXPECT_EQ(PMRelease(nullptr), kPMInvalidParameter);
}

} // namespace

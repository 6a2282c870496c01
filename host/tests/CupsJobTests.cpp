// The options a print carries to a CUPS queue. All codes are synthetic test data.
#include "CupsJob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

class JobOptionsTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(noErr, PMTicketCreate(nullptr, kPMPrintSettingsTicket, &ticket));
    }
    void TearDown() override { PMTicketRelease(ticket); }
    void set(CFStringRef key, SInt32 value) {
        PMTicketSetSInt32(ticket, CFSTR("test"), key, value, false);
    }
    void set(CFStringRef key, const char* value) {
        PMTicketSetCString(ticket, CFSTR("test"), key, value, false);
    }
    static bool has(const host::JobOptions& options, const char* name, const char* value) {
        return std::find(options.begin(), options.end(),
                         std::make_pair(std::string(name), std::string(value))) != options.end();
    }
    PMTicketRef ticket = nullptr;
};

TEST_F(JobOptionsTest, PPDChoicesAndTheCodesOfAnAccountedJob) {
    CFMutableDictionaryRef ppd = nullptr;
    ASSERT_EQ(noErr, PMTicketGetPPDDict(ticket, kPMTopLevel, kPMTopLevel, &ppd));
    CFDictionarySetValue(ppd, CFSTR("Duplex"), CFSTR("DuplexNoTumble"));
    set(CFSTR("com.tovek.Act.qjob.On"), 3);
    set(CFSTR("com.tovek.Act.qjob.UID"), "u-17");
    set(CFSTR("com.tovek.Act.qjob.AID"), "a-18");
    const host::JobOptions options = host::job_options(ticket);
    EXPECT_EQ(3u, options.size());
    EXPECT_TRUE(has(options, "Duplex", "DuplexNoTumble"));
    EXPECT_TRUE(has(options, "job-accounting-user-id", "u-17"));
    EXPECT_TRUE(has(options, "job-account-id", "a-18"));
}

TEST_F(JobOptionsTest, NoCodesTravelWhenAccountingIsOffOrAtTheDevice) {
    set(CFSTR("com.tovek.Act.qjob.UID"), "u-17");
    EXPECT_TRUE(host::job_options(ticket).empty()); // no system: accounting is off
    set(CFSTR("com.tovek.Act.qjob.On"), 1);
    EXPECT_TRUE(host::job_options(ticket).empty());
    set(CFSTR("com.tovek.Act.qjob.On"), 2);
    set(CFSTR("com.tovek.Act.qjob.EAD"), 1);
    EXPECT_TRUE(host::job_options(ticket).empty());
    set(CFSTR("com.tovek.Act.qjob.EAD"), 0);
    set(CFSTR("com.tovek.Act.qjob.AID"), "");
    const host::JobOptions options = host::job_options(ticket);
    ASSERT_EQ(1u, options.size()); // an empty account ID is left out
    EXPECT_TRUE(has(options, "job-accounting-user-id", "u-17"));
}

// The command line's options beat the ticket's choices; the codes the person typed beat both.
TEST_F(JobOptionsTest, CommandLineOptionsWinOverChoicesAndCodesWinOverAll) {
    CFMutableDictionaryRef ppd = nullptr;
    ASSERT_EQ(noErr, PMTicketGetPPDDict(ticket, kPMTopLevel, kPMTopLevel, &ppd));
    CFDictionarySetValue(ppd, CFSTR("Duplex"), CFSTR("DuplexNoTumble"));
    set(CFSTR("com.tovek.Act.qjob.On"), 3);
    set(CFSTR("com.tovek.Act.qjob.AID"), "a-18");
    host::JobRequest request;
    request.copies = 3;
    request.options = {"Duplex=None media=A4", "job-account-id=forged"};
    const host::JobOptions merged =
        host::merged_job_options({{"media", "Letter"}, {"number-up", "2"}}, ticket, request);
    std::map<std::string, std::string> last;
    for (const auto& [name, value] : merged)
        last[name] = value;
    EXPECT_EQ("None", last["Duplex"]);
    EXPECT_EQ("A4", last["media"]);
    EXPECT_EQ("3", last["copies"]);
    EXPECT_EQ("a-18", last["job-account-id"]);
    EXPECT_EQ("2", last["number-up"]); // a saved option nothing overrides stays
}

// What CUPS says about a refused job may quote a value back: the codes never get through.
TEST_F(JobOptionsTest, WhatCupsSaysLosesTheCodes) {
    set(CFSTR("com.tovek.Act.qjob.UID"), "u-19");
    set(CFSTR("com.tovek.Act.qjob.AID"), "a-20");
    EXPECT_EQ("bad job-account-id ... for ... (...)",
              host::without_codes("bad job-account-id a-20 for u-19 (a-20)", ticket));
    EXPECT_EQ("no codes here", host::without_codes("no codes here", nullptr));
}

TEST(CreateJob, ADestinationNotFoundCreatesNoJob) {
    host::Destination gone;
    gone.error = "not found";
    host::JobRefusal refusal = host::JobRefusal::none;
    std::string error;
    EXPECT_EQ(0, host::create_job(gone, {}, "title", refusal, error).id);
    EXPECT_EQ(host::JobRefusal::gone, refusal);
    EXPECT_EQ("not found", error);
}

} // namespace

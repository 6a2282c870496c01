// Job options from the print settings ticket, and the job handed to CUPS.
#include "CupsJob.h"

#include "CFHolder.h"

#include <cups/cups.h>

namespace host {
namespace {

// The accounting settings the Accounting panel leaves in the ticket.
const char kSystemKey[] = "com.tovek.Act.qjob.On";
const char kUserIDKey[] = "com.tovek.Act.qjob.UID";
const char kAccountIDKey[] = "com.tovek.Act.qjob.AID";
const char kEnterAtDeviceKey[] = "com.tovek.Act.qjob.EAD";
constexpr SInt32 kAccountingOff = 1;

CFStringRef key(const char* name) {
    return CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
}

SInt32 number(PMTicketRef ticket, const char* name, SInt32 fallback) {
    CFHolder<CFStringRef> k(key(name));
    SInt32 value = fallback;
    return PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, k.get(), &value) == noErr ? value
                                                                                         : fallback;
}

std::string text(PMTicketRef ticket, const char* name) {
    CFHolder<CFStringRef> k(key(name));
    char buffer[80] = "";
    if (PMTicketGetCString(ticket, kPMTopLevel, kPMTopLevel, k.get(), sizeof(buffer),
                           kCFStringEncodingUTF8, buffer) != noErr)
        return {};
    return buffer;
}

void add_ppd_choice(const void* keyword, const void* choice, void* context) {
    if (CFGetTypeID(keyword) != CFStringGetTypeID() || CFGetTypeID(choice) != CFStringGetTypeID())
        return;
    static_cast<JobOptions*>(context)->emplace_back(to_utf8(static_cast<CFStringRef>(keyword)),
                                                    to_utf8(static_cast<CFStringRef>(choice)));
}

} // namespace

JobOptions job_options(PMTicketRef ticket) {
    JobOptions options;
    CFMutableDictionaryRef ppd = nullptr;
    if (PMTicketGetPPDDict(ticket, kPMTopLevel, kPMTopLevel, &ppd) == noErr && ppd != nullptr)
        CFDictionaryApplyFunction(ppd, add_ppd_choice, &options);
    if (number(ticket, kSystemKey, kAccountingOff) == kAccountingOff ||
        number(ticket, kEnterAtDeviceKey, 0) != 0)
        return options;
    if (const std::string user = text(ticket, kUserIDKey); !user.empty())
        options.emplace_back("job-accounting-user-id", user);
    if (const std::string account = text(ticket, kAccountIDKey); !account.empty())
        options.emplace_back("job-account-id", account);
    return options;
}

int submit_job(const std::string& destination, const std::string& document, PMTicketRef ticket,
               std::string& error) {
    if (document.empty()) {
        error = "there is no document to send";
        return 0;
    }
    cups_option_t* options = nullptr;
    int count = 0;
    for (const auto& [name, value] : job_options(ticket))
        count = cupsAddOption(name.c_str(), value.c_str(), count, &options);
    const size_t slash = destination.find('/');
    const std::string queue = destination.substr(0, slash);
    const std::string title = document.substr(document.rfind('/') + 1);
    const int job = cupsPrintFile(queue.c_str(), document.c_str(), title.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0)
        error = cupsLastErrorString();
    return job;
}

} // namespace host

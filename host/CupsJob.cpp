// Job options from the print settings ticket, and the job handed to CUPS.
#include "CupsJob.h"

#include "CFText.h"

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
    cf::Holder<CFStringRef> k(key(name));
    SInt32 value = fallback;
    return PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, k.get(), &value) == noErr ? value
                                                                                         : fallback;
}

std::string text(PMTicketRef ticket, const char* name) {
    cf::Holder<CFStringRef> k(key(name));
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

namespace {

void add_options(JobOptions& to, int count, const cups_option_t* options) {
    for (int i = 0; i < count; ++i)
        to.emplace_back(options[i].name, options[i].value);
}

} // namespace

JobOptions merged_job_options(const std::string& destination, PMTicketRef ticket,
                              const JobRequest& request) {
    JobOptions merged;
    const size_t slash = destination.find('/');
    const std::string queue = destination.substr(0, slash);
    const std::string instance = slash == std::string::npos ? "" : destination.substr(slash + 1);
    if (cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(),
                                             instance.empty() ? nullptr : instance.c_str())) {
        add_options(merged, dest->num_options, dest->options);
        cupsFreeDests(1, dest);
    }
    JobOptions codes;
    for (auto& option : job_options(ticket)) {
        const bool isCode =
            option.first == "job-accounting-user-id" || option.first == "job-account-id";
        (isCode ? codes : merged).push_back(std::move(option));
    }
    for (const std::string& text : request.options) {
        cups_option_t* parsed = nullptr;
        const int count = cupsParseOptions(text.c_str(), 0, &parsed);
        add_options(merged, count, parsed);
        cupsFreeOptions(count, parsed);
    }
    if (request.copies > 0)
        merged.emplace_back("copies", std::to_string(request.copies));
    merged.insert(merged.end(), codes.begin(), codes.end());
    return merged;
}

int submit_job(const std::string& destination, const std::vector<std::string>& documents,
               PMTicketRef ticket, const JobRequest& request, std::string& error) {
    if (documents.empty()) {
        error = "there is no document to send";
        return 0;
    }
    cups_option_t* options = nullptr;
    int count = 0;
    // cupsAddOption replaces an option already there: later entries win.
    for (const auto& [name, value] : merged_job_options(destination, ticket, request))
        count = cupsAddOption(name.c_str(), value.c_str(), count, &options);
    const std::string queue = destination.substr(0, destination.find('/'));
    const std::string& first = documents.front();
    const std::string title =
        request.title.empty() ? first.substr(first.rfind('/') + 1) : request.title;
    std::vector<const char*> files;
    for (const std::string& document : documents)
        files.push_back(document.c_str());
    const int job = cupsPrintFiles(queue.c_str(), static_cast<int>(files.size()), files.data(),
                                   title.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0)
        error = cupsLastErrorString();
    return job;
}

} // namespace host

// Job options from the print settings ticket, and the job handed to CUPS.
#include "CupsJob.h"

#include "CFText.h"

#include <cups/cups.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

Destination look_up_destination(const std::string& destination) {
    Destination found;
    const size_t slash = destination.find('/');
    const std::string queue = destination.substr(0, slash);
    const std::string instance = slash == std::string::npos ? "" : destination.substr(slash + 1);
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(),
                                         instance.empty() ? nullptr : instance.c_str());
    if (dest == nullptr) {
        found.error = cupsLastErrorString();
        return found;
    }
    found.exists = true;
    found.dest.reset(dest, [](cups_dest_t* owned) { cupsFreeDests(1, owned); });
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    found.accepting = accepting == nullptr || std::string(accepting) != "false";
    add_options(found.savedOptions, dest->num_options, dest->options);
    if (const char* info = cupsGetOption("printer-info", dest->num_options, dest->options))
        found.info = info;
    return found;
}

JobOptions merged_job_options(const JobOptions& saved, PMTicketRef ticket,
                              const JobRequest& request) {
    JobOptions merged = saved;
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

std::string without_codes(std::string text, PMTicketRef ticket) {
    for (const char* name : {kUserIDKey, kAccountIDKey}) {
        const std::string code = ticket != nullptr ? ::host::text(ticket, name) : std::string();
        if (code.empty())
            continue;
        for (size_t at = text.find(code); at != std::string::npos; at = text.find(code, at + 3))
            text.replace(at, code.size(), "...");
    }
    return text;
}

namespace {

// Sends one file as a document of the job; false with `error` when it did not go.
bool send_document(cups_dest_t* dest, cups_dinfo_t* info, int job, const std::string& path,
                   bool last, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    const std::string name = path.substr(path.rfind('/') + 1);
    bool sent = cupsStartDestDocument(CUPS_HTTP_DEFAULT, dest, info, job, name.c_str(),
                                      CUPS_FORMAT_AUTO, 0, nullptr, last) == HTTP_STATUS_CONTINUE;
    char buffer[65536];
    for (size_t n = 0; sent && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        sent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, buffer, n) == HTTP_STATUS_CONTINUE;
    std::fclose(file);
    // Finishing reads the scheduler's answer, also after a failed write.
    if (cupsFinishDestDocument(CUPS_HTTP_DEFAULT, dest, info) > IPP_STATUS_OK_CONFLICTING ||
        !sent) {
        error = cupsLastErrorString();
        return false;
    }
    return true;
}

} // namespace

OpenJob create_job(const Destination& destination, const JobOptions& merged,
                   const std::string& title, JobRefusal& refusal, std::string& error) {
    OpenJob job;
    cups_dest_t* dest = destination.dest.get();
    refusal = JobRefusal::gone;
    if (dest == nullptr) {
        error = destination.error.empty() ? "the destination was not found" : destination.error;
        return job;
    }
    job.info.reset(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest), cupsFreeDestInfo);
    if (job.info == nullptr) {
        error = cupsLastErrorString();
        return job;
    }
    cups_option_t* options = nullptr;
    int count = 0;
    // cupsAddOption replaces an option already there: later entries win.
    for (const auto& [name, value] : merged)
        count = cupsAddOption(name.c_str(), value.c_str(), count, &options);
    const ipp_status_t status = cupsCreateDestJob(CUPS_HTTP_DEFAULT, dest, job.info.get(), &job.id,
                                                  title.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (status <= IPP_STATUS_OK_CONFLICTING && job.id != 0) {
        refusal = JobRefusal::none;
        return job;
    }
    job.id = 0;
    error = cupsLastErrorString();
    refusal = status == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS ? JobRefusal::rejects
              : status == IPP_STATUS_ERROR_NOT_FOUND        ? JobRefusal::gone
                                                            : JobRefusal::refused;
    return job;
}

bool send_documents(const Destination& destination, const OpenJob& job,
                    const std::vector<std::string>& documents, std::string& error) {
    if (documents.empty()) {
        error = "there is no document to send";
        cancel_job(destination, job);
        return false;
    }
    for (size_t i = 0; i < documents.size(); ++i) {
        if (!send_document(destination.dest.get(), job.info.get(), job.id, documents[i],
                           i + 1 == documents.size(), error)) {
            cancel_job(destination, job);
            return false;
        }
    }
    return true;
}

void cancel_job(const Destination& destination, const OpenJob& job) {
    if (destination.dest != nullptr && job.id != 0)
        cupsCancelDestJob(CUPS_HTTP_DEFAULT, destination.dest.get(), job.id);
}

} // namespace host

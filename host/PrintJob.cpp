// Writing a printed job into the output folder.
#include "PrintJob.h"

#include "CFText.h"

#include <CoreFoundation/PlatformHost.h>
#include <PrintCore/PlatformHost.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace host {
namespace {

namespace fs = std::filesystem;

// A job's files are a record of what the scheduler (or the person, for the embedded printer)
// already has: renamed into place, so never seen half written, but not forced to disk, which
// cost more than all the rest of writing them.
constexpr OptionBits kJobFileOptions = kPlatformWriteWithoutSync;

OSStatus status_for(int error) {
    return error == EACCES || error == EPERM || error == EROFS ? permErr : ioErr;
}

// The folder, made when missing; an error naming it when it cannot be made or written into.
std::string prepare_folder(const fs::path& folder, OSStatus& status) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        status = ioErr;
        return folder.string() + ": the output folder cannot be made: " + error.message();
    }
    if (access(folder.c_str(), W_OK | X_OK) != 0) {
        status = status_for(errno);
        return folder.string() +
               ": the output folder cannot be written into: " + std::strerror(errno);
    }
    return std::string();
}

// Opens the document for reading; an error naming it when it cannot be read or is not a
// regular file.
std::string open_document(const fs::path& source, std::ifstream& in, struct stat& info,
                          OSStatus& status) {
    in.open(source, std::ios::binary);
    if (stat(source.c_str(), &info) != 0 || !in) {
        status = fnfErr;
        return source.string() + ": the document cannot be read: " + std::strerror(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        status = fnfErr;
        return source.string() + ": the document is not a regular file";
    }
    return std::string();
}

// The document's bytes and mode, or an error naming it.
std::string read_document(const fs::path& source, std::string& bytes, mode_t& mode,
                          OSStatus& status) {
    struct stat info {};
    std::ifstream in;
    if (std::string why = open_document(source, in, info, status); !why.empty())
        return why;
    std::ostringstream read;
    read << in.rdbuf();
    bytes = read.str();
    mode = info.st_mode;
    return std::string();
}

// Copies the document to `copy` as a new file renamed into place, never through a link the
// output folder holds. Nothing to do when the document is already there (printing a file in
// the output folder itself).
std::string copy_document(const fs::path& source, const fs::path& copy, OSStatus& status) {
    std::error_code error;
    if (fs::equivalent(source, copy, error))
        return std::string();
    std::string text;
    mode_t mode = 0;
    if (std::string why = read_document(source, text, mode, status); !why.empty())
        return why;
    int failure = PlatformWriteFileAtomicallyWithOptions(
        copy.c_str(), reinterpret_cast<const UInt8*>(text.data()),
        static_cast<CFIndex>(text.size()), mode & 0666, kJobFileOptions);
    if (failure == 0)
        return std::string();
    status = status_for(failure);
    if (failure == ELOOP)
        return copy.string() + ": a symbolic link is in the way; the document is never copied "
                               "through one";
    return copy.string() +
           ": the document cannot be copied into the output folder: " + std::strerror(failure);
}

JobResult failed(JobResult result, JobStep step, const fs::path& path) {
    result.failed = step;
    result.failedPath = path.string();
    return result;
}

} // namespace

JobResult check_job(const std::vector<std::string>& documents, const std::string& outputFolder) {
    JobResult result;
    const fs::path folder = outputFolder.empty() ? fs::path(".") : fs::path(outputFolder);
    result.error = prepare_folder(folder, result.status);
    if (!result.error.empty())
        return failed(result, JobStep::folder, folder);
    for (const std::string& document : documents) {
        // Only opened and checked: the bytes are read when the job is written.
        struct stat info {};
        std::ifstream in;
        if (!document.empty())
            result.error = open_document(document, in, info, result.status);
        if (!result.error.empty())
            return failed(result, JobStep::document, document);
    }
    return result;
}

JobResult write_job(const std::string& document, const std::string& outputFolder,
                    PMTicketRef ticket) {
    JobResult result;
    const fs::path folder = outputFolder.empty() ? fs::path(".") : fs::path(outputFolder);
    result.error = prepare_folder(folder, result.status);
    if (!result.error.empty())
        return failed(result, JobStep::folder, folder);
    std::string name = "job";
    if (!document.empty()) {
        const fs::path source(document);
        name = source.filename().string();
        const fs::path copy = folder / name;
        result.error = copy_document(source, copy, result.status);
        if (!result.error.empty())
            return failed(result, result.status == fnfErr ? JobStep::document : JobStep::copy,
                          result.status == fnfErr ? source : folder);
        result.documentPath = copy.string();
    }
    result.ticketPath = (folder / (name + ".ticket.plist")).string();
    result.status =
        PlatformTicketWriteToFileWithOptions(ticket, result.ticketPath.c_str(), kJobFileOptions);
    if (result.status != noErr) {
        result.error = result.ticketPath + ": the ticket could not be written";
        return failed(result, JobStep::ticket, folder);
    }
    // Only key names reach the console: the values may be accounting codes.
    cf::Holder<CFArrayRef> keys(PlatformTicketCopyKeysInWriteOrder(ticket));
    for (CFIndex i = 0; keys.get() != nullptr && i < CFArrayGetCount(keys.get()); ++i) {
        if (i > 0)
            result.keys += ", ";
        result.keys += to_utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(keys.get(), i)));
    }
    return result;
}

} // namespace host

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

// Copies the document to `copy` as a new file renamed into place, never through a link the
// output folder holds. Nothing to do when the document is already there (printing a file in
// the output folder itself).
std::string copy_document(const fs::path& source, const fs::path& copy, OSStatus& status) {
    std::error_code error;
    if (fs::equivalent(source, copy, error))
        return std::string();
    struct stat info {};
    std::ifstream in(source, std::ios::binary);
    if (stat(source.c_str(), &info) != 0 || !in) {
        status = fnfErr;
        return source.string() + ": the document cannot be read: " + std::strerror(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        status = fnfErr;
        return source.string() + ": the document is not a regular file";
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    int failure =
        PlatformWriteFileAtomically(copy.c_str(), reinterpret_cast<const UInt8*>(text.data()),
                                    static_cast<CFIndex>(text.size()), info.st_mode & 0666);
    if (failure == 0)
        return std::string();
    status = status_for(failure);
    if (failure == ELOOP)
        return copy.string() + ": a symbolic link is in the way; the document is never copied "
                               "through one";
    return copy.string() +
           ": the document cannot be copied into the output folder: " + std::strerror(failure);
}

} // namespace

JobResult write_job(const std::string& document, const std::string& outputFolder,
                    PMTicketRef ticket) {
    JobResult result;
    const fs::path folder = outputFolder.empty() ? fs::path(".") : fs::path(outputFolder);
    result.error = prepare_folder(folder, result.status);
    if (!result.error.empty())
        return result;
    std::string name = "job";
    if (!document.empty()) {
        const fs::path source(document);
        name = source.filename().string();
        const fs::path copy = folder / name;
        result.error = copy_document(source, copy, result.status);
        if (!result.error.empty())
            return result;
        result.documentPath = copy.string();
    }
    result.ticketPath = (folder / (name + ".ticket.plist")).string();
    result.status = PlatformTicketWriteToFile(ticket, result.ticketPath.c_str());
    if (result.status != noErr) {
        result.error = result.ticketPath + ": the ticket could not be written";
        return result;
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

// Writing a printed job into the output folder.
#include "PrintJob.h"

#include "CFHolder.h"

#include <PrintCore/PlatformHost.h>

#include <filesystem>
#include <system_error>

namespace host {

JobResult write_job(const std::string& document, const std::string& outputFolder,
                    PMTicketRef ticket) {
    namespace fs = std::filesystem;
    JobResult result;
    std::error_code error;
    const fs::path folder = outputFolder.empty() ? fs::path(".") : fs::path(outputFolder);
    fs::create_directories(folder, error);
    if (error) {
        result.status = ioErr;
        result.error = folder.string() + ": " + error.message();
        return result;
    }
    std::string name = "job";
    if (!document.empty()) {
        const fs::path source(document);
        name = source.filename().string();
        const fs::path copy = folder / name;
        fs::copy_file(source, copy, fs::copy_options::overwrite_existing, error);
        if (error) {
            result.status = fnfErr;
            result.error = document + ": " + error.message();
            return result;
        }
        result.documentPath = copy.string();
    }
    result.ticketPath = (folder / (name + ".ticket.plist")).string();
    result.status = PlatformTicketWriteToFile(ticket, result.ticketPath.c_str());
    if (result.status != noErr) {
        result.error = result.ticketPath + ": the ticket could not be written";
        return result;
    }
    // Only key names reach the console: the values may be accounting codes.
    CFHolder<CFArrayRef> keys(PlatformTicketCopyKeysInWriteOrder(ticket));
    for (CFIndex i = 0; keys.get() != nullptr && i < CFArrayGetCount(keys.get()); ++i) {
        if (i > 0)
            result.keys += ", ";
        result.keys += to_utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(keys.get(), i)));
    }
    return result;
}

} // namespace host

// What a print leaves behind: the document and its job ticket in the output folder.
#ifndef HOST_PRINTJOB_H
#define HOST_PRINTJOB_H

#include <Carbon/Carbon.h>

#include <string>
#include <vector>

namespace host {

// Where writing a job failed.
enum class JobStep { none, folder, document, copy, ticket };

struct JobResult {
    OSStatus status = noErr;
    JobStep failed = JobStep::none;
    std::string failedPath;   // the folder, document or file it failed on
    std::string documentPath; // the copy in the output folder; empty without a document
    std::string ticketPath;
    std::string keys;  // the ticket's keys in the order they were written, for the console
    std::string error; // why it failed, naming the file
};

// Copies `document` (may be empty) into `outputFolder` (created when missing) and writes the
// ticket beside it as "<document name>.ticket.plist" ("job.ticket.plist" without a document).
// What write_job would find wrong before it writes anything: the folder (made when missing)
// cannot be written into, or a document cannot be read or is not a regular file.
JobResult check_job(const std::vector<std::string>& documents, const std::string& outputFolder);

JobResult write_job(const std::string& document, const std::string& outputFolder,
                    PMTicketRef ticket);

} // namespace host

#endif

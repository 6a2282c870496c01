// What a print leaves behind: the document and its job ticket in the output folder.
#ifndef HOST_PRINTJOB_H
#define HOST_PRINTJOB_H

#include <Carbon/Carbon.h>

#include <string>

namespace host {

struct JobResult {
    OSStatus status = noErr;
    std::string documentPath; // the copy in the output folder; empty without a document
    std::string ticketPath;
    std::string keys;  // the ticket's keys in the order they were written, for the console
    std::string error; // why it failed, naming the file
};

// Copies `document` (may be empty) into `outputFolder` (created when missing) and writes the
// ticket beside it as "<document name>.ticket.plist" ("job.ticket.plist" without a document).
JobResult write_job(const std::string& document, const std::string& outputFolder,
                    PMTicketRef ticket);

} // namespace host

#endif

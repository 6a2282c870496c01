// Sending a printed job to a CUPS queue.
#ifndef HOST_CUPSJOB_H
#define HOST_CUPSJOB_H

#include <Carbon/Carbon.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct cups_dest_s;
struct _cups_dinfo_s;

namespace host {

using JobOptions = std::vector<std::pair<std::string, std::string>>;

// What the job carries to the queue: each choice of the ticket's PPD dictionary as an option of
// its keyword and, when accounting is on, the codes as the standard job attributes
// "job-accounting-user-id" and "job-account-id" (codes entered at the device travel as none).
JobOptions job_options(PMTicketRef ticket);

// What the command line adds to a job, as lp takes it.
struct JobRequest {
    std::string title;                // empty: the first document's name
    int copies = 0;                   // 0: the destination's default
    std::vector<std::string> options; // "name=value ..." texts (-o)
};

// What the scheduler says of a destination before a job goes to it.
struct Destination {
    bool exists = false;     // false: unknown, removed, or the scheduler cannot be reached
    bool accepting = false;  // false when it rejects jobs (cupsreject)
    JobOptions savedOptions; // lpoptions (an instance's too) and what the scheduler reports
    std::string error;       // why it does not exist, as CUPS said it
    std::string info;        // what people know it by ("printer-info"); may be empty
    std::shared_ptr<cups_dest_s> dest; // what libcups found, for the job
};

// One request to the scheduler: "queue" or "queue/instance". Made once, when printdialog
// starts; the job is later created for what it found.
Destination look_up_destination(const std::string& destination);

// The options a job carries, lowest first so that each later one wins: the destination's saved
// options, the ticket's PPD choices, the command line's -o and -n, and last the accounting codes
// the person entered.
JobOptions merged_job_options(const JobOptions& saved, PMTicketRef ticket,
                              const JobRequest& request);

// `text` (what CUPS said about a job) with the ticket's accounting codes blotted out, for the
// console and the dialog: a scheduler may quote an attribute's value back.
std::string without_codes(std::string text, PMTicketRef ticket);

// Why the scheduler did not create a job.
enum class JobRefusal { none, gone, rejects, refused };

// A job the scheduler created and that waits for its documents.
struct OpenJob {
    int id = 0; // 0: none
    std::shared_ptr<_cups_dinfo_s> info;
};

// Creates the job on the destination found at start-up (asking it for what it supports, then
// Create-Job). On failure the job's id is 0 and `refusal` and `error` (as CUPS said it) say why:
// the destination is gone (or the scheduler cannot be reached), rejects jobs, or refused this
// one. Nothing is queued then.
OpenJob create_job(const Destination& destination, const JobOptions& merged,
                   const std::string& title, JobRefusal& refusal, std::string& error);

// Sends the files as the job's documents, the last one closing it. On failure the job is
// cancelled and `error` says why.
bool send_documents(const Destination& destination, const OpenJob& job,
                    const std::vector<std::string>& documents, std::string& error);

// Cancels a job created but not to be printed after all.
void cancel_job(const Destination& destination, const OpenJob& job);

} // namespace host

#endif

// Sending a printed job to a CUPS queue.
#ifndef HOST_CUPSJOB_H
#define HOST_CUPSJOB_H

#include <Carbon/Carbon.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct cups_dest_s;

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
    std::shared_ptr<cups_dest_s> dest; // what libcups found, for the job
};

// One request to the scheduler: "queue" or "queue/instance".
Destination look_up_destination(const std::string& destination);

// The options a job carries, lowest first so that each later one wins: the destination's saved
// options, the ticket's PPD choices, the command line's -o and -n, and last the accounting codes
// the person entered.
JobOptions merged_job_options(const JobOptions& saved, PMTicketRef ticket,
                              const JobRequest& request);

// `text` (what CUPS said about a job) with the ticket's accounting codes blotted out, for the
// console and the dialog: a scheduler may quote an attribute's value back.
std::string without_codes(std::string text, PMTicketRef ticket);

// Prints `documents` as one job on the destination found before (its queue, not its instance)
// with the merged options. Returns the job ID, or 0 with `error` saying why, as CUPS said it;
// a job that was created but not completed is cancelled.
int submit_job(const Destination& destination, const std::vector<std::string>& documents,
               const JobOptions& merged, const JobRequest& request, std::string& error);

} // namespace host

#endif

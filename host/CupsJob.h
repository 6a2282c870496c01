// Sending a printed job to a CUPS queue.
#ifndef HOST_CUPSJOB_H
#define HOST_CUPSJOB_H

#include <Carbon/Carbon.h>

#include <string>
#include <utility>
#include <vector>

namespace host {

using JobOptions = std::vector<std::pair<std::string, std::string>>;

// What the job carries to the queue: each choice of the ticket's PPD dictionary as an option of
// its keyword and, when accounting is on, the codes as the standard job attributes
// "job-accounting-user-id" and "job-account-id" (codes entered at the device travel as none).
JobOptions job_options(PMTicketRef ticket);

// Prints `document` on the CUPS destination ("queue" or "queue/instance") with the ticket's
// options. An instance's saved options are not added (FIXME: merge them from
// cupsGetNamedDest). Returns the job ID, or 0 with `error` saying why (never a code's value).
int submit_job(const std::string& destination, const std::string& document, PMTicketRef ticket,
               std::string& error);

} // namespace host

#endif

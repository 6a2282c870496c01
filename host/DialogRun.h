// One print dialog from start to end: the panels opened and closed as the user chooses them,
// Print (or Cancel) pressed, the PDEs synchronised, closed and terminated, the job written.
#ifndef HOST_DIALOGRUN_H
#define HOST_DIALOGRUN_H

#include "CupsJob.h"
#include "PDELoader.h"
#include "PrintDialog.h"

#include <string>
#include <vector>

namespace host {

struct RunSettings {
    std::string script;                     // the user's actions; empty: press Print at once
    std::string output;                     // where jobs and dumps go
    std::string document;                   // what is printed; may be empty
    std::vector<std::string> moreDocuments; // printed after it, in the same job
    PMPrinter printer = nullptr;            // the session's current printer; may be NULL
    PMTicketRef ticket = nullptr;           // the settings to start from; NULL: empty ones
    std::string cupsDestination; // when not empty, the job is also sent to this CUPS queue
    Destination destination;     // what looking it up found, when printdialog started
    JobRequest job;              // what the command line adds to the CUPS job
    bool display = false;        // without a script: the person acts in windows on the display
    bool verbose = false;        // list every PDE operation with its status
};

enum class Outcome { printed, cancelled, failed };

struct RunResult {
    Outcome outcome = Outcome::failed;
    PMTicketRef ticket = nullptr; // the print settings as the dialog left them (retained)
};

// Runs the dialog with the loaded PDEs; messages go to standard output and error.
RunResult run_print_dialog(std::vector<LoadedPDE>& pdes, const RunSettings& settings);

} // namespace host

#endif

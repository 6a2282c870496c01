// Why a print was stopped, said to the person at the dialog in an alert, and on the console.
#ifndef HOST_PRINTSTOP_H
#define HOST_PRINTSTOP_H

#include "HostTexts.h"

#include <Carbon/Carbon.h>

#include <string>

namespace host {

enum class StopReason {
    panelSettings,  // a panel's Sync (writing) failed
    outputFolder,   // the output folder cannot be made or written into
    document,       // a document cannot be read
    jobFile,        // the job or its ticket could not be saved in the output folder
    printerGone,    // the CUPS destination no longer exists or cannot be reached
    printerRejects, // the CUPS destination is not accepting jobs
    printerRefused, // the CUPS destination did not take the job
};

struct PrintStop {
    StopReason reason = StopReason::panelSettings;
    std::string subject; // the panel, folder, document or destination it is about
    std::string detail;  // a status, or what CUPS said; never an accounting code
};

// The alert's explanation in those texts: the reason with its subject and detail filled in.
std::string stop_explanation(const PrintStop& stop, const HostTexts& texts);

// Shows the stop alert in the person's language (one OK button) and waits for it to be
// answered. Returns the alert loop's status: not noErr when the user's actions ran out or
// failed while it was up.
OSStatus show_stop_alert(const PrintStop& stop);

} // namespace host

#endif

// What the dialog starts from: the printer and the saved print settings.
#ifndef HOST_SETUP_H
#define HOST_SETUP_H

#include "CupsJob.h"
#include "Options.h"

#include <Carbon/Carbon.h>

namespace host {

// The printer the options name: a CUPS destination (`found` is what looking it up found), a PPD
// file, or the embedded default. A printer whose PPD cannot be opened is still made, without
// one, and the reason is printed. NULL (with a message) only when a CUPS destination does not
// exist.
PMPrinter create_printer(const Options& options, const std::string& programDir,
                         const Destination& found);

// The saved settings at path, or NULL with a message naming the file when they cannot be read;
// the dialog then starts with empty settings and the file is left as it is.
PMTicketRef load_settings(const std::string& path);

} // namespace host

#endif

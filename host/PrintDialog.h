// The print dialog window and the session the PDEs work on.
#ifndef HOST_PRINTDIALOG_H
#define HOST_PRINTDIALOG_H

#include "PDELoader.h"

#include <string>
#include <vector>

namespace host {

// What Prolog reported for one PDE.
struct PanelInfo {
    PMPDEContext context = nullptr;
    OSType creator = 0;
    std::string kind;
    std::string title;
    UInt32 maxH = 0;
    UInt32 maxV = 0;
    OSStatus prologStatus = noErr;
};

struct PrintDialog {
    WindowRef window = nullptr;
    ControlRef chooser = nullptr;        // the panel chooser (a popup once menus exist)
    ControlRef printButton = nullptr;    // the default button
    ControlRef cancelButton = nullptr;
    std::vector<ControlRef> userPanes;   // one per PDE, all in the same place
    PMPrintSession session = nullptr;
    PMTicketRef ticket = nullptr;        // the print settings ticket, kept in the session
};

// Builds the window, its buttons and one user pane per PDE, and a session with an empty
// print settings ticket. Returns the first failing status.
OSStatus create_print_dialog(PrintDialog& dialog, size_t panelCount);
void dispose_print_dialog(PrintDialog& dialog);

// Calls Prolog and reads what it reports.
PanelInfo run_prolog(LoadedPDE& pde);

// The four characters of a code, e.g. "pde ".
std::string four_char_code(OSType code);

} // namespace host

#endif

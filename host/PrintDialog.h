// The print dialog window and the session the PDEs work on.
#ifndef HOST_PRINTDIALOG_H
#define HOST_PRINTDIALOG_H

#include "PDELoader.h"

#include <string>
#include <vector>

namespace host {

// The host's own controls, as scripts address them ("PDlg:1" is the panel chooser).
constexpr OSType kDialogSignature = 'PDlg';
enum : SInt32 {
    kChooserID = 1,
    kCancelID = 2,
    kPrintID = 3,
    kSummaryPaneID = 99,
    kPaneBaseID = 100
};
// The command that makes every PDE read the print settings again (Sync, reading), for scripts:
// "command PDrd".
constexpr UInt32 kReadSettingsCommand = 'PDrd';

// What Prolog reported for one PDE.
struct PanelInfo {
    PMPDEContext context = nullptr;
    OSType creator = 0;
    std::string kind;
    std::string title;
    UInt32 maxH = 0;
    UInt32 maxV = 0;
    OSStatus prologStatus = noErr;
    PMPDEFlags flags = kPMPDENoFlags; // what Initialize reported
};

struct PrintDialog {
    WindowRef window = nullptr;
    ControlRef chooser = nullptr;     // a popup with one item per panel
    ControlRef printButton = nullptr; // the default button
    ControlRef cancelButton = nullptr;
    std::vector<ControlRef> userPanes; // one per PDE, all in the same place
    ControlRef summaryPane = nullptr;  // the Summary, the chooser's last item
    PMPrintSession session = nullptr;
    PMTicketRef ticket = nullptr; // the print settings ticket, kept in the session
};

// Builds the window, its buttons and one user pane per PDE (sized for the largest panel) and
// one for the Summary, and
// a session holding `ticket` (retained; NULL: a new empty one). Returns the first failing status.
OSStatus create_print_dialog(PrintDialog& dialog, const std::vector<PanelInfo>& panels,
                             PMTicketRef ticket);
void dispose_print_dialog(PrintDialog& dialog);

// Calls Prolog and reads what it reports.
PanelInfo run_prolog(LoadedPDE& pde);

// The four characters of a code, e.g. "pde ".
std::string four_char_code(OSType code);

} // namespace host

#endif

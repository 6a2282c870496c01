// The print dialog's command line.
#ifndef HOST_OPTIONS_H
#define HOST_OPTIONS_H

#include <string>
#include <vector>

namespace host {

struct Options {
    std::vector<std::string> pdeFolders; // --pde, in the order given
    bool list = false;                   // --list
    std::string systemVersion;           // --system-version, e.g. "10.4.11"
    std::string ppd;                     // --ppd: the printer's PPD file
    std::string printer;                 // --printer: a CUPS destination instead
    std::string settings;                // --settings: print settings to start from
    std::string saveSettings;            // --save-settings: where to keep them after a print
    std::string script;                  // --script: the user's actions
    std::string output;                  // --output: the folder jobs and dumps go to
    std::string document;                // the document to print (the one plain argument)
    bool verbose = false;                // --verbose: every PDE operation and its status
    bool help = false;
};

struct ParseResult {
    Options options;
    std::string error; // empty when the command line was understood
};

ParseResult parse_options(const std::vector<std::string>& args);

// The folders searched for PDE bundles: those given with --pde, then PRINTDIALOG_PDE_PATH
// (colon-separated), then PlugIns and lib/printdialog/PlugIns beside the program's folder.
std::vector<std::string> pde_search_path(const Options& options, const std::string& programDir);

// The embedded default printer's PPD, shipped beside the program (share/printdialog/printers).
std::string default_ppd(const std::string& programDir);

const char* usage();

} // namespace host

#endif

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
    std::string document;                // the first document to print; empty: none
    std::vector<std::string> documents;  // every file to print, in order ("-": standard input)
    int copies = 0;                      // -n: copies of the job; 0: the queue's default
    std::string title;                   // -t: the job's title
    std::vector<std::string> jobOptions; // -o: "name=value ..." as lp takes them
    bool verbose = false;                // --verbose: every PDE operation and its status
    bool help = false;
};

struct ParseResult {
    Options options;
    std::string error; // empty when the command line was understood
};

ParseResult parse_options(const std::vector<std::string>& args);

// The options lp also takes (-d, -n, -t, -o, in their joined forms too: "-dQueue"), at args[i];
// i moves past a value. False when args[i] is none of them; `error` says what is wrong.
bool parse_lp_option(const std::vector<std::string>& args, size_t& i, Options& options,
                     std::string& error);

// The folder jobs go to without --output: $XDG_DATA_HOME/printdialog/jobs (or the same under
// ~/.local/share).
std::string default_output_folder();

// The folders searched for PDE bundles: those given with --pde, then PRINTDIALOG_PDE_PATH
// (colon-separated), then PlugIns and lib/printdialog/PlugIns beside the program's folder.
std::vector<std::string> pde_search_path(const Options& options, const std::string& programDir);

// The embedded default printer's PPD, shipped beside the program (share/printdialog/printers).
std::string default_ppd(const std::string& programDir);

const char* usage();

} // namespace host

#endif

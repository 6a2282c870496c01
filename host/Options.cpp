// Command-line parsing for printdialog.
#include "Options.h"

#include <cstdlib>

namespace host {

const char* usage() {
    return "usage: printdialog [-d destination] [-n copies] [-t title] [-o name=value]...\n"
           "                   [options] [file...]\n"
           "Shows the print dialog and prints the files (standard input when none is given).\n"
           "  -d DESTINATION         the CUPS destination (queue or queue/instance); default:\n"
           "                         the CUPS default, else the embedded printer\n"
           "  -n COPIES              the number of copies (1 to 9999)\n"
           "  -t TITLE               the job's title\n"
           "  -o NAME=VALUE          a job option, as lp takes it (may be repeated)\n"
           "  --pde FOLDER           look for PDE bundles in FOLDER (before the default folders)\n"
           "  --list                 list the PDEs found: kind, title, creator, maximum size\n"
           "  --system-version V     the Mac OS X version the runtime reports (default 10.6.8)\n"
           "  --ppd FILE             the printer's PPD (default: the embedded KV3300 printer)\n"
           "  --printer NAME         print to the CUPS destination NAME, with its PPD\n"
           "  --settings FILE        start from print settings saved in FILE\n"
           "  --save-settings FILE   save the print settings to FILE after printing\n"
           "  --script FILE          play the user's actions from FILE (docs/scripting.md)\n"
           "  --output FOLDER        where printed jobs and script dumps go\n"
           "                         (default: $XDG_DATA_HOME/printdialog/jobs)\n"
           "  --verbose              list every PDE operation (Prolog ... Terminate) and its "
           "status\n"
           "  --help                 this text; see also printdialog(1)\n"
           "Without --script the dialog shows in a window on the display (DISPLAY or\n"
           "WAYLAND_DISPLAY); with neither, printdialog stops with status 2.\n";
}

namespace {

// The options that take one text, by name; NULL for any other argument.
std::string Options::*string_option(const Options&, const std::string& arg) {
    static const std::pair<const char*, std::string Options::*> kOptions[] = {
        {"--ppd", &Options::ppd},           {"--printer", &Options::printer},
        {"--settings", &Options::settings}, {"--save-settings", &Options::saveSettings},
        {"--script", &Options::script},     {"--output", &Options::output},
    };
    for (const auto& [name, field] : kOptions)
        if (arg == name)
            return field;
    return nullptr;
}

} // namespace

std::string default_ppd(const std::string& programDir) {
    return programDir + "/../share/printdialog/printers/tovek-kv3300.ppd";
}

ParseResult parse_options(const std::vector<std::string>& args) {
    ParseResult result;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](const char* name) -> const std::string* {
            if (i + 1 < args.size())
                return &args[++i];
            result.error = std::string(name) + " needs a value";
            return nullptr;
        };
        if (arg == "--pde") {
            if (const std::string* folder = value("--pde"))
                result.options.pdeFolders.push_back(*folder);
        } else if (arg == "--verbose") {
            result.options.verbose = true;
        } else if (arg == "--list") {
            result.options.list = true;
        } else if (arg == "--system-version") {
            if (const std::string* version = value("--system-version"))
                result.options.systemVersion = *version;
        } else if (const auto field = string_option(result.options, arg)) {
            if (const std::string* text = value(arg.c_str()))
                result.options.*field = *text;
        } else if (arg == "--help" || arg == "-h") {
            result.options.help = true;
        } else if (parse_lp_option(args, i, result.options, result.error)) {
        } else if (!arg.starts_with("-") || arg == "-") {
            result.options.documents.push_back(arg);
        } else {
            result.error = "unknown argument '" + arg + "'";
        }
        if (!result.error.empty())
            return result;
    }
    if (!result.options.documents.empty())
        result.options.document = result.options.documents.front();
    if (!result.options.ppd.empty() && !result.options.printer.empty())
        result.error = "--ppd and --printer (or -d) cannot be given together";
    return result;
}

std::vector<std::string> pde_search_path(const Options& options, const std::string& programDir) {
    std::vector<std::string> folders = options.pdeFolders;
    if (const char* path = std::getenv("PRINTDIALOG_PDE_PATH")) {
        std::string list = path;
        size_t start = 0;
        while (start <= list.size()) {
            size_t end = list.find(':', start);
            if (end == std::string::npos)
                end = list.size();
            if (end > start)
                folders.push_back(list.substr(start, end - start));
            start = end + 1;
        }
    }
    folders.push_back(programDir + "/../PlugIns");
    folders.push_back(programDir + "/../lib/printdialog/PlugIns");
    return folders;
}

} // namespace host

// Command-line parsing for printdialog.
#include "Options.h"

#include <cstdlib>

namespace host {

const char* usage() {
    return "usage: printdialog [--pde FOLDER]... [--list] [--system-version X.Y[.Z]]\n"
           "  --pde FOLDER           look for PDE bundles in FOLDER (before the default folders)\n"
           "  --list                 list the PDEs found: kind, title, creator, maximum size\n"
           "  --system-version V     the Mac OS X version the runtime reports (default 10.6.8)\n";
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
        } else if (arg == "--list") {
            result.options.list = true;
        } else if (arg == "--system-version") {
            if (const std::string* version = value("--system-version"))
                result.options.systemVersion = *version;
        } else if (arg == "--help" || arg == "-h") {
            result.options.help = true;
        } else {
            result.error = "unknown argument '" + arg + "'";
        }
        if (!result.error.empty())
            return result;
    }
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

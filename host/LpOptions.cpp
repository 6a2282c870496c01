// The options printdialog shares with lp, so that it can stand where a program calls lp.
#include "Options.h"

#include <cstdlib>

namespace host {
namespace {

// "-n 3" or "-n3": the value after the letter, or the next argument.
bool option_value(const std::vector<std::string>& args, size_t& i, std::string& value,
                  std::string& error) {
    const std::string& arg = args[i];
    if (arg.size() > 2) {
        value = arg.substr(2);
        return true;
    }
    if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

bool parse_copies(const std::string& text, int& copies, std::string& error) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n < 1 || n > 9999) {
        error = "-n wants a number of copies from 1 to 9999, not '" + text + "'";
        return false;
    }
    copies = static_cast<int>(n);
    return true;
}

} // namespace

bool parse_lp_option(const std::vector<std::string>& args, size_t& i, Options& options,
                     std::string& error) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg[0] != '-' || arg.find_first_of("dnto", 1) != 1)
        return false;
    std::string value;
    if (!option_value(args, i, value, error))
        return true;
    switch (arg[1]) {
    case 'd':
        options.printer = value;
        break;
    case 'n':
        parse_copies(value, options.copies, error);
        break;
    case 't':
        options.title = value;
        break;
    default:
        if (value.find_first_not_of(' ') == std::string::npos)
            error = "-o wants name=value";
        else
            options.jobOptions.push_back(value);
    }
    return true;
}

std::string default_output_folder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/')
        return std::string(data) + "/printdialog/jobs";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr && *home != '\0' ? home : ".") +
           "/.local/share/printdialog/jobs";
}

} // namespace host

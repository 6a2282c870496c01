// printdialog: a print dialog for Linux that loads PDE bundles and drives their panels.
#include "CommandLine.h"
#include "Options.h"
#include "PDELoader.h"
#include "DialogRun.h"
#include "PrintDialog.h"
#include "Setup.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <PrintCore/PlatformHost.h>

#include <CoreServices/PlatformHost.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string program_dir(const char* argv0) {
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string path = length > 0 ? std::string(buffer, static_cast<size_t>(length)) : argv0;
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool apply_system_version(const std::string& text) {
    int major = 0, minor = 0, bugfix = 0;
    int fields = std::sscanf(text.c_str(), "%d.%d.%d", &major, &minor, &bugfix);
    if (fields < 2)
        return false;
    PlatformSetSystemVersion(major, minor, bugfix);
    return true;
}

void list_pdes(std::vector<host::LoadedPDE>& pdes) {
    for (host::LoadedPDE& pde : pdes) {
        host::PanelInfo info = host::run_prolog(pde);
        std::printf("%s\n", pde.path.c_str());
        if (info.prologStatus != noErr) {
            std::printf("  Prolog failed: %d\n", static_cast<int>(info.prologStatus));
            continue;
        }
        std::printf("  type:         %s\n",
                    pde.application ? "application print dialog" : "printer module");
        std::printf("  kind:         %s\n", info.kind.c_str());
        std::printf("  title:        %s\n", info.title.c_str());
        std::printf("  creator:      '%s'\n", host::four_char_code(info.creator).c_str());
        std::printf("  maximum size: %u x %u\n", static_cast<unsigned>(info.maxH),
                    static_cast<unsigned>(info.maxV));
        std::printf("  API version:  %u.%u/%u.%u\n", pde.version.buildVersionMajor,
                    pde.version.buildVersionMinor, pde.version.baseVersionMajor,
                    pde.version.baseVersionMinor);
        pde.pde->vtable->Terminate(info.context, noErr);
    }
}

// The dialog from start to end, and the settings kept afterwards.
int run_dialog(std::vector<host::LoadedPDE>& pdes, const host::Options& options,
               const std::string& programDir) {
    host::RunSettings settings;
    settings.script = options.script;
    settings.display = options.script.empty();
    settings.output = options.output.empty() ? host::default_output_folder() : options.output;
    settings.document = options.document;
    if (!options.documents.empty())
        settings.moreDocuments.assign(options.documents.begin() + 1, options.documents.end());
    settings.verbose = options.verbose;
    settings.cupsDestination = options.printer;
    settings.job = {options.title, options.copies, options.jobOptions};
    if (options.printer.empty() && (options.copies > 0 || !options.jobOptions.empty()))
        cf::report("printdialog",
                   "no CUPS destination: -n and -o have no queue to go to; the job is kept in %s",
                   settings.output.c_str());
    settings.printer = host::create_printer(options, programDir);
    if (settings.printer == nullptr && !options.printer.empty())
        return 1;
    if (!options.settings.empty())
        settings.ticket = host::load_settings(options.settings);
    const host::RunResult result = host::run_print_dialog(pdes, settings);
    if (settings.ticket != nullptr)
        PMTicketRelease(settings.ticket);
    if (settings.printer != nullptr)
        PMRelease(settings.printer);
    int exitStatus = result.outcome == host::Outcome::failed ? 1 : 0;
    if (result.outcome == host::Outcome::printed && !options.saveSettings.empty()) {
        if (PlatformTicketWriteToFile(result.ticket, options.saveSettings.c_str()) != noErr)
            exitStatus = 1;
        else
            std::printf("printdialog: settings saved to %s\n", options.saveSettings.c_str());
    }
    if (result.ticket != nullptr)
        PMTicketRelease(result.ticket);
    return exitStatus;
}

// Standard input stands for the document when no file is given, or where "-" is.
bool prepare_documents(host::Options& options, host::SpooledInput& input) {
    const bool wantsInput = options.documents.empty() ||
                            std::find(options.documents.begin(), options.documents.end(), "-") !=
                                options.documents.end();
    if (!wantsInput)
        return true;
    std::string error;
    if (!input.read(error)) {
        cf::report("printdialog", "%s", error.c_str());
        return false;
    }
    if (options.documents.empty() && !input.path().empty())
        options.documents.push_back(input.path());
    for (std::string& document : options.documents)
        if (document == "-")
            document = input.path();
    std::erase(options.documents, std::string());
    options.document = options.documents.empty() ? std::string() : options.documents.front();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    host::ParseResult parsed = host::parse_options(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        cf::report("printdialog", "%s", parsed.error.c_str());
        std::fputs(host::usage(), stderr);
        return 2;
    }
    host::Options& options = parsed.options;
    if (options.help) {
        std::fputs(host::usage(), stdout);
        return 0;
    }
    if (!options.list && options.script.empty() && !host::has_display()) {
        cf::report("printdialog",
                   "there is no display to show the print dialog on (DISPLAY and WAYLAND_DISPLAY "
                   "are not set); give --script FILE to print without one");
        return 2;
    }
    if (!options.systemVersion.empty() && !apply_system_version(options.systemVersion)) {
        cf::report("printdialog", "--system-version wants X.Y[.Z], not '%s'",
                   options.systemVersion.c_str());
        return 2;
    }
    host::LoadResult loaded = host::load_pdes(host::pde_search_path(options, program_dir(argv[0])));
    for (const host::PDEFailure& failure : loaded.failures)
        cf::report("printdialog", "skipping %s: %s", failure.path.c_str(), failure.reason.c_str());
    // Bundles that are not PDEs of a shown type are named, never dropped silently: in the
    // listing itself, or on standard error during a dialog.
    if (options.verbose)
        for (const host::PDEFailure& other : loaded.ignored)
            std::fprintf(options.list ? stdout : stderr, "%s%s\n  not shown: %s\n",
                         options.list ? "" : "printdialog: ", other.path.c_str(),
                         other.reason.c_str());
    if (loaded.pdes.empty()) {
        cf::report("printdialog", "no PDE found");
        return 1;
    }
    int result = 0;
    host::SpooledInput input;
    if (options.list) {
        list_pdes(loaded.pdes);
    } else if (!prepare_documents(options, input)) {
        result = 1;
    } else {
        if (options.printer.empty() && options.ppd.empty())
            options.printer = host::default_cups_destination();
        result = run_dialog(loaded.pdes, options, program_dir(argv[0]));
    }
    for (host::LoadedPDE& pde : loaded.pdes)
        host::unload_pde(pde);
    return result;
}

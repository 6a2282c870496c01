// Choosing the printer and loading saved print settings.
#include "Setup.h"

#include "CFHolder.h"

#include <PrintCore/PlatformHost.h>

#include <cstdio>

namespace host {

PMPrinter create_printer(const Options& options, const std::string& programDir,
                         const Destination& found) {
    PMPrinter printer = nullptr;
    if (!options.printer.empty()) {
        if (!found.exists) {
            std::fprintf(stderr, "printdialog: --printer %s: CUPS has no destination \"%s\" (%s)\n",
                         options.printer.c_str(), options.printer.c_str(), found.error.c_str());
            return nullptr;
        }
        const CFHolder<CFStringRef> name = make_string(options.printer);
        const CFHolder<CFStringRef> info =
            found.info.empty() ? CFHolder<CFStringRef>() : make_string(found.info);
        if (PlatformCreatePrinterForFoundCUPSDestination(name.get(), info.get(), &printer) !=
            noErr) {
            std::fprintf(stderr, "printdialog: --printer %s: not a CUPS destination name\n",
                         options.printer.c_str());
            return nullptr;
        }
    } else {
        const std::string ppd = options.ppd.empty() ? default_ppd(programDir) : options.ppd;
        const char* title = options.ppd.empty() ? "KV3300 (embedded)" : "PPD printer";
        CFHolder<CFStringRef> name(
            CFStringCreateWithCString(nullptr, title, kCFStringEncodingUTF8));
        if (PlatformCreatePrinterWithPPD(name.get(), ppd.c_str(), &printer) != noErr)
            return nullptr;
        // A CUPS queue's PPD is fetched only when a PDE asks for it: asking here would fetch it
        // for every print.
        if (CFStringRef why = PlatformCopyPrinterPPDError(printer)) {
            std::fprintf(stderr, "printdialog: the printer has no PPD: %s\n", to_utf8(why).c_str());
            CFRelease(why);
        }
    }
    return printer;
}

PMTicketRef load_settings(const std::string& path) {
    PMTicketRef ticket = nullptr;
    CFStringRef error = nullptr;
    if (PlatformTicketCreateFromFile(path.c_str(), &ticket, &error) != noErr) {
        std::fprintf(stderr, "printdialog: %s; starting with empty print settings\n",
                     error != nullptr ? to_utf8(error).c_str() : path.c_str());
        if (error != nullptr)
            CFRelease(error);
        return nullptr;
    }
    return ticket;
}

} // namespace host

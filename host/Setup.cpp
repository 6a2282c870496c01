// Choosing the printer and loading saved print settings.
#include "Setup.h"

#include "CFHolder.h"

#include <PrintCore/PlatformHost.h>

#include <cstdio>

namespace host {

PMPrinter create_printer(const Options& options, const std::string& programDir) {
    PMPrinter printer = nullptr;
    if (!options.printer.empty()) {
        CFHolder<CFStringRef> name(
            CFStringCreateWithCString(nullptr, options.printer.c_str(), kCFStringEncodingUTF8));
        CFStringRef error = nullptr;
        if (PlatformCreatePrinterForCUPSDestination(name.get(), &printer, &error) != noErr) {
            std::fprintf(stderr, "printdialog: --printer %s: %s\n", options.printer.c_str(),
                         error != nullptr ? to_utf8(error).c_str() : "no such destination");
            if (error != nullptr)
                CFRelease(error);
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

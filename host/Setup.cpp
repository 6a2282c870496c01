// Choosing the printer and loading saved print settings.
#include "Setup.h"
#include <CoreFoundation/CFDiagnostics.h>

#include "CFText.h"

#include <PrintCore/PlatformHost.h>

#include <cstdio>

namespace host {

PMPrinter create_printer(const Options& options, const std::string& programDir,
                         const Destination& found) {
    PMPrinter printer = nullptr;
    if (!options.printer.empty()) {
        if (!found.exists) {
            cf::report("printdialog", "--printer %s: CUPS has no destination \"%s\" (%s)",
                       options.printer.c_str(), options.printer.c_str(), found.error.c_str());
            return nullptr;
        }
        const cf::Holder<CFStringRef> name = make_string(options.printer);
        const cf::Holder<CFStringRef> info =
            found.info.empty() ? cf::Holder<CFStringRef>() : make_string(found.info);
        if (PlatformCreatePrinterForFoundCUPSDestination(name.get(), info.get(), &printer) !=
            noErr) {
            cf::report("printdialog", "--printer %s: not a CUPS destination name",
                       options.printer.c_str());
            return nullptr;
        }
    } else {
        const std::string ppd = options.ppd.empty() ? default_ppd(programDir) : options.ppd;
        const char* title = options.ppd.empty() ? "KV3300 (embedded)" : "PPD printer";
        cf::Holder<CFStringRef> name(
            CFStringCreateWithCString(nullptr, title, kCFStringEncodingUTF8));
        if (PlatformCreatePrinterWithPPD(name.get(), ppd.c_str(), &printer) != noErr)
            return nullptr;
        // A CUPS queue's PPD is fetched only when a PDE asks for it: asking here would fetch it
        // for every print.
        if (const cf::Holder<CFStringRef> why{PlatformCopyPrinterPPDError(printer)})
            cf::report("printdialog", "the printer has no PPD: %s", to_utf8(why.get()).c_str());
    }
    return printer;
}

PMTicketRef load_settings(const std::string& path) {
    PMTicketRef ticket = nullptr;
    CFStringRef error = nullptr;
    const OSStatus status = PlatformTicketCreateFromFile(path.c_str(), &ticket, &error);
    const cf::Holder<CFStringRef> reason(error);
    if (status != noErr) {
        cf::report("printdialog", "%s; starting with empty print settings",
                   reason ? to_utf8(reason.get()).c_str() : path.c_str());
        return nullptr;
    }
    return ticket;
}

} // namespace host

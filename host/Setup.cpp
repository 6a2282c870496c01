// Choosing the printer and loading saved print settings.
#include "Setup.h"
#include <CoreFoundation/CFDiagnostics.h>

#include "CFText.h"

#include <PrintCore/PlatformHost.h>

#include <cstdio>

namespace host {

PMPrinter create_printer(const Options& options, const std::string& programDir) {
    PMPrinter printer = nullptr;
    if (!options.printer.empty()) {
        cf::Holder<CFStringRef> name(
            CFStringCreateWithCString(nullptr, options.printer.c_str(), kCFStringEncodingUTF8));
        CFStringRef error = nullptr;
        const OSStatus status =
            PlatformCreatePrinterForCUPSDestination(name.get(), &printer, &error);
        const cf::Holder<CFStringRef> reason(error);
        if (status != noErr) {
            cf::report("printdialog", "--printer %s: %s", options.printer.c_str(),
                       reason ? to_utf8(reason.get()).c_str() : "no such destination");
            return nullptr;
        }
    } else {
        const std::string ppd = options.ppd.empty() ? default_ppd(programDir) : options.ppd;
        const char* title = options.ppd.empty() ? "KV3300 (embedded)" : "PPD printer";
        cf::Holder<CFStringRef> name(
            CFStringCreateWithCString(nullptr, title, kCFStringEncodingUTF8));
        if (PlatformCreatePrinterWithPPD(name.get(), ppd.c_str(), &printer) != noErr)
            return nullptr;
    }
    if (const cf::Holder<CFStringRef> why{PlatformCopyPrinterPPDError(printer)})
        cf::report("printdialog", "the printer has no PPD: %s", to_utf8(why.get()).c_str());
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

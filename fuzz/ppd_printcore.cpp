// PPD files as PrintCore takes them for a printer: opened, checked, and their problem reported.
#include "FuzzSupport.h"

#include <ApplicationServices/ApplicationServices.h>
#include <PrintCore/PlatformHost.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::ScratchFile ppd("printer.ppd");
    PMPrinter printer = nullptr;
    if (PlatformCreatePrinterWithPPD(CFSTR("Fuzzed"), ppd.write(data, size), &printer) != noErr)
        return 0;
    cf::Holder<CFStringRef> problem(PlatformCopyPrinterPPDError(printer));
    CFURLRef url = nullptr;
    PMPrinterGetDescriptionURL(printer, kPMPPDDescriptionType, &url);
    const cf::Holder<CFURLRef> description(url);
    PMPrintSession session = nullptr;
    if (PMCreateSession(&session) == noErr) {
        PMSessionSetCurrentPMPrinter(session, printer);
        PMRelease(session);
    }
    PMRelease(printer);
    return 0;
}

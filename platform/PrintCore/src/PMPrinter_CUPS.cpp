// Printers for CUPS destinations: the destination is looked up with libcups and its PPD fetched
// into a temporary file that the printer owns.
#include "PrintCoreInternal.h"

#include "CupsPPD.h"

namespace pc {
namespace {

struct Destination {
    std::string queue;
    std::string instance; // empty for the destination itself
};

Destination split_destination(const std::string& name) {
    size_t slash = name.find('/');
    if (slash == std::string::npos)
        return {name, {}};
    return {name.substr(0, slash), name.substr(slash + 1)};
}

void set_error(CFStringRef* errorString, const std::string& message) {
    if (errorString != nullptr)
        *errorString = create_string(message);
}

// Fetches the queue's PPD. The printer gets it, or learns why there is none.
void fetch_ppd(Printer* printer, const std::string& queue) {
    char path[1024] = "";
    time_t modified = 0;
    http_status_t status =
        cupsGetPPD3(CUPS_HTTP_DEFAULT, queue.c_str(), &modified, path, sizeof path);
    if (status == HTTP_STATUS_OK && path[0] != '\0') {
        attach_ppd(printer, path, true);
        return;
    }
    printer->ppd_problem = "CUPS has no PPD for \"" + queue + "\": " + cupsLastErrorString();
}

} // namespace

OSStatus create_cups_printer(CFStringRef destination, PMPrinter* out, CFStringRef* errorString) {
    std::string full = utf8(destination);
    Destination where = split_destination(full);
    if (where.queue.empty()) {
        set_error(errorString, "\"" + full + "\" is not a CUPS destination name");
        return kPMInvalidPrinter;
    }
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, where.queue.c_str(),
                                         where.instance.empty() ? nullptr : where.instance.c_str());
    if (dest == nullptr) {
        set_error(errorString,
                  "CUPS has no destination \"" + full + "\" (" + cupsLastErrorString() + ")");
        return kPMInvalidPrinter;
    }
    // People know a queue by its description when it has one.
    const char* info = cupsGetOption("printer-info", dest->num_options, dest->options);
    cf::Holder<CFStringRef> name(create_string(info != nullptr && *info != '\0' ? info : full));
    cupsFreeDests(1, dest);
    if (!name)
        name = cf::Holder<CFStringRef>::retaining(destination);
    Printer* printer = create_printer(name.get(), destination);
    if (printer == nullptr)
        return memFullErr;
    fetch_ppd(printer, where.queue);
    *out = printer;
    return kPMNoError;
}

} // namespace pc

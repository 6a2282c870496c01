// Printers for CUPS destinations: the destination is looked up with libcups; its PPD is fetched
// into a temporary file that the printer owns when it is first asked for.
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
    return create_found_cups_printer(destination, name.get(), out);
}

OSStatus create_found_cups_printer(CFStringRef destination, CFStringRef name, PMPrinter* out) {
    const std::string queue = split_destination(utf8(destination)).queue;
    if (queue.empty())
        return kPMInvalidPrinter;
    Printer* printer = create_printer(name != nullptr ? name : destination, destination);
    if (printer == nullptr)
        return memFullErr;
    printer->ppd_queue = queue;
    *out = printer;
    return kPMNoError;
}

void fetch_pending_ppd(Printer* printer) {
    if (printer->ppd_queue.empty())
        return;
    const std::string queue = std::move(printer->ppd_queue);
    printer->ppd_queue.clear();
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

} // namespace pc

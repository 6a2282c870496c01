// Printers: a name, an ID and the PPD file that describes them, from a file on disk or from CUPS.
#include "PrintCoreInternal.h"

#include <PrintCore/PlatformHost.h>

#include "CupsPPD.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pc {
namespace {

const cf::ClassDescriptor kPrinterClass = {"PMPrinter", cf::destroy<Printer>, nullptr, nullptr,
                                           nullptr};

// Live printers, not retained: each leaves the list when it is freed.
std::vector<Printer*>& registry() {
    static auto* printers = new std::vector<Printer*>;
    return *printers;
}

// A queue name holds printable characters other than blanks, "/", "\\", "#" and quotes.
std::string queue_name_from(const std::string& name) {
    std::string id = name;
    for (char& c : id) {
        auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F || std::strchr("/\\#'\"", c) != nullptr)
            c = '_';
    }
    return id;
}

// Why a file cannot be a PPD before libcups looks inside: it is missing, a folder or unreadable.
// Empty when the file can be read.
std::string open_problem(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return std::strerror(errno);
    if (S_ISDIR(info.st_mode))
        return "it is a folder, not a PPD file";
    if (access(path.c_str(), R_OK) != 0)
        return std::strerror(errno);
    return {};
}

std::string absolute_path(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr)
        return resolved;
    if (!path.empty() && path[0] == '/')
        return path;
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) == nullptr)
        return path;
    return std::string(cwd) + "/" + path;
}

} // namespace

CFTypeID printer_type() {
    static CFTypeID id = cf::register_class(&kPrinterClass);
    return id;
}

Printer* printer_for(PMPrinter printer, const char* function) {
    return cf::check_type(printer, printer_type(), function) ? printer : nullptr;
}

Printer* create_printer(CFStringRef name, CFStringRef id) {
    auto* printer = cf::create<Printer>(nullptr, printer_type());
    if (printer == nullptr)
        return nullptr;
    printer->name = CFStringCreateCopy(nullptr, name);
    printer->id = CFStringCreateCopy(nullptr, id);
    registry().push_back(printer);
    return printer;
}

Printer* copy_registered_printer(CFStringRef id) {
    for (Printer* printer : registry()) {
        if (CFEqual(printer->id, id)) {
            CFRetain(printer);
            return printer;
        }
    }
    return nullptr;
}

void attach_ppd(Printer* printer, const std::string& path, bool temporary) {
    std::string absolute = absolute_path(path);
    printer->ppd_path.clear();
    printer->ppd_is_temporary = false;
    std::string why = open_problem(absolute);
    ppd_file_t* ppd = why.empty() ? ppdOpenFile(absolute.c_str()) : nullptr;
    if (ppd != nullptr) {
        ppdClose(ppd);
        printer->ppd_path = absolute;
        printer->ppd_is_temporary = temporary;
        printer->ppd_problem.clear();
        return;
    }
    if (why.empty()) {
        int line = 0;
        ppd_status_t status = ppdLastError(&line);
        why = ppdErrorString(status);
        if (line > 0)
            why += " on line " + std::to_string(line);
    }
    printer->ppd_problem = absolute + ": " + why;
    // A fetched copy that libcups can't read is of no use to anyone.
    if (temporary)
        unlink(absolute.c_str());
}

} // namespace pc

OpaquePMPrinter::~OpaquePMPrinter() {
    auto& live = pc::registry();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    if (ppd_is_temporary && !ppd_path.empty())
        unlink(ppd_path.c_str());
    if (name != nullptr)
        CFRelease(name);
    if (id != nullptr)
        CFRelease(id);
}

using pc::Printer;

OSStatus PlatformCreatePrinterWithPPD(CFStringRef name, const char* ppdPath, PMPrinter* printer) {
    if (printer == nullptr)
        return kPMInvalidParameter;
    *printer = nullptr;
    if (name == nullptr || ppdPath == nullptr || CFGetTypeID(name) != CFStringGetTypeID())
        return kPMInvalidParameter;
    const cf::Holder<CFStringRef> id(pc::create_string(pc::queue_name_from(pc::utf8(name))));
    if (!id)
        return kPMInvalidParameter;
    Printer* created = pc::create_printer(name, id.get());
    if (created == nullptr)
        return memFullErr;
    pc::attach_ppd(created, ppdPath, false);
    *printer = created;
    return kPMNoError;
}

OSStatus PlatformCreatePrinterForCUPSDestination(CFStringRef name, PMPrinter* printer,
                                                 CFStringRef* errorString) {
    if (errorString != nullptr)
        *errorString = nullptr;
    if (printer == nullptr)
        return kPMInvalidParameter;
    *printer = nullptr;
    if (name == nullptr || CFGetTypeID(name) != CFStringGetTypeID())
        return kPMInvalidParameter;
    return pc::create_cups_printer(name, printer, errorString);
}

CFStringRef PlatformCopyPrinterPPDError(PMPrinter printer) {
    Printer* p = pc::printer_for(printer, __func__);
    if (p == nullptr || !p->ppd_path.empty())
        return nullptr;
    return pc::create_string(p->ppd_problem.empty() ? "the printer has no PPD" : p->ppd_problem);
}

CFStringRef PMPrinterGetName(PMPrinter printer) {
    Printer* p = pc::printer_for(printer, __func__);
    return p != nullptr ? p->name : nullptr;
}

CFStringRef PMPrinterGetID(PMPrinter printer) {
    Printer* p = pc::printer_for(printer, __func__);
    return p != nullptr ? p->id : nullptr;
}

PMPrinter PMPrinterCreateFromPrinterID(CFStringRef printerID) {
    if (printerID == nullptr || CFGetTypeID(printerID) != CFStringGetTypeID())
        return nullptr;
    if (Printer* known = pc::copy_registered_printer(printerID))
        return known;
    PMPrinter printer = nullptr;
    CFStringRef error = nullptr;
    pc::create_cups_printer(printerID, &printer, &error);
    cf::Holder<CFStringRef> unused(error); // the caller wants only the printer
    return printer;
}

OSStatus PMPrinterGetDescriptionURL(PMPrinter printer, CFStringRef descriptionType,
                                    CFURLRef* fileURL) {
    Printer* p = pc::printer_for(printer, __func__);
    if (p == nullptr)
        return kPMInvalidPrinter;
    if (fileURL == nullptr || descriptionType == nullptr ||
        !CFEqual(descriptionType, kPMPPDDescriptionType))
        return kPMInvalidParameter;
    if (p->ppd_path.empty())
        return kPMNoSuchEntry;
    *fileURL = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(p->ppd_path.data()),
        static_cast<CFIndex>(p->ppd_path.size()), false);
    return *fileURL != nullptr ? kPMNoError : kPMGeneralError;
}

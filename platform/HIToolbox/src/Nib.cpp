// Nib references: a parsed nib file held by a runtime object, and the
// public calls that make windows from it.
#include "NibInternal.h"
#include "TextInternal.h"
#include "WindowInternal.h"
#include <CoreFoundation/CFDiagnostics.h>
#include <CoreFoundation/CFHolder.h>

#include <CoreFoundation/CFRuntime.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <sys/stat.h>

struct OpaqueIBNibRef : cf::Object {
    std::shared_ptr<const hit::nib::Document> document; // shared with the parsed-nib cache
};

namespace {

void finalize_nib(CFTypeRef object) {
    cf::destroy<OpaqueIBNibRef>(object);
}

const cf::ClassDescriptor kNibClass = {"IBNibRef", finalize_nib, nullptr, nullptr, nullptr};

CFTypeID nib_type_id() {
    static CFTypeID id = cf::register_class(&kNibClass);
    return id;
}

bool is_folder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

enum class Format { own, xib, unreadable };

// Which reader a nib needs, from what its folder holds or how its file begins. `why` says
// what an unreadable one is.
Format format_of(const std::string& path, const std::string& bytes, std::string& why) {
    if (bytes.compare(0, 6, "bplist") == 0) {
        why = "a compiled (binary) nib; this runtime reads Interface Builder's XML archive "
              "(objects.xib) and its own XML nibs";
        return Format::unreadable;
    }
    if (bytes.find("NSIBObjectData") != std::string::npos)
        return Format::xib;
    if (bytes.find("com.apple.InterfaceBuilder3") != std::string::npos) {
        why = "an Interface Builder 3 document (a .xib to compile), not a Carbon nib; "
              "this runtime reads Carbon nibs";
        return Format::unreadable;
    }
    (void)path;
    return Format::own;
}

bool read_file(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    bytes = buffer.str();
    return !in.bad();
}

// The last document parsed from each nib file, with the bytes it was parsed from: a panel
// opened again (a new print dialog in the same process) reads its nib file but does not parse
// it again unless the bytes changed.
struct ParsedNib {
    std::string bytes;
    std::shared_ptr<const hit::nib::Document> document;
};

std::mutex& parsed_nibs_lock() {
    static auto* lock = new std::mutex;
    return *lock;
}

std::map<std::string, ParsedNib>& parsed_nibs() {
    static auto* nibs = new std::map<std::string, ParsedNib>;
    return *nibs;
}

std::shared_ptr<const hit::nib::Document> cached_document(const std::string& file,
                                                          const std::string& bytes) {
    std::lock_guard<std::mutex> guard(parsed_nibs_lock());
    auto found = parsed_nibs().find(file);
    if (found == parsed_nibs().end() || found->second.bytes != bytes)
        return nullptr;
    return found->second.document;
}

void remember_document(const std::string& file, const std::string& bytes,
                       std::shared_ptr<const hit::nib::Document> document) {
    std::lock_guard<std::mutex> guard(parsed_nibs_lock());
    parsed_nibs()[file] = ParsedNib{bytes, std::move(document)};
}

} // namespace

namespace hit::nib {

// The entry whose call opens a nib file, named in the messages about the file.
constexpr const char* kOpener = "CreateNibReference";

// A nib folder as Interface Builder writes it holds objects.xib (the archive this runtime
// reads), or only compiled files (keyedobjects.nib, objects.nib) that it does not.
OSStatus open_nib_folder(const std::string& folder, std::string& file, std::string& bytes) {
    file = folder + "/objects.xib";
    if (read_file(file, bytes))
        return noErr;
    for (const char* compiled : {"keyedobjects.nib", "objects.nib"})
        if (exists(folder + "/" + compiled)) {
            cf::report_in_file(kOpener, folder + "/" + compiled, 0,
                               "a compiled nib; this runtime reads Interface Builder's XML "
                               "archive objects.xib (ship the nib folder with its objects.xib)");
            return errCorruptWindowDescription;
        }
    return kIBCarbonRuntimeCantFindNibFile;
}

OSStatus open_nib_file(const std::string& path, IBNibRef* out) {
    if (out == nullptr)
        return paramErr;
    std::string file = path, bytes;
    if (is_folder(path)) {
        if (OSStatus status = open_nib_folder(path, file, bytes); status != noErr)
            return status;
    } else if (!read_file(path, bytes)) {
        return kIBCarbonRuntimeCantFindNibFile;
    }
    if (auto document = cached_document(file, bytes)) {
        auto* nib = cf::create<OpaqueIBNibRef>(nullptr, nib_type_id());
        if (nib == nullptr)
            return memFullErr;
        nib->document = std::move(document);
        *out = nib;
        return noErr;
    }
    std::string why;
    const Format format = format_of(file, bytes, why);
    if (format == Format::unreadable) {
        cf::report_in_file(kOpener, file, 0, "%s", why.c_str());
        return errCorruptWindowDescription;
    }
    cf::Holder<IBNibRef> nib(cf::create<OpaqueIBNibRef>(nullptr, nib_type_id()));
    if (!nib)
        return memFullErr;
    std::string error;
    auto document = std::make_shared<Document>();
    const bool parsed = format == Format::xib ? parse_xib(bytes, file, *document, error)
                                              : parse(bytes, file, *document, error);
    if (!parsed) {
        cf::report(kOpener, "%s", error.c_str()); // the parser's error starts "file:line: "
        return errCorruptWindowDescription;
    }
    nib.get()->document = document;
    remember_document(file, bytes, std::move(document));
    *out = nib.release();
    return noErr;
}

} // namespace hit::nib

OSStatus CreateNibReferenceWithCFBundle(CFBundleRef inBundle, CFStringRef inNibName,
                                        IBNibRef* outNibRef) {
    if (inBundle == nullptr || inNibName == nullptr || outNibRef == nullptr)
        return paramErr;
    *outNibRef = nullptr;
    cf::Holder<CFURLRef> url(CFBundleCopyResourceURL(inBundle, inNibName, CFSTR("nib"), nullptr));
    char path[4096];
    if (!url || !CFURLGetFileSystemRepresentation(url.get(), true, reinterpret_cast<UInt8*>(path),
                                                  sizeof(path)))
        return kIBCarbonRuntimeCantFindNibFile;
    return hit::nib::open_nib_file(path, outNibRef);
}

OSStatus CreateNibReference(CFStringRef inNibName, IBNibRef* outNibRef) {
    CFBundleRef main = CFBundleGetMainBundle();
    if (main == nullptr)
        return kIBCarbonRuntimeCantFindNibFile;
    return CreateNibReferenceWithCFBundle(main, inNibName, outNibRef);
}

OSStatus CreateWindowFromNib(IBNibRef inNibRef, CFStringRef inName, WindowRef* outWindow) {
    if (!cf::check_type(inNibRef, nib_type_id(), __func__) || inName == nullptr ||
        outWindow == nullptr)
        return paramErr;
    const hit::nib::Document& document = *inNibRef->document;
    const std::string name = hit::utf8(inName);
    const hit::nib::WindowNode* node = document.find_window(name);
    if (node == nullptr)
        return document.find_menu(name) != nullptr ? kIBCarbonRuntimeObjectNotOfRequestedType
                                                   : kIBCarbonRuntimeCantFindObject;
    std::string error;
    const OSStatus status = hit::nib::build_window(document, *node, outWindow, error);
    if (status != noErr)
        cf::report(__func__, "%s", error.c_str());
    else
        (*outWindow)->nib_window = name; // dumps say where a dialog came from
    return status;
}

OSStatus CreateMenuFromNib(IBNibRef inNibRef, CFStringRef inName, MenuRef* outMenuRef) {
    if (!cf::check_type(inNibRef, nib_type_id(), __func__) || inName == nullptr ||
        outMenuRef == nullptr)
        return paramErr;
    const hit::nib::Document& document = *inNibRef->document;
    const std::string name = hit::utf8(inName);
    const hit::nib::MenuNode* node = document.find_menu(name);
    if (node == nullptr)
        return document.find_window(name) != nullptr ? kIBCarbonRuntimeObjectNotOfRequestedType
                                                     : kIBCarbonRuntimeCantFindObject;
    hit::nib::BuildContext context{document, {}};
    const OSStatus status = hit::nib::build_menu(*node, context, outMenuRef);
    if (status != noErr)
        cf::report(__func__, "%s", context.error.c_str());
    return status;
}

void DisposeNibReference(IBNibRef inNibRef) {
    if (cf::check_type(inNibRef, nib_type_id(), __func__))
        CFRelease(inNibRef);
}

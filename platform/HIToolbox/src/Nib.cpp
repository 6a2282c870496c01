// Nib references: a parsed nib file held by a runtime object, and the
// public calls that make windows from it.
#include "NibInternal.h"
#include "TextInternal.h"
#include "WindowInternal.h"

#include <CoreFoundation/CFRuntime.h>

#include <cstdio>
#include <fstream>
#include <sstream>

struct OpaqueIBNibRef : cf::Object {
    hit::nib::Document document;
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

bool read_file(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    bytes = buffer.str();
    return !in.bad();
}

} // namespace

namespace hit::nib {

OSStatus open_nib_file(const std::string& path, IBNibRef* out) {
    if (out == nullptr)
        return paramErr;
    std::string bytes;
    if (!read_file(path, bytes))
        return kIBCarbonRuntimeCantFindNibFile;
    auto* nib = cf::create<OpaqueIBNibRef>(nullptr, nib_type_id());
    if (nib == nullptr)
        return memFullErr;
    std::string error;
    if (!parse(bytes, path, nib->document, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        CFRelease(nib);
        return errCorruptWindowDescription;
    }
    *out = nib;
    return noErr;
}

} // namespace hit::nib

OSStatus CreateNibReferenceWithCFBundle(CFBundleRef inBundle, CFStringRef inNibName,
                                        IBNibRef* outNibRef) {
    if (inBundle == nullptr || inNibName == nullptr || outNibRef == nullptr)
        return paramErr;
    *outNibRef = nullptr;
    CFURLRef url = CFBundleCopyResourceURL(inBundle, inNibName, CFSTR("nib"), nullptr);
    if (url == nullptr)
        return kIBCarbonRuntimeCantFindNibFile;
    char path[4096];
    const bool ok = CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(path),
                                                     sizeof(path));
    CFRelease(url);
    if (!ok)
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
    const hit::nib::Document& document = inNibRef->document;
    const std::string name = hit::utf8(inName);
    const hit::nib::WindowNode* node = document.find_window(name);
    if (node == nullptr)
        return document.find_menu(name) != nullptr ? kIBCarbonRuntimeObjectNotOfRequestedType
                                                   : kIBCarbonRuntimeCantFindObject;
    std::string error;
    const OSStatus status = hit::nib::build_window(document, *node, outWindow, error);
    if (status != noErr)
        std::fprintf(stderr, "%s\n", error.c_str());
    else
        (*outWindow)->nib_window = name; // dumps say where a dialog came from
    return status;
}

OSStatus CreateMenuFromNib(IBNibRef inNibRef, CFStringRef inName, MenuRef* outMenuRef) {
    if (!cf::check_type(inNibRef, nib_type_id(), __func__) || inName == nullptr ||
        outMenuRef == nullptr)
        return paramErr;
    const hit::nib::Document& document = inNibRef->document;
    const std::string name = hit::utf8(inName);
    const hit::nib::MenuNode* node = document.find_menu(name);
    if (node == nullptr)
        return document.find_window(name) != nullptr ? kIBCarbonRuntimeObjectNotOfRequestedType
                                                     : kIBCarbonRuntimeCantFindObject;
    hit::nib::BuildContext context{document, {}};
    const OSStatus status = hit::nib::build_menu(*node, context, outMenuRef);
    if (status != noErr)
        std::fprintf(stderr, "%s\n", context.error.c_str());
    return status;
}

void DisposeNibReference(IBNibRef inNibRef) {
    if (cf::check_type(inNibRef, nib_type_id(), __func__))
        CFRelease(inNibRef);
}

// Icon Services: IconRefs made from icon families, and .icns files read into
// handles.
#include "FileNodes.h"
#include "IconFamily.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <CoreFoundation/CFRuntime.h>
#include <CoreServices/MacMemory.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

struct OpaqueIconRef : cf::Object {
    std::vector<cs::IconImage> images;
};

namespace cs {
namespace {

const cf::ClassDescriptor kIconRefClass = {"IconRef", cf::destroy<OpaqueIconRef>, nullptr, nullptr,
                                           nullptr};

CFTypeID icon_ref_type_id() {
    static CFTypeID id = cf::register_class(&kIconRefClass);
    return id;
}

// The whole file at `path`; the status says why not.
OSErr read_whole_file(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return error_from_errno(errno);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? OSErr{ioErr} : OSErr{noErr};
}

} // namespace
} // namespace cs

OSErr ReadIconFromFSRef(const FSRef* ref, IconFamilyHandle* iconFamily) {
    if (ref == nullptr || iconFamily == nullptr)
        return paramErr;
    std::string path;
    if (OSErr err = cs::path_from_ref(ref, path); err != noErr)
        return err;
    std::vector<uint8_t> bytes;
    if (OSErr err = cs::read_whole_file(path, bytes); err != noErr)
        return err;
    // The family's own size must be the file's: anything else is not an icon file.
    if (bytes.size() < 8 || std::memcmp(bytes.data(), "icns", 4) != 0 ||
        ((size_t{bytes[4]} << 24) | (size_t{bytes[5]} << 16) | (size_t{bytes[6]} << 8) |
         bytes[7]) != bytes.size()) {
        cf::report_in_file("ReadIconFile", path, 0, "not an icon family file");
        return paramErr;
    }
    Handle h = reinterpret_cast<Handle>(*iconFamily);
    const bool made_here = h == nullptr;
    if (made_here)
        h = NewHandle(static_cast<Size>(bytes.size()));
    else
        SetHandleSize(h, static_cast<Size>(bytes.size()));
    if (h == nullptr || MemError() != noErr)
        return h == nullptr ? OSErr{memFullErr} : MemError();
    std::memcpy(*h, bytes.data(), bytes.size());
    *iconFamily = reinterpret_cast<IconFamilyHandle>(h);
    return noErr;
}

OSErr ReadIconFile(const FSSpec* iconFile, IconFamilyHandle* iconFamily) {
    if (iconFile == nullptr || iconFamily == nullptr)
        return paramErr;
    FSRef ref;
    if (OSErr err = FSpMakeFSRef(iconFile, &ref); err != noErr)
        return err;
    return ReadIconFromFSRef(&ref, iconFamily);
}

OSStatus GetIconRefFromIconFamilyPtr(const IconFamilyResource* inIconFamilyPtr, Size inSize,
                                     IconRef* outIconRef) {
    if (outIconRef == nullptr)
        return paramErr;
    *outIconRef = nullptr;
    if (inIconFamilyPtr == nullptr || inSize < 0)
        return paramErr;
    std::vector<cs::IconImage> images;
    std::string error;
    OSStatus status = cs::parse_icon_family(reinterpret_cast<const uint8_t*>(inIconFamilyPtr),
                                            static_cast<size_t>(inSize), images, error);
    if (status != noErr) {
        cf::report("GetIconRefFromIconFamilyPtr", "%s", error.c_str());
        return status;
    }
    auto* icon = cf::create<OpaqueIconRef>(nullptr, cs::icon_ref_type_id());
    if (icon == nullptr)
        return memFullErr;
    icon->images = std::move(images);
    *outIconRef = icon;
    return noErr;
}

OSErr AcquireIconRef(IconRef theIconRef) {
    if (!cf::check_type(theIconRef, cs::icon_ref_type_id(), __func__))
        return invalidIconRefErr;
    CFRetain(theIconRef);
    return noErr;
}

OSErr ReleaseIconRef(IconRef theIconRef) {
    if (!cf::check_type(theIconRef, cs::icon_ref_type_id(), __func__))
        return invalidIconRefErr;
    CFRelease(theIconRef);
    return noErr;
}

OSErr GetIconRefOwners(IconRef theIconRef, UInt16* owners) {
    if (owners == nullptr)
        return paramErr;
    if (!cf::check_type(theIconRef, cs::icon_ref_type_id(), __func__))
        return invalidIconRefErr;
    CFIndex count = CFGetRetainCount(theIconRef);
    *owners = static_cast<UInt16>(count > 0xFFFF ? 0xFFFF : count);
    return noErr;
}

Boolean IsDataAvailableInIconRef(OSType inIconKind, IconRef inIconRef) {
    if (!cf::check_type(inIconRef, cs::icon_ref_type_id(), __func__))
        return false;
    for (const cs::IconImage& image : inIconRef->images)
        if (image.kind == inIconKind || (image.mask_kind != 0 && image.mask_kind == inIconKind))
            return true;
    return false;
}

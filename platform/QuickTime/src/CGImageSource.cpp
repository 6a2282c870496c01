// CGImageSource: a picture file read and decoded when the source is made.
#include "Image.h"
#include "Picture.h"

#include <ImageIO/CGImageSource.h>

#include <CoreFoundation/CFRuntime.h>

#include <climits>
#include <cstdio>

struct OpaqueCGImageSource : cf::Object {
    CGImageSourceStatus status = kCGImageStatusUnknownType;
    CFStringRef type_id = nullptr;
    cairo_surface_t* surface = nullptr;
};

namespace qt {
namespace {

void finalize_source(CFTypeRef object) {
    auto* source = static_cast<OpaqueCGImageSource*>(const_cast<void*>(object));
    if (source->surface != nullptr)
        cairo_surface_destroy(source->surface);
    if (source->type_id != nullptr)
        CFRelease(source->type_id);
    cf::destroy<OpaqueCGImageSource>(object);
}

const cf::ClassDescriptor kSourceClass = {"CGImageSource", finalize_source, nullptr, nullptr,
                                          nullptr};

CFTypeID source_type_id() {
    static CFTypeID id = cf::register_class(&kSourceClass);
    return id;
}

CGImageSourceStatus status_for(DecodeResult result) {
    switch (result) {
    case DecodeResult::ok:
        return kCGImageStatusComplete;
    case DecodeResult::unknown_type:
        return kCGImageStatusUnknownType;
    case DecodeResult::invalid_data:
        break;
    }
    return kCGImageStatusInvalidData;
}

} // namespace
} // namespace qt

CFTypeID CGImageSourceGetTypeID(void) {
    return qt::source_type_id();
}

CGImageSourceRef CGImageSourceCreateWithURL(CFURLRef url, CFDictionaryRef) {
    UInt8 path[PATH_MAX];
    if (url == nullptr || !CFURLGetFileSystemRepresentation(url, true, path, sizeof(path)))
        return nullptr;
    const char* file = reinterpret_cast<const char*>(path);
    std::vector<uint8_t> bytes;
    if (!qt::read_file(file, bytes))
        return nullptr;
    auto* source = cf::create<OpaqueCGImageSource>(nullptr, qt::source_type_id());
    if (source == nullptr)
        return nullptr;
    qt::Decoded decoded = qt::decode_picture(bytes, nullptr);
    source->status = qt::status_for(decoded.result);
    source->surface = decoded.surface;
    if (decoded.format != nullptr)
        source->type_id =
            CFStringCreateWithCString(nullptr, decoded.format->type_id, kCFStringEncodingUTF8);
    return source;
}

CGImageSourceStatus CGImageSourceGetStatus(CGImageSourceRef isrc) {
    if (!cf::check_type(isrc, qt::source_type_id(), __func__))
        return kCGImageStatusInvalidData;
    return isrc->status;
}

CFStringRef CGImageSourceGetType(CGImageSourceRef isrc) {
    if (!cf::check_type(isrc, qt::source_type_id(), __func__))
        return nullptr;
    return isrc->type_id;
}

size_t CGImageSourceGetCount(CGImageSourceRef isrc) {
    if (!cf::check_type(isrc, qt::source_type_id(), __func__))
        return 0;
    // FIXME: the further images of multi-page TIFF files and animated GIFs are not counted.
    return isrc->surface != nullptr ? 1 : 0;
}

CGImageRef CGImageSourceCreateImageAtIndex(CGImageSourceRef isrc, size_t index, CFDictionaryRef) {
    if (!cf::check_type(isrc, qt::source_type_id(), __func__))
        return nullptr;
    if (isrc->surface == nullptr || index != 0)
        return nullptr;
    return qt::create_image(isrc->surface);
}

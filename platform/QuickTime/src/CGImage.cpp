// CGImage: a reference-counted decoded picture (a cairo ARGB32 surface).
#include "Image.h"

#include <CoreFoundation/CFRuntime.h>

struct OpaqueCGImage : cf::Object {
    cairo_surface_t* surface = nullptr;
};

namespace qt {
namespace {

void finalize_image(CFTypeRef object) {
    auto* image = static_cast<OpaqueCGImage*>(const_cast<void*>(object));
    if (image->surface != nullptr)
        cairo_surface_destroy(image->surface);
    cf::destroy<OpaqueCGImage>(object);
}

const cf::ClassDescriptor kImageClass = {"CGImage", finalize_image, nullptr, nullptr, nullptr};

CFTypeID image_type_id() {
    static CFTypeID id = cf::register_class(&kImageClass);
    return id;
}

const OpaqueCGImage* live_image(CGImageRef image, const char* function) {
    return cf::check_type(image, image_type_id(), function) ? image : nullptr;
}

} // namespace

CGImageRef create_image(cairo_surface_t* surface) {
    auto* image = cf::create<OpaqueCGImage>(nullptr, image_type_id());
    if (image != nullptr)
        image->surface = cairo_surface_reference(surface);
    return image;
}

} // namespace qt

CFTypeID CGImageGetTypeID(void) {
    return qt::image_type_id();
}

CGImageRef CGImageRetain(CGImageRef image) {
    if (image != nullptr)
        CFRetain(image);
    return image;
}

void CGImageRelease(CGImageRef image) {
    if (image != nullptr)
        CFRelease(image);
}

size_t CGImageGetWidth(CGImageRef image) {
    const OpaqueCGImage* i = qt::live_image(image, __func__);
    return i != nullptr ? static_cast<size_t>(cairo_image_surface_get_width(i->surface)) : 0;
}

size_t CGImageGetHeight(CGImageRef image) {
    const OpaqueCGImage* i = qt::live_image(image, __func__);
    return i != nullptr ? static_cast<size_t>(cairo_image_surface_get_height(i->surface)) : 0;
}

size_t CGImageGetBitsPerComponent(CGImageRef image) {
    return qt::live_image(image, __func__) != nullptr ? 8 : 0;
}

size_t CGImageGetBitsPerPixel(CGImageRef image) {
    return qt::live_image(image, __func__) != nullptr ? 32 : 0;
}

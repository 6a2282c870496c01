// URL objects: creation from strings, bytes and file-system paths, their
// parts, resolution against a base, equality and description.
#include "CFURLInternal.h"
#include <CoreFoundation/CFDiagnostics.h>
#include <CoreFoundation/CFHolder.h>

#include "CFValueSupport.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

bool equal_urls(CFTypeRef a, CFTypeRef b) {
    auto* x = static_cast<const OpaqueCFURL*>(a);
    auto* y = static_cast<const OpaqueCFURL*>(b);
    if (!CFEqual(x->string.get(), y->string.get()))
        return false;
    return x->base.get() == y->base.get() ||
           (x->base && y->base && CFEqual(x->base.get(), y->base.get()));
}

CFHashCode hash_url(CFTypeRef object) {
    return CFHash(static_cast<const OpaqueCFURL*>(object)->string.get());
}

CFStringRef describe_url(CFTypeRef object) {
    auto* url = static_cast<const OpaqueCFURL*>(object);
    std::string text = cf::utf8_string(url->string.get());
    if (url->base)
        text += " -- " + cf::describe(url->base.get());
    return cf::make_cfstring(text);
}

const cf::ClassDescriptor kURLClass = {"CFURL", cf::destroy<OpaqueCFURL>, equal_urls, hash_url,
                                       describe_url};

// The current folder as a directory file URL, the base of relative paths.
CFURLRef current_folder_url(CFAllocatorRef allocator) {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) == nullptr) {
        cf::report("CFURL", "getcwd: %s", std::strerror(errno));
        return nullptr;
    }
    return cf::file_url_from_path(allocator, buffer, true);
}

} // namespace

namespace cf {

CFTypeID url_type_id() {
    static CFTypeID id = cf::register_class(&kURLClass);
    return id;
}

OpaqueCFURL* make_url(CFAllocatorRef allocator, std::string_view text, CFURLRef base) {
    Holder<CFStringRef> string(make_cfstring(text, allocator));
    if (!string)
        return nullptr;
    auto* url = cf::create<OpaqueCFURL>(allocator, url_type_id());
    if (url == nullptr)
        return nullptr;
    url->string = std::move(string);
    url->parts = url::parse(text);
    // An absolute URL ignores its base.
    if (base != nullptr && url->parts.scheme.empty())
        url->base = Holder<CFURLRef>::retaining(base);
    return url;
}

url::Parts absolute_parts(const OpaqueCFURL* url) {
    if (!url->base)
        return url->parts;
    return url::resolve(absolute_parts(url->base.get()), url->parts);
}

CFURLRef file_url_from_path(CFAllocatorRef allocator, std::string_view path, bool is_directory) {
    if (path.empty())
        return nullptr;
    std::string clean(path);
    while (clean.size() > 1 && clean.back() == '/')
        clean.pop_back();
    if (is_directory && clean.back() != '/')
        clean += '/';
    std::string escaped = url::escape_path(clean);
    if (clean[0] == '/')
        return make_url(allocator, "file://" + escaped, nullptr);
    // A relative path: "./" keeps a first component holding ':' from being read as a scheme.
    if (url::parse(escaped).scheme.size() > 0)
        escaped = "./" + escaped;
    const Holder<CFURLRef> base(current_folder_url(allocator));
    if (!base)
        return nullptr;
    return make_url(allocator, escaped, base.get());
}

} // namespace cf

CFTypeID CFURLGetTypeID(void) {
    return cf::url_type_id();
}

CFURLRef CFURLCreateWithString(CFAllocatorRef allocator, CFStringRef URLString, CFURLRef baseURL) {
    if (URLString == nullptr)
        return nullptr;
    std::string text = cf::utf8_string(URLString);
    if (!cf::url::is_valid(text))
        return nullptr;
    if (baseURL != nullptr && !cf::check_type(baseURL, cf::url_type_id(), __func__))
        return nullptr;
    return cf::make_url(allocator, text, baseURL);
}

CFURLRef CFURLCreateWithBytes(CFAllocatorRef allocator, const UInt8* URLBytes, CFIndex length,
                              CFStringEncoding encoding, CFURLRef baseURL) {
    if (URLBytes == nullptr || length < 0)
        return nullptr;
    const cf::Holder<CFStringRef> string(
        CFStringCreateWithBytes(allocator, URLBytes, length, encoding, false));
    if (!string)
        return nullptr;
    std::string text = cf::url::escape_invalid(cf::utf8_string(string.get()));
    if (!cf::url::is_valid(text))
        return nullptr;
    return cf::make_url(allocator, text, baseURL);
}

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef filePath,
                                       CFURLPathStyle pathStyle, Boolean isDirectory) {
    if (filePath == nullptr)
        return nullptr;
    if (pathStyle != kCFURLPOSIXPathStyle) {
        // FIXME: HFS and Windows path styles are not supported.
        cf::report(__func__, "only kCFURLPOSIXPathStyle is supported");
        return nullptr;
    }
    return cf::file_url_from_path(allocator, cf::utf8_string(filePath), isDirectory);
}

CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef allocator, const UInt8* buffer,
                                                 CFIndex bufLen, Boolean isDirectory) {
    if (buffer == nullptr || bufLen <= 0)
        return nullptr;
    std::string_view path(reinterpret_cast<const char*>(buffer), static_cast<size_t>(bufLen));
    if (path.find('\0') != std::string_view::npos)
        return nullptr;
    return cf::file_url_from_path(allocator, path, isDirectory);
}

CFStringRef CFURLGetString(CFURLRef anURL) {
    return cf::check_type(anURL, cf::url_type_id(), __func__) ? anURL->string.get() : nullptr;
}

CFURLRef CFURLGetBaseURL(CFURLRef anURL) {
    return cf::check_type(anURL, cf::url_type_id(), __func__) ? anURL->base.get() : nullptr;
}

CFURLRef CFURLCopyAbsoluteURL(CFURLRef relativeURL) {
    if (!cf::check_type(relativeURL, cf::url_type_id(), __func__))
        return nullptr;
    if (!relativeURL->base)
        return static_cast<CFURLRef>(CFRetain(relativeURL));
    return cf::make_url(CFGetAllocator(relativeURL),
                        cf::url::compose(cf::absolute_parts(relativeURL)), nullptr);
}

CFStringRef CFURLCopyScheme(CFURLRef anURL) {
    if (!cf::check_type(anURL, cf::url_type_id(), __func__))
        return nullptr;
    cf::url::Parts parts = cf::absolute_parts(anURL);
    return parts.scheme.empty() ? nullptr : cf::make_cfstring(parts.scheme);
}

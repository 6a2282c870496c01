// Path work on URLs: components, extensions and file-system paths.
#include "CFURLInternal.h"

#include "CFValueSupport.h"

#include <cstring>

namespace {

const OpaqueCFURL* checked(CFURLRef url, const char* function) {
    return cf::check_type(url, cf::url_type_id(), function) ? url : nullptr;
}

// The path without its trailing slash (the root keeps it); says whether there was one.
std::string trim_slash(std::string path, bool* had_slash = nullptr) {
    bool slash = path.size() > 1 && path.back() == '/';
    if (slash)
        path.pop_back();
    if (had_slash != nullptr)
        *had_slash = slash;
    return path;
}

// The index where the last component of a trimmed path starts.
size_t last_component_start(const std::string& trimmed) {
    size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// The index of the dot that starts the extension, or npos. A leading dot
// (".profile") names a hidden file, not an extension.
size_t extension_dot(const std::string& trimmed) {
    size_t start = last_component_start(trimmed);
    size_t dot = trimmed.rfind('.');
    if (dot == std::string::npos || dot <= start || dot + 1 == trimmed.size())
        return std::string::npos;
    return dot;
}

// A copy of url with another (escaped) path, keeping its base and other parts.
CFURLRef with_path(CFAllocatorRef allocator, const OpaqueCFURL* url, std::string path) {
    cf::url::Parts parts = url->parts;
    parts.path = std::move(path);
    return cf::make_url(allocator, cf::url::compose(parts), url->base.get());
}

CFStringRef unescaped_string(std::string_view escaped) {
    std::string text;
    if (!cf::url::unescape(escaped, text))
        return nullptr;
    return cf::make_cfstring(text);
}

} // namespace

CFStringRef CFURLCopyPath(CFURLRef anURL) {
    const OpaqueCFURL* url = checked(anURL, __func__);
    return url != nullptr ? cf::make_cfstring(url->parts.path) : nullptr;
}

Boolean CFURLHasDirectoryPath(CFURLRef anURL) {
    const OpaqueCFURL* url = checked(anURL, __func__);
    return url != nullptr && !url->parts.path.empty() && url->parts.path.back() == '/';
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef anURL, CFURLPathStyle pathStyle) {
    const OpaqueCFURL* url = checked(anURL, __func__);
    if (url == nullptr || pathStyle != kCFURLPOSIXPathStyle)
        return nullptr;
    return unescaped_string(trim_slash(url->parts.path));
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase, UInt8* buffer,
                                         CFIndex maxBufLen) {
    const OpaqueCFURL* u = checked(url, __func__);
    if (u == nullptr || buffer == nullptr)
        return false;
    cf::url::Parts parts = resolveAgainstBase ? cf::absolute_parts(u) : u->parts;
    // Text without a scheme is taken as a plain path.
    if (!parts.scheme.empty() && !cf::url::is_file_scheme(parts))
        return false;
    std::string path;
    if (!cf::url::unescape(trim_slash(parts.path), path) || path.empty() ||
        path.find('\0') != std::string::npos || static_cast<CFIndex>(path.size()) >= maxBufLen)
        return false;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return true;
}

CFStringRef CFURLCopyLastPathComponent(CFURLRef url) {
    const OpaqueCFURL* u = checked(url, __func__);
    if (u == nullptr)
        return nullptr;
    std::string path = trim_slash(u->parts.path);
    if (path == "/")
        return cf::make_cfstring("/");
    return unescaped_string(path.substr(last_component_start(path)));
}

CFStringRef CFURLCopyPathExtension(CFURLRef url) {
    const OpaqueCFURL* u = checked(url, __func__);
    if (u == nullptr)
        return nullptr;
    std::string path = trim_slash(u->parts.path);
    size_t dot = extension_dot(path);
    return dot == std::string::npos ? nullptr : unescaped_string(path.substr(dot + 1));
}

CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef allocator, CFURLRef url,
                                               CFStringRef pathComponent, Boolean isDirectory) {
    const OpaqueCFURL* u = checked(url, __func__);
    if (u == nullptr || pathComponent == nullptr)
        return nullptr;
    std::string path = u->parts.path;
    if (path.empty() ? u->parts.has_authority : path.back() != '/')
        path += '/';
    path += cf::url::escape_path(cf::utf8_string(pathComponent));
    if (isDirectory && path.back() != '/')
        path += '/';
    return with_path(allocator, u, path);
}

CFURLRef CFURLCreateCopyDeletingLastPathComponent(CFAllocatorRef allocator, CFURLRef url) {
    const OpaqueCFURL* u = checked(url, __func__);
    if (u == nullptr)
        return nullptr;
    std::string path = trim_slash(u->parts.path);
    if (path == "/")
        return with_path(allocator, u, path);
    size_t start = last_component_start(path);
    return with_path(allocator, u, start == 0 ? "./" : path.substr(0, start));
}

CFURLRef CFURLCreateCopyAppendingPathExtension(CFAllocatorRef allocator, CFURLRef url,
                                               CFStringRef extension) {
    const OpaqueCFURL* u = checked(url, __func__);
    if (u == nullptr || extension == nullptr)
        return nullptr;
    bool had_slash = false;
    std::string path = trim_slash(u->parts.path, &had_slash);
    if (path.empty() || path.back() == '/')
        return nullptr; // no component to extend
    path += "." + cf::url::escape_path(cf::utf8_string(extension));
    return with_path(allocator, u, had_slash ? path + "/" : path);
}

CFURLRef CFURLCreateCopyDeletingPathExtension(CFAllocatorRef allocator, CFURLRef url) {
    const OpaqueCFURL* u = checked(url, __func__);
    if (u == nullptr)
        return nullptr;
    bool had_slash = false;
    std::string path = trim_slash(u->parts.path, &had_slash);
    size_t dot = extension_dot(path);
    if (dot != std::string::npos)
        path.erase(dot);
    return with_path(allocator, u, had_slash ? path + "/" : path);
}

CFStringRef CFURLCreateStringByReplacingPercentEscapes(CFAllocatorRef allocator,
                                                       CFStringRef originalString,
                                                       CFStringRef charactersToLeaveEscaped) {
    if (originalString == nullptr)
        return nullptr;
    if (charactersToLeaveEscaped == nullptr)
        return static_cast<CFStringRef>(CFRetain(originalString));
    std::string text;
    if (!cf::url::unescape(cf::utf8_string(originalString), text,
                           cf::utf8_string(charactersToLeaveEscaped)))
        return nullptr;
    return cf::make_cfstring(text, allocator);
}

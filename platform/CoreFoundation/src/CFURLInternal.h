// The URL type's internals shared by its files: the object, and the string
// work on URLs (parsing into parts, resolving against a base, escaping).
#ifndef COREFOUNDATION_CFURLINTERNAL_H
#define COREFOUNDATION_CFURLINTERNAL_H

#include <CoreFoundation/CFHolder.h>
#include <CoreFoundation/CFRuntime.h>
#include <CoreFoundation/CFURL.h>

#include <string>
#include <string_view>

namespace cf::url {

// A URL split as RFC 3986 splits it. Absent and empty parts differ
// ("file:///x" has an empty authority, "file:/x" none).
struct Parts {
    std::string scheme; // empty: a relative reference
    bool has_authority = false;
    std::string authority;
    std::string path; // still percent-escaped
    bool has_query = false;
    std::string query;
    bool has_fragment = false;
    std::string fragment;
};

Parts parse(std::string_view text);
std::string compose(const Parts& parts);
// The reference resolved against an absolute base.
Parts resolve(const Parts& base, const Parts& reference);
std::string remove_dot_segments(std::string_view path);

// True when every character may appear in a URL and every '%' starts an escape.
bool is_valid(std::string_view text);
// Escapes what may not appear in a path: spaces, '%', '?', '#', ';', controls, non-ASCII bytes.
std::string escape_path(std::string_view bytes);
// Like escape_path, but keeps '?' '#' '%' (for text meant as a whole URL).
std::string escape_invalid(std::string_view bytes);
// Replaces %XX escapes by their bytes, except those that give a byte in
// keep. False on a malformed escape.
bool unescape(std::string_view text, std::string& out, std::string_view keep = {});

bool is_file_scheme(const Parts& parts);

} // namespace cf::url

struct OpaqueCFURL : cf::Object {
    cf::Holder<CFStringRef> string; // the characters given, relative to base
    cf::Holder<CFURLRef> base;
    cf::url::Parts parts;
};

namespace cf {

CFTypeID url_type_id();
// A URL from valid URL text (already escaped) and an optional base, retained.
OpaqueCFURL* make_url(CFAllocatorRef allocator, std::string_view text, CFURLRef base);
// The parts of the URL resolved against its base chain.
url::Parts absolute_parts(const OpaqueCFURL* url);
// A file URL for raw path bytes; a relative path is made relative to the current folder.
CFURLRef file_url_from_path(CFAllocatorRef allocator, std::string_view path, bool is_directory);

} // namespace cf

#endif // COREFOUNDATION_CFURLINTERNAL_H

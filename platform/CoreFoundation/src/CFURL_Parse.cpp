// The string work on URLs: splitting, composing, resolving and escaping.
// Pure functions on bytes; no CF objects.
#include "CFURLInternal.h"

#include <cctype>

namespace cf::url {
namespace {

bool is_scheme(std::string_view s) {
    if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0])))
        return false;
    for (char c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    return true;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Characters that may stand in a URL as they are (RFC 3986 unreserved, sub-delims, gen-delims).
bool is_url_char(unsigned char c) {
    if (std::isalnum(c))
        return true;
    switch (c) {
    case '-':
    case '.':
    case '_':
    case '~':
    case '!':
    case '$':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '+':
    case ',':
    case ';':
    case '=':
    case ':':
    case '@':
    case '/':
    case '?':
    case '#':
    case '[':
    case ']':
        return true;
    default:
        return false;
    }
}

std::string escape_if(std::string_view bytes, bool (*keep)(unsigned char)) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (keep(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

} // namespace

Parts parse(std::string_view text) {
    Parts parts;
    size_t colon = text.find(':');
    size_t first_delim = text.find_first_of("/?#");
    if (colon != std::string_view::npos && colon < first_delim &&
        is_scheme(text.substr(0, colon))) {
        parts.scheme = std::string(text.substr(0, colon));
        text.remove_prefix(colon + 1);
    }
    if (text.substr(0, 2) == "//") {
        text.remove_prefix(2);
        size_t end = text.find_first_of("/?#");
        parts.has_authority = true;
        parts.authority = std::string(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    }
    size_t hash = text.find('#');
    if (hash != std::string_view::npos) {
        parts.has_fragment = true;
        parts.fragment = std::string(text.substr(hash + 1));
        text = text.substr(0, hash);
    }
    size_t question = text.find('?');
    if (question != std::string_view::npos) {
        parts.has_query = true;
        parts.query = std::string(text.substr(question + 1));
        text = text.substr(0, question);
    }
    parts.path = std::string(text);
    return parts;
}

std::string compose(const Parts& parts) {
    std::string text;
    if (!parts.scheme.empty())
        text += parts.scheme + ":";
    if (parts.has_authority)
        text += "//" + parts.authority;
    text += parts.path;
    if (parts.has_query)
        text += "?" + parts.query;
    if (parts.has_fragment)
        text += "#" + parts.fragment;
    return text;
}

std::string remove_dot_segments(std::string_view path) {
    std::string out;
    while (!path.empty()) {
        if (path.substr(0, 3) == "../" || path.substr(0, 2) == "./") {
            path.remove_prefix(path[0] == '.' && path[1] == '.' ? 3 : 2);
        } else if (path.substr(0, 3) == "/./" || path == "/.") {
            path = path.size() == 2 ? std::string_view("/") : path.substr(2);
        } else if (path.substr(0, 4) == "/../" || path == "/..") {
            path = path.size() == 3 ? std::string_view("/") : path.substr(3);
            size_t last = out.rfind('/');
            out.erase(last == std::string::npos ? 0 : last);
        } else if (path == "." || path == "..") {
            path = {};
        } else {
            size_t next = path.find('/', 1);
            size_t n = next == std::string_view::npos ? path.size() : next;
            out += path.substr(0, n);
            path.remove_prefix(n);
        }
    }
    return out;
}

Parts resolve(const Parts& base, const Parts& ref) {
    if (!ref.scheme.empty()) {
        Parts target = ref;
        target.path = remove_dot_segments(ref.path);
        return target;
    }
    Parts target;
    target.scheme = base.scheme;
    if (ref.has_authority) {
        target.has_authority = true;
        target.authority = ref.authority;
        target.path = remove_dot_segments(ref.path);
        target.has_query = ref.has_query;
        target.query = ref.query;
    } else {
        target.has_authority = base.has_authority;
        target.authority = base.authority;
        if (ref.path.empty()) {
            target.path = base.path;
            target.has_query = ref.has_query || base.has_query;
            target.query = ref.has_query ? ref.query : base.query;
        } else {
            if (ref.path[0] == '/') {
                target.path = remove_dot_segments(ref.path);
            } else if (base.has_authority && base.path.empty()) {
                target.path = remove_dot_segments("/" + ref.path);
            } else {
                size_t slash = base.path.rfind('/');
                std::string merged =
                    (slash == std::string::npos ? "" : base.path.substr(0, slash + 1)) + ref.path;
                target.path = remove_dot_segments(merged);
            }
            target.has_query = ref.has_query;
            target.query = ref.query;
        }
    }
    target.has_fragment = ref.has_fragment;
    target.fragment = ref.fragment;
    return target;
}

bool is_valid(std::string_view text) {
    bool seen_hash = false;
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c == '%') {
            if (i + 2 >= text.size() || hex_digit(text[i + 1]) < 0 || hex_digit(text[i + 2]) < 0)
                return false;
            i += 2;
        } else if (c == '#') {
            if (seen_hash)
                return false;
            seen_hash = true;
        } else if (!is_url_char(c)) {
            return false;
        }
    }
    return true;
}

std::string escape_path(std::string_view bytes) {
    return escape_if(bytes, [](unsigned char c) {
        return is_url_char(c) && c != '?' && c != '#' && c != ';' && c != '[' && c != ']';
    });
}

std::string escape_invalid(std::string_view bytes) {
    return escape_if(bytes, [](unsigned char c) { return is_url_char(c) || c == '%'; });
}

bool unescape(std::string_view text, std::string& out, std::string_view keep) {
    out.clear();
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size() || hex_digit(text[i + 1]) < 0 || hex_digit(text[i + 2]) < 0)
            return false;
        char byte = static_cast<char>(hex_digit(text[i + 1]) << 4 | hex_digit(text[i + 2]));
        if (keep.find(byte) != std::string_view::npos)
            out.append(text.substr(i, 3));
        else
            out += byte;
        i += 2;
    }
    return true;
}

bool is_file_scheme(const Parts& parts) {
    if (parts.scheme.size() != 4)
        return false;
    for (size_t i = 0; i < 4; ++i)
        if (std::tolower(static_cast<unsigned char>(parts.scheme[i])) != "file"[i])
            return false;
    return !parts.has_authority || parts.authority.empty() || parts.authority == "localhost";
}

} // namespace cf::url

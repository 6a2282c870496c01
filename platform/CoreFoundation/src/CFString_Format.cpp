// CFStringCreateWithFormat and friends: printf conversions plus %@ (an
// object's description), %C (a UniChar) and %S (a NUL-terminated UniChar
// array), with positional arguments ("%2$@") as localised formats use them.
//
// A format is parsed in full first, so that the type of every argument is
// known before the va_list is read in order; numbers are then rendered by the
// C library's snprintf, strings and objects here.
#include "CFStringInternal.h"
#include <CoreFoundation/CFDiagnostics.h>
#include <CoreFoundation/CFHolder.h>

#include <CoreFoundation/CFError.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace cf {
namespace {

enum class ArgType { none, int_, long_, llong, size, intmax, ptrdiff, real, long_real, pointer };

struct Arg {
    ArgType type = ArgType::none;
    char16_t pointee = 0;     // for pointers, the conversion that reads it: s, S, @, p or n
    bool conflicting = false; // read as two different types by two conversions
    union {
        long long i;
        long double real;
        const void* pointer;
    };
    Arg() : i(0) {}
};

enum class Length { none, hh, h, l, ll, L, z, j, t };

struct Spec {
    std::u16string_view literal; // text before the conversion (or all of a plain segment)
    bool has_conversion = false;
    std::string flags;
    int width = -1, width_arg = -1;
    int precision = -1, precision_arg = -1;
    Length length = Length::none;
    char16_t conversion = 0;
    int value_arg = -1;
    std::u16string_view source; // the conversion as written, for unknown ones
};

bool is_digit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

int read_number(std::u16string_view f, size_t& i) {
    int n = 0;
    while (i < f.size() && is_digit(f[i]) && n < 100000)
        n = n * 10 + (f[i++] - u'0');
    return n;
}

// "n$" at i: the 0-based position, consuming it; otherwise -1 and nothing consumed.
int read_position(std::u16string_view f, size_t& i) {
    size_t j = i;
    int n = read_number(f, j);
    if (j > i && j < f.size() && f[j] == u'$' && n > 0) {
        i = j + 1;
        return n - 1;
    }
    return -1;
}

// '*' or "*n$" at i: the argument index that supplies the number.
int read_star(std::u16string_view f, size_t& i, int& next_arg) {
    ++i;
    int position = read_position(f, i);
    return position >= 0 ? position : next_arg++;
}

Length read_length(std::u16string_view f, size_t& i) {
    auto at = [&](size_t k) { return i + k < f.size() ? f[i + k] : u'\0'; };
    switch (at(0)) {
    case u'h':
        if (at(1) == u'h') {
            i += 2;
            return Length::hh;
        }
        ++i;
        return Length::h;
    case u'l':
        if (at(1) == u'l') {
            i += 2;
            return Length::ll;
        }
        ++i;
        return Length::l;
    case u'q':
        ++i;
        return Length::ll;
    case u'L':
        ++i;
        return Length::L;
    case u'z':
        ++i;
        return Length::z;
    case u'j':
        ++i;
        return Length::j;
    case u't':
        ++i;
        return Length::t;
    default:
        return Length::none;
    }
}

ArgType integer_type(Length length) {
    switch (length) {
    case Length::l:
        return ArgType::long_;
    case Length::ll:
        return ArgType::llong;
    case Length::z:
        return ArgType::size;
    case Length::j:
        return ArgType::intmax;
    case Length::t:
        return ArgType::ptrdiff;
    default:
        return ArgType::int_;
    }
}

// The argument type a conversion reads, or none for an unknown conversion.
ArgType value_type(const Spec& spec) {
    switch (spec.conversion) {
    case u'd':
    case u'i':
    case u'o':
    case u'u':
    case u'x':
    case u'X':
        return integer_type(spec.length);
    case u'c':
    case u'C':
        return ArgType::int_;
    case u'e':
    case u'E':
    case u'f':
    case u'F':
    case u'g':
    case u'G':
    case u'a':
    case u'A':
        return spec.length == Length::L ? ArgType::long_real : ArgType::real;
    case u's':
    case u'S':
    case u'@':
    case u'p':
    case u'n':
        return ArgType::pointer;
    default:
        return ArgType::none;
    }
}

void assign(std::vector<Arg>& args, int index, ArgType type, char16_t pointee = 0) {
    if (index < 0 || index > 1000)
        return;
    if (static_cast<size_t>(index) >= args.size())
        args.resize(static_cast<size_t>(index) + 1);
    Arg& arg = args[static_cast<size_t>(index)];
    if (type != ArgType::pointer)
        pointee = 0;
    if (arg.type != ArgType::none && (arg.type != type || arg.pointee != pointee))
        arg.conflicting = true;
    arg.type = type;
    arg.pointee = pointee;
}

// Parses the conversion starting at f[i] == '%'; i ends after it.
Spec parse_conversion(std::u16string_view f, size_t& i, int& next_arg, std::vector<Arg>& args) {
    Spec spec;
    size_t start = i++;
    spec.has_conversion = true;
    int position = read_position(f, i);
    while (i < f.size() && std::u16string_view(u"-+ #0'").find(f[i]) != std::u16string_view::npos)
        spec.flags.push_back(static_cast<char>(f[i++]));
    if (i < f.size() && f[i] == u'*') {
        spec.width_arg = read_star(f, i, next_arg);
        assign(args, spec.width_arg, ArgType::int_);
    } else if (i < f.size() && is_digit(f[i])) {
        spec.width = read_number(f, i);
    }
    if (i < f.size() && f[i] == u'.') {
        ++i;
        if (i < f.size() && f[i] == u'*') {
            spec.precision_arg = read_star(f, i, next_arg);
            assign(args, spec.precision_arg, ArgType::int_);
        } else {
            spec.precision = read_number(f, i);
        }
    }
    spec.length = read_length(f, i);
    spec.conversion = i < f.size() ? f[i++] : u'\0';
    spec.source = f.substr(start, i - start);
    ArgType type = value_type(spec);
    if (type != ArgType::none) {
        spec.value_arg = position >= 0 ? position : next_arg++;
        assign(args, spec.value_arg, type, spec.conversion);
    }
    return spec;
}

Spec literal(std::u16string_view text) {
    Spec spec;
    spec.literal = text;
    return spec;
}

std::vector<Spec> parse(std::u16string_view f, std::vector<Arg>& args) {
    std::vector<Spec> specs;
    int next_arg = 0;
    size_t i = 0;
    while (i < f.size()) {
        size_t percent = f.find(u'%', i);
        if (percent == std::u16string_view::npos)
            percent = f.size();
        if (percent + 1 < f.size() && f[percent + 1] == u'%') {
            specs.push_back(literal(f.substr(i, percent + 1 - i))); // keeps one '%'
            i = percent + 2;
            continue;
        }
        specs.push_back(literal(f.substr(i, percent - i)));
        i = percent;
        if (i < f.size())
            specs.push_back(parse_conversion(f, i, next_arg, args));
    }
    return specs;
}

void read_arguments(std::vector<Arg>& args, va_list ap) {
    for (size_t k = 0; k < args.size(); ++k) {
        Arg& arg = args[k];
        switch (arg.type) {
        case ArgType::none:
            // A gap in positional arguments: its type is unknown; int is the best guess.
            cf::report("CFStringCreateWithFormat", "argument %zu is never used", k + 1);
            arg.i = va_arg(ap, int);
            break;
        case ArgType::int_:
            arg.i = va_arg(ap, int);
            break;
        case ArgType::long_:
            arg.i = va_arg(ap, long);
            break;
        case ArgType::llong:
            arg.i = va_arg(ap, long long);
            break;
        case ArgType::size:
            arg.i = static_cast<long long>(va_arg(ap, size_t));
            break;
        case ArgType::intmax:
            arg.i = static_cast<long long>(va_arg(ap, intmax_t));
            break;
        case ArgType::ptrdiff:
            arg.i = static_cast<long long>(va_arg(ap, ptrdiff_t));
            break;
        case ArgType::real:
            arg.real = va_arg(ap, double);
            break;
        case ArgType::long_real:
            arg.real = va_arg(ap, long double);
            break;
        case ArgType::pointer:
            arg.pointer = va_arg(ap, const void*);
            break;
        }
    }
}

// --- Rendering ---

struct Renderer {
    std::u16string& out;
    const std::vector<Arg>& args;

    const Arg& arg(int index) const {
        static const Arg missing;
        return index >= 0 && static_cast<size_t>(index) < args.size()
                   ? args[static_cast<size_t>(index)]
                   : missing;
    }

    // Resolves '*' widths and precisions; a negative width means left alignment.
    void resolve(Spec& spec) const {
        if (spec.width_arg >= 0) {
            long long w = arg(spec.width_arg).i;
            if (w < 0) {
                spec.flags.push_back('-');
                w = -w;
            }
            spec.width = static_cast<int>(w);
        }
        if (spec.precision_arg >= 0) {
            long long p = arg(spec.precision_arg).i;
            spec.precision = p < 0 ? -1 : static_cast<int>(p);
        }
    }

    static std::string c_format(const Spec& spec, const char* length, char conversion) {
        std::string f = "%" + spec.flags;
        if (spec.width >= 0)
            f += std::to_string(spec.width);
        if (spec.precision >= 0)
            f += "." + std::to_string(spec.precision);
        return f + length + conversion;
    }

    template <class T> void append_c(const std::string& format, T value) {
        int n = std::snprintf(nullptr, 0, format.c_str(), value);
        if (n <= 0)
            return;
        std::string text(static_cast<size_t>(n) + 1, '\0');
        std::snprintf(text.data(), text.size(), format.c_str(), value);
        text.resize(static_cast<size_t>(n));
        out.append(text.begin(), text.end()); // snprintf's output is ASCII here
    }

    void append_padded(std::u16string_view text, const Spec& spec) {
        if (spec.precision >= 0 && static_cast<size_t>(spec.precision) < text.size())
            text = text.substr(0, static_cast<size_t>(spec.precision));
        size_t pad = spec.width > 0 && static_cast<size_t>(spec.width) > text.size()
                         ? static_cast<size_t>(spec.width) - text.size()
                         : 0;
        bool left = spec.flags.find('-') != std::string::npos;
        if (!left)
            out.append(pad, u' ');
        out.append(text);
        if (left)
            out.append(pad, u' ');
    }

    void integer(const Spec& spec) {
        long long v = arg(spec.value_arg).i;
        bool is_signed = spec.conversion == u'd' || spec.conversion == u'i';
        // Narrow to the argument's declared size, as printf does.
        switch (spec.length) {
        case Length::hh:
            v = is_signed ? (long long)(signed char)v : (long long)(unsigned char)v;
            break;
        case Length::h:
            v = is_signed ? (long long)(short)v : (long long)(unsigned short)v;
            break;
        case Length::none:
            v = is_signed ? (long long)(int)v : (long long)(unsigned int)v;
            break;
        case Length::l:
            v = is_signed ? (long long)(long)v : (long long)(unsigned long)v;
            break;
        default:
            break;
        }
        std::string format = c_format(spec, "ll", static_cast<char>(spec.conversion));
        if (is_signed)
            append_c(format, v);
        else
            append_c(format, static_cast<unsigned long long>(v));
    }

    void real(const Spec& spec) {
        append_c(c_format(spec, "L", static_cast<char>(spec.conversion)), arg(spec.value_arg).real);
    }

    void pointer(const Spec& spec) {
        char hex[32];
        std::snprintf(hex, sizeof hex, "0x%llx",
                      static_cast<unsigned long long>(
                          reinterpret_cast<uintptr_t>(arg(spec.value_arg).pointer)));
        Spec plain = spec;
        plain.precision = -1;
        std::u16string text(hex, hex + std::strlen(hex));
        append_padded(text, plain);
    }

    void c_string(const Spec& spec) {
        const void* p = arg(spec.value_arg).pointer;
        if (p == nullptr)
            return append_padded(u"(null)", spec);
        if (spec.length == Length::l) { // wchar_t: UTF-32 on Linux
            const auto* w = static_cast<const wchar_t*>(p);
            size_t n =
                spec.precision >= 0 ? wcsnlen(w, static_cast<size_t>(spec.precision)) : wcslen(w);
            auto text = decode(reinterpret_cast<const UInt8*>(w), static_cast<CFIndex>(n * 4),
                               __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? kCFStringEncodingUTF32BE
                                                                      : kCFStringEncodingUTF32LE,
                               false);
            return append_padded(text ? *text : u"", spec);
        }
        const char* s = static_cast<const char*>(p);
        size_t n =
            spec.precision >= 0 ? strnlen(s, static_cast<size_t>(spec.precision)) : std::strlen(s);
        Spec plain = spec;
        plain.precision = -1; // already applied, in bytes
        append_padded(system_text(reinterpret_cast<const UInt8*>(s), n), plain);
    }

    // Bytes in the system encoding; ISO Latin 1 when they are not valid in it,
    // so that no byte is dropped from the output.
    static std::u16string system_text(const UInt8* bytes, size_t n) {
        auto text = decode(bytes, static_cast<CFIndex>(n), CFStringGetSystemEncoding(), false);
        if (!text)
            text = decode(bytes, static_cast<CFIndex>(n), kCFStringEncodingISOLatin1, false);
        return text ? *text : std::u16string();
    }

    void character(const Spec& spec) {
        long long v = arg(spec.value_arg).i;
        if (spec.conversion == u'C' || spec.length == Length::l) {
            char16_t c = static_cast<char16_t>(v);
            return append_padded(std::u16string_view(&c, 1), spec);
        }
        UInt8 byte = static_cast<UInt8>(v);
        Spec plain = spec;
        plain.precision = -1;
        append_padded(system_text(&byte, 1), plain);
    }

    void unichars(const Spec& spec) {
        const auto* p = static_cast<const char16_t*>(arg(spec.value_arg).pointer);
        if (p == nullptr)
            return append_padded(u"(null)", spec);
        size_t n = 0;
        while ((spec.precision < 0 || n < static_cast<size_t>(spec.precision)) && p[n] != 0)
            ++n;
        append_padded(std::u16string_view(p, n), spec);
    }

    void object(const Spec& spec) {
        CFTypeRef obj = arg(spec.value_arg).pointer;
        const Holder<CFStringRef> description(obj != nullptr ? CFCopyDescription(obj) : nullptr);
        if (!description)
            return append_padded(u"(null)", spec);
        append_padded(string_view(description.get()), spec);
    }

    void render(Spec spec) {
        resolve(spec);
        switch (spec.conversion) {
        case u'd':
        case u'i':
        case u'o':
        case u'u':
        case u'x':
        case u'X':
            return integer(spec);
        case u'e':
        case u'E':
        case u'f':
        case u'F':
        case u'g':
        case u'G':
        case u'a':
        case u'A':
            return real(spec);
        case u'c':
        case u'C':
            return character(spec);
        case u's':
            return c_string(spec);
        case u'S':
            return unichars(spec);
        case u'@':
            return object(spec);
        case u'p':
            return pointer(spec);
        case u'n':
            return; // never writes through a pointer
        default:
            out.append(spec.source); // not a conversion: keep the text as written
        }
    }
};

// Whether a format reading `args` reads only what one reading `valid` reads, each the same way.
bool reads_within(const std::vector<Arg>& args, const std::vector<Arg>& valid) {
    for (size_t k = 0; k < args.size(); ++k) {
        if (args[k].conflicting)
            return false;
        if (args[k].type == ArgType::none)
            continue;
        if (k >= valid.size() || valid[k].type != args[k].type ||
            valid[k].pointee != args[k].pointee)
            return false;
    }
    return true;
}

} // namespace

namespace {

void render_all(std::u16string& out, const std::vector<Spec>& specs, std::vector<Arg>& args,
                va_list arguments) {
    va_list ap;
    va_copy(ap, arguments);
    read_arguments(args, ap);
    va_end(ap);
    Renderer renderer{out, args};
    for (const Spec& spec : specs) {
        if (spec.has_conversion)
            renderer.render(spec);
        else
            out.append(spec.literal);
    }
}

} // namespace

void format_append(std::u16string& out, std::u16string_view format, va_list arguments) {
    std::vector<Arg> args;
    std::vector<Spec> specs = parse(format, args);
    render_all(out, specs, args, arguments);
}

bool format_append_validated(std::u16string& out, std::u16string_view format,
                             std::u16string_view valid, va_list arguments) {
    std::vector<Arg> args, expected;
    std::vector<Spec> specs = parse(format, args);
    parse(valid, expected);
    // A position the format skips is still in the va_list: it is read as the valid format
    // reads it, so that the arguments after it are found where they are.
    for (size_t k = 0; k < args.size(); ++k)
        if (args[k].type == ArgType::none && k < expected.size())
            args[k] = expected[k];
    if (!reads_within(args, expected))
        return false;
    render_all(out, specs, args, arguments);
    return true;
}

} // namespace cf

CFStringRef CFStringCreateWithFormatAndArguments(CFAllocatorRef alloc, CFDictionaryRef,
                                                 CFStringRef format, va_list arguments) {
    // The format options dictionary is accepted and ignored: rendering always
    // follows the "C" conventions (the decimal separator is '.').
    if (!cf::check_type(format, cf::string_type_id(), __func__))
        return nullptr;
    std::u16string out;
    cf::format_append(out, cf::string_view(format), arguments);
    return cf::make_string(alloc, std::move(out));
}

CFStringRef CFStringCreateWithFormat(CFAllocatorRef alloc, CFDictionaryRef formatOptions,
                                     CFStringRef format, ...) {
    va_list ap;
    va_start(ap, format);
    CFStringRef result = CFStringCreateWithFormatAndArguments(alloc, formatOptions, format, ap);
    va_end(ap);
    return result;
}

CFStringRef CFStringCreateStringWithValidatedFormatAndArguments(
    CFAllocatorRef alloc, CFDictionaryRef formatOptions, CFStringRef validFormatSpecifiers,
    CFStringRef format, va_list arguments, CFErrorRef* errorPtr) {
    if (errorPtr != nullptr)
        *errorPtr = nullptr;
    if (!cf::check_type(format, cf::string_type_id(), __func__) ||
        !cf::check_type(validFormatSpecifiers, cf::string_type_id(), __func__))
        return nullptr;
    // The format options are ignored, as by CFStringCreateWithFormatAndArguments.
    (void)formatOptions;
    std::u16string out;
    if (!cf::format_append_validated(out, cf::string_view(format),
                                     cf::string_view(validFormatSpecifiers), arguments)) {
        if (errorPtr != nullptr)
            *errorPtr = CFErrorCreate(alloc, kCFErrorDomainCocoa, 2048, nullptr);
        return nullptr;
    }
    return cf::make_string(alloc, std::move(out));
}

CFStringRef CFStringCreateStringWithValidatedFormat(CFAllocatorRef alloc,
                                                    CFDictionaryRef formatOptions,
                                                    CFStringRef validFormatSpecifiers,
                                                    CFStringRef format, CFErrorRef* errorPtr, ...) {
    va_list ap;
    va_start(ap, errorPtr);
    CFStringRef result = CFStringCreateStringWithValidatedFormatAndArguments(
        alloc, formatOptions, validFormatSpecifiers, format, ap, errorPtr);
    va_end(ap);
    return result;
}

void CFStringAppendFormatAndArguments(CFMutableStringRef theString, CFDictionaryRef,
                                      CFStringRef format, va_list arguments) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    if (s == nullptr || !cf::check_type(format, cf::string_type_id(), __func__))
        return;
    // Format into a scratch string first: the format may be theString itself.
    std::u16string out;
    cf::format_append(out, cf::string_view(format), arguments);
    s->text += out;
}

void CFStringAppendFormat(CFMutableStringRef theString, CFDictionaryRef formatOptions,
                          CFStringRef format, ...) {
    va_list ap;
    va_start(ap, format);
    CFStringAppendFormatAndArguments(theString, formatOptions, format, ap);
    va_end(ap);
}

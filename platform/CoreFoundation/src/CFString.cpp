// CFString: the class, creation, character access, constant strings and the
// description functions of CFBase.h that produce strings.
#include "CFStringInternal.h"
#include <CoreFoundation/CFDiagnostics.h>
#include <CoreFoundation/CFHolder.h>

#include <unicode/ustring.h>

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <mutex>
#include <unordered_map>

namespace cf {
namespace {

void finalize_string(CFTypeRef obj) {
    auto* str = static_cast<OpaqueCFString*>(const_cast<void*>(obj));
    if (str->external != nullptr && str->external_deallocator != kCFAllocatorNull)
        CFAllocatorDeallocate(str->external_deallocator, const_cast<UniChar*>(str->external));
    if (str->external_deallocator != nullptr)
        CFRelease(str->external_deallocator);
    destroy<OpaqueCFString>(obj);
}

bool equal_strings(CFTypeRef a, CFTypeRef b) {
    return static_cast<const OpaqueCFString*>(a)->view() ==
           static_cast<const OpaqueCFString*>(b)->view();
}

// FNV-1a over the code units: equal strings have equal units, so equal hashes.
CFHashCode hash_string(CFTypeRef obj) {
    UInt64 hash = 14695981039346656037ull;
    for (char16_t unit : static_cast<const OpaqueCFString*>(obj)->view()) {
        hash ^= static_cast<UInt64>(unit);
        hash *= 1099511628211ull;
    }
    return static_cast<CFHashCode>(hash);
}

// A string describes itself; a mutable one as a snapshot of its present text.
CFStringRef describe_string(CFTypeRef obj) {
    auto* str = static_cast<const OpaqueCFString*>(obj);
    if (!str->is_mutable)
        return static_cast<CFStringRef>(CFRetain(obj));
    return make_string(nullptr, std::u16string(str->view()));
}

const ClassDescriptor kStringClass = {"CFString", finalize_string, equal_strings, hash_string,
                                      describe_string};

const OpaqueCFString* as_string(CFStringRef str, const char* function) {
    return check_type(str, string_type_id(), function) ? static_cast<const OpaqueCFString*>(str)
                                                       : nullptr;
}

bool range_ok(const OpaqueCFString* str, CFRange range, const char* function) {
    if (range.location >= 0 && range.length >= 0 && range.location + range.length <= str->length())
        return true;
    cf::report(function, "range {%ld, %ld} out of bounds for a string of length %ld",
               range.location, range.length, str->length());
    return false;
}

// Constant strings are interned by their bytes. The table and its strings are
// never destroyed: CFSTR may run during other libraries' static initialisation
// and its results are used until the process exits.
CFStringRef intern(const char* bytes) {
    static auto* table = new std::unordered_map<std::string, CFStringRef>();
    static auto* lock = new std::mutex();
    std::lock_guard<std::mutex> guard(*lock);
    auto found = table->find(bytes);
    if (found != table->end())
        return found->second;
    std::u16string text = utf8_to_utf16(bytes);
    // Plain new rather than an allocator: the allocators may not be set up yet.
    auto* str = new OpaqueCFString();
    str->text = std::move(text);
    init_header(str, kCFAllocatorSystemDefault, string_type_id());
    make_immortal(str);
    table->emplace(bytes, str);
    return str;
}

} // namespace

CFTypeID string_type_id() {
    static CFTypeID id = register_class(&kStringClass);
    return id;
}

OpaqueCFString* make_string(CFAllocatorRef allocator, std::u16string text, bool is_mutable) {
    auto* str = create<OpaqueCFString>(allocator, string_type_id());
    if (str == nullptr)
        return nullptr;
    str->text = std::move(text);
    str->is_mutable = is_mutable;
    return str;
}

std::u16string_view string_view(CFStringRef str) {
    return is_type(str, string_type_id()) ? static_cast<const OpaqueCFString*>(str)->view()
                                          : std::u16string_view();
}

std::u16string utf8_to_utf16(std::string_view utf8) {
    std::u16string out(utf8.size(), u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
    out.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
    return out;
}

std::string utf16_to_utf8(std::u16string_view text) {
    std::string out(text.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    out.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
    return out;
}

std::string to_utf8(CFStringRef str) {
    return utf16_to_utf8(string_view(str));
}

CFStringRef string_from_utf8(std::string_view utf8) {
    return make_string(nullptr, utf8_to_utf16(utf8));
}

OpaqueCFString* mutable_string(CFMutableStringRef str, const char* function) {
    if (!check_type(str, string_type_id(), function))
        return nullptr;
    if (!str->is_mutable) {
        cf::report(function, "%p is an immutable string", static_cast<const void*>(str));
        return nullptr;
    }
    return str;
}

CFStringRef default_description(CFTypeRef obj) {
    const ClassDescriptor* cls = class_for(CFGetTypeID(obj));
    char text[128];
    std::snprintf(text, sizeof text, "<%s %p>", cls != nullptr ? cls->name : "CFType", obj);
    return string_from_utf8(text);
}

} // namespace cf

using cf::as_string;
using cf::range_ok;

CFTypeID CFStringGetTypeID(void) {
    return cf::string_type_id();
}

CFStringRef CFStringMakeConstantString(const char* cStr) {
    return cStr != nullptr ? cf::intern(cStr) : nullptr;
}

/* ---- Creation ---- */

CFStringRef CFStringCreateWithCharacters(CFAllocatorRef alloc, const UniChar* chars,
                                         CFIndex numChars) {
    if (numChars < 0 || (chars == nullptr && numChars > 0))
        return nullptr;
    return cf::make_string(alloc, std::u16string(reinterpret_cast<const char16_t*>(chars),
                                                 static_cast<size_t>(numChars)));
}

CFStringRef CFStringCreateWithCharactersNoCopy(CFAllocatorRef alloc, const UniChar* chars,
                                               CFIndex numChars,
                                               CFAllocatorRef contentsDeallocator) {
    if (numChars < 0 || (chars == nullptr && numChars > 0))
        return nullptr;
    auto* str = cf::make_string(alloc, std::u16string());
    if (str == nullptr)
        return nullptr;
    str->external = chars;
    str->external_length = numChars;
    // NULL means the default allocator; keep the one in effect now.
    CFAllocatorRef deallocator =
        contentsDeallocator != nullptr ? contentsDeallocator : CFAllocatorGetDefault();
    str->external_deallocator = static_cast<CFAllocatorRef>(CFRetain(deallocator));
    return str;
}

CFStringRef CFStringCreateWithBytes(CFAllocatorRef alloc, const UInt8* bytes, CFIndex numBytes,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation) {
    if (numBytes < 0 || (bytes == nullptr && numBytes > 0))
        return nullptr;
    auto text = cf::decode(bytes, numBytes, encoding, isExternalRepresentation);
    return text ? cf::make_string(alloc, std::move(*text)) : nullptr;
}

CFStringRef CFStringCreateWithBytesNoCopy(CFAllocatorRef alloc, const UInt8* bytes,
                                          CFIndex numBytes, CFStringEncoding encoding,
                                          Boolean isExternalRepresentation,
                                          CFAllocatorRef contentsDeallocator) {
    // The bytes are converted to UTF-16 anyway, so the buffer is released at
    // once; on failure it stays with the caller.
    CFStringRef str =
        CFStringCreateWithBytes(alloc, bytes, numBytes, encoding, isExternalRepresentation);
    if (str != nullptr && contentsDeallocator != kCFAllocatorNull)
        CFAllocatorDeallocate(contentsDeallocator, const_cast<UInt8*>(bytes));
    return str;
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr,
                                      CFStringEncoding encoding) {
    if (cStr == nullptr)
        return nullptr;
    return CFStringCreateWithBytes(alloc, reinterpret_cast<const UInt8*>(cStr),
                                   static_cast<CFIndex>(std::strlen(cStr)), encoding, false);
}

CFStringRef CFStringCreateWithCStringNoCopy(CFAllocatorRef alloc, const char* cStr,
                                            CFStringEncoding encoding,
                                            CFAllocatorRef contentsDeallocator) {
    if (cStr == nullptr)
        return nullptr;
    return CFStringCreateWithBytesNoCopy(alloc, reinterpret_cast<const UInt8*>(cStr),
                                         static_cast<CFIndex>(std::strlen(cStr)), encoding, false,
                                         contentsDeallocator);
}

CFStringRef CFStringCreateWithPascalString(CFAllocatorRef alloc, ConstStr255Param pStr,
                                           CFStringEncoding encoding) {
    if (pStr == nullptr)
        return nullptr;
    return CFStringCreateWithBytes(alloc, pStr + 1, pStr[0], encoding, false);
}

CFStringRef CFStringCreateWithSubstring(CFAllocatorRef alloc, CFStringRef str, CFRange range) {
    const OpaqueCFString* s = as_string(str, __func__);
    if (s == nullptr || !range_ok(s, range, __func__))
        return nullptr;
    return cf::make_string(alloc,
                           std::u16string(s->view().substr(static_cast<size_t>(range.location),
                                                           static_cast<size_t>(range.length))));
}

CFStringRef CFStringCreateCopy(CFAllocatorRef alloc, CFStringRef theString) {
    const OpaqueCFString* s = as_string(theString, __func__);
    if (s == nullptr)
        return nullptr;
    // An immutable string is its own copy.
    if (!s->is_mutable && (alloc == nullptr || alloc == CFGetAllocator(s)))
        return static_cast<CFStringRef>(CFRetain(s));
    return cf::make_string(alloc, std::u16string(s->view()));
}

CFMutableStringRef CFStringCreateMutable(CFAllocatorRef alloc, CFIndex maxLength) {
    // maxLength is only a promise by the caller; the storage grows as needed.
    (void)maxLength;
    return cf::make_string(alloc, std::u16string(), true);
}

CFMutableStringRef CFStringCreateMutableCopy(CFAllocatorRef alloc, CFIndex maxLength,
                                             CFStringRef theString) {
    (void)maxLength;
    const OpaqueCFString* s = as_string(theString, __func__);
    if (s == nullptr)
        return nullptr;
    return cf::make_string(alloc, std::u16string(s->view()), true);
}

CFStringRef CFStringCreateWithFileSystemRepresentation(CFAllocatorRef alloc, const char* buffer) {
    return CFStringCreateWithCString(alloc, buffer, kCFStringEncodingUTF8);
}

/* ---- Access ---- */

CFIndex CFStringGetLength(CFStringRef theString) {
    const OpaqueCFString* s = as_string(theString, __func__);
    return s != nullptr ? s->length() : 0;
}

UniChar CFStringGetCharacterAtIndex(CFStringRef theString, CFIndex idx) {
    const OpaqueCFString* s = as_string(theString, __func__);
    if (s == nullptr || !range_ok(s, CFRangeMake(idx, 1), __func__))
        return 0;
    return s->chars()[idx];
}

void CFStringGetCharacters(CFStringRef theString, CFRange range, UniChar* buffer) {
    const OpaqueCFString* s = as_string(theString, __func__);
    if (s == nullptr || buffer == nullptr || !range_ok(s, range, __func__))
        return;
    std::memcpy(buffer, s->chars() + range.location,
                static_cast<size_t>(range.length) * sizeof(UniChar));
}

const UniChar* CFStringGetCharactersPtr(CFStringRef theString) {
    const OpaqueCFString* s = as_string(theString, __func__);
    return s != nullptr ? s->chars() : nullptr;
}

// Storage is UTF-16, never 8-bit: there is no C string to point at, which the
// documented contract allows (callers fall back to CFStringGetCString).
const char* CFStringGetCStringPtr(CFStringRef, CFStringEncoding) {
    return nullptr;
}
ConstStringPtr CFStringGetPascalStringPtr(CFStringRef, CFStringEncoding) {
    return nullptr;
}

Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding) {
    const OpaqueCFString* s = as_string(theString, __func__);
    if (s == nullptr || buffer == nullptr || bufferSize <= 0)
        return false;
    CFIndex used = 0;
    CFIndex converted = CFStringGetBytes(theString, CFRangeMake(0, s->length()), encoding, 0, false,
                                         reinterpret_cast<UInt8*>(buffer), bufferSize - 1, &used);
    if (converted != s->length()) {
        buffer[0] = '\0';
        return false;
    }
    buffer[used] = '\0';
    return true;
}

Boolean CFStringGetPascalString(CFStringRef theString, StringPtr buffer, CFIndex bufferSize,
                                CFStringEncoding encoding) {
    const OpaqueCFString* s = as_string(theString, __func__);
    if (s == nullptr || buffer == nullptr || bufferSize <= 0)
        return false;
    CFIndex room = bufferSize - 1 < 255 ? bufferSize - 1 : 255;
    CFIndex used = 0;
    CFIndex converted = CFStringGetBytes(theString, CFRangeMake(0, s->length()), encoding, 0, false,
                                         buffer + 1, room, &used);
    if (converted != s->length()) {
        buffer[0] = 0;
        return false;
    }
    buffer[0] = static_cast<UInt8>(used);
    return true;
}

CFIndex CFStringGetMaximumSizeOfFileSystemRepresentation(CFStringRef string) {
    return CFStringGetMaximumSizeForEncoding(CFStringGetLength(string), kCFStringEncodingUTF8) + 1;
}

Boolean CFStringGetFileSystemRepresentation(CFStringRef string, char* buffer, CFIndex maxBufLen) {
    return CFStringGetCString(string, buffer, maxBufLen, kCFStringEncodingUTF8);
}

/* ---- Numeric values ---- */

namespace {

// The longest leading run of ASCII characters after white space, as bytes.
std::string ascii_prefix(CFStringRef str) {
    std::u16string_view text = cf::string_view(str);
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    std::string out;
    for (; i < text.size() && text[i] > 0 && text[i] < 0x80; ++i)
        out.push_back(static_cast<char>(text[i]));
    return out;
}

} // namespace

SInt32 CFStringGetIntValue(CFStringRef str) {
    std::string text = ascii_prefix(str);
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL)
            value = 2147483648LL; // saturate; clamped below
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    return static_cast<SInt32>(value < INT32_MIN ? INT32_MIN : value);
}

double CFStringGetDoubleValue(CFStringRef str) {
    std::string text = ascii_prefix(str);
    // strtod in the "C" locale: the decimal separator is always '.'.
    static locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text.c_str(), nullptr, c_locale);
}

/* ---- Descriptions ---- */

CFStringRef CFCopyDescription(CFTypeRef cf) {
    if (!cf::is_object(cf))
        return nullptr;
    const cf::ClassDescriptor* cls = cf::class_for(CFGetTypeID(cf));
    if (cls != nullptr && cls->copy_description != nullptr)
        return cls->copy_description(cf);
    return cf::default_description(cf);
}

CFStringRef CFCopyTypeIDDescription(CFTypeID type_id) {
    const cf::ClassDescriptor* cls = cf::class_for(type_id);
    return cls != nullptr ? cf::string_from_utf8(cls->name) : nullptr;
}

void CFShow(CFTypeRef obj) {
    if (obj == nullptr) {
        std::fputs("(null)\n", stderr);
        return;
    }
    const cf::Holder<CFStringRef> description(CFCopyDescription(obj));
    std::string text = description ? cf::to_utf8(description.get()) : "(not an object)";
    std::fprintf(stderr, "%s\n", text.c_str());
}

void CFShowStr(CFStringRef str) {
    const OpaqueCFString* s = as_string(str, __func__);
    if (s == nullptr) {
        std::fputs("(null)\n", stderr);
        return;
    }
    std::fprintf(stderr, "Length %ld\nIsMutable %d\nContents \"%s\"\n", s->length(),
                 s->is_mutable ? 1 : 0, cf::to_utf8(str).c_str());
}

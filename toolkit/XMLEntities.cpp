// XML entity unescaping. The rules are deliberately not those of a strict XML parser: they
// never fail, and their quirks (the last character is never read, numeric values wrap) are
// part of the contract callers rely on.
#include "XMLEntities.h"
#include "XMLEntitiesInternal.h"

#include <algorithm>
#include <vector>

namespace {

// Reads the characters of the scanned range [0, limit), and 0 anywhere else: straight from
// the string's own storage when it is directly reachable, else through a small window.
class Reader {
  public:
    Reader(CFStringRef string, CFIndex limit, bool allowDirect)
        : string_(string), limit_(limit),
          direct_(allowDirect ? CFStringGetCharactersPtr(string) : nullptr) {}

    UniChar at(CFIndex index) {
        if (index < 0 || index >= limit_)
            return 0;
        if (direct_ != nullptr)
            return direct_[index];
        if (index < start_ || index >= end_)
            refill(index);
        return window_[index - start_];
    }

    const UniChar* direct() const { return direct_; }

  private:
    static constexpr CFIndex kWindow = 64;
    static constexpr CFIndex kLookBehind = 4;

    void refill(CFIndex index) {
        start_ = index > kLookBehind ? index - kLookBehind : 0;
        end_ = start_ + kWindow < limit_ ? start_ + kWindow : limit_;
        CFStringGetCharacters(string_, CFRangeMake(start_, end_ - start_), window_);
    }

    CFStringRef string_;
    CFIndex limit_;
    const UniChar* direct_;
    UniChar window_[kWindow];
    CFIndex start_ = 0;
    CFIndex end_ = 0;
};

// The index of the next "&" in [from, limit), or -1. Text between references is only skipped,
// so with direct access this is a tight scan over the characters.
CFIndex next_ampersand(Reader& reader, CFIndex from, CFIndex limit) {
    if (const UniChar* direct = reader.direct()) {
        for (CFIndex k = from; k < limit; ++k)
            if (direct[k] == '&')
                return k;
        return -1;
    }
    for (CFIndex k = from; k < limit; ++k)
        if (reader.at(k) == '&')
            return k;
    return -1;
}

// Appends input [from, to) in one piece.
void append_stretch(CFMutableStringRef out, CFStringRef input, const UniChar* direct, CFIndex from,
                    CFIndex to) {
    if (to <= from)
        return;
    if (direct != nullptr) {
        CFStringAppendCharacters(out, direct + from, to - from);
        return;
    }
    std::vector<UniChar> buffer(static_cast<size_t>(to - from));
    CFStringGetCharacters(input, CFRangeMake(from, to - from), buffer.data());
    CFStringAppendCharacters(out, buffer.data(), to - from);
}

void append_unit(CFMutableStringRef out, UniChar unit) { CFStringAppendCharacters(out, &unit, 1); }

int digit_value(UniChar c, UInt32 base) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The five entities every table has, unless the caller's table names them first.
struct Predefined {
    const char* name;
    const char* replacement;
};
const Predefined kPredefined[] = {
    {"amp", "&"}, {"quot", "\""}, {"lt", "<"}, {"gt", ">"}, {"apos", "'"}};

CFMutableDictionaryRef make_table(CFDictionaryRef entities) {
    CFMutableDictionaryRef table =
        entities != nullptr
            ? CFDictionaryCreateMutableCopy(nullptr, 0, entities)
            : CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                        &kCFTypeDictionaryValueCallBacks);
    for (const Predefined& entity : kPredefined) {
        CFStringRef name = CFStringCreateWithCString(nullptr, entity.name, kCFStringEncodingASCII);
        CFStringRef value =
            CFStringCreateWithCString(nullptr, entity.replacement, kCFStringEncodingASCII);
        CFDictionaryAddValue(table, name, value); // adds only where the name is free
        CFRelease(name);
        CFRelease(value);
    }
    return table;
}

// Without a table of the caller's, the five predefined names are matched in place, so the
// common case makes no temporary strings.
bool append_predefined(CFMutableStringRef out, CFStringRef input, const UniChar* direct,
                       CFIndex from, CFIndex length) {
    UniChar name[4];
    if (length < 2 || length > 4)
        return false;
    if (direct != nullptr)
        std::copy(direct + from, direct + from + length, name);
    else
        CFStringGetCharacters(input, CFRangeMake(from, length), name);
    for (const Predefined& entity : kPredefined) {
        CFIndex k = 0;
        while (k < length && entity.name[k] != '\0' && entity.name[k] == name[k])
            ++k;
        if (k == length && entity.name[k] == '\0') {
            append_unit(out, static_cast<UniChar>(entity.replacement[0]));
            return true;
        }
    }
    return false;
}

// Appends the replacement of the named reference input [a, end), or the reference itself.
void append_named(CFMutableStringRef out, CFStringRef input, const UniChar* direct,
                  CFDictionaryRef entities, CFMutableDictionaryRef& table, CFIndex a,
                  CFIndex end) {
    CFIndex nameLength = end - a - 2;
    if (entities == nullptr && append_predefined(out, input, direct, a + 1, nameLength))
        return;
    if (table == nullptr)
        table = make_table(entities);
    CFStringRef replacement = nullptr;
    if (nameLength >= 0) {
        CFStringRef name = CFStringCreateWithSubstring(nullptr, input, CFRangeMake(a + 1, nameLength));
        replacement = static_cast<CFStringRef>(CFDictionaryGetValue(table, name));
        CFRelease(name);
    }
    if (replacement != nullptr)
        CFStringAppend(out, replacement);
    else
        append_stretch(out, input, direct, a, end);
}

void append_code_point(CFMutableStringRef out, UInt32 value) {
    if (value < 0xFFFF) {
        append_unit(out, static_cast<UniChar>(value));
        return;
    }
    // No range check: values past U+10FFFF give units outside the surrogate ranges.
    append_unit(out, static_cast<UniChar>(0xD800 + ((value - 0x10000) >> 10)));
    append_unit(out, static_cast<UniChar>(0xDC00 + (value & 0x3FF)));
}

} // namespace

namespace toolkit {

CFMutableStringRef unescape_entities(CFAllocatorRef allocator, CFStringRef string,
                                     CFDictionaryRef entities, bool allowDirect) {
    CFMutableStringRef out = CFStringCreateMutable(allocator, 0);
    CFIndex n = string != nullptr ? CFStringGetLength(string) : 0;
    if (n == 0)
        return out;
    Reader reader(string, n - 1, allowDirect);
    const UniChar* direct = reader.direct();
    CFMutableDictionaryRef table = nullptr; // made on the first named reference
    CFIndex chunkStart = 0;
    CFIndex i = 0;
    while (i < n) {
        CFIndex a = next_ampersand(reader, i, n - 1);
        if (a < 0)
            break;
        append_stretch(out, string, direct, chunkStart, a);
        UniChar c = reader.at(a + 1);
        i = a + 2; // at most n: an ampersand in the last place is never read
        UInt32 value = 0xFFFF;
        if (c == '#') {
            c = reader.at(i++);
            UInt32 base = 10;
            if (c == 'x') {
                base = 16;
                c = reader.at(i++);
            }
            value = 0;
            for (int digit; (digit = digit_value(c, base)) >= 0;) {
                value = value * base + static_cast<UInt32>(digit);
                if (i >= n)
                    break;
                c = reader.at(i++);
            }
        }
        while (c != ';' && i < n)
            c = reader.at(i++);
        if (value == 0xFFFF) {
            append_named(out, string, direct, entities, table, a, i);
        } else {
            append_code_point(out, value);
        }
        chunkStart = i;
    }
    append_stretch(out, string, direct, chunkStart, n);
    if (table != nullptr)
        CFRelease(table);
    return out;
}

} // namespace toolkit

CFMutableStringRef XMLCreateStringByUnescapingEntities(CFAllocatorRef allocator,
                                                       CFStringRef string,
                                                       CFDictionaryRef entities) {
    return toolkit::unescape_entities(allocator, string, entities, true);
}

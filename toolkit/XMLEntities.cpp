// XML entity unescaping. The rules are deliberately not those of a strict XML parser: they
// never fail, and their quirks (the last character is never read, numeric values wrap) are
// part of the contract callers rely on.
#include "XMLEntities.h"
#include "XMLEntitiesInternal.h"
#include <CoreFoundation/CFHolder.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The marker value of a named reference.
constexpr UInt32 kNamed = 0xFFFF;

// The result is gathered here and handed to the string in one append, so that its storage is
// allocated once: growing a string through many small appends costs far more than the scan.
class Output {
  public:
    explicit Output(CFIndex capacity)
        : capacity_(std::max<CFIndex>(capacity, 1)),
          units_(std::make_unique_for_overwrite<UniChar[]>(static_cast<size_t>(capacity_))) {}

    // Room for `count` more units, which the caller fills at once.
    UniChar* extend(CFIndex count) {
        if (count > capacity_ - size_)
            grow(count);
        UniChar* room = units_.get() + size_;
        size_ += count;
        return room;
    }

    void append(const UniChar* chars, CFIndex count) {
        std::memcpy(extend(count), chars, static_cast<size_t>(count) * sizeof(UniChar));
    }

    void push(UniChar unit) { *extend(1) = unit; }

    const UniChar* data() const { return units_.get(); }
    CFIndex size() const { return size_; }

  private:
    // Only a caller's replacements longer than their references get here.
    void grow(CFIndex count) {
        capacity_ = std::max(capacity_ * 2, size_ + count);
        auto bigger = std::make_unique_for_overwrite<UniChar[]>(static_cast<size_t>(capacity_));
        std::memcpy(bigger.get(), units_.get(), static_cast<size_t>(size_) * sizeof(UniChar));
        units_ = std::move(bigger);
    }

    CFIndex capacity_;
    CFIndex size_ = 0;
    std::unique_ptr<UniChar[]> units_;
};

// The index of the first "&" in chars[from, to), or -1. Most of the input is text between
// references, so this loop is the scan's whole cost: sixteen units a step where SSE2 is there.
CFIndex scan_for_ampersand(const UniChar* chars, CFIndex from, CFIndex to) {
    CFIndex k = from;
#if defined(__SSE2__)
    const __m128i ampersand = _mm_set1_epi16('&');
    for (; to - k >= 16; k += 16) {
        __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + k));
        __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + k + 8));
        auto lowHits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(low, ampersand)));
        auto highHits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(high, ampersand)));
        unsigned hits = lowHits | (highHits << 16); // two mask bits per unit
        if (hits != 0)
            return k + std::countr_zero(hits) / 2;
    }
#endif
    for (; k < to; ++k)
        if (chars[k] == '&')
            return k;
    return -1;
}

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

    // The index of the next "&" in [from, limit), or -1. Through the window, it is refilled
    // exactly where reading the characters one by one would refill it.
    CFIndex find_ampersand(CFIndex from) {
        if (direct_ != nullptr)
            return scan_for_ampersand(direct_, from, limit_);
        for (; from < limit_; from = end_) {
            if (from < start_ || from >= end_)
                refill(from);
            CFIndex found = scan_for_ampersand(window_, from - start_, end_ - start_);
            if (found >= 0)
                return start_ + found;
        }
        return -1;
    }

    // Appends input [from, to) in one piece; the last character of the input included.
    void copy(CFIndex from, CFIndex to, Output& out) const {
        if (to <= from)
            return;
        if (direct_ != nullptr)
            out.append(direct_ + from, to - from);
        else
            CFStringGetCharacters(string_, CFRangeMake(from, to - from), out.extend(to - from));
    }

    // Input [from, from + length) into buffer.
    void get(CFIndex from, CFIndex length, UniChar* buffer) const {
        if (direct_ != nullptr)
            std::copy(direct_ + from, direct_ + from + length, buffer);
        else
            CFStringGetCharacters(string_, CFRangeMake(from, length), buffer);
    }

    CFStringRef string() const { return string_; }

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
        entities != nullptr ? CFDictionaryCreateMutableCopy(nullptr, 0, entities)
                            : CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                                        &kCFTypeDictionaryValueCallBacks);
    for (const Predefined& entity : kPredefined) {
        const cf::Holder<CFStringRef> name(
            CFStringCreateWithCString(nullptr, entity.name, kCFStringEncodingASCII));
        const cf::Holder<CFStringRef> value(
            CFStringCreateWithCString(nullptr, entity.replacement, kCFStringEncodingASCII));
        // Adds only where the name is free.
        CFDictionaryAddValue(table, name.get(), value.get());
    }
    return table;
}

// The caller's table, and the working copy with the predefined names added, made on the first
// lookup; the copy holds the replacements handed out until it goes.
class Names {
  public:
    explicit Names(CFDictionaryRef entities) : entities_(entities) {}
    ~Names() {
        if (table_ != nullptr)
            CFRelease(table_);
    }
    Names(const Names&) = delete;
    Names& operator=(const Names&) = delete;

    bool only_predefined() const { return entities_ == nullptr; }

    // The replacement of the name input [from, from + length), or nullptr.
    CFStringRef lookup(CFStringRef input, CFIndex from, CFIndex length) {
        if (table_ == nullptr)
            table_ = make_table(entities_);
        const cf::Holder<CFStringRef> name(
            CFStringCreateWithSubstring(nullptr, input, CFRangeMake(from, length)));
        return static_cast<CFStringRef>(CFDictionaryGetValue(table_, name.get()));
    }

  private:
    CFDictionaryRef entities_;
    CFMutableDictionaryRef table_ = nullptr;
};

// Matches a name against the five predefined ones in place, so that the common case makes no
// temporary strings.
bool match_predefined(const Reader& reader, CFIndex from, CFIndex length, UniChar& replacement) {
    UniChar name[4];
    if (length < 2 || length > 4)
        return false;
    reader.get(from, length, name);
    for (const Predefined& entity : kPredefined) {
        CFIndex k = 0;
        while (k < length && entity.name[k] != '\0' && entity.name[k] == name[k])
            ++k;
        if (k == length && entity.name[k] == '\0') {
            replacement = static_cast<UniChar>(entity.replacement[0]);
            return true;
        }
    }
    return false;
}

// Appends the replacement of the named reference input [a, end), or the reference itself.
// The name runs up to the reference's last character, which is taken to be the ";".
void append_named(const Reader& reader, Names& names, CFIndex a, CFIndex end, Output& out) {
    CFIndex nameLength = end - a - 2;
    if (names.only_predefined()) {
        UniChar unit;
        if (match_predefined(reader, a + 1, nameLength, unit))
            out.push(unit);
        else
            reader.copy(a, end, out);
        return;
    }
    CFStringRef replacement = names.lookup(reader.string(), a + 1, nameLength);
    if (replacement == nullptr) {
        reader.copy(a, end, out);
        return;
    }
    // A value that is no string logs here and adds nothing.
    CFIndex length = CFStringGetLength(replacement);
    if (length > 0)
        CFStringGetCharacters(replacement, CFRangeMake(0, length), out.extend(length));
}

void append_code_point(Output& out, UInt32 value) {
    if (value < kNamed) {
        out.push(static_cast<UniChar>(value));
        return;
    }
    // No range check: values past U+10FFFF give units outside the surrogate ranges.
    out.push(static_cast<UniChar>(0xD800 + ((value - 0x10000) >> 10)));
    out.push(static_cast<UniChar>(0xDC00 + (value & 0x3FF)));
}

// Reads the digits after "&#"; c is the character last read and i the next index to read.
UInt32 read_number(Reader& reader, UniChar& c, CFIndex& i, CFIndex n) {
    c = reader.at(i++);
    UInt32 base = 10;
    if (c == 'x') {
        base = 16;
        c = reader.at(i++);
    }
    UInt32 value = 0; // wraps on overflow
    for (int digit; (digit = digit_value(c, base)) >= 0;) {
        value = value * base + static_cast<UInt32>(digit);
        if (i >= n)
            break;
        c = reader.at(i++);
    }
    return value;
}

// Unescapes the reference whose "&" is at index a; returns the index just past it.
CFIndex unescape_reference(Reader& reader, Names& names, CFIndex a, CFIndex n, Output& out) {
    UniChar c = reader.at(a + 1);
    CFIndex i = a + 2; // at most n: an ampersand in the last place is never read
    UInt32 value = c == '#' ? read_number(reader, c, i, n) : kNamed;
    while (c != ';' && i < n)
        c = reader.at(i++);
    if (value == kNamed)
        append_named(reader, names, a, i, out);
    else
        append_code_point(out, value);
    return i;
}

} // namespace

namespace toolkit {

CFMutableStringRef unescape_entities(CFAllocatorRef allocator, CFStringRef string,
                                     CFDictionaryRef entities, bool allowDirect) {
    CFMutableStringRef result = CFStringCreateMutable(allocator, 0);
    CFIndex n = string != nullptr ? CFStringGetLength(string) : 0;
    if (n == 0)
        return result;
    Reader reader(string, n - 1, allowDirect);
    Names names(entities);
    // Without replacements of the caller's, the result is never longer than the input.
    Output out(n);
    CFIndex chunkStart = 0;
    for (CFIndex a; (a = reader.find_ampersand(chunkStart)) >= 0;) {
        reader.copy(chunkStart, a, out);
        chunkStart = unescape_reference(reader, names, a, n, out);
    }
    reader.copy(chunkStart, n, out);
    CFStringAppendCharacters(result, out.data(), out.size());
    return result;
}

} // namespace toolkit

CFMutableStringRef XMLCreateStringByUnescapingEntities(CFAllocatorRef allocator, CFStringRef string,
                                                       CFDictionaryRef entities) {
    return toolkit::unescape_entities(allocator, string, entities, true);
}

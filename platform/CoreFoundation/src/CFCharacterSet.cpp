// CFCharacterSet over ICU's UnicodeSet. Predefined sets are built from
// Unicode properties on first request and live for the whole process.
#include "CFStringInternal.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <CoreFoundation/CFCharacterSet.h>

#include <unicode/uniset.h>
#include <unicode/utf16.h>

#include <cstdio>

struct OpaqueCFCharacterSet : cf::Object {
    icu::UnicodeSet set;
    bool is_mutable = false;
};

namespace {

void finalize_set(CFTypeRef obj) {
    cf::destroy<OpaqueCFCharacterSet>(obj);
}

bool equal_sets(CFTypeRef a, CFTypeRef b) {
    return static_cast<const OpaqueCFCharacterSet*>(a)->set ==
           static_cast<const OpaqueCFCharacterSet*>(b)->set;
}

CFHashCode hash_set(CFTypeRef obj) {
    return static_cast<CFHashCode>(static_cast<const OpaqueCFCharacterSet*>(obj)->set.hashCode());
}

// "<CFCharacterSet [a-z]>": the set's pattern, which is what one wants to see when debugging.
CFStringRef describe_set(CFTypeRef obj) {
    icu::UnicodeString pattern;
    static_cast<const OpaqueCFCharacterSet*>(obj)->set.toPattern(pattern, true);
    std::u16string text = u"<CFCharacterSet ";
    text.append(reinterpret_cast<const char16_t*>(pattern.getBuffer()),
                static_cast<size_t>(pattern.length()));
    text += u">";
    return cf::make_string(nullptr, std::move(text));
}

const cf::ClassDescriptor kCharacterSetClass = {"CFCharacterSet", finalize_set, equal_sets,
                                                hash_set, describe_set};

CFTypeID set_type_id() {
    static CFTypeID id = cf::register_class(&kCharacterSetClass);
    return id;
}

// An editable copy: copies of a frozen (predefined) set would stay frozen and
// silently ignore every edit.
icu::UnicodeSet thawed(const icu::UnicodeSet& set) {
    icu::UnicodeSet copy;
    copy.addAll(set);
    return copy;
}

OpaqueCFCharacterSet* make_set(CFAllocatorRef allocator, const icu::UnicodeSet& contents,
                               bool is_mutable) {
    auto* set = cf::create<OpaqueCFCharacterSet>(allocator, set_type_id());
    if (set == nullptr)
        return nullptr;
    set->set = thawed(contents);
    set->is_mutable = is_mutable;
    return set;
}

const OpaqueCFCharacterSet* as_set(CFCharacterSetRef set, const char* function) {
    return cf::check_type(set, set_type_id(), function) ? set : nullptr;
}

OpaqueCFCharacterSet* as_mutable(CFMutableCharacterSetRef set, const char* function) {
    if (!cf::check_type(set, set_type_id(), function))
        return nullptr;
    if (!set->is_mutable) {
        cf::report(function, "%p is an immutable character set", static_cast<void*>(set));
        return nullptr;
    }
    return set;
}

// The Unicode property pattern of each predefined set, by identifier.
const char16_t* predefined_pattern(CFCharacterSetPredefinedSet identifier) {
    switch (identifier) {
    case kCFCharacterSetControl:
        return u"[[:Cc:][:Cf:]]";
    case kCFCharacterSetWhitespace:
        return u"[[:Zs:]\\u0009]";
    case kCFCharacterSetWhitespaceAndNewline:
        return u"[[:Z:]\\u0009-\\u000D\\u0085]";
    case kCFCharacterSetDecimalDigit:
        return u"[:Nd:]";
    case kCFCharacterSetLetter:
        return u"[[:L:][:M:]]";
    case kCFCharacterSetLowercaseLetter:
        return u"[:Ll:]";
    case kCFCharacterSetUppercaseLetter:
        return u"[[:Lu:][:Lt:]]";
    case kCFCharacterSetNonBase:
        return u"[:M:]";
    case kCFCharacterSetDecomposable:
        return u"[:Decomposition_Type=Canonical:]";
    case kCFCharacterSetAlphaNumeric:
        return u"[[:L:][:M:][:N:]]";
    case kCFCharacterSetPunctuation:
        return u"[:P:]";
    case kCFCharacterSetIllegal:
        return u"[[:Cn:][:Noncharacter_Code_Point:]]";
    case kCFCharacterSetCapitalizedLetter:
        return u"[:Lt:]";
    case kCFCharacterSetSymbol:
        return u"[:S:]";
    case kCFCharacterSetNewline:
        return u"[\\u000A-\\u000D\\u0085\\u2028\\u2029]";
    default:
        return nullptr;
    }
}

OpaqueCFCharacterSet* build_predefined(CFCharacterSetPredefinedSet identifier) {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeSet contents(icu::UnicodeString(predefined_pattern(identifier)), status);
    if (U_FAILURE(status)) {
        cf::report("CFCharacterSetGetPredefined", "set %ld: %s", identifier, u_errorName(status));
        return nullptr;
    }
    OpaqueCFCharacterSet* set = make_set(kCFAllocatorSystemDefault, contents, false);
    if (set != nullptr)
        set->set.freeze(); // faster to query
    cf::make_immortal(set);
    return set;
}

// The characters of a string (surrogate pairs as one character).
icu::UnicodeSet characters_of(CFStringRef str) {
    std::u16string_view text = cf::string_view(str);
    icu::UnicodeSet set;
    for (size_t i = 0; i < text.size();) {
        UChar32 c;
        U16_NEXT(text.data(), i, text.size(), c);
        set.add(c);
    }
    return set;
}

bool range_ok(CFRange range, const char* function) {
    if (range.location >= 0 && range.length >= 0 && range.location + range.length <= 0x110000)
        return true;
    cf::report(function, "{%ld, %ld} is not a range of Unicode characters", range.location,
               range.length);
    return false;
}

} // namespace

CFTypeID CFCharacterSetGetTypeID(void) {
    return set_type_id();
}

CFCharacterSetRef CFCharacterSetGetPredefined(CFCharacterSetPredefinedSet theSetIdentifier) {
    if (predefined_pattern(theSetIdentifier) == nullptr)
        return nullptr;
    static auto* sets = new OpaqueCFCharacterSet* [kCFCharacterSetNewline + 1] {};
    OpaqueCFCharacterSet*& set = sets[theSetIdentifier];
    if (set == nullptr)
        set = build_predefined(theSetIdentifier);
    return set;
}

CFCharacterSetRef CFCharacterSetCreateWithCharactersInRange(CFAllocatorRef alloc,
                                                            CFRange theRange) {
    if (!range_ok(theRange, __func__))
        return nullptr;
    icu::UnicodeSet set;
    if (theRange.length > 0)
        set.add(static_cast<UChar32>(theRange.location),
                static_cast<UChar32>(theRange.location + theRange.length - 1));
    return make_set(alloc, set, false);
}

CFCharacterSetRef CFCharacterSetCreateWithCharactersInString(CFAllocatorRef alloc,
                                                             CFStringRef theString) {
    if (!cf::check_type(theString, cf::string_type_id(), __func__))
        return nullptr;
    return make_set(alloc, characters_of(theString), false);
}

CFCharacterSetRef CFCharacterSetCreateInvertedSet(CFAllocatorRef alloc, CFCharacterSetRef theSet) {
    const OpaqueCFCharacterSet* s = as_set(theSet, __func__);
    if (s == nullptr)
        return nullptr;
    icu::UnicodeSet inverted = thawed(s->set);
    inverted.complement();
    return make_set(alloc, inverted, false);
}

CFCharacterSetRef CFCharacterSetCreateCopy(CFAllocatorRef alloc, CFCharacterSetRef theSet) {
    const OpaqueCFCharacterSet* s = as_set(theSet, __func__);
    return s != nullptr ? make_set(alloc, s->set, false) : nullptr;
}

CFMutableCharacterSetRef CFCharacterSetCreateMutable(CFAllocatorRef alloc) {
    return make_set(alloc, icu::UnicodeSet(), true);
}

CFMutableCharacterSetRef CFCharacterSetCreateMutableCopy(CFAllocatorRef alloc,
                                                         CFCharacterSetRef theSet) {
    const OpaqueCFCharacterSet* s = as_set(theSet, __func__);
    if (s == nullptr)
        return nullptr;
    return make_set(alloc, s->set, true);
}

Boolean CFCharacterSetIsCharacterMember(CFCharacterSetRef theSet, UniChar theChar) {
    const OpaqueCFCharacterSet* s = as_set(theSet, __func__);
    return s != nullptr && s->set.contains(theChar);
}

Boolean CFCharacterSetIsLongCharacterMember(CFCharacterSetRef theSet, UTF32Char theChar) {
    const OpaqueCFCharacterSet* s = as_set(theSet, __func__);
    return s != nullptr && theChar <= 0x10FFFF && s->set.contains(static_cast<UChar32>(theChar));
}

Boolean CFCharacterSetIsSupersetOfSet(CFCharacterSetRef theSet, CFCharacterSetRef theOtherset) {
    const OpaqueCFCharacterSet* s = as_set(theSet, __func__);
    const OpaqueCFCharacterSet* other = as_set(theOtherset, __func__);
    return s != nullptr && other != nullptr && s->set.containsAll(other->set);
}

Boolean CFCharacterSetHasMemberInPlane(CFCharacterSetRef theSet, CFIndex thePlane) {
    const OpaqueCFCharacterSet* s = as_set(theSet, __func__);
    if (s == nullptr || thePlane < 0 || thePlane > 16)
        return false;
    UChar32 first = static_cast<UChar32>(thePlane << 16);
    return !s->set.containsNone(first, first + 0xFFFF);
}

void CFCharacterSetAddCharactersInRange(CFMutableCharacterSetRef theSet, CFRange theRange) {
    OpaqueCFCharacterSet* s = as_mutable(theSet, __func__);
    if (s != nullptr && range_ok(theRange, __func__) && theRange.length > 0)
        s->set.add(static_cast<UChar32>(theRange.location),
                   static_cast<UChar32>(theRange.location + theRange.length - 1));
}

void CFCharacterSetRemoveCharactersInRange(CFMutableCharacterSetRef theSet, CFRange theRange) {
    OpaqueCFCharacterSet* s = as_mutable(theSet, __func__);
    if (s != nullptr && range_ok(theRange, __func__) && theRange.length > 0)
        s->set.remove(static_cast<UChar32>(theRange.location),
                      static_cast<UChar32>(theRange.location + theRange.length - 1));
}

void CFCharacterSetAddCharactersInString(CFMutableCharacterSetRef theSet, CFStringRef theString) {
    OpaqueCFCharacterSet* s = as_mutable(theSet, __func__);
    if (s != nullptr && cf::check_type(theString, cf::string_type_id(), __func__))
        s->set.addAll(characters_of(theString));
}

void CFCharacterSetRemoveCharactersInString(CFMutableCharacterSetRef theSet,
                                            CFStringRef theString) {
    OpaqueCFCharacterSet* s = as_mutable(theSet, __func__);
    if (s != nullptr && cf::check_type(theString, cf::string_type_id(), __func__))
        s->set.removeAll(characters_of(theString));
}

void CFCharacterSetUnion(CFMutableCharacterSetRef theSet, CFCharacterSetRef theOtherSet) {
    OpaqueCFCharacterSet* s = as_mutable(theSet, __func__);
    const OpaqueCFCharacterSet* other = as_set(theOtherSet, __func__);
    if (s != nullptr && other != nullptr)
        s->set.addAll(icu::UnicodeSet(other->set)); // a copy: the sets may be the same
}

void CFCharacterSetIntersect(CFMutableCharacterSetRef theSet, CFCharacterSetRef theOtherSet) {
    OpaqueCFCharacterSet* s = as_mutable(theSet, __func__);
    const OpaqueCFCharacterSet* other = as_set(theOtherSet, __func__);
    if (s != nullptr && other != nullptr)
        s->set.retainAll(icu::UnicodeSet(other->set));
}

void CFCharacterSetInvert(CFMutableCharacterSetRef theSet) {
    OpaqueCFCharacterSet* s = as_mutable(theSet, __func__);
    if (s != nullptr)
        s->set.complement();
}

Boolean CFStringFindCharacterFromSet(CFStringRef theString, CFCharacterSetRef theSet,
                                     CFRange rangeToSearch, CFStringCompareFlags searchOptions,
                                     CFRange* result) {
    const OpaqueCFCharacterSet* s = as_set(theSet, __func__);
    std::u16string_view text = cf::string_view(theString);
    if (s == nullptr || rangeToSearch.location < 0 || rangeToSearch.length < 0 ||
        rangeToSearch.location + rangeToSearch.length > static_cast<CFIndex>(text.size()))
        return false;
    const char16_t* p = text.data();
    const CFIndex start = rangeToSearch.location, end = start + rangeToSearch.length;
    const bool backwards = searchOptions & kCFCompareBackwards;
    const bool anchored = searchOptions & kCFCompareAnchored;
    CFIndex i = backwards ? end : start;
    while (backwards ? i > start : i < end) {
        CFIndex first = i, next = i;
        UChar32 c;
        if (backwards) {
            U16_PREV(p, start, next, c);
            first = next;
        } else {
            U16_NEXT(p, next, end, c);
        }
        if (s->set.contains(c)) {
            if (result != nullptr)
                *result = backwards ? CFRangeMake(first, i - first) : CFRangeMake(i, next - i);
            return true;
        }
        if (anchored)
            break;
        i = next;
    }
    return false;
}

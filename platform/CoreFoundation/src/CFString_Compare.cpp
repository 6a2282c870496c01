// CFString comparison and search. Insensitive options work on a folded copy
// of each string (case folded, marks removed, width variants unified) that
// remembers which original character every folded unit came from, so search
// results are ranges of the original string. Localised comparison goes
// through an ICU collator.
#include "CFStringInternal.h"

#include <unicode/ucol.h>
#include <unicode/usearch.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include <memory>
#include <vector>

namespace cf {
namespace {

constexpr CFStringCompareFlags kFoldingFlags = kCFCompareCaseInsensitive |
                                               kCFCompareDiacriticInsensitive |
                                               kCFCompareWidthInsensitive | kCFCompareNonliteral;

struct Folded {
    std::u16string units;
    std::vector<CFIndex> origin; // index in the original text of each unit's character
};

// Appends the decomposition of c by a normalizer, or c itself.
void decompose(const UNormalizer2* normalizer, UChar32 c, std::vector<UChar32>& out) {
    UChar buffer[32];
    UErrorCode status = U_ZERO_ERROR;
    int32_t n =
        normalizer != nullptr ? unorm2_getDecomposition(normalizer, c, buffer, 32, &status) : -1;
    if (n < 0 || U_FAILURE(status)) {
        out.push_back(c);
        return;
    }
    for (int32_t i = 0; i < n;) {
        UChar32 d;
        U16_NEXT(buffer, i, n, d);
        out.push_back(d);
    }
}

std::vector<UChar32> fold_character(UChar32 c, CFStringCompareFlags flags) {
    std::vector<UChar32> cps;
    UErrorCode status = U_ZERO_ERROR;
    int32_t type = u_getIntPropertyValue(c, UCHAR_DECOMPOSITION_TYPE);
    if ((flags & kCFCompareWidthInsensitive) && (type == U_DT_WIDE || type == U_DT_NARROW))
        decompose(unorm2_getNFKDInstance(&status), c, cps);
    else
        cps.push_back(c);
    if (flags & (kCFCompareDiacriticInsensitive | kCFCompareNonliteral)) {
        std::vector<UChar32> decomposed;
        for (UChar32 cp : cps)
            decompose(unorm2_getNFDInstance(&status), cp, decomposed);
        cps.swap(decomposed);
    }
    std::vector<UChar32> out;
    for (UChar32 cp : cps) {
        if ((flags & kCFCompareDiacriticInsensitive) && u_charType(cp) == U_NON_SPACING_MARK)
            continue;
        out.push_back((flags & kCFCompareCaseInsensitive) ? u_foldCase(cp, U_FOLD_CASE_DEFAULT)
                                                          : cp);
    }
    return out;
}

Folded fold(std::u16string_view text, CFStringCompareFlags flags) {
    Folded folded;
    folded.units.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t start = i;
        UChar32 c;
        U16_NEXT(text.data(), i, text.size(), c);
        for (UChar32 cp : fold_character(c, flags)) {
            UChar units[2];
            int n = 0;
            U16_APPEND_UNSAFE(units, n, cp);
            for (int k = 0; k < n; ++k) {
                folded.units.push_back(units[k]);
                folded.origin.push_back(static_cast<CFIndex>(start));
            }
        }
    }
    return folded;
}

int digit_value(char16_t c) {
    return u_charDigitValue(c);
}

// Compares the digit runs at a[i] and b[j] by value and moves past them.
int compare_numbers(std::u16string_view a, size_t& i, std::u16string_view b, size_t& j) {
    auto run = [](std::u16string_view s, size_t& k) {
        while (k < s.size() && digit_value(s[k]) == 0 && k + 1 < s.size() &&
               digit_value(s[k + 1]) >= 0)
            ++k; // leading zeros
        size_t start = k;
        while (k < s.size() && digit_value(s[k]) >= 0)
            ++k;
        return std::make_pair(start, k);
    };
    auto [as, ae] = run(a, i);
    auto [bs, be] = run(b, j);
    if (ae - as != be - bs)
        return ae - as < be - bs ? -1 : 1;
    for (size_t k = 0; k < ae - as; ++k) {
        int da = digit_value(a[as + k]), db = digit_value(b[bs + k]);
        if (da != db)
            return da < db ? -1 : 1;
    }
    return 0;
}

CFComparisonResult compare_units(std::u16string_view a, std::u16string_view b, bool numeric) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (numeric && digit_value(a[i]) >= 0 && digit_value(b[j]) >= 0) {
            if (int r = compare_numbers(a, i, b, j))
                return r < 0 ? kCFCompareLessThan : kCFCompareGreaterThan;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? kCFCompareLessThan : kCFCompareGreaterThan;
        ++i, ++j;
    }
    if (i < a.size())
        return kCFCompareGreaterThan;
    return j < b.size() ? kCFCompareLessThan : kCFCompareEqualTo;
}

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};

using Collator = std::unique_ptr<UCollator, CollatorCloser>;

// A collator for a locale whose strength follows the insensitivity options.
Collator open_collator(const std::string& locale_id, CFStringCompareFlags flags) {
    UErrorCode status = U_ZERO_ERROR;
    Collator collator(ucol_open(locale_id.c_str(), &status));
    if (U_FAILURE(status))
        return nullptr;
    bool no_case = flags & kCFCompareCaseInsensitive;
    bool no_marks = flags & kCFCompareDiacriticInsensitive;
    ucol_setStrength(collator.get(), no_marks  ? UCOL_PRIMARY
                                     : no_case ? UCOL_SECONDARY
                                               : UCOL_TERTIARY);
    if (no_marks && !no_case)
        ucol_setAttribute(collator.get(), UCOL_CASE_LEVEL, UCOL_ON, &status);
    if (flags & kCFCompareNumerically)
        ucol_setAttribute(collator.get(), UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    return collator;
}

CFComparisonResult collate(std::u16string_view a, std::u16string_view b, CFStringCompareFlags flags,
                           const std::string& locale_id) {
    Collator collator = open_collator(locale_id, flags);
    if (!collator)
        return compare_units(a, b, flags & kCFCompareNumerically);
    UCollationResult r = ucol_strcoll(collator.get(), a.data(), static_cast<int32_t>(a.size()),
                                      b.data(), static_cast<int32_t>(b.size()));
    return r == UCOL_LESS      ? kCFCompareLessThan
           : r == UCOL_GREATER ? kCFCompareGreaterThan
                               : kCFCompareEqualTo;
}

bool valid_range(std::u16string_view text, CFRange range) {
    return range.location >= 0 && range.length >= 0 &&
           range.location + range.length <= static_cast<CFIndex>(text.size());
}

// True when a folded match at [k, k + m) starts and ends on character boundaries.
bool on_boundaries(const Folded& f, size_t k, size_t m) {
    bool start_ok = k == 0 || f.origin[k] != f.origin[k - 1];
    bool end_ok = k + m == f.units.size() || f.origin[k + m] != f.origin[k + m - 1];
    return start_ok && end_ok;
}

struct SearchCloser {
    void operator()(UStringSearch* s) const { usearch_close(s); }
};

} // namespace

bool collated_find(std::u16string_view text, std::u16string_view needle, CFRange range,
                   CFStringCompareFlags flags, const std::string& locale_id, CFRange* result) {
    if (!valid_range(text, range) || needle.empty() || range.length == 0)
        return false;
    Collator collator = open_collator(locale_id, flags);
    if (!collator)
        return find(text, needle, range, flags, result);
    const UChar* hay = text.data() + range.location;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UStringSearch, SearchCloser> search(usearch_openFromCollator(
        needle.data(), static_cast<int32_t>(needle.size()), hay, static_cast<int32_t>(range.length),
        collator.get(), nullptr, &status));
    if (U_FAILURE(status))
        return false;
    bool backwards = flags & kCFCompareBackwards;
    int32_t at =
        backwards ? usearch_last(search.get(), &status) : usearch_first(search.get(), &status);
    if (U_FAILURE(status) || at == USEARCH_DONE)
        return false;
    int32_t length = usearch_getMatchedLength(search.get());
    // Anchored: the match must touch the start (or, backwards, the end) of the range.
    if ((flags & kCFCompareAnchored) && (backwards ? at + length != range.length : at != 0))
        return false;
    if (result != nullptr)
        *result = CFRangeMake(range.location + at, length);
    return true;
}

CFComparisonResult compare(std::u16string_view a, std::u16string_view b, CFStringCompareFlags flags,
                           const std::string* locale_id) {
    if (locale_id != nullptr || (flags & kCFCompareLocalized))
        return collate(a, b, flags, locale_id != nullptr ? *locale_id : std::string());
    bool numeric = flags & kCFCompareNumerically;
    if (!(flags & kFoldingFlags))
        return compare_units(a, b, numeric);
    CFComparisonResult r = compare_units(fold(a, flags).units, fold(b, flags).units, numeric);
    if (r == kCFCompareEqualTo && (flags & kCFCompareForcedOrdering))
        r = compare_units(a, b, numeric);
    return r;
}

bool find(std::u16string_view text, std::u16string_view needle, CFRange range,
          CFStringCompareFlags flags, CFRange* result) {
    if (!valid_range(text, range) || needle.empty())
        return false;
    std::u16string_view hay =
        text.substr(static_cast<size_t>(range.location), static_cast<size_t>(range.length));
    Folded h;
    std::u16string folded_needle(needle);
    if (flags & kFoldingFlags) {
        h = fold(hay, flags);
        folded_needle = fold(needle, flags).units;
    } else {
        h.units.assign(hay);
        for (size_t k = 0; k < hay.size(); ++k)
            h.origin.push_back(static_cast<CFIndex>(k));
    }
    const size_t m = folded_needle.size(), n = h.units.size();
    if (m == 0 || m > n)
        return false;
    bool backwards = flags & kCFCompareBackwards, anchored = flags & kCFCompareAnchored;
    for (size_t step = 0; step <= n - m; ++step) {
        size_t k = backwards ? n - m - step : step;
        if (anchored && step > 0)
            break;
        if (h.units.compare(k, m, folded_needle) != 0 || !on_boundaries(h, k, m))
            continue;
        if (result != nullptr) {
            CFIndex start = h.origin[k];
            CFIndex end = k + m < n ? h.origin[k + m] : range.length;
            *result = CFRangeMake(range.location + start, end - start);
        }
        return true;
    }
    return false;
}

} // namespace cf

CFComparisonResult CFStringCompareWithOptionsAndLocale(CFStringRef theString1,
                                                       CFStringRef theString2,
                                                       CFRange rangeToCompare,
                                                       CFStringCompareFlags compareOptions,
                                                       CFLocaleRef locale) {
    std::u16string_view a = cf::string_view(theString1);
    if (!cf::valid_range(a, rangeToCompare))
        return kCFCompareLessThan;
    a = a.substr(static_cast<size_t>(rangeToCompare.location),
                 static_cast<size_t>(rangeToCompare.length));
    if (locale == nullptr)
        return cf::compare(a, cf::string_view(theString2), compareOptions, nullptr);
    std::string id = cf::locale_identifier(locale);
    return cf::compare(a, cf::string_view(theString2), compareOptions, &id);
}

CFComparisonResult CFStringCompareWithOptions(CFStringRef theString1, CFStringRef theString2,
                                              CFRange rangeToCompare,
                                              CFStringCompareFlags compareOptions) {
    return CFStringCompareWithOptionsAndLocale(theString1, theString2, rangeToCompare,
                                               compareOptions, nullptr);
}

CFComparisonResult CFStringCompare(CFStringRef theString1, CFStringRef theString2,
                                   CFStringCompareFlags compareOptions) {
    return cf::compare(cf::string_view(theString1), cf::string_view(theString2), compareOptions,
                       nullptr);
}

Boolean CFStringFindWithOptionsAndLocale(CFStringRef theString, CFStringRef stringToFind,
                                         CFRange rangeToSearch, CFStringCompareFlags searchOptions,
                                         CFLocaleRef locale, CFRange* result) {
    if (locale == nullptr)
        return cf::find(cf::string_view(theString), cf::string_view(stringToFind), rangeToSearch,
                        searchOptions, result);
    return cf::collated_find(cf::string_view(theString), cf::string_view(stringToFind),
                             rangeToSearch, searchOptions, cf::locale_identifier(locale), result);
}

Boolean CFStringFindWithOptions(CFStringRef theString, CFStringRef stringToFind,
                                CFRange rangeToSearch, CFStringCompareFlags searchOptions,
                                CFRange* result) {
    return cf::find(cf::string_view(theString), cf::string_view(stringToFind), rangeToSearch,
                    searchOptions, result);
}

CFRange CFStringFind(CFStringRef theString, CFStringRef stringToFind,
                     CFStringCompareFlags compareOptions) {
    CFRange result = CFRangeMake(kCFNotFound, 0);
    std::u16string_view text = cf::string_view(theString);
    if (!cf::find(text, cf::string_view(stringToFind),
                  CFRangeMake(0, static_cast<CFIndex>(text.size())), compareOptions, &result))
        return CFRangeMake(kCFNotFound, 0);
    return result;
}

Boolean CFStringHasPrefix(CFStringRef theString, CFStringRef prefix) {
    std::u16string_view p = cf::string_view(prefix);
    return !p.empty() && cf::string_view(theString).starts_with(p);
}

Boolean CFStringHasSuffix(CFStringRef theString, CFStringRef suffix) {
    std::u16string_view s = cf::string_view(suffix);
    return !s.empty() && cf::string_view(theString).ends_with(s);
}

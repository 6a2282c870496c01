// Editing mutable strings: appending, inserting, replacing, trimming,
// padding, case mapping and normalisation (the last two through ICU).
#include "CFStringInternal.h"
#include <CoreFoundation/CFDiagnostics.h>

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <cstring>
#include <vector>

namespace {

// A copy of the characters: the source may be the string being edited.
std::u16string copy_of(CFStringRef str) {
    return std::u16string(cf::string_view(str));
}

bool range_in(const OpaqueCFString* s, CFRange range, const char* function) {
    if (range.location >= 0 && range.length >= 0 && range.location + range.length <= s->length())
        return true;
    cf::report(function, "range {%ld, %ld} out of bounds for a string of length %ld",
               range.location, range.length, s->length());
    return false;
}

using CaseMapper = int32_t (*)(UChar*, int32_t, const UChar*, int32_t, const char*, UErrorCode*);

void map_case(CFMutableStringRef theString, CFLocaleRef locale, CaseMapper mapper,
              const char* function) {
    OpaqueCFString* s = cf::mutable_string(theString, function);
    if (s == nullptr || s->text.empty())
        return;
    std::string id = cf::locale_identifier(locale);
    std::u16string out(s->text.size() + 16, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t n = mapper(out.data(), static_cast<int32_t>(out.size()), s->text.data(),
                       static_cast<int32_t>(s->text.size()), id.c_str(), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        out.assign(static_cast<size_t>(n), u'\0');
        status = U_ZERO_ERROR;
        n = mapper(out.data(), n, s->text.data(), static_cast<int32_t>(s->text.size()), id.c_str(),
                   &status);
    }
    if (U_FAILURE(status)) {
        cf::report(function, "%s", u_errorName(status));
        return;
    }
    out.resize(static_cast<size_t>(n));
    s->text = std::move(out);
}

int32_t to_title(UChar* dest, int32_t capacity, const UChar* src, int32_t length,
                 const char* locale, UErrorCode* status) {
    return u_strToTitle(dest, capacity, src, length, nullptr, locale, status);
}

} // namespace

void CFStringAppend(CFMutableStringRef theString, CFStringRef appendedString) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    if (s != nullptr && cf::check_type(appendedString, cf::string_type_id(), __func__))
        s->text += copy_of(appendedString);
}

void CFStringAppendCharacters(CFMutableStringRef theString, const UniChar* chars,
                              CFIndex numChars) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    if (s != nullptr && chars != nullptr && numChars > 0)
        s->text.append(reinterpret_cast<const char16_t*>(chars), static_cast<size_t>(numChars));
}

void CFStringAppendCString(CFMutableStringRef theString, const char* cStr,
                           CFStringEncoding encoding) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    if (s == nullptr || cStr == nullptr)
        return;
    auto text = cf::decode(reinterpret_cast<const UInt8*>(cStr),
                           static_cast<CFIndex>(std::strlen(cStr)), encoding, false);
    if (!text) {
        cf::report(__func__, "the bytes are not valid in encoding 0x%x; nothing appended",
                   static_cast<unsigned>(encoding));
        return;
    }
    s->text += *text;
}

void CFStringAppendPascalString(CFMutableStringRef theString, ConstStr255Param pStr,
                                CFStringEncoding encoding) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    if (s == nullptr || pStr == nullptr)
        return;
    auto text = cf::decode(pStr + 1, pStr[0], encoding, false);
    if (!text) {
        cf::report(__func__, "the bytes are not valid in encoding 0x%x; nothing appended",
                   static_cast<unsigned>(encoding));
        return;
    }
    s->text += *text;
}

void CFStringInsert(CFMutableStringRef str, CFIndex idx, CFStringRef insertedStr) {
    OpaqueCFString* s = cf::mutable_string(str, __func__);
    if (s == nullptr || !cf::check_type(insertedStr, cf::string_type_id(), __func__) ||
        !range_in(s, CFRangeMake(idx, 0), __func__))
        return;
    s->text.insert(static_cast<size_t>(idx), copy_of(insertedStr));
}

void CFStringDelete(CFMutableStringRef theString, CFRange range) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    if (s != nullptr && range_in(s, range, __func__))
        s->text.erase(static_cast<size_t>(range.location), static_cast<size_t>(range.length));
}

void CFStringReplace(CFMutableStringRef theString, CFRange range, CFStringRef replacement) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    if (s == nullptr || !cf::check_type(replacement, cf::string_type_id(), __func__) ||
        !range_in(s, range, __func__))
        return;
    s->text.replace(static_cast<size_t>(range.location), static_cast<size_t>(range.length),
                    copy_of(replacement));
}

void CFStringReplaceAll(CFMutableStringRef theString, CFStringRef replacement) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    if (s != nullptr && cf::check_type(replacement, cf::string_type_id(), __func__))
        s->text = copy_of(replacement);
}

CFIndex CFStringFindAndReplace(CFMutableStringRef theString, CFStringRef stringToFind,
                               CFStringRef replacementString, CFRange rangeToSearch,
                               CFStringCompareFlags compareOptions) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    if (s == nullptr || !cf::check_type(stringToFind, cf::string_type_id(), __func__) ||
        !cf::check_type(replacementString, cf::string_type_id(), __func__) ||
        !range_in(s, rangeToSearch, __func__))
        return 0;
    std::u16string needle = copy_of(stringToFind), replacement = copy_of(replacementString);
    // Find every match left to right (matches never overlap), then replace from
    // the end so that earlier ranges stay valid.
    std::vector<CFRange> matches;
    CFStringCompareFlags flags = compareOptions & ~static_cast<CFOptionFlags>(kCFCompareBackwards);
    CFRange rest = rangeToSearch, found;
    while (rest.length > 0 && cf::find(s->view(), needle, rest, flags, &found)) {
        matches.push_back(found);
        CFIndex end = found.location + found.length;
        rest = CFRangeMake(end, rangeToSearch.location + rangeToSearch.length - end);
        if (flags & kCFCompareAnchored)
            break;
    }
    for (auto it = matches.rbegin(); it != matches.rend(); ++it)
        s->text.replace(static_cast<size_t>(it->location), static_cast<size_t>(it->length),
                        replacement);
    return static_cast<CFIndex>(matches.size());
}

void CFStringPad(CFMutableStringRef theString, CFStringRef padString, CFIndex length,
                 CFIndex indexIntoPad) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    if (s == nullptr || length < 0)
        return;
    if (length <= s->length()) {
        s->text.resize(static_cast<size_t>(length));
        return;
    }
    std::u16string pad = copy_of(padString);
    if (pad.empty() || indexIntoPad < 0 || indexIntoPad >= static_cast<CFIndex>(pad.size())) {
        cf::report(__func__, "no pad string or index %ld outside it", indexIntoPad);
        return;
    }
    size_t k = static_cast<size_t>(indexIntoPad);
    while (s->length() < length) {
        s->text.push_back(pad[k]);
        k = (k + 1) % pad.size();
    }
}

void CFStringTrim(CFMutableStringRef theString, CFStringRef trimString) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    std::u16string trim = copy_of(trimString);
    if (s == nullptr || trim.empty())
        return;
    size_t start = 0, end = s->text.size();
    while (end - start >= trim.size() && s->text.compare(start, trim.size(), trim) == 0)
        start += trim.size();
    while (end - start >= trim.size() && s->text.compare(end - trim.size(), trim.size(), trim) == 0)
        end -= trim.size();
    s->text = s->text.substr(start, end - start);
}

void CFStringTrimWhitespace(CFMutableStringRef theString) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    if (s == nullptr)
        return;
    size_t start = 0, end = s->text.size();
    while (start < end && u_isUWhiteSpace(s->text[start]))
        ++start;
    while (end > start && u_isUWhiteSpace(s->text[end - 1]))
        --end;
    s->text = s->text.substr(start, end - start);
}

void CFStringLowercase(CFMutableStringRef theString, CFLocaleRef locale) {
    map_case(theString, locale, u_strToLower, __func__);
}

void CFStringUppercase(CFMutableStringRef theString, CFLocaleRef locale) {
    map_case(theString, locale, u_strToUpper, __func__);
}

void CFStringCapitalize(CFMutableStringRef theString, CFLocaleRef locale) {
    map_case(theString, locale, to_title, __func__);
}

void CFStringNormalize(CFMutableStringRef theString, CFStringNormalizationForm theForm) {
    OpaqueCFString* s = cf::mutable_string(theString, __func__);
    if (s == nullptr)
        return;
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* normalizer = nullptr;
    switch (theForm) {
    case kCFStringNormalizationFormD:
        normalizer = unorm2_getNFDInstance(&status);
        break;
    case kCFStringNormalizationFormKD:
        normalizer = unorm2_getNFKDInstance(&status);
        break;
    case kCFStringNormalizationFormC:
        normalizer = unorm2_getNFCInstance(&status);
        break;
    case kCFStringNormalizationFormKC:
        normalizer = unorm2_getNFKCInstance(&status);
        break;
    default:
        cf::report(__func__, "unknown form %ld", theForm);
        return;
    }
    // NFKD can expand a character up to 18 times; ask ICU for the size first.
    int32_t n = unorm2_normalize(normalizer, s->text.data(), static_cast<int32_t>(s->text.size()),
                                 nullptr, 0, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
        return;
    std::u16string out(static_cast<size_t>(n), u'\0');
    status = U_ZERO_ERROR;
    unorm2_normalize(normalizer, s->text.data(), static_cast<int32_t>(s->text.size()), out.data(),
                     n, &status);
    if (U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING)
        s->text = std::move(out);
}

// Localised strings of bundles: strings tables read once per bundle, table
// and language, and the localised info dictionary.
#include "CFBundleInternal.h"
#include "CFStringsFile.h"
#include <CoreFoundation/CFDiagnostics.h>
#include <CoreFoundation/CFHolder.h>

#include <CoreFoundation/CFPropertyList.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace cf {
namespace {

const std::string kDefaultTable = "Localizable";

bool read_file(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream buffer;
    buffer << in.rdbuf();
    bytes = buffer.str();
    return true;
}

// Strings files may also be XML property lists: a dictionary of strings.
bool looks_like_xml(const std::string& bytes) {
    size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    size_t first = bytes.find_first_not_of(" \t\r\n", start);
    return first != std::string::npos && bytes[first] == '<';
}

void add_xml_entries(const std::string& bytes, const std::string& file, StringsMap& out) {
    const Holder<CFDataRef> data(CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                                              static_cast<CFIndex>(bytes.size())));
    CFStringRef error = nullptr;
    const Holder<CFPropertyListRef> held(
        CFPropertyListCreateFromXMLData(nullptr, data.get(), kCFPropertyListImmutable, &error));
    const Holder<CFStringRef> held_error(error);
    CFPropertyListRef plist = held.get();
    if (plist == nullptr || CFGetTypeID(plist) != CFDictionaryGetTypeID()) {
        cf::report("CFBundleCopyLocalizedString", "%s: %s", file.c_str(),
                   error != nullptr ? to_utf8(error).c_str() : "the root is not a dictionary");
    } else {
        CFDictionaryApplyFunction(
            static_cast<CFDictionaryRef>(plist),
            [](const void* key, const void* value, void* context) {
                if (CFGetTypeID(key) != CFStringGetTypeID() ||
                    CFGetTypeID(value) != CFStringGetTypeID())
                    return;
                static_cast<StringsMap*>(context)->insert_or_assign(
                    std::u16string(string_view(static_cast<CFStringRef>(key))),
                    std::u16string(string_view(static_cast<CFStringRef>(value))));
            },
            &out);
    }
}

// Reads one strings file. A malformed one is reported; what came before the
// error still counts.
void add_file_entries(const std::string& file, StringsMap& out) {
    std::string bytes;
    if (!read_file(file, bytes)) {
        cf::report("CFBundleCopyLocalizedString", "%s: cannot be read", file.c_str());
        return;
    }
    if (looks_like_xml(bytes)) {
        add_xml_entries(bytes, file, out);
        return;
    }
    std::vector<StringsEntry> entries;
    std::string error;
    if (!parse_strings_file(bytes, file, entries, error))
        cf::report("CFBundleCopyLocalizedString", "%s", error.c_str());
    for (auto& [key, value] : entries)
        out.insert_or_assign(std::move(key), std::move(value));
}

CFStringRef copy_of(CFStringRef string) {
    return CFStringCreateCopy(nullptr, string);
}

} // namespace

std::shared_ptr<const StringsMap> strings_table(OpaqueCFBundle* bundle, const std::string& table,
                                                const std::string& language) {
    const std::string cache_key = table + '\n' + language;
    auto cached = bundle->tables.find(cache_key);
    if (cached != bundle->tables.end())
        return cached->second;
    auto entries = std::make_shared<StringsMap>();
    for (const std::string& folder : resource_search_folders(bundle, language)) {
        std::string file = folder + "/" + table + ".strings";
        if (is_file(file)) {
            add_file_entries(file, *entries);
            break;
        }
    }
    bundle->tables.emplace(cache_key, entries);
    return entries;
}

void release_localized_info(OpaqueCFBundle* bundle) {
    for (auto& [language, dictionary] : bundle->localized_info)
        CFRelease(dictionary);
    bundle->localized_info.clear();
}

} // namespace cf

using cf::bundle_type_id;

CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value,
                                        CFStringRef tableName) {
    const bool has_value = value != nullptr && CFStringGetLength(value) > 0;
    if (key == nullptr)
        return has_value ? cf::copy_of(value) : CFStringCreateCopy(nullptr, CFSTR(""));
    if (cf::check_type(bundle, bundle_type_id(), __func__)) {
        std::string table = tableName != nullptr ? cf::to_utf8(tableName) : "";
        auto entries = cf::strings_table(bundle, table.empty() ? cf::kDefaultTable : table,
                                         cf::preferred_localization(bundle));
        auto found = entries->find(std::u16string(cf::string_view(key)));
        if (found != entries->end())
            return cf::make_string(nullptr, found->second);
    }
    return cf::copy_of(has_value ? value : key);
}

CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__) || key == nullptr)
        return nullptr;
    CFTypeRef value = CFDictionaryGetValue(bundle->info, key);
    if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID())
        return value;
    const std::string language = cf::preferred_localization(bundle);
    auto entries = cf::strings_table(bundle, "InfoPlist", language);
    auto found = entries->find(std::u16string(cf::string_view(key)));
    if (found == entries->end())
        return value;
    // The localised value must outlive this call: the bundle keeps it.
    CFMutableDictionaryRef& localized = bundle->localized_info[language];
    if (localized == nullptr)
        localized = CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                              &kCFTypeDictionaryValueCallBacks);
    if (CFTypeRef kept = CFDictionaryGetValue(localized, key))
        return kept;
    const cf::Holder<CFStringRef> text(cf::make_string(nullptr, found->second));
    CFDictionarySetValue(localized, key, text.get());
    return text.get(); // the dictionary keeps it
}

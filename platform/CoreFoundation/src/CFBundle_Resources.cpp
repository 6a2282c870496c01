// Bundle resources: localizations and the search for resource files.
#include "CFBundleInternal.h"
#include "CFStringsFile.h"
#include <CoreFoundation/CFHolder.h>

#include <algorithm>
#include <dirent.h>
#include <set>

namespace cf {
namespace {

const std::string kLprojSuffix = ".lproj";

bool ends_with(const std::string& text, const std::string& suffix) {
    return text.size() > suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<std::string> folder_entries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            names.emplace_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> strings_of_array(CFArrayRef array) {
    std::vector<std::string> out;
    if (array == nullptr || CFGetTypeID(array) != CFArrayGetTypeID())
        return out;
    for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
        CFTypeRef item = CFArrayGetValueAtIndex(array, i);
        if (item != nullptr && CFGetTypeID(item) == CFStringGetTypeID())
            out.push_back(to_utf8(static_cast<CFStringRef>(item)));
    }
    return out;
}

CFArrayRef array_of_strings(const std::vector<std::string>& items) {
    CFMutableArrayRef array = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    for (const std::string& item : items) {
        const Holder<CFStringRef> string(string_from_utf8(item));
        CFArrayAppendValue(array, string.get());
    }
    return array;
}

// The first file called `file_name` (or, with an empty name, ending in
// `.type`) in the search folders, each with the subfolder appended.
std::string find_resource(const std::vector<std::string>& folders, const std::string& subfolder,
                          const std::string& file_name, const std::string& type) {
    for (const std::string& base : folders) {
        std::string folder = subfolder.empty() ? base : base + "/" + subfolder;
        if (!file_name.empty()) {
            std::string path = folder + "/" + file_name;
            if (is_file(path) || is_directory(path))
                return path;
            continue;
        }
        for (const std::string& entry : folder_entries(folder))
            if (ends_with(entry, "." + type))
                return folder + "/" + entry;
    }
    return "";
}

} // namespace

std::vector<std::string> read_localizations(const OpaqueCFBundle* bundle) {
    std::set<std::string> names;
    for (const std::string& entry : folder_entries(resources_path(bundle)))
        if (ends_with(entry, kLprojSuffix))
            names.insert(entry.substr(0, entry.size() - kLprojSuffix.size()));
    auto declared =
        static_cast<CFArrayRef>(CFDictionaryGetValue(bundle->info, kCFBundleLocalizationsKey));
    for (const std::string& name : strings_of_array(declared))
        names.insert(name);
    return {names.begin(), names.end()};
}

std::string preferred_localization(const OpaqueCFBundle* bundle) {
    return choose_localization(bundle->localizations, preferred_languages(),
                               bundle->development_region);
}

std::vector<std::string> resource_search_folders(const OpaqueCFBundle* bundle,
                                                 const std::string& language) {
    const std::string resources = resources_path(bundle);
    std::vector<std::string> folders;
    if (!language.empty())
        folders.push_back(resources + "/" + language + kLprojSuffix);
    const std::string region =
        choose_localization(bundle->localizations, {}, bundle->development_region);
    if (!region.empty() && region != language)
        folders.push_back(resources + "/" + region + kLprojSuffix);
    folders.push_back(resources);
    return folders;
}

} // namespace cf

using cf::bundle_type_id;

CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                 CFStringRef resourceType, CFStringRef subDirName) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return nullptr;
    const std::string name = resourceName != nullptr ? cf::to_utf8(resourceName) : "";
    const std::string type = resourceType != nullptr ? cf::to_utf8(resourceType) : "";
    if (name.empty() && type.empty())
        return nullptr;
    std::string file_name = name;
    if (!name.empty() && !type.empty())
        file_name += "." + type;
    const std::string subfolder = subDirName != nullptr ? cf::to_utf8(subDirName) : "";
    std::string path =
        cf::find_resource(cf::resource_search_folders(bundle, cf::preferred_localization(bundle)),
                          subfolder, file_name, type);
    return path.empty() ? nullptr : cf::url_for_path(path, cf::is_directory(path));
}

CFArrayRef CFBundleCopyBundleLocalizations(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return nullptr;
    return cf::array_of_strings(bundle->localizations);
}

CFArrayRef CFBundleCopyPreferredLocalizationsFromArray(CFArrayRef locArray) {
    std::vector<std::string> available = cf::strings_of_array(locArray);
    std::string chosen = cf::choose_localization(available, cf::preferred_languages(), "");
    if (chosen.empty())
        return cf::array_of_strings({});
    return cf::array_of_strings({chosen});
}

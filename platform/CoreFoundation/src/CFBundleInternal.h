// Internals shared by the bundle and plug-in files: the bundle object and
// the helpers its parts use.
#ifndef COREFOUNDATION_SRC_CFBUNDLEINTERNAL_H
#define COREFOUNDATION_SRC_CFBUNDLEINTERNAL_H

#include <CoreFoundation/CFBundle.h>
#include <CoreFoundation/CFPlugIn.h>
#include <CoreFoundation/CFRuntime.h>

#include "CFStringInternal.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace cf {

// One strings table of one language, as read from its file.
using StringsMap = std::unordered_map<std::u16string, std::u16string>;

} // namespace cf

struct OpaqueCFBundle : cf::Object {
    std::string path;               // the bundle folder, symbolic links resolved
    bool contents_layout = false;   // Contents/... (macOS) rather than flat
    CFDictionaryRef info = nullptr; // owned; never NULL once created
    std::string development_region;
    std::vector<std::string> localizations; // read once, at creation
    std::string last_error;

    void* handle = nullptr; // dlopen handle while the code is loaded

    // Strings tables by table name and language; a table with no file is
    // kept too (empty), so a lookup never goes back to the disk.
    std::map<std::string, std::shared_ptr<const cf::StringsMap>> tables;
    // Info dictionaries localised by InfoPlist.strings, by language; owned.
    std::map<std::string, CFMutableDictionaryRef> localized_info;

    bool is_plugin = false;
    bool load_on_demand = true;
    long instance_count = 0;
    bool unload_pending = false;
};

namespace cf {

CFTypeID bundle_type_id();

// --- Paths and URLs (CFBundle.cpp); strings convert with CFStringInternal.h -------
CFURLRef url_for_path(const std::string& path, bool is_directory); // caller releases
bool path_from_url(CFURLRef url, std::string& path);
bool is_directory(const std::string& path);
bool is_file(const std::string& path);
// A string value of the info dictionary, or "".
std::string info_string(const OpaqueCFBundle* bundle, CFStringRef key);

// --- Layout (CFBundle.cpp) ------------------------------------------------------
std::string support_path(const OpaqueCFBundle* bundle);    // Contents, or the bundle itself
std::string resources_path(const OpaqueCFBundle* bundle);  // Contents/Resources, or the bundle
std::string executable_path(const OpaqueCFBundle* bundle); // "" when there is no executable file

// Keeps `reason` as the bundle's last error and writes it to standard error.
void report_bundle_error(OpaqueCFBundle* bundle, const char* function, const std::string& reason);

// --- Resources (CFBundle_Resources.cpp) ------------------------------------------
std::vector<std::string> read_localizations(const OpaqueCFBundle* bundle);
// The localization the process prefers among the bundle's, or "".
std::string preferred_localization(const OpaqueCFBundle* bundle);
// The folders resources are looked for in, most specific first.
std::vector<std::string> resource_search_folders(const OpaqueCFBundle* bundle,
                                                 const std::string& language);

// --- Strings (CFBundle_Strings.cpp) ----------------------------------------------
std::shared_ptr<const StringsMap> strings_table(OpaqueCFBundle* bundle, const std::string& table,
                                                const std::string& language);
void release_localized_info(OpaqueCFBundle* bundle);

// --- Code (CFBundle_Executable.cpp) ------------------------------------------------
bool load_code(OpaqueCFBundle* bundle, const char* function);
void unload_code(OpaqueCFBundle* bundle);
void* find_symbol(OpaqueCFBundle* bundle, const std::string& name, const char* function);

// --- Plug-ins (CFPlugIn.cpp) ---------------------------------------------------------
// Registers the factories and types that the Info.plist declares.
void register_plugin(OpaqueCFBundle* bundle);
// Unloads the plug-ins whose last instance went away (see CFPlugIn.h).
void run_pending_unloads();
// The bundle's code is going: forget function pointers found in it.
void forget_factory_functions(const OpaqueCFBundle* bundle);

} // namespace cf

#endif // COREFOUNDATION_SRC_CFBUNDLEINTERNAL_H

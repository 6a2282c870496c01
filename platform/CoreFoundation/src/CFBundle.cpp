// Bundles: the object, the per-process registry, creation with the
// Info.plist, and the folder layout.
#include "CFBundleInternal.h"
#include <CoreFoundation/CFDiagnostics.h>
#include <CoreFoundation/CFHolder.h>

#include <CoreFoundation/CFPropertyList.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

const CFStringRef kCFBundleInfoDictionaryVersionKey = CFSTR("CFBundleInfoDictionaryVersion");
const CFStringRef kCFBundleExecutableKey = CFSTR("CFBundleExecutable");
const CFStringRef kCFBundleIdentifierKey = CFSTR("CFBundleIdentifier");
const CFStringRef kCFBundleVersionKey = CFSTR("CFBundleVersion");
const CFStringRef kCFBundleDevelopmentRegionKey = CFSTR("CFBundleDevelopmentRegion");
const CFStringRef kCFBundleNameKey = CFSTR("CFBundleName");
const CFStringRef kCFBundleLocalizationsKey = CFSTR("CFBundleLocalizations");

namespace cf {
namespace {

void finalize_bundle(CFTypeRef obj);

const ClassDescriptor kBundleClass = {"CFBundle", finalize_bundle, nullptr, nullptr, nullptr};

// Every bundle of the process by folder. The registry does not retain them,
// except the main bundle, which lives for the whole process.
std::map<std::string, OpaqueCFBundle*>& registry() {
    static auto* bundles = new std::map<std::string, OpaqueCFBundle*>;
    return *bundles;
}

void finalize_bundle(CFTypeRef obj) {
    auto* bundle = static_cast<OpaqueCFBundle*>(const_cast<void*>(obj));
    registry().erase(bundle->path);
    release_localized_info(bundle);
    if (bundle->info != nullptr)
        CFRelease(bundle->info);
    destroy<OpaqueCFBundle>(obj);
}

CFDictionaryRef empty_dictionary() {
    return CFDictionaryCreate(nullptr, nullptr, nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                              &kCFTypeDictionaryValueCallBacks);
}

// The Info.plist as a dictionary; an empty one (and a reported error) when it
// is unreadable or malformed, an empty one silently when there is none.
CFDictionaryRef read_info(OpaqueCFBundle* bundle, const std::string& file) {
    if (!is_file(file))
        return empty_dictionary();
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    const Holder<CFDataRef> data(CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(text.data()),
                                              static_cast<CFIndex>(text.size())));
    CFStringRef error = nullptr;
    Holder<CFPropertyListRef> plist(
        CFPropertyListCreateFromXMLData(nullptr, data.get(), kCFPropertyListImmutable, &error));
    const Holder<CFStringRef> held_error(error);
    if (plist && CFGetTypeID(plist.get()) == CFDictionaryGetTypeID())
        return static_cast<CFDictionaryRef>(plist.release());
    std::string reason = error != nullptr ? to_utf8(error) : "the root is not a dictionary";
    report_bundle_error(bundle, "CFBundleCreate", file + ": " + reason);
    return empty_dictionary();
}

OpaqueCFBundle* make_bundle(CFAllocatorRef allocator, const std::string& path) {
    auto* bundle = create<OpaqueCFBundle>(allocator, bundle_type_id());
    if (bundle == nullptr)
        return nullptr;
    bundle->path = path;
    // The Contents folder decides the layout; a flat bundle has Info.plist on top.
    bundle->contents_layout = is_directory(path + "/Contents") || !is_file(path + "/Info.plist");
    bundle->info = read_info(bundle, support_path(bundle) + "/Info.plist");
    bundle->development_region = info_string(bundle, kCFBundleDevelopmentRegionKey);
    bundle->localizations = read_localizations(bundle);
    registry()[path] = bundle;
    register_plugin(bundle);
    return bundle;
}

std::string real_path(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return "";
    std::string out(resolved);
    std::free(resolved);
    return out;
}

// The folder of the running program, or X.app for X.app/Contents/MacOS/x.
std::string main_bundle_path() {
    std::string executable = real_path("/proc/self/exe");
    std::string folder = executable.substr(0, executable.rfind('/'));
    const std::string suffix = "/Contents/MacOS";
    if (folder.size() > suffix.size() &&
        folder.compare(folder.size() - suffix.size(), suffix.size(), suffix) == 0)
        return folder.substr(0, folder.size() - suffix.size());
    return folder.empty() ? "/" : folder;
}

} // namespace

CFTypeID bundle_type_id() {
    static CFTypeID id = register_class(&kBundleClass);
    return id;
}

CFURLRef url_for_path(const std::string& path, bool directory) {
    return CFURLCreateFromFileSystemRepresentation(nullptr,
                                                   reinterpret_cast<const UInt8*>(path.data()),
                                                   static_cast<CFIndex>(path.size()), directory);
}

bool path_from_url(CFURLRef url, std::string& path) {
    UInt8 buffer[PATH_MAX];
    if (url == nullptr || !CFURLGetFileSystemRepresentation(url, true, buffer, sizeof(buffer)))
        return false;
    path = reinterpret_cast<const char*>(buffer);
    return true;
}

bool is_directory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool is_file(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string info_string(const OpaqueCFBundle* bundle, CFStringRef key) {
    CFTypeRef value = CFDictionaryGetValue(bundle->info, key);
    if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID())
        return "";
    return to_utf8(static_cast<CFStringRef>(value));
}

std::string support_path(const OpaqueCFBundle* bundle) {
    return bundle->contents_layout ? bundle->path + "/Contents" : bundle->path;
}

std::string resources_path(const OpaqueCFBundle* bundle) {
    return bundle->contents_layout ? bundle->path + "/Contents/Resources" : bundle->path;
}

std::string executable_path(const OpaqueCFBundle* bundle) {
    std::string name = info_string(bundle, kCFBundleExecutableKey);
    if (name.empty()) {
        // Without the key, the executable is named after the bundle.
        std::string leaf = bundle->path.substr(bundle->path.rfind('/') + 1);
        name = leaf.substr(0, leaf.rfind('.'));
    }
    std::string file = bundle->contents_layout ? bundle->path + "/Contents/MacOS/" + name
                                               : bundle->path + "/" + name;
    return is_file(file) ? file : "";
}

void report_bundle_error(OpaqueCFBundle* bundle, const char* function, const std::string& reason) {
    bundle->last_error = reason;
    cf::report(function, "bundle %s: %s", bundle->path.c_str(), reason.c_str());
}

} // namespace cf

using cf::bundle_type_id;

CFTypeID CFBundleGetTypeID(void) {
    return bundle_type_id();
}

CFBundleRef CFBundleCreate(CFAllocatorRef allocator, CFURLRef bundleURL) {
    std::string path;
    if (!cf::path_from_url(bundleURL, path))
        return nullptr;
    path = cf::real_path(path);
    if (path.empty() || !cf::is_directory(path))
        return nullptr;
    cf::run_pending_unloads();
    auto found = cf::registry().find(path);
    if (found != cf::registry().end())
        return static_cast<CFBundleRef>(const_cast<void*>(CFRetain(found->second)));
    return cf::make_bundle(allocator, path);
}

CFBundleRef CFBundleGetMainBundle(void) {
    static CFBundleRef main_bundle = [] {
        std::string path = cf::main_bundle_path();
        auto found = cf::registry().find(path);
        if (found != cf::registry().end())
            return static_cast<CFBundleRef>(const_cast<void*>(CFRetain(found->second)));
        return cf::make_bundle(nullptr, path);
    }();
    return main_bundle;
}

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID) {
    if (bundleID == nullptr)
        return nullptr;
    for (const auto& [path, bundle] : cf::registry()) {
        CFTypeRef id = CFDictionaryGetValue(bundle->info, kCFBundleIdentifierKey);
        if (id != nullptr && CFEqual(id, bundleID))
            return bundle;
    }
    return nullptr;
}

CFArrayRef CFBundleGetAllBundles(void) {
    // One array for the process, refilled on each call; it does not retain.
    static auto* all = CFArrayCreateMutable(nullptr, 0, nullptr);
    CFArrayRemoveAllValues(all);
    for (const auto& [path, bundle] : cf::registry())
        CFArrayAppendValue(all, bundle);
    return all;
}

CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return nullptr;
    return cf::url_for_path(bundle->path, true);
}

CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return nullptr;
    return bundle->info;
}

CFStringRef CFBundleGetIdentifier(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return nullptr;
    CFTypeRef id = CFDictionaryGetValue(bundle->info, kCFBundleIdentifierKey);
    return id != nullptr && CFGetTypeID(id) == CFStringGetTypeID() ? static_cast<CFStringRef>(id)
                                                                   : nullptr;
}

CFStringRef CFBundleGetDevelopmentRegion(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return nullptr;
    CFTypeRef region = CFDictionaryGetValue(bundle->info, kCFBundleDevelopmentRegionKey);
    return region != nullptr && CFGetTypeID(region) == CFStringGetTypeID()
               ? static_cast<CFStringRef>(region)
               : nullptr;
}

CFURLRef CFBundleCopySupportFilesDirectoryURL(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return nullptr;
    return cf::url_for_path(cf::support_path(bundle), true);
}

CFURLRef CFBundleCopyResourcesDirectoryURL(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return nullptr;
    return cf::url_for_path(cf::resources_path(bundle), true);
}

CFURLRef CFBundleCopyBuiltInPlugInsURL(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return nullptr;
    return cf::url_for_path(cf::support_path(bundle) + "/PlugIns", true);
}

CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return nullptr;
    std::string file = cf::executable_path(bundle);
    return file.empty() ? nullptr : cf::url_for_path(file, false);
}

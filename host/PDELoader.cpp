// Loading PDE bundles: every failure names the bundle and the reason, and the others load.
#include "PDELoader.h"

#include "CFText.h"

#include <CoreFoundation/PlatformHost.h>

#include <algorithm>
#include <dirent.h>
#include <filesystem>
#include <set>
#include <system_error>

namespace host {
namespace {

bool is_directory(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool is_file(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// The bundles in a folder, in name order so that the panels come up the same every time.
std::vector<std::string> bundles_in(const std::string& folder) {
    std::vector<std::string> found;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return found;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() > 7 && name.compare(name.size() - 7, 7, ".plugin") == 0 &&
            is_directory(folder + "/" + name))
            found.push_back(folder + "/" + name);
    }
    closedir(dir);
    std::sort(found.begin(), found.end());
    return found;
}

cf::Holder<CFURLRef> url_for(const std::string& path, bool directory) {
    return cf::Holder<CFURLRef>(CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.c_str()), static_cast<CFIndex>(path.size()),
        directory));
}

// Parses the bundle's Info.plist to give a reason that names the line when it is malformed.
std::string info_plist_problem(const std::string& bundlePath) {
    std::string path = bundlePath + "/Contents/Info.plist";
    if (!is_file(path))
        return "Contents/Info.plist is missing";
    cf::Holder<CFURLRef> url = url_for(path, false);
    CFDataRef bytes = nullptr;
    SInt32 error = 0;
    const bool read = CFURLCreateDataAndPropertiesFromResource(nullptr, url.get(), &bytes, nullptr,
                                                               nullptr, &error);
    const cf::Holder<CFDataRef> data(bytes);
    if (!read)
        return "Contents/Info.plist cannot be read";
    CFStringRef reason = nullptr;
    const cf::Holder<CFPropertyListRef> plist(
        CFPropertyListCreateFromXMLData(nullptr, data.get(), kCFPropertyListImmutable, &reason));
    const cf::Holder<CFStringRef> message(reason);
    if (!plist)
        return "Contents/Info.plist: " + to_utf8(message.get());
    if (CFGetTypeID(plist.get()) != CFDictionaryGetTypeID())
        return "Contents/Info.plist does not hold a dictionary";
    return {};
}

// The factory IDs the bundle registers for the type, with their function names.
struct Factory {
    cf::Holder<CFUUIDRef> id;
    std::string function;
};

std::vector<Factory> factories_for_type(CFBundleRef bundle, CFStringRef typeID) {
    std::vector<Factory> result;
    auto types = static_cast<CFDictionaryRef>(
        CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFPlugInTypes")));
    auto functions = static_cast<CFDictionaryRef>(
        CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFPlugInFactories")));
    if (types == nullptr || CFGetTypeID(types) != CFDictionaryGetTypeID())
        return result;
    CFTypeRef ids = CFDictionaryGetValue(types, typeID);
    if (ids == nullptr || CFGetTypeID(ids) != CFArrayGetTypeID())
        return result;
    auto array = static_cast<CFArrayRef>(ids);
    for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
        auto idString = static_cast<CFStringRef>(CFArrayGetValueAtIndex(array, i));
        if (CFGetTypeID(idString) != CFStringGetTypeID())
            continue;
        Factory factory;
        factory.id.reset(CFUUIDCreateFromString(nullptr, idString));
        if (functions != nullptr && CFGetTypeID(functions) == CFDictionaryGetTypeID()) {
            CFTypeRef name = CFDictionaryGetValue(functions, idString);
            if (name != nullptr && CFGetTypeID(name) == CFStringGetTypeID())
                factory.function = to_utf8(static_cast<CFStringRef>(name));
        }
        if (factory.id)
            result.push_back(std::move(factory));
    }
    return result;
}

std::string version_text(UInt32 major, UInt32 minor) {
    return std::to_string(major) + "." + std::to_string(minor);
}

// Instantiates the PDE through one factory; empty reason on success.
std::string instantiate(LoadedPDE& pde, const Factory& factory, CFUUIDRef type) {
    if (factory.function.empty())
        return "Info.plist names no function for its factory";
    cf::Holder<CFStringRef> name = make_string(factory.function);
    if (CFBundleGetFunctionPointerForName(pde.bundle, name.get()) == nullptr)
        return "the executable has no factory function '" + factory.function + "'";
    auto instance =
        static_cast<IUnknownVTbl**>(CFPlugInInstanceCreate(nullptr, factory.id.get(), type));
    if (instance == nullptr)
        return "the factory '" + factory.function + "' returned no instance";
    pde.instance = instance;
    cf::Holder<CFUUIDRef> pdeID(CFUUIDCreateFromString(nullptr, kDialogExtensionIntfIDStr));
    void* interface = nullptr;
    HRESULT status =
        (*instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(pdeID.get()), &interface);
    if (status != S_OK || interface == nullptr)
        return "the instance does not offer the PDE interface";
    pde.pde = static_cast<PlugInIntf*>(interface);
    auto header = reinterpret_cast<PMPlugInHeaderInterface*>(pde.pde);
    pde.pde->vtable->plugInHeader.GetAPIVersion(header, &pde.version);
    if (pde.version.baseVersionMajor != kPDEBaseVersionMajor)
        return "it speaks PDE API " +
               version_text(pde.version.buildVersionMajor, pde.version.buildVersionMinor) +
               " (base " +
               version_text(pde.version.baseVersionMajor, pde.version.baseVersionMinor) +
               "); this print dialog speaks " +
               version_text(kPDEBuildVersionMajor, kPDEBuildVersionMinor);
    return {};
}

// The plug-in types the print dialog shows, in the order it looks for them.
struct ShownType {
    CFStringRef id;
    bool application;
};

// Why a bundle that registers no shown type is left out: the types it does register.
std::string no_shown_type(CFBundleRef bundle) {
    auto types = static_cast<CFDictionaryRef>(
        CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFPlugInTypes")));
    if (types == nullptr || CFGetTypeID(types) != CFDictionaryGetTypeID() ||
        CFDictionaryGetCount(types) == 0)
        return "its Info.plist registers no plug-in types (CFPlugInTypes)";
    std::vector<const void*> keys(static_cast<size_t>(CFDictionaryGetCount(types)));
    CFDictionaryGetKeysAndValues(types, keys.data(), nullptr);
    std::vector<std::string> names;
    for (const void* key : keys)
        if (CFGetTypeID(key) == CFStringGetTypeID())
            names.push_back(to_utf8(static_cast<CFStringRef>(key)));
    std::sort(names.begin(), names.end());
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name;
    return "it registers no factory for a PDE type the print dialog shows (printer module " +
           to_utf8(kPrinterModuleTypeIDStr) + ", application print dialog " +
           to_utf8(kAppPrintDialogTypeIDStr) + "); it offers " + list;
}

// Loads one bundle. When it is not a PDE of a shown type at all, isPDE is false and the
// reason says why.
std::string load_bundle(const std::string& path, LoadedPDE& pde, bool& isPDE) {
    isPDE = false;
    std::string problem = info_plist_problem(path);
    if (!problem.empty()) {
        isPDE = true; // it looks like one; say why it cannot be used
        return problem;
    }
    cf::Holder<CFURLRef> url = url_for(path, true);
    pde.plugIn = CFPlugInCreate(nullptr, url.get());
    pde.bundle = pde.plugIn != nullptr ? CFPlugInGetBundle(pde.plugIn) : nullptr;
    if (pde.bundle == nullptr)
        return "it is not a bundle";
    CFRetain(pde.bundle);
    const ShownType shown[] = {{kPrinterModuleTypeIDStr, false}, {kAppPrintDialogTypeIDStr, true}};
    std::vector<Factory> factories;
    CFStringRef typeID = nullptr;
    for (const ShownType& candidate : shown) {
        factories = factories_for_type(pde.bundle, candidate.id);
        if (!factories.empty()) {
            typeID = candidate.id;
            pde.application = candidate.application;
            break;
        }
    }
    if (factories.empty())
        return no_shown_type(pde.bundle);
    isPDE = true;
    cf::Holder<CFUUIDRef> type(CFUUIDCreateFromString(nullptr, typeID));
    cf::Holder<CFURLRef> executable(CFBundleCopyExecutableURL(pde.bundle));
    char executablePath[1024] = "";
    if (!executable ||
        !CFURLGetFileSystemRepresentation(executable.get(), true,
                                          reinterpret_cast<UInt8*>(executablePath),
                                          sizeof executablePath) ||
        !is_file(executablePath))
        return "its executable is missing";
    if (!CFBundleLoadExecutable(pde.bundle)) {
        cf::Holder<CFStringRef> why(PlatformCopyBundleLoadError(pde.bundle));
        return "its executable cannot be loaded: " + to_utf8(why.get());
    }
    return instantiate(pde, factories.front(), type.get());
}

} // namespace

void unload_pde(LoadedPDE& pde) {
    if (pde.pde != nullptr) {
        auto header = reinterpret_cast<PMPlugInHeaderInterface*>(pde.pde);
        pde.pde->vtable->plugInHeader.Release(&header);
        pde.pde = nullptr;
    }
    if (pde.instance != nullptr) {
        (*pde.instance)->Release(pde.instance);
        pde.instance = nullptr;
    }
    if (pde.plugIn != nullptr) {
        CFRelease(pde.plugIn);
        pde.plugIn = nullptr;
    }
    if (pde.bundle != nullptr) {
        CFRelease(pde.bundle);
        pde.bundle = nullptr;
    }
}

LoadResult load_pdes(const std::vector<std::string>& folders) {
    LoadResult result;
    std::set<std::string> seen; // real paths: a folder listed twice, or a link, loads once
    for (const std::string& folder : folders) {
        for (const std::string& path : bundles_in(folder)) {
            std::error_code error;
            const std::string real = std::filesystem::canonical(path, error).string();
            if (!seen.insert(error ? path : real).second)
                continue;
            LoadedPDE pde;
            pde.path = path;
            bool isPDE = false;
            std::string reason = load_bundle(path, pde, isPDE);
            if (isPDE && reason.empty()) {
                result.pdes.push_back(pde);
                continue;
            }
            unload_pde(pde);
            (isPDE ? result.failures : result.ignored).push_back({path, reason});
        }
    }
    return result;
}

} // namespace host

// Loading PDE bundles: every failure names the bundle and the reason, and the others load.
#include "PDELoader.h"

#include "CFHolder.h"

#include <CoreFoundation/PlatformHost.h>

#include <algorithm>
#include <dirent.h>
#include <filesystem>
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

CFHolder<CFURLRef> url_for(const std::string& path, bool directory) {
    return CFHolder<CFURLRef>(CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.c_str()), static_cast<CFIndex>(path.size()),
        directory));
}

// Parses the bundle's Info.plist to give a reason that names the line when it is malformed.
std::string info_plist_problem(const std::string& bundlePath) {
    std::string path = bundlePath + "/Contents/Info.plist";
    if (!is_file(path))
        return "Contents/Info.plist is missing";
    CFHolder<CFURLRef> url = url_for(path, false);
    CFHolder<CFDataRef> data;
    SInt32 error = 0;
    if (!CFURLCreateDataAndPropertiesFromResource(nullptr, url.get(), data.out(), nullptr,
                                                  nullptr, &error))
        return "Contents/Info.plist cannot be read";
    CFHolder<CFStringRef> message;
    CFHolder<CFPropertyListRef> plist(CFPropertyListCreateFromXMLData(
        nullptr, data.get(), kCFPropertyListImmutable, message.out()));
    if (!plist)
        return "Contents/Info.plist: " + to_utf8(message.get());
    if (CFGetTypeID(plist.get()) != CFDictionaryGetTypeID())
        return "Contents/Info.plist does not hold a dictionary";
    return {};
}

// The factory IDs the bundle registers for the type, with their function names.
struct Factory {
    CFHolder<CFUUIDRef> id;
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
    CFHolder<CFStringRef> name = make_string(factory.function);
    if (CFBundleGetFunctionPointerForName(pde.bundle, name.get()) == nullptr)
        return "the executable has no factory function '" + factory.function + "'";
    auto instance = static_cast<IUnknownVTbl**>(CFPlugInInstanceCreate(nullptr, factory.id.get(),
                                                                       type));
    if (instance == nullptr)
        return "the factory '" + factory.function + "' returned no instance";
    pde.instance = instance;
    CFHolder<CFUUIDRef> pdeID(
        CFUUIDCreateFromString(nullptr, kDialogExtensionIntfIDStr));
    void* interface = nullptr;
    HRESULT status = (*instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(pdeID.get()),
                                                 &interface);
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

// Loads one bundle; empty reason when it is not a PDE of the wanted type at all.
std::string load_bundle(const std::string& path, LoadedPDE& pde, bool& isPDE) {
    isPDE = false;
    std::string problem = info_plist_problem(path);
    if (!problem.empty()) {
        isPDE = true; // it looks like one; say why it cannot be used
        return problem;
    }
    CFHolder<CFURLRef> url = url_for(path, true);
    pde.plugIn = CFPlugInCreate(nullptr, url.get());
    pde.bundle = pde.plugIn != nullptr ? CFPlugInGetBundle(pde.plugIn) : nullptr;
    if (pde.bundle == nullptr)
        return "it is not a bundle";
    CFRetain(pde.bundle);
    CFHolder<CFUUIDRef> type(CFUUIDCreateFromString(nullptr, kPrinterModuleTypeIDStr));
    std::vector<Factory> factories = factories_for_type(pde.bundle, kPrinterModuleTypeIDStr);
    if (factories.empty())
        return {};
    isPDE = true;
    CFHolder<CFURLRef> executable(CFBundleCopyExecutableURL(pde.bundle));
    char executablePath[1024] = "";
    if (!executable || !CFURLGetFileSystemRepresentation(executable.get(), true,
                                                         reinterpret_cast<UInt8*>(executablePath),
                                                         sizeof executablePath) ||
        !is_file(executablePath))
        return "its executable is missing";
    if (!CFBundleLoadExecutable(pde.bundle)) {
        CFHolder<CFStringRef> why(PlatformCopyBundleLoadError(pde.bundle));
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
    for (const std::string& folder : folders) {
        for (const std::string& path : bundles_in(folder)) {
            LoadedPDE pde;
            pde.path = path;
            bool isPDE = false;
            std::string reason = load_bundle(path, pde, isPDE);
            if (isPDE && reason.empty()) {
                result.pdes.push_back(pde);
                continue;
            }
            unload_pde(pde);
            if (isPDE)
                result.failures.push_back({path, reason});
        }
    }
    return result;
}

} // namespace host

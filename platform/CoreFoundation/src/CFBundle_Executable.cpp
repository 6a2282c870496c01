// Bundle code: loading the executable with dlopen, finding its symbols and
// unloading it, with the reason kept when something fails.
#include "CFBundleInternal.h"

#include <CoreFoundation/PlatformHost.h>

#include <dlfcn.h>

namespace cf {

bool load_code(OpaqueCFBundle* bundle, const char* function) {
    if (bundle->handle != nullptr)
        return true;
    const std::string file = executable_path(bundle);
    if (file.empty()) {
        std::string name = info_string(bundle, kCFBundleExecutableKey);
        report_bundle_error(bundle, function,
                            name.empty() ? "no executable (the Info.plist names none)"
                                         : "no executable \"" + name + "\" in the bundle");
        return false;
    }
    dlerror();
    // Functions are bound on their first call, as the Mac binds a bundle's code: loading then costs
    // only the data references, and a host pays for what the panel calls.
    bundle->handle = dlopen(file.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (bundle->handle == nullptr) {
        const char* reason = dlerror();
        report_bundle_error(bundle, function, reason != nullptr ? reason : "dlopen failed");
        return false;
    }
    // Loaded code must not lose its bundle: the registry entry now owns one reference.
    CFRetain(bundle);
    return true;
}

void unload_code(OpaqueCFBundle* bundle) {
    if (bundle->handle == nullptr)
        return;
    forget_factory_functions(bundle);
    dlclose(bundle->handle);
    bundle->handle = nullptr;
    CFRelease(bundle);
}

void* find_symbol(OpaqueCFBundle* bundle, const std::string& name, const char* function) {
    if (!load_code(bundle, function))
        return nullptr;
    dlerror();
    return dlsym(bundle->handle, name.c_str());
}

} // namespace cf

using cf::bundle_type_id;

Boolean CFBundleLoadExecutable(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return false;
    return cf::load_code(bundle, __func__);
}

Boolean CFBundleIsExecutableLoaded(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return false;
    return bundle->handle != nullptr;
}

void CFBundleUnloadExecutable(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return;
    if (bundle->instance_count > 0) {
        cf::report_bundle_error(bundle, __func__,
                                "not unloaded: " + std::to_string(bundle->instance_count) +
                                    " plug-in instance(s) still exist");
        return;
    }
    cf::unload_code(bundle);
}

void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__) || functionName == nullptr)
        return nullptr;
    return cf::find_symbol(bundle, cf::to_utf8(functionName), __func__);
}

void* CFBundleGetDataPointerForName(CFBundleRef bundle, CFStringRef symbolName) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__) || symbolName == nullptr)
        return nullptr;
    return cf::find_symbol(bundle, cf::to_utf8(symbolName), __func__);
}

CFStringRef PlatformCopyBundleLoadError(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__) || bundle->last_error.empty())
        return nullptr;
    return cf::string_from_utf8(bundle->last_error);
}

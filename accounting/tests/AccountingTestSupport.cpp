#include "AccountingTestSupport.h"

#include <cstdlib>

namespace testsupport {

CFBundleRef accounting_bundle() {
    static CFBundleRef bundle = [] {
        std::string path =
            std::string(std::getenv("ACCOUNTING_BINARY_DIR")) + "/PlugIns/Accounting.plugin";
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(path.c_str()),
            static_cast<CFIndex>(path.size()), true);
        CFBundleRef created = CFBundleCreate(nullptr, url);
        CFRelease(url);
        if (created != nullptr)
            CFBundleLoadExecutable(created);
        return created;
    }();
    return bundle;
}

Factory accounting_factory() {
    CFBundleRef bundle = accounting_bundle();
    if (bundle == nullptr)
        return nullptr;
    return reinterpret_cast<Factory>(
        CFBundleGetFunctionPointerForName(bundle, CFSTR("AccountingPluginFactory")));
}

CFUUIDRef uuid(CFStringRef text) {
    return CFUUIDCreateFromString(nullptr, text);
}

PlugInIntf* make_pde() {
    CFUUIDRef type = uuid(kPrinterModuleTypeIDStr);
    auto instance = static_cast<IUnknownVTbl**>(accounting_factory()(nullptr, type));
    CFRelease(type);
    if (instance == nullptr)
        return nullptr;
    CFUUIDRef interfaceID = uuid(kDialogExtensionIntfIDStr);
    void* pde = nullptr;
    (*instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(interfaceID), &pde);
    CFRelease(interfaceID);
    (*instance)->Release(instance);
    return static_cast<PlugInIntf*>(pde);
}

void release_pde(PlugInIntf* pde) {
    auto header = reinterpret_cast<PMPlugInHeaderInterface*>(pde);
    pde->vtable->plugInHeader.Release(&header);
}

} // namespace testsupport

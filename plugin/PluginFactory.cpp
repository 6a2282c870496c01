// The factory and the plug-in instance, following the IUnknown conventions of the plug-in
// mechanism: a query for IUnknown adds a reference to the instance, a query for the PDE
// interface makes an independent object.
#include "PluginFactory.h"

#include "PDEInterface.h"
#include "PluginIDs.h"

#include <CoreFoundation/CFHolder.h>
#include <cstdlib>

namespace {

CFUUIDRef create_uuid(CFStringRef text) {
    return CFUUIDCreateFromString(kCFAllocatorDefault, text);
}

ULONG add_ref(void* self) {
    auto* instance = static_cast<PluginInstance*>(self);
    if (instance == nullptr)
        return 0;
    return ++instance->refCount;
}

ULONG release(void* self) {
    auto* instance = static_cast<PluginInstance*>(self);
    if (instance == nullptr || instance->refCount == 0)
        return 0;
    if (--instance->refCount != 0)
        return instance->refCount;
    // Unregistering cannot raise anything on this platform, so the cleanup below always runs.
    CFPlugInRemoveInstanceForFactory(instance->factoryID);
    CFRelease(instance->factoryID);
    instance->factoryID = nullptr;
    std::free(instance);
    return 0;
}

HRESULT query_interface(void* self, REFIID iid, LPVOID* result) {
    const cf::Holder<CFUUIDRef> requested(CFUUIDCreateFromUUIDBytes(kCFAllocatorDefault, iid));
    const cf::Holder<CFUUIDRef> pdeInterface(create_uuid(kDialogExtensionIntfIDStr));
    HRESULT status = S_OK;
    // The base interface is a constant object: never released.
    CFUUIDRef unknown =
        CFUUIDGetConstantUUIDWithBytes(nullptr, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                       0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
    if (CFEqual(requested.get(), unknown)) {
        auto* instance = static_cast<PluginInstance*>(self);
        instance->interface->AddRef(instance);
        *result = instance;
    } else if (CFEqual(requested.get(), pdeInterface.get())) {
        *result = CreatePDEInterface();
    } else {
        *result = nullptr;
        status = E_NOINTERFACE;
    }
    return status;
}

} // namespace

void* AccountingPluginFactory(CFAllocatorRef, CFUUIDRef typeID) {
    CFUUIDRef pluginType = create_uuid(kPrinterModuleTypeIDStr);
    CFUUIDRef factoryID = create_uuid(kAccountingFactoryIDStr);
    PluginInstance* instance = nullptr;
    if (CFEqual(typeID, pluginType)) {
        instance = static_cast<PluginInstance*>(std::calloc(1, sizeof(PluginInstance)));
        if (instance != nullptr) {
            instance->interface = &instance->table;
            instance->table.QueryInterface = query_interface;
            instance->table.AddRef = add_ref;
            instance->table.Release = release;
            instance->factoryID = factoryID;
            instance->refCount = 1;
            CFPlugInAddInstanceForFactory(factoryID);
        }
    }
    CFRelease(pluginType);
    if (instance == nullptr)
        CFRelease(factoryID);
    return instance;
}

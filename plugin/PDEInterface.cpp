// The panel's interface objects. Each query for the PDE interface makes an object of its
// own with a table of its own; objects share nothing and hold no reference to the instance.
#include "PDEInterface.h"

#include "Lifecycle.h"

#include <cstdlib>

namespace {

OSStatus retain(PMPlugInHeaderInterface* object) {
    if (auto* pde = reinterpret_cast<PDEInterface*>(object))
        ++pde->refCount;
    return noErr;
}

// Clears the caller's pointer first: the caller owns no reference afterwards, even when
// others keep the object alive.
OSStatus release(PMPlugInHeaderInterface** objectPtr) {
    if (objectPtr == nullptr)
        return noErr;
    auto* pde = reinterpret_cast<PDEInterface*>(*objectPtr);
    if (pde == nullptr)
        return noErr;
    *objectPtr = nullptr;
    if (--pde->refCount == 0) {
        std::free(pde->table);
        std::free(pde);
    }
    return noErr;
}

OSStatus get_api_version(PMPlugInHeaderInterface*, PMPlugInAPIVersion* version) {
    version->buildVersionMajor = 1;
    version->buildVersionMinor = 0;
    version->baseVersionMajor = 1;
    version->baseVersionMinor = 0;
    return noErr;
}

} // namespace

PDEInterface* CreatePDEInterface(void) {
    auto* pde = static_cast<PDEInterface*>(std::malloc(sizeof(PDEInterface)));
    if (pde == nullptr)
        return nullptr;
    pde->refCount = 1;
    pde->table = static_cast<PDEInterfaceTable*>(std::calloc(1, sizeof(PDEInterfaceTable)));
    if (pde->table == nullptr) {
        std::free(pde);
        return nullptr;
    }
    // The slot order is the print dialog's and is binding.
    PDEInterfaceTable* table = pde->table;
    table->plugInHeader.Retain = retain;
    table->plugInHeader.Release = release;
    table->plugInHeader.GetAPIVersion = get_api_version;
    table->Prolog = AccountingProlog;
    table->Initialize = AccountingInitialize;
    table->Sync = AccountingSyncOperation;
    table->GetSummaryText = AccountingGetSummaryText;
    table->Open = AccountingOpen;
    table->Close = AccountingClose;
    table->Terminate = AccountingTerminate;
    return pde;
}

// The factory and the interface objects, through the built bundle.
#include "AccountingTestSupport.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

struct Instance {
    IUnknownVTbl* interface;
    IUnknownVTbl table;
    CFUUIDRef factoryID;
    UInt32 refCount;
};

TEST(PluginFactory, MakesAnInstanceOnlyForThePrinterModuleType) {
    ASSERT_NE(accounting_factory(), nullptr) << "AccountingPluginFactory not exported";
    CFUUIDRef pdeInterface = uuid(kDialogExtensionIntfIDStr);
    EXPECT_EQ(accounting_factory()(nullptr, pdeInterface), nullptr);
    CFRelease(pdeInterface);

    CFUUIDRef type = uuid(kPrinterModuleTypeIDStr);
    auto* instance = static_cast<Instance*>(accounting_factory()(nullptr, type));
    CFRelease(type);
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->interface, &instance->table) << "the table must sit inline";
    EXPECT_EQ(instance->table._reserved, nullptr);
    EXPECT_EQ(instance->refCount, 1u);

    // IUnknown, built from bytes equal to the constant, returns the same object, counted.
    CFUUIDRef unknown = CFUUIDGetConstantUUIDWithBytes(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0,
                                                       0, 0, 0, 0, 0x46);
    void* result = nullptr;
    EXPECT_EQ(instance->table.QueryInterface(instance, CFUUIDGetUUIDBytes(unknown), &result), S_OK);
    EXPECT_EQ(result, instance);
    EXPECT_EQ(instance->refCount, 2u);

    CFUUIDRef other = uuid(CFSTR("00000000-1111-2222-3333-444444444444"));
    result = instance;
    EXPECT_EQ(instance->table.QueryInterface(instance, CFUUIDGetUUIDBytes(other), &result),
              static_cast<HRESULT>(0x80000004));
    EXPECT_EQ(result, nullptr);
    CFRelease(other);

    // The last release frees the instance, table included: keep the entry points first.
    const auto add_ref = instance->table.AddRef;
    const auto release = instance->table.Release;
    EXPECT_EQ(release(instance), 1u);
    EXPECT_EQ(release(instance), 0u);
    EXPECT_EQ(add_ref(nullptr), 0u);
    EXPECT_EQ(release(nullptr), 0u);
}

TEST(PDEInterface, EachQueryMakesAnIndependentObjectWithTheTenSlots) {
    PlugInIntf* first = make_pde();
    PlugInIntf* second = make_pde();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_NE(first->vtable, second->vtable);
    const PlugInIntfVTable* table = first->vtable;
    for (auto slot :
         {reinterpret_cast<void*>(table->plugInHeader.Retain),
          reinterpret_cast<void*>(table->plugInHeader.Release),
          reinterpret_cast<void*>(table->plugInHeader.GetAPIVersion),
          reinterpret_cast<void*>(table->Prolog), reinterpret_cast<void*>(table->Initialize),
          reinterpret_cast<void*>(table->Sync), reinterpret_cast<void*>(table->GetSummaryText),
          reinterpret_cast<void*>(table->Open), reinterpret_cast<void*>(table->Close),
          reinterpret_cast<void*>(table->Terminate)})
        EXPECT_NE(slot, nullptr);

    PMPlugInAPIVersion version = {9, 9, 9, 9};
    auto header = reinterpret_cast<PMPlugInHeaderInterface*>(first);
    EXPECT_EQ(table->plugInHeader.GetAPIVersion(header, &version), noErr);
    EXPECT_EQ(version.buildVersionMajor, 1u);
    EXPECT_EQ(version.buildVersionMinor, 0u);
    EXPECT_EQ(version.baseVersionMajor, 1u);
    EXPECT_EQ(version.baseVersionMinor, 0u);

    // Release with a count of 2 clears the caller's pointer and leaves the object alive.
    EXPECT_EQ(table->plugInHeader.Retain(header), noErr);
    PMPlugInHeaderInterface* alias = header;
    EXPECT_EQ(table->plugInHeader.Release(&alias), noErr);
    EXPECT_EQ(alias, nullptr);
    EXPECT_EQ(table->plugInHeader.GetAPIVersion(header, &version), noErr);
    PMPlugInHeaderInterface* none = nullptr;
    EXPECT_EQ(table->plugInHeader.Release(&none), noErr);

    release_pde(first);
    // The second object is untouched by the first's release.
    EXPECT_EQ(second->vtable->plugInHeader.GetAPIVersion(
                  reinterpret_cast<PMPlugInHeaderInterface*>(second), &version),
              noErr);
    release_pde(second);
}

} // namespace

#include "BundleTestSupport.h"

using cftest::Owned;
using cftest::utf8;

namespace {

bool contains(CFArrayRef array, CFUUIDRef id) {
    return CFArrayContainsValue(array, CFRangeMake(0, CFArrayGetCount(array)), id);
}

CFPlugInRef create_plugin(const char* name) {
    Owned<CFURLRef> url(cftest::url_of(cftest::fixture(name)));
    return CFPlugInCreate(nullptr, url);
}

// Any call into the plug-in machinery from outside a plug-in carries out pending unloads.
void call_from_outside() {
    Owned<CFUUIDRef> type(cftest::uuid(cftest::kTestType));
    Owned<CFArrayRef> found(CFPlugInFindFactoriesForPlugInType(type));
}

IUnknownVTbl** create_instance(const char* factory) {
    Owned<CFUUIDRef> factory_id(cftest::uuid(factory));
    Owned<CFUUIDRef> type(cftest::uuid(cftest::kTestType));
    return static_cast<IUnknownVTbl**>(CFPlugInInstanceCreate(nullptr, factory_id, type));
}

TEST(CFPlugIn, FactoriesFromInfoPlistAndInstancesThroughIUnknown) {
    Owned<CFPlugInRef> plugin(create_plugin("Good.plugin"));
    ASSERT_NE(plugin.get(), nullptr);
    EXPECT_EQ(CFPlugInGetBundle(plugin), plugin.get());
    EXPECT_EQ(CFBundleGetPlugIn(plugin), plugin.get());
    EXPECT_TRUE(CFPlugInIsLoadOnDemand(plugin));
    Owned<CFUUIDRef> type(cftest::uuid(cftest::kTestType));
    Owned<CFUUIDRef> good(cftest::uuid(cftest::kGoodFactory));
    Owned<CFArrayRef> found(CFPlugInFindFactoriesForPlugInType(type));
    EXPECT_TRUE(contains(found, good));
    Owned<CFArrayRef> none(CFPlugInFindFactoriesForPlugInType(good)); // a factory is no type
    EXPECT_EQ(CFArrayGetCount(none), 0);

    IUnknownVTbl** object = create_instance(cftest::kGoodFactory);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ((*object)->_reserved, nullptr);
    void* again = nullptr;
    EXPECT_EQ((*object)->QueryInterface(object, CFUUIDGetUUIDBytes(IUnknownUUID), &again), S_OK);
    EXPECT_EQ(again, object);
    void* other = &again;
    EXPECT_EQ((*object)->QueryInterface(object, CFUUIDGetUUIDBytes(type), &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ((*object)->Release(object), 1u);
    EXPECT_EQ((*object)->Release(object), 0u);
}

TEST(CFPlugIn, CodeStaysLoadedWhileInstancesLiveAndUnloadsAfterward) {
    Owned<CFPlugInRef> plugin(create_plugin("Good.plugin"));
    cftest::ScopedEnv unloaded("CFTESTPLUGIN_UNLOADED", nullptr);
    IUnknownVTbl** first = create_instance(cftest::kGoodFactory);
    IUnknownVTbl** second = create_instance(cftest::kGoodFactory);
    ASSERT_TRUE(first && second);
    testing::internal::CaptureStderr();
    CFBundleUnloadExecutable(plugin); // refused: instances exist
    EXPECT_NE(testing::internal::GetCapturedStderr().find("still exist"), std::string::npos);
    EXPECT_TRUE(CFBundleIsExecutableLoaded(plugin));
    (*first)->Release(first);
    call_from_outside();
    EXPECT_TRUE(CFBundleIsExecutableLoaded(plugin)); // one instance left
    (*second)->Release(second);
    EXPECT_TRUE(CFBundleIsExecutableLoaded(plugin)); // not from inside the plug-in's Release
    EXPECT_EQ(std::getenv("CFTESTPLUGIN_UNLOADED"), nullptr);
    call_from_outside();
    EXPECT_FALSE(CFBundleIsExecutableLoaded(plugin));
    EXPECT_NE(std::getenv("CFTESTPLUGIN_UNLOADED"), nullptr);     // its unload function ran
    IUnknownVTbl** third = create_instance(cftest::kGoodFactory); // loads again
    ASSERT_NE(third, nullptr);
    (*third)->Release(third);
}

TEST(CFPlugIn, FailuresNameTheReason) {
    Owned<CFPlugInRef> good(create_plugin("Good.plugin"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(create_instance(cftest::kMissingSymbolFactory), nullptr);
    Owned<CFStringRef> reason(PlatformCopyBundleLoadError(good));
    EXPECT_NE(utf8(reason).find("\"MissingFactory\""), std::string::npos) << utf8(reason);

    Owned<CFPlugInRef> no_exec(create_plugin("NoExec.plugin"));
    EXPECT_EQ(create_instance(cftest::kNoExecFactory), nullptr);
    Owned<CFStringRef> missing(PlatformCopyBundleLoadError(no_exec));
    EXPECT_NE(utf8(missing).find("no executable"), std::string::npos) << utf8(missing);

    Owned<CFUUIDRef> factory(cftest::uuid(cftest::kGoodFactory));
    Owned<CFUUIDRef> wrong_type(cftest::uuid(cftest::kGoodFactory));
    EXPECT_EQ(CFPlugInInstanceCreate(nullptr, factory, wrong_type), nullptr);
    EXPECT_EQ(create_instance("00000000-1111-2222-3333-444444444444"), nullptr);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("MissingFactory"), std::string::npos) << said;
    EXPECT_NE(said.find("no factory"), std::string::npos) << said;
}

struct FactoryCall {
    CFAllocatorRef allocator = nullptr;
    CFUUIDRef type = nullptr;
    int calls = 0;
} gCall;

void* recording_factory(CFAllocatorRef allocator, CFUUIDRef type) {
    gCall.allocator = allocator;
    gCall.type = type;
    ++gCall.calls;
    return &gCall;
}

TEST(CFPlugIn, RegistrationByCode) {
    Owned<CFUUIDRef> factory(cftest::uuid("11111111-2222-4333-8444-555555555555"));
    Owned<CFUUIDRef> type(cftest::uuid("66666666-7777-4888-8999-AAAAAAAAAAAA"));
    ASSERT_TRUE(CFPlugInRegisterFactoryFunction(factory, recording_factory));
    EXPECT_FALSE(CFPlugInRegisterFactoryFunction(factory, recording_factory));
    EXPECT_EQ(CFPlugInInstanceCreate(nullptr, factory, type), nullptr); // type not registered
    ASSERT_TRUE(CFPlugInRegisterPlugInType(factory, type));
    EXPECT_EQ(CFPlugInInstanceCreate(kCFAllocatorMalloc, factory, type), &gCall);
    EXPECT_EQ(gCall.allocator, kCFAllocatorMalloc);
    EXPECT_TRUE(CFEqual(gCall.type, type));
    Owned<CFArrayRef> found(CFPlugInFindFactoriesForPlugInType(type));
    EXPECT_EQ(CFArrayGetCount(found), 1);
    EXPECT_TRUE(CFPlugInUnregisterPlugInType(factory, type));
    EXPECT_FALSE(CFPlugInUnregisterPlugInType(factory, type));
    EXPECT_TRUE(CFPlugInUnregisterFactory(factory));
    EXPECT_FALSE(CFPlugInRegisterPlugInType(factory, type));
    EXPECT_EQ(gCall.calls, 1);
}

TEST(CFPlugIn, DynamicRegistrationRunsTheBundlesFunction) {
    Owned<CFPlugInRef> plugin(create_plugin("Dynamic.plugin"));
    ASSERT_NE(plugin.get(), nullptr);
    EXPECT_FALSE(CFPlugInIsLoadOnDemand(plugin));
    EXPECT_TRUE(CFBundleIsExecutableLoaded(plugin));
    Owned<CFUUIDRef> dynamic(cftest::uuid(cftest::kDynamicFactory));
    Owned<CFUUIDRef> type(cftest::uuid(cftest::kTestType));
    Owned<CFArrayRef> found(CFPlugInFindFactoriesForPlugInTypeInPlugIn(type, plugin));
    ASSERT_EQ(CFArrayGetCount(found), 1);
    EXPECT_TRUE(CFEqual(CFArrayGetValueAtIndex(found, 0), dynamic));
    IUnknownVTbl** object = create_instance(cftest::kDynamicFactory);
    ASSERT_NE(object, nullptr);
    (*object)->Release(object);
}

} // namespace

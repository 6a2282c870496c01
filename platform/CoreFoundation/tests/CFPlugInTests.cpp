#include "BundleTestSupport.h"

using cftest::utf8;

namespace {

bool contains(CFArrayRef array, CFUUIDRef id) {
    return CFArrayContainsValue(array, CFRangeMake(0, CFArrayGetCount(array)), id);
}

CFPlugInRef create_plugin(const char* name) {
    cf::Holder<CFURLRef> url(cftest::url_of(cftest::fixture(name)));
    return CFPlugInCreate(nullptr, url.get());
}

// Any call into the plug-in machinery from outside a plug-in carries out pending unloads.
void call_from_outside() {
    cf::Holder<CFUUIDRef> type(cftest::uuid(cftest::kTestType));
    cf::Holder<CFArrayRef> found(CFPlugInFindFactoriesForPlugInType(type.get()));
}

IUnknownVTbl** create_instance(const char* factory) {
    cf::Holder<CFUUIDRef> factory_id(cftest::uuid(factory));
    cf::Holder<CFUUIDRef> type(cftest::uuid(cftest::kTestType));
    return static_cast<IUnknownVTbl**>(
        CFPlugInInstanceCreate(nullptr, factory_id.get(), type.get()));
}

TEST(CFPlugIn, FactoriesFromInfoPlistAndInstancesThroughIUnknown) {
    cf::Holder<CFPlugInRef> plugin(create_plugin("Good.plugin"));
    ASSERT_NE(plugin.get(), nullptr);
    EXPECT_EQ(CFPlugInGetBundle(plugin.get()), plugin.get());
    EXPECT_EQ(CFBundleGetPlugIn(plugin.get()), plugin.get());
    EXPECT_TRUE(CFPlugInIsLoadOnDemand(plugin.get()));
    cf::Holder<CFUUIDRef> type(cftest::uuid(cftest::kTestType));
    cf::Holder<CFUUIDRef> good(cftest::uuid(cftest::kGoodFactory));
    cf::Holder<CFArrayRef> found(CFPlugInFindFactoriesForPlugInType(type.get()));
    EXPECT_TRUE(contains(found.get(), good.get()));
    cf::Holder<CFArrayRef> none(
        CFPlugInFindFactoriesForPlugInType(good.get())); // a factory is no type
    EXPECT_EQ(CFArrayGetCount(none.get()), 0);

    IUnknownVTbl** object = create_instance(cftest::kGoodFactory);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ((*object)->_reserved, nullptr);
    void* again = nullptr;
    EXPECT_EQ((*object)->QueryInterface(object, CFUUIDGetUUIDBytes(IUnknownUUID), &again), S_OK);
    EXPECT_EQ(again, object);
    void* other = &again;
    EXPECT_EQ((*object)->QueryInterface(object, CFUUIDGetUUIDBytes(type.get()), &other),
              E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ((*object)->Release(object), 1u);
    EXPECT_EQ((*object)->Release(object), 0u);
}

TEST(CFPlugIn, CodeStaysLoadedWhileInstancesLiveAndUnloadsAfterward) {
    cf::Holder<CFPlugInRef> plugin(create_plugin("Good.plugin"));
    cftest::ScopedEnv unloaded("CFTESTPLUGIN_UNLOADED", nullptr);
    IUnknownVTbl** first = create_instance(cftest::kGoodFactory);
    IUnknownVTbl** second = create_instance(cftest::kGoodFactory);
    ASSERT_TRUE(first && second);
    testing::internal::CaptureStderr();
    CFBundleUnloadExecutable(plugin.get()); // refused: instances exist
    EXPECT_NE(testing::internal::GetCapturedStderr().find("still exist"), std::string::npos);
    EXPECT_TRUE(CFBundleIsExecutableLoaded(plugin.get()));
    (*first)->Release(first);
    call_from_outside();
    EXPECT_TRUE(CFBundleIsExecutableLoaded(plugin.get())); // one instance left
    (*second)->Release(second);
    EXPECT_TRUE(CFBundleIsExecutableLoaded(plugin.get())); // not from inside the plug-in's Release
    EXPECT_EQ(std::getenv("CFTESTPLUGIN_UNLOADED"), nullptr);
    call_from_outside();
    EXPECT_FALSE(CFBundleIsExecutableLoaded(plugin.get()));
    EXPECT_NE(std::getenv("CFTESTPLUGIN_UNLOADED"), nullptr);     // its unload function ran
    IUnknownVTbl** third = create_instance(cftest::kGoodFactory); // loads again
    ASSERT_NE(third, nullptr);
    (*third)->Release(third);
}

TEST(CFPlugIn, FailuresNameTheReason) {
    cf::Holder<CFPlugInRef> good(create_plugin("Good.plugin"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(create_instance(cftest::kMissingSymbolFactory), nullptr);
    cf::Holder<CFStringRef> reason(PlatformCopyBundleLoadError(good.get()));
    EXPECT_NE(utf8(reason.get()).find("\"MissingFactory\""), std::string::npos)
        << utf8(reason.get());

    cf::Holder<CFPlugInRef> no_exec(create_plugin("NoExec.plugin"));
    EXPECT_EQ(create_instance(cftest::kNoExecFactory), nullptr);
    cf::Holder<CFStringRef> missing(PlatformCopyBundleLoadError(no_exec.get()));
    EXPECT_NE(utf8(missing.get()).find("no executable"), std::string::npos) << utf8(missing.get());

    cf::Holder<CFUUIDRef> factory(cftest::uuid(cftest::kGoodFactory));
    cf::Holder<CFUUIDRef> wrong_type(cftest::uuid(cftest::kGoodFactory));
    EXPECT_EQ(CFPlugInInstanceCreate(nullptr, factory.get(), wrong_type.get()), nullptr);
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
    cf::Holder<CFUUIDRef> factory(cftest::uuid("11111111-2222-4333-8444-555555555555"));
    cf::Holder<CFUUIDRef> type(cftest::uuid("66666666-7777-4888-8999-AAAAAAAAAAAA"));
    ASSERT_TRUE(CFPlugInRegisterFactoryFunction(factory.get(), recording_factory));
    EXPECT_FALSE(CFPlugInRegisterFactoryFunction(factory.get(), recording_factory));
    EXPECT_EQ(CFPlugInInstanceCreate(nullptr, factory.get(), type.get()),
              nullptr); // type not registered
    ASSERT_TRUE(CFPlugInRegisterPlugInType(factory.get(), type.get()));
    EXPECT_EQ(CFPlugInInstanceCreate(kCFAllocatorMalloc, factory.get(), type.get()), &gCall);
    EXPECT_EQ(gCall.allocator, kCFAllocatorMalloc);
    EXPECT_TRUE(CFEqual(gCall.type, type.get()));
    cf::Holder<CFArrayRef> found(CFPlugInFindFactoriesForPlugInType(type.get()));
    EXPECT_EQ(CFArrayGetCount(found.get()), 1);
    EXPECT_TRUE(CFPlugInUnregisterPlugInType(factory.get(), type.get()));
    EXPECT_FALSE(CFPlugInUnregisterPlugInType(factory.get(), type.get()));
    EXPECT_TRUE(CFPlugInUnregisterFactory(factory.get()));
    EXPECT_FALSE(CFPlugInRegisterPlugInType(factory.get(), type.get()));
    EXPECT_EQ(gCall.calls, 1);
}

TEST(CFPlugIn, DynamicRegistrationRunsTheBundlesFunction) {
    cf::Holder<CFPlugInRef> plugin(create_plugin("Dynamic.plugin"));
    ASSERT_NE(plugin.get(), nullptr);
    EXPECT_FALSE(CFPlugInIsLoadOnDemand(plugin.get()));
    EXPECT_TRUE(CFBundleIsExecutableLoaded(plugin.get()));
    cf::Holder<CFUUIDRef> dynamic(cftest::uuid(cftest::kDynamicFactory));
    cf::Holder<CFUUIDRef> type(cftest::uuid(cftest::kTestType));
    cf::Holder<CFArrayRef> found(
        CFPlugInFindFactoriesForPlugInTypeInPlugIn(type.get(), plugin.get()));
    ASSERT_EQ(CFArrayGetCount(found.get()), 1);
    EXPECT_TRUE(CFEqual(CFArrayGetValueAtIndex(found.get(), 0), dynamic.get()));
    IUnknownVTbl** object = create_instance(cftest::kDynamicFactory);
    ASSERT_NE(object, nullptr);
    (*object)->Release(object);
}

} // namespace

#include <CoreFoundation/CFRuntime.h>

#include <gtest/gtest.h>

namespace {

int gFinalized = 0;

struct Probe : cf::Object {
    int value = 0;
    explicit Probe(int v) : value(v) {}
    ~Probe() { ++gFinalized; }
};

const cf::ClassDescriptor kProbeClass = {
    "Probe", cf::destroy<Probe>,
    [](CFTypeRef a, CFTypeRef b) {
        return static_cast<const Probe*>(a)->value == static_cast<const Probe*>(b)->value;
    },
    [](CFTypeRef a) { return static_cast<CFHashCode>(static_cast<const Probe*>(a)->value); },
    nullptr};

CFTypeID probeType() {
    static CFTypeID id = cf::register_class(&kProbeClass);
    return id;
}

TEST(CFRuntime, RetainReleaseFinalizesOnceAtZero) {
    gFinalized = 0;
    Probe* p = cf::create<Probe>(nullptr, probeType(), 7);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(CFGetRetainCount(p), 1);
    EXPECT_EQ(CFRetain(p), p);
    EXPECT_EQ(CFGetRetainCount(p), 2);
    CFRelease(p);
    EXPECT_EQ(gFinalized, 0);
    CFRelease(p);
    EXPECT_EQ(gFinalized, 1);
}

TEST(CFRuntime, EqualAndHashGoThroughTheClassAndRequireTheSameType) {
    Probe* a = cf::create<Probe>(nullptr, probeType(), 3);
    Probe* b = cf::create<Probe>(nullptr, probeType(), 3);
    Probe* c = cf::create<Probe>(nullptr, probeType(), 4);
    EXPECT_TRUE(CFEqual(a, b));
    EXPECT_FALSE(CFEqual(a, c));
    EXPECT_EQ(CFHash(a), CFHash(b));
    EXPECT_FALSE(CFEqual(a, kCFNull));
    EXPECT_FALSE(CFEqual(a, nullptr));
    EXPECT_EQ(CFGetTypeID(a), probeType());
    EXPECT_NE(CFGetTypeID(kCFNull), probeType());
    for (Probe* p : {a, b, c})
        CFRelease(p);
}

TEST(CFRuntime, TypeChecksRejectOtherTypesAndNull) {
    Probe* p = cf::create<Probe>(nullptr, probeType(), 1);
    EXPECT_TRUE(cf::check_type(p, probeType(), "test"));
    EXPECT_FALSE(cf::check_type(kCFNull, probeType(), "test"));
    EXPECT_FALSE(cf::check_type(nullptr, probeType(), "test"));
    EXPECT_EQ(cf::cast<Probe>(kCFNull, probeType()), nullptr);
    EXPECT_EQ(cf::cast<Probe>(p, probeType())->value, 1);
    CFRelease(p);
}

TEST(CFRuntime, ImmortalObjectsIgnoreRetainAndRelease) {
    gFinalized = 0;
    Probe* p = cf::create<Probe>(nullptr, probeType(), 9);
    cf::make_immortal(p);
    CFIndex count = CFGetRetainCount(p);
    CFRelease(p);
    CFRelease(p);
    CFRetain(p);
    EXPECT_EQ(CFGetRetainCount(p), count);
    EXPECT_EQ(gFinalized, 0);
    EXPECT_EQ(CFGetRetainCount(kCFNull), count);
}

TEST(CFAllocator, DefaultAllocatesAndNullAllocatorDoesNot) {
    void* block = CFAllocatorAllocate(kCFAllocatorDefault, 64, 0);
    ASSERT_NE(block, nullptr);
    block = CFAllocatorReallocate(nullptr, block, 128, 0);
    ASSERT_NE(block, nullptr);
    CFAllocatorDeallocate(nullptr, block);
    EXPECT_EQ(CFAllocatorAllocate(kCFAllocatorNull, 64, 0), nullptr);
    EXPECT_EQ(CFAllocatorGetDefault(), kCFAllocatorSystemDefault);
    EXPECT_EQ(CFGetTypeID(kCFAllocatorMalloc), CFAllocatorGetTypeID());
}

} // namespace

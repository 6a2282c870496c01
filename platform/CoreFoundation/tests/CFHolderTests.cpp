#include <CoreFoundation/CFHolder.h>
#include <CoreFoundation/CoreFoundation.h>

#include <gtest/gtest.h>

#include <utility>

namespace {

CFMutableStringRef make_string() {
    return CFStringCreateMutable(nullptr, 0);
}

TEST(CFHolder, AdoptsOrRetainsAndReleasesOnceWhenItGoes) {
    CFMutableStringRef string = make_string();
    {
        const cf::Holder<CFMutableStringRef> adopted(string);
        EXPECT_EQ(CFGetRetainCount(string), 1);
        {
            const auto retained = cf::Holder<CFMutableStringRef>::retaining(string);
            EXPECT_EQ(retained.get(), string);
            EXPECT_EQ(CFGetRetainCount(string), 2);
        }
        EXPECT_EQ(CFGetRetainCount(string), 1);
        CFRetain(string); // kept alive past the holder to see its count
    }
    EXPECT_EQ(CFGetRetainCount(string), 1);
    CFRelease(string);

    const cf::Holder<CFStringRef> empty;
    EXPECT_FALSE(empty);
    EXPECT_FALSE(cf::Holder<CFStringRef>::retaining(nullptr));
}

TEST(CFHolder, MovesHandsOverAndResets) {
    CFMutableStringRef first = make_string();
    CFMutableStringRef second = make_string();
    CFRetain(first);
    CFRetain(second);

    cf::Holder<CFMutableStringRef> a(first);
    cf::Holder<CFMutableStringRef> b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), first);
    EXPECT_EQ(CFGetRetainCount(first), 2); // moving neither retains nor releases

    b.reset(second); // releases what it held
    EXPECT_EQ(CFGetRetainCount(first), 1);
    a = std::move(b);
    EXPECT_EQ(a.get(), second);

    CFMutableStringRef handed = a.release();
    EXPECT_FALSE(a);
    EXPECT_EQ(CFGetRetainCount(second), 2); // the caller owns the reference now
    CFRelease(handed);

    // Assigning a holder of the object already held keeps it alive: the new reference comes in
    // before the old one goes.
    cf::Holder<CFMutableStringRef> c = cf::Holder<CFMutableStringRef>::retaining(first);
    c = cf::Holder<CFMutableStringRef>::retaining(c.get());
    EXPECT_EQ(CFGetRetainCount(first), 2);
    c.reset();
    EXPECT_EQ(CFGetRetainCount(first), 1);
    CFRelease(first);
    CFRelease(second);
}

} // namespace

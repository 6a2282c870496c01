#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFString.h>

#include <CoreFoundation/CFHolder.h>
#include "CFValueSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

CFNumberRef make_number(long value) {
    return CFNumberCreate(nullptr, kCFNumberLongType, &value);
}

CFMutableDictionaryRef make_cf_dictionary() {
    return CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
}

TEST(CFDictionary, KeysMatchByEqualityNotIdentity) {
    cf::Holder<CFMutableDictionaryRef> dict(make_cf_dictionary());
    cf::Holder<CFStringRef> key(cf::make_cfstring("Name"));
    cf::Holder<CFStringRef> same_text(cf::make_cfstring("Name"));
    cf::Holder<CFNumberRef> one(make_number(1));
    double real_one = 1.0;
    cf::Holder<CFNumberRef> one_real(CFNumberCreate(nullptr, kCFNumberDoubleType, &real_one));
    CFDictionarySetValue(dict.get(), key.get(), kCFBooleanTrue);
    CFDictionarySetValue(dict.get(), one.get(), kCFBooleanFalse);

    EXPECT_EQ(CFDictionaryGetValue(dict.get(), same_text.get()), kCFBooleanTrue);
    EXPECT_EQ(CFDictionaryGetValue(dict.get(), one_real.get()), kCFBooleanFalse);
    const void* found = nullptr;
    EXPECT_TRUE(CFDictionaryGetValueIfPresent(dict.get(), one_real.get(), &found));
    EXPECT_EQ(found, kCFBooleanFalse);
    cf::Holder<CFStringRef> other(cf::make_cfstring("Other"));
    EXPECT_FALSE(CFDictionaryGetValueIfPresent(dict.get(), other.get(), &found));
    EXPECT_EQ(CFDictionaryGetCountOfKey(dict.get(), other.get()), 0);
    EXPECT_TRUE(CFDictionaryContainsValue(dict.get(), kCFBooleanFalse));
    EXPECT_EQ(CFDictionaryGetCountOfValue(dict.get(), kCFBooleanTrue), 1);
}

TEST(CFDictionary, AddSetReplaceAndRemove) {
    cf::Holder<CFMutableDictionaryRef> dict(make_cf_dictionary());
    cf::Holder<CFStringRef> key(cf::make_cfstring("k"));
    cf::Holder<CFNumberRef> first(make_number(1));
    cf::Holder<CFNumberRef> second(make_number(2));
    CFDictionaryReplaceValue(dict.get(), key.get(), first.get()); // absent: nothing
    EXPECT_EQ(CFDictionaryGetCount(dict.get()), 0);
    CFDictionaryAddValue(dict.get(), key.get(), first.get());
    CFDictionaryAddValue(dict.get(), key.get(), second.get()); // present: kept
    EXPECT_EQ(CFDictionaryGetValue(dict.get(), key.get()), first.get());
    CFDictionaryReplaceValue(dict.get(), key.get(), second.get());
    EXPECT_EQ(CFDictionaryGetValue(dict.get(), key.get()), second.get());
    EXPECT_EQ(CFGetRetainCount(first.get()), 1);
    EXPECT_EQ(CFGetRetainCount(second.get()), 2);
    CFDictionaryRemoveValue(dict.get(), key.get());
    EXPECT_EQ(CFGetRetainCount(second.get()), 1);
    EXPECT_FALSE(CFDictionaryContainsKey(dict.get(), key.get()));

    cf::Holder<CFDictionaryRef> frozen(CFDictionaryCreateCopy(nullptr, dict.get()));
    CFDictionarySetValue(const_cast<CFMutableDictionaryRef>(frozen.get()), key.get(), first.get());
    EXPECT_EQ(CFDictionaryGetCount(frozen.get()), 0);
    cf::Holder<CFMutableDictionaryRef> limited(CFDictionaryCreateMutable(
        nullptr, 1, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    CFDictionarySetValue(limited.get(), first.get(), first.get());
    CFDictionarySetValue(limited.get(), second.get(), second.get()); // past the capacity
    CFDictionarySetValue(limited.get(), first.get(), second.get());  // replacing is still allowed
    EXPECT_EQ(CFDictionaryGetCount(limited.get()), 1);
    EXPECT_EQ(CFDictionaryGetValue(limited.get(), first.get()), second.get());
}

TEST(CFDictionary, NullCallBacksUseAddresses) {
    cf::Holder<CFMutableDictionaryRef> dict(
        CFDictionaryCreateMutable(nullptr, 0, nullptr, nullptr));
    cf::Holder<CFStringRef> a(cf::make_cfstring("same"));
    cf::Holder<CFStringRef> b(cf::make_cfstring("same"));
    int payload_a = 1, payload_b = 2;
    CFDictionarySetValue(dict.get(), a.get(), &payload_a);
    CFDictionarySetValue(dict.get(), b.get(), &payload_b);
    EXPECT_EQ(CFDictionaryGetCount(dict.get()), 2);
    EXPECT_EQ(CFDictionaryGetValue(dict.get(), b.get()), &payload_b);
    EXPECT_EQ(CFGetRetainCount(a.get()), 1); // not retained
    CFDictionarySetValue(dict.get(), reinterpret_cast<const void*>(42), nullptr);
    const void* value = &payload_a;
    EXPECT_TRUE(
        CFDictionaryGetValueIfPresent(dict.get(), reinterpret_cast<const void*>(42), &value));
    EXPECT_EQ(value, nullptr);
}

TEST(CFDictionary, CopyStringKeysAreNotAffectedByLaterEdits) {
    cf::Holder<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(
        nullptr, 0, &kCFCopyStringDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    cf::Holder<CFStringRef> text(cf::make_cfstring("abc"));
    cf::Holder<CFMutableStringRef> key(CFStringCreateMutableCopy(nullptr, 0, text.get()));
    CFDictionarySetValue(dict.get(), key.get(), kCFBooleanTrue);
    CFStringAppendCString(key.get(), "def", kCFStringEncodingUTF8);
    EXPECT_EQ(CFDictionaryGetValue(dict.get(), text.get()), kCFBooleanTrue);
    EXPECT_FALSE(CFDictionaryContainsKey(dict.get(), key.get()));
}

// Counts how often the equal callback runs, to show lookups are hashed.
int gComparisons = 0;
Boolean counting_equal(const void* a, const void* b) {
    ++gComparisons;
    return a == b;
}
CFHashCode identity_hash(const void* value) {
    return reinterpret_cast<CFHashCode>(value);
}

TEST(CFDictionary, LookupsInALargeTableAreHashedNotScanned) {
    CFDictionaryKeyCallBacks keys = {0, nullptr, nullptr, nullptr, counting_equal, identity_hash};
    cf::Holder<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(nullptr, 0, &keys, nullptr));
    const long n = 20000;
    for (long i = 1; i <= n; ++i)
        CFDictionarySetValue(dict.get(), reinterpret_cast<const void*>(i * 16),
                             reinterpret_cast<const void*>(i));
    ASSERT_EQ(CFDictionaryGetCount(dict.get()), n);
    gComparisons = 0;
    for (long i = 1; i <= n; i += 997)
        EXPECT_EQ(CFDictionaryGetValue(dict.get(), reinterpret_cast<const void*>(i * 16)),
                  reinterpret_cast<const void*>(i));
    EXPECT_LT(gComparisons, 100);

    std::vector<const void*> all_keys(n), all_values(n);
    CFDictionaryGetKeysAndValues(dict.get(), all_keys.data(), all_values.data());
    std::set<long> seen;
    for (long i = 0; i < n; ++i) {
        EXPECT_EQ(reinterpret_cast<long>(all_keys[i]), reinterpret_cast<long>(all_values[i]) * 16);
        seen.insert(reinterpret_cast<long>(all_values[i]));
    }
    EXPECT_EQ(static_cast<long>(seen.size()), n);
}

TEST(CFDictionary, CopiesEqualityAndDescription) {
    cf::Holder<CFMutableDictionaryRef> dict(make_cf_dictionary());
    cf::Holder<CFStringRef> key(cf::make_cfstring("PageCount"));
    cf::Holder<CFNumberRef> value(make_number(12));
    CFDictionarySetValue(dict.get(), key.get(), value.get());
    cf::Holder<CFDictionaryRef> copy(CFDictionaryCreateCopy(nullptr, dict.get()));
    EXPECT_TRUE(CFEqual(dict.get(), copy.get()));
    EXPECT_EQ(CFHash(dict.get()), CFHash(copy.get()));
    CFDictionarySetValue(dict.get(), key.get(), kCFBooleanTrue);
    EXPECT_FALSE(CFEqual(dict.get(), copy.get()));
    EXPECT_EQ(CFDictionaryGetValue(copy.get(), key.get()), value.get());

    std::string text = cf::describe(copy.get());
    EXPECT_NE(text.find("PageCount = <CFNumber"), std::string::npos) << text;
    EXPECT_NE(text.find("value = 12"), std::string::npos) << text;

    int visits = 0;
    CFDictionaryApplyFunction(
        dict.get(), [](const void*, const void*, void* ctx) { ++*static_cast<int*>(ctx); },
        &visits);
    EXPECT_EQ(visits, 1);
    CFDictionaryRemoveAllValues(dict.get());
    EXPECT_EQ(CFGetRetainCount(value.get()), 2); // the copy still holds it
}

} // namespace

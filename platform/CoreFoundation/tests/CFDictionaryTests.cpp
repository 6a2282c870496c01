#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFString.h>

#include "CFOwned.h"
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
    Owned<CFMutableDictionaryRef> dict(make_cf_dictionary());
    Owned<CFStringRef> key(cf::make_cfstring("Name"));
    Owned<CFStringRef> same_text(cf::make_cfstring("Name"));
    Owned<CFNumberRef> one(make_number(1));
    double real_one = 1.0;
    Owned<CFNumberRef> one_real(CFNumberCreate(nullptr, kCFNumberDoubleType, &real_one));
    CFDictionarySetValue(dict, key, kCFBooleanTrue);
    CFDictionarySetValue(dict, one, kCFBooleanFalse);

    EXPECT_EQ(CFDictionaryGetValue(dict, same_text), kCFBooleanTrue);
    EXPECT_EQ(CFDictionaryGetValue(dict, one_real), kCFBooleanFalse);
    const void* found = nullptr;
    EXPECT_TRUE(CFDictionaryGetValueIfPresent(dict, one_real, &found));
    EXPECT_EQ(found, kCFBooleanFalse);
    Owned<CFStringRef> other(cf::make_cfstring("Other"));
    EXPECT_FALSE(CFDictionaryGetValueIfPresent(dict, other, &found));
    EXPECT_EQ(CFDictionaryGetCountOfKey(dict, other), 0);
    EXPECT_TRUE(CFDictionaryContainsValue(dict, kCFBooleanFalse));
    EXPECT_EQ(CFDictionaryGetCountOfValue(dict, kCFBooleanTrue), 1);
}

TEST(CFDictionary, AddSetReplaceAndRemove) {
    Owned<CFMutableDictionaryRef> dict(make_cf_dictionary());
    Owned<CFStringRef> key(cf::make_cfstring("k"));
    Owned<CFNumberRef> first(make_number(1)), second(make_number(2));
    CFDictionaryReplaceValue(dict, key, first); // absent: nothing
    EXPECT_EQ(CFDictionaryGetCount(dict), 0);
    CFDictionaryAddValue(dict, key, first);
    CFDictionaryAddValue(dict, key, second); // present: kept
    EXPECT_EQ(CFDictionaryGetValue(dict, key), first.get());
    CFDictionaryReplaceValue(dict, key, second);
    EXPECT_EQ(CFDictionaryGetValue(dict, key), second.get());
    EXPECT_EQ(CFGetRetainCount(first), 1);
    EXPECT_EQ(CFGetRetainCount(second), 2);
    CFDictionaryRemoveValue(dict, key);
    EXPECT_EQ(CFGetRetainCount(second), 1);
    EXPECT_FALSE(CFDictionaryContainsKey(dict, key));

    Owned<CFDictionaryRef> frozen(CFDictionaryCreateCopy(nullptr, dict));
    CFDictionarySetValue(const_cast<CFMutableDictionaryRef>(frozen.get()), key, first);
    EXPECT_EQ(CFDictionaryGetCount(frozen), 0);
    Owned<CFMutableDictionaryRef> limited(CFDictionaryCreateMutable(
        nullptr, 1, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    CFDictionarySetValue(limited, first, first);
    CFDictionarySetValue(limited, second, second); // past the capacity
    CFDictionarySetValue(limited, first, second);  // replacing is still allowed
    EXPECT_EQ(CFDictionaryGetCount(limited), 1);
    EXPECT_EQ(CFDictionaryGetValue(limited, first), second.get());
}

TEST(CFDictionary, NullCallBacksUseAddresses) {
    Owned<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(nullptr, 0, nullptr, nullptr));
    Owned<CFStringRef> a(cf::make_cfstring("same")), b(cf::make_cfstring("same"));
    int payload_a = 1, payload_b = 2;
    CFDictionarySetValue(dict, a, &payload_a);
    CFDictionarySetValue(dict, b, &payload_b);
    EXPECT_EQ(CFDictionaryGetCount(dict), 2);
    EXPECT_EQ(CFDictionaryGetValue(dict, b), &payload_b);
    EXPECT_EQ(CFGetRetainCount(a), 1); // not retained
    CFDictionarySetValue(dict, reinterpret_cast<const void*>(42), nullptr);
    const void* value = &payload_a;
    EXPECT_TRUE(CFDictionaryGetValueIfPresent(dict, reinterpret_cast<const void*>(42), &value));
    EXPECT_EQ(value, nullptr);
}

TEST(CFDictionary, CopyStringKeysAreNotAffectedByLaterEdits) {
    Owned<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(
        nullptr, 0, &kCFCopyStringDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    Owned<CFStringRef> text(cf::make_cfstring("abc"));
    Owned<CFMutableStringRef> key(CFStringCreateMutableCopy(nullptr, 0, text));
    CFDictionarySetValue(dict, key, kCFBooleanTrue);
    CFStringAppendCString(key, "def", kCFStringEncodingUTF8);
    EXPECT_EQ(CFDictionaryGetValue(dict, text), kCFBooleanTrue);
    EXPECT_FALSE(CFDictionaryContainsKey(dict, key));
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
    Owned<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(nullptr, 0, &keys, nullptr));
    const long n = 20000;
    for (long i = 1; i <= n; ++i)
        CFDictionarySetValue(dict, reinterpret_cast<const void*>(i * 16),
                             reinterpret_cast<const void*>(i));
    ASSERT_EQ(CFDictionaryGetCount(dict), n);
    gComparisons = 0;
    for (long i = 1; i <= n; i += 997)
        EXPECT_EQ(CFDictionaryGetValue(dict, reinterpret_cast<const void*>(i * 16)),
                  reinterpret_cast<const void*>(i));
    EXPECT_LT(gComparisons, 100);

    std::vector<const void*> all_keys(n), all_values(n);
    CFDictionaryGetKeysAndValues(dict, all_keys.data(), all_values.data());
    std::set<long> seen;
    for (long i = 0; i < n; ++i) {
        EXPECT_EQ(reinterpret_cast<long>(all_keys[i]), reinterpret_cast<long>(all_values[i]) * 16);
        seen.insert(reinterpret_cast<long>(all_values[i]));
    }
    EXPECT_EQ(static_cast<long>(seen.size()), n);
}

TEST(CFDictionary, CopiesEqualityAndDescription) {
    Owned<CFMutableDictionaryRef> dict(make_cf_dictionary());
    Owned<CFStringRef> key(cf::make_cfstring("PageCount"));
    Owned<CFNumberRef> value(make_number(12));
    CFDictionarySetValue(dict, key, value);
    Owned<CFDictionaryRef> copy(CFDictionaryCreateCopy(nullptr, dict));
    EXPECT_TRUE(CFEqual(dict, copy));
    EXPECT_EQ(CFHash(dict), CFHash(copy));
    CFDictionarySetValue(dict, key, kCFBooleanTrue);
    EXPECT_FALSE(CFEqual(dict, copy));
    EXPECT_EQ(CFDictionaryGetValue(copy, key), value.get());

    std::string text = cf::describe(copy);
    EXPECT_NE(text.find("PageCount = <CFNumber"), std::string::npos) << text;
    EXPECT_NE(text.find("value = 12"), std::string::npos) << text;

    int visits = 0;
    CFDictionaryApplyFunction(
        dict, [](const void*, const void*, void* ctx) { ++*static_cast<int*>(ctx); }, &visits);
    EXPECT_EQ(visits, 1);
    CFDictionaryRemoveAllValues(dict);
    EXPECT_EQ(CFGetRetainCount(value), 2); // the copy still holds it
}

} // namespace

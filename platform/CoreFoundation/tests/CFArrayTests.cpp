#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFNumber.h>

#include "CFOwned.h"
#include "CFValueSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CFNumberRef make_number(int value) {
    return CFNumberCreate(nullptr, kCFNumberIntType, &value);
}

int int_value(const void* number) {
    int value = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(number), kCFNumberIntType, &value);
    return value;
}

std::vector<int> ints(CFArrayRef array) {
    std::vector<int> out;
    for (CFIndex i = 0; i < CFArrayGetCount(array); ++i)
        out.push_back(int_value(CFArrayGetValueAtIndex(array, i)));
    return out;
}

// A mutable array of numbers made from the given ints.
CFMutableArrayRef numbers(std::initializer_list<int> values) {
    CFMutableArrayRef array = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    for (int v : values) {
        CFNumberRef n = make_number(v);
        CFArrayAppendValue(array, n);
        CFRelease(n);
    }
    return array;
}

CFComparisonResult compare_numbers(const void* a, const void* b, void*) {
    return CFNumberCompare(static_cast<CFNumberRef>(a), static_cast<CFNumberRef>(b), nullptr);
}

TEST(CFArray, TypeCallBacksRetainWhileHeld) {
    CFNumberRef n = make_number(7);
    CFArrayRef array =
        CFArrayCreate(nullptr, reinterpret_cast<const void**>(&n), 1, &kCFTypeArrayCallBacks);
    EXPECT_EQ(CFGetRetainCount(n), 2);
    Owned<CFMutableArrayRef> copy(CFArrayCreateMutableCopy(nullptr, 0, array));
    EXPECT_EQ(CFGetRetainCount(n), 3);
    CFRelease(array);
    CFArrayRemoveAllValues(copy);
    EXPECT_EQ(CFGetRetainCount(n), 1);
    // Setting a slot to the value it already holds must not free it on the way.
    CFArrayAppendValue(copy, n);
    CFRelease(n);
    CFArraySetValueAtIndex(copy, 0, CFArrayGetValueAtIndex(copy, 0));
    EXPECT_EQ(int_value(CFArrayGetValueAtIndex(copy, 0)), 7);
}

TEST(CFArray, NullCallBacksHoldRawValuesComparedByAddress) {
    int a = 1, b = 1;
    const void* values[] = {&a, &b, &a};
    Owned<CFArrayRef> array(CFArrayCreate(nullptr, values, 3, nullptr));
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(array, CFRangeMake(0, 3), &b), 1);
    EXPECT_EQ(CFArrayGetLastIndexOfValue(array, CFRangeMake(0, 3), &a), 2);
    EXPECT_EQ(CFArrayGetCountOfValue(array, CFRangeMake(0, 3), &a), 2);
    EXPECT_NE(cf::describe(array).find("count = 3"), std::string::npos);
}

TEST(CFArray, SearchesStayInsideTheirRangeAndUseEquality) {
    Owned<CFMutableArrayRef> array(numbers({4, 8, 4, 15, 4}));
    Owned<CFNumberRef> four(make_number(4)); // equal to, not the same object as, the elements
    EXPECT_TRUE(CFArrayContainsValue(array, CFRangeMake(0, 5), four));
    EXPECT_FALSE(CFArrayContainsValue(array, CFRangeMake(3, 1), four));
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(array, CFRangeMake(1, 4), four), 2);
    EXPECT_EQ(CFArrayGetLastIndexOfValue(array, CFRangeMake(0, 4), four), 2);
    EXPECT_EQ(CFArrayGetCountOfValue(array, CFRangeMake(1, 3), four), 1);
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(array, CFRangeMake(1, 1), four), kCFNotFound);
    // A range past the end is refused rather than read.
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(array, CFRangeMake(3, 5), four), kCFNotFound);
    EXPECT_EQ(CFArrayGetValueAtIndex(array, 5), nullptr);
}

TEST(CFArray, EditingOperations) {
    Owned<CFMutableArrayRef> array(numbers({1, 2, 3}));
    Owned<CFNumberRef> nine(make_number(9));
    CFArrayInsertValueAtIndex(array, 0, nine);
    CFArrayInsertValueAtIndex(array, 4, nine);
    EXPECT_EQ(ints(array), (std::vector<int>{9, 1, 2, 3, 9}));
    CFArrayRemoveValueAtIndex(array, 2);
    CFArrayExchangeValuesAtIndices(array, 0, 1);
    EXPECT_EQ(ints(array), (std::vector<int>{1, 9, 3, 9}));
    const void* replacement[] = {nine.get()};
    CFArrayReplaceValues(array, CFRangeMake(1, 2), replacement, 1);
    EXPECT_EQ(ints(array), (std::vector<int>{1, 9, 9}));
    CFArrayAppendArray(array, array, CFRangeMake(0, 2)); // from itself
    EXPECT_EQ(ints(array), (std::vector<int>{1, 9, 9, 1, 9}));
    CFArraySetValueAtIndex(array, 5, nine); // one past the end appends
    EXPECT_EQ(CFArrayGetCount(array), 6);

    CFArrayRemoveValueAtIndex(array, 6); // out of range: nothing happens
    CFArrayInsertValueAtIndex(array, 8, nine);
    EXPECT_EQ(CFArrayGetCount(array), 6);
    Owned<CFArrayRef> frozen(CFArrayCreateCopy(nullptr, array));
    CFArrayAppendValue(const_cast<CFMutableArrayRef>(frozen.get()), nine);
    EXPECT_EQ(CFArrayGetCount(frozen), 6);
}

TEST(CFArray, StableSortAndBinarySearchInsertionPoints) {
    Owned<CFMutableArrayRef> array(numbers({30, 10, 20, 10, 40}));
    const void* first_ten = CFArrayGetValueAtIndex(array, 1);
    CFArraySortValues(array, CFRangeMake(0, 5), compare_numbers, nullptr);
    EXPECT_EQ(ints(array), (std::vector<int>{10, 10, 20, 30, 40}));
    EXPECT_EQ(CFArrayGetValueAtIndex(array, 0), first_ten);

    auto search = [&](int v) {
        Owned<CFNumberRef> n(make_number(v));
        return CFArrayBSearchValues(array, CFRangeMake(0, 5), n, compare_numbers, nullptr);
    };
    EXPECT_EQ(search(20), 2);
    EXPECT_EQ(search(5), 0);
    EXPECT_EQ(search(25), 3);
    EXPECT_EQ(search(99), 5);

    Owned<CFMutableArrayRef> partly(numbers({9, 3, 2, 1}));
    CFArraySortValues(partly, CFRangeMake(1, 2), compare_numbers, nullptr);
    EXPECT_EQ(ints(partly), (std::vector<int>{9, 2, 3, 1}));
}

TEST(CFArray, ApplyEqualityAndDescription) {
    Owned<CFMutableArrayRef> a(numbers({1, 2, 3, 4}));
    int sum = 0;
    CFArrayApplyFunction(
        a, CFRangeMake(1, 2),
        [](const void* v, void* ctx) { *static_cast<int*>(ctx) += int_value(v); }, &sum);
    EXPECT_EQ(sum, 5);

    Owned<CFMutableArrayRef> b(numbers({1, 2, 3}));
    EXPECT_FALSE(CFEqual(a, b));
    Owned<CFNumberRef> four(make_number(4));
    CFArrayAppendValue(b, four);
    EXPECT_TRUE(CFEqual(a, b));
    EXPECT_EQ(CFHash(a), CFHash(b));

    std::string text = cf::describe(a);
    EXPECT_NE(text.find("count = 4"), std::string::npos) << text;
    EXPECT_NE(text.find("3 : <CFNumber"), std::string::npos) << text;
    EXPECT_NE(text.find("value = 4"), std::string::npos) << text;
}

} // namespace

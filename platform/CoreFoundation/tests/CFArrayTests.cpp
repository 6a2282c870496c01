#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFNumber.h>

#include <CoreFoundation/CFHolder.h>
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
    cf::Holder<CFMutableArrayRef> copy(CFArrayCreateMutableCopy(nullptr, 0, array));
    EXPECT_EQ(CFGetRetainCount(n), 3);
    CFRelease(array);
    CFArrayRemoveAllValues(copy.get());
    EXPECT_EQ(CFGetRetainCount(n), 1);
    // Setting a slot to the value it already holds must not free it on the way.
    CFArrayAppendValue(copy.get(), n);
    CFRelease(n);
    CFArraySetValueAtIndex(copy.get(), 0, CFArrayGetValueAtIndex(copy.get(), 0));
    EXPECT_EQ(int_value(CFArrayGetValueAtIndex(copy.get(), 0)), 7);
}

TEST(CFArray, NullCallBacksHoldRawValuesComparedByAddress) {
    int a = 1, b = 1;
    const void* values[] = {&a, &b, &a};
    cf::Holder<CFArrayRef> array(CFArrayCreate(nullptr, values, 3, nullptr));
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(array.get(), CFRangeMake(0, 3), &b), 1);
    EXPECT_EQ(CFArrayGetLastIndexOfValue(array.get(), CFRangeMake(0, 3), &a), 2);
    EXPECT_EQ(CFArrayGetCountOfValue(array.get(), CFRangeMake(0, 3), &a), 2);
    EXPECT_NE(cf::describe(array.get()).find("count = 3"), std::string::npos);
}

TEST(CFArray, SearchesStayInsideTheirRangeAndUseEquality) {
    cf::Holder<CFMutableArrayRef> array(numbers({4, 8, 4, 15, 4}));
    cf::Holder<CFNumberRef> four(make_number(4)); // equal to, not the same object as, the elements
    EXPECT_TRUE(CFArrayContainsValue(array.get(), CFRangeMake(0, 5), four.get()));
    EXPECT_FALSE(CFArrayContainsValue(array.get(), CFRangeMake(3, 1), four.get()));
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(array.get(), CFRangeMake(1, 4), four.get()), 2);
    EXPECT_EQ(CFArrayGetLastIndexOfValue(array.get(), CFRangeMake(0, 4), four.get()), 2);
    EXPECT_EQ(CFArrayGetCountOfValue(array.get(), CFRangeMake(1, 3), four.get()), 1);
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(array.get(), CFRangeMake(1, 1), four.get()), kCFNotFound);
    // A range past the end is refused rather than read.
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(array.get(), CFRangeMake(3, 5), four.get()), kCFNotFound);
    EXPECT_EQ(CFArrayGetValueAtIndex(array.get(), 5), nullptr);
}

TEST(CFArray, EditingOperations) {
    cf::Holder<CFMutableArrayRef> array(numbers({1, 2, 3}));
    cf::Holder<CFNumberRef> nine(make_number(9));
    CFArrayInsertValueAtIndex(array.get(), 0, nine.get());
    CFArrayInsertValueAtIndex(array.get(), 4, nine.get());
    EXPECT_EQ(ints(array.get()), (std::vector<int>{9, 1, 2, 3, 9}));
    CFArrayRemoveValueAtIndex(array.get(), 2);
    CFArrayExchangeValuesAtIndices(array.get(), 0, 1);
    EXPECT_EQ(ints(array.get()), (std::vector<int>{1, 9, 3, 9}));
    const void* replacement[] = {nine.get()};
    CFArrayReplaceValues(array.get(), CFRangeMake(1, 2), replacement, 1);
    EXPECT_EQ(ints(array.get()), (std::vector<int>{1, 9, 9}));
    CFArrayAppendArray(array.get(), array.get(), CFRangeMake(0, 2)); // from itself
    EXPECT_EQ(ints(array.get()), (std::vector<int>{1, 9, 9, 1, 9}));
    CFArraySetValueAtIndex(array.get(), 5, nine.get()); // one past the end appends
    EXPECT_EQ(CFArrayGetCount(array.get()), 6);

    CFArrayRemoveValueAtIndex(array.get(), 6); // out of range: nothing happens
    CFArrayInsertValueAtIndex(array.get(), 8, nine.get());
    EXPECT_EQ(CFArrayGetCount(array.get()), 6);
    cf::Holder<CFArrayRef> frozen(CFArrayCreateCopy(nullptr, array.get()));
    CFArrayAppendValue(const_cast<CFMutableArrayRef>(frozen.get()), nine.get());
    EXPECT_EQ(CFArrayGetCount(frozen.get()), 6);
}

TEST(CFArray, StableSortAndBinarySearchInsertionPoints) {
    cf::Holder<CFMutableArrayRef> array(numbers({30, 10, 20, 10, 40}));
    const void* first_ten = CFArrayGetValueAtIndex(array.get(), 1);
    CFArraySortValues(array.get(), CFRangeMake(0, 5), compare_numbers, nullptr);
    EXPECT_EQ(ints(array.get()), (std::vector<int>{10, 10, 20, 30, 40}));
    EXPECT_EQ(CFArrayGetValueAtIndex(array.get(), 0), first_ten);

    auto search = [&](int v) {
        cf::Holder<CFNumberRef> n(make_number(v));
        return CFArrayBSearchValues(array.get(), CFRangeMake(0, 5), n.get(), compare_numbers,
                                    nullptr);
    };
    EXPECT_EQ(search(20), 2);
    EXPECT_EQ(search(5), 0);
    EXPECT_EQ(search(25), 3);
    EXPECT_EQ(search(99), 5);

    cf::Holder<CFMutableArrayRef> partly(numbers({9, 3, 2, 1}));
    CFArraySortValues(partly.get(), CFRangeMake(1, 2), compare_numbers, nullptr);
    EXPECT_EQ(ints(partly.get()), (std::vector<int>{9, 2, 3, 1}));
}

TEST(CFArray, ApplyEqualityAndDescription) {
    cf::Holder<CFMutableArrayRef> a(numbers({1, 2, 3, 4}));
    int sum = 0;
    CFArrayApplyFunction(
        a.get(), CFRangeMake(1, 2),
        [](const void* v, void* ctx) { *static_cast<int*>(ctx) += int_value(v); }, &sum);
    EXPECT_EQ(sum, 5);

    cf::Holder<CFMutableArrayRef> b(numbers({1, 2, 3}));
    EXPECT_FALSE(CFEqual(a.get(), b.get()));
    cf::Holder<CFNumberRef> four(make_number(4));
    CFArrayAppendValue(b.get(), four.get());
    EXPECT_TRUE(CFEqual(a.get(), b.get()));
    EXPECT_EQ(CFHash(a.get()), CFHash(b.get()));

    std::string text = cf::describe(a.get());
    EXPECT_NE(text.find("count = 4"), std::string::npos) << text;
    EXPECT_NE(text.find("3 : <CFNumber"), std::string::npos) << text;
    EXPECT_NE(text.find("value = 4"), std::string::npos) << text;
}

} // namespace

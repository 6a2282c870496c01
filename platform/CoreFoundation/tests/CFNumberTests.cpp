#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFString.h>

#include <CoreFoundation/CFHolder.h>
#include "CFValueSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

template <class T> cf::Holder<CFNumberRef> number(CFNumberType type, T value) {
    return cf::Holder<CFNumberRef>(CFNumberCreate(nullptr, type, &value));
}

TEST(CFNumber, CTypesAreStoredAsTheirFixedWidthType) {
    struct Case {
        CFNumberType created, reported;
        CFIndex size;
        bool is_float;
    };
    const Case cases[] = {
        {kCFNumberCharType, kCFNumberSInt8Type, 1, false},
        {kCFNumberShortType, kCFNumberSInt16Type, 2, false},
        {kCFNumberIntType, kCFNumberSInt32Type, 4, false},
        {kCFNumberLongType, kCFNumberSInt64Type, 8, false},
        {kCFNumberCFIndexType, kCFNumberSInt64Type, 8, false},
        {kCFNumberFloatType, kCFNumberFloat32Type, 4, true},
        {kCFNumberCGFloatType, kCFNumberFloat64Type, 8, true},
    };
    long long buffer = 0; // large enough for any type
    for (const Case& c : cases) {
        cf::Holder<CFNumberRef> n(CFNumberCreate(nullptr, c.created, &buffer));
        ASSERT_NE(n.get(), nullptr) << c.created;
        EXPECT_EQ(CFNumberGetType(n.get()), c.reported) << c.created;
        EXPECT_EQ(CFNumberGetByteSize(n.get()), c.size) << c.created;
        EXPECT_EQ(CFNumberIsFloatType(n.get()), c.is_float) << c.created;
    }
    EXPECT_EQ(CFNumberCreate(nullptr, 0, &buffer), nullptr);
    EXPECT_EQ(CFNumberCreate(nullptr, kCFNumberMaxType + 1, &buffer), nullptr);
}

TEST(CFNumber, ExactConversionsReturnTrue) {
    auto n = number<SInt16>(kCFNumberSInt16Type, -1234);
    SInt64 wide = 0;
    double d = 0;
    float f = 0;
    EXPECT_TRUE(CFNumberGetValue(n.get(), kCFNumberSInt64Type, &wide));
    EXPECT_EQ(wide, -1234);
    EXPECT_TRUE(CFNumberGetValue(n.get(), kCFNumberDoubleType, &d));
    EXPECT_EQ(d, -1234.0);
    EXPECT_TRUE(CFNumberGetValue(n.get(), kCFNumberFloat32Type, &f));
    EXPECT_EQ(f, -1234.0f);

    auto whole = number<double>(kCFNumberFloat64Type, 40.0);
    CFIndex index = 0;
    EXPECT_TRUE(CFNumberGetValue(whole.get(), kCFNumberCFIndexType, &index));
    EXPECT_EQ(index, 40);
}

TEST(CFNumber, InexactConversionsReturnFalseButStoreTheConvertedValue) {
    CFIndex index = 0;
    EXPECT_FALSE(CFNumberGetValue(number<double>(kCFNumberDoubleType, 2.75).get(),
                                  kCFNumberCFIndexType, &index));
    EXPECT_EQ(index, 2);
    SInt32 i32 = 0;
    EXPECT_FALSE(CFNumberGetValue(number<float>(kCFNumberFloatType, -7.5f).get(),
                                  kCFNumberSInt32Type, &i32));
    EXPECT_EQ(i32, -7);

    SInt8 small = 0;
    EXPECT_FALSE(
        CFNumberGetValue(number<int>(kCFNumberIntType, 300).get(), kCFNumberSInt8Type, &small));
    EXPECT_EQ(small, 44); // the low byte, as a C cast gives
    SInt64 big = 0;
    EXPECT_FALSE(CFNumberGetValue(number<double>(kCFNumberDoubleType, 1e20).get(),
                                  kCFNumberSInt64Type, &big));
    EXPECT_EQ(big, std::numeric_limits<SInt64>::max());
    EXPECT_FALSE(CFNumberGetValue(kCFNumberNaN, kCFNumberSInt32Type, &i32));

    // Precision lost on the way to floating point.
    double d = 0;
    EXPECT_FALSE(CFNumberGetValue(number<SInt64>(kCFNumberSInt64Type, (1LL << 53) + 1).get(),
                                  kCFNumberFloat64Type, &d));
    EXPECT_EQ(d, 9007199254740992.0);
    float f = 0;
    EXPECT_FALSE(
        CFNumberGetValue(number<double>(kCFNumberDoubleType, 0.1).get(), kCFNumberFloatType, &f));
    EXPECT_EQ(f, 0.1f);
    EXPECT_FALSE(
        CFNumberGetValue(number<double>(kCFNumberDoubleType, 1e300).get(), kCFNumberFloatType, &f));
    EXPECT_TRUE(std::isinf(f));
}

TEST(CFNumber, EqualityAndHashIgnoreTheRepresentation) {
    auto one_int = number<SInt8>(kCFNumberSInt8Type, 1);
    auto one_real = number<double>(kCFNumberFloat64Type, 1.0);
    auto one_float = number<float>(kCFNumberFloat32Type, 1.0f);
    EXPECT_TRUE(CFEqual(one_int.get(), one_real.get()));
    EXPECT_TRUE(CFEqual(one_float.get(), one_int.get()));
    EXPECT_EQ(CFHash(one_int.get()), CFHash(one_real.get()));
    EXPECT_EQ(CFHash(one_float.get()), CFHash(one_real.get()));
    EXPECT_FALSE(CFEqual(one_int.get(), number<double>(kCFNumberDoubleType, 1.5).get()));
    // Converting the integer to double would make these look equal.
    auto precise = number<SInt64>(kCFNumberSInt64Type, (1LL << 53) + 1);
    auto rounded = number<double>(kCFNumberDoubleType, 9007199254740992.0);
    EXPECT_FALSE(CFEqual(precise.get(), rounded.get()));
    EXPECT_EQ(CFNumberCompare(precise.get(), rounded.get(), nullptr), kCFCompareGreaterThan);
}

TEST(CFNumber, CompareOrdersNumbersWithNaNFirstAndInfinitiesAtTheEnds) {
    auto minus = number<int>(kCFNumberIntType, -5);
    auto half = number<double>(kCFNumberDoubleType, 0.5);
    EXPECT_EQ(CFNumberCompare(minus.get(), half.get(), nullptr), kCFCompareLessThan);
    EXPECT_EQ(CFNumberCompare(half.get(), minus.get(), nullptr), kCFCompareGreaterThan);
    EXPECT_EQ(CFNumberCompare(kCFNumberNegativeInfinity, minus.get(), nullptr), kCFCompareLessThan);
    EXPECT_EQ(CFNumberCompare(kCFNumberPositiveInfinity, half.get(), nullptr),
              kCFCompareGreaterThan);
    EXPECT_EQ(CFNumberCompare(kCFNumberNaN, kCFNumberNegativeInfinity, nullptr),
              kCFCompareLessThan);
    auto other_nan = number<double>(kCFNumberDoubleType, std::nan(""));
    EXPECT_TRUE(CFEqual(kCFNumberNaN, other_nan.get()));
    EXPECT_EQ(CFHash(kCFNumberNaN), CFHash(other_nan.get()));

    double d = 0;
    EXPECT_TRUE(CFNumberGetValue(kCFNumberPositiveInfinity, kCFNumberDoubleType, &d));
    EXPECT_TRUE(std::isinf(d) && d > 0);
    CFIndex count = CFGetRetainCount(kCFNumberNaN);
    CFRelease(kCFNumberNaN);
    EXPECT_EQ(CFGetRetainCount(kCFNumberNaN), count);
}

TEST(CFNumber, DescriptionShowsValueAndType) {
    std::string text = cf::describe(number<int>(kCFNumberIntType, -42).get());
    EXPECT_NE(text.find("-42"), std::string::npos) << text;
    EXPECT_NE(text.find("kCFNumberSInt32Type"), std::string::npos) << text;
    text = cf::describe(number<double>(kCFNumberDoubleType, 2.5).get());
    EXPECT_NE(text.find("2.5"), std::string::npos) << text;
}

TEST(CFBoolean, SingletonsHoldTheirValueAndAreDistinctFromNumbers) {
    EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
    EXPECT_FALSE(CFBooleanGetValue(kCFBooleanFalse));
    EXPECT_EQ(CFGetTypeID(kCFBooleanTrue), CFBooleanGetTypeID());
    EXPECT_NE(CFBooleanGetTypeID(), CFNumberGetTypeID());
    EXPECT_FALSE(CFEqual(kCFBooleanTrue, kCFBooleanFalse));
    EXPECT_FALSE(CFEqual(kCFBooleanTrue, number<int>(kCFNumberIntType, 1).get()));
    EXPECT_FALSE(CFBooleanGetValue(reinterpret_cast<CFBooleanRef>(kCFNumberNaN)));
    EXPECT_NE(cf::describe(kCFBooleanTrue).find("true"), std::string::npos);
}

} // namespace

#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFString.h>

#include "CFOwned.h"
#include "CFValueSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

template <class T> Owned<CFNumberRef> number(CFNumberType type, T value) {
    return Owned<CFNumberRef>(CFNumberCreate(nullptr, type, &value));
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
        Owned<CFNumberRef> n(CFNumberCreate(nullptr, c.created, &buffer));
        ASSERT_NE(n.get(), nullptr) << c.created;
        EXPECT_EQ(CFNumberGetType(n), c.reported) << c.created;
        EXPECT_EQ(CFNumberGetByteSize(n), c.size) << c.created;
        EXPECT_EQ(CFNumberIsFloatType(n), c.is_float) << c.created;
    }
    EXPECT_EQ(CFNumberCreate(nullptr, 0, &buffer), nullptr);
    EXPECT_EQ(CFNumberCreate(nullptr, kCFNumberMaxType + 1, &buffer), nullptr);
}

TEST(CFNumber, ExactConversionsReturnTrue) {
    auto n = number<SInt16>(kCFNumberSInt16Type, -1234);
    SInt64 wide = 0;
    double d = 0;
    float f = 0;
    EXPECT_TRUE(CFNumberGetValue(n, kCFNumberSInt64Type, &wide));
    EXPECT_EQ(wide, -1234);
    EXPECT_TRUE(CFNumberGetValue(n, kCFNumberDoubleType, &d));
    EXPECT_EQ(d, -1234.0);
    EXPECT_TRUE(CFNumberGetValue(n, kCFNumberFloat32Type, &f));
    EXPECT_EQ(f, -1234.0f);

    auto whole = number<double>(kCFNumberFloat64Type, 40.0);
    CFIndex index = 0;
    EXPECT_TRUE(CFNumberGetValue(whole, kCFNumberCFIndexType, &index));
    EXPECT_EQ(index, 40);
}

TEST(CFNumber, InexactConversionsReturnFalseButStoreTheConvertedValue) {
    CFIndex index = 0;
    EXPECT_FALSE(
        CFNumberGetValue(number<double>(kCFNumberDoubleType, 2.75), kCFNumberCFIndexType, &index));
    EXPECT_EQ(index, 2);
    SInt32 i32 = 0;
    EXPECT_FALSE(
        CFNumberGetValue(number<float>(kCFNumberFloatType, -7.5f), kCFNumberSInt32Type, &i32));
    EXPECT_EQ(i32, -7);

    SInt8 small = 0;
    EXPECT_FALSE(CFNumberGetValue(number<int>(kCFNumberIntType, 300), kCFNumberSInt8Type, &small));
    EXPECT_EQ(small, 44); // the low byte, as a C cast gives
    SInt64 big = 0;
    EXPECT_FALSE(
        CFNumberGetValue(number<double>(kCFNumberDoubleType, 1e20), kCFNumberSInt64Type, &big));
    EXPECT_EQ(big, std::numeric_limits<SInt64>::max());
    EXPECT_FALSE(CFNumberGetValue(kCFNumberNaN, kCFNumberSInt32Type, &i32));

    // Precision lost on the way to floating point.
    double d = 0;
    EXPECT_FALSE(CFNumberGetValue(number<SInt64>(kCFNumberSInt64Type, (1LL << 53) + 1),
                                  kCFNumberFloat64Type, &d));
    EXPECT_EQ(d, 9007199254740992.0);
    float f = 0;
    EXPECT_FALSE(
        CFNumberGetValue(number<double>(kCFNumberDoubleType, 0.1), kCFNumberFloatType, &f));
    EXPECT_EQ(f, 0.1f);
    EXPECT_FALSE(
        CFNumberGetValue(number<double>(kCFNumberDoubleType, 1e300), kCFNumberFloatType, &f));
    EXPECT_TRUE(std::isinf(f));
}

TEST(CFNumber, EqualityAndHashIgnoreTheRepresentation) {
    auto one_int = number<SInt8>(kCFNumberSInt8Type, 1);
    auto one_real = number<double>(kCFNumberFloat64Type, 1.0);
    auto one_float = number<float>(kCFNumberFloat32Type, 1.0f);
    EXPECT_TRUE(CFEqual(one_int, one_real));
    EXPECT_TRUE(CFEqual(one_float, one_int));
    EXPECT_EQ(CFHash(one_int), CFHash(one_real));
    EXPECT_EQ(CFHash(one_float), CFHash(one_real));
    EXPECT_FALSE(CFEqual(one_int, number<double>(kCFNumberDoubleType, 1.5)));
    // Converting the integer to double would make these look equal.
    auto precise = number<SInt64>(kCFNumberSInt64Type, (1LL << 53) + 1);
    auto rounded = number<double>(kCFNumberDoubleType, 9007199254740992.0);
    EXPECT_FALSE(CFEqual(precise, rounded));
    EXPECT_EQ(CFNumberCompare(precise, rounded, nullptr), kCFCompareGreaterThan);
}

TEST(CFNumber, CompareOrdersNumbersWithNaNFirstAndInfinitiesAtTheEnds) {
    auto minus = number<int>(kCFNumberIntType, -5);
    auto half = number<double>(kCFNumberDoubleType, 0.5);
    EXPECT_EQ(CFNumberCompare(minus, half, nullptr), kCFCompareLessThan);
    EXPECT_EQ(CFNumberCompare(half, minus, nullptr), kCFCompareGreaterThan);
    EXPECT_EQ(CFNumberCompare(kCFNumberNegativeInfinity, minus, nullptr), kCFCompareLessThan);
    EXPECT_EQ(CFNumberCompare(kCFNumberPositiveInfinity, half, nullptr), kCFCompareGreaterThan);
    EXPECT_EQ(CFNumberCompare(kCFNumberNaN, kCFNumberNegativeInfinity, nullptr),
              kCFCompareLessThan);
    auto other_nan = number<double>(kCFNumberDoubleType, std::nan(""));
    EXPECT_TRUE(CFEqual(kCFNumberNaN, other_nan));
    EXPECT_EQ(CFHash(kCFNumberNaN), CFHash(other_nan));

    double d = 0;
    EXPECT_TRUE(CFNumberGetValue(kCFNumberPositiveInfinity, kCFNumberDoubleType, &d));
    EXPECT_TRUE(std::isinf(d) && d > 0);
    CFIndex count = CFGetRetainCount(kCFNumberNaN);
    CFRelease(kCFNumberNaN);
    EXPECT_EQ(CFGetRetainCount(kCFNumberNaN), count);
}

TEST(CFNumber, DescriptionShowsValueAndType) {
    std::string text = cf::describe(number<int>(kCFNumberIntType, -42));
    EXPECT_NE(text.find("-42"), std::string::npos) << text;
    EXPECT_NE(text.find("kCFNumberSInt32Type"), std::string::npos) << text;
    text = cf::describe(number<double>(kCFNumberDoubleType, 2.5));
    EXPECT_NE(text.find("2.5"), std::string::npos) << text;
}

TEST(CFBoolean, SingletonsHoldTheirValueAndAreDistinctFromNumbers) {
    EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
    EXPECT_FALSE(CFBooleanGetValue(kCFBooleanFalse));
    EXPECT_EQ(CFGetTypeID(kCFBooleanTrue), CFBooleanGetTypeID());
    EXPECT_NE(CFBooleanGetTypeID(), CFNumberGetTypeID());
    EXPECT_FALSE(CFEqual(kCFBooleanTrue, kCFBooleanFalse));
    EXPECT_FALSE(CFEqual(kCFBooleanTrue, number<int>(kCFNumberIntType, 1)));
    EXPECT_FALSE(CFBooleanGetValue(reinterpret_cast<CFBooleanRef>(kCFNumberNaN)));
    EXPECT_NE(cf::describe(kCFBooleanTrue).find("true"), std::string::npos);
}

} // namespace

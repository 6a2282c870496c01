#include <CoreFoundation/CFDate.h>

#include "CFDateInternal.h"
#include <CoreFoundation/CFHolder.h>
#include "CFValueSupport.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

TEST(CFDate, AbsoluteTimeCountsFrom2001) {
    double unix_now = static_cast<double>(std::time(nullptr));
    EXPECT_NEAR(CFAbsoluteTimeGetCurrent(), unix_now - kCFAbsoluteTimeIntervalSince1970, 2.0);
    // Leap days: 1972..2000 holds 8, 1904..2000 holds 25.
    EXPECT_EQ(kCFAbsoluteTimeIntervalSince1970, (31 * 365 + 8) * 86400.0);
    EXPECT_EQ(kCFAbsoluteTimeIntervalSince1904, (97 * 365 + 25) * 86400.0);
    cf::Holder<CFDateRef> reference(CFDateCreate(nullptr, 0));
    EXPECT_NE(cf::describe(reference.get()).find("2001-01-01 00:00:00"), std::string::npos);
    EXPECT_EQ(cf::iso8601_from_absolute_time(-1), "2000-12-31T23:59:59Z");
}

TEST(CFDate, CompareIntervalAndEquality) {
    cf::Holder<CFDateRef> early(CFDateCreate(nullptr, 100.5));
    cf::Holder<CFDateRef> late(CFDateCreate(nullptr, 160.5));
    cf::Holder<CFDateRef> same(CFDateCreate(nullptr, 100.5));
    EXPECT_EQ(CFDateCompare(early.get(), late.get(), nullptr), kCFCompareLessThan);
    EXPECT_EQ(CFDateCompare(late.get(), early.get(), nullptr), kCFCompareGreaterThan);
    EXPECT_EQ(CFDateGetTimeIntervalSinceDate(late.get(), early.get()), 60.0);
    EXPECT_TRUE(CFEqual(early.get(), same.get()));
    EXPECT_EQ(CFHash(early.get()), CFHash(same.get()));
    EXPECT_EQ(CFDateGetAbsoluteTime(late.get()), 160.5);
}

TEST(CFDate, CalendarFieldsAreCheckedAndConverted) {
    CFAbsoluteTime at = 0;
    ASSERT_TRUE(cf::absolute_time_from_utc({2024, 2, 29, 12, 30, 15}, &at));
    EXPECT_EQ(cf::iso8601_from_absolute_time(at), "2024-02-29T12:30:15Z");
    EXPECT_FALSE(cf::absolute_time_from_utc({2023, 2, 29, 0, 0, 0}, &at));
    EXPECT_FALSE(cf::absolute_time_from_utc({2023, 13, 1, 0, 0, 0}, &at));
    EXPECT_FALSE(cf::absolute_time_from_utc({2023, 1, 1, 24, 0, 0}, &at));
}

} // namespace

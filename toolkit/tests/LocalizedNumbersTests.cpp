#include "LocalizedNumbers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>

namespace {

std::string utf8(CFStringRef s) {
    char buffer[128] = "";
    CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8);
    return buffer;
}

TEST(CountDigits, CountsTheMagnitudesDigits) {
    EXPECT_EQ(CountDigits(0), 1);
    EXPECT_EQ(CountDigits(9), 1);
    EXPECT_EQ(CountDigits(10), 2);
    EXPECT_EQ(CountDigits(-1000), 4);
    EXPECT_EQ(CountDigits(99999), 5);
    EXPECT_EQ(CountDigits(10000), 5);
    EXPECT_EQ(CountDigits(2147483647), 10);
    EXPECT_EQ(CountDigits(-2147483647 - 1), 10);
}

class LocalizedNumbers : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::getenv("LC_ALL");
        saved_ = old != nullptr ? old : "";
    }
    void TearDown() override { setenv("LC_ALL", saved_.c_str(), 1); }
    std::string saved_;
};

TEST_F(LocalizedNumbers, ScalesByTheDecimalsInTheLocalesStyle) {
    setenv("LC_ALL", "en_US.UTF-8", 1);
    CFStringRef text = CreateLocalizedCFStringFromNumberWithDecimals(12345, 2);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(utf8(text), "123.45");
    CFRelease(text);
    text = CreateLocalizedCFStringFromNumberWithDecimals(12345, 0);
    EXPECT_EQ(utf8(text), "12,345");
    CFRelease(text);
    text = CreateLocalizedCFStringFromNumberWithDecimals(5, 3);
    EXPECT_EQ(utf8(text), "0.005");
    CFRelease(text);
}

TEST_F(LocalizedNumbers, UsesTheLocalesDecimalSeparator) {
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    CFStringRef text = CreateLocalizedCFStringFromNumberWithDecimals(12345, 2);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(utf8(text), "123,45");
    CFRelease(text);
}

// The "C" locale's decimal style would show up to six fraction digits, the single precision's
// noise among them.
TEST_F(LocalizedNumbers, ShowsTheDecimalsAskedForInTheCLocale) {
    setenv("LC_ALL", "C.UTF-8", 1);
    for (auto [value, decimals, expected] :
         {std::tuple{12345, 2u, "123.45"}, std::tuple{7, 1u, "0.7"},
          std::tuple{16777216, 2u, "167772.16"}}) {
        CFStringRef text = CreateLocalizedCFStringFromNumberWithDecimals(value, decimals);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(utf8(text), expected) << value << " with " << decimals << " decimals";
        CFRelease(text);
    }
}

} // namespace

#include <CoreFoundation/CFString.h>
#include <CoreFoundation/CFUUID.h>

#include <CoreFoundation/CFHolder.h>
#include "CFValueSupport.h"

#include <gtest/gtest.h>

namespace {

std::string uuid_text(CFUUIDRef uuid) {
    cf::Holder<CFStringRef> text(CFUUIDCreateString(nullptr, uuid));
    return cf::utf8_string(text.get());
}

CFUUIDRef from_text(const char* text) {
    cf::Holder<CFStringRef> string(cf::make_cfstring(text));
    return CFUUIDCreateFromString(nullptr, string.get());
}

TEST(CFUUID, StringRoundTripInUpperCase) {
    cf::Holder<CFUUIDRef> uuid(from_text("bdb091f4-e57f-11d3-b5cc-0050e4603277"));
    ASSERT_NE(uuid.get(), nullptr);
    EXPECT_EQ(uuid_text(uuid.get()), "BDB091F4-E57F-11D3-B5CC-0050E4603277");
    CFUUIDBytes bytes = CFUUIDGetUUIDBytes(uuid.get());
    EXPECT_EQ(bytes.byte0, 0xBD);
    EXPECT_EQ(bytes.byte6, 0x11);
    EXPECT_EQ(bytes.byte15, 0x77);
    cf::Holder<CFUUIDRef> again(CFUUIDCreateFromUUIDBytes(nullptr, bytes));
    EXPECT_TRUE(CFEqual(uuid.get(), again.get()));
    EXPECT_EQ(CFHash(uuid.get()), CFHash(again.get()));
    cf::Holder<CFUUIDRef> braced(from_text("{BDB091F4-E57F-11D3-B5CC-0050E4603277}"));
    EXPECT_TRUE(CFEqual(uuid.get(), braced.get()));
    EXPECT_NE(cf::describe(uuid.get()).find("BDB091F4-E57F-11D3-B5CC-0050E4603277"),
              std::string::npos);
}

TEST(CFUUID, MalformedStringsGiveNull) {
    for (const char* bad :
         {"", "BDB091F4-E57F-11D3-B5CC-0050E460327", "BDB091F4-E57F-11D3-B5CC-0050E46032777",
          "BDB091F4E57F-11D3-B5CC-0050E4603277-", "BDB091F4-E57F-11D3-B5CC-0050E460327G",
          "{BDB091F4-E57F-11D3-B5CC-0050E4603277"})
        EXPECT_EQ(from_text(bad), nullptr) << bad;
    EXPECT_EQ(CFUUIDCreateFromString(nullptr, nullptr), nullptr);
}

TEST(CFUUID, ConstantsAreOnePerValueAndNeverFreed) {
    CFUUIDRef unknown = CFUUIDGetConstantUUIDWithBytes(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0,
                                                       0, 0, 0, 0, 0x46);
    CFUUIDRef again = CFUUIDGetConstantUUIDWithBytes(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0,
                                                     0, 0, 0, 0x46);
    EXPECT_EQ(unknown, again);
    CFIndex count = CFGetRetainCount(unknown);
    CFRelease(unknown);
    CFRelease(unknown);
    EXPECT_EQ(CFGetRetainCount(unknown), count);
    EXPECT_EQ(uuid_text(unknown), "00000000-0000-0000-C000-000000000046");

    cf::Holder<CFUUIDRef> created(
        CFUUIDCreateWithBytes(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46));
    EXPECT_NE(created.get(), unknown);
    EXPECT_TRUE(CFEqual(created.get(), unknown));
    EXPECT_NE(CFUUIDGetConstantUUIDWithBytes(nullptr, 1, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0,
                                             0, 0x46),
              unknown);
}

TEST(CFUUID, RandomUUIDsAreVersion4AndDistinct) {
    cf::Holder<CFUUIDRef> a(CFUUIDCreate(nullptr));
    cf::Holder<CFUUIDRef> b(CFUUIDCreate(nullptr));
    EXPECT_FALSE(CFEqual(a.get(), b.get()));
    CFUUIDBytes bytes = CFUUIDGetUUIDBytes(a.get());
    EXPECT_EQ(bytes.byte6 >> 4, 4);
    EXPECT_EQ(bytes.byte8 >> 6, 2);
    std::string text = uuid_text(a.get());
    EXPECT_EQ(text.size(), 36u);
    EXPECT_EQ(text[14], '4');
}

} // namespace

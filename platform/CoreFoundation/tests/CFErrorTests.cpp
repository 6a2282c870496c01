#include <CoreFoundation/CFError.h>
#include <CoreFoundation/CFNumber.h>

#include <CoreFoundation/CFHolder.h>
#include "CFValueSupport.h"

#include <gtest/gtest.h>

namespace {

cf::Holder<CFErrorRef> make_error(CFStringRef key, const char* value, CFIndex code = 3840) {
    cf::Holder<CFMutableDictionaryRef> info(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    if (key != nullptr) {
        cf::Holder<CFStringRef> text(cf::make_cfstring(value));
        CFDictionarySetValue(info.get(), key, text.get());
    }
    return cf::Holder<CFErrorRef>(CFErrorCreate(nullptr, kCFErrorDomainCocoa, code, info.get()));
}

std::string description(CFErrorRef error) {
    cf::Holder<CFStringRef> text(CFErrorCopyDescription(error));
    return cf::utf8_string(text.get());
}

TEST(CFError, HoldsDomainCodeAndACopyOfTheUserInfo) {
    cf::Holder<CFMutableDictionaryRef> info(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    cf::Holder<CFStringRef> path(cf::make_cfstring("/tmp/x.plist"));
    CFDictionarySetValue(info.get(), kCFErrorFilePathKey, path.get());
    cf::Holder<CFErrorRef> error(CFErrorCreate(nullptr, kCFErrorDomainPOSIX, 2, info.get()));
    CFDictionaryRemoveAllValues(info.get()); // the error keeps its own copy
    EXPECT_EQ(cf::utf8_string(CFErrorGetDomain(error.get())), "NSPOSIXErrorDomain");
    EXPECT_EQ(CFErrorGetCode(error.get()), 2);
    cf::Holder<CFDictionaryRef> copy(CFErrorCopyUserInfo(error.get()));
    EXPECT_TRUE(CFEqual(CFDictionaryGetValue(copy.get(), kCFErrorFilePathKey), path.get()));
    EXPECT_EQ(CFErrorCreate(nullptr, nullptr, 1, nullptr), nullptr);
    cf::Holder<CFErrorRef> bare(CFErrorCreate(nullptr, kCFErrorDomainOSStatus, -50, nullptr));
    cf::Holder<CFDictionaryRef> empty(CFErrorCopyUserInfo(bare.get()));
    EXPECT_EQ(CFDictionaryGetCount(empty.get()), 0);
}

TEST(CFError, DescriptionPrefersTheLocalizedTextThenBuildsOne) {
    EXPECT_EQ(description(make_error(kCFErrorLocalizedDescriptionKey, "Disk full").get()),
              "Disk full");
    std::string text =
        description(make_error(kCFErrorDescriptionKey, "Unexpected tag at line 7").get());
    EXPECT_NE(text.find("NSCocoaErrorDomain error 3840"), std::string::npos) << text;
    EXPECT_NE(text.find("Unexpected tag at line 7"), std::string::npos) << text;
    text = description(make_error(kCFErrorLocalizedFailureReasonKey, "The file is locked.").get());
    EXPECT_NE(text.find("The file is locked."), std::string::npos) << text;
    cf::Holder<CFStringRef> reason(CFErrorCopyFailureReason(make_error(nullptr, nullptr).get()));
    EXPECT_EQ(reason.get(), nullptr);
    EXPECT_NE(cf::describe(make_error(nullptr, nullptr, 7).get()).find("Code=7"),
              std::string::npos);
}

} // namespace

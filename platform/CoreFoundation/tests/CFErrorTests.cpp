#include <CoreFoundation/CFError.h>
#include <CoreFoundation/CFNumber.h>

#include "CFOwned.h"
#include "CFValueSupport.h"

#include <gtest/gtest.h>

namespace {

Owned<CFErrorRef> make_error(CFStringRef key, const char* value, CFIndex code = 3840) {
    Owned<CFMutableDictionaryRef> info(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    if (key != nullptr) {
        Owned<CFStringRef> text(cf::make_cfstring(value));
        CFDictionarySetValue(info, key, text);
    }
    return Owned<CFErrorRef>(CFErrorCreate(nullptr, kCFErrorDomainCocoa, code, info));
}

std::string description(CFErrorRef error) {
    Owned<CFStringRef> text(CFErrorCopyDescription(error));
    return cf::utf8_string(text);
}

TEST(CFError, HoldsDomainCodeAndACopyOfTheUserInfo) {
    Owned<CFMutableDictionaryRef> info(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    Owned<CFStringRef> path(cf::make_cfstring("/tmp/x.plist"));
    CFDictionarySetValue(info, kCFErrorFilePathKey, path);
    Owned<CFErrorRef> error(CFErrorCreate(nullptr, kCFErrorDomainPOSIX, 2, info));
    CFDictionaryRemoveAllValues(info); // the error keeps its own copy
    EXPECT_EQ(cf::utf8_string(CFErrorGetDomain(error)), "NSPOSIXErrorDomain");
    EXPECT_EQ(CFErrorGetCode(error), 2);
    Owned<CFDictionaryRef> copy(CFErrorCopyUserInfo(error));
    EXPECT_TRUE(CFEqual(CFDictionaryGetValue(copy, kCFErrorFilePathKey), path));
    EXPECT_EQ(CFErrorCreate(nullptr, nullptr, 1, nullptr), nullptr);
    Owned<CFErrorRef> bare(CFErrorCreate(nullptr, kCFErrorDomainOSStatus, -50, nullptr));
    Owned<CFDictionaryRef> empty(CFErrorCopyUserInfo(bare));
    EXPECT_EQ(CFDictionaryGetCount(empty), 0);
}

TEST(CFError, DescriptionPrefersTheLocalizedTextThenBuildsOne) {
    EXPECT_EQ(description(make_error(kCFErrorLocalizedDescriptionKey, "Disk full")), "Disk full");
    std::string text = description(make_error(kCFErrorDescriptionKey, "Unexpected tag at line 7"));
    EXPECT_NE(text.find("NSCocoaErrorDomain error 3840"), std::string::npos) << text;
    EXPECT_NE(text.find("Unexpected tag at line 7"), std::string::npos) << text;
    text = description(make_error(kCFErrorLocalizedFailureReasonKey, "The file is locked."));
    EXPECT_NE(text.find("The file is locked."), std::string::npos) << text;
    Owned<CFStringRef> reason(CFErrorCopyFailureReason(make_error(nullptr, nullptr)));
    EXPECT_EQ(reason.get(), nullptr);
    EXPECT_NE(cf::describe(make_error(nullptr, nullptr, 7)).find("Code=7"), std::string::npos);
}

} // namespace

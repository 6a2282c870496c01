#include <CoreFoundation/CFDate.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFURLAccess.h>

#include <CoreFoundation/CFHolder.h>
#include "CFValueSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class CFURLAccess : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* home = std::getenv("HOME");
        std::string pattern = std::string(home ? home : "/tmp") + "/urlaccess.XXXXXX";
        mkdir(home ? home : "/tmp", 0700);
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + folder_ + "'").c_str()); }

    CFURLRef url(const std::string& name, bool is_directory = false) {
        std::string path = folder_ + "/" + name;
        return CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
            is_directory);
    }
    std::vector<std::string> entries() {
        std::vector<std::string> names;
        DIR* dir = opendir(folder_.c_str());
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        closedir(dir);
        return names;
    }
    mode_t mode_of(const std::string& name) {
        struct stat info {};
        stat((folder_ + "/" + name).c_str(), &info);
        return info.st_mode & 07777;
    }

    std::string folder_;
};

Boolean write(CFURLRef url, const char* text, SInt32* code) {
    cf::Holder<CFDataRef> data(CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(text),
                                            static_cast<CFIndex>(strlen(text))));
    return CFURLWriteDataAndPropertiesToResource(url, data.get(), nullptr, code);
}

std::string read(CFURLRef url, SInt32* code) {
    CFDataRef data = nullptr;
    if (!CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, nullptr, nullptr, code))
        return "<failed>";
    std::string text(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                     static_cast<size_t>(CFDataGetLength(data)));
    CFRelease(data);
    return text;
}

TEST_F(CFURLAccess, NewFilesArePrivateAndExistingFilesKeepTheirMode) {
    cf::Holder<CFURLRef> file(url("settings.plist"));
    SInt32 code = 1;
    ASSERT_TRUE(write(file.get(), "first", &code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(mode_of("settings.plist"), 0600u);
    EXPECT_EQ(read(file.get(), &code), "first");

    chmod((folder_ + "/settings.plist").c_str(), 0640);
    ASSERT_TRUE(write(file.get(), "second, longer", &code));
    EXPECT_EQ(read(file.get(), &code), "second, longer");
    EXPECT_EQ(mode_of("settings.plist"), 0640u);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(entries(), std::vector<std::string>{"settings.plist"});
}

TEST_F(CFURLAccess, FailuresReportACodeAndLeaveNoDebris) {
    SInt32 code = 0;
    cf::Holder<CFURLRef> missing(url("missing"));
    EXPECT_EQ(read(missing.get(), &code), "<failed>");
    EXPECT_EQ(code, kCFURLResourceNotFoundError);
    cf::Holder<CFURLRef> nowhere(url("no/such/folder/file"));
    EXPECT_FALSE(write(nowhere.get(), "x", &code));
    EXPECT_EQ(code, kCFURLResourceNotFoundError);

    // A folder in the way: the rename fails, and the temporary file goes.
    mkdir((folder_ + "/occupied").c_str(), 0700);
    cf::Holder<CFURLRef> occupied(url("occupied"));
    EXPECT_FALSE(write(occupied.get(), "x", &code));
    EXPECT_NE(code, 0);
    EXPECT_EQ(entries(), std::vector<std::string>{"occupied"});

    cf::Holder<CFStringRef> web_string(cf::make_cfstring("http://example.com/file"));
    cf::Holder<CFURLRef> web(CFURLCreateWithString(nullptr, web_string.get(), nullptr));
    EXPECT_EQ(read(web.get(), &code), "<failed>");
    EXPECT_EQ(code, kCFURLUnknownSchemeError);

    if (geteuid() != 0) { // root reads everything
        cf::Holder<CFURLRef> locked(url("locked"));
        ASSERT_TRUE(write(locked.get(), "secret", &code));
        chmod((folder_ + "/locked").c_str(), 0);
        EXPECT_EQ(read(locked.get(), &code), "<failed>");
        EXPECT_EQ(code, kCFURLResourceAccessViolationError);
    }
}

TEST_F(CFURLAccess, WritingThroughALinkReplacesItsTarget) {
    cf::Holder<CFURLRef> target(url("target"));
    SInt32 code = 0;
    ASSERT_TRUE(write(target.get(), "old", &code));
    ASSERT_EQ(symlink("target", (folder_ + "/link").c_str()), 0);
    cf::Holder<CFURLRef> link(url("link"));
    ASSERT_TRUE(write(link.get(), "new", &code));
    EXPECT_EQ(read(target.get(), &code), "new");
    struct stat info {};
    lstat((folder_ + "/link").c_str(), &info);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(CFURLAccess, FoldersAndProperties) {
    SInt32 code = 0;
    cf::Holder<CFURLRef> sub(url("sub", true));
    ASSERT_TRUE(CFURLWriteDataAndPropertiesToResource(sub.get(), nullptr, nullptr, &code));
    cf::Holder<CFURLRef> file(url("five.txt"));
    ASSERT_TRUE(write(file.get(), "12345", &code));

    CFDictionaryRef props = nullptr;
    ASSERT_TRUE(CFURLCreateDataAndPropertiesFromResource(nullptr, file.get(), nullptr, &props,
                                                         nullptr, &code));
    cf::Holder<CFDictionaryRef> file_props(props);
    long length = 0, mode = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(props, kCFURLFileLength)),
                     kCFNumberLongType, &length);
    CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(props, kCFURLFilePOSIXMode)),
                     kCFNumberLongType, &mode);
    EXPECT_EQ(length, 5);
    EXPECT_EQ(mode, 0600);
    auto modified =
        static_cast<CFDateRef>(CFDictionaryGetValue(props, kCFURLFileLastModificationTime));
    EXPECT_NEAR(CFDateGetAbsoluteTime(modified), CFAbsoluteTimeGetCurrent(), 60);

    cf::Holder<CFURLRef> dir(url("", true));
    const void* wanted_keys[] = {kCFURLFileDirectoryContents};
    cf::Holder<CFArrayRef> wanted(CFArrayCreate(nullptr, wanted_keys, 1, &kCFTypeArrayCallBacks));
    ASSERT_TRUE(CFURLCreateDataAndPropertiesFromResource(nullptr, dir.get(), nullptr, &props,
                                                         wanted.get(), &code));
    cf::Holder<CFDictionaryRef> dir_props(props);
    EXPECT_EQ(CFDictionaryGetCount(props), 1);
    auto contents =
        static_cast<CFArrayRef>(CFDictionaryGetValue(props, kCFURLFileDirectoryContents));
    ASSERT_EQ(CFArrayGetCount(contents), 2);
    cf::Holder<CFURLRef> sub_again(url("sub", true));
    EXPECT_TRUE(CFArrayContainsValue(contents, CFRangeMake(0, 2), sub_again.get()));

    cf::Holder<CFURLRef> missing(url("missing"));
    ASSERT_TRUE(CFURLCreateDataAndPropertiesFromResource(nullptr, missing.get(), nullptr, &props,
                                                         nullptr, &code));
    cf::Holder<CFDictionaryRef> missing_props(props);
    EXPECT_EQ(CFDictionaryGetValue(props, kCFURLFileExists), kCFBooleanFalse);
}

} // namespace

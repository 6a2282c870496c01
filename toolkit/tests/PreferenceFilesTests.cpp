#include "PreferenceFiles.h"
#include "ToolkitTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using tktest::text;

CFStringRef S(const char* utf8) {
    return CFStringCreateWithCString(nullptr, utf8, kCFStringEncodingUTF8);
}

std::string path_of(CFURLRef url) {
    char path[1024] = "";
    if (url != nullptr)
        CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(path), sizeof(path));
    return path;
}

unsigned mode_of(const fs::path& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

// A dictionary of one string value, the simplest whole file.
CFMutableDictionaryRef one_key(const char* key, const char* value) {
    CFMutableDictionaryRef dict = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFStringRef k = S(key), v = S(value);
    CFDictionarySetValue(dict, k, v);
    CFRelease(k);
    CFRelease(v);
    return dict;
}

const char kDamaged[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n"
                        "<dict>\n<key>Kept</key>\n<string>yes</str";

TEST(PreferenceFiles, FirstUseCreatesTheMakerFolderOnceAndFindsTheFileThere) {
    tktest::ScratchFolders folders;
    CFURLRef url = CopyPreferenceFileURL(CFSTR("Watermarks.plist"));
    ASSERT_NE(url, nullptr);
    EXPECT_EQ(path_of(url), (folders.support / "Tovek" / "Watermarks.plist").string());
    EXPECT_TRUE(fs::is_directory(folders.support / "Tovek"));
    EXPECT_FALSE(fs::exists(folders.support / "Tovek" / "Watermarks.plist"));
    CFRelease(url);

    // A second use finds the folder (with a file in it) and leaves it as it was.
    tktest::write_file(folders.support / "Tovek" / "marker", "x");
    url = CopyPreferenceFileURL(CFSTR("Watermarks.plist"));
    ASSERT_NE(url, nullptr);
    EXPECT_TRUE(fs::exists(folders.support / "Tovek" / "marker"));
    CFRelease(url);

    // A name that URL text cannot hold as it is still names the file.
    url = CopyPreferenceFileURL(CFSTR("My Marks #1.plist"));
    EXPECT_EQ(path_of(url), (folders.support / "Tovek" / "My Marks #1.plist").string());
    CFRelease(url);
}

TEST(PreferenceFiles, NoApplicationSupportFolderMeansNoURLAndNoFolderMade) {
    tktest::ScratchFolders folders;
    fs::remove_all(folders.support);
    EXPECT_EQ(CopyPreferenceFileURL(CFSTR("Watermarks.plist")), nullptr);
    EXPECT_EQ(CopyXMLData(CFSTR("Watermarks.plist")), nullptr);
    EXPECT_FALSE(fs::exists(folders.support));
}

TEST(PreferenceFiles, MakerFileMissingIsSilentDamagedIsReportedAndKept) {
    tktest::ScratchFolders folders;
    testing::internal::CaptureStderr();
    EXPECT_EQ(CopyXMLData(CFSTR("Missing.plist")), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    fs::create_directories(folders.support / "Tovek");
    const fs::path file = folders.support / "Tovek" / "Bad.plist";
    tktest::write_file(file, kDamaged);
    testing::internal::CaptureStderr();
    EXPECT_EQ(CopyXMLData(CFSTR("Bad.plist")), nullptr);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("CopyXMLData()::CFPropertyListCreateFromXMLData() error: ", 0), 0u) << err;
    EXPECT_NE(err.find("line"), std::string::npos) << err;
    // The bytes are kept beside, so a save that starts afresh destroys nothing.
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(tktest::read_file(file.string() + ".damaged"), kDamaged);
}

TEST(PreferenceFiles, UserFileMissingOrDamagedReadsAsAnEmptyMutableDictionary) {
    tktest::ScratchFolders folders;
    const fs::path file = folders.prefs / "com.tovek.test.plist";
    for (bool damaged : {false, true}) {
        if (damaged)
            tktest::write_file(file, kDamaged);
        testing::internal::CaptureStderr();
        CFPropertyListRef prefs = CopyUserPreferences(CFSTR("com.tovek.test.plist"));
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_NE(prefs, nullptr);
        ASSERT_EQ(CFGetTypeID(prefs), CFDictionaryGetTypeID());
        EXPECT_EQ(CFDictionaryGetCount(static_cast<CFDictionaryRef>(prefs)), 0);
        CFDictionarySetValue((CFMutableDictionaryRef)prefs, CFSTR("k"), CFSTR("v")); // mutable
        CFRelease(prefs);
        EXPECT_EQ(err.find(file.string()) != std::string::npos, damaged) << err;
        EXPECT_EQ(err.rfind("CopyUserPreferences: " + file.string() + ":", 0) == 0, damaged) << err;
    }
    EXPECT_EQ(tktest::read_file(file.string() + ".damaged"), kDamaged);

    fs::remove_all(folders.prefs);
    EXPECT_EQ(CopyUserPreferences(CFSTR("com.tovek.test.plist")), nullptr);
}

TEST(PreferenceFiles, UserFileRoundTripIsMutableAndKeepsOrSetsItsMode) {
    tktest::ScratchFolders folders;
    const fs::path file = folders.prefs / "com.tovek.test.plist";
    CFMutableDictionaryRef prefs = one_key("Account", "A-17");
    CFMutableArrayRef list = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    CFArrayAppendValue(list, CFSTR("one"));
    CFDictionarySetValue(prefs, CFSTR("List"), list);
    CFRelease(list);
    ASSERT_TRUE(WriteUserPreferences(CFSTR("com.tovek.test.plist"), prefs));
    EXPECT_EQ(mode_of(file), 0600u);

    CFPropertyListRef back = CopyUserPreferences(CFSTR("com.tovek.test.plist"));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(CFEqual(back, prefs));
    // Leaves are mutable too, so a caller may edit what it got and write it back.
    auto backList = (CFMutableArrayRef)CFDictionaryGetValue((CFDictionaryRef)back, CFSTR("List"));
    CFArrayAppendValue(backList, CFSTR("two"));
    EXPECT_EQ(CFArrayGetCount(backList), 2);

    chmod(file.c_str(), 0640);
    ASSERT_TRUE(WriteUserPreferences(CFSTR("com.tovek.test.plist"), back));
    EXPECT_EQ(mode_of(file), 0640u);
    CFRelease(back);
    CFRelease(prefs);
}

TEST(PreferenceFiles, FailedWritesSayWhyAndLeaveTheFolderClean) {
    tktest::ScratchFolders folders;
    CFMutableDictionaryRef prefs = one_key("a", "b");
    // A folder where the file should be: the rename cannot replace it.
    fs::create_directories(folders.prefs / "taken.plist" / "inside");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WriteUserPreferences(CFSTR("taken.plist"), prefs));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("WriteUserPreferences() failed (", 0), 0u) << err;
    EXPECT_EQ(std::distance(fs::directory_iterator(folders.prefs), fs::directory_iterator()), 1);

    fs::remove_all(folders.prefs);
    EXPECT_FALSE(WriteUserPreferences(CFSTR("x.plist"), prefs));
    EXPECT_FALSE(fs::exists(folders.prefs));
    CFRelease(prefs);
}

TEST(PreferenceFiles, TwoProcessesSavingAtOnceLeaveOneWholeFile) {
    tktest::ScratchFolders folders;
    std::vector<pid_t> children;
    for (const char* who : {"first", "second"}) {
        pid_t pid = fork();
        if (pid == 0) {
            CFMutableDictionaryRef prefs = one_key("Writer", who);
            bool ok = true;
            for (int i = 0; i < 40; ++i)
                ok = WriteUserPreferences(CFSTR("race.plist"), prefs) && ok;
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = -1;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    CFPropertyListRef prefs = CopyUserPreferences(CFSTR("race.plist"));
    const std::string writer =
        text((CFStringRef)CFDictionaryGetValue((CFDictionaryRef)prefs, CFSTR("Writer")));
    EXPECT_TRUE(writer == "first" || writer == "second") << writer;
    CFRelease(prefs);
    EXPECT_EQ(std::distance(fs::directory_iterator(folders.prefs), fs::directory_iterator()), 1);
}

} // namespace

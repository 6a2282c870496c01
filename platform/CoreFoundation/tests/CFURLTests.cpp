#include <CoreFoundation/CFURL.h>

#include "CFOwned.h"
#include "CFValueSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <unistd.h>

namespace {

using URL = Owned<CFURLRef>;

std::string text(CFStringRef string) {
    return cf::utf8_string(string);
}
std::string owned_text(CFStringRef string) {
    return text(Owned<CFStringRef>(string));
}

URL path_url(const char* path, bool is_directory = false) {
    Owned<CFStringRef> string(cf::make_cfstring(path));
    return URL(CFURLCreateWithFileSystemPath(nullptr, string, kCFURLPOSIXPathStyle, is_directory));
}

URL string_url(const char* string, CFURLRef base = nullptr) {
    Owned<CFStringRef> s(cf::make_cfstring(string));
    return URL(CFURLCreateWithString(nullptr, s, base));
}

std::string file_system_path(CFURLRef url, bool resolve = true) {
    UInt8 buffer[PATH_MAX];
    if (!CFURLGetFileSystemRepresentation(url, resolve, buffer, sizeof buffer))
        return "<failed>";
    return reinterpret_cast<const char*>(buffer);
}

TEST(CFURL, FilePathsAreEscapedInTheStringAndComeBackIntact) {
    const char* path = "/tmp/a b/c%d#e?f;g/\xC3\xA9t\xC3\xA9.txt";
    URL url = path_url(path);
    EXPECT_EQ(text(CFURLGetString(url)), "file:///tmp/a%20b/c%25d%23e%3Ff%3Bg/%C3%A9t%C3%A9.txt");
    EXPECT_EQ(file_system_path(url), path);
    EXPECT_EQ(owned_text(CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle)), path);
    EXPECT_FALSE(CFURLHasDirectoryPath(url));
    EXPECT_EQ(owned_text(CFURLCopyScheme(url)), "file");

    URL raw(CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(path),
                                                    static_cast<CFIndex>(strlen(path)), false));
    EXPECT_TRUE(CFEqual(url, raw));
    EXPECT_EQ(CFHash(url), CFHash(raw));

    UInt8 small[8];
    EXPECT_FALSE(CFURLGetFileSystemRepresentation(url, true, small, sizeof small));
}

TEST(CFURL, DirectoriesCarryATrailingSlashThatPathsDrop) {
    URL folder = path_url("/var/spool//", true);
    EXPECT_EQ(text(CFURLGetString(folder)), "file:///var/spool/");
    EXPECT_TRUE(CFURLHasDirectoryPath(folder));
    EXPECT_EQ(file_system_path(folder), "/var/spool");
    EXPECT_FALSE(CFEqual(folder, path_url("/var/spool")));
    URL root = path_url("/", true);
    EXPECT_EQ(file_system_path(root), "/");
    EXPECT_EQ(owned_text(CFURLCopyLastPathComponent(root)), "/");
    EXPECT_EQ(path_url("").get(), nullptr);
}

TEST(CFURL, RelativePathsResolveAgainstTheCurrentFolder) {
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    URL url = path_url("sub dir/file");
    EXPECT_EQ(text(CFURLGetString(url)), "sub%20dir/file");
    ASSERT_NE(CFURLGetBaseURL(url), nullptr);
    EXPECT_EQ(file_system_path(url), std::string(cwd) + "/sub dir/file");
    EXPECT_EQ(file_system_path(url, false), "sub dir/file");
    URL absolute(CFURLCopyAbsoluteURL(url));
    EXPECT_EQ(CFURLGetBaseURL(absolute), nullptr);
    EXPECT_EQ(file_system_path(absolute), std::string(cwd) + "/sub dir/file");
}

TEST(CFURL, StringsAreValidatedAndResolvedAsRFC3986Says) {
    EXPECT_EQ(string_url("file:///a b").get(), nullptr);
    EXPECT_EQ(string_url("file:///a%2").get(), nullptr);
    EXPECT_EQ(string_url("file:///a%zz").get(), nullptr);
    EXPECT_EQ(string_url("http://h/a#b#c").get(), nullptr);

    URL base = string_url("http://a/b/c/d;p?q");
    ASSERT_NE(base.get(), nullptr);
    const std::pair<const char*, const char*> cases[] = {
        {"g", "http://a/b/c/g"},         {"./g/", "http://a/b/c/g/"},
        {"../g", "http://a/b/g"},        {"../../../g", "http://a/g"},
        {"/./g", "http://a/g"},          {"?y", "http://a/b/c/d;p?y"},
        {"g?y#s", "http://a/b/c/g?y#s"}, {"", "http://a/b/c/d;p?q"},
        {"//g/x", "http://g/x"},         {"g/./h/../i", "http://a/b/c/g/i"},
    };
    for (const auto& [relative, expected] : cases) {
        URL url = string_url(relative, base);
        ASSERT_NE(url.get(), nullptr) << relative;
        URL absolute(CFURLCopyAbsoluteURL(url));
        EXPECT_EQ(text(CFURLGetString(absolute)), expected) << relative;
    }
    EXPECT_EQ(file_system_path(string_url("http://a/b")), "<failed>");
    EXPECT_EQ(file_system_path(string_url("file://localhost/etc/hosts")), "/etc/hosts");
}

TEST(CFURL, PathComponentsAndExtensions) {
    URL folder = path_url("/Library/Printers", true);
    Owned<CFStringRef> name(cf::make_cfstring("My File.plist"));
    URL file(CFURLCreateCopyAppendingPathComponent(nullptr, folder, name, false));
    EXPECT_EQ(text(CFURLGetString(file)), "file:///Library/Printers/My%20File.plist");
    EXPECT_EQ(owned_text(CFURLCopyLastPathComponent(file)), "My File.plist");
    EXPECT_EQ(owned_text(CFURLCopyPathExtension(file)), "plist");

    URL parent(CFURLCreateCopyDeletingLastPathComponent(nullptr, file));
    EXPECT_TRUE(CFEqual(parent, folder));
    URL grandparent(CFURLCreateCopyDeletingLastPathComponent(nullptr, parent));
    EXPECT_EQ(text(CFURLGetString(grandparent)), "file:///Library/");

    URL bare(CFURLCreateCopyDeletingPathExtension(nullptr, file));
    EXPECT_EQ(text(CFURLGetString(bare)), "file:///Library/Printers/My%20File");
    Owned<CFStringRef> ext(cf::make_cfstring("bak"));
    URL backup(CFURLCreateCopyAppendingPathExtension(nullptr, bare, ext));
    EXPECT_EQ(owned_text(CFURLCopyLastPathComponent(backup)), "My File.bak");
    URL bundle(CFURLCreateCopyAppendingPathExtension(nullptr, folder, ext));
    EXPECT_EQ(text(CFURLGetString(bundle)), "file:///Library/Printers.bak/");

    EXPECT_EQ(CFURLCopyPathExtension(path_url("/home/.profile")), nullptr);
    EXPECT_EQ(CFURLCopyPathExtension(folder), nullptr);
}

TEST(CFURL, BytesAreDecodedAndEscaped) {
    // "é" is 0x8E in Mac Roman.
    const UInt8 bytes[] = "/Volumes/Print Caf\x8E/Helper.plugin/";
    URL url(
        CFURLCreateWithBytes(nullptr, bytes, sizeof bytes - 1, kCFStringEncodingMacRoman, nullptr));
    ASSERT_NE(url.get(), nullptr);
    EXPECT_EQ(text(CFURLGetString(url)), "/Volumes/Print%20Caf%C3%A9/Helper.plugin/");
    EXPECT_EQ(file_system_path(url), "/Volumes/Print Caf\xC3\xA9/Helper.plugin");
}

TEST(CFURL, ReplacingPercentEscapes) {
    Owned<CFStringRef> original(cf::make_cfstring("a%20b%2Fc"));
    Owned<CFStringRef> none(cf::make_cfstring("")), slash(cf::make_cfstring("/"));
    EXPECT_EQ(owned_text(CFURLCreateStringByReplacingPercentEscapes(nullptr, original, none)),
              "a b/c");
    EXPECT_EQ(owned_text(CFURLCreateStringByReplacingPercentEscapes(nullptr, original, slash)),
              "a b%2Fc");
    EXPECT_EQ(owned_text(CFURLCreateStringByReplacingPercentEscapes(nullptr, original, nullptr)),
              "a%20b%2Fc");
    Owned<CFStringRef> bad(cf::make_cfstring("100%"));
    EXPECT_EQ(CFURLCreateStringByReplacingPercentEscapes(nullptr, bad, none), nullptr);
}

} // namespace

#include <CoreFoundation/CFURL.h>

#include <CoreFoundation/CFHolder.h>
#include "CFValueSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <unistd.h>

namespace {

using URL = cf::Holder<CFURLRef>;

std::string text(CFStringRef string) {
    return cf::utf8_string(string);
}
std::string owned_text(CFStringRef string) {
    return text(cf::Holder<CFStringRef>(string).get());
}

URL path_url(const char* path, bool is_directory = false) {
    cf::Holder<CFStringRef> string(cf::make_cfstring(path));
    return URL(
        CFURLCreateWithFileSystemPath(nullptr, string.get(), kCFURLPOSIXPathStyle, is_directory));
}

URL string_url(const char* string, CFURLRef base = nullptr) {
    cf::Holder<CFStringRef> s(cf::make_cfstring(string));
    return URL(CFURLCreateWithString(nullptr, s.get(), base));
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
    EXPECT_EQ(text(CFURLGetString(url.get())),
              "file:///tmp/a%20b/c%25d%23e%3Ff%3Bg/%C3%A9t%C3%A9.txt");
    EXPECT_EQ(file_system_path(url.get()), path);
    EXPECT_EQ(owned_text(CFURLCopyFileSystemPath(url.get(), kCFURLPOSIXPathStyle)), path);
    EXPECT_FALSE(CFURLHasDirectoryPath(url.get()));
    EXPECT_EQ(owned_text(CFURLCopyScheme(url.get())), "file");

    URL raw(CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(path),
                                                    static_cast<CFIndex>(strlen(path)), false));
    EXPECT_TRUE(CFEqual(url.get(), raw.get()));
    EXPECT_EQ(CFHash(url.get()), CFHash(raw.get()));

    UInt8 small[8];
    EXPECT_FALSE(CFURLGetFileSystemRepresentation(url.get(), true, small, sizeof small));
}

TEST(CFURL, DirectoriesCarryATrailingSlashThatPathsDrop) {
    URL folder = path_url("/var/spool//", true);
    EXPECT_EQ(text(CFURLGetString(folder.get())), "file:///var/spool/");
    EXPECT_TRUE(CFURLHasDirectoryPath(folder.get()));
    EXPECT_EQ(file_system_path(folder.get()), "/var/spool");
    EXPECT_FALSE(CFEqual(folder.get(), path_url("/var/spool").get()));
    URL root = path_url("/", true);
    EXPECT_EQ(file_system_path(root.get()), "/");
    EXPECT_EQ(owned_text(CFURLCopyLastPathComponent(root.get())), "/");
    EXPECT_EQ(path_url("").get(), nullptr);
}

TEST(CFURL, RelativePathsResolveAgainstTheCurrentFolder) {
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    URL url = path_url("sub dir/file");
    EXPECT_EQ(text(CFURLGetString(url.get())), "sub%20dir/file");
    ASSERT_NE(CFURLGetBaseURL(url.get()), nullptr);
    EXPECT_EQ(file_system_path(url.get()), std::string(cwd) + "/sub dir/file");
    EXPECT_EQ(file_system_path(url.get(), false), "sub dir/file");
    URL absolute(CFURLCopyAbsoluteURL(url.get()));
    EXPECT_EQ(CFURLGetBaseURL(absolute.get()), nullptr);
    EXPECT_EQ(file_system_path(absolute.get()), std::string(cwd) + "/sub dir/file");
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
        URL url = string_url(relative, base.get());
        ASSERT_NE(url.get(), nullptr) << relative;
        URL absolute(CFURLCopyAbsoluteURL(url.get()));
        EXPECT_EQ(text(CFURLGetString(absolute.get())), expected) << relative;
    }
    EXPECT_EQ(file_system_path(string_url("http://a/b").get()), "<failed>");
    EXPECT_EQ(file_system_path(string_url("file://localhost/etc/hosts").get()), "/etc/hosts");
}

TEST(CFURL, PathComponentsAndExtensions) {
    URL folder = path_url("/Library/Printers", true);
    cf::Holder<CFStringRef> name(cf::make_cfstring("My File.plist"));
    URL file(CFURLCreateCopyAppendingPathComponent(nullptr, folder.get(), name.get(), false));
    EXPECT_EQ(text(CFURLGetString(file.get())), "file:///Library/Printers/My%20File.plist");
    EXPECT_EQ(owned_text(CFURLCopyLastPathComponent(file.get())), "My File.plist");
    EXPECT_EQ(owned_text(CFURLCopyPathExtension(file.get())), "plist");

    URL parent(CFURLCreateCopyDeletingLastPathComponent(nullptr, file.get()));
    EXPECT_TRUE(CFEqual(parent.get(), folder.get()));
    URL grandparent(CFURLCreateCopyDeletingLastPathComponent(nullptr, parent.get()));
    EXPECT_EQ(text(CFURLGetString(grandparent.get())), "file:///Library/");

    URL bare(CFURLCreateCopyDeletingPathExtension(nullptr, file.get()));
    EXPECT_EQ(text(CFURLGetString(bare.get())), "file:///Library/Printers/My%20File");
    cf::Holder<CFStringRef> ext(cf::make_cfstring("bak"));
    URL backup(CFURLCreateCopyAppendingPathExtension(nullptr, bare.get(), ext.get()));
    EXPECT_EQ(owned_text(CFURLCopyLastPathComponent(backup.get())), "My File.bak");
    URL bundle(CFURLCreateCopyAppendingPathExtension(nullptr, folder.get(), ext.get()));
    EXPECT_EQ(text(CFURLGetString(bundle.get())), "file:///Library/Printers.bak/");

    EXPECT_EQ(CFURLCopyPathExtension(path_url("/home/.profile").get()), nullptr);
    EXPECT_EQ(CFURLCopyPathExtension(folder.get()), nullptr);
}

TEST(CFURL, BytesAreDecodedAndEscaped) {
    // "é" is 0x8E in Mac Roman.
    const UInt8 bytes[] = "/Volumes/Print Caf\x8E/Helper.plugin/";
    URL url(
        CFURLCreateWithBytes(nullptr, bytes, sizeof bytes - 1, kCFStringEncodingMacRoman, nullptr));
    ASSERT_NE(url.get(), nullptr);
    EXPECT_EQ(text(CFURLGetString(url.get())), "/Volumes/Print%20Caf%C3%A9/Helper.plugin/");
    EXPECT_EQ(file_system_path(url.get()), "/Volumes/Print Caf\xC3\xA9/Helper.plugin");
}

TEST(CFURL, ReplacingPercentEscapes) {
    cf::Holder<CFStringRef> original(cf::make_cfstring("a%20b%2Fc"));
    cf::Holder<CFStringRef> none(cf::make_cfstring(""));
    cf::Holder<CFStringRef> slash(cf::make_cfstring("/"));
    EXPECT_EQ(
        owned_text(CFURLCreateStringByReplacingPercentEscapes(nullptr, original.get(), none.get())),
        "a b/c");
    EXPECT_EQ(owned_text(
                  CFURLCreateStringByReplacingPercentEscapes(nullptr, original.get(), slash.get())),
              "a b%2Fc");
    EXPECT_EQ(
        owned_text(CFURLCreateStringByReplacingPercentEscapes(nullptr, original.get(), nullptr)),
        "a%20b%2Fc");
    cf::Holder<CFStringRef> bad(cf::make_cfstring("100%"));
    EXPECT_EQ(CFURLCreateStringByReplacingPercentEscapes(nullptr, bad.get(), none.get()), nullptr);
}

} // namespace

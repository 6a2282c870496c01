#include "BundleTestSupport.h"

#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using cftest::Owned;
using cftest::utf8;

namespace {

std::string localized(CFBundleRef bundle, const char* key, const char* value = nullptr,
                      const char* table = nullptr) {
    Owned<CFStringRef> k(cftest::make(key));
    Owned<CFStringRef> v(value ? cftest::make(value) : nullptr);
    Owned<CFStringRef> t(table ? cftest::make(table) : nullptr);
    Owned<CFStringRef> result(CFBundleCopyLocalizedString(bundle, k, v, t));
    return utf8(result);
}

std::string resource(CFBundleRef bundle, const char* name, const char* type,
                     const char* sub = nullptr) {
    Owned<CFStringRef> n(name ? cftest::make(name) : nullptr);
    Owned<CFStringRef> t(type ? cftest::make(type) : nullptr);
    Owned<CFStringRef> s(sub ? cftest::make(sub) : nullptr);
    Owned<CFURLRef> url(CFBundleCopyResourceURL(bundle, n, t, s));
    return url.get() ? cftest::path_of(url) : "<none>";
}

TEST(CFBundle, OneObjectPerFolderFoundByIdentifier) {
    const fs::path good = fs::canonical(cftest::fixture("Good.plugin"));
    Owned<CFBundleRef> a(cftest::create_bundle(good));
    Owned<CFBundleRef> b(cftest::create_bundle(good / "Contents" / ".."));
    ASSERT_NE(a.get(), nullptr);
    EXPECT_EQ(a.get(), b.get());
    EXPECT_EQ(utf8(CFBundleGetIdentifier(a)), "org.example.test.good");
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("org.example.test.good")), a.get());
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("org.example.none")), nullptr);
    CFArrayRef all = CFBundleGetAllBundles();
    EXPECT_TRUE(CFArrayContainsValue(all, CFRangeMake(0, CFArrayGetCount(all)), a.get()));
    Owned<CFURLRef> url(CFBundleCopyBundleURL(a));
    EXPECT_EQ(cftest::path_of(url), good.string());
    EXPECT_EQ(cftest::create_bundle(good / "Contents" / "Info.plist"), nullptr); // not a folder
    EXPECT_EQ(cftest::create_bundle(good / "missing"), nullptr);
}

TEST(CFBundle, FolderLayouts) {
    const fs::path good = fs::canonical(cftest::fixture("Good.plugin"));
    const fs::path flat = fs::canonical(cftest::fixture("Flat.bundle"));
    Owned<CFBundleRef> bundle(cftest::create_bundle(good));
    Owned<CFURLRef> resources(CFBundleCopyResourcesDirectoryURL(bundle));
    Owned<CFURLRef> plugins(CFBundleCopyBuiltInPlugInsURL(bundle));
    Owned<CFURLRef> executable(CFBundleCopyExecutableURL(bundle));
    EXPECT_EQ(cftest::path_of(resources), (good / "Contents/Resources").string());
    EXPECT_EQ(cftest::path_of(plugins), (good / "Contents/PlugIns").string());
    EXPECT_EQ(cftest::path_of(executable), (good / "Contents/MacOS/TestPlugIn").string());

    Owned<CFBundleRef> flat_bundle(cftest::create_bundle(flat));
    Owned<CFURLRef> flat_resources(CFBundleCopyResourcesDirectoryURL(flat_bundle));
    EXPECT_EQ(cftest::path_of(flat_resources), flat.string());
    EXPECT_EQ(CFBundleCopyExecutableURL(flat_bundle), nullptr);
    EXPECT_EQ(utf8(CFBundleGetIdentifier(flat_bundle)), "org.example.test.flat");
    EXPECT_EQ(localized(flat_bundle, "Accounting"), "Flat accounting"); // "English" folder name

    CFBundleRef main = CFBundleGetMainBundle();
    Owned<CFURLRef> main_url(CFBundleCopyBundleURL(main));
    EXPECT_EQ(cftest::path_of(main_url), fs::canonical("/proc/self/exe").parent_path().string());
}

TEST(CFBundle, MalformedInfoPlistIsReportedWithItsLine) {
    testing::internal::CaptureStderr();
    Owned<CFBundleRef> bundle(cftest::create_bundle(cftest::scratch_copy("Malformed.plugin")));
    std::string said = testing::internal::GetCapturedStderr();
    ASSERT_NE(bundle.get(), nullptr);
    EXPECT_EQ(CFDictionaryGetCount(CFBundleGetInfoDictionary(bundle)), 0);
    EXPECT_EQ(CFBundleGetIdentifier(bundle), nullptr);
    EXPECT_NE(said.find("Info.plist"), std::string::npos) << said;
    EXPECT_NE(said.find("line"), std::string::npos) << said;
    Owned<CFStringRef> reason(PlatformCopyBundleLoadError(bundle));
    EXPECT_NE(utf8(reason).find("Info.plist"), std::string::npos);
}

TEST(CFBundle, LocalizationsAndTheirChoice) {
    Owned<CFBundleRef> bundle(cftest::create_bundle(cftest::fixture("Good.plugin")));
    Owned<CFArrayRef> all(CFBundleCopyBundleLocalizations(bundle));
    ASSERT_EQ(CFArrayGetCount(all), 3);
    EXPECT_EQ(utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(all, 0))), "de");
    struct Case {
        const char* language;
        const char* lang;
        const char* expected;
    } cases[] = {{"", "de_DE.UTF-8", "de"}, {"it:fr", "de_DE", "fr"}, {"", "C.UTF-8", "en"}};
    for (const Case& c : cases) {
        cftest::ScopedEnv language("LANGUAGE", c.language);
        cftest::ScopedEnv lang("LANG", c.lang);
        Owned<CFArrayRef> chosen(CFBundleCopyPreferredLocalizationsFromArray(all));
        ASSERT_EQ(CFArrayGetCount(chosen), 1);
        EXPECT_EQ(utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(chosen, 0))), c.expected)
            << c.language << " / " << c.lang;
    }
}

TEST(CFBundle, ResourcesLocalisedFirst) {
    const fs::path resources = fs::canonical(cftest::fixture("Good.plugin/Contents/Resources"));
    Owned<CFBundleRef> bundle(cftest::create_bundle(cftest::fixture("Good.plugin")));
    {
        cftest::ScopedEnv lang("LANG", "de_DE.UTF-8");
        EXPECT_EQ(resource(bundle, "Image", "gif"), (resources / "de.lproj/Image.gif").string());
        EXPECT_EQ(resource(bundle, "Image.gif", nullptr),
                  (resources / "de.lproj/Image.gif").string());
    }
    EXPECT_EQ(resource(bundle, "Image", "gif"), (resources / "Image.gif").string());
    EXPECT_EQ(resource(bundle, "Data", "txt", "sub"), (resources / "sub/Data.txt").string());
    EXPECT_EQ(resource(bundle, nullptr, "txt", "sub"), (resources / "sub/Data.txt").string());
    EXPECT_EQ(resource(bundle, "Data", "txt"), "<none>");
    EXPECT_EQ(resource(bundle, "Missing", "gif"), "<none>");
}

TEST(CFBundle, LocalizedStringsByLanguageTableAndFallback) {
    Owned<CFBundleRef> bundle(cftest::create_bundle(cftest::fixture("Good.plugin")));
    EXPECT_EQ(localized(bundle, "Accounting", "STRING NOT FOUND"), "Accounting");
    EXPECT_EQ(localized(bundle, "Nope", "STRING NOT FOUND"), "STRING NOT FOUND");
    EXPECT_EQ(localized(bundle, "Nope"), "Nope");
    EXPECT_EQ(localized(bundle, "Nope", ""), "Nope");
    cftest::ScopedEnv lang("LANG", "de_DE.UTF-8");
    EXPECT_EQ(localized(bundle, "Accounting", "STRING NOT FOUND"), "Kostenstellen");
    EXPECT_EQ(localized(bundle, "Accounting", nullptr, "Localizable"), "Kostenstellen");
    EXPECT_EQ(localized(bundle, "Bad Default Codes Message", "STRING NOT FOUND"),
              "STRING NOT FOUND"); // one table per language, no mixing
    EXPECT_EQ(localized(bundle, "Greeting", nullptr, "Other"), "Hallo");
    EXPECT_EQ(localized(bundle, "Greeting", nullptr, "NoSuchTable"), "Greeting");
    // No German InfoPlist.strings: the development region's table answers.
    EXPECT_EQ(utf8(static_cast<CFStringRef>(
                  CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFBundleName")))),
              "Good Test Plug-in");
    EXPECT_EQ(utf8(static_cast<CFStringRef>(
                  CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFBundleIdentifier")))),
              "org.example.test.good");
    EXPECT_EQ(CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("NoSuchKey")), nullptr);
}

TEST(CFBundle, MalformedStringsKeepEarlierKeysAndAreReportedOnce) {
    Owned<CFBundleRef> bundle(cftest::create_bundle(cftest::fixture("Good.plugin")));
    cftest::ScopedEnv lang("LANG", "fr_FR.UTF-8");
    testing::internal::CaptureStderr();
    EXPECT_EQ(localized(bundle, "Accounting"), "Comptabilité");
    EXPECT_EQ(localized(bundle, "Cancel"), "Cancel");
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("fr.lproj/Localizable.strings:4:"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}

TEST(CFBundle, StringsAreReadOnceAndThenServedWithoutTheFile) {
    const fs::path copy = cftest::scratch_copy("Flat.bundle");
    Owned<CFBundleRef> bundle(cftest::create_bundle(copy));
    EXPECT_EQ(localized(bundle, "Accounting"), "Flat accounting");
    fs::remove_all(copy / "en.lproj");
    EXPECT_EQ(localized(bundle, "Accounting"), "Flat accounting");
}

TEST(CFBundle, CodeLoadingSymbolsAndFailures) {
    Owned<CFBundleRef> bundle(cftest::create_bundle(cftest::fixture("Good.plugin")));
    auto add = reinterpret_cast<int (*)(int, int)>(
        CFBundleGetFunctionPointerForName(bundle, CFSTR("TestAdd"))); // loads on demand
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add(2, 3), 5);
    EXPECT_TRUE(CFBundleIsExecutableLoaded(bundle));
    auto version =
        static_cast<const int*>(CFBundleGetDataPointerForName(bundle, CFSTR("TestPlugInVersion")));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(*version, 7);
    EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle, CFSTR("NoSuchFunction")), nullptr);
    CFBundleUnloadExecutable(bundle);
    EXPECT_FALSE(CFBundleIsExecutableLoaded(bundle));

    testing::internal::CaptureStderr();
    Owned<CFBundleRef> no_exec(cftest::create_bundle(cftest::fixture("NoExec.plugin")));
    EXPECT_FALSE(CFBundleLoadExecutable(no_exec));
    Owned<CFStringRef> reason(PlatformCopyBundleLoadError(no_exec));
    EXPECT_NE(utf8(reason).find("no executable \"Missing\""), std::string::npos) << utf8(reason);

    const fs::path broken = cftest::scratch_copy("Flat.bundle");
    std::ofstream(broken / "Flat") << "synthetic test data: not a shared object\n";
    Owned<CFBundleRef> bad(cftest::create_bundle(broken));
    EXPECT_FALSE(CFBundleLoadExecutable(bad));
    Owned<CFStringRef> why(PlatformCopyBundleLoadError(bad));
    EXPECT_NE(utf8(why).find(broken.string() + "/Flat"), std::string::npos) << utf8(why);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("NoExec.plugin"), std::string::npos) << said;
}

} // namespace

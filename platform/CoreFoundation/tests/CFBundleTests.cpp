#include "BundleTestSupport.h"

#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using cftest::utf8;

namespace {

std::string localized(CFBundleRef bundle, const char* key, const char* value = nullptr,
                      const char* table = nullptr) {
    cf::Holder<CFStringRef> k(cftest::make(key));
    cf::Holder<CFStringRef> v(value ? cftest::make(value) : nullptr);
    cf::Holder<CFStringRef> t(table ? cftest::make(table) : nullptr);
    cf::Holder<CFStringRef> result(CFBundleCopyLocalizedString(bundle, k.get(), v.get(), t.get()));
    return utf8(result.get());
}

std::string resource(CFBundleRef bundle, const char* name, const char* type,
                     const char* sub = nullptr) {
    cf::Holder<CFStringRef> n(name ? cftest::make(name) : nullptr);
    cf::Holder<CFStringRef> t(type ? cftest::make(type) : nullptr);
    cf::Holder<CFStringRef> s(sub ? cftest::make(sub) : nullptr);
    cf::Holder<CFURLRef> url(CFBundleCopyResourceURL(bundle, n.get(), t.get(), s.get()));
    return url.get() ? cftest::path_of(url.get()) : "<none>";
}

TEST(CFBundle, OneObjectPerFolderFoundByIdentifier) {
    const fs::path good = fs::canonical(cftest::fixture("Good.plugin"));
    cf::Holder<CFBundleRef> a(cftest::create_bundle(good));
    cf::Holder<CFBundleRef> b(cftest::create_bundle(good / "Contents" / ".."));
    ASSERT_NE(a.get(), nullptr);
    EXPECT_EQ(a.get(), b.get());
    EXPECT_EQ(utf8(CFBundleGetIdentifier(a.get())), "org.example.test.good");
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("org.example.test.good")), a.get());
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("org.example.none")), nullptr);
    CFArrayRef all = CFBundleGetAllBundles();
    EXPECT_TRUE(CFArrayContainsValue(all, CFRangeMake(0, CFArrayGetCount(all)), a.get()));
    cf::Holder<CFURLRef> url(CFBundleCopyBundleURL(a.get()));
    EXPECT_EQ(cftest::path_of(url.get()), good.string());
    EXPECT_EQ(cftest::create_bundle(good / "Contents" / "Info.plist"), nullptr); // not a folder
    EXPECT_EQ(cftest::create_bundle(good / "missing"), nullptr);
}

TEST(CFBundle, FolderLayouts) {
    const fs::path good = fs::canonical(cftest::fixture("Good.plugin"));
    const fs::path flat = fs::canonical(cftest::fixture("Flat.bundle"));
    cf::Holder<CFBundleRef> bundle(cftest::create_bundle(good));
    cf::Holder<CFURLRef> resources(CFBundleCopyResourcesDirectoryURL(bundle.get()));
    cf::Holder<CFURLRef> plugins(CFBundleCopyBuiltInPlugInsURL(bundle.get()));
    cf::Holder<CFURLRef> executable(CFBundleCopyExecutableURL(bundle.get()));
    EXPECT_EQ(cftest::path_of(resources.get()), (good / "Contents/Resources").string());
    EXPECT_EQ(cftest::path_of(plugins.get()), (good / "Contents/PlugIns").string());
    EXPECT_EQ(cftest::path_of(executable.get()), (good / "Contents/MacOS/TestPlugIn").string());

    cf::Holder<CFBundleRef> flat_bundle(cftest::create_bundle(flat));
    cf::Holder<CFURLRef> flat_resources(CFBundleCopyResourcesDirectoryURL(flat_bundle.get()));
    EXPECT_EQ(cftest::path_of(flat_resources.get()), flat.string());
    EXPECT_EQ(CFBundleCopyExecutableURL(flat_bundle.get()), nullptr);
    EXPECT_EQ(utf8(CFBundleGetIdentifier(flat_bundle.get())), "org.example.test.flat");
    EXPECT_EQ(localized(flat_bundle.get(), "Accounting"),
              "Flat accounting"); // "English" folder name

    CFBundleRef main = CFBundleGetMainBundle();
    cf::Holder<CFURLRef> main_url(CFBundleCopyBundleURL(main));
    EXPECT_EQ(cftest::path_of(main_url.get()),
              fs::canonical("/proc/self/exe").parent_path().string());
}

TEST(CFBundle, MalformedInfoPlistIsReportedWithItsLine) {
    testing::internal::CaptureStderr();
    cf::Holder<CFBundleRef> bundle(cftest::create_bundle(cftest::scratch_copy("Malformed.plugin")));
    std::string said = testing::internal::GetCapturedStderr();
    ASSERT_NE(bundle.get(), nullptr);
    EXPECT_EQ(CFDictionaryGetCount(CFBundleGetInfoDictionary(bundle.get())), 0);
    EXPECT_EQ(CFBundleGetIdentifier(bundle.get()), nullptr);
    EXPECT_NE(said.find("Info.plist"), std::string::npos) << said;
    EXPECT_NE(said.find("line"), std::string::npos) << said;
    cf::Holder<CFStringRef> reason(PlatformCopyBundleLoadError(bundle.get()));
    EXPECT_NE(utf8(reason.get()).find("Info.plist"), std::string::npos);
}

TEST(CFBundle, LocalizationsAndTheirChoice) {
    cf::Holder<CFBundleRef> bundle(cftest::create_bundle(cftest::fixture("Good.plugin")));
    cf::Holder<CFArrayRef> all(CFBundleCopyBundleLocalizations(bundle.get()));
    ASSERT_EQ(CFArrayGetCount(all.get()), 3);
    EXPECT_EQ(utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(all.get(), 0))), "de");
    struct Case {
        const char* language;
        const char* lang;
        const char* expected;
    } cases[] = {{"", "de_DE.UTF-8", "de"}, {"it:fr", "de_DE", "fr"}, {"", "C.UTF-8", "en"}};
    for (const Case& c : cases) {
        cftest::ScopedEnv language("LANGUAGE", c.language);
        cftest::ScopedEnv lang("LANG", c.lang);
        cf::Holder<CFArrayRef> chosen(CFBundleCopyPreferredLocalizationsFromArray(all.get()));
        ASSERT_EQ(CFArrayGetCount(chosen.get()), 1);
        EXPECT_EQ(utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(chosen.get(), 0))),
                  c.expected)
            << c.language << " / " << c.lang;
    }
}

TEST(CFBundle, ResourcesLocalisedFirst) {
    const fs::path resources = fs::canonical(cftest::fixture("Good.plugin/Contents/Resources"));
    cf::Holder<CFBundleRef> bundle(cftest::create_bundle(cftest::fixture("Good.plugin")));
    {
        cftest::ScopedEnv lang("LANG", "de_DE.UTF-8");
        EXPECT_EQ(resource(bundle.get(), "Image", "gif"),
                  (resources / "de.lproj/Image.gif").string());
        EXPECT_EQ(resource(bundle.get(), "Image.gif", nullptr),
                  (resources / "de.lproj/Image.gif").string());
    }
    EXPECT_EQ(resource(bundle.get(), "Image", "gif"), (resources / "Image.gif").string());
    EXPECT_EQ(resource(bundle.get(), "Data", "txt", "sub"), (resources / "sub/Data.txt").string());
    EXPECT_EQ(resource(bundle.get(), nullptr, "txt", "sub"), (resources / "sub/Data.txt").string());
    EXPECT_EQ(resource(bundle.get(), "Data", "txt"), "<none>");
    EXPECT_EQ(resource(bundle.get(), "Missing", "gif"), "<none>");
}

TEST(CFBundle, LocalizedStringsByLanguageTableAndFallback) {
    cf::Holder<CFBundleRef> bundle(cftest::create_bundle(cftest::fixture("Good.plugin")));
    EXPECT_EQ(localized(bundle.get(), "Accounting", "STRING NOT FOUND"), "Accounting");
    EXPECT_EQ(localized(bundle.get(), "Nope", "STRING NOT FOUND"), "STRING NOT FOUND");
    EXPECT_EQ(localized(bundle.get(), "Nope"), "Nope");
    EXPECT_EQ(localized(bundle.get(), "Nope", ""), "Nope");
    cftest::ScopedEnv lang("LANG", "de_DE.UTF-8");
    EXPECT_EQ(localized(bundle.get(), "Accounting", "STRING NOT FOUND"), "Kostenstellen");
    EXPECT_EQ(localized(bundle.get(), "Accounting", nullptr, "Localizable"), "Kostenstellen");
    EXPECT_EQ(localized(bundle.get(), "Bad Default Codes Message", "STRING NOT FOUND"),
              "STRING NOT FOUND"); // one table per language, no mixing
    EXPECT_EQ(localized(bundle.get(), "Greeting", nullptr, "Other"), "Hallo");
    EXPECT_EQ(localized(bundle.get(), "Greeting", nullptr, "NoSuchTable"), "Greeting");
    // No German InfoPlist.strings: the development region's table answers.
    EXPECT_EQ(utf8(static_cast<CFStringRef>(
                  CFBundleGetValueForInfoDictionaryKey(bundle.get(), CFSTR("CFBundleName")))),
              "Good Test Plug-in");
    EXPECT_EQ(utf8(static_cast<CFStringRef>(
                  CFBundleGetValueForInfoDictionaryKey(bundle.get(), CFSTR("CFBundleIdentifier")))),
              "org.example.test.good");
    EXPECT_EQ(CFBundleGetValueForInfoDictionaryKey(bundle.get(), CFSTR("NoSuchKey")), nullptr);
}

TEST(CFBundle, MalformedStringsKeepEarlierKeysAndAreReportedOnce) {
    cf::Holder<CFBundleRef> bundle(cftest::create_bundle(cftest::fixture("Good.plugin")));
    cftest::ScopedEnv lang("LANG", "fr_FR.UTF-8");
    testing::internal::CaptureStderr();
    EXPECT_EQ(localized(bundle.get(), "Accounting"), "Comptabilité");
    EXPECT_EQ(localized(bundle.get(), "Cancel"), "Cancel");
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("fr.lproj/Localizable.strings:4:"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}

TEST(CFBundle, StringsAreReadOnceAndThenServedWithoutTheFile) {
    const fs::path copy = cftest::scratch_copy("Flat.bundle");
    cf::Holder<CFBundleRef> bundle(cftest::create_bundle(copy));
    EXPECT_EQ(localized(bundle.get(), "Accounting"), "Flat accounting");
    fs::remove_all(copy / "en.lproj");
    EXPECT_EQ(localized(bundle.get(), "Accounting"), "Flat accounting");
}

TEST(CFBundle, CodeLoadingSymbolsAndFailures) {
    cf::Holder<CFBundleRef> bundle(cftest::create_bundle(cftest::fixture("Good.plugin")));
    auto add = reinterpret_cast<int (*)(int, int)>(
        CFBundleGetFunctionPointerForName(bundle.get(), CFSTR("TestAdd"))); // loads on demand
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add(2, 3), 5);
    EXPECT_TRUE(CFBundleIsExecutableLoaded(bundle.get()));
    auto version = static_cast<const int*>(
        CFBundleGetDataPointerForName(bundle.get(), CFSTR("TestPlugInVersion")));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(*version, 7);
    EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle.get(), CFSTR("NoSuchFunction")), nullptr);
    CFBundleUnloadExecutable(bundle.get());
    EXPECT_FALSE(CFBundleIsExecutableLoaded(bundle.get()));

    testing::internal::CaptureStderr();
    cf::Holder<CFBundleRef> no_exec(cftest::create_bundle(cftest::fixture("NoExec.plugin")));
    EXPECT_FALSE(CFBundleLoadExecutable(no_exec.get()));
    cf::Holder<CFStringRef> reason(PlatformCopyBundleLoadError(no_exec.get()));
    EXPECT_NE(utf8(reason.get()).find("no executable \"Missing\""), std::string::npos)
        << utf8(reason.get());

    const fs::path broken = cftest::scratch_copy("Flat.bundle");
    std::ofstream(broken / "Flat") << "synthetic test data: not a shared object\n";
    cf::Holder<CFBundleRef> bad(cftest::create_bundle(broken));
    EXPECT_FALSE(CFBundleLoadExecutable(bad.get()));
    cf::Holder<CFStringRef> why(PlatformCopyBundleLoadError(bad.get()));
    EXPECT_NE(utf8(why.get()).find(broken.string() + "/Flat"), std::string::npos)
        << utf8(why.get());
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("NoExec.plugin"), std::string::npos) << said;
}

} // namespace

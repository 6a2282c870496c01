#include <CoreServices/CoreServices.h>
#include <Help/Help.h>
#include <Help/PlatformHost.h>

#include "HelpInternal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

std::string fixture(const std::string& name) {
    return std::string(HELP_TEST_FIXTURES) + "/" + name;
}

CFURLRef url_of(const std::string& path) {
    return CFURLCreateFromFileSystemRepresentation(nullptr,
                                                   reinterpret_cast<const UInt8*>(path.data()),
                                                   static_cast<CFIndex>(path.size()), true);
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

struct Shown {
    int calls = 0;
    std::string path;
    std::string anchor;
};

void record(const char* path, const char* anchor, void* info) {
    auto* shown = static_cast<Shown*>(info);
    ++shown->calls;
    shown->path = path;
    shown->anchor = anchor != nullptr ? anchor : "<none>";
}

// The Manual book is known because its bundle object exists; pages go to a recording viewer.
class HelpBook : public testing::Test {
  protected:
    void SetUp() override {
        cf::Holder<CFURLRef> url(url_of(fixture("Manual.bundle")));
        bundle_ = CFBundleCreate(nullptr, url.get());
        ASSERT_NE(bundle_, nullptr);
        PlatformSetHelpViewer(record, &shown_);
    }
    void TearDown() override {
        PlatformSetHelpViewer(nullptr, nullptr);
        if (bundle_ != nullptr)
            CFRelease(bundle_);
    }
    std::string en(const std::string& page) const {
        return fixture("Manual.bundle/Contents/Resources/en.lproj/ManualHelp/" + page);
    }

    CFBundleRef bundle_ = nullptr;
    Shown shown_;
};

TEST(HelpAnchors, FindsNameAndIdAttributesQuotedOrNot) {
    EXPECT_TRUE(ah::page_has_anchor(R"(<a name="top">)", "top"));
    EXPECT_TRUE(ah::page_has_anchor("<h1 ID = 'top'>", "top"));
    EXPECT_TRUE(ah::page_has_anchor("<a\nname=top>x</a>", "top"));
    EXPECT_FALSE(ah::page_has_anchor(R"(<a name="top2">)", "top"));
    EXPECT_FALSE(ah::page_has_anchor(R"(<a name="Top">)", "top"));
    EXPECT_FALSE(ah::page_has_anchor(R"(<div data-id="top" xname="top">)", "top"));
    EXPECT_FALSE(ah::page_has_anchor(R"(<a href="#top">top</a> name)", "top"));
}

TEST(HelpViewer, FileURLsEscapeWhatAURLPathCannotHold) {
    EXPECT_EQ(ah::file_url("/a b/100%.html", "x y"), "file:///a%20b/100%25.html#x%20y");
    EXPECT_EQ(ah::file_url("/plain/page.htm", nullptr), "file:///plain/page.htm");
}

TEST_F(HelpBook, OpensPagesAndTheStartPageOfANamedBook) {
    EXPECT_EQ(AHGotoPage(CFSTR("Manual Help"), CFSTR("Mac_topics/M_dialog.htm"), nullptr), noErr);
    EXPECT_EQ(shown_.path, en("Mac_topics/M_dialog.htm"));
    EXPECT_EQ(shown_.anchor, "<none>");

    EXPECT_EQ(AHGotoPage(CFSTR("Manual Help"), nullptr, CFSTR("welcome")), noErr);
    EXPECT_EQ(shown_.path, en("index.html"));
    EXPECT_EQ(shown_.anchor, "welcome");

    EXPECT_EQ(AHGotoPage(CFSTR("Manual Help"), CFSTR("Mac_topics/M_dialog.htm"), CFSTR("codes")),
              noErr);
    EXPECT_EQ(shown_.anchor, "codes");
    EXPECT_EQ(shown_.calls, 3);
}

TEST_F(HelpBook, UnknownBooksPagesAndAnchorsFailWithoutShowingAnything) {
    EXPECT_EQ(AHGotoPage(CFSTR("No Such Help"), nullptr, nullptr), kAHInternalErr);
    EXPECT_EQ(AHGotoPage(CFSTR("Manual Help"), CFSTR("missing.html"), nullptr), fnfErr);
    EXPECT_EQ(AHGotoPage(CFSTR("Manual Help"), CFSTR("Mac_topics"), nullptr), fnfErr);
    EXPECT_EQ(AHGotoPage(CFSTR("Manual Help"), CFSTR("../../Info.plist"), nullptr), fnfErr);
    EXPECT_EQ(AHGotoPage(CFSTR("Manual Help"), CFSTR("index.html"), CFSTR("fields")), fnfErr);
    EXPECT_EQ(AHGotoPage(nullptr, nullptr, nullptr), paramErr);
    EXPECT_EQ(AHGotoPage(nullptr, CFSTR("http://example.org/"), nullptr), paramErr);
    EXPECT_EQ(AHLookupAnchor(CFSTR("Manual Help"), CFSTR("nowhere")), fnfErr);
    EXPECT_EQ(AHLookupAnchor(CFSTR("No Such Help"), CFSTR("codes")), kAHInternalErr);
    EXPECT_EQ(AHLookupAnchor(CFSTR("Manual Help"), nullptr), paramErr);
    EXPECT_EQ(shown_.calls, 0);
}

TEST_F(HelpBook, PagesComeFromThePreferredLocalizationFallingBackToTheDevelopmentRegion) {
    ScopedEnv language("LANGUAGE", "de");
    EXPECT_EQ(AHGotoPage(CFSTR("Manual Help"), nullptr, CFSTR("willkommen")), noErr);
    EXPECT_EQ(shown_.path,
              fixture("Manual.bundle/Contents/Resources/de.lproj/ManualHelp/index.html"));
    EXPECT_EQ(AHGotoPage(CFSTR("Manual Help"), CFSTR("Mac_topics/M_dialog.htm"), nullptr), noErr);
    EXPECT_EQ(shown_.path, en("Mac_topics/M_dialog.htm"));
}

TEST_F(HelpBook, AnchorLookupSearchesTheNamedBookOrEveryBook) {
    EXPECT_EQ(AHLookupAnchor(CFSTR("Manual Help"), CFSTR("codes")), noErr);
    EXPECT_EQ(shown_.path, en("Mac_topics/M_dialog.htm"));
    EXPECT_EQ(shown_.anchor, "codes");
    EXPECT_EQ(AHLookupAnchor(nullptr, CFSTR("fields")), noErr);
    EXPECT_EQ(shown_.path, en("Mac_topics/M_dialog.htm"));
    EXPECT_EQ(AHLookupAnchor(nullptr, CFSTR("welcome")), noErr);
    EXPECT_EQ(shown_.path, en("index.html"));
}

TEST_F(HelpBook, AFileURLOpensWithoutABook) {
    const std::string url = ah::file_url(en("index.html"), nullptr);
    cf::Holder<CFStringRef> text(
        CFStringCreateWithCString(nullptr, url.c_str(), kCFStringEncodingUTF8));
    EXPECT_EQ(AHGotoPage(nullptr, text.get(), CFSTR("welcome")), noErr);
    EXPECT_EQ(shown_.path, en("index.html"));
    EXPECT_EQ(AHGotoPage(nullptr, CFSTR("file:///no/such/page.html"), nullptr), fnfErr);
}

TEST_F(HelpBook, RegisteredBooksStayKnownAndOpenAtTheirAccessPath) {
    EXPECT_EQ(AHGotoPage(CFSTR("Guide Help"), nullptr, nullptr), kAHInternalErr);
    FSRef ref;
    const std::string guide = fixture("Guide.bundle");
    ASSERT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(guide.c_str()), &ref, nullptr), noErr);
    EXPECT_EQ(AHRegisterHelpBook(&ref), noErr);
    EXPECT_EQ(AHGotoPage(CFSTR("Guide Help"), nullptr, nullptr), noErr);
    EXPECT_EQ(shown_.path, guide + "/GuideHelp/start/home.html");

    cf::Holder<CFURLRef> nobook(url_of(fixture("NoBook.bundle")));
    EXPECT_EQ(AHRegisterHelpBookWithURL(nobook.get()), kAHInternalErr);
    cf::Holder<CFURLRef> missing(url_of(fixture("Missing.bundle")));
    EXPECT_EQ(AHRegisterHelpBookWithURL(missing.get()), dirNFErr);
    EXPECT_EQ(AHRegisterHelpBookWithURL(nullptr), paramErr);
}

TEST_F(HelpBook, TheDefaultViewerPrintsThePageWithoutADisplay) {
    ScopedEnv display("DISPLAY", nullptr);
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    PlatformSetHelpViewer(nullptr, nullptr);
    testing::internal::CaptureStdout();
    OSStatus status = AHGotoPage(CFSTR("Manual Help"), CFSTR("index.html"), CFSTR("welcome"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), en("index.html") + "#welcome\n");
    EXPECT_EQ(status, noErr);
}

} // namespace

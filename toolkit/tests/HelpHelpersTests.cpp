#include "HelpHelpers.h"

#include "ToolkitTestSupport.h"

#include <Help/Help.h>
#include <Help/PlatformHost.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Shown {
    int calls = 0;
    std::string page;
    std::string anchor;
};

void record(const char* path, const char* anchor, void* info) {
    auto* shown = static_cast<Shown*>(info);
    ++shown->calls;
    // The page relative to the book's folder is what the caller chose.
    const std::string book = "/HostHelp/";
    const std::string full = path;
    shown->page = full.substr(full.find(book) + book.size());
    shown->anchor = anchor != nullptr ? anchor : "<none>";
}

CFBundleRef create_help_host() {
    const std::string path = HELP_HOST_BUNDLE;
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
        true);
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    return bundle;
}

TEST(DisplayHelp, OpensThePageTheAnchorOrTheStartOfTheBundlesBook) {
    CFBundleRef bundle = create_help_host();
    ASSERT_NE(bundle, nullptr);
    Shown shown;
    PlatformSetHelpViewer(record, &shown);

    EXPECT_EQ(DisplayHelp(bundle, CFSTR("Mac_topics/M_accounting_dialog.htm"), nullptr), noErr);
    EXPECT_EQ(shown.page, "Mac_topics/M_accounting_dialog.htm");
    EXPECT_EQ(shown.anchor, "<none>");
    // Only an anchor: the book is searched for it, not just its start page.
    EXPECT_EQ(DisplayHelp(bundle, nullptr, CFSTR("codes")), noErr);
    EXPECT_EQ(shown.page, "Mac_topics/M_accounting_dialog.htm");
    EXPECT_EQ(shown.anchor, "codes");
    EXPECT_EQ(DisplayHelp(bundle, nullptr, nullptr), noErr);
    EXPECT_EQ(shown.page, "index.html");
    EXPECT_EQ(shown.anchor, "<none>");
    EXPECT_EQ(shown.calls, 3);

    // The help system's own failure comes back as it is.
    EXPECT_EQ(DisplayHelp(bundle, CFSTR("Mac_topics/missing.htm"), nullptr), fnfErr);
    PlatformSetHelpViewer(nullptr, nullptr);
    CFRelease(bundle);
}

TEST(DisplayHelp, ABundleWithoutAHelpBookIsAParameterError) {
    CFBundleRef bundle = tktest::create_fixture_bundle();
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(DisplayHelp(bundle, nullptr, nullptr), paramErr);
    CFRelease(bundle);
}

} // namespace

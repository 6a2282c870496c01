// The custom value dialog of a bundle whose nib lacks the dialog: the nib's status comes back
// and nothing is touched.
#include "CustomValueDialog.h"
#include "ToolkitTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(CustomValueDialogNib, AMissingWindowOrNibGivesTheNibsStatus) {
    CFBundleRef bundle = tktest::create_fixture_bundle(); // its Utilities nib has no CustomValue
    ASSERT_NE(nullptr, bundle);
    CFStringRef value = CFSTR("kept");
    SInt16 result = 7;
    EXPECT_EQ(kIBCarbonRuntimeCantFindObject,
              RunModalCustomValueDialog(bundle, 0, 4, &value, &result));
    EXPECT_EQ(7, result);
    EXPECT_TRUE(CFEqual(value, CFSTR("kept")));
    CFRelease(bundle);

    const std::string path = HELP_HOST_BUNDLE; // a bundle with no nib at all
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
        true);
    bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    ASSERT_NE(nullptr, bundle);
    EXPECT_EQ(kIBCarbonRuntimeCantFindNibFile,
              RunModalCustomValueDialog(bundle, 0, 4, &value, &result));
    EXPECT_EQ(7, result);
    CFRelease(bundle);
}

} // namespace

// What a display backend asks of the toolbox: the control under the pointer, the window's
// pixels at the display's scale, and the backend module (which the tests never load).
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct DisplayHooks : ::testing::Test {
    void SetUp() override {
        const Rect bounds{100, 100, 300, 400};
        ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window));
        const Rect paneBounds{10, 10, 150, 250};
        ASSERT_EQ(noErr,
                  CreateUserPaneControl(window, &paneBounds, kControlSupportsEmbedding, &pane));
        const Rect buttonBounds{20, 20, 40, 100};
        ASSERT_EQ(noErr, CreatePushButtonControl(window, &buttonBounds, CFSTR("OK"), &button));
        ASSERT_EQ(noErr, EmbedControl(button, pane));
    }
    void TearDown() override { DisposeWindow(window); }
    ControlRef at(short h, short v) {
        ControlRef found = reinterpret_cast<ControlRef>(1);
        EXPECT_EQ(noErr, PlatformFindControlAt(window, Point{v, h}, &found));
        return found;
    }
    WindowRef window = nullptr;
    ControlRef pane = nullptr;
    ControlRef button = nullptr;
};

TEST_F(DisplayHooks, TheDeepestVisibleControlUnderThePointIsFound) {
    EXPECT_EQ(button, at(50, 30));
    EXPECT_EQ(pane, at(200, 100));    // inside the pane, beside the button
    EXPECT_EQ(nullptr, at(280, 180)); // the window's background
    HideControl(button);
    EXPECT_EQ(pane, at(50, 30));
    EXPECT_EQ(paramErr, PlatformFindControlAt(window, Point{30, 50}, nullptr));
}

TEST_F(DisplayHooks, TheSurfaceIsDrawnAtTheScaleAskedFor) {
    cairo_surface_t* one = PlatformCopyWindowSurface(window, 1.0);
    ASSERT_NE(nullptr, one);
    EXPECT_EQ(300, cairo_image_surface_get_width(one));
    EXPECT_EQ(200, cairo_image_surface_get_height(one));
    // The pixels a snapshot reads are those of this surface.
    UInt32 pixel = 0;
    ASSERT_EQ(noErr, PlatformCopyWindowPixel(window, 5, 5, &pixel));
    const auto* data = reinterpret_cast<const UInt32*>(cairo_image_surface_get_data(one));
    EXPECT_EQ(pixel, data[5 * cairo_image_surface_get_stride(one) / 4 + 5]);
    cairo_surface_destroy(one);

    cairo_surface_t* two = PlatformCopyWindowSurface(window, 2.0);
    ASSERT_NE(nullptr, two);
    EXPECT_EQ(600, cairo_image_surface_get_width(two));
    EXPECT_EQ(400, cairo_image_surface_get_height(two));
    double sx = 0, sy = 0;
    cairo_surface_get_device_scale(two, &sx, &sy);
    EXPECT_EQ(2.0, sx);
    EXPECT_EQ(2.0, sy);
    cairo_surface_destroy(two);
    EXPECT_EQ(nullptr, PlatformCopyWindowSurface(window, 0.5));
    EXPECT_EQ(nullptr, PlatformCopyWindowSurface(nullptr, 1.0));
}

// The pixels of a rectangle of the window, row by row.
std::vector<UInt32> pixels(WindowRef window, const Rect& r) {
    std::vector<UInt32> out;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            UInt32 argb = 0;
            PlatformCopyWindowPixel(window, x, y, &argb);
            out.push_back(argb);
        }
    return out;
}

std::string field_text(ControlRef field) {
    CFStringRef text = nullptr;
    GetControlData(field, kControlEntireControl, kControlEditTextCFStringTag, sizeof text, &text,
                   nullptr);
    char buffer[64] = "";
    if (text != nullptr) {
        CFStringGetCString(text, buffer, sizeof buffer, kCFStringEncodingUTF8);
        CFRelease(text);
    }
    return buffer;
}

// Text an input method composes shows in the focused field, drawn where the caret is, but is no
// part of the field's text; ending it, or the focus moving on, leaves the field as it was.
TEST_F(DisplayHooks, ComposedTextIsDrawnInTheFocusedFieldButNotTyped) {
    const Rect fieldBounds{60, 20, 82, 200};
    ControlRef field = nullptr;
    ASSERT_EQ(noErr, CreateEditUnicodeTextControl(window, &fieldBounds, CFSTR("ab"), false, nullptr,
                                                  &field));
    EXPECT_EQ(errUnknownControl, PlatformSetMarkedText(window, CFSTR("x"), -1));
    ASSERT_EQ(noErr, SetKeyboardFocus(window, field, kControlEditTextPart));
    const ControlEditTextSelectionRec caret = {1, 1};
    SetControlData(field, kControlEntireControl, kControlEditTextSelectionTag, sizeof caret,
                   &caret);
    const std::vector<UInt32> before = pixels(window, fieldBounds);

    ASSERT_EQ(noErr, PlatformSetMarkedText(window, CFSTR("\u65E5\u672C"), 1));
    EXPECT_NE(before, pixels(window, fieldBounds));
    EXPECT_EQ("ab", field_text(field));
    ASSERT_EQ(noErr, PlatformSetMarkedText(window, nullptr, 0));
    EXPECT_EQ(before, pixels(window, fieldBounds));

    ASSERT_EQ(noErr, PlatformSetMarkedText(window, CFSTR("xyz"), -1));
    EXPECT_NE(before, pixels(window, fieldBounds));
    ClearKeyboardFocus(window);
    ASSERT_EQ(noErr, SetKeyboardFocus(window, field, kControlEditTextPart));
    SetControlData(field, kControlEntireControl, kControlEditTextSelectionTag, sizeof caret,
                   &caret);
    EXPECT_EQ(before, pixels(window, fieldBounds));
    EXPECT_EQ("ab", field_text(field));
}

TEST(DisplayModule, AMissingModuleIsReportedNotLoaded) {
    setenv("CARBONRT_DISPLAY_MODULE", "/nonexistent/libHIToolboxDisplay.so", 1);
    PlatformEventSource source{};
    EXPECT_EQ(fnfErr, PlatformCreateDisplayEventSource(&source));
    EXPECT_EQ(nullptr, source.performNextAction);
    EXPECT_EQ(paramErr, PlatformCreateDisplayEventSource(nullptr));
    unsetenv("CARBONRT_DISPLAY_MODULE");
}

} // namespace

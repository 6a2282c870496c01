// Drawing into windows: backing stores, EraseRect, the drawing order of
// control trees, kEventControlDraw, repainting after changes, PNG output.
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

UInt32 pixel(WindowRef window, int x, int y) {
    UInt32 argb = 0;
    EXPECT_EQ(PlatformCopyWindowPixel(window, x, y, &argb), noErr) << x << "," << y;
    return argb;
}

// Pixels in the rectangle that differ from `colour`.
int pixels_unlike(WindowRef window, const Rect& r, UInt32 colour) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            count += pixel(window, x, y) != colour;
    return count;
}

int brightness(UInt32 argb) {
    return static_cast<int>(((argb >> 16) & 0xFF) + ((argb >> 8) & 0xFF) + (argb & 0xFF)) / 3;
}

class Drawing : public ::testing::Test {
  protected:
    void SetUp() override {
        const Rect bounds{100, 100, 260, 400}; // 300 wide, 160 high
        ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window),
                  noErr);
        ActivateWindow(window, true);
        background = pixel(window, 0, 0);
    }
    void TearDown() override { DisposeWindow(window); }

    ControlRef button(const Rect& r, const char* title) {
        CFStringRef text = CFStringCreateWithCString(nullptr, title, kCFStringEncodingUTF8);
        ControlRef control = nullptr;
        EXPECT_EQ(CreatePushButtonControl(window, &r, text, &control), noErr);
        CFRelease(text);
        return control;
    }

    WindowRef window = nullptr;
    UInt32 background = 0;
};

TEST_F(Drawing, PortsBelongToTheirWindowsAndEraseRectPaintsExactlyTheRectangle) {
    CGrafPtr port = GetWindowPort(window);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(GetWindowFromPort(port), window);
    Rect bounds;
    GetPortBounds(port, &bounds);
    EXPECT_EQ(bounds.right, 300);
    EXPECT_EQ(bounds.bottom, 160);

    // Paint the window dark through a port context, then erase a rectangle.
    cairo_t* cr = PlatformCreatePortContext(port);
    ASSERT_NE(cr, nullptr);
    cairo_set_source_rgb(cr, 0.2, 0.1, 0.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    const UInt32 dark = pixel(window, 5, 5);
    ASSERT_NE(dark, background);

    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(port);
    const Rect erase{20, 30, 40, 70};
    EraseRect(&erase);
    SetPort(saved);
    EXPECT_EQ(pixels_unlike(window, erase, background), 0);
    // One pixel outside each edge keeps the dark paint.
    EXPECT_EQ(pixel(window, 29, 25), dark);
    EXPECT_EQ(pixel(window, 70, 25), dark);
    EXPECT_EQ(pixel(window, 40, 19), dark);
    EXPECT_EQ(pixel(window, 40, 40), dark);
}

TEST_F(Drawing, TheCurrentPortIsForgottenWithItsWindow) {
    WindowRef other = nullptr;
    const Rect bounds{0, 0, 10, 10};
    ASSERT_EQ(CreateNewWindow(kPlainWindowClass, 0, &bounds, &other), noErr);
    SetPort(GetWindowPort(other));
    DisposeWindow(other);
    GrafPtr current = reinterpret_cast<GrafPtr>(1);
    GetPort(&current);
    EXPECT_EQ(current, nullptr);
    const Rect r{0, 0, 5, 5};
    EraseRect(&r); // no port: nothing happens, nothing breaks
}

TEST_F(Drawing, APushButtonPaintsItsFaceAndItsTitle) {
    ControlRef ok = button(Rect{20, 20, 40, 120}, "OK");
    Draw1Control(ok);
    // The face is lighter than the window, its title has dark pixels.
    EXPECT_GT(brightness(pixel(window, 25, 24)), brightness(background));
    EXPECT_GT(pixels_unlike(window, Rect{24, 50, 36, 90}, pixel(window, 22, 24)), 10);
    // Outside the button nothing changed.
    EXPECT_EQ(pixel(window, 130, 30), background);
}

TEST_F(Drawing, TheDefaultButtonLooksDifferent) {
    ControlRef plain = button(Rect{20, 20, 40, 120}, "");
    ControlRef preferred = button(Rect{60, 20, 80, 120}, "");
    ASSERT_EQ(SetWindowDefaultButton(window, preferred), noErr);
    DrawControls(window);
    (void)plain;
    const UInt32 face = pixel(window, 70, 30);
    const UInt32 other = pixel(window, 70, 70);
    EXPECT_NE(face, other);
    // The default face is bluish.
    EXPECT_GT(other & 0xFF, (other >> 16) & 0xFF);
}

TEST_F(Drawing, HiddenControlsAndWhatTheyEmbedLeaveNoPixels) {
    ControlRef pane = nullptr;
    const Rect pane_bounds{10, 10, 150, 290};
    ASSERT_EQ(CreateUserPaneControl(window, &pane_bounds, kControlSupportsEmbedding, &pane), noErr);
    ControlRef inner = button(Rect{20, 20, 40, 120}, "Inner");
    ASSERT_EQ(EmbedControl(inner, pane), noErr);
    ControlRef hidden = button(Rect{60, 20, 80, 120}, "Hidden");
    HideControl(hidden);
    DrawControls(window);
    EXPECT_GT(pixels_unlike(window, Rect{20, 20, 40, 120}, background), 0);
    EXPECT_EQ(pixels_unlike(window, Rect{56, 16, 84, 124}, background), 0);

    // Hiding the pane takes the embedded button away at the next update.
    SetControlVisibility(pane, false, false);
    Draw1Control(inner); // hidden through its pane: draws nothing
    EXPECT_EQ(pixels_unlike(window, Rect{16, 16, 44, 124}, background), 0);
}

// Paints the control's bounds pure red and reports the event as handled.
OSStatus paint_red(EventHandlerCallRef, EventRef event, void* calls) {
    ControlRef control = nullptr;
    GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof(control),
                      nullptr, &control);
    ++*static_cast<int*>(calls);
    cairo_t* cr = PlatformCreatePortContext(GetWindowPort(GetControlOwner(control)));
    Rect b;
    GetControlBounds(control, &b);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_rectangle(cr, b.left, b.top, b.right - b.left, b.bottom - b.top);
    cairo_fill(cr);
    cairo_destroy(cr);
    return noErr;
}

OSStatus let_it_pass(EventHandlerCallRef, EventRef, void* calls) {
    ++*static_cast<int*>(calls);
    return eventNotHandledErr;
}

TEST_F(Drawing, ADrawHandlerReturningNoErrReplacesTheStandardLook) {
    ControlRef replaced = button(Rect{20, 20, 40, 120}, "Replaced");
    ControlRef kept = button(Rect{60, 20, 80, 120}, "Kept");
    ShowWindow(window);
    const EventTypeSpec draw = {kEventClassControl, kEventControlDraw};
    int red_calls = 0;
    int passed_calls = 0;
    ASSERT_EQ(InstallEventHandler(GetControlEventTarget(replaced), paint_red, 1, &draw, &red_calls,
                                  nullptr),
              noErr);
    ASSERT_EQ(InstallEventHandler(GetControlEventTarget(kept), let_it_pass, 1, &draw, &passed_calls,
                                  nullptr),
              noErr);
    // A window handler never sees a control's draw event.
    int window_calls = 0;
    ASSERT_EQ(InstallEventHandler(GetWindowEventTarget(window), let_it_pass, 1, &draw,
                                  &window_calls, nullptr),
              noErr);
    DrawControls(window);
    // Every pixel of the replaced button is red: no title on top.
    EXPECT_EQ(pixels_unlike(window, Rect{20, 20, 40, 120}, 0xFFFF0000u), 0);
    EXPECT_EQ(red_calls, 1);
    EXPECT_EQ(passed_calls, 1);
    EXPECT_EQ(window_calls, 0);
    // The other one still has its standard face and title.
    EXPECT_GT(pixels_unlike(window, Rect{60, 20, 80, 120}, background), 100);
}

// Nobody sees a window's pixels until they are read (the display's next frame, a snapshot):
// drawing, showing and redrawing only mark what is stale, and one pass paints it all.
TEST_F(Drawing, AWindowIsPaintedWhenItsPixelsAreReadOnce) {
    ControlRef b = button(Rect{20, 20, 40, 120}, "Later");
    const EventTypeSpec draw = {kEventClassControl, kEventControlDraw};
    int calls = 0;
    ASSERT_EQ(InstallEventHandler(GetControlEventTarget(b), let_it_pass, 1, &draw, &calls, nullptr),
              noErr);
    Draw1Control(b);
    DrawControls(window);
    ShowWindow(window);
    Draw1Control(b);
    EXPECT_EQ(calls, 0);
    EXPECT_NE(pixel(window, 30, 30), background);
    EXPECT_EQ(calls, 1);
    EXPECT_NE(pixel(window, 31, 31), background);
    EXPECT_EQ(calls, 1);
}

TEST_F(Drawing, ChangesRepaintAtTheNextUpdate) {
    ControlRef b = button(Rect{20, 20, 40, 120}, "Move me");
    DrawControls(window);
    ASSERT_NE(pixel(window, 30, 30), background);
    MoveControl(b, 150, 100);
    // Reading pixels brings the window up to date: the old place is clear.
    EXPECT_EQ(pixels_unlike(window, Rect{16, 16, 44, 124}, background), 0);
    EXPECT_NE(pixel(window, 160, 110), background);

    // Invalidating a rectangle repaints it from the controls' state.
    cairo_t* cr = PlatformCreatePortContext(GetWindowPort(window));
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
    const Rect part{0, 0, 50, 50};
    ASSERT_EQ(InvalWindowRect(window, &part), noErr);
    EXPECT_EQ(pixel(window, 10, 10), background);
    EXPECT_EQ(pixel(window, 60, 60), 0xFF0000FFu); // outside: not repainted
}

TEST_F(Drawing, ShowingAWindowDrawsIt) {
    button(Rect{20, 20, 40, 120}, "Shown");
    cairo_t* cr = PlatformCreatePortContext(GetWindowPort(window));
    cairo_set_source_rgb(cr, 0, 1, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    ShowWindow(window);
    EXPECT_EQ(pixel(window, 200, 100), background);
    EXPECT_NE(pixel(window, 30, 30), background);
}

TEST_F(Drawing, ResizingAWindowResizesItsBackingStore) {
    const Rect larger{100, 100, 300, 500};
    ASSERT_EQ(SetWindowBounds(window, kWindowContentRgn, &larger), noErr);
    UInt32 argb = 0;
    EXPECT_EQ(PlatformCopyWindowPixel(window, 399, 199, &argb), noErr);
    EXPECT_EQ(argb, background);
    EXPECT_EQ(PlatformCopyWindowPixel(window, 400, 10, &argb), paramErr);
    EXPECT_EQ(PlatformCopyWindowPixel(window, -1, 10, &argb), paramErr);
}

TEST_F(Drawing, APNGFileHasTheWindowsSizeAndPixels) {
    button(Rect{20, 20, 40, 120}, "Snapshot");
    const char* dir = std::getenv("ACCOUNTING_BINARY_DIR");
    // Run by hand (no test environment), the file goes to the temporary folder, not the source
    // tree.
    const std::string path =
        (dir != nullptr ? std::string(dir) : std::filesystem::temp_directory_path().string()) +
        "/drawing-test.png";
    std::remove(path.c_str());
    ASSERT_EQ(PlatformWriteWindowPNG(window, path.c_str()), noErr);
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 300);
    EXPECT_EQ(cairo_image_surface_get_height(png), 160);
    const unsigned char* data = cairo_image_surface_get_data(png);
    UInt32 corner = 0;
    std::memcpy(&corner, data, sizeof(corner));
    EXPECT_EQ(corner, background);
    cairo_surface_destroy(png);

    EXPECT_EQ(PlatformWriteWindowPNG(window, nullptr), paramErr);
    EXPECT_EQ(PlatformWriteWindowPNG(window, "/nonexistent-folder/x.png"), ioErr);
}

} // namespace

// Measuring controls for their text: GetBestControlRect with pango in the
// theme's fonts, kEventControlGetOptimalBounds, and text that needs a font
// other than DejaVu Sans.
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

class TextMeasure : public ::testing::Test {
  protected:
    void SetUp() override {
        const Rect bounds{50, 50, 250, 650};
        ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window),
                  noErr);
    }
    void TearDown() override { DisposeWindow(window); }

    ControlRef button(const char* title, const Rect& r = Rect{10, 20, 30, 80}) {
        CFStringRef text = CFStringCreateWithCString(nullptr, title, kCFStringEncodingUTF8);
        ControlRef control = nullptr;
        EXPECT_EQ(CreatePushButtonControl(window, &r, text, &control), noErr);
        CFRelease(text);
        return control;
    }

    static Rect best(ControlRef control, SInt16* baseline = nullptr) {
        Rect r{};
        EXPECT_EQ(GetBestControlRect(control, &r, baseline), noErr);
        return r;
    }
    static int width(const Rect& r) { return r.right - r.left; }

    WindowRef window = nullptr;
};

TEST_F(TextMeasure, ALongerTitleMeasuresWiderFromTheSameCorner) {
    const Rect english = best(button("Print"));
    const Rect german = best(button("Drucken"));
    const Rect longer = best(button("Drucken ohne Vorschau"));
    EXPECT_EQ(english.top, 10);
    EXPECT_EQ(english.left, 20);
    EXPECT_GT(width(german), width(english));
    EXPECT_GT(width(longer), width(german) + 40);
    // The height does not depend on the title's length.
    EXPECT_EQ(german.bottom - german.top, english.bottom - english.top);
    // A title of two words measures about what its words do, plus a space.
    const int words = width(best(button("Drucken"))) + width(best(button("ohne"))) +
                      width(best(button("Vorschau")));
    const int padding = width(best(button("")));
    EXPECT_NEAR(width(longer) - padding, words - 3 * padding, 12);
}

TEST_F(TextMeasure, TheBaselineIsAboveTheBottomAndAbsentWithoutText) {
    SInt16 baseline = 0;
    const Rect r = best(button("Print"), &baseline);
    EXPECT_LT(baseline, 0);
    EXPECT_GT(baseline, -(r.bottom - r.top));
    best(button(""), &baseline);
    EXPECT_EQ(baseline, 0);
}

TEST_F(TextMeasure, JapaneseTextHasRealGlyphs) {
    // "Print" in Japanese: DejaVu Sans has none of these, so another font
    // must supply them; missing glyphs would show as equal boxes.
    ControlRef japanese = button("印刷する", Rect{10, 10, 40, 210});
    const Rect r = best(japanese);
    EXPECT_GT(width(r) - width(best(button(""))), 30);

    Draw1Control(japanese);
    // Count the dark pixels of the title: real glyphs have many strokes.
    int dark = 0;
    for (int y = 12; y < 38; ++y)
        for (int x = 60; x < 160; ++x) {
            UInt32 argb = 0;
            ASSERT_EQ(PlatformCopyWindowPixel(window, x, y, &argb), noErr);
            dark += (argb & 0xFF) < 110;
        }
    EXPECT_GT(dark, 60);

    // Two different words of the same length draw different pixels: no tofu.
    auto ink = [&](const char* title) {
        ControlRef c = button(title, Rect{50, 10, 80, 210});
        Draw1Control(c);
        std::vector<UInt32> pixels;
        for (int y = 52; y < 78; ++y)
            for (int x = 60; x < 160; ++x) {
                UInt32 argb = 0;
                PlatformCopyWindowPixel(window, x, y, &argb);
                pixels.push_back(argb);
            }
        DisposeControl(c);
        return pixels;
    };
    EXPECT_NE(ink("印刷"), ink("用紙"));
}

OSStatus answer_optimal_bounds(EventHandlerCallRef, EventRef event, void*) {
    const Rect answer{1, 2, 33, 444};
    const SInt16 baseline = -7;
    SetEventParameter(event, kEventParamControlOptimalBounds, typeQDRectangle, sizeof(answer),
                      &answer);
    SetEventParameter(event, kEventParamControlOptimalBaselineOffset, typeShortInteger,
                      sizeof(baseline), &baseline);
    return noErr;
}

OSStatus widen_standard_answer(EventHandlerCallRef call, EventRef event, void*) {
    OSStatus status = CallNextEventHandler(call, event);
    Rect r{};
    GetEventParameter(event, kEventParamControlOptimalBounds, typeQDRectangle, nullptr, sizeof(r),
                      nullptr, &r);
    r.right += 100;
    SetEventParameter(event, kEventParamControlOptimalBounds, typeQDRectangle, sizeof(r), &r);
    return status;
}

TEST_F(TextMeasure, AnOptimalBoundsHandlerAnswersInsteadOfTheTheme) {
    ControlRef answered = button("Answered");
    const EventTypeSpec spec = {kEventClassControl, kEventControlGetOptimalBounds};
    ASSERT_EQ(InstallEventHandler(GetControlEventTarget(answered), answer_optimal_bounds, 1, &spec,
                                  nullptr, nullptr),
              noErr);
    SInt16 baseline = 0;
    const Rect r = best(answered, &baseline);
    EXPECT_EQ(r.right, 444);
    EXPECT_EQ(baseline, -7);

    ControlRef widened = button("Widened");
    const Rect standard = best(widened);
    ASSERT_EQ(InstallEventHandler(GetControlEventTarget(widened), widen_standard_answer, 1, &spec,
                                  nullptr, nullptr),
              noErr);
    EXPECT_EQ(best(widened).right, standard.right + 100);
}

TEST_F(TextMeasure, ControlsWithoutAMeasurePreferTheirBounds) {
    ControlRef pane = nullptr;
    const Rect bounds{5, 6, 77, 88};
    ASSERT_EQ(CreateUserPaneControl(window, &bounds, 0, &pane), noErr);
    SInt16 baseline = 99;
    const Rect r = best(pane, &baseline);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.left, 6);
    EXPECT_EQ(r.bottom, 77);
    EXPECT_EQ(r.right, 88);
    EXPECT_EQ(baseline, 0);
    EXPECT_EQ(GetBestControlRect(pane, nullptr, nullptr), paramErr);
    Rect out{};
    EXPECT_EQ(GetBestControlRect(nullptr, &out, nullptr), paramErr);
}

} // namespace

// Opening a dialog: a window of 30 controls of the panel's kinds is created,
// each control is sized to its text with GetBestControlRect and
// SetControlBounds, and the window is shown, which draws it once. The
// pieces are also timed alone, to see where the time goes.
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kRows = 10; // three controls a row

CFStringRef text(const std::string& s) {
    return CFStringCreateWithCString(nullptr, s.c_str(), kCFStringEncodingUTF8);
}

// A label, a field or popup, and a check box or button on each row.
WindowRef create_window() {
    WindowRef window = nullptr;
    const Rect bounds{100, 100, 100 + 30 * kRows + 50, 640};
    CreateNewWindow(kMovableModalWindowClass, kWindowStandardHandlerAttribute, &bounds, &window);
    for (int row = 0; row < kRows; ++row) {
        const short top = static_cast<short>(10 + row * 30);
        ControlRef control = nullptr;
        CFStringRef label = text("Account number " + std::to_string(row) + ":");
        Rect r{top, 10, static_cast<short>(top + 17), 150};
        CreateStaticTextControl(window, &r, label, nullptr, &control);
        CFRelease(label);

        r = Rect{static_cast<short>(top - 2), 160, static_cast<short>(top + 20), 360};
        if (row % 2 == 0) {
            CFStringRef value = text("1234-" + std::to_string(row));
            CreateEditUnicodeTextControl(window, &r, value, row % 4 == 0, nullptr, &control);
            CFRelease(value);
        } else {
            MenuRef menu = nullptr;
            CreateNewMenu(static_cast<MenuID>(100 + row), 0, &menu);
            for (const char* item : {"None", "Accounting Enabled", "Default Group Account"}) {
                CFStringRef s = text(item);
                AppendMenuItemTextWithCFString(menu, s, 0, 0, nullptr);
                CFRelease(s);
            }
            CreatePopupButtonControl(window, &r, nullptr, -12345, false, 0, 0, 0, &control);
            SetControlData(control, 0, kControlPopupButtonOwnedMenuRefTag, sizeof(menu), &menu);
            SetControl32BitValue(control, 1 + row % 3);
        }

        r = Rect{top, 380, static_cast<short>(top + 20), 520};
        CFStringRef title = text(row % 3 == 0 ? "Prompt for every job" : "Mask");
        if (row % 3 == 2)
            CreatePushButtonControl(window, &r, title, &control);
        else
            CreateCheckBoxControl(window, &r, title, row % 2, true, &control);
        CFRelease(title);
    }
    return window;
}

// Sizes every control of the window to its content, keeping its corner.
void lay_out(WindowRef window) {
    ControlRef root = nullptr;
    GetRootControl(window, &root);
    UInt16 count = 0;
    CountSubControls(root, &count);
    for (UInt16 i = 1; i <= count; ++i) {
        ControlRef control = nullptr;
        GetIndexedSubControl(root, i, &control);
        Rect best{};
        GetBestControlRect(control, &best, nullptr);
        SetControlBounds(control, &best);
    }
}

void BM_CreateLayOutAndDraw(benchmark::State& state) {
    for (auto _ : state) {
        WindowRef window = create_window();
        lay_out(window);
        ShowWindow(window);
        DisposeWindow(window);
    }
}
BENCHMARK(BM_CreateLayOutAndDraw)->Unit(benchmark::kMillisecond);

void BM_LayOut(benchmark::State& state) {
    WindowRef window = create_window();
    for (auto _ : state)
        lay_out(window);
    DisposeWindow(window);
}
BENCHMARK(BM_LayOut)->Unit(benchmark::kMicrosecond);

void BM_DrawWindow(benchmark::State& state) {
    WindowRef window = create_window();
    lay_out(window);
    ShowWindow(window);
    const Rect all{0, 0, 1000, 1000};
    for (auto _ : state) {
        InvalWindowRect(window, &all);
        UInt32 pixel = 0;
        PlatformCopyWindowPixel(window, 0, 0, &pixel); // repaints what was invalidated
        benchmark::DoNotOptimize(pixel);
    }
    DisposeWindow(window);
}
BENCHMARK(BM_DrawWindow)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

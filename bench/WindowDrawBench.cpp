// Opening a dialog: a window of 30 controls of the panel's kinds is created,
// each control is sized to its text with GetBestControlRect and
// SetControlBounds, and the window is shown, which draws it once. The
// pieces are also timed alone, to see where the time goes. The same dialog
// built from a bundle's nib, with its texts set from the bundle's strings and
// sized with SetControlBestRect, is timed the same way.
#include "ControlLayout.h"
#include "LocalizedText.h"

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

// Showing a window paints it only when its pixels are wanted: read one, as the display does.
void show_and_draw(WindowRef window) {
    ShowWindow(window);
    UInt32 pixel = 0;
    PlatformCopyWindowPixel(window, 0, 0, &pixel); // repaints whatever is still invalid
    benchmark::DoNotOptimize(pixel);
}

void BM_CreateLayOutAndDraw(benchmark::State& state) {
    for (auto _ : state) {
        WindowRef window = create_window();
        lay_out(window);
        show_and_draw(window);
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

// ---- The same dialog from a nib ---------------------------------------------

constexpr OSType kBenchSignature = 0x424E4348; // 'BNCH'

CFBundleRef create_bench_bundle() {
    const std::string path = BENCH_FIXTURES_DIR "/Bench.bundle";
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
        true);
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    return bundle;
}

ControlRef bench_control(WindowRef window, SInt32 number) {
    const ControlID id{kBenchSignature, number};
    ControlRef control = nullptr;
    GetControlByID(window, &id, &control);
    return control;
}

CFStringRef key(const char* prefix, int row) {
    return text(std::string(prefix) + " " + std::to_string(row + 1));
}

// Sets the texts of each row and sizes it left to right: the label fills its width, the field or
// popup and the check box or button take their preferred width, pushed along by the label.
void localize_and_lay_out(CFBundleRef bundle, WindowRef window) {
    SetLocalizedWindowTitle(bundle, CFSTR("Title"), window);
    for (int row = 0; row < kRows; ++row) {
        ControlRef label = bench_control(window, row * 3 + 1);
        ControlRef field = bench_control(window, row * 3 + 2);
        ControlRef last = bench_control(window, row * 3 + 3);
        CFStringRef label_key = key("Label", row);
        CFStringRef last_key = key(row % 3 == 2 ? "Button" : "Check", row);
        SetLocalizedStaticText(bundle, label_key, label);
        SetLocalizedControlTitle(bundle, last_key, last);
        CFRelease(label_key);
        CFRelease(last_key);
        SInt32 offset = 0;
        SetControlBestRect(label, 7, &offset, nullptr);
        SetControlBestRect(field, kBestRectAnchorLeft | kBestRectAnchorTop, &offset, nullptr);
        SetControlBestRect(last, kBestRectAnchorLeft | kBestRectAnchorTop, &offset, nullptr);
    }
}

// The whole of opening the dialog: the nib read, the window built, localised, laid out and drawn.
void BM_NibOpenCreateLayOutAndDraw(benchmark::State& state) {
    CFBundleRef bundle = create_bench_bundle();
    for (auto _ : state) {
        IBNibRef nib = nullptr;
        CreateNibReferenceWithCFBundle(bundle, CFSTR("Bench"), &nib);
        WindowRef window = nullptr;
        CreateWindowFromNib(nib, CFSTR("Window"), &window);
        DisposeNibReference(nib);
        localize_and_lay_out(bundle, window);
        show_and_draw(window);
        DisposeWindow(window);
    }
    CFRelease(bundle);
}
BENCHMARK(BM_NibOpenCreateLayOutAndDraw)->Unit(benchmark::kMillisecond);

void BM_NibOpen(benchmark::State& state) {
    CFBundleRef bundle = create_bench_bundle();
    for (auto _ : state) {
        IBNibRef nib = nullptr;
        CreateNibReferenceWithCFBundle(bundle, CFSTR("Bench"), &nib);
        DisposeNibReference(nib);
    }
    CFRelease(bundle);
}
BENCHMARK(BM_NibOpen)->Unit(benchmark::kMicrosecond);

void BM_NibCreateWindow(benchmark::State& state) {
    CFBundleRef bundle = create_bench_bundle();
    IBNibRef nib = nullptr;
    CreateNibReferenceWithCFBundle(bundle, CFSTR("Bench"), &nib);
    for (auto _ : state) {
        WindowRef window = nullptr;
        CreateWindowFromNib(nib, CFSTR("Window"), &window);
        DisposeWindow(window);
    }
    DisposeNibReference(nib);
    CFRelease(bundle);
}
BENCHMARK(BM_NibCreateWindow)->Unit(benchmark::kMicrosecond);

void BM_NibLocalizeAndLayOut(benchmark::State& state) {
    CFBundleRef bundle = create_bench_bundle();
    IBNibRef nib = nullptr;
    CreateNibReferenceWithCFBundle(bundle, CFSTR("Bench"), &nib);
    for (auto _ : state) {
        state.PauseTiming();
        WindowRef window = nullptr;
        CreateWindowFromNib(nib, CFSTR("Window"), &window);
        state.ResumeTiming();
        localize_and_lay_out(bundle, window);
        state.PauseTiming();
        DisposeWindow(window);
        state.ResumeTiming();
    }
    DisposeNibReference(nib);
    CFRelease(bundle);
}
BENCHMARK(BM_NibLocalizeAndLayOut)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

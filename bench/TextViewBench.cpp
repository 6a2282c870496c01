// The text engine: one keystroke into a text object holding 10,000 lines,
// through the window's keyboard to the object drawn again; and setting a
// 1 MB text and drawing it once.
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/PlatformHost.h>

#include <benchmark/benchmark.h>

#include <string>

namespace {

struct View {
    WindowRef window = nullptr;
    TXNObject text = nullptr;
    View() {
        const Rect bounds{100, 100, 500, 600};
        CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window);
        const HIRect frame{{10, 10}, {480, 380}};
        TXNCreateObject(&frame, kTXNWantVScrollBarMask | kTXNAlwaysWrapAtViewEdgeMask, &text);
        TXNAttachObjectToWindowRef(text, window);
    }
    ~View() {
        TXNDeleteObject(text);
        DisposeWindow(window);
    }
};

std::string lines(size_t bytes) {
    std::string out;
    out.reserve(bytes + 100);
    for (int i = 0; out.size() < bytes; ++i)
        out += "Line " + std::to_string(i) +
               " of a long text, with words enough to wrap now and then.\r";
    out.resize(bytes);
    return out;
}

void BM_KeystrokeInto10000Lines(benchmark::State& state) {
    View view;
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "Line " + std::to_string(i) + " of ten thousand\r";
    TXNSetData(view.text, kTXNTextData, text.data(), text.size(), kTXNStartOffset, kTXNEndOffset);
    TXNFocus(view.text, true);
    TXNSetSelection(view.text, text.size() / 2, text.size() / 2);
    TXNShowSelection(view.text, kTXNShowStart);
    TXNDrawObject(view.text, nullptr, kTXNDrawItemAllMask);
    int i = 0;
    for (auto _ : state) {
        // Typing and erasing in turn keeps the text as it was.
        PlatformTypeKey(view.window, (i++ % 2) == 0 ? UniChar{'k'} : UniChar{kBackspaceCharCode},
                        0);
    }
}
BENCHMARK(BM_KeystrokeInto10000Lines)->Unit(benchmark::kMicrosecond);

void BM_Set1MBTextAndDraw(benchmark::State& state) {
    View view;
    const std::string text = lines(1 << 20);
    for (auto _ : state) {
        TXNSetData(view.text, kTXNTextData, text.data(), text.size(), kTXNStartOffset,
                   kTXNEndOffset);
        TXNDrawObject(view.text, nullptr, kTXNDrawItemAllMask);
    }
}
BENCHMARK(BM_Set1MBTextAndDraw)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

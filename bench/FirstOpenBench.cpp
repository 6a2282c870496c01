// The way from Prolog through Initialize and the first Open to the panel drawn once, with the
// Accounting bundle as built. Set FIRST_OPEN_EXTRA_FILES=1 to run it on a copy of the bundle
// whose resources folder holds 10,000 extra files (a process loads one copy of a bundle):
//   build/default/bench/first_open_bench --benchmark_repetitions=9
//   --benchmark_report_aggregates_only=true
#include "PDELoader.h"

#include <HIToolbox/PlatformHost.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// A copy of the built bundle with 10,000 extra empty files among its resources.
fs::path make_large_bundle_folder() {
    char pattern[] = "/tmp/first-open-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    const fs::path folder = pattern;
    fs::copy(ACCOUNTING_BUNDLE_DIR, folder / "Accounting.plugin", fs::copy_options::recursive);
    const fs::path resources = folder / "Accounting.plugin" / "Contents" / "Resources";
    for (int top = 0; top < 10; ++top)
        for (int sub = 0; sub < 10; ++sub) {
            const fs::path leaf =
                resources / ("set-" + std::to_string(top)) / ("page-" + std::to_string(sub));
            fs::create_directories(leaf);
            for (int n = 0; n < 100; ++n)
                std::ofstream(leaf / ("entry-" + std::to_string(n) + ".dat"));
        }
    return folder;
}

host::LoadedPDE& loaded_pde() {
    static host::LoadedPDE* pde = [] {
        const bool large = std::getenv("FIRST_OPEN_EXTRA_FILES") != nullptr;
        const fs::path folder =
            large ? make_large_bundle_folder() : fs::path(ACCOUNTING_BUNDLE_DIR).parent_path();
        host::LoadResult loaded = host::load_pdes({folder.string()});
        if (loaded.pdes.empty()) {
            std::fprintf(stderr, "no Accounting PDE in %s\n", folder.c_str());
            std::exit(1);
        }
        return new host::LoadedPDE(loaded.pdes.front());
    }();
    return *pde;
}

void BM_PrologToFirstDraw(benchmark::State& state) {
    host::LoadedPDE& pde = loaded_pde();
    const PlugInIntfVTable* table = pde.pde->vtable;
    const Rect bounds{60, 60, 560, 660};
    for (auto _ : state) {
        WindowRef window = nullptr;
        CreateNewWindow(kMovableModalWindowClass, kWindowStandardHandlerAttribute, &bounds,
                        &window);
        const Rect paneBounds{52, 20, 452, 580};
        ControlRef pane = nullptr;
        CreateUserPaneControl(window, &paneBounds, kControlSupportsEmbedding, &pane);
        PMPrintSession session = nullptr;
        PMCreateSession(&session);
        PMTicketRef ticket = nullptr;
        PMTicketCreate(nullptr, kPMPrintSettingsTicket, &ticket);
        SInt32 handle = PMTicketGetHandle(ticket);
        CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &handle);
        PMSessionSetDataInSession(session, kPDE_PMPrintSettingsRef, number);
        CFRelease(number);

        PMPDEContext context = nullptr;
        OSType creator = 0;
        CFStringRef kind = nullptr, title = nullptr;
        UInt32 maxH = 0, maxV = 0;
        table->Prolog(&context, &creator, &kind, &title, &maxH, &maxV);
        PMPDEFlags flags = 0;
        table->Initialize(context, &flags, nullptr, pane, session);
        table->Open(context);
        ShowWindow(window);
        UInt32 pixel = 0; // asking for a pixel repaints whatever waits to be painted
        PlatformCopyWindowPixel(window, 200, 100, &pixel);
        benchmark::DoNotOptimize(pixel);

        state.PauseTiming();
        table->Close(context);
        table->Terminate(context, noErr);
        DisposeWindow(window);
        PMRelease(session);
        PMTicketRelease(ticket);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PrologToFirstDraw)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

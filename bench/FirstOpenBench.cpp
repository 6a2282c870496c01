// The way from Prolog through Initialize and the first Open to the panel drawn once, with the
// Accounting bundle as built: again and again in one process (warm), and as the first Open of a
// fresh process (BM_FirstOpenInFreshProcess; FIRST_OPEN_CPU=1 has each such process write the
// processor time of its first Open to standard error). Set FIRST_OPEN_EXTRA_FILES=1 to run it on
// a copy of the bundle whose resources folder holds 10,000 extra files (a process loads one copy
// of a bundle):
//   build/default/bench/first_open_bench --benchmark_repetitions=9
//   --benchmark_report_aggregates_only=true
#include "PDELoader.h"

#include <HIToolbox/PlatformHost.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
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

// One panel's way from Prolog to drawn, and back.
struct Panel {
    const PlugInIntfVTable* table;
    WindowRef window = nullptr;
    PMPrintSession session = nullptr;
    PMTicketRef ticket = nullptr;
    PMPDEContext context = nullptr;

    explicit Panel(const PlugInIntfVTable* vtable) : table(vtable) {}

    void open_and_draw() {
        const Rect bounds{60, 60, 560, 660};
        CreateNewWindow(kMovableModalWindowClass, kWindowStandardHandlerAttribute, &bounds,
                        &window);
        const Rect paneBounds{52, 20, 452, 580};
        ControlRef pane = nullptr;
        CreateUserPaneControl(window, &paneBounds, kControlSupportsEmbedding, &pane);
        PMCreateSession(&session);
        PMTicketCreate(nullptr, kPMPrintSettingsTicket, &ticket);
        SInt32 handle = PMTicketGetHandle(ticket);
        CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &handle);
        PMSessionSetDataInSession(session, kPDE_PMPrintSettingsRef, number);
        CFRelease(number);

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
    }

    void close() {
        table->Close(context);
        table->Terminate(context, noErr);
        DisposeWindow(window);
        PMRelease(session);
        PMTicketRelease(ticket);
    }
};

void BM_PrologToFirstDraw(benchmark::State& state) {
    host::LoadedPDE& pde = loaded_pde();
    for (auto _ : state) {
        Panel panel(pde.pde->vtable);
        panel.open_and_draw();
        state.PauseTiming();
        panel.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PrologToFirstDraw)->Unit(benchmark::kMillisecond);

constexpr char kOnceFlag[] = "--first-open-once";

double now_us() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) * 1e-3;
}

// In a process of its own: the bundle loaded, then the first Open timed alone, in microseconds
// on standard output. Nothing ran before it, so it pays for what runs once per process (fonts
// found, text shaping set up, the code's first calls bound).
int first_open_once() {
    host::LoadedPDE& pde = loaded_pde();
    Panel panel(pde.pde->vtable);
    const double start = now_us();
    timespec c0{}, c1{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c0);
    panel.open_and_draw();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c1);
    const double elapsed = now_us() - start;
    if (std::getenv("FIRST_OPEN_CPU") != nullptr)
        std::fprintf(stderr, "cpu %.1f us\n",
                     (c1.tv_sec - c0.tv_sec) * 1e6 + (c1.tv_nsec - c0.tv_nsec) * 1e-3);
    panel.close();
    std::printf("%.1f\n", elapsed);
    return 0;
}

// The first Open of a fresh process: this program run again with kOnceFlag, each iteration timed
// by what that process measured.
void BM_FirstOpenInFreshProcess(benchmark::State& state) {
    const std::string command =
        std::filesystem::read_symlink("/proc/self/exe").string() + " " + kOnceFlag;
    for (auto _ : state) {
        FILE* child = popen(command.c_str(), "r");
        double elapsed = -1;
        if (child == nullptr || std::fscanf(child, "%lf", &elapsed) != 1 || pclose(child) != 0 ||
            elapsed < 0) {
            state.SkipWithError("the fresh process did not report its first Open");
            return;
        }
        state.SetIterationTime(elapsed * 1e-6);
    }
}
BENCHMARK(BM_FirstOpenInFreshProcess)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], kOnceFlag) == 0)
        return first_open_once();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Loading the Accounting bundle as the host does: the bundle found in its folder, its executable
// loaded, the factory called and the PDE interface queried; then everything released and the
// executable unloaded, so that every iteration loads the code afresh. The process holds the
// libraries that printdialog itself links (the frameworks and the printing system's client), as
// printdialog has them in memory before it looks for bundles: what is measured is what loading a
// PDE adds to a running host, the wait a person has once the dialog's program has started.
//   build/default/bench/bundle_load_bench --benchmark_repetitions=9
//   --benchmark_report_aggregates_only=true
#include "PDELoader.h"

#include <Carbon/Carbon.h>

#include <benchmark/benchmark.h>
#include <cups/cups.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const std::string kBundleFolder = std::filesystem::path(ACCOUNTING_BUNDLE_DIR).parent_path();
const std::string kExecutable = std::string(ACCOUNTING_BUNDLE_DIR) + "/Contents/MacOS/Accounting";

bool executable_mapped() {
    void* handle = dlopen(kExecutable.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr)
        dlclose(handle);
    return handle != nullptr;
}

// A reference to one routine of each library that printdialog links keeps them loaded here too.
void hold_host_libraries() {
    for (void* routine :
         {reinterpret_cast<void*>(&cupsLastError), reinterpret_cast<void*>(&CreateNewWindow),
          reinterpret_cast<void*>(&PMCreateSession), reinterpret_cast<void*>(&FSPathMakeRef)})
        benchmark::DoNotOptimize(routine);
}

void BM_LoadBundleAndQueryInterface(benchmark::State& state) {
    hold_host_libraries();
    for (auto _ : state) {
        host::LoadResult loaded = host::load_pdes({kBundleFolder});
        if (loaded.pdes.empty()) {
            state.SkipWithError("the Accounting bundle did not load");
            return;
        }
        benchmark::DoNotOptimize(loaded.pdes.front().pde);
        CFBundleRef bundle = loaded.pdes.front().bundle;
        CFRetain(bundle);
        host::unload_pde(loaded.pdes.front());
        CFBundleUnloadExecutable(bundle);
        CFRelease(bundle);
        // A bundle that dlclose cannot unmap would make later iterations measure nothing.
        if (executable_mapped()) {
            state.SkipWithError("the bundle's executable stayed loaded after unloading");
            return;
        }
    }
}
BENCHMARK(BM_LoadBundleAndQueryInterface)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

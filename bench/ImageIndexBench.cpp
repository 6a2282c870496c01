// Building the picture index (an ImageImportManager over a folder tree) beside a bare readdir
// walk of the same tree: over the shipped resources folder, and over that folder with 10,000
// extra files in nested folders. Run with repetitions and compare the medians, e.g.
//   build/default/bench/image_index_bench --benchmark_repetitions=9
//   --benchmark_report_aggregates_only=true
#include "ImageImportManager.h"

#include <FileManagerKit.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <time.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kTopFolders = 10;
constexpr int kSubFolders = 10;
constexpr int kFilesPerFolder = 100; // 10 x 10 x 100 = 10,000 extra files

// A copy of the shipped resources with 10,000 extra empty files, made once and removed at exit.
class LargeTree {
  public:
    LargeTree() {
        char pattern[] = "/tmp/image-index-bench-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        root_ = pattern;
        fs::copy(ACCOUNTING_RESOURCES_DIR, root_, fs::copy_options::recursive);
        for (int top = 0; top < kTopFolders; ++top) {
            for (int sub = 0; sub < kSubFolders; ++sub) {
                fs::path folder =
                    root_ / ("set-" + std::to_string(top)) / ("page-" + std::to_string(sub));
                fs::create_directories(folder);
                for (int n = 0; n < kFilesPerFolder; ++n)
                    std::ofstream(folder / ("entry-" + std::to_string(n) + ".dat"));
            }
        }
    }
    ~LargeTree() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    const fs::path& root() const { return root_; }

  private:
    fs::path root_;
};

const fs::path& large_tree() {
    static LargeTree tree;
    return tree.root();
}

const fs::path& tree_for(int which) {
    static const fs::path shipped = ACCOUNTING_RESOURCES_DIR;
    return which == 0 ? shipped : large_tree();
}

FSRef ref_for(const fs::path& path) {
    FSRef ref;
    if (FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr) != noErr) {
        std::fprintf(stderr, "no FSRef for %s\n", path.c_str());
        std::exit(1);
    }
    return ref;
}

// The files under `folder`, found with readdir alone.
long count_files(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return 0;
    long files = 0;
    while (const dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        if (entry->d_type == DT_DIR)
            files += count_files(folder + "/" + entry->d_name);
        else
            ++files;
    }
    closedir(dir);
    return files;
}

void BM_ReaddirWalk(benchmark::State& state) {
    const std::string root = tree_for(static_cast<int>(state.range(0))).string();
    long files = 0;
    for (auto _ : state) {
        files = count_files(root);
        benchmark::DoNotOptimize(files);
    }
    state.counters["files"] = static_cast<double>(files);
}

Boolean count_item(Boolean, ItemCount, const FSCatalogInfo*, const FSRef*, const FSSpec*,
                   const HFSUniStr255*, void* userData) {
    ++*static_cast<long*>(userData);
    return false;
}

// The walk the index is built on, with a callback that only counts.
void BM_IterateContainer(benchmark::State& state) {
    const FSRef folder = ref_for(tree_for(static_cast<int>(state.range(0))));
    long items = 0;
    for (auto _ : state) {
        items = 0;
        FSIterateContainer(&folder, 0, kFSCatInfoNodeFlags, true, true, count_item, &items);
    }
    state.counters["items"] = static_cast<double>(items);
}

void BM_ImageIndex(benchmark::State& state) {
    const FSRef folder = ref_for(tree_for(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        auto* manager = new ImageImportManager(folder);
        state.PauseTiming();
        // A name from the shipped folder proves the index was built.
        if (ImageImportManager::componentForFilename(CFSTR("Accounting-On.gif")) == nullptr)
            state.SkipWithError("the index misses Accounting-On.gif");
        delete manager;
        state.ResumeTiming();
    }
}

double seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The two side by side: each iteration walks the tree with readdir and then builds the index,
// so both meet the same machine load. The counters are medians over the iterations, in
// microseconds, of wall-clock and processor time, and of the index's cost over the walk's.
void BM_IndexBesideReaddir(benchmark::State& state) {
    const fs::path& tree = tree_for(static_cast<int>(state.range(0)));
    const std::string root = tree.string();
    const FSRef folder = ref_for(tree);
    std::vector<double> walk_wall, walk_cpu, index_wall, index_cpu, ratio_wall, ratio_cpu;
    for (auto _ : state) {
        const double w0 = seconds(CLOCK_MONOTONIC), c0 = seconds(CLOCK_THREAD_CPUTIME_ID);
        benchmark::DoNotOptimize(count_files(root));
        const double w1 = seconds(CLOCK_MONOTONIC), c1 = seconds(CLOCK_THREAD_CPUTIME_ID);
        auto* manager = new ImageImportManager(folder);
        const double w2 = seconds(CLOCK_MONOTONIC), c2 = seconds(CLOCK_THREAD_CPUTIME_ID);
        state.PauseTiming();
        delete manager;
        walk_wall.push_back((w1 - w0) * 1e6);
        walk_cpu.push_back((c1 - c0) * 1e6);
        index_wall.push_back((w2 - w1) * 1e6);
        index_cpu.push_back((c2 - c1) * 1e6);
        ratio_wall.push_back((w2 - w1) / (w1 - w0));
        ratio_cpu.push_back((c2 - c1) / (c1 - c0));
        state.ResumeTiming();
    }
    state.counters["walk_us"] = median(walk_wall);
    state.counters["index_us"] = median(index_wall);
    state.counters["walk_cpu_us"] = median(walk_cpu);
    state.counters["index_cpu_us"] = median(index_cpu);
    state.counters["ratio"] = median(ratio_wall);
    state.counters["ratio_cpu"] = median(ratio_cpu);
}

// Argument 0: the shipped resources folder; 1: the same with 10,000 extra files.
BENCHMARK(BM_ReaddirWalk)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_IterateContainer)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_ImageIndex)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_IndexBesideReaddir)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

// Building the picture index (an ImageImportManager over a folder tree) beside a bare readdir
// walk of the same tree: over the shipped resources folder, and over that folder with 1,000,
// 10,000 and 100,000 extra files, each with a name of its own, in nested folders. Run with
// repetitions and compare the medians, e.g.
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
#include <map>
#include <memory>
#include <string>
#include <time.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kFilesPerFolder = 100;
constexpr int kFoldersPerSet = 10;

// A copy of the shipped resources with `extra` more empty files, each with a name of its own, 100
// to a folder, ten folders to a set; made once per size and removed at exit.
class LargeTree {
  public:
    explicit LargeTree(int extra) {
        char pattern[] = "/tmp/image-index-bench-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        root_ = pattern;
        fs::copy(ACCOUNTING_RESOURCES_DIR, root_, fs::copy_options::recursive);
        for (int n = 0; n < extra; ++n) {
            const int folder_number = n / kFilesPerFolder;
            const fs::path folder = root_ /
                                    ("set-" + std::to_string(folder_number / kFoldersPerSet)) /
                                    ("page-" + std::to_string(folder_number % kFoldersPerSet));
            if (n % kFilesPerFolder == 0)
                fs::create_directories(folder);
            std::ofstream(folder / ("entry-" + std::to_string(n) + ".dat"));
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

// Argument 0: the shipped resources folder; N: the same with N extra files.
const fs::path& tree_for(int extra) {
    static const fs::path shipped = ACCOUNTING_RESOURCES_DIR;
    static std::map<int, std::unique_ptr<LargeTree>> trees;
    if (extra == 0)
        return shipped;
    std::unique_ptr<LargeTree>& tree = trees[extra];
    if (!tree)
        tree = std::make_unique<LargeTree>(extra);
    return tree->root();
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

// Argument: how many files are added to the shipped resources folder.
#define TREE_SIZES Arg(0)->Arg(1000)->Arg(10000)->Arg(100000)
BENCHMARK(BM_ReaddirWalk)->TREE_SIZES->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_IterateContainer)->TREE_SIZES->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_ImageIndex)->TREE_SIZES->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_IndexBesideReaddir)->TREE_SIZES->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

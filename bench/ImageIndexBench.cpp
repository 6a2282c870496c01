// Building the picture index (an ImageImportManager over a folder tree) beside a bare readdir
// walk of the same tree: over the shipped resources folder, and over that folder with 10,000
// extra files in nested folders. Run with repetitions and compare the medians, e.g.
//   build/default/bench/image_index_bench --benchmark_repetitions=9 \
//       --benchmark_report_aggregates_only=true
#include "ImageImportManager.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <string>

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
                fs::path folder = root_ / ("set-" + std::to_string(top)) /
                                  ("page-" + std::to_string(sub));
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

// Argument 0: the shipped resources folder; 1: the same with 10,000 extra files.
BENCHMARK(BM_ReaddirWalk)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_ImageIndex)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

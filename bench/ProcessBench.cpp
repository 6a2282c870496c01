// printdialog as a whole process, as a person or a desktop program starts it (finding the bundle
// beside it in the build tree, as an installation does): listing the PDEs,
// and one scripted print on the embedded printer without snapshots or dumps. The spawn of
// /bin/true in the same run is the floor that process creation alone costs.
//   build/default/bench/process_bench --benchmark_repetitions=9
//   --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs the program with its output thrown away; true when it exits with status 0.
bool run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

const std::string kProgram = PRINTDIALOG_PATH;

void BM_SpawnTrue(benchmark::State& state) {
    for (auto _ : state)
        if (!run({"/bin/true"}))
            state.SkipWithError("/bin/true failed");
}
BENCHMARK(BM_SpawnTrue)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ListPDEs(benchmark::State& state) {
    for (auto _ : state)
        if (!run({kProgram, "--list"}))
            state.SkipWithError("printdialog --list failed");
}
BENCHMARK(BM_ListPDEs)->Unit(benchmark::kMillisecond)->UseRealTime();

// One print with the job's codes typed into the prompt, as the demo does, minus the pictures.
void BM_ScriptedPrint(benchmark::State& state) {
    const fs::path folder =
        fs::temp_directory_path() / ("process-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path script = folder / "print.script";
    std::ofstream(script) << "choose TVKa:101 \"Accounting Enabled\"\n"
                             "click \"Print\"\n"
                             "type TVKa:501 \"bench-user\"\n"
                             "type TVKa:503 \"4711\"\n"
                             "click \"OK\"\n";
    const fs::path document = folder / "document.txt";
    std::ofstream(document) << "A page to print.\n";
    for (auto _ : state)
        if (!run({kProgram, "--script", script, "--output", (folder / "out").string(), document}))
            state.SkipWithError("the scripted print failed");
    fs::remove_all(folder);
}
BENCHMARK(BM_ScriptedPrint)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

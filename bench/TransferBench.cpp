#include "Spawn.h"
#include "config/ConfigFile.h"
#include "config/DeviceTypes.h"
#include "config/Layout.h"
#include "transfer/Frames.h"
#include "transfer/ImageCompiler.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The 34-line file of a new "QD4815" document saved without edits.
std::string workedExample() {
    kym::ProgramState state;
    state.header.deviceType = "QD4815";
    state.grid.setCols(kym::kDataColumns + 1);
    state.grid.setRows(kym::gridRowsFor(state.header.deviceType));
    kym::LayoutGrid(state);
    return kym::configurationFileBytes(state.header, state.grid);
}

const std::string& exampleText() {
    static const std::string text = workedExample();
    return text;
}

void BM_SplitLines(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(kym::splitLines(exampleText()));
}

void BM_CompileAndFrame(benchmark::State& state) {
    const kym::LineList lines = kym::splitLines(exampleText());
    for (auto _ : state) {
        const kym::Compilation compiled = kym::CompileConfiguration(lines);
        benchmark::DoNotOptimize(kym::buildFrame(compiled.image, compiled.deviceTypeText, 1));
    }
}

// Runs a program to its end with its output discarded; it must exit with at most maxExit.
void run(const std::vector<std::string>& args, benchmark::State& state, int maxExit = 0) {
    const pid_t pid = kym::bench::spawn(args);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) > maxExit)
        state.SkipWithError(("cannot run " + args[0]).c_str());
}

void BM_SpawnTrue(benchmark::State& state) {
    for (auto _ : state)
        run({"/bin/true"}, state);
}

void BM_KymtoolFrame(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("kym-bench-" + std::to_string(::getpid()) + ".vlt");
    std::ofstream(path, std::ios::binary) << exampleText();
    for (auto _ : state)
        run({KYMTOOL, "frame", path.string()}, state);
    std::filesystem::remove(path);
}

// A folder of files to check: 1,000 copies of the worked example (kymtool check warns of its
// empty DATA FORMATs and exits 1).
constexpr int kCheckedFiles = 1000;
std::vector<std::string> checkedFiles() {
    const auto folder =
        std::filesystem::temp_directory_path() / ("kym-bench-check-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::vector<std::string> files;
    for (int i = 0; i < kCheckedFiles; ++i) {
        files.push_back((folder / (std::to_string(i) + ".vlt")).string());
        std::ofstream(files.back(), std::ios::binary) << exampleText();
    }
    return files;
}

void BM_KymtoolCheckEachFile(benchmark::State& state) {
    const auto files = checkedFiles();
    for (auto _ : state)
        for (const auto& file : files)
            run({KYMTOOL, "check", file}, state, 1);
    std::filesystem::remove_all(std::filesystem::path(files.front()).parent_path());
}

void BM_KymtoolCheckOneRun(benchmark::State& state) {
    auto files = checkedFiles();
    std::vector<std::string> args{KYMTOOL, "check"};
    args.insert(args.end(), files.begin(), files.end());
    for (auto _ : state)
        run(args, state, 1);
    std::filesystem::remove_all(std::filesystem::path(files.front()).parent_path());
}

BENCHMARK(BM_SplitLines);
BENCHMARK(BM_CompileAndFrame);
BENCHMARK(BM_SpawnTrue)->UseRealTime();
BENCHMARK(BM_KymtoolFrame)->UseRealTime();
// 1,000 processes take seconds: three repetitions of one pass each.
BENCHMARK(BM_KymtoolCheckOneRun)->UseRealTime()->Iterations(1)->Repetitions(3);
BENCHMARK(BM_KymtoolCheckEachFile)->UseRealTime()->Iterations(1)->Repetitions(3);

// The console table, then each measurement's median as a multiple of its baseline's median.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs)
            if (run.aggregate_name == "median")
                medians_[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        ratio("BM_CompileAndFrame", "BM_SplitLines");
        ratio("BM_KymtoolFrame", "BM_SpawnTrue");
        ratio("BM_KymtoolCheckEachFile", "BM_KymtoolCheckOneRun");
    }

private:
    void ratio(const std::string& measured, const std::string& baseline) {
        if (!medians_.contains(measured) || !medians_.contains(baseline) || medians_[baseline] <= 0)
            return;
        std::printf("median %s / median %s = %.2f\n", measured.c_str(), baseline.c_str(),
                    medians_[measured] / medians_[baseline]);
    }
    std::map<std::string, double> medians_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

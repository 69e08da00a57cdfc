#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "results/result_file.h"
#include "roster/roster_file.h"

namespace tosbel {
namespace {

std::vector<std::string> hundredNames() {
    std::vector<std::string> names;
    for (int i = 1; i <= 100; ++i) names.push_back("生徒" + std::to_string(i));
    return names;
}

std::string benchFile() {
    return (std::filesystem::temp_directory_path() / "tosbel-bench-roster.MEM").string();
}

void BM_WriteRoster100(benchmark::State& state) {
    const auto names = hundredNames();
    const std::string path = benchFile();
    for (auto _ : state) {
        if (writeRoster(path, names).error != FileError::None) state.SkipWithError("write failed");
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteRoster100);

void BM_ReadRoster100(benchmark::State& state) {
    const std::string path = benchFile();
    writeRoster(path, hundredNames());
    for (auto _ : state) {
        const RosterRead read = readRoster(path);
        if (read.names.size() != 100) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(read);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadRoster100);

// A hand-edited result history far longer than the program ever writes, as the
// main window reads it at every start.
void BM_ReadResultHistory100000Lines(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "tosbel-bench-history";
    std::filesystem::create_directories(folder);
    std::string lines;
    for (int i = 0; i < 100000; ++i)
        lines += "C:\\Tosbel\\\x8C\x8B\x89\xCA" + std::to_string(i) + ".RLT\r\n";  // 結果
    std::ofstream(folder / "Tosbel.ini", std::ios::binary) << lines;
    for (auto _ : state) {
        const auto entries = readResultHistory(folder.string());
        if (entries.size() != 15) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(entries);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReadResultHistory100000Lines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tosbel

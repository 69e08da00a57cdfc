#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace tosbel

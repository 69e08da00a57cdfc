#include <benchmark/benchmark.h>

#include "core/shuffle.h"
#include "platform/random_source.h"

namespace tosbel {
namespace {

// A full class: 100 seats, 10 kept empty, 10 fixed attendees, 80 dealt.
void BM_ShuffleFullClass(benchmark::State& state) {
    AppState base;
    base.MemberCount = 90;
    for (std::size_t i = 1; i <= 90; ++i) base.Members[i] = "生徒" + std::to_string(i);
    for (std::size_t n = 1; n <= 10; ++n) base.SeatConditions[n * 10] = "-";
    for (std::size_t k = 0; k < 10; ++k) base.SeatConditions[11 + k * 9] = base.Members[1 + k * 9];
    base.OptWait = "0";
    ClockSeededRandom random;
    AppState s = base;
    for (auto _ : state) {
        runShuffle(s, random, {});
        benchmark::DoNotOptimize(s.SeatResult);
    }
}
BENCHMARK(BM_ShuffleFullClass);

}  // namespace
}  // namespace tosbel

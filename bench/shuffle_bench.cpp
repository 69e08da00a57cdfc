#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

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

// Forty pupils on rows A … D with the wishes a teacher might set at once:
// four in the front row, eight pairs kept apart, two kept near, everyone
// on a new seat beside new neighbours, boys and girls in alternate columns.
SeatWishes heavyWishes() {
    SeatWishes w;
    const auto pupil = [](int i) { return "生徒" + std::to_string(i); };
    for (int i = 1; i <= 40; ++i) {
        w.pupilEntry(pupil(i)).sex = i % 2 ? Sex::Boy : Sex::Girl;
        w.lastChart[static_cast<std::size_t>(i - 1)] = pupil(i);
    }
    for (int i = 1; i <= 4; ++i) w.pupilEntry(pupil(i)).row = RowWish::Front;
    for (int i = 0; i < 8; ++i)
        w.pairs.push_back({pupil(5 + 2 * i), pupil(6 + 2 * i), PairKind::Apart, 2 + i % 2});
    w.pairs.push_back({pupil(21), pupil(30), PairKind::Near, 1});
    w.pairs.push_back({pupil(22), pupil(31), PairKind::Near, 2});
    w.everyoneMoves = true;
    w.newNeighbours = true;
    w.pattern = SexPattern::Columns;
    return w;
}

AppState fortyPupils() {
    AppState s;
    s.MemberCount = 40;
    for (std::size_t i = 1; i <= 40; ++i) s.Members[i] = "生徒" + std::to_string(i);
    s.OptWait = "0";
    return s;
}

// Each shuffle timed on its own, so the median and the slowest hundredth
// show beside the mean.
void timeEach(benchmark::State& state, AppState& s, bool expectChart) {
    ClockSeededRandom random;
    std::vector<double> times;
    bool charted = false;
    ShuffleWindows windows;
    windows.showResult = [&charted] { charted = true; };
    windows.noChart = [](const std::string& notice) { benchmark::DoNotOptimize(notice); };
    for (auto _ : state) {
        charted = false;
        const auto start = std::chrono::steady_clock::now();
        runShuffle(s, random, windows);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        if (charted != expectChart) state.SkipWithError("unexpected outcome");
    }
    std::sort(times.begin(), times.end());
    const auto at = [&times](double q) {
        return times[std::min(times.size() - 1,
                              static_cast<std::size_t>(q * static_cast<double>(times.size())))];
    };
    state.counters["median_ms"] = at(0.5);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = times.back();
}

void BM_ShuffleFortyPupilsNoWishes(benchmark::State& state) {
    AppState s = fortyPupils();
    timeEach(state, s, true);
}
BENCHMARK(BM_ShuffleFortyPupilsNoWishes);

void BM_ShuffleFortyPupilsWithWishes(benchmark::State& state) {
    AppState s = fortyPupils();
    s.Wishes = heavyWishes();
    timeEach(state, s, true);
}
BENCHMARK(BM_ShuffleFortyPupilsWithWishes);

// One wish too many: a pair kept apart is also to sit within one seat.
void BM_ShuffleFortyPupilsNoChart(benchmark::State& state) {
    AppState s = fortyPupils();
    s.Wishes = heavyWishes();
    s.Wishes.pairs.push_back({"生徒5", "生徒6", PairKind::Near, 1});
    timeEach(state, s, false);
}
BENCHMARK(BM_ShuffleFortyPupilsNoChart);

}  // namespace
}  // namespace tosbel

#include "core/wish_shuffle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <set>

#include "core/seat_grid.h"
#include "core/shuffle.h"
#include "platform/headless/scripted_random.h"

namespace tosbel {
namespace {

using Chart = std::array<std::string, 100>;

// A reproducible stand-in for the clock-seeded source.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(unsigned seed) : engine_(seed) {}
    void seedFromClock() override {}
    float next() override { return std::uniform_real_distribution<float>(0.0f, 1.0f)(engine_); }
    std::mt19937& engine() { return engine_; }

private:
    std::mt19937 engine_;
};

AppState attendees(int n) {
    AppState s;
    for (int i = 1; i <= n; ++i) s.Members[static_cast<std::size_t>(i)] = "m" + std::to_string(i);
    s.MemberCount = static_cast<std::int16_t>(n);
    return s;
}

int rowOf(int seat) {
    return seat / 10;
}
int columnOf0(int seat) {
    return seat % 10;
}
int apart(int a, int b) {
    return std::max(std::abs(rowOf(a) - rowOf(b)), std::abs(columnOf0(a) - columnOf0(b)));
}
bool sideBySide(int a, int b) {
    return rowOf(a) == rowOf(b) && std::abs(columnOf0(a) - columnOf0(b)) == 1;
}

// The seats the plain shuffle fills, and whom it fixes there.
Chart plainChart(AppState s) {
    dealSeats(s);
    Chart chart;
    for (std::size_t n = 0; n < 100; ++n) chart[n] = s.SeatResult[n + 1];
    return chart;
}

// Everything a chart from the shuffle with wishes must be, checked here on
// its own terms rather than through the search's own reckoning.
void expectSound(const AppState& s, const SeatWishes& w, const Chart& chart) {
    const Chart plain = plainChart(s);
    std::map<std::string, int> seatOf;
    std::set<int> rows;
    for (int seat = 0; seat < 100; ++seat) {
        const std::string& name = chart[static_cast<std::size_t>(seat)];
        const std::string& condition = s.SeatConditions[static_cast<std::size_t>(seat + 1)];
        ASSERT_EQ(name.empty(), plain[static_cast<std::size_t>(seat)].empty())
            << seatLabel(seat + 1);
        if (!condition.empty() && condition != "-") {
            ASSERT_EQ(name, condition);
        }
        if (name.empty()) continue;
        ASSERT_TRUE(seatOf.emplace(name, seat).second) << name << " twice";
        rows.insert(rowOf(seat));
    }
    ASSERT_EQ(static_cast<int>(seatOf.size()), s.MemberCount);
    const auto fixed = [&s](const std::string& name) {
        return std::count(s.SeatConditions.begin(), s.SeatConditions.end(), name) > 0;
    };
    for (const PupilWish& p : w.pupils) {
        if (!seatOf.count(p.name)) continue;
        const int row = rowOf(seatOf[p.name]);
        const std::vector<int> filled(rows.begin(), rows.end());
        const std::size_t n = filled.size();
        switch (p.row) {
            case RowWish::None:
                break;
            case RowWish::Front:
                EXPECT_EQ(row, filled[0]) << p.name;
                break;
            case RowWish::FrontTwo:
                EXPECT_LE(row, filled[std::min<std::size_t>(1, n - 1)]) << p.name;
                break;
            case RowWish::BackTwo:
                EXPECT_GE(row, filled[n - std::min<std::size_t>(2, n)]) << p.name;
                break;
            case RowWish::Back:
                EXPECT_EQ(row, filled[n - 1]) << p.name;
                break;
        }
    }
    for (const PairWish& pair : w.pairs) {
        if (!seatOf.count(pair.first) || !seatOf.count(pair.second)) continue;
        const int d = apart(seatOf[pair.first], seatOf[pair.second]);
        if (pair.kind == PairKind::Apart)
            EXPECT_GE(d, pair.distance) << describePair(pair);
        else
            EXPECT_LE(d, pair.distance) << describePair(pair);
    }
    for (int seat = 0; seat < 100; ++seat) {
        const std::string& before = w.lastChart[static_cast<std::size_t>(seat)];
        if (w.everyoneMoves && seatOf.count(before) && !fixed(before)) {
            EXPECT_NE(seatOf[before], seat) << before << " stayed";
        }
        if (w.newNeighbours && seat % 10 < 9) {
            const std::string& next = w.lastChart[static_cast<std::size_t>(seat + 1)];
            if (seatOf.count(before) && seatOf.count(next) && !(fixed(before) && fixed(next))) {
                EXPECT_FALSE(sideBySide(seatOf[before], seatOf[next])) << before << next;
            }
        }
    }
    if (w.pattern == SexPattern::Columns || w.pattern == SexPattern::Checkerboard) {
        std::set<int> boyParities, girlParities;
        for (const PupilWish& p : w.pupils) {
            if (!seatOf.count(p.name) || p.sex == Sex::Unmarked) continue;
            const int seat = seatOf[p.name];
            const int parity =
                (columnOf0(seat) + (w.pattern == SexPattern::Checkerboard ? rowOf(seat) : 0)) % 2;
            (p.sex == Sex::Boy ? boyParities : girlParities).insert(parity);
        }
        EXPECT_LE(boyParities.size(), 1u);
        EXPECT_LE(girlParities.size(), 1u);
        if (!boyParities.empty() && !girlParities.empty()) {
            EXPECT_NE(*boyParities.begin(), *girlParities.begin());
        }
    }
    std::set<int> groups;
    for (const PupilWish& p : w.pupils) {
        if (!p.leader || !seatOf.count(p.name)) continue;
        const int seat = seatOf[p.name];
        const int group = rowOf(seat) / w.groupRows * 10 + columnOf0(seat) / w.groupColumns;
        EXPECT_TRUE(groups.insert(group).second) << p.name << " shares a group";
    }
}

// A random class: 8 … 40 pupils, a few empty and fixed seats, and a last
// chart.
AppState randomClass(std::mt19937& g, SeatWishes& w) {
    const int n = std::uniform_int_distribution<int>(8, 40)(g);
    AppState s = attendees(n);
    // Fixed and empty seats among those the class fills.
    std::vector<std::size_t> seats(static_cast<std::size_t>(n + 8));
    std::iota(seats.begin(), seats.end(), std::size_t{1});
    std::shuffle(seats.begin(), seats.end(), g);
    const int empties = std::uniform_int_distribution<int>(0, 5)(g);
    for (int i = 0; i < empties; ++i) s.SeatConditions[seats[static_cast<std::size_t>(i)]] = "-";
    const int fixed = std::uniform_int_distribution<int>(0, 3)(g);
    for (int i = 0; i < fixed; ++i)
        s.SeatConditions[seats[static_cast<std::size_t>(empties + i)]] =
            "m" + std::to_string(i + 1);
    for (int i = 1; i <= n; ++i)
        w.lastChart[static_cast<std::size_t>(i - 1)] = "m" + std::to_string(n + 1 - i);
    return s;
}

std::string someone(std::mt19937& g, int n, int from = 1) {
    return "m" + std::to_string(std::uniform_int_distribution<int>(from, n)(g));
}

TEST(WishShuffle, EveryKindOfWishHoldsInEveryChartOverManyRandomClasses) {
    const std::map<std::string, std::function<void(std::mt19937&, int, SeatWishes&)>> kinds = {
        {"rows",
         [](std::mt19937& g, int n, SeatWishes& w) {
             for (int i = 0; i < 4; ++i)
                 w.pupilEntry(someone(g, n, 4)).row = static_cast<RowWish>(1 + i % 4);
         }},
        {"apart",
         [](std::mt19937& g, int n, SeatWishes& w) {
             for (int i = 0; i < 4; ++i)
                 if (auto a = someone(g, n), b = someone(g, n); a != b)
                     w.pairs.push_back({a, b, PairKind::Apart, 2 + i % 2});
         }},
        {"near",
         [](std::mt19937& g, int n, SeatWishes& w) {
             for (int i = 0; i < 2; ++i)
                 if (auto a = someone(g, n), b = someone(g, n); a != b)
                     w.pairs.push_back({a, b, PairKind::Near, 1 + i % 2});
         }},
        {"moves", [](std::mt19937&, int, SeatWishes& w) { w.everyoneMoves = true; }},
        {"neighbours", [](std::mt19937&, int, SeatWishes& w) { w.newNeighbours = true; }},
        {"columns",
         [](std::mt19937& g, int n, SeatWishes& w) {
             w.pattern = std::bernoulli_distribution(0.5)(g) ? SexPattern::Columns
                                                             : SexPattern::Checkerboard;
             for (int i = 1; i <= n; i += 2)
                 w.pupilEntry("m" + std::to_string(i)).sex = i % 4 == 1 ? Sex::Boy : Sex::Girl;
         }},
        {"leaders",
         [](std::mt19937& g, int n, SeatWishes& w) {
             for (int i = 0; i < 4; ++i) w.pupilEntry(someone(g, n)).leader = true;
         }},
    };
    std::mt19937 g(20261209);
    SeededRandom random(7);
    for (const auto& [kind, add] : kinds) {
        int found = 0;
        for (int round = 0; round < 60; ++round) {
            SeatWishes w;
            const AppState s = randomClass(g, w);
            add(g, s.MemberCount, w);
            const WishChart out = seatWithWishes(s, w, random);
            if (!out.chart) continue;
            ++found;
            SCOPED_TRACE(kind + " round " + std::to_string(round));
            expectSound(s, w, *out.chart);
        }
        EXPECT_GT(found, 40) << kind;
    }
}

TEST(WishShuffle, WithoutWishesTheShuffleIsThePlainOneSeatForSeat) {
    const auto shuffled = [](const SeatWishes& wishes) {
        AppState s = attendees(5);
        s.SeatConditions[3] = "m4";
        s.Wishes = wishes;
        ScriptedRandom random({0.1f, 0.9f, 0.5f, 0.7f, 0.3f});
        runShuffle(s, random, {});
        return std::vector<std::string>(s.SeatResult.begin(), s.SeatResult.end());
    };
    // Keys 100, 900, 500, 700, 300: m2, m4, m3, m5, m1; m4 is fixed to seat 3.
    std::vector<std::string> expected(102);
    expected[1] = "m2", expected[2] = "m3", expected[3] = "m4", expected[4] = "m5",
    expected[5] = "m1";
    EXPECT_EQ(shuffled({}), expected);
    // Wishes for somebody absent today change nothing either.
    SeatWishes absent;
    absent.pupilEntry("m9").row = RowWish::Back;
    absent.pairs.push_back({"m1", "m9", PairKind::Apart, 3});
    EXPECT_EQ(shuffled(absent), expected);
}

TEST(WishShuffle, ANoticeNamesTheWishesThatCannotHoldTogether) {
    // Twelve pupils on row A and two seats of row B: row A is the front.
    AppState crowded = attendees(12);
    SeatWishes front;
    for (int i = 1; i <= 12; ++i) front.pupilEntry("m" + std::to_string(i)).row = RowWish::Front;
    SeededRandom random(1);
    EXPECT_EQ(seatWithWishes(crowded, front, random).conflicts,
              std::vector<std::string>{"前列を希望する人数（12人）が前列の席数（10席）より多い"});

    SeatWishes boys;
    boys.pattern = SexPattern::Columns;
    for (int i = 1; i <= 7; ++i) boys.pupilEntry("m" + std::to_string(i)).sex = Sex::Boy;
    EXPECT_EQ(seatWithWishes(crowded, boys, random).conflicts,
              std::vector<std::string>{"男子の人数（7人）が男子の席数（6席）より多い"});

    // Two keep-apart pairs and a fixed seat block each other; the front-row
    // wish that holds anyway is not named.
    AppState three = attendees(4);
    three.SeatConditions[2] = "m1";
    SeatWishes pairs;
    pairs.pairs = {{"m1", "m2", PairKind::Apart, 2}, {"m3", "m1", PairKind::Apart, 2}};
    pairs.pupilEntry("m2").row = RowWish::Front;
    const WishChart out = seatWithWishes(three, pairs, random);
    EXPECT_FALSE(out.chart);
    EXPECT_EQ(out.conflicts,
              (std::vector<std::string>{"次の希望は同時には満たせません。", "・固定席 A 2（m1）",
                                        "・m1とm2を2席以上離す", "・m3とm1を2席以上離す"}));

    // The shuffle then shows the notice and neither the countdown nor a chart.
    three.Wishes = pairs;
    three.OptWait = "1";
    std::string notice;
    bool shown = false;
    runShuffle(three, random,
               {[&] { shown = true; }, [&] { shown = true; },
                [&](const std::string& text) { notice = text; }});
    EXPECT_FALSE(shown);
    EXPECT_EQ(notice, noChartNotice(out.conflicts));
    EXPECT_NE(notice.find("・m3とm1を2席以上離す\r"), std::string::npos);
}

// Upper bound of chi-square with `df` degrees of freedom that a fair count
// passes with probability 1 - tail (Wilson and Hilferty).
double chiSquareBound(int df, double z) {
    const double k = df;
    return k * std::pow(1 - 2 / (9 * k) + z * std::sqrt(2 / (9 * k)), 3);
}

// Eight pupils on A 1 … A 4 and B 1 … B 4, with a front-row wish, a back-row
// wish and a keep-apart pair: every pupil's seats, over 10,000 shuffles, are
// counted against the share each seat has among all the charts that meet
// the wishes, found by listing every chart.
TEST(WishShuffle, EveryAllowedSeatIsAsLikelyAsInAFairDraw) {
    AppState s = attendees(8);
    for (std::size_t n = 5; n <= 10; ++n) s.SeatConditions[n] = "-";
    SeatWishes w;
    w.pupilEntry("m1").row = RowWish::Front;
    w.pupilEntry("m4").row = RowWish::Back;
    w.pairs.push_back({"m2", "m3", PairKind::Apart, 2});
    const std::vector<int> seats = {0, 1, 2, 3, 10, 11, 12, 13};

    std::array<std::array<double, 8>, 8> share{};
    std::vector<int> order(8);
    std::iota(order.begin(), order.end(), 0);
    double valid = 0;
    do {  // order[p] is the place of pupil p's seat in `seats`
        const auto at = [&](int p) {
            return seats[static_cast<std::size_t>(order[static_cast<std::size_t>(p)])];
        };
        if (rowOf(at(0)) != 0 || rowOf(at(3)) != 1 || apart(at(1), at(2)) < 2) continue;
        ++valid;
        for (std::size_t p = 0; p < 8; ++p) share[p][static_cast<std::size_t>(order[p])] += 1;
    } while (std::next_permutation(order.begin(), order.end()));

    constexpr int kRuns = 10000;
    const auto check = [&](const WishSearchLimits& limits, const char* path) {
        SeededRandom random(4242);
        std::array<std::array<double, 8>, 8> counts{};
        for (int run = 0; run < kRuns; ++run) {
            const auto out = seatWithWishes(s, w, random, limits);
            ASSERT_TRUE(out.chart);
            for (std::size_t k = 0; k < 8; ++k) {
                const std::string& name = (*out.chart)[static_cast<std::size_t>(seats[k])];
                counts[static_cast<std::size_t>(std::stoi(name.substr(1)) - 1)][k] += 1;
            }
        }
        for (std::size_t p = 0; p < 8; ++p) {
            double chi = 0;
            int cells = 0;
            for (std::size_t k = 0; k < 8; ++k) {
                const double expected = kRuns * share[p][k] / valid;
                if (expected == 0) {
                    EXPECT_EQ(counts[p][k], 0) << path << " m" << p + 1 << " on a seat not allowed";
                    continue;
                }
                chi += (counts[p][k] - expected) * (counts[p][k] - expected) / expected;
                ++cells;
            }
            // Eight pupils each below 1 in 80,000: all pass a fair draw but
            // once in 10,000 runs.
            EXPECT_LT(chi, chiSquareBound(cells - 1, 4.22)) << path << " m" << p + 1;
        }
    };
    check({}, "plain draws");
    check({.draws = 0, .steps = 200000, .mixingSwaps = 50}, "search");
}

}  // namespace
}  // namespace tosbel

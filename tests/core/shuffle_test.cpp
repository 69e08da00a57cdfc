#include "core/shuffle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

#include "core/seat_grid.h"
#include "platform/headless/scripted_random.h"

namespace tosbel {
namespace {

// Attendees "m1" … "mN" in slots 1 … N.
AppState attendees(int n) {
    AppState s;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(n); ++i)
        s.Members[i] = "m" + std::to_string(i);
    s.MemberCount = static_cast<std::int16_t>(n);
    return s;
}

std::vector<std::string> seatsInOrder(const AppState& s, std::size_t from, std::size_t to) {
    std::vector<std::string> out;
    for (std::size_t n = from; n <= to; ++n) out.push_back(s.SeatResult[n]);
    return out;
}

std::vector<std::string> members(const AppState& s) {
    return {s.Members.begin() + 1, s.Members.begin() + 1 + s.MemberCount};
}

TEST(SortKey, WholeNumbersFromOneTo999) {
    EXPECT_EQ(sortKey(0.0f), 1.0f);
    EXPECT_EQ(sortKey(0.5f), 500.0f);
    EXPECT_EQ(sortKey(0.0095f), 10.0f);
    EXPECT_EQ(sortKey(std::nextafter(1.0f, 0.0f)), 999.0f);
    ClockSeededRandom random;
    random.seedFromClock();
    for (int i = 0; i < 10000; ++i) {
        const float r = random.next();
        ASSERT_TRUE(r >= 0.0f && r < 1.0f) << r;
        const float k = sortKey(r);
        ASSERT_TRUE(k >= 1 && k <= 999 && k == std::floor(k)) << k;
    }
}

TEST(OrderAttendees, ExchangesOnlyOnAStrictlyGreaterKey) {
    AppState s = attendees(4);
    ScriptedRandom random({0.0095f, 0.5f, 0.5f, 0.9995f});  // keys 10, 500, 500, 999
    const auto keys = orderAttendees(s, random);
    // The exchange order is not stable: the two 500s end up swapped, as they
    // always have.
    EXPECT_EQ(members(s), (std::vector<std::string>{"m4", "m3", "m2", "m1"}));
    EXPECT_EQ(keys[1], 999.0f);
    EXPECT_EQ(keys[4], 10.0f);

    AppState same = attendees(3);
    ScriptedRandom flat({0.25f});
    orderAttendees(same, flat);
    EXPECT_EQ(members(same), (std::vector<std::string>{"m1", "m2", "m3"}));
}

TEST(DealSeats, NoConditionsFillsFromSeatOne) {
    AppState s = attendees(30);
    dealSeats(s);
    for (std::size_t n = 1; n <= 30; ++n) EXPECT_EQ(s.SeatResult[n], "m" + std::to_string(n));
    for (std::size_t n = 31; n <= 100; ++n) EXPECT_EQ(s.SeatResult[n], "");
}

TEST(DealSeats, RowAKeptEmptyPushesFortyAttendeesToRowsBToE) {
    AppState s = attendees(40);
    for (std::size_t n = 1; n <= 10; ++n) s.SeatConditions[n] = "-";
    dealSeats(s);
    for (std::size_t n = 1; n <= 10; ++n) EXPECT_EQ(s.SeatResult[n], "");
    for (std::size_t n = 11; n <= 50; ++n) EXPECT_EQ(s.SeatResult[n], "m" + std::to_string(n - 10));
    for (std::size_t n = 51; n <= 100; ++n) EXPECT_EQ(s.SeatResult[n], "");
}

TEST(DealSeats, AttendeeFixedToJ10LeavesNoGapWhereverItWasDrawn) {
    for (int position = 1; position <= 12; ++position) {
        AppState s = attendees(12);
        s.SeatConditions[100] = "m" + std::to_string(position);
        dealSeats(s);
        std::vector<std::string> expected;
        for (int i = 1; i <= 12; ++i) {
            if (i != position) expected.push_back("m" + std::to_string(i));
        }
        EXPECT_EQ(seatsInOrder(s, 1, 11), expected) << "fixed attendee drawn " << position;
        EXPECT_EQ(seatsInOrder(s, 12, 99), std::vector<std::string>(88));
        EXPECT_EQ(s.SeatResult[100], s.SeatConditions[100]);
    }
}

TEST(DealSeats, StepsOverAFixedSeatInTheMiddleOfTheRun) {
    AppState s = attendees(5);
    s.SeatConditions[3] = "m5";
    dealSeats(s);
    EXPECT_EQ(seatsInOrder(s, 1, 6), (std::vector<std::string>{"m1", "m2", "m5", "m3", "m4", ""}));
}

TEST(DealSeats, EveryAttendeeFixed) {
    AppState s = attendees(4);
    const std::map<std::size_t, std::string> fixed{{100, "m1"}, {1, "m2"}, {55, "m3"}, {7, "m4"}};
    for (const auto& [seat, name] : fixed) s.SeatConditions[seat] = name;
    s.SeatConditions[2] = "-";
    dealSeats(s);
    for (std::size_t n = 1; n <= 100; ++n) {
        const auto it = fixed.find(n);
        EXPECT_EQ(s.SeatResult[n], it == fixed.end() ? "" : it->second)
            << seatLabel(static_cast<int>(n));
    }
    EXPECT_EQ(s.SeatResult[101], "");
}

TEST(DealSeats, ConditionsThatBreakTheRulesStayInsideTheChart) {
    // A full class with a seat kept empty, a name fixed twice, a fixed name that
    // is no attendee, and a stale result: the chart is filled, nothing beyond it
    // is touched and no name from the stale result survives.
    AppState s = attendees(100);
    for (std::size_t n = 1; n <= 100; ++n) s.SeatResult[n] = "old";
    s.SeatConditions[5] = "-";
    s.SeatConditions[6] = "m1";
    s.SeatConditions[7] = "m1";
    s.SeatConditions[8] = "転校生";
    dealSeats(s);
    for (std::size_t n = 1; n <= 100; ++n) EXPECT_NE(s.SeatResult[n], "old") << n;
    EXPECT_EQ(s.SeatResult[5], "");
    EXPECT_EQ(s.SeatResult[8], "転校生");
    EXPECT_EQ(s.SeatResult[0], "");
    EXPECT_EQ(s.SeatResult[101], "");
}

TEST(RunShuffle, CountdownFirstThenFreshKeysThenTheResultWindow) {
    AppState s = attendees(3);
    s.OptWait = "1";
    for (std::size_t n = 1; n <= 100; ++n) s.InitialSeats[n] = "stale";
    ScriptedRandom random({0.1f, 0.9f, 0.5f});
    std::vector<std::string> events;
    ShuffleWindows windows;
    windows.countdown = [&] {
        EXPECT_EQ(s.InitialSeats, Slots{});
        EXPECT_EQ(random.seeds, 0);
        events.push_back("countdown");
    };
    windows.showResult = [&] {
        EXPECT_EQ(s.InitialSeats, s.SeatResult);
        events.push_back("result");
    };
    runShuffle(s, random, windows);
    EXPECT_EQ(events, (std::vector<std::string>{"countdown", "result"}));
    EXPECT_EQ(random.seeds, 1);
    EXPECT_EQ(seatsInOrder(s, 1, 4), (std::vector<std::string>{"m2", "m3", "m1", ""}));
    EXPECT_EQ(members(s), (std::vector<std::string>{"m2", "m3", "m1"}));

    // Any value but "1" skips the countdown.
    for (const char* wait : {"0", "", "yes"}) {
        s.OptWait = wait;
        events.clear();
        runShuffle(s, random, windows);
        EXPECT_EQ(events, std::vector<std::string>{"result"}) << wait;
    }
}

// Every table the condition rules accept gives a sound seating.
TEST(Shuffle, AnyValidConditionTableSeatsEveryAttendeeExactlyOnce) {
    std::mt19937 gen(20261208);
    for (int round = 0; round < 400; ++round) {
        const std::size_t count = std::uniform_int_distribution<std::size_t>(0, 100)(gen);
        AppState s = attendees(static_cast<int>(count));
        std::vector<std::size_t> seats(100);
        for (std::size_t n = 0; n < 100; ++n) seats[n] = n + 1;
        std::shuffle(seats.begin(), seats.end(), gen);
        const std::size_t empties = std::uniform_int_distribution<std::size_t>(0, 100 - count)(gen);
        const std::size_t fixedCount = std::uniform_int_distribution<std::size_t>(0, count)(gen);
        std::vector<std::size_t> who(count);
        for (std::size_t i = 0; i < count; ++i) who[i] = i + 1;
        std::shuffle(who.begin(), who.end(), gen);
        std::map<std::string, std::size_t> fixedAt;
        for (std::size_t i = 0; i < empties; ++i) s.SeatConditions[seats[i]] = "-";
        for (std::size_t i = 0; i < fixedCount; ++i) {
            const std::string name = "m" + std::to_string(who[i]);
            s.SeatConditions[seats[empties + i]] = name;
            fixedAt[name] = seats[empties + i];
        }
        std::vector<float> draws(count);
        for (auto& d : draws) d = static_cast<float>(gen() >> 8) * 0x1p-24f;
        ScriptedRandom random(draws);
        s.OptWait = "0";
        const AppState before = s;
        runShuffle(s, random, {});

        std::map<std::string, int> seen;
        for (std::size_t n = 1; n <= 100; ++n) {
            const std::string& name = s.SeatResult[n];
            if (s.SeatConditions[n] == "-") {
                ASSERT_EQ(name, "") << "round " << round;
            }
            if (!name.empty()) ++seen[name];
        }
        ASSERT_EQ(seen.size(), count) << "round " << round;
        for (const auto& [name, times] : seen) ASSERT_EQ(times, 1) << name;
        for (const auto& [name, seat] : fixedAt) ASSERT_EQ(s.SeatResult[seat], name);

        // The free seats take the unfixed attendees in drawn order, from the
        // lowest seat up, with no gap before the last one.
        std::vector<std::string> unfixed;
        for (const auto& m : members(s)) {
            if (!fixedAt.contains(m)) unfixed.push_back(m);
        }
        std::vector<std::string> onFreeSeats;
        for (std::size_t n = 1; n <= 100; ++n) {
            if (before.SeatConditions[n].empty()) onFreeSeats.push_back(s.SeatResult[n]);
        }
        unfixed.resize(onFreeSeats.size());
        ASSERT_EQ(onFreeSeats, unfixed) << "round " << round;
        ASSERT_EQ(s.InitialSeats, s.SeatResult);
        ASSERT_EQ(s.SeatResult[0], "");
        ASSERT_EQ(s.SeatResult[101], "");
    }
}

}  // namespace
}  // namespace tosbel

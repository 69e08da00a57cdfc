#include "core/shuffle.h"

#include "core/wish_shuffle.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tosbel {

namespace {

bool isFixedName(const std::string& condition) {
    return !condition.empty() && condition != kEmptySeatMark;
}

std::size_t clampedMemberCount(const AppState& s) {
    return static_cast<std::size_t>(std::clamp<int>(s.MemberCount, 0, kMaxMembers));
}

constexpr auto kSeats = static_cast<std::size_t>(kSeatCount);

}  // namespace

float sortKey(float r) {
    const float scaled = r * 999.0f + 1.0f;
    return std::floor(scaled);
}

std::array<float, kMaxMembers + 1> orderAttendees(AppState& s, RandomSource& random) {
    std::array<float, kMaxMembers + 1> key{};
    const std::size_t count = clampedMemberCount(s);
    for (std::size_t i = 1; i <= count; ++i) key[i] = sortKey(random.next());
    for (std::size_t i = 1; i + 1 <= count; ++i) {
        for (std::size_t j = i + 1; j <= count; ++j) {
            if (key[j] > key[i]) {
                std::swap(key[i], key[j]);
                std::swap(s.Members[i], s.Members[j]);
            }
        }
    }
    return key;
}

void dealSeats(AppState& s) {
    std::size_t fixedCount = 0;
    for (std::size_t n = 1; n <= kSeats; ++n)
        fixedCount += isFixedName(s.SeatConditions[n]) ? 1u : 0u;

    // With conditions that break the rules (a name fixed twice, a fixed name
    // that is no attendee) fewer or more seats than 100 would be dealt; emptying
    // first means no seat keeps a name from an earlier shuffle.
    for (std::size_t n = 1; n <= kSeats; ++n) s.SeatResult[n].clear();

    // m counts up and steps back with every seat that takes no attendee: it
    // never falls below the seats dealt, so it stays a valid slot.
    std::size_t m = 0;
    std::size_t seat = 0;
    for (std::size_t pass = 1; pass <= kSeats + fixedCount; ++pass) {
        ++m;
        ++seat;
        // Valid conditions only reach seat 101 in a last pass that steps over a
        // fixed attendee and writes nothing; stopping here keeps broken ones
        // inside the chart.
        if (seat > kSeats) break;
        const std::string& condition = s.SeatConditions[seat];
        if (condition == kEmptySeatMark) {
            s.SeatResult[seat].clear();
            --m;
        } else if (!condition.empty()) {
            s.SeatResult[seat] = condition;
            --m;
        } else {
            static const std::string kNobody;
            const std::string& member =
                m < static_cast<std::size_t>(kSlotCount) ? s.Members[m] : kNobody;
            // Only a name fixed to a seat counts: an attendee who happens to
            // be called like the empty-seat mark still gets a seat.
            bool fixedElsewhere = false;
            for (std::size_t k = 1; k <= kSeats; ++k)
                if (isFixedName(s.SeatConditions[k]) && s.SeatConditions[k] == member)
                    fixedElsewhere = true;
            if (fixedElsewhere) {
                --seat;  // the same free seat goes to the next attendee
            } else {
                s.SeatResult[seat] = member;
            }
        }
    }
}

namespace {

// With wishes the chart is found before the countdown, so a class whose
// wishes cannot all hold hears so at once, not after the pictures.
bool shuffleWithWishes(AppState& s, RandomSource& random, const ShuffleWindows& windows) {
    random.seedFromClock();
    const WishChart found = seatWithWishes(s, s.Wishes, random);
    if (!found.chart) {
        if (windows.noChart) windows.noChart(noChartNotice(found.conflicts));
        return false;
    }
    clearInitialSeats(s);
    if (s.OptWait == "1" && windows.countdown) windows.countdown();
    for (std::size_t n = 1; n <= kSeats; ++n) s.SeatResult[n] = (*found.chart)[n - 1];
    return true;
}

}  // namespace

void runShuffle(AppState& s, RandomSource& random, const ShuffleWindows& windows) {
    if (wishesApply(s, s.Wishes)) {
        if (!shuffleWithWishes(s, random, windows)) return;
    } else {
        clearInitialSeats(s);
        if (s.OptWait == "1" && windows.countdown) windows.countdown();

        random.seedFromClock();
        orderAttendees(s, random);
        dealSeats(s);
    }

    for (std::size_t n = 1; n <= kSeats; ++n) s.InitialSeats[n] = s.SeatResult[n];
    if (windows.showResult) windows.showResult();
}

}  // namespace tosbel

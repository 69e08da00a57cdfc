#include "core/shuffle.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tosbel {

namespace {

bool isFixedName(const std::string& condition) {
    return !condition.empty() && condition != kEmptySeatMark;
}

int clampedMemberCount(const AppState& s) {
    return std::clamp<int>(s.MemberCount, 0, kMaxMembers);
}

}  // namespace

float sortKey(float r) {
    const float scaled = r * 999.0f + 1.0f;
    return std::floor(scaled);
}

std::array<float, kMaxMembers + 1> orderAttendees(AppState& s, RandomSource& random) {
    std::array<float, kMaxMembers + 1> key{};
    const int count = clampedMemberCount(s);
    for (int i = 1; i <= count; ++i) key[i] = sortKey(random.next());
    for (int i = 1; i <= count - 1; ++i) {
        for (int j = i + 1; j <= count; ++j) {
            if (key[j] > key[i]) {
                std::swap(key[i], key[j]);
                std::swap(s.Members[i], s.Members[j]);
            }
        }
    }
    return key;
}

void dealSeats(AppState& s) {
    int fixedCount = 0;
    for (int n = 1; n <= kSeatCount; ++n) fixedCount += isFixedName(s.SeatConditions[n]) ? 1 : 0;

    // With conditions that break the rules (a name fixed twice, a fixed name
    // that is no attendee) fewer or more seats than 100 would be dealt; emptying
    // first means no seat keeps a name from an earlier shuffle.
    for (int n = 1; n <= kSeatCount; ++n) s.SeatResult[n].clear();

    int m = 0;
    int seat = 0;
    for (int pass = 1; pass <= kSeatCount + fixedCount; ++pass) {
        s.ScratchFlag = 0;
        ++m;
        ++seat;
        // Valid conditions only reach seat 101 in a last pass that steps over a
        // fixed attendee and writes nothing; stopping here keeps broken ones
        // inside the chart.
        if (seat > kSeatCount) break;
        const std::string& condition = s.SeatConditions[seat];
        if (condition == kEmptySeatMark) {
            s.SeatResult[seat].clear();
            --m;
        } else if (!condition.empty()) {
            s.SeatResult[seat] = condition;
            --m;
        } else {
            static const std::string kNobody;
            const std::string& member = m < kSlotCount ? s.Members[m] : kNobody;
            for (int k = 1; k <= kSeatCount; ++k) {
                if (!s.SeatConditions[k].empty() && s.SeatConditions[k] == member)
                    s.ScratchFlag = 1;
            }
            if (s.ScratchFlag == 1) {
                --seat;  // the same free seat goes to the next attendee
            } else {
                s.SeatResult[seat] = member;
            }
        }
    }
}

void runShuffle(AppState& s, RandomSource& random, const ShuffleWindows& windows) {
    clearInitialSeats(s);
    if (s.OptWait == "1" && windows.countdown) windows.countdown();

    random.seedFromClock();
    orderAttendees(s, random);
    dealSeats(s);

    for (int n = 1; n <= kSeatCount; ++n) s.InitialSeats[n] = s.SeatResult[n];
    if (windows.showResult) windows.showResult();
}

}  // namespace tosbel

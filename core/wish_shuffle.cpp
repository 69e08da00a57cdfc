#include "core/wish_shuffle.h"

#include <algorithm>
#include <bitset>
#include <cstdlib>
#include <functional>
#include <map>

#include "core/seat_grid.h"

namespace tosbel {

namespace {

// Bit k is seat k + 1; seats are counted from 0 here.
using SeatSet = std::bitset<kSeatCount>;

int rowOf(int seat) {
    return seat / kColumns;
}
int columnAt(int seat) {
    return seat % kColumns;
}
int distance(int a, int b) {
    return std::max(std::abs(rowOf(a) - rowOf(b)), std::abs(columnAt(a) - columnAt(b)));
}
bool sideBySide(int a, int b) {
    return rowOf(a) == rowOf(b) && std::abs(columnAt(a) - columnAt(b)) == 1;
}

int pick(RandomSource& random, std::size_t count) {
    const auto k = static_cast<std::size_t>(random.next() * static_cast<float>(count));
    return static_cast<int>(std::min(k, count - 1));
}

template <typename T>
void shuffleInPlace(std::vector<T>& items, RandomSource& random) {
    for (std::size_t i = items.size(); i > 1; --i)
        std::swap(items[i - 1], items[static_cast<std::size_t>(pick(random, i))]);
}

// How two pupils' seats must lie to each other.
enum class Link : std::uint8_t { Within1, Within2, Beyond1, Beyond2, NotSide, OtherGroup };

// Today's class as the plain shuffle would seat it: who is present, who is
// fixed where, and which seats are filled.
struct Day {
    std::vector<std::string> names;  // the attendees
    std::map<std::string, int> index;
    std::vector<int> fixedAt;                          // per attendee, -1 for none
    std::vector<int> freeSeats;                        // in seat order
    std::array<std::string, kSeatCount> fixedChart{};  // fixed names as the conditions put them
    std::vector<int> filledRows;                       // ascending
    bool fits = true;
};

Day dayOf(const AppState& s) {
    Day day;
    const int count = std::clamp<int>(s.MemberCount, 0, kMaxMembers);
    for (int i = 1; i <= count; ++i) {
        const std::string& name = s.Members[static_cast<std::size_t>(i)];
        day.index.emplace(name, static_cast<int>(day.names.size()));
        day.names.push_back(name);
    }
    day.fixedAt.assign(day.names.size(), -1);
    std::vector<int> open;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const std::string& condition = s.SeatConditions[static_cast<std::size_t>(seat + 1)];
        if (condition == kEmptySeatMark) continue;
        if (condition.empty()) {
            open.push_back(seat);
            continue;
        }
        day.fixedChart[static_cast<std::size_t>(seat)] = condition;
        const auto at = day.index.find(condition);
        if (at != day.index.end() && day.fixedAt[static_cast<std::size_t>(at->second)] < 0)
            day.fixedAt[static_cast<std::size_t>(at->second)] = seat;
    }
    const auto loose =
        static_cast<std::size_t>(std::count(day.fixedAt.begin(), day.fixedAt.end(), -1));
    day.fits = loose <= open.size();
    open.resize(std::min(loose, open.size()));
    day.freeSeats = open;

    std::bitset<kRows> rows;
    for (const int seat : day.freeSeats) rows.set(static_cast<std::size_t>(rowOf(seat)));
    for (int seat = 0; seat < kSeatCount; ++seat)
        if (!day.fixedChart[static_cast<std::size_t>(seat)].empty())
            rows.set(static_cast<std::size_t>(rowOf(seat)));
    for (int r = 0; r < kRows; ++r)
        if (rows.test(static_cast<std::size_t>(r))) day.filledRows.push_back(r);
    return day;
}

SeatSet rowsMask(const Day& day, RowWish wish) {
    SeatSet mask;
    const auto& rows = day.filledRows;
    if (rows.empty()) return mask;
    const auto addRow = [&mask](int r) {
        for (int c = 0; c < kColumns; ++c) mask.set(static_cast<std::size_t>(r * kColumns + c));
    };
    const std::size_t last = rows.size() - 1;
    switch (wish) {
        case RowWish::None:
            return mask.set();
        case RowWish::Front:
            addRow(rows[0]);
            break;
        case RowWish::FrontTwo:
            addRow(rows[0]);
            if (rows.size() > 1) addRow(rows[1]);
            break;
        case RowWish::BackTwo:
            addRow(rows[last]);
            if (last > 0) addRow(rows[last - 1]);
            break;
        case RowWish::Back:
            addRow(rows[last]);
            break;
    }
    return mask;
}

// The seat types of a pattern: which sex each seat is for, or either.
std::array<Sex, kSeatCount> seatSexes(const SeatWishes& w, int phase) {
    std::array<Sex, kSeatCount> types{};
    for (int seat = 0; seat < kSeatCount; ++seat) {
        Sex& type = types[static_cast<std::size_t>(seat)];
        switch (w.pattern) {
            case SexPattern::None:
                type = Sex::Unmarked;
                break;
            case SexPattern::Columns:
                type = columnAt(seat) % 2 == phase ? Sex::Boy : Sex::Girl;
                break;
            case SexPattern::Checkerboard:
                type = (rowOf(seat) + columnAt(seat)) % 2 == phase ? Sex::Boy : Sex::Girl;
                break;
            case SexPattern::LastResult: {
                const PupilWish* last = w.pupil(w.lastChart[static_cast<std::size_t>(seat)]);
                type = last ? last->sex : Sex::Unmarked;
                break;
            }
        }
    }
    return types;
}

int phasesOf(SexPattern pattern) {
    return pattern == SexPattern::Columns || pattern == SexPattern::Checkerboard ? 2 : 1;
}

int groupOf(const SeatWishes& w, int seat) {
    return rowOf(seat) / w.groupRows * kColumns + columnAt(seat) / w.groupColumns;
}

// One wish the search honours, which the diagnosis may switch off.
enum class ItemKind { Fixed, Pattern, EveryoneMoves, NewNeighbours, Leaders, Pair, Row };
struct Item {
    ItemKind kind;
    int index;  // the attendee (fixed, row) or the pair
    std::string words;
};

std::string lastSeatsNote(const SeatWishes& w) {
    return w.lastSource.empty() ? "" : "（" + w.lastSource + "と比べて）";
}

std::vector<Item> itemsOf(const Day& day, const SeatWishes& w) {
    std::vector<Item> items;
    const auto present = [&day](const std::string& name) { return day.index.count(name) > 0; };
    for (std::size_t p = 0; p < day.names.size(); ++p) {
        const int seat = day.fixedAt[p];
        if (seat >= 0)
            items.push_back({ItemKind::Fixed, static_cast<int>(p),
                             "固定席 " + seatLabel(seat + 1) + "（" + day.names[p] + "）"});
    }
    int marked = 0, leaders = 0;
    for (const PupilWish& p : w.pupils) {
        if (!present(p.name)) continue;
        marked += p.sex != Sex::Unmarked ? 1 : 0;
        leaders += p.leader ? 1 : 0;
    }
    const bool last = w.hasLastChart();
    if (w.pattern != SexPattern::None && marked > 0 &&
        (w.pattern != SexPattern::LastResult || last))
        items.push_back({ItemKind::Pattern, 0, "男女の並び（" + patternText(w.pattern) + "）"});
    if (w.everyoneMoves && last)
        items.push_back({ItemKind::EveryoneMoves, 0, "全員が前回と違う席" + lastSeatsNote(w)});
    if (w.newNeighbours && last)
        items.push_back({ItemKind::NewNeighbours, 0, "前回と違う隣どうし" + lastSeatsNote(w)});
    if (leaders > 1)
        items.push_back({ItemKind::Leaders, 0,
                         "班長を別々の班に（" + std::to_string(w.groupRows) + "×" +
                             std::to_string(w.groupColumns) + "の班）"});
    for (std::size_t i = 0; i < w.pairs.size(); ++i) {
        const PairWish& pair = w.pairs[i];
        if (present(pair.first) && present(pair.second) && pair.first != pair.second)
            items.push_back({ItemKind::Pair, static_cast<int>(i), describePair(pair)});
    }
    for (const PupilWish& p : w.pupils) {
        if (p.row == RowWish::None || !present(p.name)) continue;
        items.push_back({ItemKind::Row, day.index.at(p.name), describeRow(p.name, p.row)});
    }
    return items;
}

struct Edge {
    int other;  // a free pupil, by its place among the free
    Link link;
};

// The wishes as seats each free pupil may take and links between free
// pupils; fixed pupils are settled here against them.
struct Problem {
    bool possible = true;
    std::vector<int> pupils;  // attendees seated by the search
    std::vector<int> seats;   // the seats they fill
    std::vector<SeatSet> allowed;
    std::vector<std::vector<Edge>> edges;
    std::array<SeatSet, kSeatCount> groupOf{};  // per seat: the seats of its group

    SeatSet mask(Link link, int seat) const {
        static const auto table = [] {
            std::array<std::array<SeatSet, kSeatCount>, 5> t{};
            for (int a = 0; a < kSeatCount; ++a) {
                for (int b = 0; b < kSeatCount; ++b) {
                    const auto bit = static_cast<std::size_t>(b);
                    auto& row = t;
                    const auto at = static_cast<std::size_t>(a);
                    if (distance(a, b) <= 1) row[0][at].set(bit);
                    if (distance(a, b) <= 2) row[1][at].set(bit);
                    if (distance(a, b) >= 2) row[2][at].set(bit);
                    if (distance(a, b) >= 3) row[3][at].set(bit);
                    if (!sideBySide(a, b)) row[4][at].set(bit);
                }
            }
            return t;
        }();
        const auto at = static_cast<std::size_t>(seat);
        if (link == Link::OtherGroup) return ~groupOf[at];
        return table[static_cast<std::size_t>(link)][at];
    }
};

Link pairLink(const PairWish& pair) {
    if (pair.kind == PairKind::Near) return pair.distance <= 1 ? Link::Within1 : Link::Within2;
    return pair.distance <= 2 ? Link::Beyond1 : Link::Beyond2;
}

Problem build(const Day& day, const SeatWishes& w, const std::vector<Item>& items,
              const std::vector<bool>& on, int phase) {
    Problem pr;
    const std::size_t n = day.names.size();
    std::vector<int> fixedAt = day.fixedAt;
    std::vector<int> seats = day.freeSeats;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (on[i] || items[i].kind != ItemKind::Fixed) continue;
        const auto p = static_cast<std::size_t>(items[i].index);
        seats.push_back(fixedAt[p]);
        fixedAt[p] = -1;
    }
    std::sort(seats.begin(), seats.end());
    std::vector<int> place(n, -1);  // attendee -> index among the free
    for (std::size_t p = 0; p < n; ++p) {
        if (fixedAt[p] >= 0) continue;
        place[p] = static_cast<int>(pr.pupils.size());
        pr.pupils.push_back(static_cast<int>(p));
    }
    pr.seats = seats;
    SeatSet open;
    for (const int seat : seats) open.set(static_cast<std::size_t>(seat));
    pr.allowed.assign(pr.pupils.size(), open);
    pr.edges.resize(pr.pupils.size());
    if (pr.pupils.size() > seats.size()) pr.possible = false;
    const auto restrict = [&](std::size_t p, const SeatSet& mask) {
        if (fixedAt[p] >= 0) {
            if (!mask.test(static_cast<std::size_t>(fixedAt[p]))) pr.possible = false;
            return;
        }
        pr.allowed[static_cast<std::size_t>(place[p])] &= mask;
    };
    const auto link = [&](std::size_t a, std::size_t b, Link kind) {
        if (fixedAt[a] >= 0 && fixedAt[b] >= 0) {
            if (!pr.mask(kind, fixedAt[a]).test(static_cast<std::size_t>(fixedAt[b])))
                pr.possible = false;
        } else if (fixedAt[a] >= 0) {
            restrict(b, pr.mask(kind, fixedAt[a]));
        } else if (fixedAt[b] >= 0) {
            restrict(a, pr.mask(kind, fixedAt[b]));
        } else {
            pr.edges[static_cast<std::size_t>(place[a])].push_back({place[b], kind});
            pr.edges[static_cast<std::size_t>(place[b])].push_back({place[a], kind});
        }
    };
    const auto attendee = [&day](const std::string& name) {
        return static_cast<std::size_t>(day.index.at(name));
    };

    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!on[i]) continue;
        const Item& item = items[i];
        switch (item.kind) {
            case ItemKind::Fixed:
                break;
            case ItemKind::Row: {
                const auto p = static_cast<std::size_t>(item.index);
                restrict(p, rowsMask(day, w.pupil(day.names[p])->row));
                break;
            }
            case ItemKind::Pair: {
                const PairWish& pair = w.pairs[static_cast<std::size_t>(item.index)];
                link(attendee(pair.first), attendee(pair.second), pairLink(pair));
                break;
            }
            case ItemKind::Pattern: {
                const auto types = seatSexes(w, phase);
                SeatSet boys, girls;
                for (int seat = 0; seat < kSeatCount; ++seat) {
                    const Sex type = types[static_cast<std::size_t>(seat)];
                    boys.set(static_cast<std::size_t>(seat), type != Sex::Girl);
                    girls.set(static_cast<std::size_t>(seat), type != Sex::Boy);
                }
                for (const PupilWish& p : w.pupils) {
                    if (!day.index.count(p.name) || p.sex == Sex::Unmarked) continue;
                    restrict(attendee(p.name), p.sex == Sex::Boy ? boys : girls);
                }
                break;
            }
            case ItemKind::EveryoneMoves:
                // A pupil the teacher fixed to a seat keeps it, whatever last time was.
                for (int seat = 0; seat < kSeatCount; ++seat) {
                    const auto at = day.index.find(w.lastChart[static_cast<std::size_t>(seat)]);
                    if (at == day.index.end()) continue;
                    const auto p = static_cast<std::size_t>(at->second);
                    if (fixedAt[p] < 0) restrict(p, ~SeatSet().set(static_cast<std::size_t>(seat)));
                }
                break;
            case ItemKind::NewNeighbours:
                for (int seat = 0; seat + 1 < kSeatCount; ++seat) {
                    if (!sideBySide(seat, seat + 1)) continue;
                    const auto a = day.index.find(w.lastChart[static_cast<std::size_t>(seat)]);
                    const auto b = day.index.find(w.lastChart[static_cast<std::size_t>(seat + 1)]);
                    if (a == day.index.end() || b == day.index.end() || a->second == b->second)
                        continue;
                    const auto pa = static_cast<std::size_t>(a->second);
                    const auto pb = static_cast<std::size_t>(b->second);
                    // Two pupils both fixed side by side stay so.
                    if (fixedAt[pa] >= 0 && fixedAt[pb] >= 0) continue;
                    link(pa, pb, Link::NotSide);
                }
                break;
            case ItemKind::Leaders: {
                for (int seat = 0; seat < kSeatCount; ++seat)
                    for (int other = 0; other < kSeatCount; ++other)
                        if (groupOf(w, seat) == groupOf(w, other))
                            pr.groupOf[static_cast<std::size_t>(seat)].set(
                                static_cast<std::size_t>(other));
                std::vector<std::size_t> leaders;
                for (const PupilWish& p : w.pupils)
                    if (p.leader && day.index.count(p.name)) leaders.push_back(attendee(p.name));
                for (std::size_t a = 0; a < leaders.size(); ++a)
                    for (std::size_t b = a + 1; b < leaders.size(); ++b)
                        link(leaders[a], leaders[b], Link::OtherGroup);
                break;
            }
        }
    }
    for (const SeatSet& allowed : pr.allowed)
        if (allowed.none()) pr.possible = false;
    return pr;
}

// Whether every free pupil can have a seat of their own among those they
// may take, by augmenting paths.
bool everyoneHasASeat(const Problem& pr) {
    std::vector<int> owner(kSeatCount, -1);
    std::vector<char> seen;
    std::function<bool(int)> claim = [&](int p) -> bool {
        for (const int seat : pr.seats) {
            const auto s = static_cast<std::size_t>(seat);
            if (!pr.allowed[static_cast<std::size_t>(p)].test(s) || seen[s]) continue;
            seen[s] = 1;
            if (owner[s] < 0 || claim(owner[s])) {
                owner[s] = p;
                return true;
            }
        }
        return false;
    };
    for (std::size_t p = 0; p < pr.pupils.size(); ++p) {
        seen.assign(kSeatCount, 0);
        if (!claim(static_cast<int>(p))) return false;
    }
    return true;
}

bool holds(const Problem& pr, const std::vector<int>& seatOf, std::size_t p) {
    const int seat = seatOf[p];
    if (!pr.allowed[p].test(static_cast<std::size_t>(seat))) return false;
    for (const Edge& e : pr.edges[p])
        if (!pr.mask(e.link, seat)
                 .test(static_cast<std::size_t>(seatOf[static_cast<std::size_t>(e.other)])))
            return false;
    return true;
}

// A plain random chart, kept only when every wish holds.
std::optional<std::vector<int>> draw(const Problem& pr, RandomSource& random) {
    std::vector<int> seatOf = pr.seats;
    shuffleInPlace(seatOf, random);
    for (std::size_t p = 0; p < seatOf.size(); ++p)
        if (!holds(pr, seatOf, p)) return std::nullopt;
    return seatOf;
}

// Depth-first: the pupil with the fewest seats left first, the seats in
// random order, every other pupil's seats narrowed as each seat is taken.
class Search {
public:
    Search(const Problem& pr, RandomSource& random, long steps)
        : pr_(pr), random_(random), steps_(steps), seatOf_(pr.pupils.size(), -1) {
        for (std::size_t p = 0; p < pr.pupils.size(); ++p) tie_.push_back(random.next());
    }

    std::optional<std::vector<int>> run() {
        if (fill(pr_.allowed, 0)) return seatOf_;
        return std::nullopt;
    }

private:
    bool fill(const std::vector<SeatSet>& seats, std::size_t done) {
        if (done == seatOf_.size()) return true;
        std::size_t chosen = seatOf_.size();
        std::size_t fewest = kSeatCount + 1;
        for (std::size_t p = 0; p < seatOf_.size(); ++p) {
            if (seatOf_[p] >= 0) continue;
            const std::size_t count = seats[p].count();
            if (count < fewest || (count == fewest && tie_[p] < tie_[chosen])) {
                fewest = count;
                chosen = p;
            }
        }
        std::vector<int> choices;
        for (int seat = 0; seat < kSeatCount; ++seat)
            if (seats[chosen].test(static_cast<std::size_t>(seat))) choices.push_back(seat);
        shuffleInPlace(choices, random_);
        std::vector<SeatSet> next(seats.size());
        for (const int seat : choices) {
            if (--steps_ < 0) return false;
            bool dead = false;
            for (std::size_t p = 0; p < seats.size(); ++p) {
                next[p] = seats[p];
                next[p].reset(static_cast<std::size_t>(seat));
            }
            for (const Edge& e : pr_.edges[chosen]) {
                const auto other = static_cast<std::size_t>(e.other);
                if (seatOf_[other] < 0) next[other] &= pr_.mask(e.link, seat);
            }
            for (std::size_t p = 0; p < seats.size() && !dead; ++p)
                dead = p != chosen && seatOf_[p] < 0 && next[p].none();
            if (dead) continue;
            seatOf_[chosen] = seat;
            if (fill(next, done + 1)) return true;
            seatOf_[chosen] = -1;
            if (steps_ < 0) return false;
        }
        return false;
    }

    const Problem& pr_;
    RandomSource& random_;
    long steps_;
    std::vector<int> seatOf_;
    std::vector<float> tie_;
};

// Random exchanges of two pupils' seats, each kept only when every wish
// still holds: the chart wanders among the allowed ones, away from the
// order the search happened to fill seats in.
void mix(const Problem& pr, std::vector<int>& seatOf, RandomSource& random, int swaps) {
    const std::size_t n = seatOf.size();
    if (n < 2) return;
    for (std::size_t i = 0; i < static_cast<std::size_t>(swaps) * n; ++i) {
        const auto a = static_cast<std::size_t>(pick(random, n));
        const auto b = static_cast<std::size_t>(pick(random, n));
        if (a == b) continue;
        std::swap(seatOf[a], seatOf[b]);
        if (!holds(pr, seatOf, a) || !holds(pr, seatOf, b)) std::swap(seatOf[a], seatOf[b]);
    }
}

std::optional<std::vector<int>> solve(const Problem& pr, RandomSource& random,
                                      const WishSearchLimits& limits) {
    if (!pr.possible || !everyoneHasASeat(pr)) return std::nullopt;
    for (int i = 0; i < limits.draws; ++i)
        if (auto found = draw(pr, random)) return found;
    // A search that lost its way early can take long to back out of it;
    // starting afresh with other random choices, given more room each time,
    // finds a chart that exists sooner.
    for (const long share : {8L, 8L, 4L, 2L}) {
        auto found = Search(pr, random, std::max(1L, limits.steps / share)).run();
        if (!found) continue;
        mix(pr, *found, random, limits.mixingSwaps);
        return found;
    }
    return std::nullopt;
}

struct Solved {
    Problem problem;
    std::vector<int> seatOf;
};

std::optional<Solved> solveAnyPhase(const Day& day, const SeatWishes& w,
                                    const std::vector<Item>& items, const std::vector<bool>& on,
                                    RandomSource& random, const WishSearchLimits& limits) {
    const int phases = phasesOf(w.pattern);
    const int first = phases > 1 ? pick(random, 2) : 0;
    for (int i = 0; i < phases; ++i) {
        Problem pr = build(day, w, items, on, (first + i) % phases);
        if (auto found = solve(pr, random, limits)) return Solved{std::move(pr), std::move(*found)};
    }
    return std::nullopt;
}

std::string countLine(const std::string& people, int count, const std::string& places, int room,
                      const char* unit) {
    return people + "（" + std::to_string(count) + "人）が" + places + "（" + std::to_string(room) +
           unit + "）より多い";
}

// The shortfalls a count shows at once, before any search.
std::vector<std::string> countConflicts(const Day& day, const SeatWishes& w) {
    std::vector<std::string> lines;
    const auto loose = [&day](const std::string& name) {
        const auto at = day.index.find(name);
        return at != day.index.end() && day.fixedAt[static_cast<std::size_t>(at->second)] < 0;
    };
    struct Zone {
        RowWish zone;
        std::vector<RowWish> inside;
    };
    const Zone zones[] = {{RowWish::Front, {RowWish::Front}},
                          {RowWish::FrontTwo, {RowWish::Front, RowWish::FrontTwo}},
                          {RowWish::BackTwo, {RowWish::Back, RowWish::BackTwo}},
                          {RowWish::Back, {RowWish::Back}}};
    for (const Zone& z : zones) {
        int people = 0;
        for (const PupilWish& p : w.pupils)
            if (loose(p.name) && std::count(z.inside.begin(), z.inside.end(), p.row)) ++people;
        const SeatSet mask = rowsMask(day, z.zone);
        int seats = 0;
        for (const int seat : day.freeSeats) seats += mask.test(static_cast<std::size_t>(seat));
        const std::string name = rowWishText(z.zone);
        if (people > seats)
            lines.push_back(
                countLine(name + "を希望する人数", people, name + "の席数", seats, "席"));
    }
    if (w.pattern != SexPattern::None) {
        int boys = 0, girls = 0;
        for (const PupilWish& p : w.pupils) {
            if (!loose(p.name)) continue;
            boys += p.sex == Sex::Boy;
            girls += p.sex == Sex::Girl;
        }
        std::vector<std::string> best;
        for (int phase = 0; phase < phasesOf(w.pattern); ++phase) {
            const auto types = seatSexes(w, phase);
            int boySeats = 0, girlSeats = 0;
            for (const int seat : day.freeSeats) {
                boySeats += types[static_cast<std::size_t>(seat)] != Sex::Girl;
                girlSeats += types[static_cast<std::size_t>(seat)] != Sex::Boy;
            }
            std::vector<std::string> found;
            if (boys > boySeats)
                found.push_back(countLine("男子の人数", boys, "男子の席数", boySeats, "席"));
            if (girls > girlSeats)
                found.push_back(countLine("女子の人数", girls, "女子の席数", girlSeats, "席"));
            if (found.empty()) {
                best.clear();
                break;
            }
            if (best.empty() || found.size() < best.size()) best = found;
        }
        lines.insert(lines.end(), best.begin(), best.end());
    }
    int leaders = 0;
    for (const PupilWish& p : w.pupils) leaders += p.leader && day.index.count(p.name) ? 1 : 0;
    if (leaders > 1) {
        std::bitset<kSeatCount> groups;
        for (const int seat : day.freeSeats) groups.set(static_cast<std::size_t>(groupOf(w, seat)));
        for (const int seat : day.fixedAt)
            if (seat >= 0) groups.set(static_cast<std::size_t>(groupOf(w, seat)));
        const auto count = static_cast<int>(groups.count());
        if (leaders > count)
            lines.push_back(countLine("班長の人数", leaders, "班の数", count, "班"));
    }
    return lines;
}

// Switches the wishes off one at a time and keeps off each one the class
// still cannot be seated without: what is left cannot hold together, and
// each of it is needed for that.
std::vector<std::string> conflictingWishes(const Day& day, const SeatWishes& w,
                                           const std::vector<Item>& items, RandomSource& random,
                                           const WishSearchLimits& limits) {
    WishSearchLimits quick = limits;
    quick.draws = std::min(limits.draws, 20);
    quick.steps = std::max(1L, limits.steps / 20);
    quick.mixingSwaps = 0;
    std::vector<bool> on(items.size(), true);
    for (std::size_t i = 0; i < items.size(); ++i) {
        on[i] = false;
        if (solveAnyPhase(day, w, items, on, random, quick)) on[i] = true;
    }
    std::vector<std::string> lines{"次の希望は同時には満たせません。"};
    for (std::size_t i = 0; i < items.size(); ++i)
        if (on[i]) lines.push_back("・" + items[i].words);
    if (lines.size() == 1) lines = {"希望をすべて満たす並び方を見つけられませんでした。"};
    return lines;
}

}  // namespace

bool wishesApply(const AppState& s, const SeatWishes& wishes) {
    if (!wishes.any()) return false;
    const Day day = dayOf(s);
    const auto items = itemsOf(day, wishes);
    return std::any_of(items.begin(), items.end(),
                       [](const Item& item) { return item.kind != ItemKind::Fixed; });
}

WishChart seatWithWishes(const AppState& s, const SeatWishes& wishes, RandomSource& random,
                         const WishSearchLimits& limits) {
    const Day day = dayOf(s);
    if (!day.fits) return {std::nullopt, {"出席者の人数が空いている席の数より多い"}};
    const auto items = itemsOf(day, wishes);
    const std::vector<bool> on(items.size(), true);
    if (auto solved = solveAnyPhase(day, wishes, items, on, random, limits)) {
        WishChart out;
        out.chart = day.fixedChart;
        for (std::size_t p = 0; p < solved->seatOf.size(); ++p) {
            const auto attendee = static_cast<std::size_t>(solved->problem.pupils[p]);
            (*out.chart)[static_cast<std::size_t>(solved->seatOf[p])] = day.names[attendee];
        }
        return out;
    }
    auto counts = countConflicts(day, wishes);
    if (!counts.empty()) return {std::nullopt, counts};
    return {std::nullopt, conflictingWishes(day, wishes, items, random, limits)};
}

std::string noChartNotice(const std::vector<std::string>& conflicts) {
    std::string text = "席の希望をすべて満たす並び方がありません。\r\r";
    for (const std::string& line : conflicts) text += line + "\r";
    text += "\r「席の希望」を見直して下さい。";
    return text;
}

}  // namespace tosbel

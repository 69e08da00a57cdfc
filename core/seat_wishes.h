#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace tosbel {

struct AppState;

// What a teacher may wish for a class beyond fixed and empty seats. Every
// wish names pupils by their exact roster name; a wish whose pupil is absent
// today, or no longer on the roster, is kept but not applied.

// A row wish counts over the rows the shuffle fills that day: with 24 pupils
// on rows A … C, "後列" is row C. Row A is the front (nearest the board).
enum class RowWish : std::uint8_t { None, Front, FrontTwo, BackTwo, Back };
enum class Sex : std::uint8_t { Unmarked, Boy, Girl };
// Which seats boys and girls take. Unmarked pupils may sit anywhere.
enum class SexPattern : std::uint8_t { None, Columns, Checkerboard, LastResult };
enum class PairKind : std::uint8_t { Apart, Near };

struct PupilWish {
    std::string name;
    RowWish row = RowWish::None;
    Sex sex = Sex::Unmarked;
    bool leader = false;  // each leader in a different group

    bool operator==(const PupilWish&) const = default;
};

// Distance is the larger of the row and column differences: apart by 2 means
// not side by side, not in front or behind and not diagonal.
struct PairWish {
    std::string first;
    std::string second;
    PairKind kind = PairKind::Apart;
    int distance = 2;  // apart: at least this; near: at most this

    bool operator==(const PairWish&) const = default;
};

inline constexpr int kMinApart = 2, kMaxApart = 3;
inline constexpr int kMinNear = 1, kMaxNear = 2;

struct SeatWishes {
    std::vector<PupilWish> pupils;  // only pupils with at least one mark
    std::vector<PairWish> pairs;
    bool everyoneMoves = false;  // nobody on the seat they had last time
    bool newNeighbours = false;  // no two side by side again who were last time
    SexPattern pattern = SexPattern::None;
    // Groups (班) are blocks of desks this many rows deep and columns wide,
    // counted from A 1.
    int groupRows = 2;
    int groupColumns = 3;
    // The chart the class sat in last time (seat n at n − 1; "" empty), which
    // everyone-moves, new neighbours and the last pattern compare with.
    std::array<std::string, 100> lastChart{};
    // Where lastChart was taken from, for the teacher: "先程の結果" or the
    // file name of a past log.
    std::string lastSource;

    bool operator==(const SeatWishes&) const = default;

    // True when some wish would change how the shuffle seats the class.
    bool any() const;
    bool hasLastChart() const;
    const PupilWish* pupil(std::string_view name) const;
    // The pupil's entry, made when missing; entries left with no mark are
    // dropped by prune().
    PupilWish& pupilEntry(std::string_view name);
    void prune();
};

// The wish file of a roster: the roster's path with its extension (if any)
// replaced by ".KIB" (希望), so copies and renames can carry it along.
inline constexpr std::string_view kWishExtension = ".KIB";
std::string wishFileOf(const std::string& rosterPath);

// The file is code page 932 text, one wish per line, each line ending CR LF,
// fields separated by commas, readable and editable in Notepad. Unknown or
// broken lines are errors, so a hand edit never silently changes a wish.
struct WishRead {
    std::optional<SeatWishes> wishes;  // none when the file cannot be used
    int line = 0;                      // the first line that could not be read
};
WishRead parseWishFile(std::string_view bytes);
// A missing file is no wishes at all; `line` 0 with no wishes is a file that
// could not be read or is not text.
WishRead readWishFile(const std::string& path);
// None when a name cannot be written in code page 932 or holds a comma, a
// quote or a line break, which would read back as another name.
std::optional<std::string> encodeWishFile(const SeatWishes& wishes);
// With no wish set the file is removed, so a roster without wishes has no
// file. False when it could not be written or removed.
bool writeWishFile(const std::string& path, const SeatWishes& wishes);

// Takes in the wishes of the roster at `rosterPath` (empty: a roster not yet
// saved, which has none) and keeps that path as the one they belong to. A wish
// file that cannot be used leaves no wishes, the file untouched, and gives the
// notice that says so.
std::optional<Message> loadRosterWishes(AppState& s, const std::string& rosterPath);

// The teacher's words for one wish, as the notices name it.
std::string describeRow(const std::string& name, RowWish row);
std::string describePair(const PairWish& pair);
std::string rowWishText(RowWish row);
std::string patternText(SexPattern pattern);

}  // namespace tosbel

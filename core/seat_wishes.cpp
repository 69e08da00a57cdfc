#include "core/seat_wishes.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/app_state.h"
#include "core/seat_grid.h"
#include "platform/cp932.h"
#include "platform/field_reader.h"
#include "platform/file_io.h"
#include "platform/text_file.h"

namespace tosbel {

namespace {

// The first line, so a roster or any other file given the wish file's name
// is refused instead of read as no wishes.
constexpr std::string_view kHeading = "席の希望";

constexpr std::string_view kRowWords[] = {"", "前列", "前2列", "後2列", "後列"};
constexpr std::string_view kPatternWords[] = {"指定なし", "列ごとに交互", "市松模様",
                                              "前回の並びのまま"};
constexpr std::string_view kBoy = "男", kGirl = "女", kLeader = "班長", kApart = "離す",
                           kNear = "近く", kEveryoneMoves = "全員が前回と違う席",
                           kNewNeighbours = "前回と違う隣どうし", kPattern = "男女の並び",
                           kGroups = "班の形", kLastSource = "前回の結果", kLastSeat = "前回の席";

std::optional<int> smallNumber(const std::string& text, int low, int high) {
    if (text.size() != 1 && text.size() != 2) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

std::optional<int> seatOfLabel(const std::string& label) {
    for (int seat = 1; seat <= kSeatCount; ++seat)
        if (seatLabel(seat) == label) return seat;
    return std::nullopt;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::vector<std::string> fieldsOf(std::string_view line) {
    std::vector<std::string> fields;
    FieldReader reader(line);
    while (!reader.atEnd()) fields.push_back(reader.next());
    // A trailing comma leaves an empty last value, which no line has.
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

// Takes one line into the wishes; false when it is not a line of this file.
bool takeLine(const std::vector<std::string>& f, SeatWishes& w) {
    if (f.empty()) return false;
    const std::string& word = f[0];
    const auto named = [&f](std::size_t count) {
        if (f.size() != count) return false;
        for (std::size_t i = 1; i < count; ++i)
            if (f[i].empty()) return false;
        return true;
    };
    for (std::size_t r = 1; r < std::size(kRowWords); ++r) {
        if (word != kRowWords[r]) continue;
        if (!named(2)) return false;
        PupilWish& p = w.pupilEntry(f[1]);
        if (p.row != RowWish::None) return false;
        p.row = static_cast<RowWish>(r);
        return true;
    }
    if (word == kBoy || word == kGirl) {
        if (!named(2)) return false;
        PupilWish& p = w.pupilEntry(f[1]);
        if (p.sex != Sex::Unmarked) return false;
        p.sex = word == kBoy ? Sex::Boy : Sex::Girl;
        return true;
    }
    if (word == kLeader) {
        if (!named(2)) return false;
        PupilWish& p = w.pupilEntry(f[1]);
        if (p.leader) return false;
        p.leader = true;
        return true;
    }
    if (word == kApart || word == kNear) {
        if (!named(4) || f[1] == f[2]) return false;
        const bool apart = word == kApart;
        const auto distance =
            apart ? smallNumber(f[3], kMinApart, kMaxApart) : smallNumber(f[3], kMinNear, kMaxNear);
        if (!distance) return false;
        w.pairs.push_back({f[1], f[2], apart ? PairKind::Apart : PairKind::Near, *distance});
        return true;
    }
    if (word == kEveryoneMoves || word == kNewNeighbours) {
        bool& flag = word == kEveryoneMoves ? w.everyoneMoves : w.newNeighbours;
        if (f.size() != 1 || flag) return false;
        flag = true;
        return true;
    }
    if (word == kPattern) {
        if (f.size() != 2) return false;
        for (std::size_t p = 1; p < std::size(kPatternWords); ++p) {
            if (f[1] != kPatternWords[p]) continue;
            w.pattern = static_cast<SexPattern>(p);
            return true;
        }
        return false;
    }
    if (word == kGroups) {
        if (f.size() != 3) return false;
        const auto rows = smallNumber(f[1], 1, 10), columns = smallNumber(f[2], 1, 10);
        if (!rows || !columns) return false;
        w.groupRows = *rows;
        w.groupColumns = *columns;
        return true;
    }
    if (word == kLastSource) {
        if (!named(2)) return false;
        w.lastSource = f[1];
        return true;
    }
    if (word == kLastSeat) {
        if (!named(3)) return false;
        const auto seat = seatOfLabel(f[1]);
        if (!seat) return false;
        std::string& slot = w.lastChart[static_cast<std::size_t>(*seat - 1)];
        if (!slot.empty()) return false;
        slot = f[2];
        return true;
    }
    return false;
}

// A field reads back as written only without a comma, a quote, a line break
// or a blank in front; code page 932 must hold it.
bool fieldWrites(std::string_view text) {
    if (text.empty() || text.front() == ' ' || text.front() == '\t') return false;
    if (text.find_first_of(std::string_view(",\"\r\n\0", 5)) != std::string_view::npos)
        return false;
    const auto encoded = utf8ToCp932(text);
    return encoded && cp932ToUtf8(*encoded) == std::string(text);
}

}  // namespace

bool SeatWishes::any() const {
    const bool marked = std::any_of(pupils.begin(), pupils.end(), [](const PupilWish& p) {
        return p.row != RowWish::None || p.sex != Sex::Unmarked || p.leader;
    });
    return marked || !pairs.empty() || everyoneMoves || newNeighbours ||
           pattern != SexPattern::None;
}

bool SeatWishes::hasLastChart() const {
    return std::any_of(lastChart.begin(), lastChart.end(),
                       [](const std::string& name) { return !name.empty(); });
}

const PupilWish* SeatWishes::pupil(std::string_view name) const {
    for (const PupilWish& p : pupils)
        if (p.name == name) return &p;
    return nullptr;
}

PupilWish& SeatWishes::pupilEntry(std::string_view name) {
    for (PupilWish& p : pupils)
        if (p.name == name) return p;
    pupils.push_back({std::string(name)});
    return pupils.back();
}

void SeatWishes::prune() {
    std::erase_if(pupils, [](const PupilWish& p) {
        return p.row == RowWish::None && p.sex == Sex::Unmarked && !p.leader;
    });
}

std::string wishFileOf(const std::string& rosterPath) {
    // A roster that itself ends in the wish extension keeps its own name whole.
    if (upperExtension(rosterPath) == kWishExtension)
        return rosterPath + std::string(kWishExtension);
    std::filesystem::path path = pathOf(rosterPath);
    path.replace_extension(pathOf(std::string(kWishExtension)));
    return utf8Of(path);
}

WishRead parseWishFile(std::string_view bytes) {
    const auto text = decodeTextFile(bytes);
    if (!text) return {std::nullopt, 1};
    const auto lines = splitLines(*text);
    if (lines.empty() || lines[0] != kHeading) return {std::nullopt, 1};
    SeatWishes wishes;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        if (!takeLine(fieldsOf(lines[i]), wishes)) return {std::nullopt, static_cast<int>(i) + 1};
    }
    return {std::move(wishes), 0};
}

WishRead readWishFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(pathOf(path), ec) && !ec) return {SeatWishes{}, 0};
    const auto bytes = readFileBytes(path);
    if (!bytes) return {std::nullopt, 0};
    return parseWishFile(*bytes);
}

std::optional<std::string> encodeWishFile(const SeatWishes& w) {
    std::string text(kHeading);
    text += "\r\n";
    bool writable = true;
    const auto line = [&](std::initializer_list<std::string_view> fields) {
        bool first = true;
        for (const std::string_view field : fields) {
            if (!first) {
                text += ',';
                writable = writable && fieldWrites(field);
            }
            text += field;
            first = false;
        }
        text += "\r\n";
    };
    for (const PupilWish& p : w.pupils) {
        if (p.row != RowWish::None) line({kRowWords[static_cast<std::size_t>(p.row)], p.name});
        if (p.sex != Sex::Unmarked) line({p.sex == Sex::Boy ? kBoy : kGirl, p.name});
        if (p.leader) line({kLeader, p.name});
    }
    for (const PairWish& pair : w.pairs) {
        writable = writable && pair.first != pair.second;
        const std::string distance = std::to_string(pair.distance);
        line({pair.kind == PairKind::Apart ? kApart : kNear, pair.first, pair.second, distance});
    }
    if (w.everyoneMoves) line({kEveryoneMoves});
    if (w.newNeighbours) line({kNewNeighbours});
    if (w.pattern != SexPattern::None)
        line({kPattern, kPatternWords[static_cast<std::size_t>(w.pattern)]});
    if (w.groupRows != 2 || w.groupColumns != 3)
        line({kGroups, std::to_string(w.groupRows), std::to_string(w.groupColumns)});
    if (!w.lastSource.empty()) line({kLastSource, w.lastSource});
    for (int seat = 1; seat <= kSeatCount; ++seat) {
        const std::string& name = w.lastChart[static_cast<std::size_t>(seat - 1)];
        if (!name.empty()) line({kLastSeat, seatLabel(seat), name});
    }
    if (!writable) return std::nullopt;
    return utf8ToCp932(text);
}

bool writeWishFile(const std::string& path, const SeatWishes& wishes) {
    if (!wishes.any()) {
        std::error_code ec;
        std::filesystem::remove(pathOf(path), ec);
        if (ec) return false;
        flushFolder(utf8Of(pathOf(path).parent_path()));
        return true;
    }
    const auto bytes = encodeWishFile(wishes);
    return bytes && replaceFile(path, *bytes);
}

std::optional<Message> loadRosterWishes(AppState& s, const std::string& rosterPath) {
    s.Wishes = {};
    s.WishRosterPath = rosterPath;
    if (rosterPath.empty()) return std::nullopt;
    const std::string path = wishFileOf(rosterPath);
    const WishRead read = readWishFile(path);
    if (read.wishes) {
        s.Wishes = *read.wishes;
        return std::nullopt;
    }
    std::string where = "「" + path + "」";
    if (read.line > 0) where += "の" + std::to_string(read.line) + "行目";
    return Message{"席の希望のファイル" + where +
                       "を読めませんでした。\r\r席の希望なしで続けます。ファイルはそのまま残して"
                       "いますが、「席の希望」で了解を押すと書き直されます。",
                   "席の希望確認", MsgButtons::Ok, MsgIcon::Exclamation};
}

std::string rowWishText(RowWish row) {
    return row == RowWish::None ? "指定なし"
                                : std::string(kRowWords[static_cast<std::size_t>(row)]);
}

std::string patternText(SexPattern pattern) {
    return std::string(kPatternWords[static_cast<std::size_t>(pattern)]);
}

std::string describeRow(const std::string& name, RowWish row) {
    return name + "を" + rowWishText(row) + "に";
}

std::string describePair(const PairWish& pair) {
    const std::string both = pair.first + "と" + pair.second + "を";
    const std::string distance = std::to_string(pair.distance);
    return pair.kind == PairKind::Apart ? both + distance + "席以上離す"
                                        : both + distance + "席以内に";
}

}  // namespace tosbel

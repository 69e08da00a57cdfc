#include "roster/class_list.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <utility>

#include "platform/csv.h"
#include "platform/file_io.h"
#include "platform/text_file.h"

namespace tosbel {

namespace {

constexpr std::string_view kWideBlank = "\xE3\x80\x80";  // U+3000

std::string_view trimBlanks(std::string_view s) {
    for (;;) {
        if (s.starts_with(' ') || s.starts_with('\t')) {
            s.remove_prefix(1);
        } else if (s.starts_with(kWideBlank)) {
            s.remove_prefix(kWideBlank.size());
        } else if (s.ends_with(' ') || s.ends_with('\t')) {
            s.remove_suffix(1);
        } else if (s.ends_with(kWideBlank)) {
            s.remove_suffix(kWideBlank.size());
        } else {
            return s;
        }
    }
}

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// Control characters go first, so a blank before an Alt+Enter line break
// still ends up at the end and is trimmed.
std::string cleanCell(const std::string& raw) {
    std::string kept;
    kept.reserve(raw.size());
    for (const char c : raw) {
        if (!isControl(c)) kept += c;
    }
    return std::string(trimBlanks(kept));
}

// Full-width ASCII (U+FF01 to U+FF5E) as its half-width form, ASCII letters in
// lower case: how a heading typed either way compares.
std::string folded(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c == 0xEF && i + 2 < s.size()) {
            const auto second = static_cast<unsigned char>(s[i + 1]);
            const auto third = static_cast<unsigned char>(s[i + 2]);
            if (second == 0xBC && third >= 0x81 && third <= 0xBF) {
                c = static_cast<unsigned char>(third - 0x60);
                i += 2;
            } else if (second == 0xBD && third >= 0x80 && third <= 0x9E) {
                c = static_cast<unsigned char>(third - 0x20);
                i += 2;
            }
        }
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + ('a' - 'A'));
        out += static_cast<char>(c);
    }
    return out;
}

// The value of a half- or full-width digit at the front of `s`, and its length.
std::optional<std::pair<int, std::size_t>> digitAt(std::string_view s) {
    if (s.empty()) return std::nullopt;
    if (s[0] >= '0' && s[0] <= '9') return std::pair{s[0] - '0', std::size_t{1}};
    if (s.size() >= 3 && s.starts_with("\xEF\xBC")) {
        const auto third = static_cast<unsigned char>(s[2]);
        if (third >= 0x90 && third <= 0x99) return std::pair{third - 0x90, std::size_t{3}};
    }
    return std::nullopt;
}

// A 出席番号 as a sort key; a number too long for one sorts after every other.
// Every cell of a list passes through here, so nothing is copied.
std::optional<std::uint64_t> numberOf(std::string_view cell) {
    cell = trimBlanks(cell);
    if (cell.empty()) return std::nullopt;
    constexpr std::uint64_t kCap = std::numeric_limits<std::uint64_t>::max() / 10 - 10;
    std::uint64_t value = 0;
    while (!cell.empty()) {
        const auto digit = digitAt(cell);
        if (!digit) return std::nullopt;
        value = value >= kCap ? kCap : value * 10 + static_cast<std::uint64_t>(digit->first);
        cell.remove_prefix(digit->second);
    }
    return value;
}

bool isNumber(std::string_view cell) {
    return numberOf(cell).has_value();
}

// Without a heading, 1 and 2 may as well be class numbers: only words and
// letters make a sex column.
bool isSexMark(std::string_view cell) {
    return sexOf(cell) != Sex::Unmarked && !isNumber(cell);
}

bool containsAny(std::string_view s, std::initializer_list<std::string_view> words) {
    return std::any_of(words.begin(), words.end(),
                       [s](std::string_view w) { return s.find(w) != std::string_view::npos; });
}

enum class Heading { None, Name, Sex, Number };

Heading headingOf(std::string_view cell) {
    if (containsAny(cell, {"氏名", "名前", "なまえ", "生徒名", "児童名"}) &&
        !containsAny(cell,
                     {"ふりがな", "フリガナ", "ﾌﾘｶﾞﾅ", "かな", "カナ", "よみ", "ヨミ", "ローマ"}))
        return Heading::Name;
    if (containsAny(cell, {"性別"}) || cell == "男女") return Heading::Sex;
    const std::string f = folded(cell);
    // A telephone number is no order of the class.
    if ((containsAny(cell, {"番号"}) && !containsAny(cell, {"電話"})) || f == "no" || f == "no." ||
        cell == "№")
        return Heading::Number;
    return Heading::None;
}

// The heading row, when there is one, is the first row that holds anything:
// blank lines above it are not pupils either way.
std::size_t firstFilledRow(const ListTable& rows) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (std::any_of(rows[r].begin(), rows[r].end(),
                        [](const std::string& cell) { return !cell.empty(); }))
            return r;
    }
    return rows.size();
}

struct ColumnTraits {
    bool hasText = false;  // a filled cell that is not a number
    bool hasMark = false;
    bool onlyMarks = true;  // every filled cell a sex mark
};

// One pass over the cells: a column loop per row would be quadratic in a list
// with one very wide row and many short ones.
std::vector<ColumnTraits> traitsOf(const ListTable& rows, std::size_t from, std::size_t width) {
    std::vector<ColumnTraits> traits(width);
    for (std::size_t r = from; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::string& cell = rows[r][c];
            if (cell.empty()) continue;
            const bool mark = isSexMark(cell);
            traits[c].hasText = traits[c].hasText || !isNumber(cell);
            traits[c].hasMark = traits[c].hasMark || mark;
            traits[c].onlyMarks = traits[c].onlyMarks && mark;
        }
    }
    return traits;
}

}  // namespace

ListTable splitList(std::string_view text) {
    // The first line that holds anything decides the separator. A comma or a
    // tab inside quotes separates nothing, and a quoted cell may run on over
    // line breaks, so the line is read with quotes in mind.
    std::optional<char> separator;
    std::size_t i = 0;
    while (i < text.size() && !separator) {
        const std::size_t start = i;
        bool quoted = false, fieldStart = true, tab = false, comma = false;
        for (; i < text.size(); ++i) {
            const char c = text[i];
            if (quoted) {
                if (c == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        ++i;
                    } else {
                        quoted = false;
                    }
                }
                continue;
            }
            if (c == '\r' || c == '\n') break;
            if (c == '"' && fieldStart) quoted = true;
            tab = tab || c == '\t';
            comma = comma || c == ',';
            fieldStart = c == '\t' || c == ',';
        }
        if (tab) {
            separator = '\t';
        } else if (comma) {
            separator = ',';
        } else if (!trimBlanks(text.substr(start, i - start)).empty()) {
            break;  // one name a line
        }
        ++i;  // past the line end; CR LF's LF is an empty line here, no harm
    }

    ListTable rows = splitCsv(text, separator);
    for (ListRow& row : rows) {
        for (std::string& cell : row) cell = cleanCell(cell);
    }
    return rows;
}

ListColumns guessColumns(const ListTable& rows) {
    ListColumns columns;
    std::size_t width = 0;
    for (const ListRow& row : rows) width = std::max(width, row.size());
    if (width == 0) return columns;

    const auto attendance = [](const std::string& cell) {
        return cell.find("出席") != std::string::npos;
    };
    const std::size_t first = firstFilledRow(rows);
    int name = -1, sex = -1, number = -1;
    if (first < rows.size()) {
        const ListRow& heading = rows[first];
        for (std::size_t c = 0; c < heading.size(); ++c) {
            const int column = static_cast<int>(c);
            switch (headingOf(heading[c])) {
                case Heading::Name:
                    if (name < 0) name = column;
                    break;
                case Heading::Sex:
                    if (sex < 0) sex = column;
                    break;
                case Heading::Number:
                    // School exports carry 学籍番号 beside 出席番号; the class
                    // order is the latter.
                    if (number < 0 || (attendance(heading[c]) &&
                                       !attendance(heading[static_cast<std::size_t>(number)])))
                        number = column;
                    break;
                case Heading::None:
                    break;
            }
        }
    }
    columns.header = name >= 0 || sex >= 0 || number >= 0;
    const std::vector<ColumnTraits> traits = traitsOf(rows, columns.header ? first + 1 : 0, width);
    if (columns.header) {
        columns.sex = sex;
        columns.number = number;
        if (name < 0) {
            for (std::size_t c = 0; c < width && name < 0; ++c) {
                const int column = static_cast<int>(c);
                if (traits[c].hasText && column != sex && column != number) name = column;
            }
        }
        columns.name = std::max(name, 0);
        return columns;
    }
    for (std::size_t c = 0; c < width && name < 0; ++c) {
        if (traits[c].hasText) name = static_cast<int>(c);
    }
    columns.name = std::max(name, 0);
    for (std::size_t c = 0; c < width && columns.sex < 0; ++c) {
        if (traits[c].hasMark && traits[c].onlyMarks && static_cast<int>(c) != columns.name)
            columns.sex = static_cast<int>(c);
    }
    return columns;
}

Sex sexOf(std::string_view cell) {
    cell = trimBlanks(cell);
    const auto among = [cell](std::initializer_list<std::string_view> marks) {
        return std::find(marks.begin(), marks.end(), cell) != marks.end();
    };
    if (among({"男", "男子", "M", "m", "1", "Ｍ", "ｍ", "１"})) return Sex::Boy;
    if (among({"女", "女子", "F", "f", "2", "Ｆ", "ｆ", "２"})) return Sex::Girl;
    return Sex::Unmarked;
}

std::vector<ListedName> takeNames(const ListTable& rows, const ListColumns& columns,
                                  bool byNumber) {
    const auto cellAt = [](const ListRow& row, int column) -> std::string_view {
        if (column < 0 || static_cast<std::size_t>(column) >= row.size()) return {};
        return row[static_cast<std::size_t>(column)];
    };
    struct Entry {
        ListedName listed;
        std::optional<std::uint64_t> number;
    };
    std::vector<Entry> entries;
    const std::size_t first = columns.header ? firstFilledRow(rows) + 1 : 0;
    for (std::size_t r = first; r < rows.size(); ++r) {
        const ListRow& row = rows[r];
        entries.push_back(
            {{std::string(cellAt(row, columns.name)), sexOf(cellAt(row, columns.sex))},
             numberOf(cellAt(row, columns.number))});
    }
    if (byNumber && columns.number >= 0) {
        std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            if (!a.number || !b.number) return a.number.has_value() && !b.number.has_value();
            return *a.number < *b.number;
        });
    }

    const auto named = [](const Entry& e) { return !e.listed.name.empty(); };
    const auto begin = std::find_if(entries.begin(), entries.end(), named);
    const auto end = std::find_if(entries.rbegin(), entries.rend(), named).base();
    std::vector<ListedName> names;
    for (auto it = begin; it < end; ++it) names.push_back(std::move(it->listed));
    return names;
}

std::optional<ListTable> parseListFile(std::string_view bytes) {
    const auto text = decodeListText(bytes);
    if (!text) return std::nullopt;
    return splitList(*text);
}

std::optional<ListTable> readListFile(const std::string& path) {
    const auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    return parseListFile(*bytes);
}

std::string rosterTable(const std::vector<ListedName>& names, bool withSex) {
    std::string table(kUtf8Mark);
    table += withSex ? "番号,氏名,性別\r\n" : "番号,氏名\r\n";
    for (std::size_t k = 0; k < names.size(); ++k) {
        table += std::to_string(k + 1) + "," + csvField(names[k].name);
        if (withSex) {
            table += ",";
            if (names[k].sex == Sex::Boy) table += "男";
            if (names[k].sex == Sex::Girl) table += "女";
        }
        table += "\r\n";
    }
    return table;
}

}  // namespace tosbel

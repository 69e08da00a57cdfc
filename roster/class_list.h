#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/seat_wishes.h"

namespace tosbel {

// Class lists from where teachers keep them: a spreadsheet column or a Word
// table on the clipboard, a school system's CSV export, a text file of names.
// None of these is a roster; the names they hold go into the roster editor,
// where the teacher checks them and saves the roster as usual.

// A list as rows of cells, each cell trimmed of blanks (half- and full-width)
// and of control characters (a line break inside a quoted cell is dropped).
using ListRow = std::vector<std::string>;
using ListTable = std::vector<ListRow>;

// Splits list text (UTF-8) into rows: tab-separated when its first line that
// holds anything has a tab, comma-separated with CSV quoting when that line
// has a comma outside quotes, otherwise one cell a line. Lines end at CR LF,
// LF or CR; an empty line is a row with no cells.
ListTable splitList(std::string_view text);

// Which column is which. Columns count from 0; -1 is none.
struct ListColumns {
    bool header = false;  // the first row names the columns
    int name = 0;
    int sex = -1;
    int number = -1;  // 出席番号: the order of the class
};

// The columns as a teacher would pick them: with a heading row (a cell that
// says 氏名, 名前, なまえ, 性別, 出席番号, 番号, No …) the name column is the
// one headed 氏名/名前/なまえ (not ふりがな), 性別 or 男女 heads the sex
// column and 番号 or No the number column; without one, the name column is
// the first whose cells are not all numbers, and a column holding nothing but
// 男/女 (or M/F) is the sex column.
ListColumns guessColumns(const ListTable& rows);

// 男, 女, 男子, 女子, M, F (either case) and 1 (男), 2 (女), half- or
// full-width; anything else is unmarked.
Sex sexOf(std::string_view cell);

struct ListedName {
    std::string name;
    Sex sex = Sex::Unmarked;
    bool operator==(const ListedName&) const = default;
};

// The names of the chosen column in the list's order, or by the number column
// when `byNumber` and there is one (rows without a number last, in list
// order). The heading row is left out; rows without a name at the start and
// end of the list are dropped and those inside it kept as empty names, so a
// gap in the list stays a gap in the boxes.
std::vector<ListedName> takeNames(const ListTable& rows, const ListColumns& columns, bool byNumber);

// What a list file holds: UTF-16 or UTF-8 when their byte-order mark says
// so, otherwise read as the program reads its own files. Only an ordinary
// file of bounded size is read; none when it cannot be read or is not text.
std::optional<ListTable> readListFile(const std::string& path);
std::optional<ListTable> parseListFile(std::string_view bytes);

// The roster as a table for spreadsheets: UTF-8 with a byte-order mark, CR LF
// lines, a heading row "番号,氏名" (and ",性別" when `withSex`), then one row
// per name numbered from 1, its sex 男, 女 or empty.
std::string rosterTable(const std::vector<ListedName>& names, bool withSex);

}  // namespace tosbel

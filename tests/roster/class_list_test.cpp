#include "roster/class_list.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"

namespace tosbel {
namespace {

using Names = std::vector<ListedName>;
constexpr Sex B = Sex::Boy, G = Sex::Girl, U = Sex::Unmarked;

std::string utf16(std::u16string_view text, bool bigEndian = false) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t u : text) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// Notepad's and older Excel's own encoding.
std::string sjis(std::string_view text) {
    return utf8ToCp932(text).value_or("");
}

// The list as the teacher's file holds it, its columns guessed and its names
// taken in the class's order.
Names namesIn(std::string_view bytes, ListColumns expected) {
    const auto table = parseListFile(bytes);
    if (!table) return {{"not read"}};
    const ListColumns columns = guessColumns(*table);
    EXPECT_EQ(columns.header, expected.header);
    EXPECT_EQ(columns.name, expected.name);
    EXPECT_EQ(columns.sex, expected.sex);
    EXPECT_EQ(columns.number, expected.number);
    return takeNames(*table, columns, true);
}

TEST(ClassList, ExcelCsvUtf8WithQuotedCommasLineBreaksAndQuotes) {
    const std::string csv =
        "\xEF\xBB\xBF出席番号,氏名,ふりがな,性別\r\n"
        "1,山田 太郎,やまだ たろう,男\r\n"
        "2,\"佐藤\n花子\",さとう はなこ,女\r\n"
        "3,\"鈴木, 一郎 \",すずき,\r\n"
        "4,\"田中 \"\"タナ\"\"\",たなか,F\r\n";
    EXPECT_EQ(namesIn(csv, {true, 1, 3, 0}),
              (Names{{"山田 太郎", B}, {"佐藤花子", G}, {"鈴木, 一郎", U}, {"田中 \"タナ\"", G}}));
}

TEST(ClassList, ShiftJisCsvSortedByAttendanceNumber) {
    const std::string csv = sjis(
        "学籍番号,出席番号,児童名,性別\r\n"
        "901,３,鈴木,男\r\n"
        "902,1,山田,男\r\n"
        "903,,転入生,女\r\n"
        "904,2,佐藤,女\r\n");
    EXPECT_EQ(namesIn(csv, {true, 2, 3, 1}),
              (Names{{"山田", B}, {"佐藤", G}, {"鈴木", B}, {"転入生", G}}));
    const auto table = parseListFile(csv);
    ASSERT_TRUE(table);
    EXPECT_EQ(takeNames(*table, guessColumns(*table), false).front().name, "鈴木");
}

TEST(ClassList, Utf16TextExportWithTabsInEitherByteOrder) {
    const std::u16string text =
        u"No.\t氏名\tフリガナ\r\n1\t𠮷田\tヨシダ\r\n2\t\"青木\t葵\"\tアオキ\r\n";
    for (const bool bigEndian : {false, true}) {
        EXPECT_EQ(namesIn(utf16(text, bigEndian), {true, 1, -1, 0}), (Names{{"𠮷田"}, {"青木葵"}}));
    }
}

TEST(ClassList, ListsWithoutHeadingsFindTheirColumns) {
    // A spreadsheet's columns pasted: numbers, names, then a sex column.
    EXPECT_EQ(namesIn(sjis("１\t山田\tM\n2\t　佐藤　\tf\n"), {false, 1, 2, -1}),
              (Names{{"山田", B}, {"佐藤", G}}));
    // 1 and 2 are just as likely class numbers: no sex column without a heading.
    EXPECT_EQ(namesIn(sjis("山田\t1\n佐藤\t2\n"), {false, 0, -1, -1}), (Names{{"山田"}, {"佐藤"}}));
    // A heading row without a name heading: the first column of words.
    EXPECT_EQ(namesIn(sjis("番号,なまえ（ローマ字）,性別\n1,Yamada,男\n"), {true, 1, 2, 0}),
              (Names{{"Yamada", B}}));
    // One name a line; the gap inside stays, the blank lines around it go.
    EXPECT_EQ(namesIn(sjis("\r\n  \r\n山田\r\n\r\n佐藤 \r\n\r\n"), {false, 0, -1, -1}),
              (Names{{"山田"}, {""}, {"佐藤"}}));
    // UTF-8 without its mark, which code page 932 would also read (as other kanji).
    EXPECT_EQ(namesIn("山田\r\n", {false, 0, -1, -1}), (Names{{"山田"}}));
    EXPECT_EQ(namesIn("", {}), Names{});
}

TEST(ClassList, SplittingKeepsRowsAndEmptyCells) {
    EXPECT_EQ(splitList("a,b\r\n\r\n,\r\n\"x\r\ny\",\" z \"\r\"q\""),
              (ListTable{{"a", "b"}, {}, {"", ""}, {"xy", "z"}, {"q"}}));
    // The first filled line decides: its comma is inside quotes, so one cell a line.
    EXPECT_EQ(splitList("\n\"山田, 太郎\"\n佐藤,花子"),
              (ListTable{{}, {"山田, 太郎"}, {"佐藤,花子"}}));
}

TEST(ClassList, ALongListIsTakenWhole) {
    std::string list;
    for (int k = 1; k <= 120; ++k) list += "生徒" + std::to_string(k) + "\n";
    const Names names = takeNames(*parseListFile(list), {}, true);
    ASSERT_EQ(names.size(), 120u);
    EXPECT_EQ(names.front().name, "生徒1");
    EXPECT_EQ(names.back().name, "生徒120");
}

TEST(ClassList, SexMarks) {
    for (const char* boy : {"男", "男子", "M", "m", "1", "Ｍ", "ｍ", "１", " 男　"})
        EXPECT_EQ(sexOf(boy), B) << boy;
    for (const char* girl : {"女", "女子", "F", "f", "2", "Ｆ", "ｆ", "２"})
        EXPECT_EQ(sexOf(girl), G) << girl;
    for (const char* other : {"", "男性", "MF", "3", "12", "おとこ"})
        EXPECT_EQ(sexOf(other), U) << other;
}

TEST(ClassList, RosterTableBytesAndReadingThemBack) {
    const Names names{{"山田", B}, {"", U}, {"佐藤, \"花\"", G}};
    EXPECT_EQ(rosterTable(names, false),
              "\xEF\xBB\xBF番号,氏名\r\n1,山田\r\n2,\r\n3,\"佐藤, \"\"花\"\"\"\r\n");
    const std::string withSex = rosterTable(names, true);
    EXPECT_EQ(withSex,
              "\xEF\xBB\xBF番号,氏名,性別\r\n1,山田,男\r\n2,,\r\n3,\"佐藤, \"\"花\"\"\",女\r\n");
    EXPECT_EQ(namesIn(withSex, {true, 1, 2, 0}), names);
}

TEST(ClassList, BrokenFilesAreRefused) {
    for (const std::string& bytes : {
             std::string("\xFF\xFE\x71\x5C\x0D", 5),            // odd byte count
             std::string("\xFF\xFE\x71\x5C\x00\x00", 6),        // U+0000
             std::string("\xFF\xFE\x42\xD8\x71\x5C", 6),        // high surrogate alone
             std::string("\xFE\xFF\xDC\x00", 4),                // low surrogate alone
             std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16),  // binary
         })
        EXPECT_FALSE(parseListFile(bytes)) << bytes.size();
}

}  // namespace
}  // namespace tosbel

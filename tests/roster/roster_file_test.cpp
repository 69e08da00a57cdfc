#include "roster/roster_file.h"

#include <gtest/gtest.h>

#include "tests/temp_dir.h"

namespace tosbel {
namespace {

using V = std::vector<std::string>;

const std::string kGolden = std::string(TEST_DATA_DIR) + "/three_members.MEM";
const V kThree{"山田太郎", "佐藤花子", "鈴木一郎"};

std::string cp932Lines(int count) {
    std::string bytes;
    for (int i = 1; i <= count; ++i) bytes += "\x90\xB6\x93\x6B" + std::to_string(i) + "\r\n";
    return bytes;  // 生徒1, 生徒2, …
}

TEST(RosterFile, WorkedExampleIsThirtyBytesBothWays) {
    std::string bytes;
    ASSERT_EQ(encodeRoster(kThree, bytes).error, FileError::None);
    EXPECT_EQ(bytes.size(), 30u);
    EXPECT_EQ(bytes, slurp(kGolden));

    TempDir dir;
    const std::string path = dir.file("3年1組.MEM");
    ASSERT_EQ(writeRoster(path, kThree).error, FileError::None);
    EXPECT_EQ(slurp(path), slurp(kGolden));

    const RosterRead read = readRoster(kGolden);
    EXPECT_EQ(read.error, FileError::None);
    EXPECT_EQ(read.names, kThree);
}

TEST(RosterFile, HundredNamesOpenAndOneMoreIsRefused) {
    const RosterRead hundred = parseRoster(cp932Lines(100));
    ASSERT_EQ(hundred.error, FileError::None);
    ASSERT_EQ(hundred.names.size(), 100u);
    EXPECT_EQ(hundred.names[99], "生徒100");

    const RosterRead more = parseRoster(cp932Lines(101));
    EXPECT_EQ(more.error, FileError::TooManyNames);
    EXPECT_TRUE(more.names.empty());
    // Counted as values, not lines.
    EXPECT_EQ(parseRoster(cp932Lines(99) + "a,b\r\n").error, FileError::TooManyNames);
}

TEST(RosterFile, ReadingFollowsTheValueRules) {
    EXPECT_EQ(parseRoster("").names, V{});
    EXPECT_EQ(parseRoster("").error, FileError::None);
    const std::string noFinalLineEnd = slurp(kGolden).substr(0, 28);
    EXPECT_EQ(parseRoster(noFinalLineEnd).names, kThree);
    EXPECT_EQ(parseRoster("\"\x8E\x52\x93\x63\",\"\x8D\xB2\x93\xA1\"\r\n").names,
              (V{"山田", "佐藤"}));
    // What the reader does to names the writer does not guard: a comma splits,
    // leading blanks go, trailing blanks stay.
    std::string bytes;
    encodeRoster({"山田,太郎", "  佐藤", "鈴木 "}, bytes);
    EXPECT_EQ(parseRoster(bytes).names, (V{"山田", "太郎", "佐藤", "鈴木 "}));
}

TEST(RosterFile, ForeignOrBrokenBytesAreAFailedRead) {
    EXPECT_EQ(parseRoster("\x8E\x52\x93\r\n").error, FileError::NotText);  // cut mid-character
    EXPECT_EQ(parseRoster("abc\x80\r\n").error, FileError::NotText);
    EXPECT_EQ(parseRoster(std::string("ab\0c\r\n", 6)).error, FileError::NotText);
    // The same names saved as UTF-8 by another editor, with and without a BOM.
    EXPECT_EQ(parseRoster("山田太郎\r\n佐藤花子\r\n").error, FileError::NotText);
    EXPECT_EQ(parseRoster("\xEF\xBB\xBFYamada\r\n").error, FileError::NotText);
    // Plain ASCII is the same in both and reads fine.
    EXPECT_EQ(parseRoster("Yamada\r\nSato\r\n").names, (V{"Yamada", "Sato"}));

    TempDir dir;
    EXPECT_EQ(readRoster(dir.file("ない.MEM")).error, FileError::CannotOpen);
    EXPECT_EQ(readRoster(dir.path().string()).error, FileError::CannotOpen);
}

TEST(RosterFile, AFailedWriteLeavesTheOldRosterWhole) {
    TempDir dir;
    const std::string path = dir.file("1組.MEM");
    ASSERT_EQ(writeRoster(path, kThree).error, FileError::None);
    const std::string before = slurp(path);

    const RosterWrite emoji = writeRoster(path, {"山田太郎", "佐藤😀"});
    EXPECT_EQ(emoji.error, FileError::Unrepresentable);
    EXPECT_EQ(emoji.member, 2);
    const RosterWrite lineBreak = writeRoster(path, {"a", "b", "c\r\nd"});
    EXPECT_EQ(lineBreak.error, FileError::Unrepresentable);
    EXPECT_EQ(lineBreak.member, 3);
    EXPECT_EQ(writeRoster(path, {std::string("a\0b", 3)}).error, FileError::Unrepresentable);
    EXPECT_EQ(slurp(path), before);

    EXPECT_EQ(writeRoster(dir.file("消えた/1組.MEM"), kThree).error, FileError::CannotWrite);
}

TEST(RosterFile, NamesThatSurviveARoundTripComeBackExactly) {
    const V names{"ﾀﾛｳ", "A", "山田　太郎", "鈴木 ", "12345678", "a\"b", "～"};
    TempDir dir;
    const std::string path = dir.file("組.MEM");
    ASSERT_EQ(writeRoster(path, names).error, FileError::None);
    EXPECT_EQ(readRoster(path).names, names);
}

}  // namespace
}  // namespace tosbel

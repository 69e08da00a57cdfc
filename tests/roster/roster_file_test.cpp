#include "roster/roster_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/cp932.h"
#include "tests/file_size_limit.h"
#include "tests/posix_only.h"
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
    EXPECT_EQ(parseRoster("abc\x80\x80\r\n").error, FileError::NotText);
    EXPECT_EQ(parseRoster(std::string("ab\0c\r\n", 6)).error, FileError::NotText);
    // UTF-16 as Notepad's "Unicode" writes it.
    EXPECT_EQ(parseRoster(std::string("\xFF\xFE\x71\x5C\r\0\n\0", 8)).error, FileError::NotText);
    // The byte-order mark promises UTF-8 that does not follow.
    EXPECT_EQ(parseRoster("\xEF\xBB\xBF\x8E\x52\r\n").error, FileError::NotText);

    TempDir dir;
    EXPECT_EQ(readRoster(dir.file("ない.MEM")).error, FileError::CannotOpen);
    EXPECT_EQ(readRoster(dir.path().string()).error, FileError::CannotOpen);
}

// "-" marks a seat kept empty: a member of that name would get no seat.
TEST(RosterFile, TheEmptySeatMarkAsANameRefusesTheRosterNamingItsLine) {
    const RosterRead read = parseRoster("山田\r\n-\r\n- \r\n");
    EXPECT_EQ(read.error, FileError::ReservedName);
    EXPECT_EQ(read.member, 2);
    EXPECT_TRUE(read.names.empty());
    EXPECT_EQ(parseRoster("-\r\n").member, 1);
    EXPECT_EQ(parseRoster("--\r\n山-田\r\n").error, FileError::None);
    std::string bytes;
    EXPECT_EQ(encodeRoster({"山田", "-"}, bytes).error, FileError::ReservedName);
}

TEST(RosterFile, CodePage932WinsAndUtf8ClassListsAreReadToo) {
    // 莉子 in code page 932 is also well-formed UTF-8 (从q): it is a roster.
    EXPECT_EQ(parseRoster("\xE4\xBB\x8E\x71\r\n").names, V{"莉子"});
    EXPECT_EQ(parseRoster("Aoki\r\n\xE4\xBB\x8E\x71\r\n").names, (V{"Aoki", "莉子"}));
    // Plain ASCII is the same in both.
    EXPECT_EQ(parseRoster("Yamada\r\nSato\r\n").names, (V{"Yamada", "Sato"}));

    // A class list saved as UTF-8 by another program, with or without the mark.
    const V klass{"山田太郎", "佐藤花子", "鈴木一郎", "高橋美咲", "田中翔太", "伊藤結愛"};
    std::string utf8;
    for (const std::string& name : klass) utf8 += name + "\r\n";
    EXPECT_EQ(parseRoster(utf8).names, klass);
    EXPECT_EQ(parseRoster("\xEF\xBB\xBF" + utf8).names, klass);
    // With the mark even bytes that could be code page 932 are UTF-8.
    EXPECT_EQ(parseRoster("\xEF\xBB\xBF山田\r\n").names, V{"山田"});

    // A name code page 932 cannot hold is read, and refused when written back.
    const RosterRead foreign = parseRoster("\xEF\xBB\xBF青木\r\n𠮷田\r\n");
    ASSERT_EQ(foreign.names, (V{"青木", "𠮷田"}));
    std::string bytes;
    const RosterWrite back = encodeRoster(foreign.names, bytes);
    EXPECT_EQ(back.error, FileError::Unrepresentable);
    EXPECT_EQ(back.member, 2);
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

TEST(RosterFile, ADiskFullWhileSavingKeepsTheSavedRosterWhole) {
    TOSBEL_POSIX_ONLY("a file-size limit for one process");
    TempDir dir;
    const std::string path = dir.file("3年1組.MEM");
    ASSERT_EQ(writeRoster(path, kThree).error, FileError::None);
    const std::string before = slurp(path);

    V hundred;
    for (int i = 1; i <= 100; ++i) hundred.push_back("生徒" + std::to_string(i));
    std::string bytes;
    ASSERT_EQ(encodeRoster(hundred, bytes).error, FileError::None);
    const auto save = [&] { return writeRoster(path, hundred).error == FileError::None; };

    // The disk fills with half the new roster written.
    EXPECT_EQ(writeWithFileSizeLimit(bytes.size() / 2, save), LimitedWrite::Refused);
    EXPECT_EQ(slurp(path), before);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1) << "no temporary file may be left behind";

    EXPECT_EQ(writeWithFileSizeLimit(bytes.size(), save), LimitedWrite::Wrote);
    EXPECT_EQ(readRoster(path).names, hundred);
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

namespace tosbel {
namespace {

struct BoxChar {
    std::string text;   // UTF-8
    std::size_t bytes;  // in code page 932
};

// Every character a name box takes: each double-byte code of code page 932
// that has a character, half-width katakana and printable ASCII.
std::vector<BoxChar> boxCharacters() {
    std::vector<BoxChar> chars;
    const auto add = [&](const std::string& bytes) {
        if (auto text = cp932ToUtf8(bytes)) chars.push_back({std::move(*text), bytes.size()});
    };
    for (int c = 0x20; c <= 0x7E; ++c) add(std::string(1, static_cast<char>(c)));
    for (int c = 0xA1; c <= 0xDF; ++c) add(std::string(1, static_cast<char>(c)));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            add({static_cast<char>(lead), static_cast<char>(trail)});
        }
    }
    return chars;
}

// A name as the editor lets it be saved: up to 8 bytes, no comma, not
// starting with a blank or a double quote.
std::string randomName(std::mt19937& rng, const std::vector<BoxChar>& chars) {
    std::uniform_int_distribution<std::size_t> pick(0, chars.size() - 1);
    std::string name;
    std::size_t bytes = 0;
    const std::size_t length = std::uniform_int_distribution<std::size_t>(1, 8)(rng);
    while (bytes < length) {
        const BoxChar& c = chars[pick(rng)];
        if (bytes + c.bytes > 8 || c.text == ",") continue;
        if (name.empty() && (c.text == " " || c.text == "\"")) continue;
        name += c.text;
        bytes += c.bytes;
    }
    // The empty-seat mark alone is no name the editor saves.
    return name == "-" ? randomName(rng, chars) : name;
}

TEST(RosterFile, EveryRosterTheEditorCanSaveOpensAgainUnchanged) {
    const std::vector<BoxChar> chars = boxCharacters();
    ASSERT_GT(chars.size(), 7000u);  // both kanji levels are there
    std::mt19937 rng(20261208);
    std::uniform_real_distribution<double> size(0.0, std::log(101.0));
    TempDir dir;
    const std::string path = dir.file("組.MEM");
    for (int round = 0; round < 100000; ++round) {
        // 1 to 100 names, small classes as often as large ones: the fewer the
        // names, the likelier their bytes happen to read as something else.
        V names(std::min<std::size_t>(100, static_cast<std::size_t>(std::exp(size(rng)))));
        for (std::string& name : names) name = randomName(rng, chars);
        std::string bytes;
        ASSERT_EQ(encodeRoster(names, bytes).error, FileError::None) << round;
        const RosterRead read = parseRoster(bytes);
        ASSERT_EQ(read.error, FileError::None) << round << ": " << names.front();
        ASSERT_EQ(read.names, names) << round;
        // Now and then through a real file too.
        if (round % 1000 == 0) {
            ASSERT_EQ(writeRoster(path, names).error, FileError::None);
            ASSERT_EQ(readRoster(path).names, names) << round;
        }
    }
}

}  // namespace
}  // namespace tosbel

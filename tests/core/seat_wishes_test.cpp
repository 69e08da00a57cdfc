#include "core/seat_wishes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/app_state.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

SeatWishes everyKind() {
    SeatWishes w;
    w.pupilEntry("山田太郎").row = RowWish::Front;
    w.pupilEntry("山田太郎").sex = Sex::Boy;
    w.pupilEntry("佐藤花子").sex = Sex::Girl;
    w.pupilEntry("佐藤花子").leader = true;
    w.pupilEntry("鈴木").row = RowWish::BackTwo;
    w.pairs = {{"山田太郎", "鈴木", PairKind::Apart, 3}, {"佐藤花子", "ｱｲ", PairKind::Near, 1}};
    w.everyoneMoves = true;
    w.newNeighbours = true;
    w.pattern = SexPattern::Checkerboard;
    w.groupRows = 1;
    w.groupColumns = 4;
    w.lastSource = "3年2組.RLT";
    w.lastChart[0] = "鈴木";
    w.lastChart[99] = "山田太郎";
    return w;
}

TEST(WishFile, EveryKindOfWishIsOneLineATeacherCanReadAndComesBackAsWritten) {
    const auto bytes = encodeWishFile(everyKind());
    ASSERT_TRUE(bytes);
    EXPECT_EQ(cp932ToUtf8(*bytes),
              "席の希望\r\n前列,山田太郎\r\n男,山田太郎\r\n女,佐藤花子\r\n班長,佐藤花子\r\n"
              "後2列,鈴木\r\n離す,山田太郎,鈴木,3\r\n近く,佐藤花子,ｱｲ,1\r\n全員が前回と違う席\r\n"
              "前回と違う隣どうし\r\n男女の並び,市松模様\r\n班の形,1,4\r\n前回の結果,3年2組.RLT\r\n"
              "前回の席,A 1,鈴木\r\n前回の席,J 10,山田太郎\r\n");
    const WishRead read = parseWishFile(*bytes);
    ASSERT_TRUE(read.wishes);
    EXPECT_EQ(*read.wishes, everyKind());
}

TEST(WishFile, ALineItCannotReadIsNamedNotSkipped) {
    const auto lineOf = [](const std::string& text) {
        const WishRead read = parseWishFile(*utf8ToCp932(text));
        EXPECT_FALSE(read.wishes) << text;
        return read.line;
    };
    EXPECT_EQ(lineOf("山田太郎\r\n佐藤花子\r\n"), 1);  // a roster under the wish file's name
    EXPECT_EQ(lineOf("席の希望\r\n前列,山田\r\n前から,佐藤\r\n"), 3);
    EXPECT_EQ(lineOf("席の希望\r\n前列,山田\r\n後列,山田\r\n"), 3);  // two rows for one pupil
    EXPECT_EQ(lineOf("席の希望\r\n離す,山田,佐藤,1\r\n"), 2);        // apart by 1 is no wish
    EXPECT_EQ(lineOf("席の希望\r\n近く,山田,山田,1\r\n"), 2);
    EXPECT_EQ(lineOf("席の希望\r\n前列,\r\n"), 2);
    EXPECT_EQ(lineOf("席の希望\r\n前回の席,K 1,山田\r\n"), 2);
    EXPECT_EQ(lineOf("席の希望\r\n班の形,0,3\r\n"), 2);
    // Blank lines, as Notepad may leave at the end, are no wishes.
    EXPECT_TRUE(parseWishFile("\x90\xC8\x82\xCC\x8A\xF3\x96\x5D\r\n\r\n\r\n").wishes);

    SeatWishes comma;
    comma.pupilEntry("山田,太郎").row = RowWish::Front;
    EXPECT_FALSE(encodeWishFile(comma));
}

TEST(WishFile, TheFileSitsBesideItsRosterAndGoesWhenNoWishIsLeft) {
    EXPECT_EQ(wishFileOf("/k/3年2組.MEM"), "/k/3年2組.KIB");
    EXPECT_EQ(wishFileOf("/k/old.dat"), "/k/old.KIB");
    EXPECT_EQ(wishFileOf("/k/noext"), "/k/noext.KIB");
    EXPECT_EQ(wishFileOf("/k/a.kib"), "/k/a.kib.KIB");

    TempDir dir;
    const std::string roster = dir.file("3年2組.MEM");
    const std::string path = wishFileOf(roster);
    ASSERT_TRUE(writeWishFile(path, everyKind()));
    AppState s;
    EXPECT_FALSE(loadRosterWishes(s, roster));
    EXPECT_EQ(s.Wishes, everyKind());
    EXPECT_EQ(s.WishRosterPath, roster);

    ASSERT_TRUE(writeWishFile(path, SeatWishes{}));
    EXPECT_FALSE(std::filesystem::exists(pathOf(path)));
    EXPECT_FALSE(loadRosterWishes(s, roster));
    EXPECT_EQ(s.Wishes, SeatWishes{});
}

TEST(WishFile, ABrokenFileGivesANoticeAndStaysAsItWas) {
    TempDir dir;
    const std::string roster = dir.file("a.MEM");
    const std::string broken = *utf8ToCp932("席の希望\r\n前列,山田\r\nまえ,佐藤\r\n");
    ASSERT_TRUE(replaceFile(wishFileOf(roster), broken));
    AppState s;
    s.Wishes.everyoneMoves = true;
    const auto notice = loadRosterWishes(s, roster);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->title, "席の希望確認");
    EXPECT_NE(notice->text.find("「" + wishFileOf(roster) + "」の3行目を読めませんでした。"),
              std::string::npos);
    EXPECT_EQ(s.Wishes, SeatWishes{});
    EXPECT_EQ(readFileBytes(wishFileOf(roster)), broken);
}

}  // namespace
}  // namespace tosbel

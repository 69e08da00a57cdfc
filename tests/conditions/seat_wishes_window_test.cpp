#include "conditions/seat_wishes_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/app_state.h"
#include "core/seat_wishes.h"
#include "platform/box_text.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "roster/roster_file.h"
#include "tests/headless_test.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

const Message kUnsaved{"席の希望を設定しないで終了しますか？", "終了確認", MsgButtons::OkCancel,
                       MsgIcon::Question};
const Message kSamePupil{"同じ人どうしを組にすることはできません。別の二人を入力して下さい。",
                         "席の希望確認", MsgButtons::Ok, MsgIcon::Exclamation};
const Message kBadShape{
    "班の形は、縦と横の席の数を 1 から 10 までの数字で入力して下さい。"
    "席の希望はまだ保存していません。",
    "席の希望確認", MsgButtons::Ok, MsgIcon::Exclamation};

// The teacher selects what the box holds and types over it.
void retype(Driver& d, const std::string& name, const std::string& text) {
    Control& box = d.control(name);
    box.selStart = 0;
    box.selLength = static_cast<int>(utf8Count(box.text));
    d.type(name, text);
}

Message unknownName(const std::string& name) {
    return {"「" + name + "」は名簿にない名前です。名簿のとおりに入力して下さい。", "席の希望確認",
            MsgButtons::Ok, MsgIcon::Exclamation};
}

// The class of 1組: 生徒1 … 生徒6 on the roster, 生徒6 absent today.
class SeatWishesTest : public HeadlessTest {
protected:
    SeatWishesTest() {
        writeRoster(roster, {"生徒1", "生徒2", "生徒3", "生徒4", "生徒5", "生徒6"});
        for (int i = 1; i <= 5; ++i)
            state.Members[static_cast<std::size_t>(i)] = "生徒" + std::to_string(i);
        state.MemberCount = 5;
        state.RegisteredCount = 6;
        state.WishRosterPath = roster;
    }

    // Opens KIBOU as the conditions window does, acting on it with `act`.
    void open(const std::function<void(Driver&, SeatWishesWindow&)>& act) {
        platform.modalDriver = [this, act](Form& f) {
            ASSERT_EQ(f.name, "KIBOU");
            Driver kibou(platform, f);
            act(kibou, dynamic_cast<SeatWishesWindow&>(f));
        };
        showSeatWishes(state, platform);
    }
    SeatWishes saved() const { return readWishFile(wishFileOf(roster)).wishes.value(); }

    TempDir dir;
    std::string roster = dir.file("1組.MEM");
    AppState state;
};

TEST_F(SeatWishesTest, ARowWishAndAPairSetThenOkAreWrittenAndKept) {
    open([](Driver& d, SeatWishesWindow& w) {
        d.click("Option1_1");
        d.tick("Option2_1");
        EXPECT_EQ(w.Option1[1].caption, "生徒2 前列");
        d.click("Command2_0");  // the selected pupil into the first box
        d.type("Text1_1", "生徒6");
        d.tick("Option4_0");
        d.click("Command2_2");
        EXPECT_EQ(w.Option5[0].caption, "生徒2と生徒6を2席以上離す");
        EXPECT_EQ(w.Text1[0].text, "");
        d.click("Command1_0");
        EXPECT_FALSE(w.isShown());
    });
    SeatWishes expected;
    expected.pupils = {{"生徒2", RowWish::Front}};
    expected.pairs = {{"生徒2", "生徒6", PairKind::Apart, 2}};
    EXPECT_EQ(state.Wishes, expected);
    EXPECT_EQ(saved(), expected);
}

TEST_F(SeatWishesTest, CancelAsksOnlyAfterAChangeAndItsCancelKeepsTheWindow) {
    open([](Driver& d, SeatWishesWindow& w) {
        d.click("Command1_1");
        EXPECT_FALSE(w.isShown());
    });
    open([this](Driver& d, SeatWishesWindow& w) {
        d.tick("Check1_1");
        platform.answerMessage(kUnsaved, MsgAnswer::Cancel);
        d.click("Command1_1");
        EXPECT_TRUE(w.isShown());
        EXPECT_EQ(w.focused(), &w.Command1[0]);
        platform.answerMessage(kUnsaved, MsgAnswer::Ok);
        d.key(kKeyEscape);
        EXPECT_FALSE(w.isShown());
    });
    EXPECT_FALSE(state.Wishes.everyoneMoves);
    EXPECT_FALSE(std::filesystem::exists(dir.at("1組.KIB")));
}

TEST_F(SeatWishesTest, APairOfOnePupilOrOfANameOffTheRosterOrTwiceIsRefused) {
    state.Wishes.pairs = {{"生徒3", "生徒1", PairKind::Near, 1}};
    open([this](Driver& d, SeatWishesWindow& w) {
        const auto add = [&d](const char* first, const char* second) {
            retype(d, "Text1_0", first);
            retype(d, "Text1_1", second);
            d.click("Command2_2");
        };
        platform.answerMessage(kSamePupil);
        add("生徒1", "生徒1");
        platform.answerMessage(unknownName("転校生"));
        add("生徒1", "転校生");
        platform.answerMessage(
            {"「生徒1」と「生徒3」の希望はすでにあります。"
             "変えるときは、一覧で選んで削除してから追加して下さい。",
             "席の希望確認", MsgButtons::Ok, MsgIcon::Exclamation});
        add("生徒1", "生徒3");
        EXPECT_FALSE(w.Option5[1].visible);
        // Deleting it lets the same two be paired again.
        d.click("Option5_0");
        d.click("Command2_3");
        add("生徒1", "生徒3");
        EXPECT_EQ(w.Option5[0].caption, "生徒1と生徒3を2席以上離す");
        d.click("Command1_0");
    });
    EXPECT_EQ(state.Wishes.pairs.size(), 1u);
}

TEST_F(SeatWishesTest, WishesNamingAPupilOffTheRosterAreStruckThroughUntilDeleted) {
    state.Wishes.pupils = {{"転校生", RowWish::Front}, {"生徒6", RowWish::Back}};
    state.Wishes.pairs = {{"生徒1", "転校生", PairKind::Apart, 3}};
    platform.answerMessage(
        {"名簿にいない人の希望が 2 件あります（取り消し線で表示しています）。\r\r"
         "これらの希望はほかの人には使われず、そのまま残してあります。"
         "不要なときは「名簿にない人の希望を削除」で削除できます。",
         "席の希望確認", MsgButtons::Ok, MsgIcon::Information});
    open([](Driver& d, SeatWishesWindow& w) {
        EXPECT_EQ(w.Option1[5].caption, "転校生 前列");
        EXPECT_TRUE(w.Option1[5].font.strikeout);
        EXPECT_FALSE(w.Option1[4].font.strikeout);
        EXPECT_TRUE(w.Option5[0].font.strikeout);
        EXPECT_FALSE(w.Option1[6].visible) << "生徒6 is absent and not listed";
        d.click("Option1_5");
        EXPECT_THROW(d.tick("Option2_0"), RefusedAction);
        d.click("Command2_6");
        EXPECT_FALSE(w.Option1[5].visible);
        EXPECT_FALSE(w.Option5[0].visible);
        EXPECT_FALSE(w.Command2[6].visible);
        d.click("Command1_0");
    });
    // The absent pupil's wish is kept as it was.
    SeatWishes expected;
    expected.pupils = {{"生徒6", RowWish::Back}};
    EXPECT_EQ(saved(), expected);
}

TEST_F(SeatWishesTest, OkThatCannotWriteOrABadGroupShapeKeepsTheWindowAndItsWishes) {
    state.WishRosterPath = dir.file("なし/1組.MEM");
    const std::string wishFile = wishFileOf(state.WishRosterPath);
    open([&](Driver& d, SeatWishesWindow& w) {
        d.click("Option1_0");
        d.tick("Option2_4");
        retype(d, "Text1_2", "11");
        platform.answerMessage(kBadShape);
        d.click("Command1_0");
        retype(d, "Text1_2", "3");
        platform.answerMessage({"席の希望をﾌｧｲﾙ「" + wishFile +
                                    "」に保存できませんでした。\r\r"
                                    "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを"
                                    "確認して下さい。席の希望は変更していません。",
                                "保存確認", MsgButtons::Ok, MsgIcon::Critical});
        d.click("Command1_0");
        EXPECT_TRUE(w.isShown());
        EXPECT_EQ(w.Option1[0].caption, "生徒1 後列");
        EXPECT_EQ(w.Text1[2].text, "3");
        platform.answerMessage(kUnsaved, MsgAnswer::Ok);
        d.click("Command1_1");
    });
    EXPECT_EQ(state.Wishes, SeatWishes{});

    // A roster never saved has no place for wishes: the window does not open.
    state.WishRosterPath.clear();
    platform.answerMessage(
        {"席の希望は名簿ﾌｧｲﾙの横に保存します。\r\r"
         "先に名簿を保存してから、もう一度開いて下さい。",
         "席の希望確認", MsgButtons::Ok, MsgIcon::Information});
    open([](Driver&, SeatWishesWindow&) { FAIL() << "opened without a roster file"; });
}

TEST_F(SeatWishesTest, TheLastSeatsComeFromTheLastResultOrAPastLogThatReads) {
    state.InitialSeats[3] = "生徒2";
    spit(dir.at("壊れた.RLT"), std::string(300, ','));
    spit(dir.at("前回.RLT"), "生徒4\r\n\r\n生徒1\r\n");
    platform.folder = dir.path().string();
    open([this](Driver& d, SeatWishesWindow& w) {
        EXPECT_EQ(w.Label1[6].caption, "前回の席： 選ばれていません");
        EXPECT_THROW(d.click("Command2_4"), RefusedAction) << "no result shown this run";
        platform.answerFileDialog(dir.file("壊れた.RLT"));
        platform.answerMessage({"過去ﾛｸﾞ「" + dir.file("壊れた.RLT") +
                                    "」を読み込めませんでした。\r\r"
                                    "結果ﾌｧｲﾙ(*.RLT)かを確認して下さい。"
                                    "比べる前回の席は変更していません。",
                                "過去ﾛｸﾞの確認", MsgButtons::Ok, MsgIcon::Critical});
        d.click("Command2_5");
        EXPECT_EQ(w.Label1[6].caption, "前回の席： 選ばれていません");
        platform.answerFileDialog(dir.file("前回.RLT"));
        d.click("Command2_5");
        EXPECT_EQ(w.Label1[6].caption, "前回の席： 前回.RLT");
        d.click("Command1_0");
    });
    EXPECT_EQ(state.Wishes.lastChart[0], "生徒4");
    EXPECT_EQ(state.Wishes.lastChart[2], "生徒1");

    state.ResultShown = 1;
    open([](Driver& d, SeatWishesWindow&) {
        d.click("Command2_4");
        d.click("Command1_0");
    });
    EXPECT_EQ(state.Wishes.lastChart[2], "生徒2");
    EXPECT_EQ(state.Wishes.lastSource, "先程の結果");
}

}  // namespace
}  // namespace tosbel

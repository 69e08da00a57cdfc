#include "conditions/conditions_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/app_state.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "tests/headless_test.h"

namespace tosbel {
namespace {

const Message kCommitted{"条件を設定しました。", "設定確認", MsgButtons::Ok, MsgIcon::Information};
const Message kNotAttendee{"登録者以外の氏名を条件として設定しようとしました。", "設定者確認",
                           MsgButtons::Ok, MsgIcon::Critical};
const Message kDiscard{"設定中の条件があります。 それらを破棄しますか？", "条件破棄確認",
                       MsgButtons::OkCancel, MsgIcon::Question};
const Message kDeleteSeat{"指定された座席の条件設定を削除しますか？", "削除確認",
                          MsgButtons::OkCancel, MsgIcon::Question};
const Message kInitialise{"「条件設定」 を初期化しますか？", "初期化確認", MsgButtons::OkCancel,
                          MsgIcon::Question};

std::string pupil(int i) {
    return "生徒" + std::to_string(i);
}

// Today's attendees "生徒1" … "生徒n" of a roster of `registered`, as the
// roster editor leaves them.
void attend(AppState& s, int n, int registered) {
    for (std::string& m : s.Members) m.clear();
    for (int i = 1; i <= n; ++i) s.Members[static_cast<std::size_t>(i)] = pupil(i);
    s.MemberCount = static_cast<std::int16_t>(n);
    s.RegisteredCount = static_cast<std::int16_t>(registered);
}

// What the 15 attendee labels should hold: attendees `from` … `to`, then blanks.
std::vector<std::string> page(int from, int to) {
    std::vector<std::string> names;
    for (int i = from; i <= to; ++i) names.push_back(pupil(i));
    names.resize(15);
    return names;
}

std::vector<std::string> labels(const ConditionsWindow& w, std::string Control::*field) {
    std::vector<std::string> out;
    for (const Label& l : w.Label4) out.push_back(l.*field);
    return out;
}

std::unique_ptr<ConditionsWindow> windowOn(AppState& s, Platform& p, bool windowsXp = false) {
    return std::make_unique<ConditionsWindow>(s, p, ConditionsWindowLinks{nullptr, [] {}, [] {}},
                                              windowsXp);
}

class ConditionsWindowTest : public HeadlessTest {
protected:
    ConditionsWindowTest() {
        state.OptDbl3 = "0";
        state.OptCent = "0";
        attend(state, 35, 38);
    }

    void open() { window.show(); }
    // Seat numbers 1 … 100, as the table counts them.
    std::string& table(int seat) { return state.SeatConditions[static_cast<std::size_t>(seat)]; }
    std::ptrdiff_t ticked() const {
        return std::count_if(window.Check1.begin(), window.Check1.end(),
                             [](const CheckBox& c) { return c.value == 1; });
    }
    std::ptrdiff_t filled() const {
        return std::count_if(window.Text1.begin(), window.Text1.end(),
                             [](const TextBox& t) { return !t.text.empty(); });
    }
    void expectLineBoxes(int rows, int columns) {
        for (std::size_t i = 0; i < 10; ++i) {
            EXPECT_EQ(window.Check2[i].value, rows) << "row " << i;
            EXPECT_EQ(window.Check3[i].value, columns) << "column " << i;
        }
    }

    AppState state;
    int opened = 0;
    int done = 0;
    ConditionsWindow window{
        state, platform, {nullptr, [this] { ++opened; }, [this] { ++done; }}, false};
    Driver driver{platform, window};
};

class Opening : public ConditionsWindowTest {};
class TickRules : public ConditionsWindowTest {};
class AttendeeList : public ConditionsWindowTest {};
class Dragging : public ConditionsWindowTest {};
class Editing : public ConditionsWindowTest {};
class Committing : public ConditionsWindowTest {};
class Closing : public ConditionsWindowTest {};

TEST_F(Opening, ShowsTheChartAndTheCountsAtTheRememberedPlace) {
    state.C_Top = 1200;
    state.C_Left = 900;
    open();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(window.name, "COND");
    EXPECT_EQ(window.caption, "Tosbel条件");
    EXPECT_EQ(window.height, 9000);
    EXPECT_EQ(window.top, 1200);
    EXPECT_EQ(window.left, 900);
    EXPECT_EQ(window.StatusBar1.panel(1).text,
              "本日の出席者は 35人 , 欠席者は 3人 , 可能な空座席指定数は 65席 以内");
    EXPECT_EQ(window.Label1[0].caption, "A 1");
    EXPECT_EQ(window.Label1[24].caption, "C 5");
    EXPECT_EQ(window.Label1[99].caption, "J 10");

    HeadlessPlatform p;
    AppState s;
    s.XpHeightExtra = 120;
    auto xp = windowOn(s, p, true);
    xp->show();
    EXPECT_EQ(xp->height, 9120);
}

TEST_F(Opening, TicksKeptEmptySeatsAndTheRowsAndColumnsTheyFill) {
    for (int seat = 11; seat <= 20; ++seat) table(seat) = "-";     // row B
    for (int seat = 3; seat <= 93; seat += 10) table(seat) = "-";  // column 3
    table(45) = pupil(1);
    open();
    EXPECT_EQ(window.Text1[44].text, pupil(1));
    EXPECT_EQ(window.Check1[10].value, 1);
    EXPECT_EQ(filled(), 1);
    EXPECT_EQ(ticked(), 19);
    // A shuffle started while the window is open still keeps the seat empty.
    EXPECT_EQ(table(11), "-");
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(window.Check2[i].value, i == 1 ? 1 : 0) << "row " << i;
        EXPECT_EQ(window.Check3[i].value, i == 2 ? 1 : 0) << "column " << i;
    }
}

TEST_F(TickRules, ATenthSeatTicksItsRowAndOnlyLineBoxesUntickSeats) {
    open();
    for (int k = 20; k < 29; ++k) driver.tick("Check1_" + std::to_string(k));
    EXPECT_EQ(window.Check2[2].value, 0);
    window.Check1[29].setValue(1);  // the program's tick follows the same rules
    EXPECT_EQ(window.Check2[2].value, 1);
    driver.tick("Check1_25");
    EXPECT_EQ(window.Check2[2].value, 1);
    EXPECT_EQ(ticked(), 9);
    driver.tick("Check2_2");
    EXPECT_EQ(ticked(), 0);
    expectLineBoxes(0, 0);

    driver.tick("Check3_4");
    for (std::size_t r = 0; r < 10; ++r) EXPECT_EQ(window.Check1[r * 10 + 4].value, 1) << r;
    EXPECT_EQ(ticked(), 10);
    driver.tick("Check3_4");
    EXPECT_EQ(ticked(), 0);
}

TEST_F(TickRules, AllSeatsEmptyTicksEveryBoxAndInitialiseClearsThemAgain) {
    table(8) = pupil(2);
    open();
    driver.menu("mnuEditAllSpaceZaseki");
    EXPECT_EQ(ticked(), 100);
    expectLineBoxes(1, 1);
    EXPECT_EQ(table(1), "");  // only a commit writes the table

    platform.answerMessage(kInitialise, MsgAnswer::Cancel);
    driver.toolbar("Toolbar1_6");
    EXPECT_EQ(ticked(), 100);
    platform.answerMessage(kInitialise, MsgAnswer::Ok);
    driver.menu("mnuEditInit");
    EXPECT_EQ(ticked(), 0);
    EXPECT_EQ(filled(), 0);
    expectLineBoxes(0, 0);
    EXPECT_EQ(table(8), "");
}

TEST_F(AttendeeList, TheScrollBarReachesOnePagePerFifteenAttendees) {
    const std::pair<int, int> cases[] = {{0, 0},  {1, 0},  {15, 0}, {16, 1}, {20, 1},
                                         {30, 1}, {31, 2}, {90, 5}, {91, 6}, {100, 6}};
    for (const auto& [n, last] : cases) {
        SCOPED_TRACE(n);
        HeadlessPlatform p;
        AppState s;
        attend(s, n, n);
        auto w = windowOn(s, p);
        w->show();
        EXPECT_EQ(w->HScroll1.max, last);
        EXPECT_EQ(w->HScroll1.enabled, n > 15);
        w->HScroll1.setValue(last);  // as the teacher's scrolling sets it
        EXPECT_EQ(labels(*w, &Control::caption), page(last * 15 + 1, n));
        EXPECT_EQ(labels(*w, &Control::tag), page(last * 15 + 1, n));
    }
}

TEST_F(Dragging, AnAttendeeDroppedOnANameBoxIsPutThere) {
    attend(state, 7, 7);
    open();
    driver.drag("Label4_2", "Text1_24");
    EXPECT_EQ(window.Text1[24].text, pupil(3));
    driver.drag("Label4_6", "Text1_0");
    EXPECT_EQ(window.Text1[0].text, pupil(7));
    // A label past the last attendee holds no one to drag.
    EXPECT_THROW(driver.drag("Label4_7", "Text1_1"), RefusedAction);
    EXPECT_EQ(filled(), 2);
}

TEST_F(Dragging, ABlankLabelOnPageTwoStillDragsAndEmptiesTheBoxThenPageOneComesBack) {
    attend(state, 20, 20);
    open();
    driver.type("Text1_30", pupil(3));
    window.HScroll1.setValue(1);
    driver.drag("Label4_6", "Text1_30");
    EXPECT_EQ(window.Text1[30].text, "");
    window.HScroll1.setValue(0);
    EXPECT_EQ(labels(window, &Control::caption), page(1, 15));
    EXPECT_EQ(labels(window, &Control::tag), page(1, 15));
}

TEST_F(Dragging, ADropAnywhereButANameBoxChangesNothing) {
    open();
    for (const char* target : {"", "Label1_3", "Check1_3", "Check2_0", "Label4_5", "Label2"}) {
        SCOPED_TRACE(target);
        driver.drag("Label4_0", target);
    }
    EXPECT_EQ(filled(), 0);
    EXPECT_EQ(ticked(), 0);
    EXPECT_EQ(labels(window, &Control::caption), page(1, 15));
}

TEST_F(Editing, EnterMovesTheFocusOnWithoutTypingAndBoxesHoldTwelveBytes) {
    open();
    driver.type("Text1_0", "\r");
    EXPECT_NE(window.focused(), &window.Text1[0]);
    EXPECT_EQ(window.focused(), window.nextInTabOrder(&window.Text1[0]));
    driver.type("Text1_5", pupil(1) + "\r");
    EXPECT_EQ(window.Text1[5].text, pupil(1));
    EXPECT_EQ(window.focused(), window.nextInTabOrder(&window.Text1[5]));
    KeyPress enter{kKeyEnter};
    window.keyPress(&window.Text1[9], enter);
    EXPECT_EQ(enter.key, 0u);

    driver.type("Text1_3", "山田太郎花子です");
    EXPECT_EQ(window.Text1[3].text, "山田太郎花子");
}

TEST_F(Editing, DeleteWorksOnTheNameBoxThatLastHadTheFocus) {
    table(1) = "-";
    table(38) = pupil(2);
    open();
    // Before any box had the focus: seat A 1.
    platform.answerMessage(kDeleteSeat, MsgAnswer::Ok);
    driver.toolbar("Toolbar1_5");
    EXPECT_EQ(window.Check1[0].value, 0);
    EXPECT_EQ(table(1), "");

    driver.click("Text1_37");
    EXPECT_EQ(window.T_Index, 37);
    driver.tick("Check1_50");  // the focus leaves the name boxes
    platform.answerMessage(kDeleteSeat, MsgAnswer::Ok);
    driver.menu("mnuEditDelete");
    EXPECT_EQ(window.Text1[37].text, "");
    EXPECT_EQ(table(38), "");
    EXPECT_EQ(window.Check1[50].value, 1);
}

TEST_F(Committing, WritesNamesAndTicksAsEmptyMarksThenCloses) {
    table(50) = "-";
    table(60) = "-";
    open();
    driver.drag("Label4_2", "Text1_24");
    driver.tick("Check1_4");
    driver.tick("Check1_59");  // seat 60 is no longer kept empty
    platform.answerMessage(kCommitted);
    driver.menu("mnuCond");
    EXPECT_EQ(table(25), pupil(3));
    EXPECT_EQ(table(5), "-");
    EXPECT_EQ(table(50), "-");
    EXPECT_EQ(table(60), "");
    EXPECT_FALSE(window.isLoaded());
    EXPECT_EQ(done, 1);
    EXPECT_NE(platform.store.read("Position", "C_Top"), "");
}

TEST_F(Committing, ARefusedSheetKeepsTheWindowOpenUntilItIsPutRight) {
    open();
    driver.type("Text1_0", "部外者");
    platform.answerMessage(kNotAttendee);
    driver.toolbar("Toolbar1_2");
    EXPECT_TRUE(window.isShown());
    EXPECT_EQ(done, 0);

    window.Text1[0].selStart = 0;
    window.Text1[0].selLength = 3;
    driver.type("Text1_0", pupil(1));
    platform.answerMessage(kCommitted);
    driver.toolbar("Toolbar1_2");
    EXPECT_EQ(table(1), pupil(1));
    EXPECT_FALSE(window.isLoaded());
    EXPECT_EQ(done, 1);
}

TEST_F(Closing, DiscardWithNothingShownClosesWithoutAskingAndKeepsTheTable) {
    table(5) = "-";
    open();
    driver.tick("Check1_4");
    driver.menu("mnuNO");
    EXPECT_FALSE(window.isLoaded());
    EXPECT_EQ(table(5), "-");
    EXPECT_EQ(done, 1);
}

TEST_F(Closing, DiscardAsksFirstAndClearsTheTableOnlyOnOk) {
    table(8) = pupil(2);
    open();
    platform.answerMessage(kDiscard, MsgAnswer::Cancel);
    driver.menu("mnuNO");
    EXPECT_TRUE(window.isShown());
    EXPECT_EQ(window.Text1[7].text, pupil(2));
    EXPECT_EQ(table(8), pupil(2));
    EXPECT_EQ(done, 0);

    platform.answerMessage(kDiscard, MsgAnswer::Ok);
    driver.toolbar("Toolbar1_3");
    EXPECT_FALSE(window.isLoaded());
    EXPECT_EQ(table(8), "");
    EXPECT_EQ(done, 1);
}

TEST_F(Closing, ADoubleClickReturnsOnlyWithTheOptionOnAndKeepsThePlace) {
    open();
    driver.dblClick("Label1_5");
    EXPECT_TRUE(window.isShown());

    driver.menu("mnuOptBack");
    EXPECT_EQ(state.OptDbl3, "1");
    EXPECT_EQ(platform.store.read("Config", "OptDbl3"), "1");
    window.top = 2340;
    window.left = 1230;
    driver.dblClick("Label1_5");
    EXPECT_FALSE(window.isLoaded());
    EXPECT_EQ(done, 0);
    EXPECT_EQ(platform.store.read("Position", "C_Top"), "2340");
    EXPECT_EQ(platform.store.read("Position", "C_Left"), "1230");
    EXPECT_EQ(state.C_Top, 2340);
    EXPECT_EQ(state.C_Left, 1230);
}

TEST_F(Closing, HelpOpensItsContextOrTheSearchAndVersionIsOffWithoutItsWindow) {
    open();
    driver.menu("mnuHelpContext_KeyWord_1");
    driver.menu("mnuHelpContext_KeyWord_0");
    driver.toolbar("Toolbar1_9");
    EXPECT_EQ(platform.helps, (std::vector<HelpRequest>{{HelpCommand::Context, 36},
                                                        {HelpCommand::PartialKey, 0},
                                                        {HelpCommand::Context, 36}}));
    EXPECT_THROW(driver.menu("mnuVersion"), RefusedAction);
    EXPECT_THROW(driver.toolbar("Toolbar1_8"), RefusedAction);
}

}  // namespace
}  // namespace tosbel

#include "conditions/condition_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/seat_grid.h"
#include "core/shuffle.h"
#include "platform/headless/scripted_random.h"
#include "tests/headless_test.h"

namespace tosbel {
namespace {

const Message kNotAttendee{"登録者以外の氏名を条件として設定しようとしました。", "設定者確認",
                           MsgButtons::Ok, MsgIcon::Critical};
const Message kDuplicate{"同じ氏名を条件として設定しようとしました。", "設定者重複", MsgButtons::Ok,
                         MsgIcon::Critical};
const Message kEmptySeats{
    "登録者数と空座席数の関係に矛盾があるか、指定座席に空座席を設定しようとしました。", "設定確認",
    MsgButtons::Ok, MsgIcon::Critical};
const Message kCommitted{"条件を設定しました。", "設定確認", MsgButtons::Ok, MsgIcon::Information};
const Message kDiscard{"設定中の条件があります。 それらを破棄しますか？", "条件破棄確認",
                       MsgButtons::OkCancel, MsgIcon::Question};
const Message kDeleteSeat{"指定された座席の条件設定を削除しますか？", "削除確認",
                          MsgButtons::OkCancel, MsgIcon::Question};
const Message kInitialise{"「条件設定」 を初期化しますか？", "初期化確認", MsgButtons::OkCancel,
                          MsgIcon::Question};

// A class whose roster editor has saved: Members holds only today's attendees,
// the rest of the slots empty.
class ConditionsTest : public HeadlessTest {
protected:
    void attend(const std::vector<std::string>& present, int registered) {
        for (std::size_t k = 0; k < present.size(); ++k) state.Members[k + 1] = present[k];
        state.MemberCount = static_cast<std::int16_t>(present.size());
        state.RegisteredCount = static_cast<std::int16_t>(registered);
    }
    // Attendees "生徒1" … "生徒n".
    void attend(int n) {
        std::vector<std::string> names;
        for (int i = 1; i <= n; ++i) names.push_back("生徒" + std::to_string(i));
        attend(names, n);
    }
    // Seat numbers 1 … 100, as the chart counts them.
    std::string& name(int seat) { return sheet.names[static_cast<std::size_t>(seat - 1)]; }
    void tick(int from, int to) {
        for (int seat = from; seat <= to; ++seat)
            sheet.empty[static_cast<std::size_t>(seat - 1)] = true;
    }
    std::string& table(int seat) { return state.SeatConditions[static_cast<std::size_t>(seat)]; }
    bool commit() { return commitConditions(state, sheet, platform); }

    AppState state;
    ConditionSheet sheet;
};

class NameCheck : public ConditionsTest {};
class EmptySeatCheck : public ConditionsTest {};
class LoadedConditions : public ConditionsTest {};
class ClearingConditions : public ConditionsTest {};

TEST_F(NameCheck, RefusesANameThatDiffersFromAnAttendeeInAnyByte) {
    attend({"山田", "田中Ａ", "Smith"}, 3);
    for (const char* nearMiss : {"山田 ", "山田　", " 山田", "田中A", "smith", "SMITH"}) {
        SCOPED_TRACE(nearMiss);
        ConditionSheet typed;
        typed.names[3] = nearMiss;
        platform.answerMessage(kNotAttendee);
        EXPECT_FALSE(commitConditions(state, typed, platform));
        EXPECT_EQ(table(4), "");
    }
    name(4) = "田中Ａ";
    platform.answerMessage(kCommitted);
    EXPECT_TRUE(commit());
    EXPECT_EQ(table(4), "田中Ａ");
}

TEST_F(NameCheck, RefusesAMemberWhoIsAbsentToday) {
    attend({"山田", "佐藤"}, 3);  // "鈴木" is on the roster but absent
    name(7) = "鈴木";
    platform.answerMessage(kNotAttendee);
    EXPECT_FALSE(commit());
}

TEST_F(NameCheck, StopsAtTheFirstStrangerAndLeavesLaterSeatsAsTheyWere) {
    attend({"山田", "佐藤", "鈴木"}, 3);
    table(3) = "佐藤";
    table(5) = "佐藤";
    table(8) = "鈴木";
    table(9) = std::string(kEmptySeatMark);
    name(2) = "山田";
    name(5) = "田中";
    name(8) = "山田";  // past the stranger: never looked at
    platform.answerMessage(kNotAttendee);
    EXPECT_FALSE(commit());
    EXPECT_EQ(table(2), "山田");
    EXPECT_EQ(table(3), "");  // before the stranger, its empty box was written
    EXPECT_EQ(table(5), "佐藤");
    EXPECT_EQ(table(8), "鈴木");
    EXPECT_EQ(table(9), "");  // old empty-seat marks are gone, and seat 9 is not ticked
}

TEST_F(NameCheck, RefusesTheSameAttendeeOnTwoSeats) {
    attend({"山田", "佐藤"}, 2);
    name(4) = "佐藤";
    name(60) = "佐藤";
    name(61) = "山田";
    platform.answerMessage(kDuplicate);
    EXPECT_FALSE(commit());
    EXPECT_EQ(table(4), "佐藤");
    EXPECT_EQ(table(60), "佐藤");
}

TEST_F(NameCheck, ADuplicateOnTheLastTwoSeatsIsRefused) {
    attend({"山田", "佐藤"}, 2);
    name(99) = "佐藤";
    name(100) = "佐藤";
    platform.answerMessage(kDuplicate);
    EXPECT_FALSE(commit());
}

// "-" marks a kept-empty seat in the table, so as a typed name it would take
// a seat from the shuffle without a pupil on it.
TEST_F(NameCheck, TheEmptySeatMarkIsNoName) {
    attend({"山田", "-"}, 2);
    name(5) = "-";
    platform.answerMessage(kNotAttendee);
    EXPECT_FALSE(commit());
}

TEST_F(NameCheck, AStrangerAfterADuplicateIsTheOnlyComplaint) {
    attend({"山田", "佐藤"}, 2);
    name(1) = "山田";
    name(2) = "山田";
    name(3) = "田中";
    platform.answerMessage(kNotAttendee);
    EXPECT_FALSE(commit());
    EXPECT_EQ(platform.messages, std::vector<Message>{kNotAttendee});
}

TEST_F(EmptySeatCheck, AFullClassLeavesNoSeatToKeepEmpty) {
    attend(100);
    tick(100, 100);
    platform.answerMessage(kEmptySeats);
    EXPECT_FALSE(commit());
}

TEST_F(EmptySeatCheck, ExactlyTheSeatsNobodyNeedsMayBeKeptEmpty) {
    attend(35);
    tick(1, 65);
    platform.answerMessage(kCommitted);
    EXPECT_TRUE(commit());
    for (int seat = 1; seat <= 65; ++seat) EXPECT_EQ(table(seat), kEmptySeatMark) << seat;
    EXPECT_EQ(table(66), "");

    tick(66, 66);
    platform.answerMessage(kEmptySeats);
    EXPECT_FALSE(commit());
}

TEST_F(EmptySeatCheck, AllSeatsEmptyFitsOnlyAClassWithNobodyPresent) {
    attend(1);
    markAllSeatsEmpty(sheet);
    EXPECT_EQ(table(1), "");  // ticking alone commits nothing
    platform.answerMessage(kEmptySeats);
    EXPECT_FALSE(commit());

    attend({}, 30);
    platform.answerMessage(kCommitted);
    EXPECT_TRUE(commit());
}

TEST_F(EmptySeatCheck, ANamedSeatCannotAlsoBeEmpty) {
    attend({"山田", "佐藤"}, 2);
    name(7) = "佐藤";
    tick(7, 7);
    tick(8, 8);
    platform.answerMessage(kEmptySeats);
    EXPECT_FALSE(commit());
    EXPECT_EQ(table(7), "佐藤");
    EXPECT_EQ(table(8), kEmptySeatMark);
}

TEST_F(EmptySeatCheck, AStrangerAndTooManyEmptySeatsAreBothReported) {
    attend(10);
    name(5) = "田中";
    markAllSeatsEmpty(sheet);
    platform.answerMessage(kNotAttendee);
    platform.answerMessage(kEmptySeats);
    EXPECT_FALSE(commit());
    EXPECT_EQ(platform.messages, (std::vector<Message>{kNotAttendee, kEmptySeats}));
}

TEST_F(EmptySeatCheck, AnEmptySeatNoLongerTickedIsFreedOnCommit) {
    attend(10);
    table(10) = std::string(kEmptySeatMark);
    table(11) = std::string(kEmptySeatMark);
    tick(11, 11);
    platform.answerMessage(kCommitted);
    EXPECT_TRUE(commit());
    EXPECT_EQ(table(10), "");
    EXPECT_EQ(table(11), kEmptySeatMark);
}

TEST_F(LoadedConditions, ShowTicksForEmptySeatsAndKeepThemInTheTable) {
    attend({"山田", "佐藤"}, 3);
    name(3) = "佐藤";
    name(100) = "山田";
    tick(20, 21);
    platform.answerMessage(kCommitted);
    ASSERT_TRUE(commit());

    ConditionSheet reopened;
    loadConditions(state, reopened);
    EXPECT_EQ(reopened.names[2], "佐藤");
    EXPECT_EQ(reopened.names[99], "山田");
    EXPECT_TRUE(reopened.empty[19]);
    EXPECT_TRUE(reopened.empty[20]);
    EXPECT_EQ(reopened.names[19], "");
    EXPECT_EQ(reopened.names[20], "");
    EXPECT_FALSE(reopened.empty[2]);
    EXPECT_FALSE(reopened.empty[21]);
    EXPECT_EQ(table(20), kEmptySeatMark);
    EXPECT_EQ(table(21), kEmptySeatMark);
}

TEST_F(LoadedConditions, AShuffleWhileTheWindowIsOpenKeepsTheEmptySeats) {
    attend(20);
    tick(1, 10);
    name(15) = "生徒3";
    platform.answerMessage(kCommitted);
    ASSERT_TRUE(commit());
    ConditionSheet reopened;
    loadConditions(state, reopened);

    ScriptedRandom random({0.9f, 0.1f, 0.5f, 0.3f, 0.7f});
    runShuffle(state, random, {});
    for (std::size_t seat = 1; seat <= 10; ++seat) EXPECT_EQ(state.SeatResult[seat], "") << seat;
    EXPECT_EQ(state.SeatResult[15], "生徒3");
    std::vector<std::string> seated;
    for (std::size_t seat = 1; seat <= 100; ++seat) {
        if (!state.SeatResult[seat].empty()) seated.push_back(state.SeatResult[seat]);
    }
    std::sort(seated.begin(), seated.end());
    std::vector<std::string> everyone(state.Members.begin() + 1, state.Members.begin() + 21);
    std::sort(everyone.begin(), everyone.end());
    EXPECT_EQ(seated, everyone);
}

TEST_F(ClearingConditions, DiscardingABlankSheetClosesWithoutAsking) {
    table(4) = "山田";  // a sheet that was never loaded: the table is not the sheet's to clear
    EXPECT_EQ(discardConditions(state, sheet, platform), DiscardOutcome::Close);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(table(4), "山田");
}

TEST_F(ClearingConditions, DiscardingAskedAboutEvenForASingleTick) {
    table(4) = "山田";
    tick(99, 99);
    platform.answerMessage(kDiscard, MsgAnswer::Cancel);
    EXPECT_EQ(discardConditions(state, sheet, platform), DiscardOutcome::Stay);
    EXPECT_EQ(table(4), "山田");

    platform.answerMessage(kDiscard, MsgAnswer::Ok);
    EXPECT_EQ(discardConditions(state, sheet, platform), DiscardOutcome::Close);
    EXPECT_EQ(table(4), "");
}

TEST_F(ClearingConditions, DeleteBeforeAnyFocusClearsSeatA1Only) {
    ASSERT_EQ(seatLabel(1), "A 1");
    name(1) = "山田";
    tick(1, 2);
    name(2) = "佐藤";
    table(1) = "山田";
    table(2) = "佐藤";

    platform.answerMessage(kDeleteSeat, MsgAnswer::Cancel);
    deleteSeatCondition(state, sheet, 0, platform);
    EXPECT_EQ(name(1), "山田");
    EXPECT_EQ(table(1), "山田");

    platform.answerMessage(kDeleteSeat, MsgAnswer::Ok);
    deleteSeatCondition(state, sheet, 0, platform);
    EXPECT_EQ(name(1), "");
    EXPECT_FALSE(sheet.empty[0]);
    EXPECT_EQ(table(1), "");
    EXPECT_EQ(name(2), "佐藤");
    EXPECT_TRUE(sheet.empty[1]);
    EXPECT_EQ(table(2), "佐藤");
}

TEST_F(ClearingConditions, InitialiseClearsEverySeatOnlyWhenConfirmed) {
    name(100) = "山田";
    tick(1, 1);
    table(100) = "山田";
    table(1) = std::string(kEmptySeatMark);

    platform.answerMessage(kInitialise, MsgAnswer::Cancel);
    EXPECT_FALSE(initialiseConditions(state, sheet, platform));
    EXPECT_EQ(name(100), "山田");
    EXPECT_TRUE(sheet.empty[0]);
    EXPECT_EQ(table(1), kEmptySeatMark);

    platform.answerMessage(kInitialise, MsgAnswer::Ok);
    EXPECT_TRUE(initialiseConditions(state, sheet, platform));
    EXPECT_EQ(name(100), "");
    EXPECT_FALSE(sheet.empty[0]);
    EXPECT_EQ(table(1), "");
    EXPECT_EQ(table(100), "");
}

TEST(ConditionStatusLine, CountsAttendeesAbsenteesAndSparableSeats) {
    AppState s;
    s.MemberCount = 35;
    s.RegisteredCount = 38;
    EXPECT_EQ(conditionStatusLine(s),
              "本日の出席者は 35人 , 欠席者は 3人 , 可能な空座席指定数は 65席 以内");
}

// Whatever the roster and whatever conditions the commit takes, the shuffle
// seats every attendee exactly once: none dropped, none twice.
TEST(ShuffleOfCommittedConditions, SeatsEveryAttendeeExactlyOnce) {
    std::mt19937 draw(20261208);
    const auto below = [&draw](int n) {
        return static_cast<int>(draw() % static_cast<unsigned>(n));
    };
    // Names that look like the marks the table and the files use.
    const std::vector<std::string> pool = {"-", "山田", "佐藤", " ", "　", "0", "--", "鈴木"};
    int committed = 0;
    for (int round = 0; round < 300; ++round) {
        HeadlessPlatform platform;
        platform.beforeAnswer = [&platform](const Message& m) { platform.answerMessage(m); };
        AppState s;
        const int count = below(101);
        for (int k = 1; k <= count; ++k) {
            const auto name = static_cast<std::size_t>(k) <= pool.size() && below(3) == 0
                                  ? pool[static_cast<std::size_t>(k - 1)]
                                  : "生徒" + std::to_string(k);
            s.Members[static_cast<std::size_t>(k)] = name;
        }
        s.MemberCount = static_cast<std::int16_t>(count);
        s.RegisteredCount = s.MemberCount;
        ConditionSheet sheet;
        for (std::size_t seat = 0; seat < 100; ++seat) {
            const int what = below(40);
            if (what == 0 && count > 0)
                sheet.names[seat] = s.Members[static_cast<std::size_t>(1 + below(count))];
            else if (what == 1)
                sheet.empty[seat] = true;
            else if (below(200) == 0)
                sheet.names[seat] = pool[static_cast<std::size_t>(below(4))];
        }
        if (!commitConditions(s, sheet, platform)) continue;
        ++committed;
        std::vector<float> keys;
        for (int k = 0; k < count; ++k) keys.push_back(static_cast<float>(draw() % 1000) / 1000.0f);
        ScriptedRandom random(keys);
        runShuffle(s, random, {});
        std::vector<std::string> seated, attendees;
        for (std::size_t n = 1; n <= 100; ++n)
            if (!s.SeatResult[n].empty()) seated.push_back(s.SeatResult[n]);
        for (int k = 1; k <= count; ++k)
            attendees.push_back(s.Members[static_cast<std::size_t>(k)]);
        std::sort(seated.begin(), seated.end());
        std::sort(attendees.begin(), attendees.end());
        ASSERT_EQ(seated, attendees) << "round " << round;
    }
    EXPECT_GT(committed, 100) << "too few sheets were taken to tell anything";
}

}  // namespace
}  // namespace tosbel

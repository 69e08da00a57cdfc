#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "conditions/conditions_window.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "platform/headless/driver.h"
#include "results/result_window.h"
#include "roster/roster_editor.h"
#include "roster/roster_file.h"
#include "shell/main_window.h"
#include "shell/shell.h"
#include "tests/headless_test.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

// A class period from the opened roster to the shuffle, through the windows
// the shell really opens.
class ConditionsFlowTest : public HeadlessTest {
protected:
    ConditionsFlowTest() {
        platform.folder = dir.path().string();
        platform.store.save("Config", "OptLogo", "0");
        platform.store.save("CountDown", "WaitTime", "2");
        // The countdown runs its course, a tick a second.
        platform.modalDriver = [](Form& f) {
            for (int tick = 0; tick < 20 && f.isShown(); ++tick)
                HeadlessPlatform::fireTimer(f, "Timer1");
        };
        shell.startUp();
    }
    Driver main() { return {platform, *shell.mainWindow()}; }

    TempDir dir;
    Shell shell{platform};
};

TEST_F(ConditionsFlowTest, TheSavedRosterHandsOverAndTheCommittedConditionsSeatTheClass) {
    const std::string path = dir.file("1組.MEM");
    ASSERT_EQ(writeRoster(path, {"青木", "井上", "上田"}).error, FileError::None);
    platform.answerFileDialog(path);
    main().menu("mnuFileOpen");

    Driver editor(platform, *shell.rosterEditor());
    editor.tick("Check1_1");  // 井上 is absent today
    platform.answerMessage(
        {"メンバーを修正しました。", "修正確認", MsgButtons::Ok, MsgIcon::Information});
    platform.answerMessage(
        {"出席者は 2人  \r\r欠席者は 1人  ", "出欠人数確認", MsgButtons::Ok, MsgIcon::Information});
    editor.menu("mnuFileOverWrite");

    ConditionsWindow* window = shell.conditionsWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isShown());
    EXPECT_THROW(main().menu("mnuFileCreate"), RefusedAction);
    EXPECT_THROW(main().toolbar("Toolbar1_3"), RefusedAction);
    EXPECT_EQ(window->Label4[1].caption, "上田");

    Driver conditions(platform, *window);
    conditions.drag("Label4_1", "Text1_24");  // 上田 on C 5
    conditions.tick("Check1_0");              // A 1 kept empty
    platform.answerMessage(
        {"条件を設定しました。", "設定確認", MsgButtons::Ok, MsgIcon::Information});
    conditions.menu("mnuCond");
    EXPECT_FALSE(window->isShown());
    EXPECT_EQ(shell.state().SeatConditions[25], "上田");
    EXPECT_EQ(shell.state().SeatConditions[1], "-");

    main().toolbar("Toolbar1_8");
    EXPECT_EQ(platform.shown.back(), "RESULT");
    EXPECT_EQ(platform.shown[platform.shown.size() - 2], "WAIT");
    EXPECT_EQ(shell.state().SeatResult[1], "");
    EXPECT_EQ(shell.state().SeatResult[2], "青木");
    EXPECT_EQ(shell.state().SeatResult[25], "上田");
    EXPECT_EQ(shell.state().InitialSeats[25], "上田");

    // The chart takes the main window's place until OK brings it back, and
    // the last result shows the same chart again.
    EXPECT_FALSE(shell.mainWindow()->isShown());
    ResultWindow* result = shell.resultWindow();
    ASSERT_NE(result, nullptr);
    ASSERT_TRUE(result->isShown());
    EXPECT_EQ(result->Text1[1].text, "青木");
    EXPECT_EQ(result->Text1[24].text, "上田");
    Driver(platform, *result).menu("mnuEditMove_0");
    // もう一度: the same class and conditions, after the countdown, in the
    // same window; the moved chart is not saved, so the teacher is asked.
    const auto countdowns = std::count(platform.shown.begin(), platform.shown.end(), "WAIT");
    platform.answerMessage(
        {"手で変えた席は保存されていません。\r\r"
         "同じ条件でもう一度席替えしてよろしいですか？",
         "もう一度確認", MsgButtons::OkCancel, MsgIcon::Question});
    Driver(platform, *result).menu("mnuShuffleAgain");
    EXPECT_EQ(std::count(platform.shown.begin(), platform.shown.end(), "WAIT"), countdowns + 1);
    EXPECT_EQ(shell.resultWindow(), result);
    EXPECT_EQ(result->Text1[1].text, "青木");
    EXPECT_EQ(result->Text1[24].text, "上田");
    EXPECT_FALSE(result->mnuUndo.enabled);
    Driver(platform, *result).menu("mnuShuffleAgain");  // nothing changed by hand: no question
    Driver(platform, *result).menu("mnuEditMove_0");
    Driver(platform, *result).menu("mnuOK");
    ASSERT_TRUE(shell.mainWindow()->isShown());
    main().menu("mnuResult");
    ASSERT_TRUE(shell.resultWindow()->isShown());
    EXPECT_EQ(shell.resultWindow()->Text1[24].text, "上田");
    EXPECT_EQ(shell.resultWindow()->Text1[0].text, "");
}

// A past log opens beside the main window with its texts as written; the
// seats it does not name stay empty, and OK leaves the main window as it was.
TEST_F(ConditionsFlowTest, APastLogOpensBesideTheMainWindowWithItsTextsAsWritten) {
    spit(dir.path() / "short.RLT", "007\r\n\r\n\x8e\x52\x93\x63\r\n");  // 007, -, 山田
    spit(dir.path() / "Tosbel.ini", dir.file("short.RLT") + "\r\n");
    shell.mainWindow()->close(UnloadMode::Program);
    shell.showMainWindow();

    main().menu("mnuFileArray_1");
    ResultWindow* result = shell.resultWindow();
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->isShown());
    EXPECT_TRUE(shell.mainWindow()->isShown());
    EXPECT_EQ(result->Text1[0].text, "007");
    EXPECT_EQ(result->Text1[2].text, "山田");
    for (std::size_t k = 3; k < 100; ++k) EXPECT_EQ(result->Text1[k].text, "") << k;

    // Opening it again while it shows fills the same window afresh.
    Driver(platform, *result).menu("mnuEditMove_3");
    main().menu("mnuFileArray_1");
    EXPECT_EQ(shell.resultWindow(), result);
    EXPECT_EQ(result->Text1[0].text, "007");

    MainWindow* before = shell.mainWindow();
    Driver(platform, *result).menu("mnuOK");
    EXPECT_FALSE(result->isShown());
    EXPECT_EQ(shell.mainWindow(), before);
    EXPECT_TRUE(before->isShown());

    // Saved under another name while the main window stays: the new past log
    // is listed at once and opens the chart as it was saved.
    main().menu("mnuFileArray_1");
    Driver(platform, *shell.resultWindow()).menu("mnuEditMove_1");
    platform.answerFileDialog(dir.file("moved"));
    platform.answerMessage(
        {"Tosbel結果を保存しました。", "保存確認", MsgButtons::Ok, MsgIcon::Information});
    Driver(platform, *shell.resultWindow()).menu("mnuResultSave");
    EXPECT_FALSE(shell.resultWindow()->isShown());
    ASSERT_EQ(before->mnuFileArray.upperBound(), 2);
    EXPECT_EQ(before->mnuFileArray[2].caption, dir.file("moved"));
    main().menu("mnuFileArray_2");
    EXPECT_EQ(shell.resultWindow()->Text1[1].text, "007");
    EXPECT_EQ(shell.resultWindow()->Text1[3].text, "山田");
}

// A file deleted from the main window takes the past logs whose files are
// gone off its menu at once; the background chosen shows at once too.
TEST_F(ConditionsFlowTest, TheToolsChangeTheMainWindowAtOnce) {
    spit(dir.path() / "keep.RLT", "\r\n");
    spit(dir.path() / "old.MEM", "A\r\n");
    spit(dir.path() / "Tosbel.ini", dir.file("gone.RLT") + "\r\n" + dir.file("keep.RLT") + "\r\n");
    shell.mainWindow()->close(UnloadMode::Program);
    shell.showMainWindow();
    ASSERT_EQ(shell.mainWindow()->mnuFileArray.upperBound(), 2);

    platform.answerFileDialog(dir.file("old.MEM"));
    platform.answerMessage({"指定されたﾌｧｲﾙを削除します。 よろしいですか？", "削除確認",
                            MsgButtons::OkCancel, MsgIcon::Question});
    platform.answerMessage(
        {"指定されたﾌｧｲﾙを削除しました。", "削除情報", MsgButtons::Ok, MsgIcon::Information});
    main().toolbar("Toolbar1_5");
    MainWindow& m = *shell.mainWindow();
    EXPECT_EQ(platform.trashed, std::vector<std::string>{dir.file("old.MEM")});
    EXPECT_FALSE(m.mnuFileArray[2].visible);
    EXPECT_EQ(m.mnuFileArray[1].caption, dir.file("keep.RLT"));
    EXPECT_THROW(main().menu("mnuFileArray_2"), RefusedAction);

    platform.modalDriver = [](Form& f) {
        Driver d(static_cast<HeadlessPlatform&>(f.platform()), f);
        d.click("Option1_3");
        d.click("Command1_0");
    };
    main().menu("mnuMainColor");
    EXPECT_EQ(m.Label1.foreColor, (Rgb{192, 192, 0}));
    EXPECT_EQ(shell.state().BackRed, 300);
}

// A school system's Shift_JIS export becomes a new roster in the order of
// its numbers, its sexes go with the roster, and the roster goes back out as
// a table.
TEST_F(ConditionsFlowTest, AClassListFileBecomesANewRosterAndGoesBackOutAsATable) {
    const std::string list = dir.file("名簿.csv");
    ASSERT_TRUE(
        replaceFile(list, *utf8ToCp932("出席番号,氏名,性別\r\n2,井上,女\r\n1,青木,男\r\n")));
    const std::string roster = dir.file("2組.MEM");
    platform.modalDriver = [&](Form& f) {
        Driver d(platform, f);
        if (f.name == "TORIKOMI") {
            EXPECT_EQ(d.control("Label1_1").caption, "氏名 2人（男 1人・女 1人）を取り込みます。");
            d.click("Command1_0");
            return;
        }
        ASSERT_EQ(f.name, "TOUROKU");
        EXPECT_EQ(d.control("Text1_0").text, "青木");
        EXPECT_EQ(d.control("Text1_1").text, "井上");
        platform.answerFileDialog(roster);
        platform.answerMessage(
            {"新規にメンバーを登録しました。", "登録確認", MsgButtons::Ok, MsgIcon::Information});
        platform.answerMessage({"出席者は 2人  \r\r欠席者は 0人  ", "出欠人数確認", MsgButtons::Ok,
                                MsgIcon::Information});
        d.menu("mnuNewFile");
    };
    platform.answerFileDialog(list);
    main().menu("mnuImport");
    EXPECT_EQ(readRoster(roster).names, (std::vector<std::string>{"青木", "井上"}));
    ASSERT_NE(shell.state().Wishes.pupil("青木"), nullptr);
    EXPECT_EQ(shell.state().Wishes.pupil("青木")->sex, Sex::Boy);

    shell.conditionsWindow()->discard();
    shell.mainWindow()->conditionsLoaded();
    platform.answerFileDialog(dir.file("2組"));
    main().menu("mnuExport");
    EXPECT_EQ(slurp(dir.file("2組.CSV")),
              "\xEF\xBB\xBF番号,氏名,性別\r\n1,青木,男\r\n2,井上,女\r\n");
}

}  // namespace
}  // namespace tosbel

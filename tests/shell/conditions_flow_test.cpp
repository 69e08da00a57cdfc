#include <gtest/gtest.h>

#include <string>

#include "conditions/conditions_window.h"
#include "platform/headless/driver.h"
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
    EXPECT_EQ(shell.state().SeatResult[1], "");
    EXPECT_EQ(shell.state().SeatResult[2], "青木");
    EXPECT_EQ(shell.state().SeatResult[25], "上田");
    EXPECT_EQ(shell.state().InitialSeats[25], "上田");
    EXPECT_TRUE(shell.mainWindow()->isShown());
}

}  // namespace
}  // namespace tosbel

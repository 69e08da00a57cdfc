#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/driver.h"
#include "roster/roster_editor.h"
#include "roster/roster_file.h"
#include "shell/main_window.h"
#include "shell/shell.h"
#include "tests/headless_test.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

const Message kExit{"「Tosbel君 for Windows」 を 終了しますか？", "終了確認", MsgButtons::OkCancel,
                    MsgIcon::Question};
const Message kChanged{"名簿は変更されています。 保存しますか？", "変更確認", MsgButtons::OkCancel,
                       MsgIcon::Question};
const Message kModified{"メンバーを修正しました。", "修正確認", MsgButtons::Ok,
                        MsgIcon::Information};

// A roster opened with the open command: its editor is not modal, so the
// program can be ended while it is open.
class ProgramEndTest : public HeadlessTest {
protected:
    ProgramEndTest() {
        platform.folder = dir.path().string();
        platform.store.save("Config", "OptLogo", "0");
        shell.startUp();
        EXPECT_EQ(writeRoster(path, {"青木"}).error, FileError::None);
        platform.answerFileDialog(path);
        main().menu("mnuFileOpen");
    }
    RosterEditor& editor() { return *shell.rosterEditor(); }
    Driver main() { return {platform, *shell.mainWindow()}; }

    TempDir dir;
    const std::string path = dir.file("1組.MEM");
    Shell shell{platform};
};

TEST_F(ProgramEndTest, UnsavedNamesAreAskedForAndACancelledSaveKeepsTheProgram) {
    Driver(platform, editor()).type("Text1_1", "井上");

    platform.answerMessage(kExit, MsgAnswer::Ok);
    platform.answerMessage(kChanged, MsgAnswer::Ok);
    platform.answerFileDialog("");  // the teacher cancels the save dialog
    main().menu("mnuEnd");
    EXPECT_FALSE(platform.ended);
    ASSERT_TRUE(editor().isShown());
    EXPECT_EQ(editor().Text1[1].text, "井上");

    // Cancel ends without saving, as the editor's Close does.
    platform.answerMessage(kExit, MsgAnswer::Ok);
    platform.answerMessage(kChanged, MsgAnswer::Cancel);
    main().toolbar("Toolbar1_9");
    EXPECT_TRUE(platform.ended);
    EXPECT_EQ(readRoster(path).names, std::vector<std::string>{"青木"});
}

TEST_F(ProgramEndTest, ASaveOnTheWayOutIsWrittenAndThenTheProgramEnds) {
    Driver(platform, editor()).type("Text1_1", "井上");
    const std::string saved = dir.file("2組.MEM");
    platform.answerMessage(kExit, MsgAnswer::Ok);
    platform.answerMessage(kChanged, MsgAnswer::Ok);
    platform.answerFileDialog(saved);
    platform.answerMessage(kModified);
    EXPECT_TRUE(shell.mainWindow()->close(UnloadMode::CloseBox));
    EXPECT_TRUE(platform.ended);
    EXPECT_EQ(readRoster(saved).names, (std::vector<std::string>{"青木", "井上"}));
}

TEST_F(ProgramEndTest, NothingUnsavedAsksOnlyWhetherToEnd) {
    Driver(platform, editor()).tick("Check1_0");  // attendance is never stored
    platform.answerMessage(kExit, MsgAnswer::Ok);
    main().menu("mnuEnd");
    EXPECT_TRUE(platform.ended);
}

}  // namespace
}  // namespace tosbel

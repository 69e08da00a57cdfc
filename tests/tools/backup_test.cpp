#include "tools/backup_window.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/app_state.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "tests/file_size_limit.h"
#include "tests/headless_test.h"
#include "tests/posix_only.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

namespace fs = std::filesystem;

const Message kPrepare{
    "データのバックアップをとります。 "
    "ＵＳＢメモリなどをセットして、次に保存先のフォルダを選んで下さい。",
    "ﾊﾞｯｸｱｯﾌﾟ準備", MsgButtons::OkCancel, MsgIcon::Question};
const Message kDone{"バックアップを完了しました。", "終了確認", MsgButtons::Ok,
                    MsgIcon::Information};
constexpr const char* kFolderTitle = "バックアップ先のフォルダの選択";

Message failed(const fs::path& folder) {
    return {"バックアップ先のフォルダ「" + folder.string() +
                "」にデータを保存できません。\r\r"
                "処理を続ける場合はＵＳＢメモリなどがセットされているか確認して下さい。",
            "ﾊﾞｯｸｱｯﾌﾟ準備", MsgButtons::OkCancel, MsgIcon::Question};
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// The program folder holds two rosters, the history and a countdown picture,
// and things that only look like data files; the backup goes to its own folder.
class BackupTest : public HeadlessTest {
protected:
    BackupTest() {
        platform.folder = source.path().string();
        state.BackDT = {"1", "0", "1", "0"};
        spit(source.path() / "A.MEM", "\x8e\x52\x93\x63\r\n\x97\xe9\r\n");
        spit(source.path() / "b.mem", "lower case\r\n");
        spit(source.path() / "Tosbel.ini", "C:\\TOSBEL\\1.RLT\r\n");
        spit(source.path() / "ONE.BMP", "BM");
        spit(source.path() / ".hidden.MEM", "hidden");
        spit(source.path() / "A.MEMO", "not a roster");
        fs::create_directories(source.path() / "FOLDER.MEM");
        makeFifo((source.path() / "PIPE.MEM").string());
        fs::create_directories(target);
    }
    // 実行 into `to`, answering the messages that follow the folder dialog.
    void backUp(const fs::path& to,
                const std::vector<std::pair<Message, MsgAnswer>>& then = {{kDone, MsgAnswer::Ok}}) {
        platform.answerMessage(kPrepare);
        platform.answerFolderDialog(to.string());
        for (const auto& [message, answer] : then) platform.answerMessage(message, answer);
        driver.click("Command1_0");
    }

    TempDir source;
    TempDir out;
    const fs::path target = out.path() / "USB";
    AppState state;
    BackupWindow window{state, platform, std::nullopt};
    Driver driver{platform, window};
};

// Ticks come from the stored numbers; 取消 forgets new ones; help stays.
TEST_F(BackupTest, OpensWithTheStoredTicksAndCancelForgetsNewOnes) {
    state.BackDT = {" 1", "0", "", "x"};
    window.show();
    for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(window.Check1[k].value, k == 0 ? 1 : 0) << k;
    driver.click("Command1_2");
    EXPECT_EQ(platform.helps, (std::vector<HelpRequest>{{HelpCommand::Context, 31}}));
    driver.tick("Check1_1");
    driver.click("Command1_1");
    EXPECT_FALSE(window.isShown());
    EXPECT_TRUE(platform.store.saves().empty());
    EXPECT_EQ(state.BackDT, (std::array<std::string, 4>{" 1", "0", "", "x"}));
}

TEST_F(BackupTest, WithNothingTickedItStillAsksAndCompletes) {
    state.BackDT.fill("0");
    window.show();
    backUp(target);
    EXPECT_FALSE(window.isShown());
    EXPECT_TRUE(namesIn(target).empty());
}

// Only ordinary, visible files of the ticked kinds, in any letter case, byte
// for byte; one already there is replaced; 結果 has no file and asks nothing.
TEST_F(BackupTest, CopiesTheOrdinaryFilesOfTheTickedKindsByteForByte) {
    state.BackDT = {"1", "1", "1", "0"};
    spit(target / "A.MEM", "an older roster");
    window.show();
    backUp(target);
    EXPECT_FALSE(window.isShown());
    EXPECT_EQ(namesIn(target), (std::set<std::string>{"A.MEM", "b.mem", "Tosbel.ini"}));
    for (const char* name : {"A.MEM", "b.mem", "Tosbel.ini"})
        EXPECT_EQ(slurp(target / name), slurp(source.path() / name)) << name;
}

// Each roster's wishes go along; a roster without any keeps none from an
// earlier backup, and wishes of no roster stay behind.
TEST_F(BackupTest, TheRostersWishesGoAlongAndOlderOnesGo) {
    spit(source.path() / "A.KIB", "wishes");
    spit(source.path() / "GONE.KIB", "no roster");
    spit(target / "b.KIB", "an older backup's");
    window.show();
    backUp(target);
    EXPECT_EQ(namesIn(target), (std::set<std::string>{"A.KIB", "A.MEM", "b.mem", "Tosbel.ini"}));
    EXPECT_EQ(slurp(target / "A.KIB"), "wishes");
}

// Stopping before the copy keeps the window and the ticks; the folder chosen
// is proposed from then on, through the opener too.
TEST_F(BackupTest, RemembersTheFolderAndCopiesNothingWhenStoppedBeforehand) {
    window.show();
    driver.tick("Check1_3");
    platform.answerMessage(kPrepare, MsgAnswer::Cancel);
    driver.click("Command1_0");
    platform.answerMessage(kPrepare);
    platform.answerFolderDialog("");
    driver.click("Command1_0");
    EXPECT_TRUE(window.isShown());
    EXPECT_EQ(state.BackDT, (std::array<std::string, 4>{"1", "0", "1", "1"}));
    EXPECT_EQ(platform.store.values().at({"Config", "BackDT(3)"}), "1");
    EXPECT_TRUE(namesIn(target).empty());

    backUp(target);
    EXPECT_EQ(platform.store.values().at({"Config", "BackupFolder"}), target.string());
    platform.modalDriver = [this](Form& f) {
        EXPECT_EQ(f.name, "BACK_UP");
        platform.answerMessage(kPrepare);
        platform.answerFolderDialog("");
        Driver(platform, f).click("Command1_0");
        Driver(platform, f).click("Command1_1");
    };
    showBackupWindow(state, platform);
    using Asked = std::pair<std::string, std::string>;
    EXPECT_EQ(platform.folderDialogs,
              (std::vector<Asked>{
                  {kFolderTitle, ""}, {kFolderTitle, ""}, {kFolderTitle, target.string()}}));
}

// "B.MEM" cannot be written: the rosters stop there, what was copied stays,
// and the history is never reached until OK finds the target put right.
TEST_F(BackupTest, AFailedKindStartsOverOnOkAndCancelLeavesTheWindowOpen) {
    spit(source.path() / "B.MEM", "second roster");
    fs::create_directories(target / "B.MEM");
    window.show();
    backUp(target, {{failed(target), MsgAnswer::Ok}, {failed(target), MsgAnswer::Cancel}});
    EXPECT_TRUE(window.isShown());
    EXPECT_EQ(namesIn(target), (std::set<std::string>{"A.MEM", "B.MEM"}));

    platform.beforeAnswer = [this](const Message& m) {
        if (m != failed(target)) return;
        fs::remove(target / "B.MEM");
        spit(target / "A.MEM", "stale");
    };
    backUp(target, {{failed(target), MsgAnswer::Ok}, {kDone, MsgAnswer::Ok}});
    EXPECT_FALSE(window.isShown());
    for (const char* name : {"A.MEM", "b.mem", "B.MEM", "Tosbel.ini"})
        EXPECT_EQ(slurp(target / name), slurp(source.path() / name)) << name;
}

// A disk that fills midway leaves the older copy whole and no stray file.
TEST_F(BackupTest, AFullDiskLeavesTheOlderCopyWhole) {
    TOSBEL_POSIX_ONLY("a file-size limit for one process");
    state.BackDT = {"0", "0", "0", "1"};
    spit(source.path() / "ONE.BMP", std::string(64 * 1024, 'x'));
    spit(target / "ONE.BMP", "older picture");
    window.show();
    const auto run = [this] {
        backUp(target, {{failed(target), MsgAnswer::Cancel}});
        return window.isShown() && platform.scriptDone();
    };
    EXPECT_EQ(writeWithFileSizeLimit(1024, run), LimitedWrite::Wrote);
    EXPECT_EQ(namesIn(target), std::set<std::string>{"ONE.BMP"});
    EXPECT_EQ(slurp(target / "ONE.BMP"), "older picture");
}

// A copy inside the program folder is lost with it: another folder is asked for.
TEST_F(BackupTest, TheProgramFolderItselfIsRefusedAsTheTarget) {
    window.show();
    backUp(source.path(), {{{"プログラムのフォルダにはバックアップできません。\r\r"
                             "ＵＳＢメモリや別のドライブなど、別のフォルダを選んで下さい。",
                             "ﾊﾞｯｸｱｯﾌﾟ準備", MsgButtons::Ok, MsgIcon::Exclamation},
                            MsgAnswer::Ok}});
    EXPECT_TRUE(window.isShown());
}

// A photograph saved as a countdown picture is larger than any file the
// program reads whole; the backup copies it all the same.
TEST_F(BackupTest, APictureOfAnySizeIsCopied) {
    state.BackDT = {"0", "0", "0", "1"};
    const fs::path big = source.path() / "TWO.BMP";
    spit(big, "BM");
    fs::resize_file(big, 70 * 1024 * 1024);  // sparse: quick to make, whole to read
    window.show();
    backUp(target);
    EXPECT_EQ(fs::file_size(target / "TWO.BMP"), 70u * 1024 * 1024);
    EXPECT_EQ(slurp(target / "ONE.BMP"), "BM");
}

// A source file that cannot be read is named; the USB stick is not blamed.
TEST_F(BackupTest, AnUnreadableSourceIsNamedAndStopsTheBackup) {
    TOSBEL_POSIX_ONLY("a file whose reading fails");
    fs::create_symlink("/proc/self/mem", source.path() / "BAD.MEM");
    const std::string bad = (source.path() / "BAD.MEM").string();
    window.show();
    backUp(target, {{{"ﾌｧｲﾙ「" + bad +
                          "」を読み込めないので、バックアップできませんでした。\r\r"
                          "ﾌｧｲﾙが読み込めるか確認して下さい。",
                      "ﾊﾞｯｸｱｯﾌﾟ確認", MsgButtons::Ok, MsgIcon::Exclamation},
                     MsgAnswer::Ok}});
    EXPECT_TRUE(window.isShown());
}

// With a floppy drive the backup goes to its root, in the drive's own words;
// OK after the disk is in carries on.
TEST_F(BackupTest, AFloppyDriveIsTheTargetWithoutAFolderDialog) {
    const Message prepare{"データのバックアップをとります。 フロッピーディスクをセットして下さい。",
                          "ﾊﾞｯｸｱｯﾌﾟ準備", MsgButtons::OkCancel, MsgIcon::Question};
    const Message noDisk{
        "ドライブＡにフロッピーディスクがセットされていません。\r\r"
        "処理を続ける場合はフロッピーディスクをセットして下さい。",
        "ﾊﾞｯｸｱｯﾌﾟ準備", MsgButtons::OkCancel, MsgIcon::Question};
    const fs::path drive = out.path() / "A";
    platform.beforeAnswer = [&](const Message& m) {
        if (m == noDisk) fs::create_directories(drive);
    };
    BackupWindow floppy(state, platform, drive.string());
    floppy.show();
    platform.answerMessage(prepare);
    platform.answerMessage(noDisk);
    platform.answerMessage(kDone);
    Driver(platform, floppy).click("Command1_0");
    EXPECT_EQ(namesIn(drive), (std::set<std::string>{"A.MEM", "b.mem", "Tosbel.ini"}));
    EXPECT_TRUE(platform.folderDialogs.empty());
}

}  // namespace
}  // namespace tosbel

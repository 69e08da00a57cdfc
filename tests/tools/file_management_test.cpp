#include "tools/file_management.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "core/app_state.h"
#include "platform/file_io.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "tests/headless_test.h"
#include "tests/posix_only.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

namespace fs = std::filesystem;

const Message kCopied{"ファイルをコピーしました。", "複写確認", MsgButtons::Ok,
                      MsgIcon::Information};
const Message kNoDestination{"コピー先が入力されていません。", "入力確認", MsgButtons::Ok,
                             MsgIcon::Information};
const Message kRenamed{"ファイル名を変更しました。", "変更確認", MsgButtons::Ok,
                       MsgIcon::Information};
const Message kNoNewName{"新しい名前が入力されていません。", "ﾌｧｲﾙ名入力確認", MsgButtons::Ok,
                         MsgIcon::Information};
const Message kDeleteQuestion{"指定されたﾌｧｲﾙを削除します。 よろしいですか？", "削除確認",
                              MsgButtons::OkCancel, MsgIcon::Question};
const Message kDeleted{"指定されたﾌｧｲﾙを削除しました。", "削除情報", MsgButtons::Ok,
                       MsgIcon::Information};
const char* const kRosterFilter =
    "名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*";

// The program folder is the working folder, as start-up leaves it; the class's
// files lie in a folder of their own, so a name that lands in the wrong one
// shows.
class FileManagementTest : public HeadlessTest {
protected:
    FileManagementTest() {
        fs::create_directories(program);
        fs::create_directories(classes);
        fs::current_path(program);
        platform.folder = program.string();
        spit(classes / "1A.MEM", "yamada\r\n");
        spit(classes / "1B.MEM", "suzuki\r\n");
        state.RosterPath = (classes / "1A.MEM").string();
    }
    ~FileManagementTest() override {
        std::error_code ec;
        fs::current_path(fs::temp_directory_path(ec), ec);
    }
    // The window the command opens, driven by `act`; it must close it.
    void inWindow(const std::string& expected, std::function<void(Form&, Driver&)> act) {
        platform.modalDriver = [this, expected, act](Form& f) {
            EXPECT_EQ(f.name, expected);
            Driver d(platform, f);
            act(f, d);
            EXPECT_FALSE(f.isShown());
        };
    }
    std::vector<std::string> filesIn(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    fs::path program = dir.path() / "prog";
    fs::path classes = dir.path() / "class";
    AppState state;
};

using Names = std::vector<std::string>;

TEST_F(FileManagementTest, CopyReplacesABareNameBesideTheFileAndForgetsTheRoster) {
    spit(classes / "1C", "old");
    platform.answerFileDialog((classes / "1B.MEM").string());
    platform.answerMessage(kNoDestination);
    platform.answerMessage(kCopied);
    inWindow("FILESCOPY", [&](Form& f, Driver& d) {
        EXPECT_EQ(f.caption, "ファイルのコピー");
        const Control& from = d.control("Label3");
        EXPECT_EQ(from.caption, "1B.MEM");
        EXPECT_EQ(from.backColor, (Rgb{0x40, 0x40, 0x40}));
        EXPECT_EQ(from.foreColor, (Rgb{0xFF, 0xFF, 0x80}));
        EXPECT_EQ(d.control("Text1").foreColor, (Rgb{0xFF, 0xFF, 0x00}));
        d.click("Command1_2");
        d.click("Command1_0");
        EXPECT_TRUE(f.isShown());
        d.type("Text1", "1C");
        d.click("Command1_0");
    });
    copyDataFile(state, platform);

    EXPECT_EQ(platform.openDialogs,
              (std::vector<FileDialogRequest>{
                  {"コピーするﾌｧｲﾙを選択",
                   "名簿ﾌｧｲﾙ(*.MEM)|*.MEM|ﾚｲｱｳﾄ(*.LAY)|*.LAY|すべてのﾌｧｲﾙ(*.*)|*.*",
                   program.string(), ""}}));
    EXPECT_EQ(platform.helps, (std::vector<HelpRequest>{{HelpCommand::Context, 29}}));
    EXPECT_EQ(slurp(classes / "1C"), "suzuki\r\n");
    EXPECT_EQ(filesIn(classes), (Names{"1A.MEM", "1B.MEM", "1C"}));  // no temporary left
    EXPECT_EQ(filesIn(program), Names{});
    EXPECT_EQ(state.RosterPath, "");
}

TEST_F(FileManagementTest, CopyCancelledAnywhereCopiesNothingAndStillForgetsTheRoster) {
    platform.answerFileDialog("");
    copyDataFile(state, platform);
    EXPECT_EQ(state.RosterPath, "");

    state.RosterPath = "1A.MEM";
    platform.answerFileDialog((classes / "1A.MEM").string());
    inWindow("FILESCOPY", [](Form&, Driver& d) {
        d.type("Text1", "1D.MEM");
        d.click("Command1_1");
    });
    copyDataFile(state, platform);
    EXPECT_EQ(state.RosterPath, "");
    EXPECT_EQ(filesIn(classes), (Names{"1A.MEM", "1B.MEM"}));
}

TEST_F(FileManagementTest, AFailedCopyNamesTheReasonAndKeepsTheWindowAndTheFileThere) {
    TOSBEL_POSIX_ONLY("permission bits that bind");
    spit(classes / "1C.MEM", "kept");
    fs::permissions(classes / "1C.MEM", fs::perms::owner_write, fs::perm_options::remove);
    platform.answerFileDialog((classes / "1A.MEM").string());
    platform.answerMessage(
        {"「1A.MEM」を「1C.MEM」にコピーできませんでした。\r\r"
         "コピー先のファイルは書き込みが禁止されています。",
         "複写確認", MsgButtons::Ok, MsgIcon::Critical});
    inWindow("FILESCOPY", [](Form& f, Driver& d) {
        d.type("Text1", "1C.MEM");
        d.click("Command1_0");
        EXPECT_TRUE(f.isShown());
        d.click("Command1_1");
    });
    copyDataFile(state, platform);
    EXPECT_EQ(slurp(classes / "1C.MEM"), "kept");
}

// The keys of every dialog: Enter after the name is 了解, Escape is 取消.
TEST_F(FileManagementTest, EnterAfterTheNameConfirmsAndEscapeCancels) {
    platform.answerFileDialog((classes / "1B.MEM").string());
    platform.answerMessage(kCopied);
    inWindow("FILESCOPY", [](Form&, Driver& d) {
        d.type("Text1", "1C.MEM");
        d.key(kKeyEnter);
    });
    copyDataFile(state, platform);
    platform.answerFileDialog((classes / "1B.MEM").string());
    inWindow("RENAME", [](Form&, Driver& d) {
        d.type("Text1", "2B.MEM");
        d.key(kKeyEscape);
    });
    renameDataFile(state, platform);
    EXPECT_EQ(filesIn(classes), (Names{"1A.MEM", "1B.MEM", "1C.MEM"}));
}

TEST_F(FileManagementTest, RenameKeepsTheFolderAddsNoExtensionAndLeavesTheRosterAlone) {
    platform.answerFileDialog((classes / "1B.MEM").string());
    platform.answerMessage(kNoNewName);
    platform.answerMessage(kRenamed);
    inWindow("RENAME", [](Form& f, Driver& d) {
        EXPECT_EQ(f.caption, "ファイル名の変更");
        EXPECT_EQ(d.control("Label2").caption, "1B.MEM");
        d.click("Command1_2");
        d.click("Command1_0");
        EXPECT_EQ(f.focused(), &d.control("Text1"));
        d.type("Text1", "2B");
        d.click("Command1_0");
    });
    const unsigned long flushed = fileSyncCounts().folders;
    renameDataFile(state, platform);
    EXPECT_EQ(fileSyncCounts().folders, flushed + 1) << "the new name is on the disk";

    EXPECT_EQ(platform.openDialogs.at(0),
              (FileDialogRequest{"名前を変更するﾌｧｲﾙを選択", kRosterFilter, program.string(), ""}));
    EXPECT_EQ(platform.helps, (std::vector<HelpRequest>{{HelpCommand::Context, 30}}));
    EXPECT_EQ(filesIn(classes), (Names{"1A.MEM", "2B"}));
    EXPECT_EQ(slurp(classes / "2B"), "suzuki\r\n");
    EXPECT_EQ(state.RenamePath, "");
    EXPECT_EQ(state.RosterPath, (classes / "1A.MEM").string());
}

// The same file under a second name: the system would report a copy or a
// rename done and change nothing.
TEST_F(FileManagementTest, CopyOrRenameOntoTheFileItselfIsRefused) {
    TOSBEL_POSIX_ONLY("hard links");
    fs::create_hard_link(classes / "1B.MEM", classes / "link.MEM");
    const auto refusedIn = [&](const std::string& window, const std::string& typed,
                               const Message& refusal) {
        platform.answerFileDialog((classes / "1B.MEM").string());
        platform.answerMessage(refusal);
        inWindow(window, [typed](Form& f, Driver& d) {
            d.type("Text1", typed);
            d.click("Command1_0");
            EXPECT_TRUE(f.isShown());
            d.click("Command1_1");
        });
        if (window == "RENAME")
            renameDataFile(state, platform);
        else
            copyDataFile(state, platform);
    };
    for (const char* typed : {"1B.MEM", "link.MEM"}) {
        refusedIn("FILESCOPY", typed,
                  {"「1B.MEM」を「" + std::string(typed) +
                       "」にコピーできませんでした。\r\r"
                       "コピー元と同じファイルです。別の名前を入力して下さい。",
                   "複写確認", MsgButtons::Ok, MsgIcon::Critical});
        refusedIn("RENAME", typed,
                  {"「1B.MEM」の名前を「" + std::string(typed) +
                       "」に変更できませんでした。\r\r"
                       "元のファイルと同じファイルです。別の名前を入力して下さい。",
                   "変更確認", MsgButtons::Ok, MsgIcon::Critical});
    }
    EXPECT_EQ(filesIn(classes), (Names{"1A.MEM", "1B.MEM", "link.MEM"}));
    EXPECT_EQ(slurp(classes / "1B.MEM"), "suzuki\r\n");
}

// Every name the program makes must go onto a USB stick and a Windows PC.
TEST_F(FileManagementTest, BlankNamesAndCharactersSticksCannotHoldAreRefused) {
    std::vector<std::string> names = {"   ", "\u3000", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"};
#ifndef _WIN32
    // Where they do not part a drive or a folder from the name.
    names.insert(names.end(), {"a:b.MEM", "a\\b"});
#endif
    for (const std::string& typed : names) {
        SCOPED_TRACE(typed);
        platform.answerFileDialog((classes / "1B.MEM").string());
        platform.answerMessage(
            {"「1B.MEM」を「" + typed + "」にコピーできませんでした。\r\r名前が正しくありません。",
             "複写確認", MsgButtons::Ok, MsgIcon::Critical});
        inWindow("FILESCOPY", [typed](Form&, Driver& d) {
            d.type("Text1", typed);
            d.click("Command1_0");
            d.click("Command1_1");
        });
        copyDataFile(state, platform);
        platform.answerFileDialog((classes / "1B.MEM").string());
        platform.answerMessage({"「1B.MEM」の名前を「" + typed +
                                    "」に変更できませんでした。\r\r名前が正しくありません。",
                                "変更確認", MsgButtons::Ok, MsgIcon::Critical});
        inWindow("RENAME", [typed](Form&, Driver& d) {
            d.type("Text1", typed);
            d.click("Command1_0");
            d.click("Command1_1");
        });
        renameDataFile(state, platform);
    }
    EXPECT_EQ(filesIn(classes), (Names{"1A.MEM", "1B.MEM"}));
}

TEST_F(FileManagementTest, RenameOntoAnExistingFileIsRefusedWithBothFilesIntact) {
    platform.answerFileDialog((classes / "1B.MEM").string());
    platform.answerMessage(
        {"「1B.MEM」の名前を「1A.MEM」に変更できませんでした。\r\r"
         "同じ名前のファイルがすでにあります。別の名前を入力して下さい。",
         "変更確認", MsgButtons::Ok, MsgIcon::Critical});
    inWindow("RENAME", [](Form& f, Driver& d) {
        d.type("Text1", "1A.MEM");
        d.click("Command1_0");
        EXPECT_TRUE(f.isShown());
        EXPECT_EQ(f.focused(), &d.control("Text1"));
        d.click("Command1_1");
    });
    renameDataFile(state, platform);
    EXPECT_EQ(slurp(classes / "1A.MEM"), "yamada\r\n");
    EXPECT_EQ(slurp(classes / "1B.MEM"), "suzuki\r\n");
    EXPECT_EQ(state.RenamePath, "");
}

// A roster's seat wishes go where it goes; those under the copy's wish name
// from an earlier roster go to the trash.
TEST_F(FileManagementTest, CopyTakesTheRostersWishesAndLeavesNoOlderOnesOnTheCopy) {
    spit(classes / "1A.KIB", "wishes of 1A");
    const auto copy = [&](const char* picked, const char* typed) {
        platform.answerFileDialog((classes / picked).string());
        platform.answerMessage(kCopied);
        inWindow("FILESCOPY", [typed](Form&, Driver& d) {
            d.type("Text1", typed);
            d.click("Command1_0");
        });
        copyDataFile(state, platform);
    };
    copy("1A.MEM", "2A.MEM");
    EXPECT_EQ(slurp(classes / "2A.KIB"), "wishes of 1A");
    copy("1B.MEM", "2A.MEM");
    EXPECT_EQ(platform.trashed, Names{(classes / "2A.KIB").string()});
    EXPECT_EQ(filesIn(classes), (Names{"1A.KIB", "1A.MEM", "1B.MEM", "2A.MEM"}));
}

// The roster is copied all the same; the notice says its wishes were not and
// that the older ones there, left whole, now apply to it.
TEST_F(FileManagementTest, WishesThatCannotBeCopiedAreNamedAndTheOlderOnesStay) {
    TOSBEL_POSIX_ONLY("permission bits that bind");
    spit(classes / "1A.KIB", "new");
    spit(classes / "2A.KIB", "old");
    fs::permissions(classes / "2A.KIB", fs::perms::owner_write, fs::perm_options::remove);
    platform.answerFileDialog((classes / "1A.MEM").string());
    platform.answerMessage(
        {"「1A.MEM」を「2A.MEM」にコピーしましたが、席の希望のファイル「1A.KIB」はコピーできません"
         "でした。\r\rコピー先のファイルは書き込みが禁止されています。\r\r"
         "コピーした名簿には、前からあった席の希望のファイル「2A.KIB」の希望が使われます。",
         "複写確認", MsgButtons::Ok, MsgIcon::Exclamation});
    inWindow("FILESCOPY", [](Form&, Driver& d) {
        d.type("Text1", "2A.MEM");
        d.click("Command1_0");
    });
    copyDataFile(state, platform);
    EXPECT_EQ(slurp(classes / "2A.MEM"), "yamada\r\n");
    EXPECT_EQ(slurp(classes / "2A.KIB"), "old");
}

// The wishes take the new name, never over another file: refused, they keep
// their old name and the notice says where they are.
TEST_F(FileManagementTest, RenameTakesTheWishesAlongAndNeverLosesThem) {
    spit(classes / "1A.KIB", "wishes");
    spit(classes / "3A.KIB", "other");
    const auto rename = [&](const char* picked, const char* typed, const Message& notice) {
        platform.answerFileDialog((classes / picked).string());
        platform.answerMessage(notice);
        inWindow("RENAME", [typed](Form&, Driver& d) {
            d.type("Text1", typed);
            d.click("Command1_0");
        });
        renameDataFile(state, platform);
    };
    rename("1A.MEM", "2A.MEM", kRenamed);
    rename("2A.MEM", "3A.MEM",
           {"「2A.MEM」の名前を「3A.MEM」に変更しましたが、席の希望のファイル「2A.KIB」の名前は"
            "変更できませんでした。\r\r「3A.KIB」という名前のファイルかフォルダがすでにあります。"
            "\r\r席の希望は「2A.KIB」のまま残っています。",
            "変更確認", MsgButtons::Ok, MsgIcon::Exclamation});
    EXPECT_EQ(filesIn(classes), (Names{"1B.MEM", "2A.KIB", "3A.KIB", "3A.MEM"}));
    EXPECT_EQ(slurp(classes / "2A.KIB"), "wishes");
    EXPECT_EQ(slurp(classes / "3A.KIB"), "other");
}

// Results: one still there, one gone, one there, then an empty line and one
// more that is there; a relative entry counts from the program folder.
class DeleteTest : public FileManagementTest {
protected:
    DeleteTest() {
        for (const char* name : {"a.RLT", "c.RLT", "d.RLT"}) spit(classes / name, "");
        spit(program / "r.RLT", "");
        spit(history, entry("a.RLT") + entry("gone.RLT") + "r.RLT\r\n" + entry("c.RLT") + "\r\n" +
                          entry("d.RLT"));
    }
    std::string entry(const char* name) { return (classes / name).string() + "\r\n"; }
    void pickAndAnswer(const fs::path& file, MsgAnswer answer) {
        platform.answerFileDialog(file.string());
        platform.answerMessage(kDeleteQuestion, answer);
    }

    fs::path history = program / "Tosbel.ini";
};

TEST_F(DeleteTest, DeletedIntoTheTrashAndTheHistoryKeepsEveryEntryStillThere) {
    pickAndAnswer(classes / "1B.MEM", MsgAnswer::Ok);
    platform.answerMessage(kDeleted);
    deleteDataFile(state, platform);

    EXPECT_EQ(platform.openDialogs.at(0),
              (FileDialogRequest{"削除するﾌｧｲﾙを選択", kRosterFilter, program.string(), ""}));
    EXPECT_EQ(platform.trashed, Names{(classes / "1B.MEM").string()});
    EXPECT_FALSE(fs::exists(classes / "1B.MEM"));
    // The empty line goes, and the entry after it stays.
    EXPECT_EQ(slurp(history), entry("a.RLT") + "r.RLT\r\n" + entry("c.RLT") + entry("d.RLT"));
    EXPECT_EQ(state.RosterPath, "");
}

// A history made by hand, longer than the program keeps: nothing but the
// entries whose files are gone is dropped.
TEST_F(DeleteTest, AHandMadeLongHistoryLosesOnlyTheEntriesWhoseFilesAreGone) {
    std::string made;
    for (int i = 1; i <= 20; ++i) {
        const std::string name = std::to_string(i) + ".RLT";
        if (i != 7) spit(classes / name, "");
        made += entry(name.c_str());
    }
    spit(history, made);
    pickAndAnswer(classes / "1B.MEM", MsgAnswer::Ok);
    platform.answerMessage(kDeleted);
    deleteDataFile(state, platform);
    std::string expected;
    for (int i = 1; i <= 20; ++i)
        if (i != 7) expected += entry((std::to_string(i) + ".RLT").c_str());
    EXPECT_EQ(slurp(history), expected);
}

TEST_F(DeleteTest, WithoutATrashTheFileIsRemoved) {
    platform.hasTrash = false;
    pickAndAnswer(classes / "c.RLT", MsgAnswer::Ok);
    platform.answerMessage(kDeleted);
    deleteDataFile(state, platform);
    EXPECT_FALSE(fs::exists(classes / "c.RLT"));
    EXPECT_EQ(platform.trashed, Names{});
    EXPECT_EQ(slurp(history), entry("a.RLT") + "r.RLT\r\n" + entry("d.RLT"));
}

// A roster's wishes go the same way; a result's namesake stays; wishes that
// cannot go are named.
TEST_F(DeleteTest, ARostersWishesGoWithItAndNoOtherFilesDo) {
    spit(classes / "1B.KIB", "");
    spit(classes / "c.KIB", "");
    fs::create_directories(classes / "1A.KIB");
    pickAndAnswer(classes / "1B.MEM", MsgAnswer::Ok);
    platform.answerMessage(kDeleted);
    deleteDataFile(state, platform);
    EXPECT_EQ(platform.trashed,
              (Names{(classes / "1B.MEM").string(), (classes / "1B.KIB").string()}));

    pickAndAnswer(classes / "c.RLT", MsgAnswer::Ok);
    platform.answerMessage(kDeleted);
    deleteDataFile(state, platform);
    EXPECT_TRUE(fs::exists(classes / "c.KIB"));

    pickAndAnswer(classes / "1A.MEM", MsgAnswer::Ok);
    platform.answerMessage(
        {"「1A.MEM」を削除しましたが、席の希望のファイル「1A.KIB」は削除できま"
         "せんでした。\r\rフォルダは削除できません。",
         "削除確認", MsgButtons::Ok, MsgIcon::Exclamation});
    deleteDataFile(state, platform);
    EXPECT_FALSE(fs::exists(classes / "1A.MEM"));
}

TEST_F(DeleteTest, CancelledOrFailedLeavesFileAndHistoryAsTheyWere) {
    const std::string before = slurp(history);
    platform.answerFileDialog("");
    deleteDataFile(state, platform);
    EXPECT_EQ(state.RosterPath, "");

    state.RosterPath = "1A.MEM";
    pickAndAnswer(classes / "1A.MEM", MsgAnswer::Cancel);
    deleteDataFile(state, platform);
    EXPECT_TRUE(fs::exists(classes / "1A.MEM"));
    EXPECT_EQ(state.RosterPath, "");

    pickAndAnswer(classes / "gone.MEM", MsgAnswer::Ok);
    platform.answerMessage({"「gone.MEM」を削除できませんでした。\r\rファイルが見つかりません。",
                            "削除確認", MsgButtons::Ok, MsgIcon::Critical});
    deleteDataFile(state, platform);
    EXPECT_EQ(slurp(history), before);
    EXPECT_EQ(state.RosterPath, "");
}

}  // namespace
}  // namespace tosbel

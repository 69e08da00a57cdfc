#include "roster/roster_editor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/seat_wishes.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "roster/roster_file.h"
#include "tests/headless_test.h"
#include "tests/posix_only.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

namespace fs = std::filesystem;

const char* const kFilter = "名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*";
const Message kRegistered{"新規にメンバーを登録しました。", "登録確認", MsgButtons::Ok,
                          MsgIcon::Information};
const Message kModified{"メンバーを修正しました。", "修正確認", MsgButtons::Ok,
                        MsgIcon::Information};
const Message kChanged{"名簿は変更されています。 保存しますか？", "変更確認", MsgButtons::OkCancel,
                       MsgIcon::Question};
const Message kCancelNew{"新規名簿を取消してよろしいですか？", "新規作成", MsgButtons::OkCancel,
                         MsgIcon::Question};
const Message kDelete{"指定されたメンバーを削除しますか？", "削除確認", MsgButtons::OkCancel,
                      MsgIcon::Question};

Message refused(const std::string& text) {
    return {text, "氏名確認", MsgButtons::Ok, MsgIcon::Exclamation};
}
Message cannotSave(const std::string& path) {
    return {"名簿「" + path +
                "」を保存できませんでした。\r\r"
                "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを確認して下さい。",
            "保存確認", MsgButtons::Ok, MsgIcon::Critical};
}

Message count(int present, int absent) {
    return {"出席者は " + std::to_string(present) + "人  \r\r欠席者は " + std::to_string(absent) +
                "人  ",
            "出欠人数確認", MsgButtons::Ok, MsgIcon::Information};
}

// The editor as the main window opens it, on a headless platform; the file
// dialogs and message boxes are answered from the test's script.
class RosterEditorTest : public HeadlessTest {
protected:
    RosterEditorTest() {
        platform.folder = dir.path().string();
        state.OptDbl2 = "0";
        state.OptCent = "0";
    }

    // A roster read from a file, as the main window's open command leaves it.
    void openedFrom(const std::string& path, const std::vector<std::string>& names) {
        state.RosterPath = path;
        state.OpenedFromFile = 1;
        state.ModifyFlag = 1;
        state.MemberCount = static_cast<std::int16_t>(names.size());
        for (std::size_t k = 0; k < names.size(); ++k) state.Members[k + 1] = names[k];
    }
    RosterEditor& open() {
        editor.show();
        return editor;
    }
    // The teacher selects what the box holds and types over it.
    void retype(int box, const std::string& text) {
        TextBox& t = editor.Text1[static_cast<std::size_t>(box)];
        t.selStart = 0;
        t.selLength = static_cast<int>(utf8Count(t.text));
        driver.type("Text1_" + std::to_string(box), text);
    }
    std::vector<std::string> boxes(std::size_t count) const {
        std::vector<std::string> texts;
        for (std::size_t k = 0; k < count; ++k) texts.push_back(editor.Text1[k].text);
        return texts;
    }
    std::vector<std::string> members() const {
        return {state.Members.begin() + 1, state.Members.begin() + 1 + state.MemberCount};
    }

    TempDir dir;
    AppState state;
    int handedOver = 0;
    RosterEditor editor{state, platform, {nullptr, [this] { ++handedOver; }}, false};
    Driver driver{platform, editor};
};

TEST_F(RosterEditorTest, SaveAsWritesEveryNameAndKeepsOnlyTheAttendees) {
    open();
    driver.type("Text1_0", "山田太郎");
    driver.type("Text1_1", "佐藤花子");
    driver.type("Text1_3", "鈴木一郎");  // number 3 is left empty
    driver.tick("Check1_3");
    const std::string path = dir.file("3A.MEM");
    platform.answerFileDialog(path);
    platform.answerMessage(kRegistered);
    platform.answerMessage(count(2, 1));

    driver.menu("mnuNewFile");

    // The worked example of the roster format: three names, CR LF, code page 932.
    EXPECT_EQ(slurp(path), slurp(fs::path(TEST_DATA_DIR) / "three_members.MEM"));
    EXPECT_EQ(platform.saveDialogs,
              (std::vector<FileDialogRequest>{{"", kFilter, dir.path().string(), ""}}));
    EXPECT_EQ(members(), (std::vector<std::string>{"山田太郎", "佐藤花子"}));
    EXPECT_EQ(state.Members[3], "");
    EXPECT_EQ(state.RegisteredCount, 3);
    EXPECT_EQ(state.RosterPath, path);
    EXPECT_FALSE(editor.isLoaded());
    EXPECT_EQ(handedOver, 1);
    EXPECT_NE(platform.store.read("Position", "T_Top"), "");
}

TEST_F(RosterEditorTest, NoticesFollowTheCommandAndWhetherTheRosterWasOpened) {
    struct Case {
        bool overwrite;
        int modifyFlag;
        std::vector<Message> notices;
    };
    const Case cases[] = {
        {true, 0, {kRegistered}},
        {true, 1, {kModified, count(1, 1)}},
        {false, 0, {kRegistered, count(1, 1)}},
        {false, 1, {kModified}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.overwrite ? "overwrite" : "save as") + " with ModifyFlag " +
                     std::to_string(c.modifyFlag));
        HeadlessPlatform p;
        AppState s;
        const std::string path = dir.file("class.MEM");
        s.RosterPath = path;
        s.ModifyFlag = static_cast<std::int16_t>(c.modifyFlag);
        RosterEditor e(s, p, {}, false);
        e.show();
        Driver d(p, e);
        d.type("Text1_0", "青木");
        d.type("Text1_1", "井上");
        d.tick("Check1_1");
        if (!c.overwrite) p.answerFileDialog(path);
        for (const Message& m : c.notices) p.answerMessage(m);

        d.menu(c.overwrite ? "mnuFileOverWrite" : "mnuNewFile");

        EXPECT_TRUE(p.scriptDone()) << p.unusedScript();
        EXPECT_EQ(s.ModifyFlag, 0);
        EXPECT_EQ(readRoster(path).names, (std::vector<std::string>{"青木", "井上"}));
        EXPECT_FALSE(e.isLoaded());
    }
}

TEST_F(RosterEditorTest, OverwriteWithoutARosterFileDoesNothing) {
    open();
    driver.type("Text1_0", "青木");
    driver.menu("mnuFileOverWrite");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(editor.isLoaded());
    EXPECT_EQ(members(), std::vector<std::string>{"青木"});
}

TEST_F(RosterEditorTest, EqualNamesBlockTheSaveButATrailingBlankMakesANewName) {
    open();
    driver.type("Text1_0", "ab");
    driver.type("Text1_57", "ab");
    platform.answerMessage(
        {"同じ氏名を登録しようとしました。", "登録者重複", MsgButtons::Ok, MsgIcon::Critical});
    driver.menu("mnuNewFile");
    EXPECT_TRUE(platform.saveDialogs.empty());
    EXPECT_TRUE(editor.isLoaded());

    driver.type("Text1_57", " ");
    const std::string path = dir.file("blank.MEM");
    platform.answerFileDialog(path);
    platform.answerMessage(kRegistered);
    platform.answerMessage(count(2, 0));
    driver.menu("mnuNewFile");
    EXPECT_EQ(slurp(path), "ab\r\nab \r\n");
}

TEST_F(RosterEditorTest, NoNamesAsksWhetherToRegisterOkKeepsTypingCancelCloses) {
    open();
    platform.answerMessage({"新規にメンバーが登録されていません。 登録しますか？", "登録確認",
                            MsgButtons::OkCancel, MsgIcon::Question},
                           MsgAnswer::Ok);
    driver.menu("mnuFileOverWrite");
    EXPECT_TRUE(editor.isLoaded());
    EXPECT_EQ(state.NoMembers, 0);

    platform.answerMessage({"新規にメンバーが登録されていません。登録しますか？", "登録確認",
                            MsgButtons::OkCancel, MsgIcon::Question},
                           MsgAnswer::Cancel);
    driver.menu("mnuNewFile");
    EXPECT_FALSE(editor.isLoaded());
    EXPECT_EQ(state.MemberCount, 0);
    EXPECT_EQ(state.NoMembers, 1);
    EXPECT_TRUE(platform.saveDialogs.empty());
}

TEST_F(RosterEditorTest, DraggingANameCopiesItWithItsMarkAndLeavesTheSource) {
    open();
    driver.type("Text1_4", "佐藤");
    driver.tick("Check1_4");

    // Anywhere but a name box, the drop is not taken.
    driver.drag("Text1_4", "");
    EXPECT_EQ(editor.Text1[0].dragIcon, "DRAG2.ICO");
    driver.drag("Text1_4", "Label2_1");
    EXPECT_EQ(editor.Text1[0].dragIcon, "DRAG2.ICO");

    driver.drag("Text1_4", "Text1_9");
    EXPECT_EQ(editor.Text1[99].dragIcon, "DRAG.ICO");
    EXPECT_EQ(editor.Text1[9].text, "佐藤");
    EXPECT_EQ(editor.Check1[9].value, 1);
    EXPECT_EQ(editor.Text1[4].text, "佐藤");
    EXPECT_EQ(editor.focused(), &editor.Text1[9]);
    EXPECT_EQ(editor.T_Index, 9);
    for (int i = 0; i < 100; ++i) {
        if (i == 4 || i == 9) continue;
        EXPECT_EQ(editor.Text1[static_cast<std::size_t>(i)].text, "") << i;
    }
}

TEST_F(RosterEditorTest, CloseAsksOnlyWhenTheNamesChanged) {
    openedFrom(dir.file("a.MEM"), {"青木", "井上"});
    open();
    driver.tick("Check1_1");
    driver.menu("mnuCancel");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(editor.isLoaded());
    EXPECT_EQ(state.RosterChanged, 0);
    EXPECT_NE(platform.store.read("Position", "T_Left"), "");
}

TEST_F(RosterEditorTest, ALongNameFromAFileIsCutAndCloseReportsTheChange) {
    openedFrom(dir.file("a.MEM"), {"一二三四五", "井上"});
    open();
    EXPECT_EQ(editor.Text1[0].text, "一二三四");
    platform.answerMessage(kChanged, MsgAnswer::Cancel);
    driver.menu("mnuCancel");
    EXPECT_EQ(state.RosterChanged, 1);
    EXPECT_FALSE(editor.isLoaded());
}

TEST_F(RosterEditorTest, ASaveAskedForOnCloseThatDoesNotHappenKeepsTheNames) {
    const std::string path = dir.file("a.MEM");
    openedFrom(path, {"青木"});
    open();
    driver.type("Text1_1", "井上");
    platform.answerMessage(kChanged, MsgAnswer::Ok);
    platform.answerFileDialog("");  // the teacher cancels the dialog
    driver.menu("mnuCancel");
    EXPECT_TRUE(editor.isLoaded());
    EXPECT_EQ(editor.Text1[1].text, "井上");

    // That attempt rebuilt the member list: the next change is what Close sees.
    driver.type("Text1_2", "上田");
    platform.answerMessage(kChanged, MsgAnswer::Ok);
    platform.answerFileDialog(path);
    platform.answerMessage(kModified);
    driver.toolbar("Toolbar1_3");
    EXPECT_FALSE(editor.isLoaded());
    EXPECT_EQ(readRoster(path).names, (std::vector<std::string>{"青木", "井上", "上田"}));
    EXPECT_EQ(handedOver, 1);
}

TEST_F(RosterEditorTest, ClosingANewRosterAsksFirst) {
    open();
    driver.type("Text1_0", "青木");
    platform.answerMessage(kCancelNew, MsgAnswer::Cancel);
    driver.menu("mnuCancel");
    EXPECT_TRUE(editor.isLoaded());
    platform.answerMessage(kCancelNew, MsgAnswer::Ok);
    driver.menu("mnuCancel");
    EXPECT_FALSE(editor.isLoaded());
}

TEST_F(RosterEditorTest, DoubleClickClosesAtOnceOnlyWithTheOptionOn) {
    open();
    driver.type("Text1_0", "青木");
    driver.dblClick("Text1_0");
    EXPECT_TRUE(editor.isLoaded());

    driver.menu("mnuOptBack");
    EXPECT_EQ(state.OptDbl2, "1");
    EXPECT_EQ(platform.store.read("Config", "OptDbl2"), "1");
    editor.left = 1230;
    driver.dblClick("Text1_0");
    EXPECT_FALSE(editor.isLoaded());
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(platform.store.read("Position", "T_Left"), "1230");
    EXPECT_EQ(state.T_Left, 1230);
}

TEST_F(RosterEditorTest, NamesTheFileWouldChangeAreRefusedBeforeAnythingIsWritten) {
    struct Case {
        const char* name;
        const char* notice;
    };
    const Case cases[] = {
        {"山田,太郎", "12番の氏名に「,」は使えません。"},
        {"\"山田", "12番の氏名の先頭に「\"」は使えません。"},
        {" 山田", "12番の氏名の先頭に空白は使えません。"},
        {"-", "12番の氏名を「-」にはできません。「-」は空座席の印です。"},
    };
    open();
    driver.type("Text1_0", "青木");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        retype(11, c.name);
        platform.answerMessage(refused(c.notice));
        driver.menu("mnuNewFile");
        EXPECT_EQ(editor.focused(), &editor.Text1[11]);
    }
    EXPECT_TRUE(platform.saveDialogs.empty());
    EXPECT_TRUE(editor.isLoaded());
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(RosterEditorTest, AUtf8NameCodePage932CannotHoldIsNamedAtTheSaveAndNeverDropped) {
    const std::string path = dir.file("utf8.MEM");
    const std::string utf8 = "\xEF\xBB\xBF青木\r\n𠮷田\r\n";
    spit(path, utf8);
    openedFrom(path, readRoster(path).names);
    open();
    EXPECT_EQ(editor.Text1[1].text, "𠮷田");

    platform.answerMessage(refused("2番の氏名には名簿に保存できない文字があります。"));
    driver.menu("mnuFileOverWrite");
    EXPECT_EQ(editor.focused(), &editor.Text1[1]);
    EXPECT_EQ(slurp(path), utf8);

    // Put right, the roster is written back in code page 932.
    retype(1, "吉田");
    platform.answerMessage(kModified);
    platform.answerMessage(count(2, 0));
    driver.toolbar("Toolbar1_2");
    EXPECT_EQ(slurp(path), "\x90\xC2\x96\xD8\r\n\x8B\x67\x93\x63\r\n");
}

TEST_F(RosterEditorTest, AFailedOverwriteSaysSoAndKeepsTheOldFileAndTheNames) {
    TOSBEL_POSIX_ONLY("permission bits that bind");
    const std::string path = dir.file("locked.MEM");
    spit(path, "old\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read, fs::perm_options::replace);
    openedFrom(path, {"old"});
    open();
    driver.type("Text1_1", "井上");
    platform.answerMessage(cannotSave(path));

    driver.menu("mnuFileOverWrite");

    EXPECT_EQ(slurp(path), "old\r\n");
    EXPECT_TRUE(editor.isLoaded());
    EXPECT_EQ(editor.Text1[1].text, "井上");
    EXPECT_EQ(state.ModifyFlag, 1);
    EXPECT_EQ(state.RegisteredCount, 0);
    EXPECT_EQ(handedOver, 0);

    // Save as to a folder that is gone: the same notice, and the roster in
    // use is still the old file.
    const std::string gone = dir.file("gone/new.MEM");
    platform.answerFileDialog(gone);
    platform.answerMessage(cannotSave(gone));
    driver.menu("mnuNewFile");
    EXPECT_EQ(state.RosterPath, path);
    EXPECT_TRUE(editor.isLoaded());
}

TEST_F(RosterEditorTest, CutCopyAndPasteWorkOnTheSelectionOfTheLastFocusedBox) {
    open();
    driver.type("Text1_2", "山田太郎");
    driver.tick("Check1_2");  // the focus leaves the names
    editor.Text1[2].selStart = 1;
    editor.Text1[2].selLength = 2;
    driver.menu("mnuEditCutCopyPaste_1");
    EXPECT_EQ(platform.clipboard, "田太");
    driver.menu("mnuEditCutCopyPaste_0");
    EXPECT_EQ(editor.Text1[2].text, "山郎");

    // A paste takes what fits, keeps what follows the caret, and drops what
    // code page 932 cannot hold and the line end a copied cell carries.
    platform.clipboard = "AB😀CDEFG\r\n";
    driver.toolbar("Toolbar1_7");
    EXPECT_EQ(editor.Text1[2].text, "山ABCD郎");
    EXPECT_EQ(editor.Text1[2].selStart, 5);
}

// What Excel puts on the clipboard for three columns of a class list.
TEST_F(RosterEditorTest, ASpreadsheetPasteFillsTheNamesDownwardsAsOneStep) {
    open();
    driver.type("Text1_1", "前田");
    driver.click("Text1_0");
    platform.clipboard =
        "出席番号\tふりがな\t氏名\r\n1\tあいだ\t相田一郎\r\n2\tはせがわ\t長谷川由紀子\r\n"
        "3\tうえの\t上野　美咲\r\n";
    const Message overwrite{"新しい氏名で、入力済みの1人の氏名を上書きします。よろしいですか？",
                            "上書き確認", MsgButtons::OkCancel, MsgIcon::Question};
    platform.answerMessage(overwrite, MsgAnswer::Cancel);
    driver.menu("mnuEditCutCopyPaste_2");
    EXPECT_EQ(editor.Text1[0].text, "");
    EXPECT_EQ(editor.Text1[1].text, "前田");

    platform.answerMessage(overwrite);
    platform.answerMessage(refused(
        "氏名は全角4文字（半角8文字）までなので、次の氏名を短くしました。確かめて下さい。\r\r"
        "2番　長谷川由紀子 → 長谷川由\r3番　上野　美咲 → 上野美咲"));
    driver.menu("mnuEditCutCopyPaste_2");
    const std::vector<std::string> pasted = {"相田一郎", "長谷川由", "上野美咲", ""};
    EXPECT_EQ(boxes(4), pasted);

    // The paste goes back whole, and comes again.
    driver.menu("mnuUndo");
    EXPECT_EQ(boxes(4), (std::vector<std::string>{"", "前田", "", ""}));
    driver.menu("mnuRedo");
    EXPECT_EQ(boxes(4), pasted);

    // The roster holds them as Python's encode('cp932') gives them.
    const std::string path = dir.file("3B.MEM");
    platform.answerFileDialog(path);
    platform.answerMessage(kRegistered);
    platform.answerMessage(count(3, 0));
    driver.menu("mnuNewFile");
    EXPECT_EQ(slurp(path),
              "\x91\x8A\x93\x63\x88\xEA\x98\x59\x0D\x0A\x92\xB7\x92\x4A\x90\xEC\x97\x52\x0D\x0A"
              "\x8F\xE3\x96\xEC\x94\xFC\x8D\xE7\x0D\x0A");
    // A list without sexes leaves the roster without a wish file, as before.
    EXPECT_FALSE(fs::exists(pathOf(wishFileOf(path))));
}

TEST_F(RosterEditorTest, APastedListStopsAtBox100AndNamesANameTheRosterCannotHold) {
    open();
    driver.click("Text1_98");
    platform.clipboard = "佐藤\n𠮷田\n鈴木\n";
    platform.answerMessage(
        {"100番までに入りきらない 1人の氏名は入れませんでした。"
         "名簿に登録できるのは100人までです。",
         "取り込み確認", MsgButtons::Ok, MsgIcon::Information});
    platform.answerMessage(refused("100番の氏名には名簿に保存できない文字があります。"));
    driver.menu("mnuEditCutCopyPaste_2");
    EXPECT_EQ(editor.Text1[98].text, "佐藤");
    // Whole, so the teacher sees what to mend.
    EXPECT_EQ(editor.Text1[99].text, "𠮷田");
    EXPECT_EQ(editor.T_Index, 99);
}

// A class list's sexes go into the roster's seat wishes when it is saved,
// and the table given back carries them.
TEST_F(RosterEditorTest, SexesFromAListAreKeptWithTheSavedRosterAndGivenBack) {
    editor.openWithList({{"青木", Sex::Boy}, {"", Sex::Unmarked}, {"井上", Sex::Girl}});
    open();
    EXPECT_EQ(boxes(3), (std::vector<std::string>{"青木", "", "井上"}));

    // A slip in the dialog never puts the table over a roster.
    const std::string other = dir.file("3A.MEM");
    ASSERT_EQ(writeRoster(other, {"山田"}).error, FileError::None);
    platform.answerFileDialog(other);
    platform.answerMessage({"「" + other +
                                "」には書き出せません。名簿や結果のﾌｧｲﾙを上書きしないよう、"
                                "書き出すﾌｧｲﾙの名前は「.CSV」で終わるものにして下さい。",
                            "保存確認", MsgButtons::Ok, MsgIcon::Exclamation});
    driver.menu("mnuExport");
    EXPECT_EQ(readRoster(other).names, std::vector<std::string>{"山田"});

    platform.answerFileDialog(dir.file("一覧"));
    driver.menu("mnuExport");
    EXPECT_EQ(slurp(dir.file("一覧.CSV")),
              "\xEF\xBB\xBF番号,氏名,性別\r\n1,青木,男\r\n2,井上,女\r\n");

    const std::string path = dir.file("3C.MEM");
    platform.answerFileDialog(path);
    platform.answerMessage(kRegistered);
    platform.answerMessage(count(2, 0));
    driver.menu("mnuNewFile");
    const WishRead wishes = readWishFile(wishFileOf(path));
    ASSERT_TRUE(wishes.wishes);
    ASSERT_NE(wishes.wishes->pupil("井上"), nullptr);
    EXPECT_EQ(wishes.wishes->pupil("井上")->sex, Sex::Girl);
    EXPECT_EQ(state.Wishes, *wishes.wishes);
}

TEST_F(RosterEditorTest, DeleteEmptiesTheLastFocusedBoxAndItsMark) {
    open();
    driver.type("Text1_7", "井上");
    driver.type("Text1_6", "青木");
    driver.tick("Check1_6");
    platform.answerMessage(kDelete, MsgAnswer::Cancel);
    driver.menu("mnuEditDelete");
    EXPECT_EQ(editor.Text1[6].text, "青木");
    platform.answerMessage(kDelete, MsgAnswer::Ok);
    driver.toolbar("Toolbar1_9");
    EXPECT_EQ(editor.Text1[6].text, "");
    EXPECT_EQ(editor.Check1[6].value, 0);
    EXPECT_EQ(editor.Text1[7].text, "井上");
}

TEST_F(RosterEditorTest, EnterMovesOnAndTheFocusedBoxAndItsNumberStandOut) {
    open();
    driver.click("Text1_3");
    EXPECT_EQ(editor.Text1[3].backColor, (Rgb{0x40, 0x40, 0x40}));
    EXPECT_EQ(editor.Label1[3].foreColor, (Rgb{0xFF, 0xFF, 0x00}));
    // The box swallows the Enter it moves on with.
    KeyPress enter{kKeyEnter};
    editor.keyPress(&editor.Text1[3], enter);
    EXPECT_EQ(enter.key, 0u);
    EXPECT_EQ(editor.focused(), &editor.Text1[4]);
    EXPECT_EQ(editor.Text1[3].backColor, (Rgb{0xC0, 0xC0, 0xC0}));
    EXPECT_EQ(editor.Label1[3].foreColor, (Rgb{0, 0, 0}));

    // Typed after a name, it moves on as well; past the last box, the focus
    // leaves the names for the attendance boxes.
    driver.type("Text1_98", "青木\r");
    EXPECT_EQ(editor.focused(), &editor.Text1[99]);
    driver.key(kKeyEnter);
    EXPECT_EQ(editor.focused(), &editor.Check1[0]);
    EXPECT_EQ(editor.Text1[98].text, "青木");
    EXPECT_EQ(editor.Text1[99].text, "");
}

TEST_F(RosterEditorTest, HelpOpensTheContextOfANewOrAnOpenedRoster) {
    open();
    driver.menu("mnuHelpContext_KeyWord_1");
    state.RosterPath = dir.file("a.MEM");
    driver.toolbar("Toolbar1_12");
    driver.menu("mnuHelpContext_KeyWord_0");
    EXPECT_EQ(platform.helps, (std::vector<HelpRequest>{{HelpCommand::Context, 26},
                                                        {HelpCommand::Context, 24},
                                                        {HelpCommand::PartialKey, 0}}));
}

}  // namespace
}  // namespace tosbel

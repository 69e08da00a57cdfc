// A teacher copies a column of 35 names out of a spreadsheet and pastes it
// into the first name box of a new roster with Ctrl+V: the names come from the
// real X clipboard, fill the boxes downwards and are saved as the roster file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/process.h"
#include "tests/e2e/program_session.h"
#include "tests/e2e/x_session.h"
#include "tests/temp_dir.h"

namespace tosbel::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kMainCaption = "Tosbel君 for Windows";
const std::string kEditorCaption = "登録・修正";

// Names of two, three and four full-width characters, kana among them, all
// inside the common part of code page 932 so any encoder agrees on the bytes.
const std::vector<std::string> kClass = {
    "相田一郎", "青木花子", "秋山健太", "浅野愛",   "阿部翔",   "池田美咲", "石井大輔",
    "石川結衣", "伊藤蓮",   "井上陽菜", "岩田悠真", "上田あい", "内田湊",   "遠藤陸",
    "大野葵",   "岡田光",   "小川凛",   "加藤樹",   "木村ゆず", "工藤颯",   "小島結",
    "斉藤奏",   "坂本楓",   "佐々木空", "清水陽",   "杉山ハル", "鈴木蒼",   "高田杏",
    "田中碧",   "中村朝陽", "西田芽依", "野口律",   "橋本紬",   "松本湊斗", "山口澪"};

// What Python's own code page 932 codec makes of the text: the file the
// program writes is checked against an encoder other than the program's.
std::string pythonCp932(const std::string& utf8) {
    // The argument's bytes as given, whatever locale Python starts in.
    const Output out = run({"python3", "-c",
                            "import os, sys; sys.stdout.buffer.write("
                            "os.fsencode(sys.argv[1]).decode('utf-8').encode('cp932'))",
                            utf8});
    return out.exitCode == 0 ? out.text : std::string();
}

TEST(ClassListAsATeacherPastesIt, AColumnCopiedFromASpreadsheetFillsTheBoxesAndIsSaved) {
    std::string column;
    for (const std::string& name : kClass) column += name + "\r\n";  // as Excel copies a column
    ASSERT_EQ(kClass.size(), 35U);

    TempDir temp;
    ProgramSession session(temp.path());
    ASSERT_EQ(session.start(), "");

    const auto [mainWindow, editor] = openNewRoster(session);
    ASSERT_FALSE(editor.empty()) << session.output();

    // xclip in the foreground, so the test owns the process that serves the
    // clipboard, for as long as the program may still be reading it, and ends
    // it with the test (before the screen goes); by default it forks away.
    const fs::path listFile = temp.path() / "column.txt";
    spit(listFile, column);
    const std::string display = std::getenv("DISPLAY");
    auto clipboard = std::make_unique<Child>(
        std::vector<std::string>{"xclip", "-quiet", "-selection", "clipboard", "-target",
                                 "UTF8_STRING", "-in", listFile.string()},
        environmentWith({{"DISPLAY", display}}), (temp.path() / "xclip.log").string());
    ASSERT_TRUE(clipboard->started()) << "xclip is missing";
    ASSERT_TRUE(pollUntil(10s, [&] {
        return run({"xclip", "-selection", "clipboard", "-target", "UTF8_STRING", "-out"}).text ==
               column;
    })) << slurp(temp.path() / "xclip.log");

    // The middle of number 1's name box (twips, from the editor's layout),
    // clicked as a teacher does before pasting.
    ASSERT_TRUE(clickAt(onWindow(windowGeometry(editor), 1395, 885)));
    ASSERT_EQ(run({"xdotool", "sleep", "1"}).exitCode, 0);
    ASSERT_TRUE(pressKey("ctrl+v"));  // 貼り付け

    ASSERT_TRUE(pressKey("ctrl+n"));  // 名前を付けて名簿の保存
    const std::string dialog = session.waitForWindow("名前を付けて保存", 20s);
    ASSERT_FALSE(dialog.empty()) << session.output();
    ASSERT_TRUE(focusWindow(dialog));
    const fs::path saved = session.programFolder() / "4B.MEM";
    ASSERT_EQ(run({"xdotool", "type", "--delay", "30", saved.string()}).exitCode, 0);
    ASSERT_TRUE(pressKey("Return"));
    // Registered, then the count: no question about names cut or replaced.
    for (const char* title : {"登録確認", "出欠人数確認"})
        ASSERT_TRUE(answer(session, title)) << title << "\n" << session.output();

    const std::string expected = pythonCp932(column);
    ASSERT_FALSE(expected.empty()) << "python3 could not encode the names";
    ASSERT_TRUE(pollUntil(10s, [&] { return fs::is_regular_file(saved); }));
    EXPECT_EQ(slurp(saved), expected);

    EXPECT_TRUE(
        pollUntil(10s, [&] { return findWindowNamed(session.pid(), kEditorCaption).empty(); }));
    sendCloseRequest(mainWindow);
    ASSERT_TRUE(answer(session, "終了確認")) << session.output();
    EXPECT_EQ(session.program().waitForExit(30s), std::optional<int>(0)) << session.output();
}

}  // namespace
}  // namespace tosbel::e2e

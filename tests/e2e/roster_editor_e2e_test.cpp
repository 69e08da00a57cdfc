// A teacher makes a new class roster with the keyboard alone: Ctrl+N on the
// main window, the names typed in Japanese, one pupil marked absent, the roster
// saved as a file through the save dialog. The file on disk is then exactly what
// the roster format requires.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>

#include <filesystem>
#include <string>

#include "tests/e2e/process.h"
#include "tests/e2e/program_session.h"
#include "tests/e2e/x_session.h"
#include "tests/temp_dir.h"

namespace tosbel::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kMainCaption = "Tosbel君 for Windows";
const std::string kEditorCaption = "登録・修正";

// One key or character at a time, slowly enough for xdotool to map each
// Japanese character to a free key before the next one comes.
bool typeText(const std::string& text) {
    return run({"xdotool", "type", "--delay", "120", text}).exitCode == 0;
}

TEST(NewRosterWithTheKeyboard, TypedNamesAndAnAbsenceAreSavedAsTheFormatRequires) {
    TempDir temp;
    ProgramSession session(temp.path());
    ASSERT_EQ(session.start(), "");

    const auto [mainWindow, editor] = openNewRoster(session);
    ASSERT_FALSE(editor.empty()) << session.output();
    // A character typed in the first moments after the window appears was seen
    // to get lost now and then (about one run in three); a teacher starts to
    // type later. The early loss itself is noted as an open fault.
    ASSERT_EQ(run({"xdotool", "sleep", "1"}).exitCode, 0);

    // Enter moves from one name box to the next. Under load the first
    // character of a name was seen to get lost: xdotool types a kanji by
    // mapping a spare key to it for a moment, and a program still busy with
    // the Enter may read the keyboard map after it has gone back. The test
    // waits before the next name, as a teacher does.
    for (const char* name : {"山田太郎", "佐藤花子", "鈴木一郎"}) {
        ASSERT_TRUE(typeText(name));
        ASSERT_TRUE(pressKey("Return"));
        ASSERT_EQ(run({"xdotool", "sleep", "0.5"}).exitCode, 0);
    }
    // From number 4 down to number 100 and past it to the first attendance
    // box, then on to the second: number 2 is absent today.
    ASSERT_EQ(run({"xdotool", "key", "--delay", "15", "--repeat", "97", "Return"}).exitCode, 0);
    ASSERT_TRUE(pressKey("Tab"));
    ASSERT_TRUE(pressKey("space"));

    int argc = 1;
    char name[] = "roster_editor_e2e";
    char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QGuiApplication app(argc, argv);
    const std::string shotPath = std::string(E2E_OUTPUT_DIR) + "/e2e_roster_editor.png";
    QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(shotPath));

    ASSERT_TRUE(pressKey("ctrl+n"));  // 名前を付けて名簿の保存
    const std::string dialog = session.waitForWindow("名前を付けて保存", 20s);
    ASSERT_FALSE(dialog.empty()) << "no save dialog; see " << shotPath << "\n" << session.output();
    ASSERT_TRUE(focusWindow(dialog));
    const fs::path saved = session.programFolder() / "3A.MEM";
    ASSERT_TRUE(typeText(saved.string()));
    ASSERT_TRUE(pressKey("Return"));

    // The notices of a new roster saved as a file: registered, then the count.
    for (const char* title : {"登録確認", "出欠人数確認"}) {
        const std::string notice = session.waitForWindow(title, 20s);
        ASSERT_FALSE(notice.empty()) << title << "\n" << session.output();
        ASSERT_TRUE(focusWindow(notice));
        ASSERT_TRUE(pressKey("Return"));
    }

    // Every name, the absent one included, in code page 932, each line ending
    // CR LF: the worked example of the roster format.
    ASSERT_TRUE(pollUntil(10s, [&] { return fs::is_regular_file(saved); }));
    EXPECT_EQ(slurp(saved), slurp(fs::path(TEST_DATA_DIR) / "three_members.MEM"));

    // The editor has closed; the main window is the teacher's again.
    EXPECT_TRUE(
        pollUntil(10s, [&] { return findWindowNamed(session.pid(), kEditorCaption).empty(); }));
    // Polled: a window that goes while xdotool walks the tree fails one search.
    EXPECT_TRUE(pollUntil(10s, [&] {
        return !findWindowNamed(session.pid(), kMainCaption).empty();
    })) << session.output();

    sendCloseRequest(mainWindow);
    const std::string question = session.waitForWindow("終了確認", 20s);
    ASSERT_FALSE(question.empty()) << session.output();
    ASSERT_TRUE(focusWindow(question));
    ASSERT_TRUE(pressKey("Return"));
    EXPECT_EQ(session.program().waitForExit(30s), std::optional<int>(0)) << session.output();
}

}  // namespace
}  // namespace tosbel::e2e

// A teacher tidies the program folder from the main window: copies a roster
// through the file dialog and "ファイルのコピー", renames the copy, deletes it,
// backs the data up to a folder, switches the background to gradient "2" and
// opens the version window from the main window and from the roster editor.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
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

// The file dialog with this title, a path typed into it and Enter.
bool pickFile(ProgramSession& session, const std::string& title, const fs::path& path) {
    const std::string dialog = session.waitForWindow(title, 20s);
    return !dialog.empty() && focusWindow(dialog) &&
           run({"xdotool", "type", "--delay", "20", path.string()}).exitCode == 0 &&
           pressKey("Return");
}

// A name typed into the copy or rename window, then its "了解".
bool nameAndConfirm(ProgramSession& session, const std::string& title, const std::string& name) {
    const std::string window = session.waitForWindow(title, 20s);
    if (window.empty() || !focusWindow(window)) return false;
    const WindowGeometry w = windowGeometry(window);
    return clickAt(inDialog(w, 1320 + 600, 1110 + 180)) &&
           run({"xdotool", "type", "--delay", "20", name}).exitCode == 0 &&
           clickAt(inDialog(w, 420 + 600, 1800 + 210));
}

bool versionWindowComesAndGoes(ProgramSession& session) {
    const std::string version = session.waitForWindow("ﾊﾞｰｼﾞｮﾝ情報", 20s);
    if (version.empty() || !focusWindow(version) || !pressKey("Escape")) return false;
    if (pollUntil(3s, [&] { return findWindowNamed(session.pid(), "ﾊﾞｰｼﾞｮﾝ情報").empty(); }))
        return true;
    sendCloseRequest(version);
    return pollUntil(5s, [&] { return findWindowNamed(session.pid(), "ﾊﾞｰｼﾞｮﾝ情報").empty(); });
}

TEST(ToolsAsATeacherUsesThem, CopyRenameDeleteBackUpBackgroundAndVersion) {
    TempDir temp;
    ProgramSession session(temp.path());
    fs::create_directories(session.config() / "TOSBEL");
    spit(session.config() / "TOSBEL" / "TOSBEL.ini", "[Config]\nOptLogo=0\nOptMColor=0\n");
    ASSERT_EQ(session.start(), "");
    int argc = 1;
    char name[] = "tools_e2e";
    char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QGuiApplication app(argc, argv);

    const fs::path folder = session.programFolder();
    const std::string rosterBytes = "Pupil1\r\nPupil2\r\nPupil3\r\n";
    spit(folder / "class3.MEM", rosterBytes);
    spit(folder / "past.RLT", "Pupil1\r\n");
    // The history names a chart that is still there and one that is gone.
    const std::string history =
        (folder / "gone.RLT").string() + "\r\n" + (folder / "past.RLT").string() + "\r\n";
    spit(folder / "Tosbel.ini", history);

    const std::string mainWindow = session.waitForWindow("Tosbel君 for Windows", 60s);
    ASSERT_FALSE(mainWindow.empty()) << session.output();

    // Copy: the roster and its copy, byte for byte; the history untouched.
    ASSERT_TRUE(focusWindow(mainWindow));
    ASSERT_TRUE(pressKey("alt+m"));
    ASSERT_TRUE(pressKey("c"));
    ASSERT_TRUE(pickFile(session, "コピーするﾌｧｲﾙを選択", folder / "class3.MEM"));
    ASSERT_TRUE(nameAndConfirm(session, "ファイルのコピー", "copy3.MEM")) << session.output();
    ASSERT_TRUE(answer(session, "複写確認")) << session.output();
    EXPECT_EQ(slurp(folder / "copy3.MEM"), rosterBytes);
    EXPECT_EQ(slurp(folder / "class3.MEM"), rosterBytes);
    EXPECT_EQ(slurp(folder / "Tosbel.ini"), history);

    // Rename the copy.
    ASSERT_TRUE(focusWindow(mainWindow));
    ASSERT_TRUE(pressKey("alt+m"));
    ASSERT_TRUE(pressKey("r"));
    ASSERT_TRUE(pickFile(session, "名前を変更するﾌｧｲﾙを選択", folder / "copy3.MEM"));
    ASSERT_TRUE(nameAndConfirm(session, "ファイル名の変更", "renamed.MEM")) << session.output();
    ASSERT_TRUE(answer(session, "変更確認")) << session.output();
    EXPECT_FALSE(fs::exists(folder / "copy3.MEM"));
    EXPECT_EQ(slurp(folder / "renamed.MEM"), rosterBytes);
    EXPECT_EQ(slurp(folder / "Tosbel.ini"), history);

    // Delete it: it goes to the desktop's trash, and the history forgets the
    // chart whose file is gone.
    ASSERT_TRUE(focusWindow(mainWindow));
    ASSERT_TRUE(pressKey("alt+m"));
    ASSERT_TRUE(pressKey("d"));
    ASSERT_TRUE(pickFile(session, "削除するﾌｧｲﾙを選択", folder / "renamed.MEM"));
    ASSERT_TRUE(answer(session, "削除確認")) << session.output();
    ASSERT_TRUE(answer(session, "削除情報")) << session.output();
    EXPECT_FALSE(fs::exists(folder / "renamed.MEM"));
    EXPECT_EQ(slurp(temp.path() / "home" / "data" / "Trash" / "files" / "renamed.MEM"),
              rosterBytes);
    EXPECT_FALSE(fs::exists(folder / "files"));
    EXPECT_EQ(slurp(folder / "Tosbel.ini"), (folder / "past.RLT").string() + "\r\n");
    EXPECT_EQ(slurp(folder / "class3.MEM"), rosterBytes);

    // Back up every kind to a folder of the teacher's choosing.
    const fs::path stick = temp.path() / "stick";
    fs::create_directories(stick);
    ASSERT_TRUE(focusWindow(mainWindow));
    ASSERT_TRUE(pressKey("alt+m"));
    ASSERT_TRUE(pressKey("b"));
    const std::string backup = session.waitForWindow("バックアップ", 20s);
    ASSERT_FALSE(backup.empty()) << session.output();
    ASSERT_TRUE(focusWindow(backup));
    ASSERT_TRUE(clickAt(inDialog(windowGeometry(backup), 450 + 600, 2640 + 210)));
    ASSERT_TRUE(answer(session, "ﾊﾞｯｸｱｯﾌﾟ準備")) << session.output();
    ASSERT_TRUE(pickFile(session, "バックアップ先のフォルダの選択", stick));
    ASSERT_TRUE(answer(session, "終了確認")) << session.output();
    int copied = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".MEM" && ext != ".RLT" && ext != ".ini" && ext != ".BMP") continue;
        EXPECT_EQ(slurp(stick / entry.path().filename()), slurp(entry.path()))
            << entry.path().filename();
        ++copied;
    }
    // class3, past, the history, the sample roster and the ten countdown pictures
    EXPECT_EQ(copied, 4 + 10);

    // Gradient "2" at once: the main window's top band takes its blue.
    ASSERT_TRUE(focusWindow(mainWindow));
    ASSERT_TRUE(pressKey("alt+o"));
    ASSERT_TRUE(pressKey("e"));
    ASSERT_TRUE(pressKey("b"));
    const std::string background = session.waitForWindow("背景", 20s);
    ASSERT_FALSE(background.empty()) << session.output();
    ASSERT_TRUE(focusWindow(background));
    const WindowGeometry bw = windowGeometry(background);
    ASSERT_TRUE(clickAt(inDialog(bw, 660 + 750, 1500 + 300)));
    ASSERT_TRUE(clickAt(inDialog(bw, 488 + 457, 3330 + 202)));
    ASSERT_TRUE(pollUntil(10s, [&] { return findWindowNamed(session.pid(), "背景").empty(); }));
    ASSERT_TRUE(mouse({"sleep", "0.5"}));
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    shot.save(QString::fromStdString(std::string(E2E_OUTPUT_DIR) + "/e2e_background_2.png"));
    const WindowGeometry mw = windowGeometry(mainWindow);
    // Just below the toolbar, left of the lettering.
    const QColor top = shot.pixelColor(mw.x + 4, mw.y + 22 + 30 + 6);
    EXPECT_EQ(top.red(), 50) << "see e2e_background_2.png";
    EXPECT_EQ(top.green(), 80);
    EXPECT_NEAR(top.blue(), 130, 8);

    // The version window from the main window, then from the roster editor.
    ASSERT_TRUE(focusWindow(mainWindow));
    ASSERT_TRUE(pressKey("alt+h"));
    ASSERT_TRUE(pressKey("a"));
    EXPECT_TRUE(versionWindowComesAndGoes(session)) << session.output();
    ASSERT_TRUE(focusWindow(mainWindow));
    ASSERT_TRUE(pressKey("ctrl+n"));
    const std::string editor = session.waitForWindow("登録・修正", 20s);
    ASSERT_FALSE(editor.empty()) << session.output();
    ASSERT_TRUE(focusWindow(editor));
    ASSERT_TRUE(pressKey("alt+h"));
    ASSERT_TRUE(pressKey("a"));
    EXPECT_TRUE(versionWindowComesAndGoes(session)) << session.output();

    sendCloseRequest(editor);
    ASSERT_TRUE(pollUntil(10s, [&] {
        return findWindowNamed(session.pid(), "登録・修正").empty();
    })) << session.output();
    sendCloseRequest(mainWindow);
    ASSERT_TRUE(answer(session, "終了確認")) << session.output();
    EXPECT_EQ(session.program().waitForExit(30s), std::optional<int>(0)) << session.output();
}

}  // namespace
}  // namespace tosbel::e2e

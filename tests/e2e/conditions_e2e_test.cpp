// A teacher opens a class of 40, marks two pupils absent and saves; the
// conditions window follows. One name is dragged with the mouse onto seat C 5,
// row J is kept empty with its row box, Ctrl+S commits, and the main window
// comes back ready for the shuffle. The drag pictures are a photograph the
// teacher saved under their names, far larger than a pointer can be.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QString>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/process.h"
#include "tests/e2e/program_session.h"
#include "tests/e2e/x_session.h"
#include "tests/temp_dir.h"

namespace tosbel::e2e {
namespace {

namespace fs = std::filesystem;

TEST(ConditionsWithTheMouse, ADraggedNameAndAnEmptyRowAreCommitted) {
    TempDir temp;
    ProgramSession session(temp.path());
    fs::create_directories(session.programFolder());
    QImage photo(2100, 2100, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    for (const char* picture : {"DRAG.ICO", "DRAG2.ICO"})
        ASSERT_TRUE(photo.save(QString::fromStdString((session.programFolder() / picture).string()),
                               "PNG"));
    ASSERT_EQ(session.start(), "");
    const std::string mainWindow = session.waitForWindow("Tosbel君 for Windows", 60s);
    ASSERT_FALSE(mainWindow.empty()) << session.output();
    // Pupils 1 and 3 are absent: past the 100 name boxes to the attendance boxes.
    const std::string editor = openClassWithKeyboard(session, mainWindow, 40);
    ASSERT_FALSE(editor.empty()) << session.output();
    ASSERT_EQ(run({"xdotool", "key", "--delay", "15", "--repeat", "100", "Tab"}).exitCode, 0);
    ASSERT_TRUE(pressKey("space"));
    ASSERT_TRUE(pressKey("Tab"));
    ASSERT_TRUE(pressKey("Tab"));
    ASSERT_TRUE(pressKey("space"));
    const std::string conditions = saveAttendance(session);
    ASSERT_FALSE(conditions.empty()) << session.output();
    const WindowGeometry w = windowGeometry(conditions);

    // The first name of the list (Pupil2, the first present) onto C 5, whose
    // name box is the 25th: column 5, row C.
    const Point from = onWindow(w, 200 + 427, 870 + 217);
    const Point to = onWindow(w, 1710 + 4 * 1020 + 437, 870 + 2 * 735 + 237);
    ASSERT_TRUE(dragWithMouse(from, to));
    // Row J's box keeps the whole row empty.
    ASSERT_TRUE(moveTo(onWindow(w, 1710 - 300 + 105, 870 + 9 * 735 + 130 + 105)));
    ASSERT_TRUE(mouse({"click", "1"}));

    int argc = 1;
    char name[] = "conditions_e2e";
    char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QGuiApplication app(argc, argv);
    const std::string shotPath = std::string(E2E_OUTPUT_DIR) + "/e2e_conditions.png";
    QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(shotPath));

    // The same name typed into A 1 as well: the commit finds it twice only if
    // the drop put it on C 5. Deleting A 1's condition then lets it through.
    ASSERT_TRUE(moveTo(onWindow(w, 1710 + 437, 870 + 237)));
    ASSERT_TRUE(mouse({"click", "1"}));
    ASSERT_EQ(run({"xdotool", "type", "--delay", "30", "Pupil2"}).exitCode, 0);
    ASSERT_TRUE(pressKey("ctrl+s"));
    ASSERT_TRUE(answer(session, "設定者重複")) << "see " << shotPath << "\n" << session.output();
    ASSERT_TRUE(focusWindow(conditions));
    ASSERT_TRUE(pressKey("ctrl+d"));
    ASSERT_TRUE(answer(session, "削除確認")) << session.output();
    // A name on J 1 as well: the commit refuses a named seat kept empty only
    // if the row box ticked J 1, and the window stays.
    ASSERT_TRUE(focusWindow(conditions));
    ASSERT_TRUE(moveTo(onWindow(w, 1710 + 437, 870 + 9 * 735 + 237)));
    ASSERT_TRUE(mouse({"click", "1"}));
    ASSERT_EQ(run({"xdotool", "type", "--delay", "30", "Pupil4"}).exitCode, 0);
    ASSERT_TRUE(pressKey("ctrl+s"));
    ASSERT_TRUE(answer(session, "設定確認")) << "see " << shotPath << "\n" << session.output();
    ASSERT_TRUE(mouse({"sleep", "0.5"}));
    ASSERT_FALSE(findWindowNamed(session.pid(), "Tosbel条件").empty()) << "see " << shotPath;
    // Deleting J 1's condition clears its name and its tick; now it commits.
    ASSERT_TRUE(focusWindow(conditions));
    ASSERT_TRUE(pressKey("ctrl+d"));
    ASSERT_TRUE(answer(session, "削除確認")) << session.output();
    ASSERT_TRUE(focusWindow(conditions));
    ASSERT_TRUE(pressKey("ctrl+s"));
    ASSERT_TRUE(answer(session, "設定確認")) << "see " << shotPath << "\n" << session.output();
    EXPECT_TRUE(
        pollUntil(10s, [&] { return findWindowNamed(session.pid(), "Tosbel条件").empty(); }))
        << "see " << shotPath;

    // The main window: the shuffle is on, creating and opening a roster off.
    ASSERT_TRUE(focusWindow(mainWindow));
    ASSERT_TRUE(pressKey("ctrl+o"));
    EXPECT_FALSE(
        pollUntil(3s, [&] { return !findWindowNamed(session.pid(), "名簿を開く").empty(); }));

    sendCloseRequest(mainWindow);
    ASSERT_TRUE(answer(session, "終了確認")) << session.output();
    EXPECT_EQ(session.program().waitForExit(30s), std::optional<int>(0)) << session.output();
}

}  // namespace
}  // namespace tosbel::e2e

// A teacher with the countdown set to two seconds opens a class of 12, marks
// one pupil absent, fixes Pupil5 to C 5 and keeps row A empty, and runs the
// shuffle with Ctrl+G. The countdown shows and closes, the result window takes
// the main window's place with every attendee seated once; Ctrl+L turns the
// chart, one member is dragged to an empty seat, Ctrl+I restores, OK returns
// and "先程の結果" shows the same chart again. It is saved, reopened from the
// past logs and printed to a PDF file.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/process.h"
#include "tests/e2e/program_session.h"
#include "tests/e2e/x_session.h"
#include "tests/temp_dir.h"

namespace tosbel::e2e {
namespace {

namespace fs = std::filesystem;

const char* const kResultCaption = "Tosbel結果";
const QString kNothingCopied = QStringLiteral("<nothing copied>");

// A seat box of the result window, by seat number 1 … 100, below the
// board's band.
Point seatBox(const WindowGeometry& w, int seat) {
    const int r = (seat - 1) / 10, c = (seat - 1) % 10;
    return onWindow(w, 375 + 1140 * c + 457, 645 + 330 + 750 * r + 247);
}

void saveScreen(const std::string& name) {
    QGuiApplication::primaryScreen()->grabWindow(0).save(
        QString::fromStdString(std::string(E2E_OUTPUT_DIR) + "/" + name));
}

// The texts of seats 1 … `last`, read as a teacher could: each box's text
// copied to the clipboard, Enter moving on to the next. The focus must be on
// A 1. An empty box copies nothing and leaves the test's own mark.
std::vector<std::string> readSeats(int last) {
    std::vector<std::string> seats;
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (int seat = 1; seat <= last; ++seat) {
        clipboard->setText(kNothingCopied);
        pressKey("ctrl+a");
        pressKey("ctrl+c");
        QString copied = kNothingCopied;
        pollUntil(400ms, [&] {
            QCoreApplication::processEvents();
            copied = clipboard->text();
            return copied != kNothingCopied;
        });
        seats.push_back(copied == kNothingCopied ? std::string() : copied.toStdString());
        pressKey("Return");
    }
    return seats;
}

// A press on A 1 gives it the focus (the drag it starts ends where it began),
// then the seats are read from there.
std::vector<std::string> readChart(const std::string& window, int last) {
    if (!focusWindow(window)) return {};
    if (!moveTo(seatBox(windowGeometry(window), 1)) || !mouse({"click", "1"}) ||
        !mouse({"sleep", "0.5"}))
        return {};
    return readSeats(last);
}

TEST(ResultWithTheKeyboardAndMouse, TheShuffledChartIsMovedDraggedRestoredAndShownAgain) {
    TempDir temp;
    ProgramSession session(temp.path());
    // The countdown on, for two seconds; no logo.
    fs::create_directories(session.config() / "TOSBEL");
    spit(session.config() / "TOSBEL" / "TOSBEL.ini",
         "[Config]\nOptLogo=0\n[CountDown]\nOptWait=1\nWaitTime=2\n");
    ASSERT_EQ(session.start(), "");
    int argc = 1;
    char name[] = "result_e2e";
    char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QGuiApplication app(argc, argv);

    const std::string mainWindow = session.waitForWindow("Tosbel君 for Windows", 60s);
    ASSERT_FALSE(mainWindow.empty()) << session.output();
    // Pupil12 is absent: past the 100 name boxes to the 12th attendance box.
    const std::string editor = openClassWithKeyboard(session, mainWindow, 12);
    ASSERT_FALSE(editor.empty()) << session.output();
    ASSERT_EQ(run({"xdotool", "key", "--delay", "15", "--repeat", "111", "Tab"}).exitCode, 0);
    ASSERT_TRUE(pressKey("space"));
    const std::string conditions = saveAttendance(session);
    ASSERT_FALSE(conditions.empty()) << session.output();

    // Pupil5 typed into C 5, row A kept empty with its row box.
    const WindowGeometry cw = windowGeometry(conditions);
    ASSERT_TRUE(moveTo(onWindow(cw, 1710 + 4 * 1020 + 437, 870 + 2 * 735 + 237)));
    ASSERT_TRUE(mouse({"click", "1"}));
    ASSERT_EQ(run({"xdotool", "type", "--delay", "30", "Pupil5"}).exitCode, 0);
    ASSERT_TRUE(moveTo(onWindow(cw, 1710 - 300 + 105, 870 + 130 + 105)));
    ASSERT_TRUE(mouse({"click", "1"}));
    ASSERT_TRUE(pressKey("ctrl+s"));
    ASSERT_TRUE(answer(session, "設定確認")) << session.output();

    // The shuffle: the countdown comes first, a borderless square of 400
    // pixels, and is gone before the chart shows.
    ASSERT_TRUE(
        pollUntil(10s, [&] { return findWindowNamed(session.pid(), "Tosbel条件").empty(); }));
    ASSERT_TRUE(focusWindow(mainWindow));
    ASSERT_TRUE(pressKey("ctrl+g"));
    std::string countdown;
    ASSERT_TRUE(pollUntil(10s, [&] {
        for (const std::string& w : visibleWindowsOf(session.pid())) {
            const WindowGeometry g = windowGeometry(w);
            if (g.width == 400 && g.height == 400) countdown = w;
        }
        return !countdown.empty();
    })) << session.output();
    // A window the task bar leaves out.
    EXPECT_NE(run({"xprop", "-id", countdown, "_NET_WM_WINDOW_TYPE"})
                  .text.find("_NET_WM_WINDOW_TYPE_UTILITY"),
              std::string::npos);
    ASSERT_TRUE(mouse({"sleep", "1.5"}));  // the picture for 2
    saveScreen("e2e_countdown.png");
    const std::string result = session.waitForWindow(kResultCaption, 20s);
    ASSERT_FALSE(result.empty()) << session.output();
    const std::vector<std::string> shown = visibleWindowsOf(session.pid());
    EXPECT_EQ(std::find(shown.begin(), shown.end(), countdown), shown.end());
    EXPECT_TRUE(findWindowNamed(session.pid(), "Tosbel君 for Windows").empty())
        << "the main window stays while the chart shows";
    saveScreen("e2e_result.png");

    // Row A empty, the ten free attendees on row B, Pupil5 on C 5 alone.
    const std::vector<std::string> shuffled = readChart(result, 30);
    ASSERT_EQ(shuffled.size(), 30u);
    std::multiset<std::string> seated;
    for (int seat = 1; seat <= 30; ++seat) {
        const std::string& text = shuffled[static_cast<std::size_t>(seat - 1)];
        if (seat >= 11 && seat <= 20)
            seated.insert(text);
        else if (seat == 25)
            EXPECT_EQ(text, "Pupil5");
        else
            EXPECT_EQ(text, "") << "seat " << seat;
    }
    const std::multiset<std::string> attendees{"Pupil1", "Pupil2", "Pupil3", "Pupil4",  "Pupil6",
                                               "Pupil7", "Pupil8", "Pupil9", "Pupil10", "Pupil11"};
    EXPECT_EQ(seated, attendees) << "see e2e_result.png";

    // Ctrl+L: row B turns one seat left, C 5 moves to C 4. Then B 1 (what
    // was B 2) is dragged with the mouse onto F 6, an empty seat.
    ASSERT_TRUE(focusWindow(result));
    ASSERT_TRUE(pressKey("ctrl+l"));
    const WindowGeometry rw = windowGeometry(result);
    ASSERT_TRUE(dragWithMouse(seatBox(rw, 11), seatBox(rw, 56)));
    std::vector<std::string> expected(60);
    for (int c = 0; c < 10; ++c)
        expected[static_cast<std::size_t>(10 + c)] =
            shuffled[static_cast<std::size_t>(10 + (c + 1) % 10)];
    expected[23] = "Pupil5";
    expected[55] = expected[10];
    expected[10].clear();
    EXPECT_EQ(readChart(result, 60), expected) << "see e2e_result.png";
    saveScreen("e2e_result_moved.png");

    // Ctrl+I, confirmed: the chart as the shuffle dealt it.
    ASSERT_TRUE(focusWindow(result));
    ASSERT_TRUE(pressKey("ctrl+i"));
    ASSERT_TRUE(answer(session, "復元確認")) << session.output();
    EXPECT_EQ(readChart(result, 30), shuffled);

    // OK from the File menu brings the main window back; "先程の結果" shows
    // the shuffle's chart again, not the teacher's changes.
    ASSERT_TRUE(focusWindow(result));
    ASSERT_TRUE(pressKey("alt+f"));
    ASSERT_TRUE(pressKey("x"));
    const std::string mainAgain = session.waitForWindow("Tosbel君 for Windows", 20s);
    ASSERT_FALSE(mainAgain.empty()) << session.output();
    EXPECT_TRUE(findWindowNamed(session.pid(), kResultCaption).empty());
    ASSERT_TRUE(focusWindow(mainAgain));
    ASSERT_TRUE(pressKey("ctrl+r"));
    const std::string again = session.waitForWindow(kResultCaption, 20s);
    ASSERT_FALSE(again.empty()) << session.output();
    EXPECT_EQ(readChart(again, 30), shuffled);

    // Ctrl+S under a typed name: the main window comes back and lists it
    // under "過去ﾛｸﾞ"; choosing it opens the same chart beside the main window.
    ASSERT_TRUE(focusWindow(again));
    ASSERT_TRUE(pressKey("ctrl+s"));
    const std::string saveDialog = session.waitForWindow("せきがえ結果の保存", 20s);
    ASSERT_FALSE(saveDialog.empty()) << session.output();
    ASSERT_TRUE(focusWindow(saveDialog));
    // ASCII only: xdotool types other characters through a borrowed key map,
    // which a busy machine can garble.
    const fs::path saved = session.programFolder() / "term2";
    ASSERT_EQ(run({"xdotool", "type", "--delay", "30", saved.string()}).exitCode, 0);
    ASSERT_TRUE(pressKey("Return"));
    ASSERT_TRUE(answer(session, "保存確認")) << session.output();
    ASSERT_TRUE(pollUntil(10s, [&] { return fs::exists(saved); }));
    EXPECT_EQ(fs::file_size(saved), 200u + 9u * 6u + 2u * 7u);  // Pupil1 … Pupil11
    const std::string home = session.waitForWindow("Tosbel君 for Windows", 20s);
    ASSERT_FALSE(home.empty()) << session.output();
    ASSERT_TRUE(focusWindow(home));
    ASSERT_TRUE(pressKey("alt+l"));
    ASSERT_TRUE(pressKey("Down"));
    ASSERT_TRUE(pressKey("Return"));
    const std::string pastLog = session.waitForWindow(kResultCaption, 20s);
    ASSERT_FALSE(pastLog.empty()) << session.output();
    EXPECT_FALSE(findWindowNamed(session.pid(), "Tosbel君 for Windows").empty());
    EXPECT_EQ(readChart(pastLog, 30), shuffled);

    // Ctrl+P, and the dialog's print to file: one landscape page with every
    // seated name on it as text.
    ASSERT_TRUE(focusWindow(pastLog));
    ASSERT_TRUE(pressKey("ctrl+p"));
    std::string printDialog;
    pollUntil(20s, [&] {
        for (const char* title : {"印刷", "Print"})
            if (printDialog.empty()) printDialog = findWindowNamed(session.pid(), title);
        return !printDialog.empty();
    });
    ASSERT_FALSE(printDialog.empty()) << session.output();
    ASSERT_TRUE(focusWindow(printDialog));
    ASSERT_TRUE(pressKey("Return"));
    // With no printer installed the dialog prints to a PDF file of its own
    // choosing, in the teacher's home or the program folder.
    fs::path pdf;
    ASSERT_TRUE(pollUntil(20s, [&] {
        for (const auto& entry : fs::recursive_directory_iterator(temp.path()))
            if (entry.path().extension() == ".pdf" && entry.file_size() > 0) pdf = entry.path();
        return !pdf.empty();
    })) << session.output();
    ASSERT_TRUE(mouse({"sleep", "1"}));
    const std::string info = run({"pdfinfo", pdf.string()}).text;
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    const std::string words = run({"pdftotext", "-layout", pdf.string(), "-"}).text;
    for (const std::string& pupil : attendees)
        EXPECT_NE(words.find(pupil), std::string::npos) << pupil;
    run({"pdftoppm", "-png", "-r", "60", "-singlefile", pdf.string(),
         std::string(E2E_OUTPUT_DIR) + "/e2e_printed"});

    ASSERT_TRUE(focusWindow(pastLog));
    ASSERT_TRUE(pressKey("alt+f"));
    ASSERT_TRUE(pressKey("x"));
    ASSERT_TRUE(
        pollUntil(10s, [&] { return findWindowNamed(session.pid(), kResultCaption).empty(); }));
    const std::string last = session.waitForWindow("Tosbel君 for Windows", 20s);
    ASSERT_FALSE(last.empty()) << session.output();
    sendCloseRequest(last);
    ASSERT_TRUE(answer(session, "終了確認")) << session.output();
    EXPECT_EQ(session.program().waitForExit(30s), std::optional<int>(0)) << session.output();
}

}  // namespace
}  // namespace tosbel::e2e

// A teacher opens a class of 31, marks Pupil31 absent and saves; in the
// conditions window Ctrl+W opens the seat wishes. Pupil1 is picked with the
// mouse and wished onto the front row, Pupil1 and Pupil2 are typed in as a
// pair kept apart, and 了解 writes the wish file beside the roster. The
// conditions are committed, the shuffle runs, and the result saved from the
// result window keeps both wishes.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>

#include <algorithm>
#include <cstdlib>
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

void saveScreen(const std::string& name) {
    QGuiApplication::primaryScreen()->grabWindow(0).save(
        QString::fromStdString(std::string(E2E_OUTPUT_DIR) + "/" + name));
}

// The seats of a result file, seat 1 first.
std::vector<std::string> seatsOf(const fs::path& file) {
    std::vector<std::string> seats;
    const std::string bytes = slurp(file);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", at);
        seats.push_back(bytes.substr(at, end - at));
        if (end == std::string::npos) break;
        at = end + 2;
    }
    return seats;
}

TEST(SeatWishesWithTheKeyboardAndMouse, AFrontRowWishAndAPairKeptApartHoldInTheResult) {
    TempDir temp;
    ProgramSession session(temp.path());
    fs::create_directories(session.config() / "TOSBEL");
    spit(session.config() / "TOSBEL" / "TOSBEL.ini",
         "[Config]\nOptLogo=0\n[CountDown]\nOptWait=0\n");
    ASSERT_EQ(session.start(), "");
    int argc = 1;
    char name[] = "seat_wishes_e2e";
    char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QGuiApplication app(argc, argv);

    const std::string mainWindow = session.waitForWindow("Tosbel君 for Windows", 60s);
    ASSERT_FALSE(mainWindow.empty()) << session.output();
    const std::string editor = openClassWithKeyboard(session, mainWindow, 31);
    ASSERT_FALSE(editor.empty()) << session.output();
    // Past the 100 name boxes to the 31st attendance box.
    ASSERT_EQ(run({"xdotool", "key", "--delay", "15", "--repeat", "130", "Tab"}).exitCode, 0);
    ASSERT_TRUE(pressKey("space"));
    const std::string conditions = saveAttendance(session);
    ASSERT_FALSE(conditions.empty()) << session.output();
    ASSERT_TRUE(pressKey("ctrl+w"));
    const std::string wishes = session.waitForWindow("席の希望", 20s);
    ASSERT_FALSE(wishes.empty()) << session.output();
    ASSERT_TRUE(focusWindow(wishes));
    const WindowGeometry w = windowGeometry(wishes);

    // Pupil1, the first of the list, then 前列 among the row options.
    ASSERT_TRUE(clickAt(inDialog(w, 120 + 120 + 600, 120 + 300 + 135)));
    ASSERT_TRUE(clickAt(inDialog(w, 3540 + 150 + 300, 480 + 2 * 300 + 135)));
    // The pair typed into the two name boxes, Tab moving from one to the
    // other; "2席以上離す" is chosen from the start. Then 追加.
    ASSERT_TRUE(clickAt(inDialog(w, 3540 + 780 + 750, 2460 + 285 + 165)));
    ASSERT_EQ(run({"xdotool", "type", "--delay", "30", "Pupil1"}).exitCode, 0);
    ASSERT_TRUE(pressKey("Tab"));
    ASSERT_EQ(run({"xdotool", "type", "--delay", "30", "Pupil2"}).exitCode, 0);
    ASSERT_TRUE(clickAt(inDialog(w, 3540 + 2370 + 540, 2460 + 2400 + 172)));
    ASSERT_TRUE(mouse({"sleep", "0.5"}));
    saveScreen("e2e_seat_wishes.png");
    // 了解, and the wishes are in the file beside the roster.
    ASSERT_TRUE(clickAt(inDialog(w, 7260 + 600, 6480 + 200)));
    ASSERT_TRUE(pollUntil(10s, [&] { return findWindowNamed(session.pid(), "席の希望").empty(); }))
        << "see e2e_seat_wishes.png\n"
        << session.output();
    const fs::path wishFile = session.programFolder() / "class31.KIB";
    ASSERT_TRUE(fs::exists(wishFile)) << "see e2e_seat_wishes.png";
    const std::string written = slurp(wishFile);
    // "前列,Pupil1" and "離す,Pupil1,Pupil2,2" in code page 932.
    EXPECT_NE(written.find("\x91\x4F\x97\xF1,Pupil1\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("\x97\xA3\x82\xB7,Pupil1,Pupil2,2\r\n"), std::string::npos) << written;

    ASSERT_TRUE(focusWindow(conditions));
    ASSERT_TRUE(pressKey("ctrl+s"));
    ASSERT_TRUE(answer(session, "設定確認")) << session.output();
    ASSERT_TRUE(
        pollUntil(10s, [&] { return findWindowNamed(session.pid(), "Tosbel条件").empty(); }));
    ASSERT_TRUE(focusWindow(mainWindow));
    ASSERT_TRUE(pressKey("ctrl+g"));
    const std::string result = session.waitForWindow("Tosbel結果", 20s);
    ASSERT_FALSE(result.empty()) << session.output();
    saveScreen("e2e_seat_wishes_result.png");

    ASSERT_TRUE(focusWindow(result));
    ASSERT_TRUE(pressKey("ctrl+s"));
    const std::string saveDialog = session.waitForWindow("せきがえ結果の保存", 20s);
    ASSERT_FALSE(saveDialog.empty()) << session.output();
    ASSERT_TRUE(focusWindow(saveDialog));
    const fs::path saved = session.programFolder() / "wished";
    ASSERT_EQ(run({"xdotool", "type", "--delay", "30", saved.string()}).exitCode, 0);
    ASSERT_TRUE(pressKey("Return"));
    ASSERT_TRUE(answer(session, "保存確認")) << session.output();
    ASSERT_TRUE(pollUntil(10s, [&] { return fs::exists(saved); }));

    // Thirty attendees on rows A … C: Pupil1 on row A, and Pupil2 neither
    // beside, in front of, behind nor diagonal to Pupil1.
    const std::vector<std::string> seats = seatsOf(saved);
    const auto seatOf = [&seats](const std::string& pupil) {
        return static_cast<int>(std::find(seats.begin(), seats.end(), pupil) - seats.begin());
    };
    const int first = seatOf("Pupil1"), second = seatOf("Pupil2");
    ASSERT_LT(first, 100) << "see e2e_seat_wishes_result.png";
    ASSERT_LT(second, 100) << "see e2e_seat_wishes_result.png";
    EXPECT_LT(first / 10, 1) << "Pupil1 on seat " << first + 1
                             << ", see e2e_seat_wishes_result.png";
    EXPECT_GE(std::max(std::abs(first / 10 - second / 10), std::abs(first % 10 - second % 10)), 2)
        << "seats " << first + 1 << " and " << second + 1;

    const std::string home = session.waitForWindow("Tosbel君 for Windows", 20s);
    ASSERT_FALSE(home.empty()) << session.output();
    sendCloseRequest(home);
    ASSERT_TRUE(answer(session, "終了確認")) << session.output();
    EXPECT_EQ(session.program().waitForExit(30s), std::optional<int>(0)) << session.output();
}

}  // namespace
}  // namespace tosbel::e2e

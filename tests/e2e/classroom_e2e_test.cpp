// A teacher in a classroom with a 4K screen opens a past chart and shows it
// large with 表示 → 大きく表示 from the keyboard: the chart fills the screen,
// the board band at its top, the names many times the size the result
// window gives them. Escape, and then a click, bring the result window back
// with the focus.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QString>

#include <algorithm>
#include <array>
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

const char* const kResultCaption = "Tosbel結果";
const char* const kViewCaption = "大きく表示";

QImage grabScreen(const std::string& name) {
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
    shot.save(QString::fromStdString(std::string(E2E_OUTPUT_DIR) + "/" + name));
    return shot;
}

// The height of the tallest writing on a seat box of colour `fill`: each
// region of that colour is found, and the rows of its bounding box holding
// dark pixels measured, from the first such row to the last.
int tallestWriting(const QImage& image, QRgb fill) {
    const int w = image.width(), h = image.height();
    const auto at = [&image](int x, int y) {
        return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x] & 0xFFFFFF;
    };
    std::vector<bool> seen(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    const auto mark = [&seen, w](int x, int y) {
        return seen[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                    static_cast<std::size_t>(x)];
    };
    int tallest = 0;
    for (int y0 = 0; y0 < h; ++y0) {
        for (int x0 = 0; x0 < w; ++x0) {
            if (mark(x0, y0) || at(x0, y0) != (fill & 0xFFFFFF)) continue;
            int left = x0, right = x0, top = y0, bottom = y0;
            std::vector<std::array<int, 2>> todo{{x0, y0}};
            mark(x0, y0) = true;
            while (!todo.empty()) {
                const auto [x, y] = todo.back();
                todo.pop_back();
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
                for (const auto [dx, dy] : {std::array{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h || mark(nx, ny) ||
                        at(nx, ny) != (fill & 0xFFFFFF))
                        continue;
                    mark(nx, ny) = true;
                    todo.push_back({nx, ny});
                }
            }
            if (right - left < 20 || bottom - top < 10) continue;
            int first = -1, last = -1;
            for (int y = top + 1; y < bottom; ++y)
                for (int x = left + 1; x < right; ++x)
                    if (qGray(at(x, y)) < 96) {
                        if (first < 0) first = y;
                        last = y;
                        break;
                    }
            if (first >= 0) tallest = std::max(tallest, last - first + 1);
        }
    }
    return tallest;
}

// The first and last rows holding a pixel of `colour`.
std::array<int, 2> rowsWith(const QImage& image, QRgb colour) {
    std::array<int, 2> rows{-1, -1};
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                if (rows[0] < 0) rows[0] = y;
                rows[1] = y;
                break;
            }
    }
    return rows;
}

std::string focusedWindow() {
    std::string id = run({"xdotool", "getwindowfocus"}).text;
    if (!id.empty() && id.back() == '\n') id.pop_back();
    return id;
}

TEST(ClassroomScreen, TheChartFillsA4KScreenWithLargeNamesAndEscapeOrAClickReturns) {
    TempDir temp;
    ProgramSession session(temp.path());
    session.screenSize = "3840x2160";
    fs::create_directories(session.config() / "TOSBEL");
    spit(session.config() / "TOSBEL" / "TOSBEL.ini", "[Config]\nOptLogo=0\n");
    // A saved chart, rows A to C and columns 1 to 6 taken, B 4 empty between
    // them; the history lists it under 過去ﾛｸﾞ.
    const fs::path folder = session.programFolder();
    fs::create_directories(folder);
    std::array<std::string, 100> seats;
    for (int k = 0; k < 6; ++k)
        seats[static_cast<std::size_t>(k)] = "Pupil" + std::to_string(k + 1);
    seats[10] = "\x90\xCE\x90\xEC";  // 石川
    seats[11] = "\x8F\xE3\x96\xEC";  // 上野
    seats[12] = "Pupil9";
    seats[14] = "Pupil10";
    seats[15] = "Pupil11";
    seats[21] = "\x91\x8A\x93\x63\x81\x40\x88\xEA\x98\x59";  // 相田　一郎
    std::string chart;
    for (const std::string& s : seats) chart += s + "\r\n";
    spit(folder / "past.RLT", chart);
    spit(folder / "Tosbel.ini", (folder / "past.RLT").string() + "\r\n");

    ASSERT_EQ(session.start(), "");
    int argc = 1;
    char name[] = "classroom_e2e";
    char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QGuiApplication app(argc, argv);

    const std::string mainWindow = session.waitForWindow("Tosbel君 for Windows", 60s);
    ASSERT_FALSE(mainWindow.empty()) << session.output();
    ASSERT_TRUE(focusWindow(mainWindow));
    ASSERT_TRUE(pressKey("alt+l"));
    ASSERT_TRUE(pressKey("Down"));
    ASSERT_TRUE(pressKey("Return"));
    const std::string result = session.waitForWindow(kResultCaption, 20s);
    ASSERT_FALSE(result.empty()) << session.output();
    ASSERT_TRUE(mouse({"sleep", "1"}));
    const WindowGeometry rw = windowGeometry(result);
    const QImage resultShot =
        grabScreen("e2e_classroom_result.png").copy(rw.x, rw.y, rw.width, rw.height);
    const int inWindow = tallestWriting(resultShot, qRgb(192, 192, 192));
    ASSERT_GT(inWindow, 5) << "no name found on the window's seats; see e2e_classroom_result.png";

    // 表示 → 大きく表示: the whole screen, the band at its top.
    ASSERT_TRUE(focusWindow(result));
    ASSERT_TRUE(pressKey("alt+v"));
    ASSERT_TRUE(pressKey("b"));
    const std::string view = session.waitForWindow(kViewCaption, 20s);
    ASSERT_FALSE(view.empty()) << session.output();
    ASSERT_TRUE(mouse({"sleep", "1.5"}));
    const WindowGeometry vw = windowGeometry(view);
    EXPECT_EQ(vw.x, 0);
    EXPECT_EQ(vw.y, 0);
    EXPECT_EQ(vw.width, 3840);
    EXPECT_EQ(vw.height, 2160);
    const QImage shot = grabScreen("e2e_classroom.png");
    const int large = tallestWriting(shot, qRgb(255, 255, 255));
    EXPECT_GT(large, 6 * inWindow) << "names " << large << " px high against " << inWindow
                                   << " in the window; see e2e_classroom.png";
    const std::array<int, 2> board = rowsWith(shot, qRgb(28, 78, 52));
    EXPECT_GE(board[0], 0) << "no board; see e2e_classroom.png";
    EXPECT_LT(board[1], shot.height() / 5) << "the board is not at the top";

    // Escape, the view having taken the keys itself: the result window
    // again, with the focus.
    EXPECT_EQ(focusedWindow(), view);
    ASSERT_TRUE(pressKey("Escape"));
    EXPECT_TRUE(pollUntil(10s, [&] {
        return findWindowNamed(session.pid(), kViewCaption).empty();
    })) << session.output();
    EXPECT_TRUE(pollUntil(5s, [&] { return focusedWindow() == result; }));

    // Shown again from the keyboard, a click closes it.
    ASSERT_TRUE(pressKey("alt+v"));
    ASSERT_TRUE(pressKey("b"));
    const std::string again = session.waitForWindow(kViewCaption, 20s);
    ASSERT_FALSE(again.empty()) << "the result window no longer takes its keys; "
                                << session.output();
    ASSERT_TRUE(mouse({"sleep", "0.5"}));
    ASSERT_TRUE(clickAt({1920, 1500}));
    EXPECT_TRUE(pollUntil(10s, [&] {
        return findWindowNamed(session.pid(), kViewCaption).empty();
    })) << session.output();
    EXPECT_TRUE(pollUntil(5s, [&] { return focusedWindow() == result; }));

    ASSERT_TRUE(focusWindow(result));
    ASSERT_TRUE(pressKey("alt+f"));
    ASSERT_TRUE(pressKey("x"));
    const std::string last = session.waitForWindow("Tosbel君 for Windows", 20s);
    ASSERT_FALSE(last.empty()) << session.output();
    sendCloseRequest(last);
    ASSERT_TRUE(answer(session, "終了確認")) << session.output();
    EXPECT_EQ(session.program().waitForExit(30s), std::optional<int>(0)) << session.output();
}

}  // namespace
}  // namespace tosbel::e2e

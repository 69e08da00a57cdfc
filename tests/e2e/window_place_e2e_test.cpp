// With centring off, the main window comes back where the teacher left it,
// frame and all, start after start, under a real window manager: one that
// frames the window a title bar above where a careless program puts it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/e2e/process.h"
#include "tests/e2e/program_session.h"
#include "tests/e2e/x_session.h"
#include "tests/temp_dir.h"

namespace tosbel::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kMainCaption = "Tosbel君 for Windows";

std::string storedPlace(const ProgramSession& session) {
    const Ini ini = readIni(session.config() / "TOSBEL" / "TOSBEL.ini");
    return valueOf(ini, "Position", "I_Left") + "," + valueOf(ini, "Position", "I_Top");
}

// The main window, once its frame stands still.
std::string mainWindowOf(ProgramSession& session, Point& corner) {
    const std::string main = session.waitForWindow(kMainCaption, 60s);
    if (main.empty()) return main;
    Point last{-1, -1};
    pollUntil(5s, [&] {
        corner = frameCorner(main);
        const bool still = corner.x == last.x && corner.y == last.y;
        last = corner;
        return still;
    });
    return main;
}

bool quit(ProgramSession& session, const std::string& main) {
    sendCloseRequest(main);
    return answer(session, "終了確認") && session.program().waitForExit(30s).has_value();
}

TEST(WindowPlaceUnderAWindowManager, TheMainWindowComesBackWhereItWasLeft) {
    TempDir temp;
    ProgramSession session(temp.path());
    fs::create_directories(session.config() / "TOSBEL");
    {
        std::ofstream ini(session.config() / "TOSBEL" / "TOSBEL.ini", std::ios::binary);
        ini << "[Config]\r\nOptLogo=0\r\n[Position]\r\nOptCent=0\r\nI_Left=3000\r\nI_Top=2250\r\n";
    }
    ASSERT_EQ(session.start(true), "");

    for (int start = 1; start <= 3; ++start) {
        if (start > 1) {
            ASSERT_EQ(session.restart(), "");
        }
        Point corner{};
        const std::string main = mainWindowOf(session, corner);
        ASSERT_FALSE(main.empty()) << session.output();
        EXPECT_EQ(corner.x, 200) << "start " << start;
        EXPECT_EQ(corner.y, 150) << "start " << start;
        ASSERT_TRUE(quit(session, main)) << session.output();
        EXPECT_EQ(storedPlace(session), "3000,2250") << "start " << start;
    }

    // The screen's corner is a place like any other.
    Point corner{};
    std::string main;
    ASSERT_EQ(session.restart(), "");
    main = mainWindowOf(session, corner);
    ASSERT_FALSE(main.empty()) << session.output();
    ASSERT_EQ(run({"xdotool", "windowmove", main, "0", "0"}).exitCode, 0);
    pollUntil(5s, [&] { return frameCorner(main).y == 0; });
    ASSERT_TRUE(quit(session, main)) << session.output();
    EXPECT_EQ(storedPlace(session), "0,0");
    ASSERT_EQ(session.restart(), "");
    main = mainWindowOf(session, corner);
    ASSERT_FALSE(main.empty()) << session.output();
    EXPECT_EQ(corner.x, 0);
    EXPECT_EQ(corner.y, 0);
    EXPECT_TRUE(quit(session, main));
}

}  // namespace
}  // namespace tosbel::e2e

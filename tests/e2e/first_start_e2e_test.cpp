// The program as a teacher meets it on a new machine: started from its own
// folder in a real X window with an empty settings store, it shows the logo,
// then the main window, writes its defaults, and ends through the close box and
// the exit question.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "tests/e2e/process.h"
#include "tests/e2e/program_session.h"
#include "tests/e2e/x_session.h"
#include "tests/temp_dir.h"

namespace tosbel::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kMainCaption = "Tosbel君 for Windows";
const std::string kExitTitle = "終了確認";
const char* const kGuideText =
    "ﾌｧｲﾙ(F) から「名簿の新規作成(N)」または「名簿を開く(O)...」を選択して下さい";
const char* const kMenuCaptions[] = {"ﾌｧｲﾙ(&F)",
                                     "名簿の新規作成(&N)",
                                     "名簿を開く(&O)...",
                                     "Tosbel実行(&G)",
                                     "Tosbel君 の終了(&X)...",
                                     "ﾃﾞｰﾀ管理(&M)",
                                     "ｺﾋﾟｰ(&C)...",
                                     "名前の変更(&R)...",
                                     "ﾊﾞｯｸｱｯﾌﾟ(&B)...",
                                     "削除(&D)...",
                                     "過去ﾛｸﾞ(&L)",
                                     "先程の結果(&R)",
                                     "ｵﾌﾟｼｮﾝ(&O)",
                                     "環境設定(&E)",
                                     "Tosbel条件(&S)",
                                     "ﾍﾙﾌﾟ(&H)",
                                     "目次(&C)",
                                     "ﾊﾞｰｼﾞｮﾝ情報(&A)..."};

int luminance(QRgb c) {
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

bool near(QRgb c, int r, int g, int b, int tolerance) {
    return std::abs(qRed(c) - r) <= tolerance && std::abs(qGreen(c) - g) <= tolerance &&
           std::abs(qBlue(c) - b) <= tolerance;
}

// The first pixel down the window's left edge in the top gradient band; the
// menu bar and toolbar above it are the renderer's business.
std::optional<QRgb> topOfGradient(const QImage& screen, const WindowGeometry& g) {
    const int x = g.x + 6;
    for (int y = g.y; y < g.y + 120 && y < screen.height(); ++y)
        if (near(screen.pixel(x, y), 10, 50, 110, 12)) return screen.pixel(x, y);
    return std::nullopt;
}

struct StatusRegion {
    int darkPixels = 0;
    int medianLuminance = 0;
};

// The guide text sits in the left panel of the status bar at the window's foot.
StatusRegion statusRegion(const QImage& screen, const WindowGeometry& g) {
    std::vector<int> lum;
    StatusRegion r;
    for (int y = g.y + g.height - 18; y < g.y + g.height - 2; ++y) {
        for (int x = g.x + 4; x < g.x + g.width / 2; ++x) {
            const int l = luminance(screen.pixel(x, y));
            lum.push_back(l);
            if (l < 90) ++r.darkPixels;
        }
    }
    std::nth_element(lum.begin(), lum.begin() + static_cast<long>(lum.size() / 2), lum.end());
    r.medianLuminance = lum[lum.size() / 2];
    return r;
}

TEST(FirstStartOnAFreshMachine, LogoMainWindowDefaultsAndExit) {
    TempDir temp;
    ProgramSession session(temp.path());
    const std::string failure = session.start();
    ASSERT_EQ(failure, "");
    const auto programOutput = [&] { return session.output(); };
    const fs::path& config = session.config();
    const fs::path& programFolder = session.programFolder();
    Child& tosbel = session.program();

    // The logo comes first, alone; the main window follows once it has gone.
    std::string firstWindow;
    ASSERT_TRUE(pollUntil(60s, [&] {
        const auto windows = visibleWindowsOf(tosbel.pid());
        if (!windows.empty()) firstWindow = windows.front();
        return !firstWindow.empty() || !tosbel.running();
    }));
    ASSERT_FALSE(firstWindow.empty()) << programOutput();
    EXPECT_NE(windowName(firstWindow), kMainCaption) << "no logo before the main window";

    std::string mainWindow;
    ASSERT_TRUE(pollUntil(60s, [&] {
        mainWindow = findWindowNamed(tosbel.pid(), kMainCaption);
        return !mainWindow.empty() || !tosbel.running();
    })) << programOutput();
    ASSERT_FALSE(mainWindow.empty()) << programOutput();
    EXPECT_NE(mainWindow, firstWindow) << "no logo before the main window";
    EXPECT_EQ(visibleWindowsOf(tosbel.pid()), std::vector<std::string>{mainWindow})
        << "the logo is still up";

    // The start wrote every default into the empty store and filled the
    // program folder.
    const Ini ini = readIni(config / "TOSBEL" / "TOSBEL.ini");
    EXPECT_EQ(valueOf(ini, "Config", "OptLogo"), "1");
    EXPECT_EQ(valueOf(ini, "Config", "OptMColor"), "0");
    EXPECT_EQ(valueOf(ini, "CountDown", "WaitTime"), "10");
    EXPECT_EQ(valueOf(ini, "CountDown", "Koma%280%29"), "ONE.BMP");
    for (const char* name : {"ONE.BMP", "FIVE.BMP", "TEN.BMP", "DRAG.ICO", "DRAG2.ICO"})
        EXPECT_TRUE(fs::is_regular_file(programFolder / name)) << name;
    EXPECT_TRUE(fs::is_regular_file(programFolder / fs::path(u8"サンプル.MEM")));

    // This process looks at the screen the way a person would.
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    int argc = 1;
    char name[] = "first_start_e2e";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    // Polled: the window is mapped before it is painted.
    const WindowGeometry g = windowGeometry(mainWindow);
    ASSERT_GT(g.width, 400) << programOutput();
    QImage shot;
    pollUntil(20s, [&] {
        shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        return topOfGradient(shot, g) && statusRegion(shot, g).darkPixels > 40;
    });
    const std::string shotPath = std::string(E2E_OUTPUT_DIR) + "/e2e_main_window.png";
    EXPECT_TRUE(shot.save(QString::fromStdString(shotPath))) << shotPath;
    EXPECT_TRUE(topOfGradient(shot, g).has_value())
        << "no theme 0 blue near the top of the client area; see " << shotPath;
    const StatusRegion status = statusRegion(shot, g);
    EXPECT_GT(status.medianLuminance, 150) << "the status bar is not drawn; see " << shotPath;
    EXPECT_GT(status.darkPixels, 40) << "no guide text in the status bar; see " << shotPath;

    // Every character the main window shows in its default font has a glyph
    // in the font that stands in for it here.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"),
                              QStringLiteral("Noto Sans CJK JP"));
    const QFont guiFont(QStringLiteral("ＭＳ Ｐゴシック"));
    const QFontMetrics metrics(guiFont);
    EXPECT_EQ(QFontInfo(guiFont).family(), QStringLiteral("Noto Sans CJK JP"));
    std::vector<const char*> texts(std::begin(kMenuCaptions), std::end(kMenuCaptions));
    texts.push_back(kGuideText);
    for (const char* t : texts)
        for (char32_t ch : QString::fromUtf8(t).toUcs4())
            EXPECT_TRUE(metrics.inFontUcs4(ch))
                << "no glyph for U+" << std::hex << static_cast<unsigned>(ch) << " in " << t;

    // The close box asks first; OK ends the program.
    sendCloseRequest(mainWindow);
    std::string question;
    ASSERT_TRUE(pollUntil(20s, [&] {
        question = findWindowNamed(tosbel.pid(), kExitTitle);
        return !question.empty();
    })) << programOutput();
    ASSERT_TRUE(focusWindow(question));
    ASSERT_TRUE(pressKey("Return"));
    EXPECT_EQ(tosbel.waitForExit(30s), std::optional<int>(0)) << programOutput();
    const Ini after = readIni(config / "TOSBEL" / "TOSBEL.ini");
    for (const char* key : {"I_Top", "I_Left"}) {
        const std::string twips = valueOf(after, "Position", key);
        EXPECT_TRUE(!twips.empty() && twips.find_first_not_of("-0123456789.") == std::string::npos)
            << key << " = " << twips << ": the window's place was not kept";
    }
}

}  // namespace
}  // namespace tosbel::e2e

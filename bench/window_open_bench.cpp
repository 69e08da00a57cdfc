// How long the teacher waits for a window once the program is running: from
// the command that opens it to the end of its first paint, beside the main
// window's own opening. The conditions window (300 controls and more) with a
// full class, the shuffle of a full class to the painted result window
// (countdown off), and a past log of 100 names to the painted result window.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <QWidget>

#include <fstream>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "conditions/conditions_window.h"
#include "platform/qt/qt_platform.h"
#include "results/result_window.h"
#include "shell/main_window.h"
#include "shell/shell.h"

namespace {

// Notes when a widget of the named top-level window has been painted.
class PaintWatch final : public QObject {
public:
    explicit PaintWatch(QString window) : window_(std::move(window)) {}
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window()->objectName() == window_)
            painted = true;
        return false;
    }

private:
    QString window_;
};

double openAndPaint(const QString& window, const std::function<void()>& open) {
    PaintWatch watch(window);
    qApp->installEventFilter(&watch);
    QElapsedTimer timer;
    timer.start();
    open();
    while (!watch.painted) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();  // the rest of that paint
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    qApp->removeEventFilter(&watch);
    return ms;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    QApplication app(argc, argv);

    const std::string folder = home.path().toStdString();
    {
        // A past log of a full chart, listed in the history.
        std::ofstream chart(folder + "/past.RLT", std::ios::binary);
        for (int k = 1; k <= 100; ++k) chart << "Pupil" << k << "\r\n";
        std::ofstream(folder + "/Tosbel.ini", std::ios::binary) << folder << "/past.RLT\r\n";
    }
    tosbel::QtPlatform platform(folder);
    platform.settings().save("Config", "OptLogo", "0");
    platform.settings().save("CountDown", "OptWait", "0");
    tosbel::Shell shell(platform);
    shell.startUp();
    tosbel::AppState& s = shell.state();
    for (std::size_t i = 1; i <= 100; ++i) s.Members[i] = "生徒" + std::to_string(i);
    s.MemberCount = s.RegisteredCount = 100;

    const QString result = QStringLiteral("RESULT");
    constexpr int kRounds = 15;
    std::vector<double> main, conditions, shuffled, pastLog;
    for (int round = 0; round < kRounds + 2; ++round) {
        shell.mainWindow()->close(tosbel::UnloadMode::Program);
        const double m =
            openAndPaint(QStringLiteral("TOSBEL"), [&shell] { shell.showMainWindow(); });
        const double c =
            openAndPaint(QStringLiteral("COND"), [&shell] { shell.windows().conditions(); });
        shell.conditionsWindow()->close(tosbel::UnloadMode::Program);
        // The shuffle closes the main window; OK brings it back.
        const double r = openAndPaint(result, [&shell] { shell.windows().shuffle(); });
        shell.resultWindow()->mnuOK_Click();
        QCoreApplication::processEvents();
        const double p =
            openAndPaint(result, [&shell] { shell.mainWindow()->mnuFileArray_Click(1); });
        shell.resultWindow()->mnuOK_Click();
        if (round < 2) continue;  // warming up
        main.push_back(m);
        conditions.push_back(c);
        shuffled.push_back(r);
        pastLog.push_back(p);
    }
    std::printf("Opening a window to its first paint, program warm, median of %d (%s):\n", kRounds,
                qgetenv("QT_QPA_PLATFORM").constData());
    const double base = median(main);
    std::printf("  main window                    %6.1f ms\n", base);
    const std::pair<const char*, std::vector<double>*> rows[] = {
        {"conditions window, 100 names", &conditions},
        {"shuffle of 100 to the result ", &shuffled},
        {"past log of 100 to the result", &pastLog}};
    for (const auto& [what, times] : rows)
        std::printf("  %s  %6.1f ms  (%.2f x the main window)\n", what, median(*times),
                    median(*times) / base);
    return 0;
}

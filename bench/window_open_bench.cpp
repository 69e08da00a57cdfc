// How long the teacher waits for a window once the program is running: from
// the command that opens it to the end of its first paint, for the conditions
// window (300 controls and more) with a full class beside the main window.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "conditions/conditions_window.h"
#include "platform/qt/qt_platform.h"
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

    tosbel::QtPlatform platform(home.path().toStdString());
    platform.settings().save("Config", "OptLogo", "0");
    tosbel::Shell shell(platform);
    shell.startUp();
    tosbel::AppState& s = shell.state();
    for (std::size_t i = 1; i <= 100; ++i) s.Members[i] = "生徒" + std::to_string(i);
    s.MemberCount = s.RegisteredCount = 100;

    constexpr int kRounds = 15;
    std::vector<double> main, conditions;
    for (int round = 0; round < kRounds + 2; ++round) {
        shell.mainWindow()->close(tosbel::UnloadMode::Program);
        const double m =
            openAndPaint(QStringLiteral("TOSBEL"), [&shell] { shell.showMainWindow(); });
        const double c =
            openAndPaint(QStringLiteral("COND"), [&shell] { shell.windows().conditions(); });
        shell.conditionsWindow()->close(tosbel::UnloadMode::Program);
        if (round < 2) continue;  // warming up
        main.push_back(m);
        conditions.push_back(c);
    }
    std::printf("Opening a window to its first paint, program warm, median of %d (%s):\n", kRounds,
                qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  main window                  %6.1f ms\n", median(main));
    std::printf("  conditions window, 100 names %6.1f ms\n", median(conditions));
    std::printf("  ratio                        %6.2f\n", median(conditions) / median(main));
    return 0;
}

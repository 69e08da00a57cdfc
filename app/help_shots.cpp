// Takes the pictures of the windows that the help pages show: the real program
// on the offscreen platform with the sample class, each window opened through
// the command a teacher uses and saved as a PNG file once it has painted.
//
//     help_shots <folder>     (scripts/help-shots.sh writes into resources/help/images)
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/program_folder.h"
#include "conditions/seat_wishes_window.h"
#include "core/app_state.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"
#include "results/result_window.h"
#include "roster/class_list_window.h"
#include "shell/main_window.h"
#include "shell/shell.h"

namespace {

using tosbel::FormWindow;

FormWindow* shownWindow(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return dynamic_cast<FormWindow*>(w);
    return nullptr;
}

// Watches for the windows asked for and photographs each once it is up; file
// dialogs are answered with the file chosen beforehand.
class Camera {
public:
    explicit Camera(QString folder) : folder_(std::move(folder)) {
        timer_.setInterval(30);
        QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
        timer_.start();
    }

    // `then` runs once the picture is taken; by default the window goes.
    // `settle` is how long the window shows before the picture, for one
    // whose picture comes with its first timer tick.
    void expect(const QString& window, const QString& file,
                std::function<void(FormWindow&)> then = discard, int settle = 0) {
        wanted_.push_back({window, file, std::move(then), settle, {}, false});
    }
    void chooseInFileDialog(const QString& path) { fileAnswer_ = path; }

    // Runs the command, then waits until every picture expected is taken.
    bool run(const std::function<void()>& command) {
        command();
        fileAnswer_.clear();
        QElapsedTimer waited;
        waited.start();
        while (!allTaken()) {
            if (waited.elapsed() > 20000) {
                for (const Shot& s : wanted_)
                    if (!s.taken) std::fprintf(stderr, "%s never showed\n", qPrintable(s.window));
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        wanted_.clear();
        return !unwritten_;
    }

    static void discard(FormWindow& w) { w.form()->discard(); }

private:
    struct Shot {
        QString window;
        QString file;
        std::function<void(FormWindow&)> then;
        int settle;
        QElapsedTimer shown;
        bool taken;
    };

    bool allTaken() const {
        for (const Shot& s : wanted_)
            if (!s.taken) return false;
        return true;
    }

    void look() {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            dialog && dialog->isVisible() && !fileAnswer_.isEmpty()) {
            // Asked again at every look until the dialog has gone: a dialog
            // still reading its folder may drop a choice made too early, and
            // one whose name box has the focus keeps the box as typed.
            if (QWidget* focused = dialog->focusWidget()) focused->clearFocus();
            dialog->selectFile(fileAnswer_);
            QMetaObject::invokeMethod(dialog, "accept");
            return;
        }
        for (Shot& s : wanted_) {
            if (s.taken) continue;
            FormWindow* w = shownWindow(s.window);
            if (!w) continue;
            if (!s.shown.isValid()) s.shown.start();
            if (s.shown.elapsed() < s.settle) continue;
            // One more turn of the loop, so the first paint is complete.
            QCoreApplication::processEvents();
            const QString path = folder_ + u'/' + s.file;
            if (!w->grab().save(path, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                unwritten_ = true;
            }
            s.taken = true;
            s.then(*w);
            return;
        }
    }

    QString folder_;
    QTimer timer_;
    std::vector<Shot> wanted_;
    QString fileAnswer_;
    bool unwritten_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: help_shots <folder for the pictures>\n", stderr);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TOSBEL"));

    const std::string folder = home.path().toStdString();
    tosbel::addMissingDefaultFiles(folder);
    const QString sample = home.path() + QStringLiteral("/サンプル.MEM");

    tosbel::QtPlatform platform(folder);
    platform.settings().save("Config", "OptLogo", "0");
    platform.settings().save("CountDown", "OptWait", "1");
    platform.settings().save("CountDown", "WaitTime", "3");
    tosbel::Shell shell(platform);
    shell.startUp();

    const QString pictures = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(pictures)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    Camera camera(pictures);
    // A dialog that never closes would hold the run for ever.
    QTimer::singleShot(120000, [] {
        std::fputs("help_shots: a window or dialog stayed open for two minutes\n", stderr);
        std::_Exit(1);
    });
    bool ok = true;
    const auto take = [&](const QString& window, const QString& file,
                          const std::function<void()>& command,
                          std::function<void(FormWindow&)> then = Camera::discard) {
        camera.expect(window, file, std::move(then));
        ok = camera.run(command) && ok;
    };
    const auto keep = [](FormWindow&) {};
    tosbel::WindowOpeners& open = shell.windows();

    take(
        "TOSBEL", "main.png", [] {}, keep);
    take("TOUROKU", "roster_editor_new.png", [&] { shell.mainWindow()->mnuFileCreate_Click(); });
    camera.chooseInFileDialog(sample);
    take("TOUROKU", "roster_editor.png", [&] { shell.mainWindow()->mnuFileOpen_Click(); });

    // The sample class as a school system exports it: numbers, names, sexes.
    const QString list = home.path() + QStringLiteral("/学級名簿.csv");
    {
        std::string csv = "\xEF\xBB\xBF出席番号,氏名,性別\r\n";
        const auto& listed = tosbel::sampleRosterNames();
        for (std::size_t i = 0; i < listed.size(); ++i)
            csv += std::to_string(i + 1) + "," + listed[i] + (i % 2 ? ",女\r\n" : ",男\r\n");
        QFile file(list);
        ok = file.open(QIODevice::WriteOnly) && file.write(csv.data(), qint64(csv.size())) && ok;
    }
    camera.chooseInFileDialog(list);
    take("TORIKOMI", "class_list.png", [&] { tosbel::takeInClassList(platform); });

    // The sample class with two pupils fixed to their seats and the front
    // corners kept empty, as the conditions and the chart show them.
    tosbel::AppState& s = shell.state();
    const auto& names = tosbel::sampleRosterNames();
    for (std::size_t i = 0; i < names.size(); ++i) s.Members[i + 1] = names[i];
    s.MemberCount = s.RegisteredCount = static_cast<std::int16_t>(names.size());
    s.SeatConditions[1] = s.SeatConditions[10] = std::string(tosbel::kEmptySeatMark);
    s.SeatConditions[5] = names[3];
    s.SeatConditions[23] = names[12];
    take("COND", "conditions.png", [&] { open.conditions(); });

    camera.expect("WAIT", "countdown.png", keep, 1500);
    take(
        "RESULT", "result.png", [&] { open.shuffle(); }, keep);
    take("NOPRINT", "noprint.png", [&] { shell.resultWindow()->mnuNoPrintLine_Click(); });
    shell.resultWindow()->discard();

    // A few wishes of the sample class, compared with the result just shown;
    // the wishes go again once the picture is taken.
    s.WishRosterPath = sample.toStdString();
    s.Wishes.pupils = {{names[0], tosbel::RowWish::Front, tosbel::Sex::Boy, false},
                       {names[3], tosbel::RowWish::None, tosbel::Sex::Girl, true},
                       {names[12], tosbel::RowWish::BackTwo, tosbel::Sex::Unmarked, true}};
    s.Wishes.pairs = {{names[1], names[2], tosbel::PairKind::Apart, 2},
                      {names[5], names[8], tosbel::PairKind::Near, 1}};
    s.Wishes.everyoneMoves = true;
    s.Wishes.pattern = tosbel::SexPattern::Columns;
    for (std::size_t k = 0; k < s.Wishes.lastChart.size(); ++k)
        s.Wishes.lastChart[k] = s.SeatResult[k + 1];
    s.Wishes.lastSource = "先程の結果";
    take("KIBOU", "seat_wishes.png", [&] { tosbel::showSeatWishes(s, platform); });
    s.Wishes = {};

    take("CNTVAL", "countdown_settings.png", [&] { open.countdownSettings(); });
    camera.chooseInFileDialog(sample);
    take("FILESCOPY", "file_copy.png", [&] { open.fileCopy(); });
    camera.chooseInFileDialog(sample);
    take("RENAME", "file_rename.png", [&] { open.fileRename(); });
    take("BACK_UP", "backup.png", [&] { open.backup(); });
    take("GAMEN", "background.png", [&] { open.background(); });
    take("RUN_SOFT", "editing_software.png", [&] { open.editingSoftware(); });
    take("INFO_VER", "version.png", [&] { open.version(); });

    platform.endProgram();
    return ok ? 0 : 1;
}

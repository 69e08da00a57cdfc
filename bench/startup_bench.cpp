// Start-up to the main window: runs the program and an empty Qt window of the
// same size several times each, from process start to its exit right after the
// first paint, and prints the medians and their ratio. The logo is switched off
// in a fresh settings store, so the figure is what the program itself costs.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

struct Subject {
    const char* label;
    QString program;
};

// One start; nothing when the process failed, so a broken build is not timed.
std::optional<double> timeOneStart(const QString& program, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    // Kept, and shown only when the start fails.
    process.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    if (!process.waitForStarted(30000) || !process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        std::fprintf(stderr, "%s did not start or did not end:\n%s\n", qPrintable(program),
                     process.readAll().constData());
        return std::nullopt;
    }
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s ended with code %d:\n%s\n", qPrintable(program),
                     process.exitCode(), process.readAll().constData());
        return std::nullopt;
    }
    return ms;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int runs = 10;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--runs")) runs = std::max(1, args[i + 1].toInt());

    // Copies in a folder of their own: the program makes its folder its program
    // folder and fills it with its default files, which must not land in the
    // build tree.
    QTemporaryDir temp;
    const QString home = temp.filePath(QStringLiteral("home"));
    const QString config = temp.filePath(QStringLiteral("config"));
    const QString runtime = temp.filePath(QStringLiteral("runtime"));
    const QString programFolder = temp.filePath(QStringLiteral("program"));
    for (const QString& d : {home, config + QStringLiteral("/TOSBEL"), runtime, programFolder})
        QDir().mkpath(d);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile ini(config + QStringLiteral("/TOSBEL/TOSBEL.ini"));
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[Config]\nOptLogo=0\n") < 0) return 1;
    ini.close();

    std::vector<Subject> subjects = {{"program", QStringLiteral(TOSBEL_PROGRAM)},
                                     {"bare window", QStringLiteral(BARE_WINDOW_PROGRAM)}};
    for (Subject& s : subjects) {
        const QString copy = programFolder + QLatin1Char('/') + QFileInfo(s.program).fileName();
        QFile::remove(copy);
        if (!QFile::copy(s.program, copy)) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(s.program));
            return 1;
        }
        s.program = copy;
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("TOSBEL_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    const bool onDisplay = !env.value(QStringLiteral("DISPLAY")).isEmpty() ||
                           !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    if (!onDisplay && !env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    // One start each first: the program writes its default files and the
    // settings on its first start, and the system's caches fill.
    for (const Subject& s : subjects)
        if (!timeOneStart(s.program, env)) return 1;

    // Alternating, so a change in the machine's load hits both alike.
    std::vector<std::vector<double>> times(subjects.size());
    for (int r = 0; r < runs; ++r) {
        for (std::size_t i = 0; i < subjects.size(); ++i) {
            const auto ms = timeOneStart(subjects[i].program, env);
            if (!ms) return 1;
            times[i].push_back(*ms);
        }
    }

    const double program = median(times[0]);
    const double bare = median(times[1]);
    std::printf("Start-up to the first paint of the main window, median of %d runs (%s):\n", runs,
                qPrintable(env.value(QStringLiteral("QT_QPA_PLATFORM"),
                                     QStringLiteral("the current display"))));
    std::printf("  program       %8.1f ms\n", program);
    std::printf("  bare window   %8.1f ms\n", bare);
    std::printf("  ratio         %8.2f\n", program / bare);
    return 0;
}

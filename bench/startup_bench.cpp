// Start-up to the main window: runs the program and a bare Qt window showing one
// line of Japanese several times each, from process start to its exit right
// after the first paint, and prints the medians and their ratio. The logo is
// switched off in a fresh settings store, so the figure is what the program
// itself costs.
//
//   startup_bench [--runs N] [--marks] [--program FILE] [--bare FILE]
//
// --marks also prints where the time goes: each start-up mark (see
// platform/qt/first_paint.h) as the median time from the process start.
// --program and --bare time other builds in their places: an older program
// beside today's bare window, or two builds of the program against each other.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Subject {
    const char* label;
    QString program;
};

struct Start {
    double ms = 0;
    std::vector<std::pair<std::string, double>> marks;  // in the order printed
};

// The marks a process printed, as milliseconds from `spawned`: the process
// reads the same steady clock.
std::vector<std::pair<std::string, double>> marksOf(const QByteArray& output,
                                                    Clock::time_point spawned) {
    static const QRegularExpression line(
        QStringLiteral(R"(^startup mark: (.+) [0-9.]+ ms \(steady (-?[0-9]+)\)$)"),
        QRegularExpression::MultilineOption);
    std::vector<std::pair<std::string, double>> marks;
    const qint64 origin =
        std::chrono::duration_cast<std::chrono::nanoseconds>(spawned.time_since_epoch()).count();
    for (auto it = line.globalMatch(QString::fromUtf8(output)); it.hasNext();) {
        const auto m = it.next();
        const double ms = static_cast<double>(m.captured(2).toLongLong() - origin) / 1e6;
        marks.emplace_back(m.captured(1).toStdString(), ms);
    }
    return marks;
}

// One start; nothing when the process failed, so a broken build is not timed.
std::optional<Start> timeOneStart(const QString& program, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    // Kept for the marks, and shown when the start fails.
    process.setProcessChannelMode(QProcess::MergedChannels);
    const Clock::time_point spawned = Clock::now();
    process.start(program, {});
    if (!process.waitForStarted(30000) || !process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        std::fprintf(stderr, "%s did not start or did not end:\n%s\n", qPrintable(program),
                     process.readAll().constData());
        return std::nullopt;
    }
    Start start;
    start.ms = std::chrono::duration<double, std::milli>(Clock::now() - spawned).count();
    const QByteArray output = process.readAll();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s ended with code %d:\n%s\n", qPrintable(program),
                     process.exitCode(), output.constData());
        return std::nullopt;
    }
    start.marks = marksOf(output, spawned);
    return start;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Each mark's median over the runs, in the order the marks came, the marks of
// all subjects merged.
void printMarks(const std::vector<Subject>& subjects, const std::vector<std::vector<Start>>& runs) {
    std::vector<std::string> order;
    std::vector<std::map<std::string, std::vector<double>>> times(subjects.size());
    for (std::size_t i = 0; i < subjects.size(); ++i) {
        for (const Start& s : runs[i]) {
            auto at = order.begin();
            for (const auto& [name, ms] : s.marks) {
                times[i][name].push_back(ms);
                const auto known = std::find(order.begin(), order.end(), name);
                at = known != order.end() ? known + 1 : order.insert(at, name) + 1;
            }
        }
    }
    std::printf("\nWhere the time goes, median ms from the process start:\n");
    std::printf("  %-34s", "");
    for (const Subject& s : subjects) std::printf("%14s", s.label);
    std::printf("\n");
    for (const std::string& name : order) {
        std::printf("  %-34s", name.c_str());
        for (std::size_t i = 0; i < subjects.size(); ++i) {
            const auto it = times[i].find(name);
            if (it == times[i].end())
                std::printf("%14s", "-");
            else
                std::printf("%14.1f", median(it->second));
        }
        std::printf("\n");
    }
    std::printf("  %-34s", "process ended");
    for (const auto& subjectRuns : runs) {
        std::vector<double> ms;
        for (const Start& s : subjectRuns) ms.push_back(s.ms);
        std::printf("%14.1f", median(ms));
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int runs = 10;
    bool marks = false;
    std::vector<Subject> subjects = {{"program", QStringLiteral(TOSBEL_PROGRAM)},
                                     {"bare window", QStringLiteral(BARE_WINDOW_PROGRAM)}};
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const bool valued = i + 1 < args.size();
        if (args[i] == QLatin1String("--marks")) {
            marks = true;
        } else if (args[i] == QLatin1String("--runs") && valued) {
            runs = std::max(1, args[++i].toInt());
        } else if (args[i] == QLatin1String("--program") && valued) {
            subjects[0].program = args[++i];
        } else if (args[i] == QLatin1String("--bare") && valued) {
            subjects[1].program = args[++i];
        } else {
            std::fprintf(stderr, "unknown or incomplete argument: %s\n", qPrintable(args[i]));
            return 2;
        }
    }

    // Copies in a folder of their own: the program makes its folder its program
    // folder and fills it with its default files, which must not land in the
    // build tree.
    QTemporaryDir temp;
    const QString home = temp.filePath(QStringLiteral("home"));
    const QString config = temp.filePath(QStringLiteral("config"));
    const QString runtime = temp.filePath(QStringLiteral("runtime"));
    const QString programFolder = temp.filePath(QStringLiteral("program"));
    for (const QString& d : {home, config + QStringLiteral("/TOSBEL"), runtime}) QDir().mkpath(d);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile ini(config + QStringLiteral("/TOSBEL/TOSBEL.ini"));
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[Config]\nOptLogo=0\n") < 0) return 1;
    ini.close();

    // A folder each, so two builds of one program can be timed side by side.
    for (std::size_t i = 0; i < subjects.size(); ++i) {
        Subject& s = subjects[i];
        const QString folder = programFolder + QLatin1Char('/') + QString::number(i);
        const QString copy = folder + QLatin1Char('/') + QFileInfo(s.program).fileName();
        if (!QDir().mkpath(folder) || !QFile::copy(s.program, copy)) {
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
    if (marks)
        env.insert(QStringLiteral("TOSBEL_STARTUP_MARKS"), QStringLiteral("1"));
    else
        env.remove(QStringLiteral("TOSBEL_STARTUP_MARKS"));
    const bool onDisplay = !env.value(QStringLiteral("DISPLAY")).isEmpty() ||
                           !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    if (!onDisplay && !env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    // One start each first: the program writes its default files and the
    // settings on its first start, and the system's caches fill.
    for (const Subject& s : subjects)
        if (!timeOneStart(s.program, env)) return 1;

    // Alternating, so a change in the machine's load hits both alike.
    std::vector<std::vector<Start>> starts(subjects.size());
    for (int r = 0; r < runs; ++r) {
        for (std::size_t i = 0; i < subjects.size(); ++i) {
            auto start = timeOneStart(subjects[i].program, env);
            if (!start) return 1;
            starts[i].push_back(std::move(*start));
        }
    }

    std::vector<double> medians;
    for (const auto& subjectStarts : starts) {
        std::vector<double> ms;
        for (const Start& s : subjectStarts) ms.push_back(s.ms);
        medians.push_back(median(ms));
    }
    std::printf("Start-up to the first paint of the main window, median of %d runs (%s):\n", runs,
                qPrintable(env.value(QStringLiteral("QT_QPA_PLATFORM"),
                                     QStringLiteral("the current display"))));
    std::printf("  program       %8.1f ms\n", medians[0]);
    std::printf("  bare window   %8.1f ms\n", medians[1]);
    std::printf("  ratio         %8.2f\n", medians[0] / medians[1]);
    if (marks) printMarks(subjects, starts);
    return 0;
}

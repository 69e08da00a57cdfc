// Printing a full seating chart to a PDF file: the page drawn as vector text,
// against the same page drawn as a 300 dpi picture and put on the paper, the
// way a screenshot of the window would print. Time to a finished file
// (median) and the file's size per page.
//
//   print_bench [--runs N] [--pdf FILE]   FILE keeps one vector page to look at
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "platform/qt/print_page.h"
#include "platform/qt/qt_platform.h"
#include "results/result_window.h"

namespace {

using tosbel::PaperLook;
using tosbel::PrintedPage;
using tosbel::Rgb;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// 100 different names of up to six full-width characters, as a class has them.
std::array<std::string, 100> fullClass() {
    const char* family[] = {"山田", "佐藤", "鈴木",   "高橋", "田中",
                            "渡辺", "伊藤", "長谷川", "小林", "中村"};
    const char* given[] = {"太郎", "花子", "健一",   "美奈子", "翔",
                           "由美", "大輔", "さくら", "拓也",   "愛"};
    std::array<std::string, 100> names;
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = std::string(family[i / 10]) + "　" + given[i % 10];
    return names;
}

void pdfPrinter(QPrinter& printer, const QString& file) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
}

// The chart as a picture at `dpi`, put on a landscape page at its true size.
bool printPicture(QPrinter& printer, const PrintedPage& page, double dpi) {
    const tosbel::TwipScale picture{dpi};
    QImage image(picture.px(page.form->clientWidth()), picture.px(page.form->clientHeight()),
                 QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        tosbel::paintPrintedPage(painter, page, picture);
    }
    printer.setFullPage(false);
    printer.setPageOrientation(QPageLayout::Landscape);
    const tosbel::TwipScale paper{static_cast<double>(printer.resolution())};
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.drawImage(QRectF(0, 0, paper.pixels(page.form->clientWidth()),
                             paper.pixels(page.form->clientHeight())),
                      image);
    return painter.end();
}

struct Figures {
    double ms;
    double kilobytesPerPage;
};

Figures measure(int runs, const QString& file, int pages,
                const std::function<bool(QPrinter&)>& print) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, file);
        QElapsedTimer timer;
        timer.start();
        if (!print(printer)) {
            std::fprintf(stderr, "printing to %s failed\n", qPrintable(file));
            std::exit(1);
        }
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return {median(times), static_cast<double>(QFileInfo(file).size()) / 1024.0 / pages};
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    QApplication app(argc, argv);

    int runs = 9;
    QString keep;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--pdf") == 0) keep = QString::fromLocal8Bit(argv[i + 1]);
    }

    tosbel::QtPlatform platform(home.path().toStdString());
    tosbel::AppState state;
    tosbel::ResultWindow chart(state, platform, {}, false);
    chart.fill(fullClass());
    chart.StatusBar1.panel(2).text = "2024/04/08";
    chart.StatusBar1.panel(3).text = "AM 08:30";

    // The chart as the result window prints it in colour: black labels and
    // names, grey boxes, on white.
    constexpr Rgb kBlack{0, 0, 0};
    const PrintedPage page{&chart, Rgb{255, 255, 255}, true, [](const tosbel::Control& c) {
                               if (c.kind == tosbel::ControlKind::Label)
                                   return PaperLook{true, kBlack, std::nullopt};
                               return PaperLook{true, kBlack, Rgb{192, 192, 192}};
                           }};

    const QString folder = home.path();
    const Figures one = measure(runs, folder + QStringLiteral("/one.pdf"), 1,
                                [&page](QPrinter& p) { return tosbel::printTo(p, page, 1); });
    const Figures three = measure(runs, folder + QStringLiteral("/three.pdf"), 3,
                                  [&page](QPrinter& p) { return tosbel::printTo(p, page, 3); });
    const Figures picture = measure(runs, folder + QStringLiteral("/picture.pdf"), 1,
                                    [&page](QPrinter& p) { return printPicture(p, page, 300); });

    std::printf("A chart of 100 names to a PDF file, median of %d:\n", runs);
    std::printf("  vector page, 1 copy     %7.1f ms  %7.1f KB a page\n", one.ms,
                one.kilobytesPerPage);
    std::printf("  vector page, 3 copies   %7.1f ms  %7.1f KB a page\n", three.ms,
                three.kilobytesPerPage);
    std::printf("  300 dpi picture, 1 copy %7.1f ms  %7.1f KB a page\n", picture.ms,
                picture.kilobytesPerPage);

    if (!keep.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, keep);
        if (!tosbel::printTo(printer, page, 1)) return 1;
    }
    return 0;
}

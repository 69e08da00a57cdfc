// The printed chart: a page drawn at true size as vector text, on a PDF file
// read back with the poppler tools, on a picture for its colours, and in the
// print preview.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/qt/print_page.h"
#include "platform/qt/qt_platform.h"
#include "tests/posix_only.h"
#include "tests/qt/qt_test_support.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

constexpr Rgb kGrey{192, 192, 192};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// Three seats of a chart under a toolbar's band, with the status bar below:
// a name that fits its box, one that takes two lines, and a hidden seat.
class ThreeSeats final : public Form {
public:
    explicit ThreeSeats(Platform& p) : Form(p) {
        name = "SEATS";
        borderStyle = BorderStyle::None;  // the client area is the whole form
        width = 5200;
        height = 1800;
        backColor = Rgb{128, 128, 128};
        toolbar = &Toolbar1;
        statusBar = &StatusBar1;
        Toolbar1.height = 360;
        TOSBEL_DECLARE(Label1);
        TOSBEL_DECLARE(Text1);
        const char* names[] = {"山田　太郎", "長谷川美奈子", "隠れた人"};
        for (std::size_t c = 0; c < 3; ++c) {
            const int x = 375 + 1600 * static_cast<int>(c);
            Label1[c].place(x + 15, 480, 915, 195).caption = "A " + std::to_string(c + 1);
            Label1[c].foreColor = kWhite;
            Label1[c].alignment = Align::Center;
            Text1[c].place(x, 645, c == 0 ? 1440 : 915, 495).setText(names[c]);
            Text1[c].backColor = kGrey;
            Text1[c].font = {"ＭＳ Ｐゴシック", 9.75f};
            Text1[c].wrap = true;
        }
        Text1[2].visible = false;
        StatusBar1.panels = {{PanelStyle::Text, "笑顔で了解", "", 1440, true},
                             {PanelStyle::Date, "2024/04/08", "", 1500, false}};
    }
    std::array<Label, 3> Label1;
    std::array<TextBox, 3> Text1;
    Toolbar Toolbar1;
    StatusBar StatusBar1;
};

QString tool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(20000) || p.exitCode() != 0) return QStringLiteral("<failed>");
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString infoOf(const std::string& file) {
    return tool(QStringLiteral("pdfinfo"), {QString::fromStdString(file)});
}
// What qpdf finds wrong with a file's structure: nothing, for a sound one.
bool soundPdf(const std::string& file) {
    return tool(QStringLiteral("qpdf"), {QStringLiteral("--check"), QString::fromStdString(file)})
        .contains(QStringLiteral("No syntax or stream encoding errors"));
}
// The text a PDF reader finds, in the order it was drawn.
QString textOf(const std::string& file) {
    return tool(QStringLiteral("pdftotext"), {"-raw", QString::fromStdString(file), "-"});
}

class PrintTest : public ::testing::Test {
protected:
    // The chart as the result window prints it: black labels, boxes in the
    // given colour with black names, on white.
    PrintedPage paper(Rgb boxBack, bool statusBar = true) const {
        return {&form, kWhite, statusBar, [boxBack](const Control& c) {
                    if (c.kind == ControlKind::Label) return PaperLook{true, kBlack, std::nullopt};
                    return PaperLook{true, kBlack, boxBack};
                }};
    }

    // A PDF printer, the copies already set as the printer dialog leaves them.
    QPrinter& pdf(const std::string& file, int copies = 1) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file));
        printer.setCopyCount(copies);
        return printer;
    }

    // The page on a picture of `dpi` dots per inch, the client area only.
    QImage picture(const PrintedPage& page, double dpi = 150) const {
        const TwipScale scale{dpi};
        QImage image(scale.px(form.clientWidth()), scale.px(form.clientHeight()),
                     QImage::Format_RGB32);
        image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
        image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
        image.fill(Qt::magenta);  // anything the page leaves unpainted shows
        QPainter painter(&image);
        paintPrintedPage(painter, page, scale);
        return image;
    }
    static QRgb at(const QImage& image, double xTwips, double yTwips, double dpi = 150) {
        const TwipScale scale{dpi};
        return image.pixel(scale.px(xTwips), scale.px(yTwips));
    }
    // The darkest grey within an area given in twips.
    static int darkest(const QImage& image, double left, double top, double width, double height,
                       double dpi = 150) {
        const TwipScale scale{dpi};
        int least = 255;
        for (int y = scale.px(top); y < scale.px(top + height); ++y)
            for (int x = scale.px(left); x < scale.px(left + width); ++x)
                least = std::min(least, qGray(image.pixel(x, y)));
        return least;
    }

    TempDir dir;
    QtPlatform platform{dir.path().string()};
    ThreeSeats form{platform};
    QPrinter printer{QPrinter::HighResolution};
};

TEST_F(PrintTest, EachCopyIsALandscapePageWithTheNamesAsText) {
    const std::string file = dir.file("chart.pdf");
    ASSERT_TRUE(printTo(pdf(file, 3), paper(kGrey), 3));

    const QString info = infoOf(file);
    EXPECT_TRUE(soundPdf(file));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))));
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble());

    // Ideographs that look like radicals (山, 田, 長, 川, 子) read as the
    // ideographs; a name on two lines is all there. (The reader turns the
    // ideographic space into a plain one.)
    const QString words = textOf(file);
    EXPECT_EQ(words.count(q("山田 太郎")), 3) << words.toStdString();
    EXPECT_EQ(QString(words).remove(QLatin1Char('\n')).count(q("長谷川美奈子")), 3);
    EXPECT_EQ(words.count(q("A 2")), 3);
    EXPECT_EQ(words.count(q("笑顔で了解 2024/04/08")), 3);
    EXPECT_FALSE(words.contains(q("隠れた人")));  // hidden on screen, left out on paper

    // Left as the next print dialog should find it, and with no copies of
    // its own for a printer that would make them again.
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(printer.copyCount(), 1);
}

TEST_F(PrintTest, APageThatLeavesEverythingOutHasNoText) {
    const std::string file = dir.file("blank.pdf");
    PrintedPage page = paper(kGrey, false);
    page.look = [](const Control&) { return PaperLook{false, {}, {}}; };
    ASSERT_TRUE(printTo(pdf(file), page, 1));
    const QString words = textOf(file);
    EXPECT_NE(words, QStringLiteral("<failed>"));
    EXPECT_TRUE(words.trimmed().isEmpty()) << words.toStdString();
}

TEST_F(PrintTest, ThePaperHasItsOwnColoursAndTheScreensPlaces) {
    // Seat 1's box spans 375 … 1815 twips across and 645 … 1140 down.
    const QImage grey = picture(paper(kGrey));
    EXPECT_EQ(at(grey, 10, 10), qRgb(255, 255, 255));  // the toolbar's band is blank paper
    EXPECT_EQ(at(grey, 375 + 60, 645 + 60), qRgb(192, 192, 192));
    EXPECT_EQ(at(grey, 1815 - 60, 1140 - 60), qRgb(192, 192, 192));
    EXPECT_EQ(at(grey, 375 - 45, 645 + 60), qRgb(255, 255, 255));
    EXPECT_EQ(at(grey, 1815 + 45, 1140 + 45), qRgb(255, 255, 255));
    EXPECT_LT(darkest(grey, 375, 645, 1440, 495), 40);  // the name, in black
    // The bar spans 1500 … 1800 twips down; its first panel holds text.
    EXPECT_LT(darkest(grey, 60, 1530, 1200, 240), 40);

    const QImage white = picture(paper(kWhite, false));
    EXPECT_EQ(at(white, 375 + 60, 645 + 60), qRgb(255, 255, 255));
    EXPECT_EQ(darkest(white, 375 + 3200, 700, 915, 440), 255);  // the hidden seat
    EXPECT_EQ(darkest(white, 0, 1500, form.clientWidth(), 300), 255);

    // The labels are white on screen: on white paper they would vanish
    // without the paper's black.
    EXPECT_LT(darkest(grey, 390, 480, 915, 150), 40);  // above the box it overlaps
    PrintedPage asOnScreen = paper(kGrey);
    asOnScreen.look = {};
    EXPECT_EQ(darkest(picture(asOnScreen), 390, 480, 915, 150), 255);
}

// A label's text starts at the top of its box and is made small enough to
// show whole there: nothing of it falls below, where the seat box would cover it.
TEST_F(PrintTest, ALabelTooSmallForItsFontShowsWholeInsideItsBox) {
    form.Label1[0].font = {"ＭＳ Ｐゴシック", 12};
    PrintedPage labelsOnly = paper(kWhite, false);
    labelsOnly.look = [](const Control& c) {
        return PaperLook{c.kind == ControlKind::Label, kBlack, std::nullopt};
    };
    const QImage page = picture(labelsOnly);
    const Label& seat = form.Label1[0];
    EXPECT_LT(darkest(page, seat.left, seat.top, seat.width, seat.height), 80)
        << "the text is there";
    EXPECT_EQ(darkest(page, seat.left, seat.top + seat.height + 8, seat.width, 120), 255)
        << "nothing of it below its box";
}

TEST_F(PrintTest, AFileThatCannotBeWrittenFailsThePrint) {
    const std::string file = dir.file("no such folder/chart.pdf");
    EXPECT_FALSE(printTo(pdf(file, 2), paper(kGrey), 2));
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
}

TEST_F(PrintTest, SaveAsPdfNeedsNoPrinterAndLeavesTheChosenPrinterAlone) {
    const std::string file = dir.file("保存.pdf");
    ASSERT_TRUE(platform.savePdf(paper(kGrey), file));
    EXPECT_TRUE(soundPdf(file));
    const QString info = infoOf(file);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    EXPECT_TRUE(info.contains(QStringLiteral("842 x 595"))) << info.toStdString();  // A4 landscape
    EXPECT_TRUE(textOf(file).contains(q("山田 太郎")));
    EXPECT_FALSE(platform.savePdf(paper(kGrey), dir.file("no such folder/x.pdf")));
}

TEST_F(PrintTest, ThePlatformPrintsOnThePrinterChosenInTheDialog) {
    const std::string file = dir.file("chosen.pdf");
    whenModal<QPrintDialog>([&file](QPrintDialog* d) {
        d->printer()->setOutputFormat(QPrinter::PdfFormat);
        d->printer()->setOutputFileName(QString::fromStdString(file));
        d->printer()->setCopyCount(2);
        d->done(QDialog::Accepted);
    });
    const std::optional<PrinterChoice> choice = platform.printerDialog();
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->copies, 2);
    EXPECT_EQ(choice->file, file);
    ASSERT_TRUE(platform.printPages(paper(kGrey), choice->copies));
    EXPECT_TRUE(infoOf(file).contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
}

TEST_F(PrintTest, ThePreviewShowsOneLandscapePageAndPrintsAsThePrinterDoes) {
    int pages = 0;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    whenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* d) {
        auto* preview = d->findChild<QPrintPreviewWidget*>();
        preview->updatePreview();
        pages = preview->pageCount();
        orientation = preview->orientation();
        d->reject();
    });
    platform.previewPage(paper(kGrey));
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(orientation, QPageLayout::Landscape);

    // Printed from the preview to a file, the names read right there too.
    const std::string file = dir.file("previewed.pdf");
    EXPECT_TRUE(paintRequested(pdf(file), paper(kGrey)));
    EXPECT_TRUE(textOf(file).contains(q("山田 太郎")));
    EXPECT_TRUE(soundPdf(file));
}

// A disk that fills while the PDF is written, or a file name that is a pipe:
// the print fails, says so, and a file already under that name stays as it was.
TEST_F(PrintTest, APdfCutShortOrAimedAtAPipeIsNoPrintAndLeavesTheOldFile) {
    const std::string file = dir.file("chart.pdf");
    spit(file, "the chart of last term");
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;  // past the fonts' start, short of the end
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool printed = printTo(pdf(file), paper(kGrey), 1);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(printed);
    EXPECT_EQ(slurp(file), "the chart of last term");
    EXPECT_EQ(printer.outputFileName().toStdString(), file) << "the dialog offers it again";

    const std::string pipe = dir.file("pipe.pdf");
    ASSERT_TRUE(makeFifo(pipe));
    EXPECT_FALSE(printTo(pdf(pipe), paper(kGrey), 1));
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"chart.pdf", "pipe.pdf"})) << "no temporary left";
}

}  // namespace
}  // namespace tosbel

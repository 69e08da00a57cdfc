// The printed chart: a page drawn at true size or filling the paper as vector
// text, on a PDF file read back with the poppler tools, on a picture for its
// colours, in the print preview, and the result window's own pages and
// picture.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
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

#include "core/app_state.h"
#include "platform/form.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "platform/qt/print_page.h"
#include "platform/qt/qt_platform.h"
#include "results/chart_layout.h"
#include "results/result_window.h"
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
    ASSERT_TRUE(platform.savePdf({paper(kGrey)}, file));
    EXPECT_TRUE(soundPdf(file));
    const QString info = infoOf(file);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    EXPECT_TRUE(info.contains(QStringLiteral("842 x 595"))) << info.toStdString();  // A4 landscape
    EXPECT_TRUE(textOf(file).contains(q("山田 太郎")));
    EXPECT_FALSE(platform.savePdf({paper(kGrey)}, dir.file("no such folder/x.pdf")));
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
    ASSERT_TRUE(platform.printPages({paper(kGrey)}, choice->copies));
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
    platform.previewPages({paper(kGrey)});
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(orientation, QPageLayout::Landscape);

    // Printed from the preview to a file, the names read right there too.
    const std::string file = dir.file("previewed.pdf");
    EXPECT_TRUE(paintRequested(pdf(file), {paper(kGrey)}));
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

// The result window's pages, asked for through its commands on the headless
// platform and drawn here: a class with row H and column 9 left off paper.
class ResultPaperTest : public ::testing::Test {
protected:
    ResultPaperTest() {
        state.OptCent = "0";
        state.OptPsbar = state.OptCol = state.OptFgm = "1";
        state.TodayText = "2024/04/08";
        state.NowText = "午前 8:30";
        state.NoLine.fill("0");
        state.NoRow.fill("0");
        state.NoLine[7] = state.NoRow[8] = "1";
        const char* names[] = {"山田　太郎", "長谷川美奈子", "佐藤",     "鈴木 一郎", "ABC",
                               "高橋花子",   "田中",         "渡辺　翔", "伊藤由美",  "中村"};
        for (std::size_t k = 0; k < 100; ++k)
            if (k % 7 != 3) chart[k] = names[k % 10];
        window.fill(chart);
        window.show();
    }
    std::vector<PrintedPage> pagesOf(const char* menu) {
        Driver(headless, window).menu(menu);
        return headless.lastPages;
    }
    // Page `number` of a PDF file at 72 dpi, a pixel to a point, and the
    // part of it that is not white paper.
    QRect inkOf(const std::string& file, int number) const {
        const QString out = QString::fromStdString(dir.file("page"));
        const QString n = QString::number(number);
        tool(QStringLiteral("pdftoppm"), {"-png", "-r", "72", "-f", n, "-l", n, "-singlefile",
                                          QString::fromStdString(file), out});
        const QImage image = QImage(out + ".png").convertToFormat(QImage::Format_RGB32);
        QRect ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
        return ink;
    }

    TempDir dir;
    QtPlatform platform{dir.path().string()};  // the fonts and the PDF writer
    HeadlessPlatform headless;
    AppState state;
    std::array<std::string, 100> chart;
    ResultWindow window{state, headless, ResultWindowLinks{}, false};
};

// The page of the screen's size is the very drawing the program made before
// the band and the page that fills the paper: the picture compared was drawn
// by it from this class and these options.
TEST_F(ResultPaperTest, TheScreensSizeIsThePageAsItAlwaysPrinted) {
    state.PrtScreen = "1";
    const std::vector<PrintedPage> pages = pagesOf("mnuPrintPreview");
    ASSERT_EQ(pages.size(), 1u);
    const QImage before = QImage(QStringLiteral(TEST_DATA_DIR "/print/true_size_chart.png"))
                              .convertToFormat(QImage::Format_RGB32);
    const TwipScale scale{150};
    QImage now(scale.px(window.clientWidth()), scale.px(pages[0].heightOnPaper()),
               QImage::Format_RGB32);
    now.setDotsPerMeterX(static_cast<int>(std::lround(150 / 0.0254)));
    now.setDotsPerMeterY(now.dotsPerMeterX());
    now.fill(Qt::magenta);
    {
        QPainter painter(&now);
        paintPrintedPage(painter, pages[0], scale);
    }
    EXPECT_TRUE(now == before) << "the drawing has changed";
}

// Scaled to the printable area and centred, under the heading, and still
// text: every name printed can be found.
TEST_F(ResultPaperTest, TheChartFillsThePrintableAreaAndStaysText) {
    state.RosterPath = "/home/t/3年1組.MEM";
    const std::string file = dir.file("filled.pdf");
    ASSERT_TRUE(platform.savePdf(pagesOf("mnuPrintPreview"), file));
    EXPECT_TRUE(soundPdf(file));
    const QString words = textOf(file);
    EXPECT_TRUE(words.startsWith(q("3年1組 2024/04/08\n"))) << words.toStdString();
    const QRegularExpression blanks(QStringLiteral("\\s"),
                                    QRegularExpression::UseUnicodePropertiesOption);
    const QString joined = QString(words).remove(blanks);
    for (std::size_t k = 0; k < 100; ++k) {
        const QString name = QString::fromStdString(chart[k]).remove(blanks);
        if (k / 10 != 7 && k % 10 != 8) {
            EXPECT_TRUE(joined.contains(name)) << k;
        }
    }

    // Without heading or status bar all the ink is the chart.
    state.RosterPath.clear();
    state.TodayText.clear();
    state.OptPsbar = "0";
    const std::string bare = dir.file("bare.pdf");
    ASSERT_TRUE(platform.savePdf(pagesOf("mnuPrintPreview"), bare));
    EXPECT_TRUE(soundPdf(bare));
    QPrinter a4(QPrinter::HighResolution);
    a4.setOutputFormat(QPrinter::PdfFormat);
    a4.setPageSize(QPageSize(QPageSize::A4));
    a4.setPageOrientation(QPageLayout::Landscape);
    const QRectF area = a4.pageLayout().paintRectPoints();
    const QRect ink = inkOf(bare, 1);
    EXPECT_GE(std::max(ink.width() / area.width(), ink.height() / area.height()), 0.9);
    EXPECT_NEAR(ink.left() - area.left(), area.right() - ink.right() - 1, 3) << "centred across";
    EXPECT_NEAR(ink.top() - area.top(), area.bottom() - ink.bottom() - 1, 3) << "centred down";
}

// Both views: two pages a copy, the teacher's with the band at its foot; the
// preview shows the same two.
TEST_F(ResultPaperTest, BothViewsPrintTwoPagesACopyAndPreviewThem) {
    state.PrtBoth = "1";
    const std::vector<PrintedPage> pages = pagesOf("mnuPrintPreview");
    const std::string file = dir.file("both.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file));
    ASSERT_TRUE(printTo(printer, pages, 2));
    EXPECT_TRUE(soundPdf(file));
    EXPECT_TRUE(infoOf(file).contains(QRegularExpression(QStringLiteral("Pages:\\s+4\\n"))));
    EXPECT_EQ(textOf(file).count(q("黒板")), 4);

    int shown = 0;
    whenModal<QPrintPreviewDialog>([&shown](QPrintPreviewDialog* d) {
        auto* preview = d->findChild<QPrintPreviewWidget*>();
        preview->updatePreview();
        shown = preview->pageCount();
        d->reject();
    });
    platform.previewPages(pages);
    EXPECT_EQ(shown, 2);
}

// A PNG of the chart cut round the seats: the window's grey at the edge, the
// band's green at the foot in the teacher's view.
TEST_F(ResultPaperTest, ThePictureIsAPngOfTheChartAsShown) {
    Driver(headless, window).menu("mnuTeacherView");
    headless.answerFileDialog(dir.file("chart.png"));
    const std::optional<std::string> png = pictureOfPage(pagesOf("mnuSavePicture").at(0));
    QImage picture;
    ASSERT_TRUE(png && picture.loadFromData(QByteArray::fromStdString(*png), "PNG"));
    EXPECT_EQ(picture.dotsPerMeterX(), static_cast<int>(std::lround(192 / 0.0254)));
    EXPECT_EQ(picture.pixel(2, 2), qRgb(128, 128, 128));
    EXPECT_EQ(picture.pixel(picture.width() / 4, picture.height() - 30), qRgb(38, 84, 56));
}

}  // namespace
}  // namespace tosbel

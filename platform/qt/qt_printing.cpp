// QtPlatform's printing: the printer dialog, the printer it leaves chosen for
// the next print, printing, the print preview, saving pages as PDF and a
// page as a picture.
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "platform/qt/busy.h"
#include "platform/qt/print_page.h"
#include "platform/qt/qt_platform.h"

namespace tosbel {

QPrinter& QtPlatform::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

std::optional<PrinterChoice> QtPlatform::printerDialog() {
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    QPrintDialog dialog(&printer(), dialogParent());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return PrinterChoice{printer().copyCount(), pdfFileOf(printer())};
}

bool QtPlatform::printPages(const std::vector<PrintedPage>& pages, int copies) {
    return printTo(printer(), pages, copies);
}

bool QtPlatform::savePdf(const std::vector<PrintedPage>& pages, const std::string& path) {
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setOutputFileName(QString::fromStdString(path));
    return printTo(pdf, pages, 1);
}

std::optional<std::string> QtPlatform::pagePicture(const PrintedPage& page) {
    return pictureOfPage(page);
}

std::optional<PrinterChoice> QtPlatform::previewPages(const std::vector<PrintedPage>& pages) {
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    QPrinter& paper = printer();
    paper.setFullPage(false);
    paper.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog dialog(&paper, dialogParent());
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    // The preview and a print from it draw the pages as printPages() does.
    std::optional<PrinterChoice> failed;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&pages, &failed](QPrinter* target) {
                         if (!paintRequested(*target, pages))
                             failed = PrinterChoice{1, pdfFileOf(*target)};
                     });
    dialog.exec();
    paper.setPageOrientation(QPageLayout::Portrait);
    return failed;
}

}  // namespace tosbel

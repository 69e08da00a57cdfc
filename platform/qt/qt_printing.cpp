// QtPlatform's printing: the printer dialog, the printer it leaves chosen for
// the next print, printing, the print preview and saving a page as PDF.
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

bool QtPlatform::printPages(const PrintedPage& page, int copies) {
    return printTo(printer(), page, copies);
}

bool QtPlatform::savePdf(const PrintedPage& page, const std::string& path) {
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setOutputFileName(QString::fromStdString(path));
    return printTo(pdf, page, 1);
}

std::optional<PrinterChoice> QtPlatform::previewPage(const PrintedPage& page) {
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    QPrinter& paper = printer();
    paper.setFullPage(false);
    paper.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog dialog(&paper, dialogParent());
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    // The preview and a print from it draw the page as printPages() does.
    std::optional<PrinterChoice> failed;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&page, &failed](QPrinter* target) {
                         if (!paintRequested(*target, page))
                             failed = PrinterChoice{1, pdfFileOf(*target)};
                     });
    dialog.exec();
    paper.setPageOrientation(QPageLayout::Portrait);
    return failed;
}

}  // namespace tosbel

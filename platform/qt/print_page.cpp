#include "platform/qt/print_page.h"

#include <QByteArray>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QRawFont>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/file_io.h"
#include "platform/pdf_text_map.h"

namespace tosbel {

namespace {

// The status bar's room round and between its panels: two pixels of the
// screen the forms were drawn on, as the window lays the bar out.
constexpr double kBarGap = kTwipsPerInch / 96.0 * 2;

struct Span {
    double left, width;
};

// The panels across a bar `width` twips wide, as the window places them:
// fixed panels at their width, spring panels sharing what the others leave
// (never less than their own width), the lot from the left.
std::vector<Span> panelSpans(const StatusBar& bar, double width) {
    const auto count = static_cast<double>(bar.panels.size());
    double fixed = 0;
    int springs = 0;
    for (const StatusPanel& p : bar.panels) {
        if (p.spring)
            ++springs;
        else
            fixed += p.width;
    }
    const double room = width - 2 * kBarGap - std::max(0.0, count - 1) * kBarGap - fixed;
    const double share = springs > 0 ? room / springs : 0;
    std::vector<Span> spans;
    double left = kBarGap;
    for (const StatusPanel& p : bar.panels) {
        const double w = p.spring ? std::max(share, static_cast<double>(p.width)) : p.width;
        spans.push_back({left, w});
        left += w + kBarGap;
    }
    return spans;
}

void paintStatusBar(QPainter& painter, const StatusBar& bar, double clientWidth,
                    double clientHeight, TwipScale scale) {
    const double top = clientHeight - bar.height;
    const double pixel = std::max(1.0, scale.pixels(kTwipsPerInch / 96.0));
    painter.setFont(paperFont(FontSpec{}));
    const std::vector<Span> spans = panelSpans(bar, clientWidth);
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const QRectF panel(scale.pixels(spans[i].left), scale.pixels(top + kBarGap),
                           scale.pixels(spans[i].width), scale.pixels(bar.height - 2 * kBarGap));
        // A sunken panel's edge, in the grey its shadow has on screen.
        painter.setPen(QPen(QColor(128, 128, 128), pixel));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(panel.adjusted(pixel / 2, pixel / 2, -pixel / 2, -pixel / 2));
        painter.setPen(Qt::black);
        const QRectF inside = panel.adjusted(3 * pixel, pixel, -3 * pixel, -pixel);
        painter.drawText(inside, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         text(bar.panels[i].text));
    }
}

// Every text the page draws, with its font.
std::vector<std::pair<QFont, QString>> textsOf(const PrintedPage& page) {
    std::vector<std::pair<QFont, QString>> texts;
    for (const Control* c : page.form->controls()) {
        const bool kind = c->kind == ControlKind::Label || c->kind == ControlKind::TextBox;
        if (kind && c->visible && page.lookOf(*c).printed)
            texts.emplace_back(paperFont(c->font), shownText(*c));
    }
    if (const StatusBar* bar = page.form->statusBar; page.statusBar && bar && bar->visible)
        for (const StatusPanel& p : bar->panels)
            texts.emplace_back(paperFont(FontSpec{}), text(p.text));
    return texts;
}

// Qt's PDF tells a reader which character each glyph stands for by the lowest
// code point the font maps to that glyph. CJK fonts give the Kangxi radicals
// (U+2F2D) the glyphs of the ideographs they look like (山 U+5C71), and the
// ideographic space the glyph of the em space, so names copied or searched in
// the file would come out wrong. For each font and each character drawn in
// it: the lower code point the file names in its place.
FontCodeFixes namesToCorrect(const PrintedPage& page) {
    std::map<QString, std::pair<QFont, QString>> byFont;
    for (auto& [font, drawn] : textsOf(page)) {
        QFont anySize = font;  // a font's glyphs are the same at every size
        anySize.setPointSize(12);
        auto& entry = byFont.try_emplace(anySize.key(), anySize, QString()).first->second;
        entry.second += drawn;
    }
    FontCodeFixes fixes;
    for (const auto& [key, entry] : byFont) {
        const QRawFont raw = QRawFont::fromFont(entry.first);
        if (!raw.isValid()) continue;
        const QByteArray names = raw.fontTable("name");
        const std::string font =
            postScriptName({names.constData(), static_cast<std::size_t>(names.size())});
        if (font.empty()) continue;
        QString every;
        for (char32_t u = 0; u < 0x10000; ++u)
            if (u < 0xD800 || u > 0xDFFF) every += QChar(static_cast<char16_t>(u));
        const QList<quint32> glyphs = raw.glyphIndexesForString(every);
        std::map<quint32, char16_t> lowest;
        for (qsizetype i = 0; i < every.size() && i < glyphs.size(); ++i)
            if (glyphs[i] != 0) lowest.try_emplace(glyphs[i], every[i].unicode());
        for (const QChar ch : entry.second) {
            const QList<quint32> g = raw.glyphIndexesForString(QString(ch));
            if (g.isEmpty() || g.front() == 0) continue;
            const auto named = lowest.find(g.front());
            if (named != lowest.end() && named->second != ch.unicode())
                fixes[font].try_emplace(named->second, ch.unicode());
        }
    }
    return fixes;
}

// Draws the sheets on `printer` as it is set; false when the printer failed.
bool printSheets(QPrinter& printer, const PrintedPage& page, int copies) {
    const TwipScale scale{static_cast<double>(printer.resolution())};
    QPainter painter;
    bool ok = page.form && painter.begin(&printer);
    for (int i = 0; ok && i < copies; ++i) {
        if (i > 0) ok = printer.newPage();
        if (ok) paintPrintedPage(painter, page, scale);
    }
    // Ending the painter finishes the job, also after a failure: the sheets
    // already out stay out.
    if (painter.isActive() && !painter.end()) ok = false;
    return ok && printer.printerState() != QPrinter::Error;
}

// A PDF is as large as its fonts and pages; a chart's is well under a megabyte.
constexpr std::size_t kPdfLimit = 256 * 1024 * 1024;

// Qt's PDF writer says nothing of a write that failed (a full disk), and the
// file it names may be a device or a pipe. So it writes a temporary file
// beside the chosen one, which is read back only as an ordinary file of
// bounded size, checked to be whole, put right and then moved into place: a
// file of that name already there stays as it was unless all went well.
bool printToPdfFile(QPrinter& printer, const PrintedPage& page,
                    const std::function<bool(QPrinter&)>& draw) {
    const QString chosen = printer.outputFileName();
    const std::string target = chosen.toStdString();
    const auto temporary = makeTemporaryBeside(target);
    if (!temporary) return false;
    printer.setOutputFileName(QString::fromStdString(*temporary));
    bool ok = draw(printer);
    printer.setOutputFileName(chosen);
    const auto bytes = ok ? readFileBytes(*temporary, kPdfLimit) : std::nullopt;
    ok = bytes && pdfLooksWhole(*bytes) &&
         replaceFile(target, correctTextMaps(std::move(*bytes), namesToCorrect(page)));
    std::error_code ec;
    std::filesystem::remove(pathOf(*temporary), ec);
    return ok;
}

}  // namespace

void paintPrintedPage(QPainter& painter, const PrintedPage& page, TwipScale scale) {
    if (!page.form) return;
    const Form& form = *page.form;
    const double width = form.clientWidth(), height = form.clientHeight();
    const QRectF client(0, 0, scale.pixels(width), scale.pixels(height));
    painter.save();
    // The window cuts off what lies beyond its client area; the paper does too.
    painter.setClipRect(client);
    painter.fillRect(client, colour(page.background));
    // The toolbar is left out: its band shows the background and whatever
    // lies beneath it, as the window with its toolbar hidden would.
    for (const Control* c : form.controls()) {
        if (c->kind != ControlKind::Label && c->kind != ControlKind::TextBox) continue;
        const PaperLook look = page.lookOf(*c);
        if (look.printed) paintControl(painter, *c, scale, {look.foreColor, look.backColor});
    }
    const StatusBar* bar = form.statusBar;
    if (page.statusBar && bar && bar->visible) {
        // The bar lies over any control beneath it, as on screen.
        const double top = height - bar->height;
        painter.fillRect(QRectF(0, scale.pixels(top), client.width(), scale.pixels(bar->height)),
                         colour(page.background));
        paintStatusBar(painter, *bar, width, height, scale);
    }
    painter.restore();
}

std::string pdfFileOf(const QPrinter& printer) {
    if (printer.outputFormat() != QPrinter::PdfFormat) return {};
    return printer.outputFileName().toStdString();
}

bool printTo(QPrinter& printer, const PrintedPage& page, int copies) {
    if (copies < 1) return true;  // nothing asked for: not even a blank sheet
    // The page starts at the printable area's top left. Where that area is
    // smaller than the chart, the chart keeps its true size and the paper cuts
    // off the rest: a chart printed smaller than life would not match the
    // classroom sheets teachers have always had.
    printer.setFullPage(false);
    printer.setPageOrientation(QPageLayout::Landscape);
    // Each copy is a page of its own here, so a printer that makes copies by
    // itself must not multiply them again.
    printer.setCopyCount(1);
    const auto draw = [&](QPrinter& p) { return printSheets(p, page, copies); };
    const bool ok =
        !pdfFileOf(printer).empty() ? printToPdfFile(printer, page, draw) : draw(printer);
    printer.setPageOrientation(QPageLayout::Portrait);
    return ok;
}

bool paintRequested(QPrinter& target, const PrintedPage& page) {
    const auto draw = [&](QPrinter& p) {
        QPainter painter;
        if (!painter.begin(&p)) return false;
        paintPrintedPage(painter, page, TwipScale{static_cast<double>(p.resolution())});
        return painter.end() && p.printerState() != QPrinter::Error;
    };
    // The preview draws on a printer of its own; only a print from it to a
    // PDF file goes through the file's checks.
    const bool toFile =
        target.paintEngine()->type() == QPaintEngine::Pdf && !pdfFileOf(target).empty();
    return toFile ? printToPdfFile(target, page, draw) : draw(target);
}

}  // namespace tosbel

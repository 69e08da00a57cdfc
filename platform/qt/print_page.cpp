#include "platform/qt/print_page.h"

#include <QByteArray>
#include <QFile>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QRawFont>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

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
// the file would come out wrong. For each drawn character: the lower code
// point the file names in its place.
std::map<char16_t, char16_t> namesToCorrect(const PrintedPage& page) {
    std::map<QString, std::pair<QFont, QString>> byFont;
    for (auto& [font, drawn] : textsOf(page)) {
        QFont anySize = font;  // a font's glyphs are the same at every size
        anySize.setPointSize(12);
        auto& entry = byFont.try_emplace(anySize.key(), anySize, QString()).first->second;
        entry.second += drawn;
    }
    std::map<char16_t, char16_t> fixes;
    for (const auto& [key, entry] : byFont) {
        const QRawFont raw = QRawFont::fromFont(entry.first);
        if (!raw.isValid()) continue;
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
                fixes.try_emplace(named->second, ch.unicode());
        }
    }
    return fixes;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The "<XXXX>" codes of one line of a character map, by where their digits start.
std::vector<std::pair<qsizetype, char16_t>> codesOf(const QByteArray& pdf, qsizetype from,
                                                    qsizetype to) {
    std::vector<std::pair<qsizetype, char16_t>> codes;
    for (qsizetype i = from; i + 5 < to; ++i) {
        if (pdf[i] != '<' || pdf[i + 5] != '>') continue;
        int value = 0;
        for (qsizetype k = 1; k <= 4 && value >= 0; ++k) {
            const int d = hexDigit(pdf[i + k]);
            value = d < 0 ? -1 : value * 16 + d;
        }
        if (value >= 0) codes.emplace_back(i + 1, static_cast<char16_t>(value));
    }
    return codes;
}

// Puts the characters right in the file's glyph-to-text maps, which Qt
// writes uncompressed. Each code keeps its four hex digits, so nothing in
// the file moves; a file laid out otherwise is left as it is.
void correctTextMaps(const QString& path, const std::map<char16_t, char16_t>& fixes) {
    if (fixes.empty()) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) return;
    QByteArray pdf = file.readAll();
    bool changed = false;
    const QByteArray mapStart = "begincmap\n", mapEnd = "endcmap\n";
    for (qsizetype at = pdf.indexOf(mapStart); at >= 0; at = pdf.indexOf(mapStart, at)) {
        const qsizetype stop = pdf.indexOf(mapEnd, at);
        if (stop < 0) break;
        // One line per run of glyphs: "<first> <last> <code>" names the run
        // from one code on, "<first> <last> [<code> …]" each glyph's own.
        for (qsizetype line = at; line < stop;) {
            const qsizetype next = std::min(stop, pdf.indexOf('\n', line) + 1);
            if (next <= line) break;
            const auto codes = codesOf(pdf, line, next);
            const auto listStart = std::find(pdf.cbegin() + line, pdf.cbegin() + next, '[');
            const bool list = listStart != pdf.cbegin() + next;
            const bool single = codes.size() == 3 && codes[0].second == codes[1].second;
            for (std::size_t i = 2; i < codes.size() && (list || single); ++i) {
                const auto fix = fixes.find(codes[i].second);
                if (fix == fixes.end()) continue;
                pdf.replace(codes[i].first, 4,
                            QByteArray::number(fix->second, 16).rightJustified(4, '0').toUpper());
                changed = true;
            }
            line = next;
        }
        at = stop;
    }
    if (changed && file.seek(0)) file.write(pdf);
}

void correctPdfFile(const QPrinter& printer, const PrintedPage& page) {
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        correctTextMaps(printer.outputFileName(), namesToCorrect(page));
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
    if (printer.printerState() == QPrinter::Error) ok = false;
    printer.setPageOrientation(QPageLayout::Portrait);
    if (ok) correctPdfFile(printer, page);
    return ok;
}

void paintRequested(QPrinter& target, const PrintedPage& page) {
    QPainter painter;
    if (!painter.begin(&target)) return;
    const bool toFile = painter.paintEngine()->type() == QPaintEngine::Pdf;
    paintPrintedPage(painter, page, TwipScale{static_cast<double>(target.resolution())});
    if (painter.end() && toFile) correctPdfFile(target, page);
}

}  // namespace tosbel

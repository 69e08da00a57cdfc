#include "platform/qt/print_page.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontMetricsF>
#include <QImage>
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

// The heading a page that fills the paper starts with.
const FontSpec kHeadingFont{"ＭＳ Ｐゴシック", 14, true};
// The room between the heading, the chart and the status bar on such a page,
// and round the chart in a picture.
constexpr double kPaperGap = kTwipsPerInch / 10.0;

// A control the page draws, where the paper has it.
struct Drawn {
    const Control* control;
    TwipRect place;
    PaperLook look;
};

std::vector<Drawn> drawnControls(const PrintedPage& page) {
    std::vector<Drawn> drawn;
    for (const Control* c : page.form->controls()) {
        if (c->kind != ControlKind::Label && c->kind != ControlKind::TextBox) continue;
        const PaperLook look = page.lookOf(*c);
        if (look.printed && c->visible) drawn.push_back({c, page.placeOf(*c), look});
    }
    return drawn;
}

// The twips the drawn controls cover together.
QRectF boundsOf(const std::vector<Drawn>& drawn) {
    QRectF bounds;
    for (const Drawn& d : drawn)
        bounds |= QRectF(d.place.left, d.place.top, d.place.width, d.place.height);
    return bounds;
}

// A control drawn at a size not its own is drawn from a copy of its look; it
// then stands alone, with nothing of the form lying over it.
template <class Kind>
void paintStandIn(QPainter& painter, const Control& c, const TwipRect& place, TwipScale scale,
                  const ColourOverride& colours) {
    Kind copy;
    copy.place(place.left, place.top, place.width, place.height);
    copy.caption = c.caption;
    copy.text = c.text;
    copy.foreColor = c.foreColor;
    copy.backColor = c.backColor;
    copy.borderColor = c.borderColor;
    copy.border = c.border;
    copy.font = c.font;
    copy.alignment = c.alignment;
    copy.wrap = c.wrap;
    paintControl(painter, copy, scale, colours);
}

void paintDrawn(QPainter& painter, const Drawn& d, TwipScale scale) {
    const Control& c = *d.control;
    const ColourOverride colours{d.look.foreColor, d.look.backColor};
    const TwipRect own = placeOnForm(c);
    if (d.place == own) {
        paintControl(painter, c, scale, colours);
    } else if (d.place.width == own.width && d.place.height == own.height) {
        // Moved whole, so its text fits and lies under the boxes as on the form.
        painter.save();
        painter.translate(scale.pixels(d.place.left - own.left),
                          scale.pixels(d.place.top - own.top));
        paintControl(painter, c, scale, colours);
        painter.restore();
    } else if (c.kind == ControlKind::Label) {
        paintStandIn<Label>(painter, c, d.place, scale, colours);
    } else {
        paintStandIn<TextBox>(painter, c, d.place, scale, colours);
    }
}

void paintTrueSize(QPainter& painter, const PrintedPage& page, TwipScale scale) {
    const Form& form = *page.form;
    const double width = form.clientWidth(), height = page.heightOnPaper();
    const QRectF client(0, 0, scale.pixels(width), scale.pixels(height));
    painter.save();
    // The window cuts off what lies beyond its client area; the paper does too.
    painter.setClipRect(client);
    painter.fillRect(client, colour(page.background));
    // The toolbar is left out: its band shows the background and whatever
    // lies beneath it, as the window with its toolbar hidden would.
    for (const Drawn& d : drawnControls(page)) paintDrawn(painter, d, scale);
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

// The heading at its true size, the status bar likewise at the paper's foot,
// and the chart as large as the room between them takes.
void paintFilled(QPainter& painter, const PrintedPage& page, TwipScale scale, QSizeF area) {
    const QRectF paper(QPointF(0, 0), area);
    painter.save();
    painter.setClipRect(paper);
    painter.fillRect(paper, colour(page.background));
    double top = 0, bottom = area.height();
    if (!page.heading.empty()) {
        const QFont font = paperFont(kHeadingFont);
        const QFontMetricsF metrics(font, painter.device());
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, 0, area.width(), metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text(page.heading));
        top = metrics.height() + scale.pixels(kPaperGap);
    }
    const StatusBar* bar = page.form->statusBar;
    if (page.statusBar && bar && bar->visible) {
        paintStatusBar(painter, *bar, scale.twips(area.width()), scale.twips(area.height()), scale);
        bottom -= scale.pixels(bar->height + kPaperGap);
    }
    const std::vector<Drawn> drawn = drawnControls(page);
    const QRectF chart = boundsOf(drawn);
    const QRectF room(0, top, area.width(), bottom - top);
    if (!drawn.empty() && chart.width() > 0 && chart.height() > 0 && room.height() > 0) {
        const QRectF onPaper(scale.pixels(chart.left()), scale.pixels(chart.top()),
                             scale.pixels(chart.width()), scale.pixels(chart.height()));
        const double times =
            std::min(room.width() / onPaper.width(), room.height() / onPaper.height());
        painter.translate(room.center() - onPaper.center() * times);
        painter.scale(times, times);
        for (const Drawn& d : drawn) paintDrawn(painter, d, scale);
    }
    painter.restore();
}

// Every text the pages draw, with its font.
std::vector<std::pair<QFont, QString>> textsOf(const std::vector<PrintedPage>& pages) {
    std::vector<std::pair<QFont, QString>> texts;
    for (const PrintedPage& page : pages) {
        for (const Drawn& d : drawnControls(page))
            texts.emplace_back(paperFont(d.control->font), shownText(*d.control));
        if (const StatusBar* bar = page.form->statusBar; page.statusBar && bar && bar->visible)
            for (const StatusPanel& p : bar->panels)
                texts.emplace_back(paperFont(FontSpec{}), text(p.text));
        if (page.fit == PageFit::FillPaper && !page.heading.empty())
            texts.emplace_back(paperFont(kHeadingFont), text(page.heading));
    }
    return texts;
}

// Qt's PDF tells a reader which character each glyph stands for by the lowest
// code point the font maps to that glyph. CJK fonts give the Kangxi radicals
// (U+2F2D) the glyphs of the ideographs they look like (山 U+5C71), and the
// ideographic space the glyph of the em space, so names copied or searched in
// the file would come out wrong. For each font and each character drawn in
// it: the lower code point the file names in its place.
FontCodeFixes namesToCorrect(const std::vector<PrintedPage>& pages) {
    std::map<QString, std::pair<QFont, QString>> byFont;
    for (auto& [font, drawn] : textsOf(pages)) {
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

// Draws every page on `printer` as it is set, `copies` times over, each page
// a sheet of its own; false when the printer failed.
bool printSheets(QPrinter& printer, const std::vector<PrintedPage>& pages, int copies) {
    const TwipScale scale{static_cast<double>(printer.resolution())};
    QPainter painter;
    bool ok = painter.begin(&printer);
    bool first = true;
    for (int i = 0; ok && i < copies; ++i) {
        for (const PrintedPage& page : pages) {
            if (!first) ok = ok && printer.newPage();
            first = false;
            if (ok) paintPrintedPage(painter, page, scale);
        }
    }
    // Ending the painter finishes the job, also after a failure: the sheets
    // already out stay out.
    if (painter.isActive() && !painter.end()) ok = false;
    return ok && printer.printerState() != QPrinter::Error;
}

bool allHaveForms(const std::vector<PrintedPage>& pages) {
    return !pages.empty() && std::all_of(pages.begin(), pages.end(),
                                         [](const PrintedPage& p) { return p.form != nullptr; });
}

// A PDF is as large as its fonts and pages; a chart's is well under a megabyte.
constexpr std::size_t kPdfLimit = 256 * 1024 * 1024;

// Qt's PDF writer says nothing of a write that failed (a full disk), and the
// file it names may be a device or a pipe. So it writes a temporary file
// beside the chosen one, which is read back only as an ordinary file of
// bounded size, checked to be whole, put right and then moved into place: a
// file of that name already there stays as it was unless all went well.
bool printToPdfFile(QPrinter& printer, const std::vector<PrintedPage>& pages,
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
         replaceFile(target, correctTextMaps(std::move(*bytes), namesToCorrect(pages)));
    std::error_code ec;
    std::filesystem::remove(pathOf(*temporary), ec);
    return ok;
}

// Twice the pixels of the screen the forms were drawn for: sharp on a
// high-density screen or a projector, and still a small file.
constexpr double kPictureDpi = 192;

}  // namespace

void paintPrintedPage(QPainter& painter, const PrintedPage& page, TwipScale scale) {
    if (!page.form) return;
    if (page.fit == PageFit::TrueSize) {
        paintTrueSize(painter, page, scale);
        return;
    }
    const QPaintDevice* device = painter.device();
    paintFilled(painter, page, scale, QSizeF(device->width(), device->height()));
}

std::string pdfFileOf(const QPrinter& printer) {
    if (printer.outputFormat() != QPrinter::PdfFormat) return {};
    return printer.outputFileName().toStdString();
}

bool printTo(QPrinter& printer, const std::vector<PrintedPage>& pages, int copies) {
    if (copies < 1) return true;  // nothing asked for: not even a blank sheet
    if (!allHaveForms(pages)) return false;
    // The page starts at the printable area's top left; a true-size page
    // keeps the chart at the size of the classroom sheets teachers have
    // always had, and the paper cuts off what lies beyond the printable area.
    printer.setFullPage(false);
    printer.setPageOrientation(QPageLayout::Landscape);
    // Each copy is a set of pages of its own here, so a printer that makes
    // copies by itself must not multiply them again.
    printer.setCopyCount(1);
    const auto draw = [&](QPrinter& p) { return printSheets(p, pages, copies); };
    const bool ok =
        !pdfFileOf(printer).empty() ? printToPdfFile(printer, pages, draw) : draw(printer);
    printer.setPageOrientation(QPageLayout::Portrait);
    return ok;
}

bool paintRequested(QPrinter& target, const std::vector<PrintedPage>& pages) {
    if (!allHaveForms(pages)) return false;
    const auto draw = [&](QPrinter& p) { return printSheets(p, pages, 1); };
    // The preview draws on a printer of its own; only a print from it to a
    // PDF file goes through the file's checks.
    const bool toFile =
        target.paintEngine()->type() == QPaintEngine::Pdf && !pdfFileOf(target).empty();
    return toFile ? printToPdfFile(target, pages, draw) : draw(target);
}

std::optional<std::string> pictureOfPage(const PrintedPage& page) {
    if (!page.form) return std::nullopt;
    const std::vector<Drawn> drawn = drawnControls(page);
    const QRectF chart = boundsOf(drawn).adjusted(-kPaperGap, -kPaperGap, kPaperGap, kPaperGap);
    const TwipScale scale{kPictureDpi};
    QImage image(scale.px(chart.width()), scale.px(chart.height()), QImage::Format_RGB32);
    if (drawn.empty() || image.isNull()) return std::nullopt;
    const int dotsPerMetre = static_cast<int>(std::lround(kPictureDpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(colour(page.background));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(-scale.pixels(chart.left()), -scale.pixels(chart.top()));
        for (const Drawn& d : drawn) paintDrawn(painter, d, scale);
    }
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return std::nullopt;
    return std::string(png.constData(), static_cast<std::size_t>(png.size()));
}

}  // namespace tosbel

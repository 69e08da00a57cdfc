#include "platform/qt/control_look.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPen>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/file_io.h"
#include "platform/picture_header.h"

namespace tosbel {

namespace {

// Captions come with the line breaks of the system the forms were made on.
QString caption(const std::string& utf8) {
    return text(utf8).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// One pixel of the screen the forms were drawn on, at the device's resolution.
double onePixel(TwipScale scale) {
    return std::max(1.0, scale.pixels(kTwipsPerInch / 96.0));
}

}  // namespace

QString withoutAccessKeys(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] != QLatin1Char('&')) {
            out += s[i];
        } else if (i + 1 < s.size() && s[i + 1] == QLatin1Char('&')) {
            out += QLatin1Char('&');
            ++i;
        }
    }
    return out;
}

QString objectNameOf(const std::string& name, int index) {
    return index < 0 ? text(name) : text(name) + QLatin1Char('_') + QString::number(index);
}

QColor colour(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

QFont fontOf(const FontSpec& f) {
    // A Windows font this desktop lacks is asked for by its stand-in at once:
    // asking for the missing name first costs a fallback search every time.
    const QString wanted = text(f.name);
    const QStringList standIns = QFont::substitutes(wanted);
    QFont font(standIns.isEmpty() ? wanted : standIns.first());
    font.setPointSizeF(f.size);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeout);
    return font;
}

QFont paperFont(const FontSpec& f) {
    QFont font = fontOf(f);
    // A PDF reader finds a glyph's character through the font's character
    // map; the alternates shaping picks (a CJK font's digits after a Latin
    // letter) are in no map and would read as nothing. Latin and Japanese
    // need no shaping to be read.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

Qt::Alignment horizontalAlignment(Align a) {
    switch (a) {
        case Align::Right:
            return Qt::AlignRight;
        case Align::Center:
            return Qt::AlignHCenter;
        case Align::Left:
            break;
    }
    return Qt::AlignLeft;
}

QString shownText(const Control& c) {
    if (c.kind == ControlKind::TextBox) return text(c.text);
    const QString shown = caption(c.caption);
    return c.kind == ControlKind::Label ? withoutAccessKeys(shown) : shown;
}

Qt::Alignment labelAlignment(const Control& c) {
    return horizontalAlignment(c.alignment) | Qt::AlignTop;
}

double uncoveredHeight(const Control& label) {
    double bottom = label.top + label.height;
    if (!label.form) return label.height;
    for (const Control* other : label.form->controls()) {
        const bool windowed =
            other->kind == ControlKind::TextBox || other->kind == ControlKind::CheckBox ||
            other->kind == ControlKind::OptionButton || other->kind == ControlKind::CommandButton ||
            other->kind == ControlKind::ScrollBar;
        if (!windowed || !other->visible || other->container != label.container) continue;
        if (other->top <= label.top || other->top >= bottom) continue;
        const double shared = std::min(label.left + label.width, other->left + other->width) -
                              std::max(label.left, other->left);
        if (2 * shared >= label.width) bottom = other->top;
    }
    return bottom - label.top;
}

bool textShowsWhole(const QFont& font, const QString& shown, const QSizeF& room, bool wrap,
                    QPaintDevice* device) {
    if (shown.isEmpty()) return true;
    const QFontMetricsF m = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
    const int flags = Qt::AlignLeft | Qt::AlignTop | (wrap ? Qt::TextWordWrap : 0);
    const QRectF lines = m.boundingRect(QRectF(0, 0, room.width(), 1e6), flags, shown);
    // A word longer than the line is not broken, and shows cut.
    if (lines.width() > room.width() + 0.01) return false;
    // The last line's glyphs end where the lowest of them hangs below its
    // baseline, not at the foot of the line, which the tall fonts leave empty.
    const double count = std::max(1.0, std::round(lines.height() / m.lineSpacing()));
    const double below = std::max(0.0, m.tightBoundingRect(shown).bottom());
    return (count - 1) * m.lineSpacing() + m.ascent() + below <= room.height() + 0.01;
}

QFont fittedFont(const QFont& font, const QString& shown, const QSizeF& room, bool wrap,
                 QPaintDevice* device) {
    QFont fitted = font;
    // A pixel a step is fine enough; half the size is as small as text gets
    // and stays readable.
    const double smallest = font.pointSizeF() / 2;
    while (!textShowsWhole(fitted, shown, room, wrap, device) &&
           fitted.pointSizeF() - 0.25 >= smallest)
        fitted.setPointSizeF(fitted.pointSizeF() - 0.25);
    return fitted;
}

std::optional<QColor> fillOf(const Control& c) {
    if (c.backColor) return colour(*c.backColor);
    if (c.kind == ControlKind::TextBox) return QColor(Qt::white);
    return std::nullopt;
}

bool hasBorder(const Control& c) {
    return c.kind == ControlKind::TextBox || c.border;
}

QRectF areaOf(const Control& c, TwipScale scale) {
    double left = c.left, top = c.top;
    for (const Control* frame = c.container; frame; frame = frame->container) {
        left += frame->left;
        top += frame->top;
    }
    return QRectF(scale.pixels(left), scale.pixels(top), scale.pixels(c.width),
                  scale.pixels(c.height));
}

void drawBoxText(QPainter& painter, const QRectF& inside, const QString& shown, bool wrap,
                 Qt::Alignment horizontal) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const int flags = static_cast<int>(horizontal | Qt::AlignVCenter | Qt::TextSingleLine);
    if (!wrap || metrics.horizontalAdvance(shown) <= inside.width()) {
        painter.drawText(inside, flags, shown);
        return;
    }
    // A name breaks after its last blank ("山田　太郎" as "山田" over "太郎"),
    // and at any character where a line has none.
    const auto blank = [](QChar ch) { return ch == QChar(u' ') || ch == QChar(u'\u3000'); };
    std::vector<QString> lines{QString()};
    for (const QChar ch : shown) {
        QString& line = lines.back();
        if (!line.isEmpty() && !blank(ch) &&
            metrics.horizontalAdvance(line + ch) > inside.width()) {
            const auto after = std::find_if(line.rbegin(), line.rend(), blank).base();
            const QString carried =
                after == line.begin() ? QString() : QString(after, line.end() - after);
            if (after != line.begin()) line.truncate(after - line.begin());
            lines.push_back(carried);
        }
        lines.back() += ch;
    }
    // The stand-in CJK fonts have tall lines; the characters themselves are
    // about one em high, so lines an em and a bit apart keep two in the box.
    const double pitch =
        std::min(metrics.height(),
                 painter.font().pointSizeF() > 0 ? metrics.ascent() * 0.95 : metrics.height());
    const double firstTop = inside.center().y() - pitch * static_cast<double>(lines.size()) / 2;
    for (std::size_t i = 0; i < lines.size(); ++i)
        painter.drawText(
            QRectF(inside.left(), firstTop + pitch * static_cast<double>(i), inside.width(), pitch),
            flags, lines[i]);
}

bool paintControl(QPainter& painter, const Control& c, TwipScale scale,
                  const ColourOverride& colours) {
    const bool textBox = c.kind == ControlKind::TextBox;
    if ((!textBox && c.kind != ControlKind::Label) || !c.visible) return false;
    const QRectF box = areaOf(c, scale);
    const double pixel = onePixel(scale);
    painter.save();
    const std::optional<QColor> fill = colours.back ? colour(*colours.back) : fillOf(c);
    if (fill) painter.fillRect(box, *fill);
    if (hasBorder(c)) {
        painter.setPen(QPen(colour(c.borderColor.value_or(Rgb{})), pixel));
        painter.setBrush(Qt::NoBrush);
        // The line lies inside the box, as the widget's frame does.
        painter.drawRect(box.adjusted(pixel / 2, pixel / 2, -pixel / 2, -pixel / 2));
    }
    const QFont font = paperFont(c.font);
    painter.setFont(font);
    painter.setPen(colour(colours.fore.value_or(c.foreColor)));
    // The text keeps off the border as the widgets keep it: a text box's
    // margin, a label's frame.
    const double inset = textBox ? 3 * pixel : (c.border ? pixel : 0);
    const QRectF inside = box.adjusted(inset, inset, -inset, -inset);
    if (textBox) {
        drawBoxText(painter, inside, shownText(c), c.wrap, horizontalAlignment(c.alignment));
    } else {
        const QString shown = shownText(c);
        QRectF room = inside;
        room.setBottom(std::min(inside.bottom(), box.top() + scale.pixels(uncoveredHeight(c))));
        painter.setFont(fittedFont(font, shown, room.size(), true, painter.device()));
        painter.drawText(inside, static_cast<int>(labelAlignment(c) | Qt::TextWordWrap), shown);
    }
    painter.restore();
    return true;
}

void paintFocusMark(QPainter& painter, const QRect& r) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    const QRect line = r.adjusted(0, 0, -1, -1);  // a 1-pixel pen draws right of and below a rect
    painter.setPen(QPen(Qt::white, 0));
    painter.drawRect(line);
    QPen dots(Qt::black, 0);
    dots.setDashPattern({1, 1});
    painter.setPen(dots);
    painter.drawRect(line);
    painter.restore();
}

namespace {

// The picture the bytes hold, or a null one; the header was checked already.
QImage decodedPicture(const std::string& bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Qt's own reading of the size, for a file that holds more than its header
    // says (an icon with a large picture inside).
    const QSize size = reader.size();
    if (size.isValid() && !pictureSizeAllowed({PictureFormat::Bmp, size.width(), size.height()}))
        return {};
    // Room for the largest picture allowed, four bytes a pixel.
    reader.setAllocationLimit(static_cast<int>(kPicturePixelLimit * 4 / (1024 * 1024)) + 1);
    QImage image;
    if (!reader.read(&image)) return {};
    return image;
}

}  // namespace

QPixmap pictureFile(const std::string& path) {
    // Read through the program's own reader: a pipe or a device under a
    // picture's name must not stop the program, nor a huge file fill memory.
    // The header is looked at before anything is decoded: a few kilobytes
    // can claim more pixels than memory holds.
    const auto bytes = readPictureFile(path);
    if (!bytes) return {};
    // The main window asks whether its background shows, then shows it: the
    // last picture is decoded once for both.
    static std::string lastBytes;
    static QImage lastPicture;
    if (*bytes != lastBytes) {
        lastBytes = *bytes;
        lastPicture = decodedPicture(*bytes);
    }
    return QPixmap::fromImage(lastPicture);
}

}  // namespace tosbel

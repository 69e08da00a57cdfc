#include "platform/qt/classroom_view.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <optional>
#include <utility>

#include "platform/qt/control_look.h"

namespace tosbel {

namespace {

constexpr int kSeats = 100, kColumns = 10;

// A projector washes colours out: white seats with black names on a dark
// floor read best from the back of the room.
const QColor kFloor(72, 72, 72);
const QColor kSeatFill(255, 255, 255);
const QColor kName(0, 0, 0);
const QColor kSeatLabel(235, 235, 235);
const QColor kEmptySeat(170, 170, 170);
const QColor kBoard(28, 78, 52);
const QColor kChalk(255, 255, 255);
const QColor kDesk(150, 100, 55);

QString seatLabelText(int index) {
    return QString(QChar(u'A' + index / kColumns)) + u' ' + QString::number(index % kColumns + 1);
}

QFont sized(QFont font, int pixels) {
    font.setPixelSize(std::max(pixels, 1));
    return font;
}

// A name on one line, or broken in two: at the blank between family and
// given name where it has one, otherwise where the longer half is shortest.
struct NameLines {
    QString first, second;
};

NameLines breakName(const QString& name, const QFontMetricsF& metrics) {
    qsizetype blank = -1;
    for (qsizetype at = 1; at + 1 < name.size(); ++at)
        if (name.at(at).isSpace() &&
            (blank < 0 || std::abs(name.size() - 2 * at) < std::abs(name.size() - 2 * blank)))
            blank = at;
    if (blank > 0) {
        NameLines parts{name.left(blank).trimmed(), name.mid(blank + 1).trimmed()};
        if (!parts.first.isEmpty() && !parts.second.isEmpty()) return parts;
    }
    NameLines best{name, {}};
    double widest = metrics.horizontalAdvance(name);
    for (qsizetype at = 1; at < name.size(); ++at) {
        if (name.at(at).isLowSurrogate()) continue;
        const QString first = name.left(at), second = name.mid(at);
        const double w =
            std::max(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second));
        if (w < widest) best = {first, second}, widest = w;
    }
    return best;
}

// The lines the name takes at this font in the room, or none when it does
// not fit either way.
std::optional<NameLines> linesIn(const QString& name, const QFont& font, QSizeF room) {
    const QFontMetricsF metrics(font);
    const double line = metrics.height();
    if (line <= room.height() && metrics.horizontalAdvance(name) <= room.width())
        return NameLines{name, {}};
    if (2 * line > room.height() || name.size() < 2) return std::nullopt;
    NameLines two = breakName(name, metrics);
    if (std::max(metrics.horizontalAdvance(two.first), metrics.horizontalAdvance(two.second)) >
        room.width())
        return std::nullopt;
    return two;
}

// The largest whole pixel size at which the text fits the room.
int largestSize(const QFont& font, const QString& text, QSizeF room) {
    int low = 1, high = std::max(1, static_cast<int>(room.height()));
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (linesIn(text, sized(font, mid), room))
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

// One line, centred, as large as the room allows.
void drawFitted(QPainter& painter, const QFont& font, const QString& text, const QRectF& room) {
    const QFontMetricsF metrics(sized(font, 100));
    const double scale =
        std::min(room.width() / metrics.horizontalAdvance(text), room.height() / metrics.height());
    painter.setFont(sized(font, static_cast<int>(100 * scale)));
    painter.drawText(room, Qt::AlignCenter, text);
}

QRectF inset(const QRectF& r, double by) {
    return r.adjusted(by, by, -by, -by);
}

double padOf(const QRectF& box) {
    return std::min(box.width(), box.height()) * 0.06;
}

}  // namespace

ClassroomLayout layClassroom(const ClassroomChart& chart, QSizeF size) {
    ClassroomLayout layout;
    int top = kSeats, bottom = -1, left = kColumns, right = -1;
    for (int k = 0; k < kSeats; ++k) {
        if (chart.seats[static_cast<std::size_t>(k)].empty()) continue;
        top = std::min(top, k / kColumns), bottom = std::max(bottom, k / kColumns);
        left = std::min(left, k % kColumns), right = std::max(right, k % kColumns);
    }
    if (bottom >= 0) {
        layout.firstRow = top, layout.rows = bottom - top + 1;
        layout.firstColumn = left, layout.columns = right - left + 1;
    }

    const double width = size.width(), height = size.height();
    const double margin = std::min(width, height) * 0.025;
    const double band = height * 0.075;
    layout.board = QRectF(margin, margin, width - 2 * margin, band);
    const double deskWidth = std::min(layout.board.width() * 0.2, band * 4);
    layout.desk = QRectF(layout.board.center().x() - deskWidth / 2, margin + band * 0.15, deskWidth,
                         band * 0.7);

    const QRectF area(margin, layout.board.bottom() + margin, width - 2 * margin,
                      height - layout.board.bottom() - 2 * margin);
    const double pitchX = area.width() / layout.columns;
    const double rowRoom = area.height() / layout.rows;
    const double boxWidth = pitchX * 0.92;
    // Labels stay small however few the rows; a box no taller than a seat.
    const double labelHeight = std::min(rowRoom * 0.2, height * 0.03);
    const double gap = std::min(rowRoom * 0.06, pitchX * 0.08);
    const double boxHeight = std::min(rowRoom - labelHeight - gap, boxWidth * 0.8);
    const double pitchY = labelHeight + boxHeight + gap;
    const double chartTop = area.top() + (area.height() - (pitchY * layout.rows - gap)) / 2;
    for (int r = 0; r < layout.rows; ++r) {
        for (int c = 0; c < layout.columns; ++c) {
            const double x = area.left() + pitchX * c + (pitchX - boxWidth) / 2;
            const double y = chartTop + pitchY * r;
            layout.seats.push_back({(layout.firstRow + r) * kColumns + layout.firstColumn + c,
                                    QRectF(x, y, boxWidth, labelHeight),
                                    QRectF(x, y + labelHeight, boxWidth, boxHeight)});
        }
    }
    return layout;
}

ClassroomView::ClassroomView(ClassroomChart chart)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), chart_(std::move(chart)) {
    setObjectName(QStringLiteral("ClassroomView"));
    setWindowTitle(QStringLiteral("大きく表示"));
    setAccessibleName(QStringLiteral("大きく表示"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    const QList<QScreen*> screens = QGuiApplication::screens();
    screen_ = chart_.screen >= 0 && chart_.screen < screens.size()
                  ? screens.at(chart_.screen)
                  : QGuiApplication::primaryScreen();
    // A screen unplugged or switched off takes the chart with it; the teacher
    // must not be left with an invisible window holding the keyboard.
    connect(qApp, &QGuiApplication::screenRemoved, this, [this](QScreen* gone) {
        if (gone == screen_) close();
    });
    qApp->installEventFilter(this);
}

ClassroomView::~ClassroomView() {
    qApp->removeEventFilter(this);
}

void ClassroomView::run() {
    if (!screen_) return;
    setScreen(screen_);
    // Without a window manager to honour full screen, the place says it.
    setGeometry(screen_->geometry());
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
    if (QWindow* window = windowHandle())
        connect(window, &QWindow::screenChanged, this, [this](QScreen* now) {
            if (now != screen_) close();
        });
    QEventLoop loop;
    loop_ = &loop;
    if (isVisible()) loop.exec();
    loop_ = nullptr;
    hide();
}

void ClassroomView::closeEvent(QCloseEvent* e) {
    e->accept();
    if (loop_) loop_->quit();
}

void ClassroomView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void ClassroomView::mousePressEvent(QMouseEvent*) {
    pressed_ = true;
}

// On the release, so no half of the click reaches the window beneath.
void ClassroomView::mouseReleaseEvent(QMouseEvent*) {
    if (pressed_) close();
}

bool ClassroomView::isOwn(const QObject* o) const {
    if (o == this || o == windowHandle()) return true;
    const auto* widget = qobject_cast<const QWidget*>(o);
    return widget && widget->window() == this;
}

// A click on the result window, beside the chart on a second screen, also
// brings the teacher back to it; the click itself does nothing there.
bool ClassroomView::eventFilter(QObject* watched, QEvent* e) {
    const bool press = e->type() == QEvent::MouseButtonPress ||
                       e->type() == QEvent::MouseButtonDblClick || e->type() == QEvent::TouchBegin;
    if (press && isVisible() && !isOwn(watched)) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void ClassroomView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.fillRect(rect(), kFloor);
    const ClassroomLayout layout = layClassroom(chart_, size());
    const QFont font = fontOf(FontSpec{.name = chart_.fontName});

    // The front of the room: the board, the desk in its middle, "黒板" in
    // the middle of the board's left part.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBoard);
    painter.drawRect(layout.board);
    painter.setBrush(kDesk);
    painter.drawRect(layout.desk);
    painter.setPen(kChalk);
    const double bandPad = layout.board.height() * 0.18;
    drawFitted(
        painter, font, QStringLiteral("黒板"),
        inset(QRectF(layout.board.topLeft(), QPointF(layout.desk.left(), layout.board.bottom())),
              bandPad));
    drawFitted(painter, font, QStringLiteral("教卓"), inset(layout.desk, bandPad * 0.6));

    // One size for every name, the largest the longest name allows.
    int nameSize = 0;
    for (const ClassroomLayout::Seat& seat : layout.seats) {
        const QString name = text(chart_.seats[static_cast<std::size_t>(seat.index)]);
        if (name.isEmpty()) continue;
        const QRectF room = inset(seat.box, padOf(seat.box));
        const int fits = largestSize(font, name, room.size());
        nameSize = nameSize == 0 ? fits : std::min(nameSize, fits);
    }
    const QFont nameFont = sized(font, nameSize);
    QFont labelFont = font;
    if (!layout.seats.empty()) {
        const QRectF label = layout.seats.front().label;
        const QFontMetricsF at100(sized(font, 100));
        labelFont = sized(
            font, static_cast<int>(100 * std::min(label.height() / at100.height(),
                                                  label.width() / at100.horizontalAdvance(
                                                                      QStringLiteral("J 10")))));
    }

    for (const ClassroomLayout::Seat& seat : layout.seats) {
        painter.setFont(labelFont);
        painter.setPen(kSeatLabel);
        painter.drawText(seat.label, Qt::AlignLeft | Qt::AlignVCenter, seatLabelText(seat.index));

        const QString name = text(chart_.seats[static_cast<std::size_t>(seat.index)]);
        if (name.isEmpty()) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(kEmptySeat, std::max(2.0, seat.box.height() * 0.02)));
            painter.drawRect(seat.box);
            continue;
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(kSeatFill);
        painter.drawRect(seat.box);
        painter.setPen(kName);
        painter.setFont(nameFont);
        const QRectF room = inset(seat.box, padOf(seat.box));
        const std::optional<NameLines> lines = linesIn(name, nameFont, room.size());
        if (!lines || lines->second.isEmpty()) {
            painter.drawText(room, Qt::AlignCenter, name);
            continue;
        }
        const double line = QFontMetricsF(nameFont).height();
        const double middle = room.center().y();
        painter.drawText(QRectF(room.left(), middle - line, room.width(), line), Qt::AlignCenter,
                         lines->first);
        painter.drawText(QRectF(room.left(), middle, room.width(), line), Qt::AlignCenter,
                         lines->second);
    }
}

}  // namespace tosbel

// The pictures the program folder starts with, drawn in code so the build
// needs no picture files and the countdown needs no particular font.
#include "app/default_pictures.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <array>

namespace tosbel {

namespace {

// One colour per number, so a child can tell the steps apart at a glance.
constexpr std::array<QRgb, 10> kCountdownColours = {
    0xE8575A,  // 1 coral
    0xF08A24,  // 2 orange
    0xD9A400,  // 3 gold
    0x4CAF50,  // 4 green
    0x1E9E8F,  // 5 teal
    0x2F8FD8,  // 6 sky
    0x4B5FC9,  // 7 indigo
    0x8E5BC8,  // 8 purple
    0xD6589A,  // 9 pink
    0xD64541,  // 10 red
};

// The countdown window is square (6000 × 6000 twips) and stretches its picture,
// so a square picture keeps the numeral round.
constexpr int kCountdownSide = 400;

constexpr int kIconSide = 32;

QColor mix(QColor a, QColor b, double t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

std::string fileBytes(const QImage& image, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) return {};
    return data.toStdString();
}

}  // namespace

QImage countdownPicture(int number) {
    const QColor ink = QColor::fromRgb(kCountdownColours.at(static_cast<std::size_t>(number - 1)));
    const QColor white(Qt::white);
    const double side = kCountdownSide;

    QImage image(kCountdownSide, kCountdownSide, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, side);
    sky.setColorAt(0, mix(ink, white, 0.80));
    sky.setColorAt(1, mix(ink, white, 0.55));
    p.fillRect(image.rect(), sky);

    // A soft shadow under a white disc the numeral sits on.
    const QPointF centre(side / 2, side / 2);
    const double radius = side * 0.40;
    p.setPen(Qt::NoPen);
    p.setBrush(mix(ink, QColor(Qt::black), 0.35).lighter(150));
    p.drawEllipse(centre + QPointF(0, side * 0.02), radius, radius);
    p.setBrush(white);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(mix(ink, white, 0.35), side * 0.02));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius * 0.92, radius * 0.92);

    // The numeral as an outline scaled into the disc, so its size does not
    // depend on which font the machine has.
    QFont font;
    font.setFamilies({QStringLiteral("Arial Rounded MT Bold"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Black);
    font.setPixelSize(200);
    QPainterPath numeral;
    numeral.addText(0, 0, font, QString::number(number));
    const QRectF box = numeral.boundingRect();
    const double scale = std::min(radius * 1.05 / box.height(), radius * 1.25 / box.width());
    QTransform fit;
    fit.translate(centre.x(), centre.y());
    fit.scale(scale, scale);
    fit.translate(-box.center().x(), -box.center().y());
    numeral = fit.map(numeral);

    p.setPen(QPen(mix(ink, QColor(Qt::black), 0.30), side * 0.012, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.setBrush(ink);
    p.drawPath(numeral);
    p.end();
    return image;
}

// A name card: what the teacher is moving when a name goes to another seat.
QImage nameCardIcon() {
    QImage image(kIconSide, kIconSide, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card(3.5, 7.5, 25, 18);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(card.translated(1.5, 1.5), 2.5, 2.5);
    p.setPen(QPen(QColor(40, 60, 90), 1));
    p.setBrush(QColor(255, 253, 240));
    p.drawRoundedRect(card, 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(47, 143, 216));
    p.drawRect(QRectF(4, 8, 24, 4));
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(QRectF(7, 15, 18, 2));
    p.drawRect(QRectF(7, 20, 12, 2));
    p.end();
    return image;
}

// A pupil: shown while the pointer is over a place where nobody sits.
QImage personIcon() {
    QImage image(kIconSide, kIconSide, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(90, 50, 20), 1.2);
    p.setPen(outline);
    p.setBrush(QColor(240, 138, 36));
    QPainterPath body;
    body.moveTo(5, 30);
    body.cubicTo(5, 19, 10, 17, 16, 17);
    body.cubicTo(22, 17, 27, 19, 27, 30);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(255, 224, 189));
    p.drawEllipse(QPointF(16, 10), 6.5, 6.5);
    p.end();
    return image;
}

std::string bmpBytes(const QImage& image) {
    return fileBytes(image, "BMP");
}

std::string icoBytes(const QImage& image) {
    return fileBytes(image, "ICO");
}

}  // namespace tosbel

#include "platform/qt/toolbar_icons.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include <map>
#include <optional>
#include <utility>

#include "platform/qt/control_look.h"

namespace tosbel {

namespace {

// A toolbar picture until the real ones are drawn: a rounded tile with the
// button's number.
QIcon numberedIcon(int index) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3a, 0x6e, 0xa5));
    p.drawRoundedRect(QRectF(2, 2, 28, 28), 6, 6);
    QFont font = p.font();
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QString::number(index));
    return QIcon(pixmap);
}

// The editing commands have no picture among the style's own: drawn here.
std::optional<QIcon> editIcon(const std::string& name) {
    if (name != "cut" && name != "copy" && name != "paste") return std::nullopt;
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
    if (name == "cut") {
        p.drawLine(QPointF(9, 4), QPointF(21, 22));
        p.drawLine(QPointF(23, 4), QPointF(11, 22));
        p.drawEllipse(QPointF(9, 25), 4, 4);
        p.drawEllipse(QPointF(23, 25), 4, 4);
    } else if (name == "copy") {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 4, 15, 19));
        p.drawRect(QRectF(12, 10, 15, 19));
    } else {
        p.setBrush(QColor(0xc8, 0x9a, 0x5a));
        p.drawRoundedRect(QRectF(5, 6, 22, 23), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 11, 14, 15));
        p.setBrush(QColor(0x80, 0x80, 0x80));
        p.drawRect(QRectF(11, 3, 10, 6));
    }
    return QIcon(pixmap);
}

}  // namespace

namespace {

QIcon iconNamed(const std::string& image, int index) {
    for (const char* suffix : {".png", ".bmp", ".ico"}) {
        const QString path = QStringLiteral(":/toolbar/") + text(image) + QLatin1String(suffix);
        if (QFile::exists(path)) return QIcon(path);
    }
    static const std::pair<const char*, QStyle::StandardPixmap> kStandard[] = {
        {"new", QStyle::SP_FileIcon},
        {"open", QStyle::SP_DialogOpenButton},
        {"delete", QStyle::SP_TrashIcon},
        {"conditions", QStyle::SP_FileDialogDetailedView},
        {"run", QStyle::SP_MediaPlay},
        {"exit", QStyle::SP_DialogCloseButton},
        {"version", QStyle::SP_MessageBoxInformation},
        {"help", QStyle::SP_DialogHelpButton},
        {"paint", QStyle::SP_DesktopIcon},
        {"save", QStyle::SP_DialogSaveButton},
        {"cancel", QStyle::SP_DialogCancelButton},
        {"ok", QStyle::SP_DialogOkButton},
        {"left", QStyle::SP_ArrowLeft},
        {"right", QStyle::SP_ArrowRight},
        {"up", QStyle::SP_ArrowUp},
        {"down", QStyle::SP_ArrowDown},
    };
    for (const auto& [name, pixmap] : kStandard)
        if (image == name) return QApplication::style()->standardIcon(pixmap);
    if (auto drawn = editIcon(image)) return *drawn;
    return numberedIcon(index);
}

}  // namespace

QIcon toolIcon(const ToolButton& b) {
    // A blank button (the main window's spare places, all hidden) has no
    // picture to draw.
    if (b.image.empty()) return {};
    // Windows are built afresh at every opening: each picture is made once
    // per run, not once per opening. Kept to the end of the process, past the
    // application whose pictures must not outlive it.
    static auto* made = new std::map<std::pair<std::string, int>, QIcon>;
    const auto key = std::pair{b.image, b.index};
    const auto found = made->find(key);
    if (found != made->end()) return found->second;
    return made->emplace(key, iconNamed(b.image, b.index)).first->second;
}

}  // namespace tosbel

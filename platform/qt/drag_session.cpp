#include "platform/qt/drag_session.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDrag>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "platform/form.h"
#include "platform/qt/control_look.h"

namespace tosbel {

namespace {

const QString kDragFormat = QStringLiteral("application/x-tosbel-control");

// The largest pointer picture, in pixels a side: 256 kB, well inside any X
// server's request limit.
constexpr int kLargestCursor = 256;

// What follows the pointer when a control's drag icon cannot be read.
QPixmap plainDragPixmap() {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1, Qt::DashLine));
    p.setBrush(QColor(0xff, 0xff, 0xff, 0xa0));
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return pixmap;
}

// The drag's data names this process and this drag, so a drop left over from
// an earlier drag, or another program's, is not taken for this one.
QByteArray dragId(int serial) {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(serial);
}

}  // namespace

void DragSession::run(Control& c, QWidget& from) {
    ++serial_;
    auto* mime = new QMimeData;
    mime->setData(kDragFormat, dragId(serial_));
    auto* drag = new QDrag(&from);  // Qt frees it when the drag is over
    drag->setMimeData(mime);
    source_ = &c;
    drag_ = drag;
    iconShown_.reset();
    iconChanged();
    drag->exec(Qt::MoveAction);
    source_ = nullptr;
}

Control* DragSession::sourceOf(const QMimeData* mime) const {
    if (!source_ || !mime || !mime->hasFormat(kDragFormat)) return nullptr;
    return mime->data(kDragFormat) == dragId(serial_) ? source_ : nullptr;
}

// The drag picture is the pointer itself, as the forms expect: a handler may
// change it while the drag goes on (a picture for "may drop here" and one for
// "not here").
void DragSession::iconChanged() {
    if (!drag_ || !source_ || iconShown_ == source_->dragIcon) return;
    iconShown_ = source_->dragIcon;
    QPixmap icon = pictureFile(*iconShown_);
    if (icon.isNull()) icon = plainDragPixmap();
    // The picture becomes the pointer: the window system takes it in one
    // request, and a photograph saved as the drag picture would be refused,
    // ending the program. Anything larger than a cursor is made cursor-sized.
    if (icon.width() > kLargestCursor || icon.height() > kLargestCursor)
        icon = icon.scaled(kLargestCursor, kLargestCursor, Qt::KeepAspectRatio,
                           Qt::SmoothTransformation);
    for (const Qt::DropAction action : {Qt::MoveAction, Qt::CopyAction, Qt::IgnoreAction})
        drag_->setDragCursor(icon, action);
}

}  // namespace tosbel

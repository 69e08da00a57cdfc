#include "platform/qt/first_paint_exit.h"

#include <QApplication>
#include <QEvent>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace tosbel {

namespace {

class FirstPaintExit final : public QObject {
public:
    FirstPaintExit(const QString& windowName, QObject* parent)
        : QObject(parent), windowName_(windowName) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Paint && watched->isWidgetType()) {
            const QWidget* window = static_cast<QWidget*>(watched)->window();
            if (window->objectName() == windowName_ && window->isVisible()) {
                done_ = true;
                // Later, so the paint in progress finishes and reaches the screen.
                QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString windowName_;
    bool done_ = false;
};

}  // namespace

void exitAfterFirstPaintWhenAsked(const QString& windowName) {
    if (qEnvironmentVariable("TOSBEL_EXIT_AFTER_FIRST_PAINT") != QLatin1String("1")) return;
    qApp->installEventFilter(new FirstPaintExit(windowName, qApp));
}

}  // namespace tosbel

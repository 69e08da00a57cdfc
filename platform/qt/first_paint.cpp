#include "platform/qt/first_paint.h"

#include <QApplication>
#include <QEvent>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace tosbel {

namespace {

bool asked(const char* variable) {
    const char* v = std::getenv(variable);
    return v != nullptr && std::strcmp(v, "1") == 0;
}

bool marksAsked() {
    static const bool on = asked("TOSBEL_STARTUP_MARKS");
    return on;
}

// Watches the named window from its first widget to its first paint: ends the
// program there, or marks the steps, or both.
class FirstPaintWatch final : public QObject {
public:
    FirstPaintWatch(const QString& windowName, bool exitAfterPaint, QObject* parent)
        : QObject(parent), windowName_(windowName), exit_(exitAfterPaint) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (done_ || !watched->isWidgetType()) return QObject::eventFilter(watched, event);
        const QWidget* window = static_cast<QWidget*>(watched)->window();
        if (window->objectName() != windowName_) return QObject::eventFilter(watched, event);
        if (!built_) {
            built_ = true;
            startupMark("window: first widget");
        }
        if (event->type() == QEvent::Show && watched == window) {
            startupMark("window: shown");
        } else if (event->type() == QEvent::Paint && window->isVisible()) {
            done_ = true;
            startupMark("window: first paint begins");
            // Later, so the paint in progress finishes and reaches the screen.
            QTimer::singleShot(0, qApp, [exit = exit_] {
                startupMark("window: first paint done");
                if (exit) QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString windowName_;
    bool exit_;
    bool built_ = false;
    bool done_ = false;
};

class AfterFirstPaint final : public QObject {
public:
    AfterFirstPaint(std::function<void()> work, std::chrono::milliseconds deadline)
        : QObject(qApp), work_(std::move(work)) {
        QTimer::singleShot(deadline, this, [this] { run(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType()) {
            painted_ = true;
            // Later, so the paint in progress finishes and reaches the screen.
            QTimer::singleShot(0, this, [this] { run(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void run() {
        if (!work_) return;
        qApp->removeEventFilter(this);
        const std::function<void()> work = std::move(work_);
        work_ = nullptr;
        deleteLater();
        work();
    }

    std::function<void()> work_;
    bool painted_ = false;
};

}  // namespace

void afterFirstPaint(std::function<void()> work, std::chrono::milliseconds deadline) {
    qApp->installEventFilter(new AfterFirstPaint(std::move(work), deadline));
}

void exitAfterFirstPaintWhenAsked(const QString& windowName) {
    const bool exitAfterPaint = asked("TOSBEL_EXIT_AFTER_FIRST_PAINT");
    if (!exitAfterPaint && !marksAsked()) return;
    qApp->installEventFilter(new FirstPaintWatch(windowName, exitAfterPaint, qApp));
}

void startupMark(const char* what) {
    if (!marksAsked()) return;
    using Clock = std::chrono::steady_clock;
    static const Clock::time_point first = Clock::now();
    const Clock::time_point now = Clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - first).count();
    const long long ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
    std::fprintf(stderr, "startup mark: %s %.2f ms (steady %lld)\n", what, ms, ns);
}

}  // namespace tosbel

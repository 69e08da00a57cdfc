#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPoint>
#include <QScreen>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cmath>
#include <functional>
#include <ostream>

// Readable failures: gtest prints a QString as its text.
inline void PrintTo(const QString& s, std::ostream* out) {
    *out << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* out) {
    *out << '{' << l.join(QStringLiteral(", ")).toStdString() << '}';
}
inline void PrintTo(const QPoint& p, std::ostream* out) {
    *out << '(' << p.x() << ", " << p.y() << ')';
}

// Pixels on the screen the tests run on, from twips.
inline int px(double twips) {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    return static_cast<int>(std::lround(twips * dpi / 1440));
}

inline QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Japanese as a keyboard sends it, one character per key press (QTest's own
// key clicks take ASCII only), and as an input method commits it, at once.
inline void typeText(QWidget* w, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
    }
}
inline void commitText(QWidget* w, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(w, &commit);
}

// The visible top-level window with this object name.
inline QWidget* window(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == q(name) && w->isVisible()) return w;
    return nullptr;
}

// Runs `act` on the modal widget of type T as soon as one is up; for calls
// that block until the user answers.
template <class T>
void whenModal(std::function<void(T*)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(w);
        }
    });
    poll->start(5);
}

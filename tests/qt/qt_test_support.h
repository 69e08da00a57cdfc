#pragma once

#include <QApplication>
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

// Pixels on the screen the tests run on, from twips.
inline int px(double twips) {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    return static_cast<int>(std::lround(twips * dpi / 1440));
}

inline QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
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

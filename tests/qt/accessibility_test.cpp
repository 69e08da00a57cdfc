// What a screen reader finds in every window: each control a teacher can
// reach has a name, a seat box its seat, a pictured button its command.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QStringList>

#include "tests/qt/every_window.h"
#include "tests/qt/qt_test_support.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

// The kinds a teacher acts on or reads as a thing of its own.
bool needsName(QAccessible::Role role) {
    switch (role) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::EditableText:
        case QAccessible::ScrollBar:
        case QAccessible::Slider:
        case QAccessible::Graphic:
        case QAccessible::ButtonMenu:
            return true;
        default:
            return false;
    }
}

void collectUnnamed(QAccessibleInterface* node, QStringList& unnamed, const QString& window) {
    if (!node || node->state().invisible) return;
    if (needsName(node->role()) && node->text(QAccessible::Name).trimmed().isEmpty()) {
        const QObject* o = node->object();
        unnamed << window + QLatin1Char('/') + (o ? o->objectName() : QStringLiteral("?")) +
                       QLatin1Char(' ') + QString::number(node->role(), 16);
    }
    for (int i = 0; i < node->childCount(); ++i) collectUnnamed(node->child(i), unnamed, window);
}

TEST(Accessibility, EveryControlOfEveryWindowHasAName) {
    TempDir dir;
    QtPlatform platform{dir.path().string()};
    QStringList unnamed, seats, toolbar;
    forEveryWindow(platform, [&](Form& f, QWidget& w) {
        collectUnnamed(QAccessible::queryAccessibleInterface(&w), unnamed,
                       QString::fromStdString(f.name));
        if (f.name == "RESULT")
            if (QWidget* box = w.findChild<QWidget*>(q("Text1_45")))
                seats << QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name);
        if (f.name == "TOSBEL")
            if (QWidget* open = w.findChild<QWidget*>(q("Toolbar1_3")))
                toolbar << QAccessible::queryAccessibleInterface(open)->text(QAccessible::Name);
    });
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u'\n').toStdString();
    EXPECT_EQ(seats, QStringList{q("E 6")});
    EXPECT_EQ(toolbar, QStringList{q("名簿を開く")});
}

}  // namespace
}  // namespace tosbel

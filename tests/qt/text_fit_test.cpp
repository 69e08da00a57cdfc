// Every caption of every window shows whole in the fonts standing in for the
// old ones: no letter cut at a box's edge, none left out. The test command
// runs this at scale 1 and again at scale 2.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyleOptionButton>

#include <algorithm>

#include "platform/qt/control_look.h"
#include "tests/qt/every_window.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

// Where the widget puts its caption, as its style lays it out.
template <class Button>
QRect captionRoom(Button* b, QStyle::SubElement element) {
    QStyleOptionButton option;
    option.initFrom(b);
    option.text = b->text();
    return b->style()->subElementRect(element, &option, b);
}

TEST(TextFit, EveryCaptionOfEveryWindowShowsWhole) {
    TempDir dir;
    QtPlatform platform{dir.path().string()};
    QStringList cut;
    int looked = 0;
    forEveryWindow(platform, [&](Form& f, QWidget& window) {
        // Each window as drawn, kept with the end-to-end pictures to look at.
        window.grab().save(QStringLiteral(QT_TESTCASE_BUILDDIR "/e2e/text_fit_") +
                           QString::fromStdString(f.name) +
                           (window.devicePixelRatioF() > 1 ? QStringLiteral("@2x") : QString()) +
                           QStringLiteral(".png"));
        for (const Control* c : f.controls()) {
            auto* w = window.findChild<QWidget*>(objectNameOf(c->name, c->index));
            if (!w || !w->isVisible()) continue;
            QString shown;
            QRect room;
            bool wrap = false;
            if (auto* label = qobject_cast<QLabel*>(w); label && c->kind == ControlKind::Label) {
                shown = label->text();
                room = label->contentsRect();
                wrap = true;
                // A box or button lying over the label's foot hides that part.
                for (const QWidget* over : label->parentWidget()->findChildren<QWidget*>(
                         QString(), Qt::FindDirectChildrenOnly)) {
                    const bool windowed = qobject_cast<const QLineEdit*>(over) ||
                                          qobject_cast<const QAbstractButton*>(over);
                    const QRect g = over->geometry();
                    if (!windowed || !over->isVisible() || g.top() <= label->y() ||
                        g.top() > label->geometry().bottom())
                        continue;
                    const int shared = std::min(g.right(), label->geometry().right()) -
                                       std::max(g.left(), label->x());
                    if (2 * shared >= label->width())
                        room.setBottom(std::min(room.bottom(), g.top() - label->y() - 1));
                }
            } else if (auto* button = qobject_cast<QPushButton*>(w)) {
                shown = withoutAccessKeys(button->text());
                room = captionRoom(button, QStyle::SE_PushButtonContents);
            } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
                shown = withoutAccessKeys(check->text());
                room = captionRoom(check, QStyle::SE_CheckBoxContents);
            } else if (auto* option = qobject_cast<QRadioButton*>(w)) {
                shown = withoutAccessKeys(option->text());
                room = captionRoom(option, QStyle::SE_RadioButtonContents);
            }
            if (shown.isEmpty()) continue;
            ++looked;
            if (!textShowsWhole(w->font(), shown, room.size(), wrap))
                cut << QString::fromStdString(f.name) + QLatin1Char('/') + w->objectName() +
                           QStringLiteral(" 「") + shown + QStringLiteral("」");
        }
    });
    EXPECT_GT(looked, 300);
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
}

}  // namespace
}  // namespace tosbel

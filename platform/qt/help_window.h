#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include "platform/platform.h"
#include "platform/qt/help_catalogue.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;
class QToolButton;

namespace tosbel {

// The help viewer: the pages compiled in under ":/help/", with back, forward,
// the contents and a keyword index whose list narrows as the teacher types.
class HelpWindow final : public QWidget {
public:
    HelpWindow();
    // Shows the page asked for; a window that was closed opens beside `asker`
    // (the window whose command asked for help), or centred on it. A context
    // number without a page shows the contents.
    void open(const HelpRequest& r, const QWidget* asker);

    const HelpCatalogue& catalogue() const { return catalogue_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // Moves the window back wholly onto the screen it opened on, as every
    // window of the program stays: a window system that placed it itself,
    // or the index widening it, may have pushed part of it off.
    void keepOnScreen();
    void showIndex(bool shown);
    void narrow(const QString& typed);
    void openChosen();
    void showPage(const QString& path);

    HelpCatalogue catalogue_;
    QToolButton* back_;
    QToolButton* forward_;
    QToolButton* search_;
    QWidget* indexPane_;
    QLineEdit* keyword_;
    QListWidget* keywords_;
    QPushButton* show_;
    QTextBrowser* browser_;
    QRect screenArea_;  // where it opened: the free area of its asker's screen
};

// Where a window of `size` opens beside `asker`: right of it when the screen
// has room there, else left of it, else centred on it; always on the screen.
QPoint placeBeside(const QRect& asker, const QSize& size, const QRect& screen);
// The place nearest `at` where a window of `size` lies wholly on the screen.
QPoint keptOnScreen(const QPoint& at, const QSize& size, const QRect& screen);

}  // namespace tosbel

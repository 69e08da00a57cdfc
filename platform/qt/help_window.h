#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <utility>
#include <vector>

#include "platform/platform.h"

class QLineEdit;
class QTextBrowser;

namespace tosbel {

// The help pages, compiled in under ":/help/": index.html is the contents, and
// the page of help context n is n.html.
class HelpWindow final : public QWidget {
public:
    HelpWindow();
    // Shows the page asked for; a window that was closed opens beside `asker`
    // (the window whose command asked for help), or centred on it.
    void open(const HelpRequest& r, const QWidget* asker);

private:
    // Shows the first page whose title holds the keyword.
    void jumpTo(const QString& keyword);

    QWidget* keywordRow_;
    QLineEdit* keyword_;
    QTextBrowser* browser_;
    std::vector<std::pair<QString, QString>> pages_;  // path, title
};

// Where a window of `size` opens beside `asker`: right of it when the screen
// has room there, else left of it, else centred on it; always on the screen.
QPoint placeBeside(const QRect& asker, const QSize& size, const QRect& screen);

}  // namespace tosbel

#pragma once

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
    void open(const HelpRequest& r);

private:
    // Shows the first page whose title holds the keyword.
    void jumpTo(const QString& keyword);

    QWidget* keywordRow_;
    QLineEdit* keyword_;
    QTextBrowser* browser_;
    std::vector<std::pair<QString, QString>> pages_;  // path, title
};

}  // namespace tosbel

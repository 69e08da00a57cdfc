#include "platform/qt/help_window.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace tosbel {

namespace {

const QString kFolder = QStringLiteral(":/help/");
const QString kContents = QStringLiteral("index.html");

QUrl pageUrl(const QString& path) {
    return QUrl(QStringLiteral("qrc") + path);
}

QString titleOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    static const QRegularExpression title(QStringLiteral("<title>(.*)</title>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption |
                                              QRegularExpression::InvertedGreedinessOption);
    return title.match(QString::fromUtf8(file.readAll())).captured(1).trimmed();
}

// Contents first, then the numbered pages in number order.
bool pageOrder(const QString& a, const QString& b) {
    if ((a == kContents) != (b == kContents)) return a == kContents;
    bool aNumbered = false, bNumbered = false;
    const int an = QString(a).chopped(5).toInt(&aNumbered);
    const int bn = QString(b).chopped(5).toInt(&bNumbered);
    if (aNumbered && bNumbered) return an < bn;
    if (aNumbered != bNumbered) return aNumbered;
    return a < b;
}

}  // namespace

HelpWindow::HelpWindow() {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Tosbel君 ヘルプ"));
    resize(640, 480);

    keywordRow_ = new QWidget(this);
    auto* row = new QHBoxLayout(keywordRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("キーワード:"), keywordRow_));
    keyword_ = new QLineEdit(keywordRow_);
    keyword_->setObjectName(QStringLiteral("HelpKeyword"));
    row->addWidget(keyword_, 1);
    connect(keyword_, &QLineEdit::textEdited, this, [this](const QString& k) { jumpTo(k); });

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenLinks(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(keywordRow_);
    layout->addWidget(browser_, 1);

    QStringList files = QDir(kFolder).entryList({QStringLiteral("*.html")}, QDir::Files);
    std::sort(files.begin(), files.end(), pageOrder);
    for (const QString& f : files) pages_.emplace_back(kFolder + f, titleOf(kFolder + f));
}

QPoint placeBeside(const QRect& asker, const QSize& size, const QRect& screen) {
    constexpr int kGap = 8;
    QPoint at;
    if (asker.right() + kGap + size.width() <= screen.right())
        at = QPoint(asker.right() + 1 + kGap, asker.top());
    else if (asker.left() - kGap - size.width() >= screen.left())
        at = QPoint(asker.left() - kGap - size.width(), asker.top());
    else
        at = asker.center() - QPoint(size.width() / 2, size.height() / 2);
    const int right = std::max(screen.left(), screen.right() + 1 - size.width());
    const int bottom = std::max(screen.top(), screen.bottom() + 1 - size.height());
    return QPoint(std::clamp(at.x(), screen.left(), right),
                  std::clamp(at.y(), screen.top(), bottom));
}

void HelpWindow::open(const HelpRequest& r, const QWidget* asker) {
    QString page = kFolder + kContents;
    if (r.command == HelpCommand::Context) {
        const QString numbered = kFolder + QString::number(r.context) + QStringLiteral(".html");
        if (QFile::exists(numbered)) page = numbered;
    }
    keywordRow_->setVisible(r.command == HelpCommand::PartialKey);
    browser_->setSource(pageUrl(page));
    // A help window the teacher has open stays where it is.
    if (!isVisible() && asker && asker->screen())
        move(placeBeside(asker->frameGeometry(), frameGeometry().size(),
                         asker->screen()->availableGeometry()));
    show();
    raise();
    activateWindow();
    if (r.command == HelpCommand::PartialKey) {
        keyword_->clear();
        keyword_->setFocus();
    }
}

void HelpWindow::jumpTo(const QString& keyword) {
    const QString k = keyword.trimmed();
    if (k.isEmpty()) return;
    for (const auto& [path, title] : pages_) {
        if (title.contains(k, Qt::CaseInsensitive)) {
            browser_->setSource(pageUrl(path));
            return;
        }
    }
}

}  // namespace tosbel

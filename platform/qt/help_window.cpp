#include "platform/qt/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace tosbel {

namespace {

QUrl pageUrl(const QString& path) {
    return QUrl(QStringLiteral("qrc") + path);
}

QToolButton* barButton(QWidget* parent, const char* name, const QString& caption,
                       QStyle::StandardPixmap picture) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setIcon(parent->style()->standardIcon(picture));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    return b;
}

}  // namespace

HelpWindow::HelpWindow() {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Tosbel君 ヘルプ"));
    resize(880, 620);

    auto* bar = new QHBoxLayout;
    back_ = barButton(this, "HelpBack", QStringLiteral("戻る(&B)"), QStyle::SP_ArrowBack);
    forward_ = barButton(this, "HelpForward", QStringLiteral("進む(&F)"), QStyle::SP_ArrowForward);
    auto* contents =
        barButton(this, "HelpContents", QStringLiteral("目次(&C)"), QStyle::SP_DirHomeIcon);
    search_ = barButton(this, "HelpSearch", QStringLiteral("キーワード(&K)"),
                        QStyle::SP_FileDialogContentsView);
    search_->setCheckable(true);
    for (QToolButton* b : {back_, forward_, contents, search_}) bar->addWidget(b);
    bar->addStretch(1);

    indexPane_ = new QWidget(this);
    auto* index = new QVBoxLayout(indexPane_);
    index->setContentsMargins(0, 0, 0, 0);
    auto* typeLabel = new QLabel(QStringLiteral("探したい言葉を入力して下さい(&W):"), indexPane_);
    keyword_ = new QLineEdit(indexPane_);
    keyword_->setObjectName(QStringLiteral("HelpKeyword"));
    typeLabel->setBuddy(keyword_);
    auto* listLabel =
        new QLabel(QStringLiteral("項目を選んで［表示］を押して下さい(&T):"), indexPane_);
    keywords_ = new QListWidget(indexPane_);
    keywords_->setObjectName(QStringLiteral("HelpKeywords"));
    listLabel->setBuddy(keywords_);
    show_ = new QPushButton(QStringLiteral("表示(&D)"), indexPane_);
    show_->setObjectName(QStringLiteral("HelpShow"));
    index->addWidget(typeLabel);
    index->addWidget(keyword_);
    index->addWidget(listLabel);
    index->addWidget(keywords_, 1);
    index->addWidget(show_, 0, Qt::AlignRight);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenLinks(true);

    indexPane_->setFixedWidth(260);
    auto* panes = new QHBoxLayout;
    panes->addWidget(indexPane_);
    panes->addWidget(browser_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(panes, 1);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(contents, &QToolButton::clicked, this, [this] { showPage(catalogue_.contentsPath()); });
    connect(search_, &QToolButton::toggled, this, &HelpWindow::showIndex);
    connect(keyword_, &QLineEdit::textChanged, this, &HelpWindow::narrow);
    connect(keyword_, &QLineEdit::returnPressed, this, &HelpWindow::openChosen);
    connect(keywords_, &QListWidget::itemActivated, this, &HelpWindow::openChosen);
    connect(show_, &QPushButton::clicked, this, &HelpWindow::openChosen);
    keyword_->installEventFilter(this);

    back_->setEnabled(false);
    forward_->setEnabled(false);
    narrow({});
    showIndex(false);
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
    return keptOnScreen(at, size, screen);
}

QPoint keptOnScreen(const QPoint& at, const QSize& size, const QRect& screen) {
    const int right = std::max(screen.left(), screen.right() + 1 - size.width());
    const int bottom = std::max(screen.top(), screen.bottom() + 1 - size.height());
    return QPoint(std::clamp(at.x(), screen.left(), right),
                  std::clamp(at.y(), screen.top(), bottom));
}

void HelpWindow::open(const HelpRequest& r, const QWidget* asker) {
    QString page = catalogue_.contentsPath();
    if (r.command == HelpCommand::Context) {
        if (const QString numbered = catalogue_.contextPath(r.context); !numbered.isEmpty())
            page = numbered;
    }
    // The keyword search keeps the page the teacher was reading beside it.
    if (r.command != HelpCommand::PartialKey || browser_->source().isEmpty()) showPage(page);
    search_->setChecked(r.command == HelpCommand::PartialKey);
    // A help window the teacher has open stays where it is.
    if (!isVisible()) {
        const QScreen* on = asker && asker->screen() ? asker->screen() : screen();
        if (on) screenArea_ = on->availableGeometry();
        if (asker) move(placeBeside(asker->frameGeometry(), frameGeometry().size(), screenArea_));
    }
    show();
    raise();
    activateWindow();
    keepOnScreen();
    if (r.command == HelpCommand::PartialKey) {
        keyword_->clear();
        keyword_->setFocus();
    }
}

void HelpWindow::keepOnScreen() {
    if (screenArea_.isEmpty()) return;
    const QRect frame = frameGeometry();
    const QPoint at = keptOnScreen(frame.topLeft(), frame.size(), screenArea_);
    if (at != frame.topLeft()) move(at);
}

void HelpWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (isVisible()) keepOnScreen();
}

void HelpWindow::showPage(const QString& path) {
    if (browser_->source() != pageUrl(path)) browser_->setSource(pageUrl(path));
}

void HelpWindow::showIndex(bool shown) {
    indexPane_->setVisible(shown);
    search_->setChecked(shown);
    if (shown) keyword_->setFocus();
}

void HelpWindow::narrow(const QString& typed) {
    keywords_->clear();
    for (const HelpIndexEntry* e : catalogue_.matching(typed)) {
        auto* item = new QListWidgetItem(e->label, keywords_);
        item->setData(Qt::UserRole, e->page->path);
    }
    if (keywords_->count() > 0) keywords_->setCurrentRow(0);
    show_->setEnabled(keywords_->count() > 0);
}

void HelpWindow::openChosen() {
    if (const QListWidgetItem* item = keywords_->currentItem())
        showPage(item->data(Qt::UserRole).toString());
}

// Up and down in the search field walk the list, so the hands stay on the keys.
bool HelpWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == keyword_ && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        const int step = key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : 0;
        if (step != 0 && keywords_->count() > 0) {
            keywords_->setCurrentRow(
                std::clamp(keywords_->currentRow() + step, 0, keywords_->count() - 1));
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace tosbel

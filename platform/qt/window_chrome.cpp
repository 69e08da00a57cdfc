#include "platform/qt/window_chrome.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

#include "platform/clock.h"
#include "platform/qt/lock_keys.h"
#include "platform/qt/toolbar_icons.h"
#include "platform/qt/window_host.h"

namespace tosbel {

namespace {

// What a screen reader says for a toolbar button: its tip, or the command's
// menu caption without its access key and dots ("名簿を開く"); a blank
// button says that it is one.
QString spokenName(const ToolButton& b) {
    QString name = text(b.toolTip).trimmed();
    if (name.isEmpty() && b.command) {
        name = text(b.command->caption);
        name.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\.\\.\\.$")));
        name = withoutAccessKeys(name);
    }
    return name.isEmpty() ? QStringLiteral("空き") : name.trimmed();
}

// Gives a menu or the menu bar exactly these actions, keeping those already in
// place: clearing a menu that is open (a menu array grew while the teacher
// looks at it) would leave the menu bar not knowing which of its menus is open.
void setActions(QWidget* w, const QList<QAction*>& wanted) {
    if (w->actions() == wanted) return;
    for (QAction* a : w->actions())
        if (!wanted.contains(a)) w->removeAction(a);
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const QList<QAction*> now = w->actions();
        if (i < now.size() && now[i] == wanted[i]) continue;
        w->insertAction(i < now.size() ? now[i] : nullptr, wanted[i]);
    }
}

}  // namespace

WindowChrome::WindowChrome(QMainWindow& window, QWidget& client, Form& form, PartHost& host,
                           Clock& clock, TwipScale scale)
    : window_(window), client_(client), form_(form), host_(host), clock_(clock), scale_(scale) {
    buildMenus();
    buildToolbar();
    buildStatusBar();
}

void WindowChrome::stop() {
    if (clockTimer_) clockTimer_->stop();
}

int WindowChrome::menuBarHeight() const {
    return menuBar_ ? menuBar_->sizeHint().height() : 0;
}

void WindowChrome::sync() {
    syncMenus();
    syncToolbar();
    syncStatusBar();
}

bool WindowChrome::eventFilter(QObject* watched, QEvent* e) {
    if (!host_.listening()) return false;
    const bool onToolbar = watched == toolbar_;
    // A press on a bar is not a press on the form beneath it.
    if (e->type() == QEvent::MouseButtonPress) return true;
    if (e->type() != QEvent::MouseButtonDblClick) return false;
    host_.run([this, onToolbar] {
        const std::function<void()>& handler =
            onToolbar ? form_.toolbar->onDblClick : form_.statusBar->onDblClick;
        if (handler) handler();
    });
    return true;
}

// Menus ---------------------------------------------------------------------

void WindowChrome::buildMenus() {
    menuRevision_ = form_.menuRevision();
    if (form_.menuBar.empty()) return;
    if (!menuBar_) {
        menuBar_ = new QMenuBar(&window_);
        window_.setMenuBar(menuBar_);
    }
    // Actions belong to the window, not to the menus, so laying a menu out
    // again (a menu array grew) keeps every action and its connections.
    QList<QAction*> top;
    for (MenuItem* item : form_.menuBar) top << actionFor(*item);
    setActions(menuBar_, top);
}

QAction* WindowChrome::actionFor(MenuItem& item) {
    const QString name = objectNameOf(item.name, item.index);
    if (!item.items.empty()) {
        QMenu*& menu = menus_[&item];
        if (!menu) {
            menu = new QMenu(&window_);
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            // Opening a menu is its click: the place to set its items' states.
            QObject::connect(menu, &QMenu::aboutToShow, this,
                             [this, &item] { host_.run([&item] { item.click(); }); });
        }
        QList<QAction*> children;
        for (MenuItem* child : item.items) children << actionFor(*child);
        setActions(menu, children);
        return menu->menuAction();
    }
    QAction*& action = actions_[&item];
    if (!action) {
        action = new QAction(&window_);
        action->setObjectName(name);
        QObject::connect(action, &QAction::triggered, this,
                         [this, &item] { host_.run([&item] { item.click(); }); });
    }
    return action;
}

bool WindowChrome::menuTakes(const QKeyEvent& e) const {
    const QKeySequence pressed(e.keyCombination());
    for (const auto& [item, action] : actions_)
        if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed)
            return true;
    return false;
}

void WindowChrome::syncMenus() {
    if (form_.menuRevision() != menuRevision_) buildMenus();
    for (auto& [item, action] : actions_) {
        // A menu array's entry starts with the caption of its first, often "-".
        if (action->isSeparator() != item->isSeparator()) action->setSeparator(item->isSeparator());
        if (!item->isSeparator()) {
            const QString label = text(item->caption);
            if (action->text() != label) action->setText(label);
            const QKeySequence key(text(item->shortcut.text()));
            if (action->shortcut() != key) action->setShortcut(key);
            action->setCheckable(item->checked);
            action->setChecked(item->checked);
            action->setEnabled(item->enabled);
        }
        action->setVisible(item->visible);
    }
    for (auto& [item, menu] : menus_) {
        const QString label = text(item->caption);
        if (menu->title() != label) menu->setTitle(label);
        menu->menuAction()->setEnabled(item->enabled);
        menu->menuAction()->setVisible(item->visible);
    }
}

// Toolbar and status bar -----------------------------------------------------

void WindowChrome::buildToolbar() {
    const Toolbar* bar = form_.toolbar;
    if (!bar) return;
    toolbar_ = new QToolBar(&client_);
    toolbar_->setObjectName(text(bar->name));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->setAutoFillBackground(true);  // the bar's own colour, not the form's
    toolbar_->installEventFilter(this);
    for (const ToolButton& b : bar->buttons) {
        const QString name = objectNameOf(bar->name, b.index);
        QAction* action = nullptr;
        if (b.separator) {
            action = toolbar_->addSeparator();
        } else {
            action = toolbar_->addAction(toolIcon(b), QString());
            const int index = b.index;
            QObject::connect(action, &QAction::triggered, this, [this, index] {
                host_.run([this, index] { form_.toolbar->click(index); });
            });
            if (QWidget* button = toolbar_->widgetForAction(action)) button->setObjectName(name);
        }
        action->setObjectName(name);
        toolActions_.push_back(action);
    }
    toolbar_->raise();
}

void WindowChrome::buildStatusBar() {
    const StatusBar* bar = form_.statusBar;
    if (!bar) return;
    statusBar_ = new QFrame(&client_);
    statusBar_->setObjectName(text(bar->name));
    statusBar_->setAutoFillBackground(true);
    statusBar_->installEventFilter(this);
    auto* row = new QHBoxLayout(statusBar_);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    bool spring = false;
    bool clock = false;
    for (std::size_t i = 0; i < bar->panels.size(); ++i) {
        const StatusPanel& p = bar->panels[i];
        auto* label = new QLabel(statusBar_);
        label->setObjectName(objectNameOf(bar->name, static_cast<int>(i) + 1));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->installEventFilter(this);
        if (p.style == PanelStyle::CapsLock || p.style == PanelStyle::Insert)
            label->setAlignment(Qt::AlignCenter);
        row->addWidget(label, p.spring ? 1 : 0);
        panels_.push_back(label);
        spring = spring || p.spring;
        clock = clock || p.style == PanelStyle::Date || p.style == PanelStyle::Time;
    }
    if (!spring) row->addStretch(1);
    if (clock) {
        clockTimer_ = new QTimer(this);
        QObject::connect(clockTimer_, &QTimer::timeout, this, [this] { syncStatusBar(); });
        clockTimer_->start(1000);
    }
    statusBar_->raise();
}

void WindowChrome::layOut() {
    const int width = client_.width();
    if (toolbar_) toolbar_->setGeometry(0, 0, width, scale_.px(form_.toolbar->height));
    if (statusBar_) {
        const int height = scale_.px(form_.statusBar->height);
        statusBar_->setGeometry(0, client_.height() - height, width, height);
    }
}

void WindowChrome::syncToolbar() {
    const Toolbar* bar = form_.toolbar;
    if (!toolbar_ || !bar) return;
    if (toolbar_->isHidden() == bar->visible) toolbar_->setVisible(bar->visible);
    for (std::size_t i = 0; i < toolActions_.size() && i < bar->buttons.size(); ++i) {
        const ToolButton& b = bar->buttons[i];
        QAction* action = toolActions_[i];
        const QString tip = text(b.toolTip);
        if (action->toolTip() != tip) action->setToolTip(tip);
        // A button shows only its picture: a screen reader says the command.
        if (QWidget* button = toolbar_->widgetForAction(action)) {
            const QString spoken = spokenName(b);
            if (button->accessibleName() != spoken) button->setAccessibleName(spoken);
        }
        action->setEnabled(b.isEnabled());
        action->setVisible(b.visible);
    }
}

void WindowChrome::syncStatusBar() {
    const StatusBar* bar = form_.statusBar;
    if (!statusBar_ || !bar) return;
    if (statusBar_->isHidden() == bar->visible) statusBar_->setVisible(bar->visible);
    for (std::size_t i = 0; i < panels_.size() && i < bar->panels.size(); ++i) {
        const StatusPanel& p = bar->panels[i];
        QLabel* label = panels_[i];
        QString shown;
        bool lit = true;
        switch (p.style) {
            case PanelStyle::Text:
                shown = text(p.text);
                break;
            case PanelStyle::Date:
                shown = text(dateText(clock_.now()));
                break;
            case PanelStyle::Time:
                shown = text(timeText(clock_.now(), clock_.amDesignator(), clock_.pmDesignator()));
                break;
            case PanelStyle::CapsLock:
            case PanelStyle::Insert:
                shown = p.style == PanelStyle::CapsLock ? QStringLiteral("CAPS")
                                                        : QStringLiteral("INS");
                lit = (p.style == PanelStyle::CapsLock ? capsLockOn() : insertOn()).value_or(false);
                break;
        }
        if (label->text() != shown) label->setText(shown);
        const QString tip = text(p.toolTip);
        if (label->toolTip() != tip) label->setToolTip(tip);
        label->setEnabled(lit);
        const int width = scale_.px(p.width);
        if (p.spring) {
            if (label->minimumWidth() != width) label->setMinimumWidth(width);
        } else if (label->minimumWidth() != width || label->maximumWidth() != width) {
            label->setFixedWidth(width);
        }
    }
}

}  // namespace tosbel

#pragma once

#include <QObject>

#include <unordered_map>
#include <vector>

#include "platform/form.h"
#include "platform/qt/control_look.h"

class QAction;
class QFrame;
class QKeyEvent;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;
class QTimer;
class QToolBar;

namespace tosbel {

class Clock;
class PartHost;

// A window's menus, toolbar and status bar, built from the form's
// declarations. Menu commands and toolbar presses run the form's handlers; the
// bars lie over the top and bottom edges of the client area, as the forms
// were laid out for.
class WindowChrome final : public QObject {
public:
    WindowChrome(QMainWindow& window, QWidget& client, Form& form, PartHost& host, Clock& clock,
                 TwipScale scale);

    // Writes the form's menus and bars into the widgets; the menus are laid
    // out again when a menu array has grown.
    void sync();
    // Puts the bars at the client area's edges, after its size changed.
    void layOut();
    // Stops the clock of the date and time panels, for a form that has closed.
    void stop();
    // Whether a key is the shortcut of an enabled menu command.
    bool menuTakes(const QKeyEvent& e) const;
    int menuBarHeight() const;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildMenus();
    QAction* actionFor(MenuItem& item);
    void buildToolbar();
    void buildStatusBar();
    void syncMenus();
    void syncToolbar();
    void syncStatusBar();

    QMainWindow& window_;
    QWidget& client_;
    Form& form_;
    PartHost& host_;
    Clock& clock_;
    TwipScale scale_;

    QMenuBar* menuBar_ = nullptr;
    std::unordered_map<const MenuItem*, QAction*> actions_;
    std::unordered_map<const MenuItem*, QMenu*> menus_;
    int menuRevision_ = -1;

    QToolBar* toolbar_ = nullptr;
    std::vector<QAction*> toolActions_;
    QFrame* statusBar_ = nullptr;
    std::vector<QLabel*> panels_;
    QTimer* clockTimer_ = nullptr;  // keeps date and time panels current
};

}  // namespace tosbel

#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/form.h"
#include "platform/qt/control_look.h"
#include "platform/qt/window_host.h"

class QEventLoop;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QMoveEvent;
class QPainter;
class QTimer;

namespace tosbel {

class ControlView;
class WindowChrome;

// One box a form's paint handler drew, in twips.
struct PaintedBox {
    float x1, y1, x2, y2;
    Rgb colour;
    bool operator==(const PaintedBox&) const = default;
};

// The window of one form: built from its declarations, it sends the user's
// actions to the form's handlers and is brought up to date from the form after
// each of them. Controls sit on a client-area canvas; the menus and bars are
// the chrome's (window_chrome.cpp), each control's widget its view's
// (control_widgets.cpp); this class puts them together, passes keys
// (keyboard.cpp) and mouse and drag events on, and syncs (widget_sync.cpp).
class FormWindow final : public QMainWindow, private PartHost {
public:
    FormWindow(WindowHost& host, Form& form);
    ~FormWindow() override;

    // Null once the form has closed: the window then runs no handlers.
    Form* form() const { return form_; }
    void detach();
    // Writes the form's state into the widgets without running any handler.
    void sync();
    // Shows the window for the first time with its frame where the form says.
    void showPlaced();

    QWidget* client() const { return client_; }
    QWidget* widgetOf(const Control& c) const;
    Control* controlOf(const QWidget* w) const;
    void focusControl(const Control& c);

    QEventLoop* modalLoop() const { return modalLoop_; }
    void setModalLoop(QEventLoop* loop) { modalLoop_ = loop; }

    // From the client-area canvas.
    void paintClient(QPainter& painter);
    void clientMouseDown(const QMouseEvent& e);
    void clientDoubleClick();
    void clientMouseMove();
    // A drag over or dropped on a control, or on the form's background (null).
    bool dragEvent(QEvent* e, Control* target);
    void layOutBars();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    struct Placement {
        int left, top, width, height;
        BorderStyle border;
        bool menu;
        bool operator==(const Placement&) const = default;
    };

    // PartHost
    void run(const std::function<void()>& handler) override;
    bool listening() const override;

    QWidget* build(Control& c);
    void buildTimers();
    void setTabOrder();
    void place();
    void syncTimers();

    bool controlEvent(ControlView& v, QEvent* e);
    bool mouseEvent(ControlView& v, QEvent* e);
    // keyboard.cpp
    bool keyEvent(ControlView& v, QEvent* e);
    bool keyPressed(ControlView& v, const QKeyEvent& e);
    bool inputMethod(ControlView& v, const QInputMethodEvent& e);
    bool runKeyHandlers(Control* c, KeyPress& press);
    bool pressCancel();
    void typeInstead(QWidget* w, char32_t key);

    WindowHost& host_;
    Form* form_;
    TwipScale scale_;
    QWidget* client_ = nullptr;
    std::vector<std::unique_ptr<ControlView>> views_;
    std::unordered_map<const Control*, ControlView*> viewOf_;
    std::unordered_map<const QWidget*, ControlView*> viewOfWidget_;
    std::unique_ptr<WindowChrome> chrome_;
    std::vector<std::pair<Timer*, QTimer*>> timers_;

    std::optional<Placement> placed_;
    // What the client area was last drawn with: it is drawn again only when
    // that changed, not after every keystroke.
    std::optional<std::vector<PaintedBox>> painted_;
    std::optional<Rgb> paintedBack_;
    QEventLoop* modalLoop_ = nullptr;
    bool forwarding_ = false;  // a key event the window sends itself passes unfiltered
    bool syncing_ = false;     // widgets are being set from the form: not the user's doing
};

}  // namespace tosbel

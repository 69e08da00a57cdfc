#pragma once

#include <QMainWindow>
#include <QString>

#include <cmath>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/form.h"

class QAction;
class QEventLoop;
class QFrame;
class QInputMethodEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QMouseEvent;
class QMoveEvent;
class QPainter;
class QTimer;
class QToolBar;

namespace tosbel {

class QtPlatform;

// Twips to the pixels of the screen and back.
struct TwipScale {
    double dpi = 96;
    int px(double twips) const {
        return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
    }
    float twips(double pixels) const { return static_cast<float>(pixels * kTwipsPerInch / dpi); }
};

// One box a form's paint handler drew, in twips.
struct PaintedBox {
    float x1, y1, x2, y2;
    Rgb colour;
    bool operator==(const PaintedBox&) const = default;
};

// The forms keep their texts in UTF-8.
inline QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A picture file (BMP, JPG, GIF, ICO) the teacher may have replaced; a null
// picture when it is missing, unreadable, not an ordinary file or not a picture.
QPixmap pictureFile(const std::string& path);

// The object name a control, menu item or panel is found by: "Text1", or
// "Text1_3" for element 3 of an array.
QString objectNameOf(const std::string& name, int index);

// The window of one form: built from its declarations, it sends the user's
// actions to the form's handlers and is brought up to date from the form after
// each of them. Controls sit on a client-area canvas; the toolbar and status bar
// lie over its top and bottom edges, as the forms were laid out for.
class FormWindow final : public QMainWindow {
public:
    FormWindow(QtPlatform& platform, Form& form);
    ~FormWindow() override;

    // Null once the form has closed: the window then runs no handlers.
    Form* form() const { return form_; }
    void detach();
    // Writes the form's state into the widgets without running any handler.
    void sync();

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
    struct View {
        Control* control;
        QWidget* widget;
        // What the widget was last given, so an unchanged model costs nothing.
        std::optional<Rgb> back;
        Rgb fore;
        FontSpec font;
        bool styled = false;
        QString picture;
    };
    struct Placement {
        int left, top, width, height;
        BorderStyle border;
        bool menu;
        bool operator==(const Placement&) const = default;
    };

    void run(const std::function<void()>& handler);
    QWidget* build(Control& c);
    void buildMenus();
    QAction* actionFor(MenuItem& item);
    void buildToolbar();
    void buildStatusBar();
    void buildTimers();
    void setTabOrder();
    void place();
    void syncControl(View& v);
    void syncStyle(View& v);
    void syncMenus();
    void syncToolbar();
    void syncStatusBar();
    void syncTimers();

    bool controlEvent(View& v, QEvent* e);
    bool keyPressed(Control& c, QWidget* w, const QKeyEvent& e);
    bool inputMethod(Control& c, QWidget* w, const QInputMethodEvent& e);
    bool runKeyHandlers(Control* c, KeyPress& press);
    void typeInstead(QWidget* w, char32_t key);
    void userEdited(Control& c, const QString& typed);
    void readSelection(Control& c, const QLineEdit& edit);
    void writeSelection(const Control& c, QLineEdit& edit);
    bool menuTakes(const QKeyEvent& e) const;
    void optionClicked(Control& c);

    QtPlatform& platform_;
    Form* form_;
    TwipScale scale_;
    QWidget* client_ = nullptr;
    std::vector<View> views_;
    std::unordered_map<const Control*, std::size_t> viewOf_;
    std::unordered_map<const QWidget*, std::size_t> viewOfWidget_;

    QMenuBar* menuBar_ = nullptr;
    std::unordered_map<const MenuItem*, QAction*> actions_;
    std::unordered_map<const MenuItem*, QMenu*> menus_;
    int menuRevision_ = -1;

    QToolBar* toolbar_ = nullptr;
    std::vector<QAction*> toolActions_;
    QFrame* statusBar_ = nullptr;
    std::vector<QLabel*> panels_;
    QTimer* clockTimer_ = nullptr;  // keeps date and time panels current
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

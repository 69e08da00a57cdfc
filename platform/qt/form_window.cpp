#include "platform/qt/form_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMimeData>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <algorithm>

#include "platform/qt/control_widgets.h"
#include "platform/qt/drag_session.h"
#include "platform/qt/toolbar_icons.h"
#include "platform/qt/window_chrome.h"

namespace tosbel {

namespace {

MouseButton buttonOf(Qt::MouseButton b) {
    if (b == Qt::RightButton) return MouseButton::Right;
    if (b == Qt::MiddleButton) return MouseButton::Middle;
    return MouseButton::Left;
}

MouseDown mouseDownOf(const QMouseEvent& e, TwipScale scale) {
    return {buttonOf(e.button()), (e.modifiers() & Qt::ShiftModifier) != 0,
            (e.modifiers() & Qt::ControlModifier) != 0, scale.twips(e.position().x()),
            scale.twips(e.position().y())};
}

// Draws in twips on the client area for the form's paint handler.
class PainterCanvas final : public Canvas {
public:
    PainterCanvas(QPainter& painter, TwipScale scale) : painter_(painter), scale_(scale) {}
    void fillBox(float x1, float y1, float x2, float y2, Rgb c) override {
        const QPoint a(scale_.px(std::min(x1, x2)), scale_.px(std::min(y1, y2)));
        const QPoint b(scale_.px(std::max(x1, x2)), scale_.px(std::max(y1, y2)));
        painter_.fillRect(QRect(a, b), colour(c));  // QRect(a, b) holds both corners
    }

private:
    QPainter& painter_;
    TwipScale scale_;
};

class ClientArea final : public QWidget {
public:
    explicit ClientArea(FormWindow& window) : QWidget(&window), window_(window) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        window_.paintClient(p);
    }
    void mousePressEvent(QMouseEvent* e) override { window_.clientMouseDown(*e); }
    void mouseMoveEvent(QMouseEvent*) override { window_.clientMouseMove(); }
    void mouseDoubleClickEvent(QMouseEvent*) override { window_.clientDoubleClick(); }
    void resizeEvent(QResizeEvent*) override { window_.layOutBars(); }
    void dragEnterEvent(QDragEnterEvent* e) override { window_.dragEvent(e, nullptr); }
    void dragMoveEvent(QDragMoveEvent* e) override { window_.dragEvent(e, nullptr); }
    void dragLeaveEvent(QDragLeaveEvent* e) override { window_.dragEvent(e, nullptr); }
    void dropEvent(QDropEvent* e) override { window_.dragEvent(e, nullptr); }

private:
    FormWindow& window_;
};

}  // namespace

FormWindow::FormWindow(WindowHost& host, Form& form) : host_(host), form_(&form) {
    if (const QScreen* s = QGuiApplication::primaryScreen()) scale_.dpi = s->logicalDotsPerInch();
    setObjectName(text(form.name));

    // A tool window is the kind the task bar leaves out, on Windows and on
    // the X desktops alike.
    Qt::WindowFlags flags = form.showInTaskbar ? Qt::Window : Qt::Tool;
    if (form.borderStyle == BorderStyle::None) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::CustomizeWindowHint;
        if (form.minButton) flags |= Qt::WindowMinimizeButtonHint;
        if (form.maxButton) flags |= Qt::WindowMaximizeButtonHint;
    }
    setWindowFlags(flags);
    // The program's own pictures live in its resources, not in files the
    // teacher may replace.
    if (const QIcon icon = namedWindowIcon(form.icon); !icon.isNull()) setWindowIcon(icon);

    client_ = new ClientArea(*this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setAcceptDrops(true);
    client_->setMouseTracking(form.tracksMouse);
    setCentralWidget(client_);

    for (Control* c : form.controls()) build(*c);
    // Windowed controls over the graphical ones, in the order declared.
    for (const auto& v : views_)
        if (!v->graphical()) v->widget()->raise();
    // The bars lie over the controls.
    PartHost& parts = *this;
    chrome_ = std::make_unique<WindowChrome>(*this, *client_, form, parts, host_.clock(), scale_);
    buildTimers();
    setTabOrder();
    sync();

    Control* first = form.focused() ? form.focused() : form.nextInTabOrder(nullptr);
    if (first) focusControl(*first);
}

FormWindow::~FormWindow() {
    detach();
    // The widgets go first, while the views and the chrome their signals and
    // filters reach are still whole.
    delete client_;
    client_ = nullptr;
}

void FormWindow::detach() {
    form_ = nullptr;
    for (auto& [timer, qtimer] : timers_) qtimer->stop();
    if (chrome_) chrome_->stop();
}

void FormWindow::run(const std::function<void()>& handler) {
    if (form_) host_.handle(handler);
}

bool FormWindow::listening() const {
    return form_ && !syncing_;
}

QWidget* FormWindow::widgetOf(const Control& c) const {
    const auto it = viewOf_.find(&c);
    return it == viewOf_.end() ? nullptr : it->second->widget();
}

Control* FormWindow::controlOf(const QWidget* w) const {
    for (; w && w != client_; w = w->parentWidget()) {
        const auto it = viewOfWidget_.find(w);
        if (it != viewOfWidget_.end()) return &it->second->control();
    }
    return nullptr;
}

void FormWindow::focusControl(const Control& c) {
    if (QWidget* w = widgetOf(c)) w->setFocus(Qt::OtherFocusReason);
}

QWidget* FormWindow::build(Control& c) {
    if (QWidget* existing = widgetOf(c)) return existing;
    QWidget* parent = c.container ? build(*c.container) : client_;
    std::unique_ptr<ControlView> view = makeView(c, parent, *this);
    QWidget* w = view->widget();
    w->installEventFilter(this);
    viewOf_[&c] = view.get();
    viewOfWidget_[w] = view.get();
    views_.push_back(std::move(view));
    return w;
}

void FormWindow::setTabOrder() {
    std::vector<const ControlView*> order;
    for (const auto& v : views_)
        if (v->focusable()) order.push_back(v.get());
    std::stable_sort(order.begin(), order.end(), [](const ControlView* a, const ControlView* b) {
        return a->control().tabIndex < b->control().tabIndex;
    });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1]->widget(), order[i]->widget());
}

void FormWindow::buildTimers() {
    for (Timer* t : form_->timers()) {
        auto* timer = new QTimer(this);
        timer->setObjectName(text(t->name));
        QObject::connect(timer, &QTimer::timeout, this, [this, t] {
            run([t] {
                if (t->onTimer) t->onTimer();
            });
        });
        timers_.emplace_back(t, timer);
    }
}

// The user's actions on controls -----------------------------------------------

bool FormWindow::eventFilter(QObject* watched, QEvent* e) {
    if (!form_ || !watched->isWidgetType()) return false;
    const auto it = viewOfWidget_.find(static_cast<const QWidget*>(watched));
    return it != viewOfWidget_.end() && controlEvent(*it->second, e);
}

// Every event a control may get from the mouse, the keyboard or a drag becomes
// the model's event here; a kind's own signals (a button's click) are
// connected where its widget is made.
bool FormWindow::controlEvent(ControlView& v, QEvent* e) {
    switch (e->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
        case QEvent::InputMethod:
            return keyEvent(v, e);
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return mouseEvent(v, e);
        case QEvent::MouseMove:
            if (Control& c = v.control();
                c.onMouseMove &&
                !(e->isSinglePointEvent() && static_cast<QMouseEvent*>(e)->buttons()))
                run([&c] { c.onMouseMove(); });
            return false;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
            return dragEvent(e, &v.control());
        default:
            return false;
    }
}

bool FormWindow::mouseEvent(ControlView& v, QEvent* e) {
    Control& c = v.control();
    QWidget* w = v.widget();
    const auto& me = *static_cast<QMouseEvent*>(e);
    // Graphical controls keep their mouse events from the form beneath them.
    const bool graphical = v.graphical();
    switch (e->type()) {
        case QEvent::MouseButtonPress: {
            const MouseDown down = mouseDownOf(me, scale_);
            const int drags = host_.dragSession().serial();
            // The press focuses the control before its handler runs, as it
            // does on the system the forms were drawn for: a drag started there
            // then comes from the focused box.
            if (c.takesFocus() && me.button() == Qt::LeftButton && !w->hasFocus())
                w->setFocus(Qt::MouseFocusReason);
            if (c.onMouseDown) run([&c, &down] { c.mouseDown(down); });
            // A drag the handler started has used up the press.
            return graphical || host_.dragSession().serial() != drags;
        }
        case QEvent::MouseButtonRelease: {
            const bool click = me.button() == Qt::LeftButton &&
                               w->rect().contains(me.position().toPoint()) && v.clickedOnRelease();
            if (click && c.onClick) run([&c] { c.click(); });
            return graphical;
        }
        default:
            if (c.onDblClick) run([&c] { c.dblClick(); });
            return graphical;
    }
}

bool FormWindow::dragEvent(QEvent* e, Control* target) {
    if (!form_) return false;
    DragSession& drag = host_.dragSession();
    const auto over = [this, target, &drag](Control& source, DragState state) {
        run([this, target, &source, state] { form_->dragOver(target, source, state); });
        drag.iconChanged();
    };
    switch (e->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* de = static_cast<QDragMoveEvent*>(e);
            Control* source = drag.sourceOf(de->mimeData());
            if (!source) return false;
            de->acceptProposedAction();
            over(*source, e->type() == QEvent::DragEnter ? DragState::Enter : DragState::Over);
            return true;
        }
        case QEvent::DragLeave: {
            Control* source = drag.source();
            if (source) over(*source, DragState::Leave);
            return source != nullptr;
        }
        case QEvent::Drop: {
            auto* de = static_cast<QDropEvent*>(e);
            Control* source = drag.sourceOf(de->mimeData());
            if (!source) return false;
            de->acceptProposedAction();
            run([this, target, source] { form_->drop(target, *source); });
            return true;
        }
        default:
            return false;
    }
}

// The client area and the window itself --------------------------------------------

void FormWindow::paintClient(QPainter& painter) {
    if (!form_) return;
    if (form_->backColor) painter.fillRect(client_->rect(), colour(*form_->backColor));
    PainterCanvas canvas(painter, scale_);
    form_->Form_Paint(canvas);
}

void FormWindow::clientMouseDown(const QMouseEvent& e) {
    if (!form_) return;
    const MouseDown down = mouseDownOf(e, scale_);
    run([this, &down] { form_->Form_MouseDown(down); });
}

void FormWindow::clientMouseMove() {
    if (form_ && form_->tracksMouse) run([this] { form_->Form_MouseMove(); });
}

void FormWindow::clientDoubleClick() {
    run([this] { form_->Form_DblClick(); });
}

void FormWindow::layOutBars() {
    if (form_ && chrome_) chrome_->layOut();
}

void FormWindow::closeEvent(QCloseEvent* e) {
    if (!form_ || !form_->isLoaded()) {
        e->accept();
        return;
    }
    bool closed = true;
    Form& f = *form_;
    run([&f, &closed] { closed = f.close(UnloadMode::CloseBox); });
    if (closed)
        e->accept();
    else
        e->ignore();
}

// The teacher moved the window: the form keeps the place, so the position the
// program stores on closing is where the window really is.
void FormWindow::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    if (!form_ || !placed_ || !isVisible()) return;
    const QPoint at = pos();
    if (at.x() != scale_.px(form_->left)) form_->left = static_cast<int>(scale_.twips(at.x()));
    if (at.y() != scale_.px(form_->top)) form_->top = static_cast<int>(scale_.twips(at.y()));
    placed_->left = form_->left;
    placed_->top = form_->top;
}

void FormWindow::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && form_)
        host_.windowActivated(*this);
}

}  // namespace tosbel

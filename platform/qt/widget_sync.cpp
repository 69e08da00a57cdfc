// Bringing a window's widgets up to date from its form: the place and size of
// the window, what every control shares, the timers and the paint handler's
// picture. A kind's own state is its view's (control_widgets.cpp).
#include <QApplication>
#include <QLayout>
#include <QPalette>
#include <QSignalBlocker>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/qt/control_widgets.h"
#include "platform/qt/form_window.h"
#include "platform/qt/window_chrome.h"

namespace tosbel {

namespace {

bool sameFont(const FontSpec& a, const FontSpec& b) {
    return a.name == b.name && a.size == b.size && a.bold == b.bold && a.italic == b.italic &&
           a.underline == b.underline && a.strikeout == b.strikeout;
}

// Notes what the paint handler would draw, without drawing it.
class RecordingCanvas final : public Canvas {
public:
    void fillBox(float x1, float y1, float x2, float y2, Rgb c) override {
        boxes.push_back({x1, y1, x2, y2, c});
    }
    std::vector<PaintedBox> boxes;
};

}  // namespace

void ControlView::place(TwipScale scale) {
    const Control& c = control_;
    const QRect r(scale.px(c.left), scale.px(c.top), scale.px(c.width), scale.px(c.height));
    if (widget_->geometry() != r) widget_->setGeometry(r);
}

void ControlView::sync(TwipScale scale) {
    Control& c = control_;
    QWidget* w = widget_;
    const QSignalBlocker blocker(w);

    place(scale);
    if (!styled_ || !sameFont(font_, c.font)) {
        font_ = c.font;
        w->setFont(fontOf(c.font));
        fitted_ = false;
    }
    syncStyle();
    const QString tip = text(c.toolTip);
    if (w->toolTip() != tip) w->setToolTip(tip);
    // A screen reader reads a caption by itself; a box, a picture or a bare
    // tick box is named by its form, or by its tip.
    const QString spoken = c.accessibleName.empty() ? tip.trimmed() : text(c.accessibleName);
    if (w->accessibleName() != spoken) w->setAccessibleName(spoken);
    const bool hand = c.pointer == Control::Pointer::Hand;
    if (w->testAttribute(Qt::WA_SetCursor) != hand) {
        if (hand)
            w->setCursor(Qt::PointingHandCursor);
        else
            w->unsetCursor();
    }
    if (c.onMouseMove && !w->hasMouseTracking()) w->setMouseTracking(true);
    if (w->testAttribute(Qt::WA_ForceDisabled) == c.enabled) w->setEnabled(c.enabled);
    if (w->isHidden() == c.visible) w->setVisible(c.visible);
    if (focusable()) {
        const Qt::FocusPolicy policy = c.tabStop ? Qt::StrongFocus : Qt::ClickFocus;
        if (w->focusPolicy() != policy) w->setFocusPolicy(policy);
    }
    syncOwn();
}

void ControlView::fitFont(const QString& shown, const QRect& room, bool wrap) {
    if (fitted_ && shown == fittedText_ && room.size() == fittedRoom_) return;
    fitted_ = true;
    fittedText_ = shown;
    fittedRoom_ = room.size();
    const QFont fitted = fittedFont(fontOf(font_), shown, room.size(), wrap);
    if (widget_->font() != fitted) widget_->setFont(fitted);
}

void ControlView::syncStyle() {
    const Control& c = control_;
    if (styled_ && fore_ == c.foreColor && back_ == c.backColor) return;
    styled_ = true;
    fore_ = c.foreColor;
    back_ = c.backColor;
    QPalette palette = QApplication::palette(widget_);
    // Only the enabled looks take the form's colours; a disabled control stays
    // greyed as the system draws it.
    const auto set = [&palette](QPalette::ColorRole role, QColor value) {
        palette.setColor(QPalette::Active, role, value);
        palette.setColor(QPalette::Inactive, role, value);
    };
    const QColor fore = colour(c.foreColor);
    set(QPalette::WindowText, fore);
    set(QPalette::Text, fore);
    set(QPalette::ButtonText, fore);
    if (c.backColor) {
        const QColor back = colour(*c.backColor);
        set(QPalette::Window, back);
        set(QPalette::Base, back);
        set(QPalette::Button, back);
    }
    widget_->setPalette(palette);
    // A label without a colour of its own lets the form show through.
    widget_->setAutoFillBackground(c.backColor.has_value() && fillsBack());
}

void FormWindow::place() {
    const Form& f = *form_;
    const Placement now{f.left, f.top, f.width, f.height, f.borderStyle, !f.menuBar.empty()};
    if (placed_ == now) return;
    placed_ = now;
    const QSize clientSize(scale_.px(f.clientWidth()), scale_.px(f.clientHeight()));
    if (f.borderStyle == BorderStyle::Sizable) {
        client_->setMinimumSize(0, 0);
        client_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        resize(clientSize.width(), clientSize.height() + chrome_->menuBarHeight());
    } else {
        client_->setFixedSize(clientSize);
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    move(scale_.px(f.left), scale_.px(f.top));
    layOutBars();
}

// An X window manager puts the frame's corner on the asked point only when the
// window asks so as it is first mapped; a move Qt makes before then places the
// inside of the window there, a title bar lower than where it was left.
void FormWindow::showPlaced() {
    winId();
    ensurePolished();
    if (QLayout* l = layout()) l->activate();
    if (QWindow* w = windowHandle()) {
        w->resize(size());
        w->setFramePosition(QPoint(scale_.px(form_->left), scale_.px(form_->top)));
    }
    show();
}

void FormWindow::sync() {
    if (!form_) return;
    const QString title = text(form_->caption);
    if (windowTitle() != title) setWindowTitle(title);
    place();
    chrome_->sync();
    syncing_ = true;
    for (const auto& v : views_) v->sync(scale_);
    syncing_ = false;
    syncTimers();
    // Drawing the client area draws every widget on it again, which costs far
    // more than asking the paint handler (it only draws) what it would draw.
    RecordingCanvas canvas;
    form_->Form_Paint(canvas);
    if (painted_ != canvas.boxes || paintedBack_ != form_->backColor) {
        painted_ = std::move(canvas.boxes);
        paintedBack_ = form_->backColor;
        client_->update();
    }
}

void FormWindow::syncTimers() {
    for (auto& [t, timer] : timers_) {
        if (t->enabled && t->interval > 0) {
            if (!timer->isActive() || timer->interval() != t->interval) timer->start(t->interval);
        } else if (timer->isActive()) {
            timer->stop();
        }
    }
}

}  // namespace tosbel

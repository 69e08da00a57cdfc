#include "platform/qt/form_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

#include "platform/cp932.h"
#include "platform/file_io.h"
#include "platform/qt/lock_keys.h"
#include "platform/qt/qt_platform.h"

namespace tosbel {

namespace {

QColor colour(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

// Captions come with the line breaks of the system the forms were made on.
QString caption(const std::string& utf8) {
    return text(utf8).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// A label shows "&&" as "&" and hides the single "&" of an access key.
QString withoutAccessKeys(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] != QLatin1Char('&')) {
            out += s[i];
        } else if (i + 1 < s.size() && s[i + 1] == QLatin1Char('&')) {
            out += QLatin1Char('&');
            ++i;
        }
    }
    return out;
}

Qt::Alignment horizontal(Align a) {
    switch (a) {
        case Align::Right:
            return Qt::AlignRight;
        case Align::Center:
            return Qt::AlignHCenter;
        case Align::Left:
            break;
    }
    return Qt::AlignLeft;
}

QFont fontOf(const FontSpec& f) {
    QFont font(text(f.name));
    font.setPointSizeF(f.size);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    return font;
}

bool sameFont(const FontSpec& a, const FontSpec& b) {
    return a.name == b.name && a.size == b.size && a.bold == b.bold && a.italic == b.italic &&
           a.underline == b.underline;
}

// Graphical controls are drawn on the form itself, under the windowed ones, and
// take neither the focus nor, apart from their own events, the mouse.
bool isGraphical(ControlKind k) {
    return k == ControlKind::Label || k == ControlKind::Image || k == ControlKind::Line ||
           k == ControlKind::Frame;
}

bool isFocusable(ControlKind k) {
    switch (k) {
        case ControlKind::TextBox:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::CommandButton:
        case ControlKind::ScrollBar:
            return true;
        default:
            return false;
    }
}

// The character a key press stands for, as the form's key handlers count keys;
// none for keys that type nothing (arrows, function keys, Tab, Delete).
std::optional<char32_t> keyCharOf(const QKeyEvent& e) {
    switch (e.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kKeyEnter;
        case Qt::Key_Backspace:
            return kKeyBackspace;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete:
            return std::nullopt;
        default:
            break;
    }
    const QList<uint> chars = e.text().toUcs4();
    if (chars.size() != 1) return std::nullopt;
    return static_cast<char32_t>(chars.front());
}

MouseButton buttonOf(Qt::MouseButton b) {
    if (b == Qt::RightButton) return MouseButton::Right;
    if (b == Qt::MiddleButton) return MouseButton::Middle;
    return MouseButton::Left;
}

// Positions in a QString count UTF-16 units; the forms count characters.
qsizetype unitsOf(const QString& s, std::size_t chars) {
    qsizetype i = 0;
    for (; i < s.size() && chars > 0; --chars) i += s[i].isHighSurrogate() ? 2 : 1;
    return std::min(i, s.size());
}
int charsOf(const QString& s, qsizetype units) {
    return static_cast<int>(s.left(units).toUcs4().size());
}

// What a user's edit of a byte-limited box becomes: the piece that differs from
// the text before is the insertion, fitted to the room the rest leaves.
QString fitEdit(const QString& before, const QString& after, int byteLimit, qsizetype* cursor) {
    qsizetype prefix = 0;
    const qsizetype shorter = std::min(before.size(), after.size());
    while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
    if (prefix > 0 && after[prefix - 1].isHighSurrogate()) --prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    if (suffix > 0 && after[after.size() - suffix].isLowSurrogate()) --suffix;

    const FittedEdit edit =
        fitInsertion(after.left(prefix).toStdString(),
                     after.mid(prefix, after.size() - prefix - suffix).toStdString(),
                     after.right(suffix).toStdString(), byteLimit);
    const QString fitted = text(edit.text);
    *cursor = unitsOf(fitted, edit.caret);
    return fitted;
}

// Qt draws a frame again whenever its style is set, changed or not: with a
// hundred labels that is every label after every keystroke.
void setFrame(QFrame& frame, bool border) {
    const int style = border ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame;
    if (frame.frameStyle() != style) frame.setFrameStyle(style);
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

// A toolbar picture until the real ones are drawn: a rounded tile with the
// button's number.
QIcon numberedIcon(int index) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3a, 0x6e, 0xa5));
    p.drawRoundedRect(QRectF(2, 2, 28, 28), 6, 6);
    QFont font = p.font();
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QString::number(index));
    return QIcon(pixmap);
}

// The editing commands have no picture among the style's own: drawn here.
std::optional<QIcon> editIcon(const std::string& name) {
    if (name != "cut" && name != "copy" && name != "paste") return std::nullopt;
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
    if (name == "cut") {
        p.drawLine(QPointF(9, 4), QPointF(21, 22));
        p.drawLine(QPointF(23, 4), QPointF(11, 22));
        p.drawEllipse(QPointF(9, 25), 4, 4);
        p.drawEllipse(QPointF(23, 25), 4, 4);
    } else if (name == "copy") {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 4, 15, 19));
        p.drawRect(QRectF(12, 10, 15, 19));
    } else {
        p.setBrush(QColor(0xc8, 0x9a, 0x5a));
        p.drawRoundedRect(QRectF(5, 6, 22, 23), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 11, 14, 15));
        p.setBrush(QColor(0x80, 0x80, 0x80));
        p.drawRect(QRectF(11, 3, 10, 6));
    }
    return QIcon(pixmap);
}

QIcon toolIcon(const ToolButton& b) {
    for (const char* suffix : {".png", ".bmp", ".ico"}) {
        const QString path = QStringLiteral(":/toolbar/") + text(b.image) + QLatin1String(suffix);
        if (!b.image.empty() && QFile::exists(path)) return QIcon(path);
    }
    // The style's own pictures for the commands every program has.
    static const std::pair<const char*, QStyle::StandardPixmap> kStandard[] = {
        {"new", QStyle::SP_FileIcon},
        {"open", QStyle::SP_DialogOpenButton},
        {"delete", QStyle::SP_TrashIcon},
        {"conditions", QStyle::SP_FileDialogDetailedView},
        {"run", QStyle::SP_MediaPlay},
        {"exit", QStyle::SP_DialogCloseButton},
        {"version", QStyle::SP_MessageBoxInformation},
        {"help", QStyle::SP_DialogHelpButton},
        {"paint", QStyle::SP_DesktopIcon},
        {"save", QStyle::SP_DialogSaveButton},
        {"cancel", QStyle::SP_DialogCancelButton},
    };
    for (const auto& [name, pixmap] : kStandard)
        if (b.image == name) return QApplication::style()->standardIcon(pixmap);
    if (auto drawn = editIcon(b.image)) return *drawn;
    return numberedIcon(b.index);
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

// Notes what the paint handler would draw, without drawing it.
class RecordingCanvas final : public Canvas {
public:
    void fillBox(float x1, float y1, float x2, float y2, Rgb c) override {
        boxes.push_back({x1, y1, x2, y2, c});
    }
    std::vector<PaintedBox> boxes;
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
    void mouseDoubleClickEvent(QMouseEvent*) override { window_.clientDoubleClick(); }
    void resizeEvent(QResizeEvent*) override { window_.layOutBars(); }
    void dragEnterEvent(QDragEnterEvent* e) override { window_.dragEvent(e, nullptr); }
    void dragMoveEvent(QDragMoveEvent* e) override { window_.dragEvent(e, nullptr); }
    void dragLeaveEvent(QDragLeaveEvent* e) override { window_.dragEvent(e, nullptr); }
    void dropEvent(QDropEvent* e) override { window_.dragEvent(e, nullptr); }

private:
    FormWindow& window_;
};

class LineWidget final : public QWidget {
public:
    explicit LineWidget(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    // Ends in the parent's pixels.
    void set(QPoint a, QPoint b, QColor c, int width) {
        const int margin = std::max(width, 1);
        const QRect box = QRect(a, b).normalized().adjusted(-margin, -margin, margin, margin);
        if (box != geometry()) setGeometry(box);
        a_ = a - box.topLeft();
        b_ = b - box.topLeft();
        colour_ = c;
        width_ = width;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QPen(colour_, width_));
        p.drawLine(a_, b_);
    }

private:
    QPoint a_, b_;
    QColor colour_;
    int width_ = 1;
};

// A click anywhere on a check box turns it on or off, not only on its box and
// caption; the greyed state is the program's alone.
class CheckWidget final : public QCheckBox {
public:
    explicit CheckWidget(QWidget* parent) : QCheckBox(parent) { setTristate(true); }

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void nextCheckState() override {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

// An option button takes a click anywhere on it too.
class OptionWidget final : public QRadioButton {
public:
    explicit OptionWidget(QWidget* parent) : QRadioButton(parent) {}

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

}  // namespace

QPixmap pictureFile(const std::string& path) {
    // Read through the program's own reader: a pipe or a device under a
    // picture's name must not stop the program, nor a huge file fill memory.
    constexpr std::size_t kPictureLimit = 32 * 1024 * 1024;
    QPixmap pixmap;
    if (const auto bytes = readFileBytes(path, kPictureLimit)) {
        pixmap.loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                            static_cast<uint>(bytes->size()));
    }
    return pixmap;
}

QString objectNameOf(const std::string& name, int index) {
    return index < 0 ? text(name) : text(name) + QLatin1Char('_') + QString::number(index);
}

FormWindow::FormWindow(QtPlatform& platform, Form& form) : platform_(platform), form_(&form) {
    if (const QScreen* s = QGuiApplication::primaryScreen()) scale_.dpi = s->logicalDotsPerInch();
    setObjectName(text(form.name));

    Qt::WindowFlags flags = Qt::Window;
    if (form.borderStyle == BorderStyle::None) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::CustomizeWindowHint;
        if (form.minButton) flags |= Qt::WindowMinimizeButtonHint;
        if (form.maxButton) flags |= Qt::WindowMaximizeButtonHint;
    }
    setWindowFlags(flags);
    if (!form.icon.empty()) {
        const QPixmap icon = pictureFile(form.icon);
        if (!icon.isNull()) setWindowIcon(QIcon(icon));
    }

    client_ = new ClientArea(*this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setAcceptDrops(true);
    setCentralWidget(client_);

    for (Control* c : form.controls()) build(*c);
    // Windowed controls over the graphical ones, in the order declared.
    for (const View& v : views_)
        if (!isGraphical(v.control->kind)) v.widget->raise();
    buildMenus();
    buildToolbar();
    buildStatusBar();
    buildTimers();
    setTabOrder();
    sync();

    Control* first = form.focused() ? form.focused() : form.nextInTabOrder(nullptr);
    if (first) focusControl(*first);
}

FormWindow::~FormWindow() {
    detach();
    for (const View& v : views_) v.widget->removeEventFilter(this);
}

void FormWindow::detach() {
    form_ = nullptr;
    for (auto& [timer, qtimer] : timers_) qtimer->stop();
    if (clockTimer_) clockTimer_->stop();
}

void FormWindow::run(const std::function<void()>& handler) {
    if (form_) platform_.handle(handler);
}

QWidget* FormWindow::widgetOf(const Control& c) const {
    const auto it = viewOf_.find(&c);
    return it == viewOf_.end() ? nullptr : views_[it->second].widget;
}

Control* FormWindow::controlOf(const QWidget* w) const {
    for (; w && w != client_; w = w->parentWidget()) {
        const auto it = viewOfWidget_.find(w);
        if (it != viewOfWidget_.end()) return views_[it->second].control;
    }
    return nullptr;
}

void FormWindow::focusControl(const Control& c) {
    if (QWidget* w = widgetOf(c)) w->setFocus(Qt::OtherFocusReason);
}

QWidget* FormWindow::build(Control& c) {
    if (QWidget* existing = widgetOf(c)) return existing;
    QWidget* parent = c.container ? build(*c.container) : client_;
    QWidget* w = nullptr;
    switch (c.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            w = label;
            break;
        }
        case ControlKind::TextBox: {
            auto* edit = new QLineEdit(parent);
            QObject::connect(edit, &QLineEdit::textEdited, edit,
                             [this, &c](const QString& typed) { userEdited(c, typed); });
            // The form keeps the selection, for commands that cut or paste.
            const auto selected = [this, &c, edit] {
                if (form_ && !syncing_) readSelection(c, *edit);
            };
            QObject::connect(edit, &QLineEdit::selectionChanged, edit, selected);
            QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit, selected);
            w = edit;
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = new CheckWidget(parent);
            QObject::connect(box, &QCheckBox::clicked, box, [this, &c, box] {
                run([&c, box] {
                    c.value = box->checkState() == Qt::Checked ? 1 : 0;
                    // The click of a check box is its change.
                    if (c.onClick) c.onClick();
                    if (c.onChange) c.onChange();
                });
            });
            w = box;
            break;
        }
        case ControlKind::OptionButton: {
            auto* option = new OptionWidget(parent);
            QObject::connect(option, &QRadioButton::clicked, option,
                             [this, &c] { optionClicked(c); });
            w = option;
            break;
        }
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(parent);
            button->setAutoDefault(true);  // Enter presses the focused button
            QObject::connect(button, &QPushButton::clicked, button, [this, &c] {
                run([&c] {
                    if (c.onClick) c.onClick();
                });
            });
            w = button;
            break;
        }
        case ControlKind::Frame:
            w = new QGroupBox(parent);
            break;
        case ControlKind::Image: {
            auto* image = new QLabel(parent);
            image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            w = image;
            break;
        }
        case ControlKind::Line:
            w = new LineWidget(parent);
            break;
        case ControlKind::ScrollBar: {
            auto* bar = new QScrollBar(parent);
            bar->setTracking(false);  // the change comes when the thumb is let go
            QObject::connect(bar, &QScrollBar::valueChanged, bar, [this, &c](int value) {
                run([&c, value] {
                    c.value = value;
                    if (c.onChange) c.onChange();
                });
            });
            w = bar;
            break;
        }
    }
    w->setObjectName(objectNameOf(c.name, c.index));
    w->setFocusPolicy(Qt::NoFocus);
    if (c.kind != ControlKind::Line) w->setAcceptDrops(true);
    w->installEventFilter(this);
    viewOf_[&c] = views_.size();
    viewOfWidget_[w] = views_.size();
    views_.push_back(View{&c, w, std::nullopt, Rgb{}, FontSpec{}, false, QString()});
    return w;
}

void FormWindow::setTabOrder() {
    std::vector<const View*> order;
    for (const View& v : views_)
        if (isFocusable(v.control->kind)) order.push_back(&v);
    std::stable_sort(order.begin(), order.end(), [](const View* a, const View* b) {
        return a->control->tabIndex < b->control->tabIndex;
    });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1]->widget, order[i]->widget);
}

// Menus ---------------------------------------------------------------------

void FormWindow::buildMenus() {
    menuRevision_ = form_->menuRevision();
    if (form_->menuBar.empty()) return;
    if (!menuBar_) {
        menuBar_ = new QMenuBar(this);
        setMenuBar(menuBar_);
    }
    // Actions belong to the window, not to the menus, so laying a menu out
    // again (a menu array grew) keeps every action and its connections.
    QList<QAction*> top;
    for (MenuItem* item : form_->menuBar) top << actionFor(*item);
    setActions(menuBar_, top);
}

QAction* FormWindow::actionFor(MenuItem& item) {
    const QString name = objectNameOf(item.name, item.index);
    if (!item.items.empty()) {
        QMenu*& menu = menus_[&item];
        if (!menu) {
            menu = new QMenu(this);
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            // Opening a menu is its click: the place to set its items' states.
            QObject::connect(menu, &QMenu::aboutToShow, menu, [this, &item] {
                run([&item] {
                    if (item.onClick) item.onClick();
                });
            });
        }
        QList<QAction*> children;
        for (MenuItem* child : item.items) children << actionFor(*child);
        setActions(menu, children);
        return menu->menuAction();
    }
    QAction*& action = actions_[&item];
    if (!action) {
        action = new QAction(this);
        action->setObjectName(name);
        QObject::connect(action, &QAction::triggered, action, [this, &item] {
            run([&item] {
                if (item.onClick) item.onClick();
            });
        });
    }
    return action;
}

void FormWindow::syncMenus() {
    if (form_->menuRevision() != menuRevision_) buildMenus();
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

void FormWindow::buildToolbar() {
    const Toolbar* bar = form_->toolbar;
    if (!bar) return;
    toolbar_ = new QToolBar(client_);
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
            QObject::connect(action, &QAction::triggered, action, [this, index] {
                run([this, index] {
                    if (form_->toolbar->onButtonClick) form_->toolbar->onButtonClick(index);
                });
            });
            if (QWidget* button = toolbar_->widgetForAction(action)) button->setObjectName(name);
        }
        action->setObjectName(name);
        toolActions_.push_back(action);
    }
    toolbar_->raise();
}

void FormWindow::buildStatusBar() {
    const StatusBar* bar = form_->statusBar;
    if (!bar) return;
    statusBar_ = new QFrame(client_);
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
        QObject::connect(clockTimer_, &QTimer::timeout, this, [this] {
            if (form_) syncStatusBar();
        });
        clockTimer_->start(1000);
    }
    statusBar_->raise();
}

void FormWindow::layOutBars() {
    if (!form_) return;
    const int width = client_->width();
    if (toolbar_) toolbar_->setGeometry(0, 0, width, scale_.px(form_->toolbar->height));
    if (statusBar_) {
        const int height = scale_.px(form_->statusBar->height);
        statusBar_->setGeometry(0, client_->height() - height, width, height);
    }
}

void FormWindow::syncToolbar() {
    const Toolbar* bar = form_->toolbar;
    if (!toolbar_ || !bar) return;
    if (toolbar_->isHidden() == bar->visible) toolbar_->setVisible(bar->visible);
    for (std::size_t i = 0; i < toolActions_.size() && i < bar->buttons.size(); ++i) {
        const ToolButton& b = bar->buttons[i];
        QAction* action = toolActions_[i];
        const QString tip = text(b.toolTip);
        if (action->toolTip() != tip) action->setToolTip(tip);
        action->setEnabled(b.enabled);
        action->setVisible(b.visible);
    }
}

void FormWindow::syncStatusBar() {
    const StatusBar* bar = form_->statusBar;
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
                shown = text(dateText(platform_.clock().now()));
                break;
            case PanelStyle::Time: {
                Clock& clock = platform_.clock();
                shown = text(timeText(clock.now(), clock.amDesignator(), clock.pmDesignator()));
                break;
            }
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

// Timers ----------------------------------------------------------------------

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

void FormWindow::syncTimers() {
    for (auto& [t, timer] : timers_) {
        if (t->enabled && t->interval > 0) {
            if (!timer->isActive() || timer->interval() != t->interval) timer->start(t->interval);
        } else if (timer->isActive()) {
            timer->stop();
        }
    }
}

// Bringing the widgets up to date ----------------------------------------------

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
        const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
        resize(clientSize.width(), clientSize.height() + menuHeight);
    } else {
        client_->setFixedSize(clientSize);
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    move(scale_.px(f.left), scale_.px(f.top));
    layOutBars();
}

void FormWindow::sync() {
    if (!form_) return;
    const QString title = text(form_->caption);
    if (windowTitle() != title) setWindowTitle(title);
    place();
    syncMenus();
    syncToolbar();
    syncStatusBar();
    syncing_ = true;
    for (View& v : views_) syncControl(v);
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

void FormWindow::syncStyle(View& v) {
    const Control& c = *v.control;
    if (v.styled && v.fore == c.foreColor && v.back == c.backColor) return;
    v.styled = true;
    v.fore = c.foreColor;
    v.back = c.backColor;
    QPalette palette = QApplication::palette(v.widget);
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
    v.widget->setPalette(palette);
    // A label without a colour of its own lets the form show through.
    const bool fills = c.backColor.has_value() && c.kind != ControlKind::TextBox &&
                       c.kind != ControlKind::CommandButton && c.kind != ControlKind::ScrollBar;
    v.widget->setAutoFillBackground(fills);
}

void FormWindow::syncControl(View& v) {
    Control& c = *v.control;
    QWidget* w = v.widget;
    const QSignalBlocker blocker(w);

    if (c.kind == ControlKind::Line) {
        static_cast<LineWidget*>(w)->set(QPoint(scale_.px(c.x1), scale_.px(c.y1)),
                                         QPoint(scale_.px(c.x2), scale_.px(c.y2)),
                                         colour(c.borderColor.value_or(Rgb{})), c.borderWidth);
    } else {
        const QRect r(scale_.px(c.left), scale_.px(c.top), scale_.px(c.width), scale_.px(c.height));
        if (w->geometry() != r) w->setGeometry(r);
    }
    if (!v.styled || !sameFont(v.font, c.font)) {
        v.font = c.font;
        w->setFont(fontOf(c.font));
    }
    syncStyle(v);
    const QString tip = text(c.toolTip);
    if (w->toolTip() != tip) w->setToolTip(tip);
    if (w->testAttribute(Qt::WA_ForceDisabled) == c.enabled) w->setEnabled(c.enabled);
    if (w->isHidden() == c.visible) w->setVisible(c.visible);
    if (isFocusable(c.kind)) {
        const Qt::FocusPolicy policy = c.tabStop ? Qt::StrongFocus : Qt::ClickFocus;
        if (w->focusPolicy() != policy) w->setFocusPolicy(policy);
    }

    switch (c.kind) {
        case ControlKind::Label: {
            auto* label = static_cast<QLabel*>(w);
            const QString shown = withoutAccessKeys(caption(c.caption));
            if (label->text() != shown) label->setText(shown);
            setFrame(*label, c.border);
            // A label lower than one line of its font (the CJK fonts standing in
            // for the old ones have tall lines) shows the middle of the line,
            // where the characters are, instead of their top half.
            const bool cramped = label->fontMetrics().height() > label->contentsRect().height();
            const Qt::Alignment align =
                horizontal(c.alignment) | (cramped ? Qt::AlignVCenter : Qt::AlignTop);
            if (label->alignment() != align) label->setAlignment(align);
            break;
        }
        case ControlKind::TextBox: {
            auto* edit = static_cast<QLineEdit*>(w);
            const QString shown = text(c.text);
            if (edit->text() != shown) edit->setText(shown);
            writeSelection(c, *edit);
            if (edit->isReadOnly() != c.locked) edit->setReadOnly(c.locked);
            const Qt::Alignment align = horizontal(c.alignment) | Qt::AlignVCenter;
            if (edit->alignment() != align) edit->setAlignment(align);
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = static_cast<QCheckBox*>(w);
            const QString shown = caption(c.caption);
            if (box->text() != shown) box->setText(shown);
            const Qt::CheckState state = c.value == 1   ? Qt::Checked
                                         : c.value == 2 ? Qt::PartiallyChecked
                                                        : Qt::Unchecked;
            if (box->checkState() != state) box->setCheckState(state);
            break;
        }
        case ControlKind::OptionButton: {
            auto* option = static_cast<QRadioButton*>(w);
            const QString shown = caption(c.caption);
            if (option->text() != shown) option->setText(shown);
            if (option->isChecked() != (c.value != 0)) {
                // An exclusive radio button cannot be switched off on its own.
                option->setAutoExclusive(false);
                option->setChecked(c.value != 0);
                option->setAutoExclusive(true);
            }
            break;
        }
        case ControlKind::CommandButton: {
            auto* button = static_cast<QPushButton*>(w);
            const QString shown = caption(c.caption);
            if (button->text() != shown) button->setText(shown);
            break;
        }
        case ControlKind::Frame: {
            auto* frame = static_cast<QGroupBox*>(w);
            const QString shown = caption(c.caption);
            if (frame->title() != shown) frame->setTitle(shown);
            break;
        }
        case ControlKind::Image: {
            auto* image = static_cast<QLabel*>(w);
            const QString picture = text(c.picture);
            if (picture != v.picture) {
                v.picture = picture;
                // A missing or unreadable picture shows nothing, as an empty one.
                const QPixmap pixmap = pictureFile(c.picture);
                if (pixmap.isNull())
                    image->clear();
                else
                    image->setPixmap(pixmap);
            }
            if (image->hasScaledContents() != c.stretch) image->setScaledContents(c.stretch);
            setFrame(*image, c.border);
            break;
        }
        case ControlKind::ScrollBar: {
            auto* bar = static_cast<QScrollBar*>(w);
            const Qt::Orientation orientation = c.vertical ? Qt::Vertical : Qt::Horizontal;
            if (bar->orientation() != orientation) bar->setOrientation(orientation);
            // A bar whose minimum lies above its maximum runs the other way.
            if (bar->invertedAppearance() != (c.min > c.max))
                bar->setInvertedAppearance(c.min > c.max);
            bar->setRange(std::min(c.min, c.max), std::max(c.min, c.max));
            bar->setSingleStep(c.smallChange);
            bar->setPageStep(c.largeChange);
            if (bar->value() != c.value) bar->setValue(c.value);
            break;
        }
        case ControlKind::Line:
            break;
    }
}

// The user's actions -------------------------------------------------------------

void FormWindow::userEdited(Control& c, const QString& typed) {
    if (!form_) return;
    auto* edit = static_cast<QLineEdit*>(widgetOf(c));
    QString accepted = typed;
    qsizetype cursor = edit->cursorPosition();
    if (c.byteLimit > 0) accepted = fitEdit(text(c.text), typed, c.byteLimit, &cursor);
    // The caret stands after what went in, before the change handler looks.
    c.selStart = charsOf(accepted, cursor);
    c.selLength = 0;
    run([&c, &accepted] { c.userEdited(accepted.toStdString()); });
}

bool FormWindow::menuTakes(const QKeyEvent& e) const {
    const QKeySequence pressed(e.keyCombination());
    for (const auto& [item, action] : actions_)
        if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed)
            return true;
    return false;
}

void FormWindow::readSelection(Control& c, const QLineEdit& edit) {
    const QString shown = edit.text();
    if (edit.hasSelectedText()) {
        c.selStart = charsOf(shown, edit.selectionStart());
        c.selLength = charsOf(shown, edit.selectionEnd()) - c.selStart;
    } else {
        c.selStart = charsOf(shown, edit.cursorPosition());
        c.selLength = 0;
    }
}

void FormWindow::writeSelection(const Control& c, QLineEdit& edit) {
    const QString shown = edit.text();
    const auto start = static_cast<std::size_t>(c.selStart);
    const qsizetype from = unitsOf(shown, start);
    const qsizetype to = unitsOf(shown, start + static_cast<std::size_t>(c.selLength));
    if (edit.hasSelectedText() ? edit.selectionStart() == from && edit.selectionEnd() == to
                               : to == from && edit.cursorPosition() == from)
        return;
    if (to == from)
        edit.setCursorPosition(static_cast<int>(from));
    else
        edit.setSelection(static_cast<int>(from), static_cast<int>(to - from));
}

void FormWindow::optionClicked(Control& c) {
    // Its click is its turning on: a click on the option already on says nothing.
    if (!form_ || c.value != 0) return;
    run([this, &c] {
        // One option is on in each frame: the form's own values say so too.
        for (Control* other : form_->controls())
            if (other->kind == ControlKind::OptionButton && other->container == c.container)
                other->value = other == &c ? 1 : 0;
        if (c.onClick) c.onClick();
        if (c.onChange) c.onChange();
    });
}

bool FormWindow::runKeyHandlers(Control* c, KeyPress& press) {
    const bool preview = form_ && form_->onKeyPress && (form_->keyPreview || !c);
    if (!preview && !(c && c->onKeyPress)) return false;
    run([this, c, &press] {
        if (form_->onKeyPress && (form_->keyPreview || !c)) form_->onKeyPress(press);
        // The form's handler may have closed the window and released the form.
        if (form_ && press.key != 0 && c && c->onKeyPress) c->onKeyPress(press);
    });
    return true;
}

bool FormWindow::keyPressed(Control& c, QWidget* w, const QKeyEvent& e) {
    const std::optional<char32_t> key = keyCharOf(e);
    if (!key) return false;
    const bool textBox = c.kind == ControlKind::TextBox;
    KeyPress press{*key};
    runKeyHandlers(&c, press);
    // A handler that closed the window may have released the form and the
    // control with it: the key goes nowhere.
    if (!form_ || press.key == 0) return true;
    if (press.key != *key) {
        typeInstead(w, press.key);
        return true;
    }
    // Enter never types into a box (and never reaches a default button through it).
    return textBox && press.key == kKeyEnter;
}

void FormWindow::typeInstead(QWidget* w, char32_t key) {
    int code = Qt::Key_unknown;
    if (key == kKeyEnter) code = Qt::Key_Return;
    if (key == kKeyBackspace) code = Qt::Key_Backspace;
    if (key == 27) code = Qt::Key_Escape;
    QKeyEvent replacement(QEvent::KeyPress, code, Qt::NoModifier, QString::fromUcs4(&key, 1));
    forwarding_ = true;
    QCoreApplication::sendEvent(w, &replacement);
    forwarding_ = false;
}

// Characters the input method commits are key presses too, one by one, so the
// handlers that keep some characters out of a box see every character typed.
bool FormWindow::inputMethod(Control& c, QWidget* w, const QInputMethodEvent& e) {
    if (e.commitString().isEmpty()) return false;
    QString kept;
    bool changed = false;
    for (const uint ch : e.commitString().toUcs4()) {
        KeyPress press{static_cast<char32_t>(ch)};
        if (!runKeyHandlers(&c, press)) return false;
        if (!form_) return true;
        if (press.key != ch) changed = true;
        if (press.key != 0) kept += QString::fromUcs4(&press.key, 1);
    }
    if (!changed) return false;
    QInputMethodEvent replacement(e.preeditString(), e.attributes());
    replacement.setCommitString(kept, e.replacementStart(), e.replacementLength());
    forwarding_ = true;
    QCoreApplication::sendEvent(w, &replacement);
    forwarding_ = false;
    return true;
}

void FormWindow::keyPressEvent(QKeyEvent* e) {
    // Keys a control left unused arrive here too; only a window without a
    // focused control gives them to the form.
    const std::optional<char32_t> key = keyCharOf(*e);
    if (form_ && key && !controlOf(QApplication::focusWidget())) {
        KeyPress press{*key};
        if (runKeyHandlers(nullptr, press) && press.key == 0) return;
    }
    QMainWindow::keyPressEvent(e);
}

bool FormWindow::controlEvent(View& v, QEvent* e) {
    Control& c = *v.control;
    QWidget* w = v.widget;
    // Graphical controls keep their mouse events from the form beneath them.
    const bool graphical = isGraphical(c.kind);
    switch (e->type()) {
        case QEvent::ShortcutOverride:
            // A text box's own editing keys (Ctrl+C, Ctrl+V …) give way to the
            // form's menu shortcuts, so the form's commands do the editing.
            if (menuTakes(*static_cast<QKeyEvent*>(e))) {
                e->ignore();
                return true;
            }
            return false;
        case QEvent::KeyPress:
            return !forwarding_ && keyPressed(c, w, *static_cast<QKeyEvent*>(e));
        case QEvent::InputMethod:
            return !forwarding_ && inputMethod(c, w, *static_cast<QInputMethodEvent*>(e));
        case QEvent::MouseButtonPress: {
            const auto& me = *static_cast<QMouseEvent*>(e);
            const MouseDown down{buttonOf(me.button()), (me.modifiers() & Qt::ShiftModifier) != 0,
                                 (me.modifiers() & Qt::ControlModifier) != 0,
                                 scale_.twips(me.position().x()), scale_.twips(me.position().y())};
            const int drags = platform_.dragSerial_;
            // The press focuses the control before its handler runs, as it
            // does on the system the forms were drawn for: a drag started there
            // then comes from the focused box.
            if (c.takesFocus() && me.button() == Qt::LeftButton && !w->hasFocus())
                w->setFocus(Qt::MouseFocusReason);
            if (c.onMouseDown) run([&c, &down] { c.onMouseDown(down); });
            // A drag the handler started has used up the press.
            return graphical || platform_.dragSerial_ != drags;
        }
        case QEvent::MouseButtonRelease: {
            const auto& me = *static_cast<QMouseEvent*>(e);
            const bool click = me.button() == Qt::LeftButton &&
                               w->rect().contains(me.position().toPoint()) &&
                               (graphical || c.kind == ControlKind::TextBox);
            if (click && c.onClick) run([&c] { c.onClick(); });
            return graphical;
        }
        case QEvent::MouseButtonDblClick:
            if (c.onDblClick) run([&c] { c.onDblClick(); });
            return graphical;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
            return dragEvent(e, &c);
        default:
            return false;
    }
}

bool FormWindow::dragEvent(QEvent* e, Control* target) {
    if (!form_) return false;
    const auto over = [this, target](Control& source, DragState state) {
        run([this, target, &source, state] {
            if (!target)
                form_->Form_DragOver(source, state);
            else if (target->onDragOver)
                target->onDragOver(source, state);
        });
        platform_.dragIconChanged();
    };
    switch (e->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* de = static_cast<QDragMoveEvent*>(e);
            Control* source = platform_.dragSource(de->mimeData());
            if (!source) return false;
            de->acceptProposedAction();
            over(*source, e->type() == QEvent::DragEnter ? DragState::Enter : DragState::Over);
            return true;
        }
        case QEvent::DragLeave: {
            Control* source = platform_.dragSource_;
            if (source) over(*source, DragState::Leave);
            return source != nullptr;
        }
        case QEvent::Drop: {
            auto* de = static_cast<QDropEvent*>(e);
            Control* source = platform_.dragSource(de->mimeData());
            if (!source) return false;
            de->acceptProposedAction();
            run([this, target, source] {
                if (target)
                    form_->dropOn(*target, *source);
                else
                    form_->Form_DragDrop(*source);
            });
            return true;
        }
        default:
            return false;
    }
}

bool FormWindow::eventFilter(QObject* watched, QEvent* e) {
    if (!form_ || !watched->isWidgetType()) return false;
    const auto* w = static_cast<const QWidget*>(watched);
    if (const auto it = viewOfWidget_.find(w); it != viewOfWidget_.end())
        return controlEvent(views_[it->second], e);
    const bool onToolbar = w == toolbar_;
    const bool onStatus =
        w == statusBar_ || std::find(panels_.begin(), panels_.end(), w) != panels_.end();
    if (!onToolbar && !onStatus) return false;
    // A press on a bar is not a press on the form beneath it.
    if (e->type() == QEvent::MouseButtonPress) return true;
    if (e->type() != QEvent::MouseButtonDblClick) return false;
    run([this, onToolbar] {
        const std::function<void()>& handler =
            onToolbar ? form_->toolbar->onDblClick : form_->statusBar->onDblClick;
        if (handler) handler();
    });
    return true;
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
    const MouseDown down{buttonOf(e.button()), (e.modifiers() & Qt::ShiftModifier) != 0,
                         (e.modifiers() & Qt::ControlModifier) != 0, scale_.twips(e.position().x()),
                         scale_.twips(e.position().y())};
    run([this, &down] { form_->Form_MouseDown(down); });
}

void FormWindow::clientDoubleClick() {
    run([this] { form_->Form_DblClick(); });
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
        platform_.windowActivated(*this);
}

}  // namespace tosbel

#include "platform/qt/control_widgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cmath>

#include "platform/qt/kind_widgets.h"
#include "platform/qt/window_host.h"

namespace tosbel {

namespace {

// Qt draws a frame again whenever its style is set, changed or not: with a
// hundred labels that is every label after every keystroke.
void setFrame(QFrame& frame, bool border) {
    const int style = border ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame;
    if (frame.frameStyle() != style) frame.setFrameStyle(style);
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

// One view per kind ---------------------------------------------------------------

template <class W>
class ViewOf : public ControlView {
protected:
    ViewOf(Control& c, W* w) : ControlView(c, w) {}
    W& w() const { return *static_cast<W*>(widget()); }
};

class LabelView final : public ViewOf<QLabel> {
public:
    LabelView(Control& c, QWidget* parent) : ViewOf(c, new QLabel(parent)) {
        w().setTextFormat(Qt::PlainText);
        w().setWordWrap(true);
    }
    bool graphical() const override { return true; }

protected:
    void syncOwn() override {
        const Control& c = control();
        const QString shown = shownText(c);
        if (w().text() != shown) w().setText(shown);
        setFrame(w(), hasBorder(c));
        QRect room = w().contentsRect();
        if (c.height > 0) {
            const double hidden = c.height - uncoveredHeight(c);
            room.setBottom(room.bottom() -
                           static_cast<int>(std::ceil(hidden * w().height() / c.height)));
        }
        fitFont(shown, room, true);
        const Qt::Alignment align = labelAlignment(c);
        if (w().alignment() != align) w().setAlignment(align);
    }
};

class TextBoxView final : public ViewOf<EditWidget> {
public:
    TextBoxView(Control& c, QWidget* parent, PartHost& host)
        : ViewOf(c, new EditWidget(parent)), host_(host) {
        QLineEdit* edit = &w();
        QObject::connect(edit, &QLineEdit::textEdited, edit,
                         [this](const QString& typed) { edited(typed); });
        // The form keeps the selection, for commands that cut or paste.
        const auto selected = [this] {
            if (host_.listening()) readSelection();
        };
        QObject::connect(edit, &QLineEdit::selectionChanged, edit, selected);
        QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit, selected);
    }
    bool focusable() const override { return true; }
    bool clickedOnRelease() const override { return true; }
    bool typesText() const override { return true; }

protected:
    bool fillsBack() const override { return false; }
    void syncOwn() override {
        const Control& c = control();
        const QString shown = shownText(c);
        if (w().text() != shown) w().setText(shown);
        if (w().wrap != c.wrap) {
            w().wrap = c.wrap;
            w().update();
        }
        writeSelection();
        if (w().isReadOnly() != c.locked) w().setReadOnly(c.locked);
        const Qt::Alignment align = horizontalAlignment(c.alignment) | Qt::AlignVCenter;
        if (w().alignment() != align) w().setAlignment(align);
    }

private:
    void edited(const QString& typed) {
        host_.run([this, &typed] {
            Control& c = control();
            QString accepted = typed;
            qsizetype cursor = w().cursorPosition();
            if (c.byteLimit > 0) accepted = fitEdit(text(c.text), typed, c.byteLimit, &cursor);
            // The caret stands after what went in, before the change handler looks.
            c.selStart = charsOf(accepted, cursor);
            c.selLength = 0;
            c.userEdited(accepted.toStdString());
        });
    }

    void readSelection() {
        Control& c = control();
        const QString shown = w().text();
        if (w().hasSelectedText()) {
            c.selStart = charsOf(shown, w().selectionStart());
            c.selLength = charsOf(shown, w().selectionEnd()) - c.selStart;
        } else {
            c.selStart = charsOf(shown, w().cursorPosition());
            c.selLength = 0;
        }
    }

    void writeSelection() {
        const Control& c = control();
        QLineEdit& edit = w();
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

    PartHost& host_;
};

class CheckBoxView final : public ViewOf<CheckWidget> {
public:
    CheckBoxView(Control& c, QWidget* parent, PartHost& host) : ViewOf(c, new CheckWidget(parent)) {
        QObject::connect(&w(), &QCheckBox::clicked, &w(),
                         [&host, &c] { host.run([&c] { c.click(); }); });
    }
    bool focusable() const override { return true; }

protected:
    void syncOwn() override {
        const Control& c = control();
        const QString shown = shownText(c);
        if (w().text() != shown) w().setText(shown);
        fitFont(withoutAccessKeys(shown), w().captionRoom(), false);
        const Qt::CheckState state = c.value == 1   ? Qt::Checked
                                     : c.value == 2 ? Qt::PartiallyChecked
                                                    : Qt::Unchecked;
        if (w().checkState() != state) w().setCheckState(state);
    }
};

class OptionView final : public ViewOf<OptionWidget> {
public:
    OptionView(Control& c, QWidget* parent, PartHost& host) : ViewOf(c, new OptionWidget(parent)) {
        QObject::connect(&w(), &QRadioButton::clicked, &w(),
                         [&host, &c] { host.run([&c] { c.click(); }); });
    }
    bool focusable() const override { return true; }

protected:
    void syncOwn() override {
        const Control& c = control();
        const QString shown = shownText(c);
        if (w().text() != shown) w().setText(shown);
        fitFont(withoutAccessKeys(shown), w().captionRoom(), false);
        if (w().isChecked() != (c.value != 0)) {
            // An exclusive radio button cannot be switched off on its own.
            w().setAutoExclusive(false);
            w().setChecked(c.value != 0);
            w().setAutoExclusive(true);
        }
    }
};

class CommandView final : public ViewOf<ButtonWidget> {
public:
    CommandView(Control& c, QWidget* parent, PartHost& host) : ViewOf(c, new ButtonWidget(parent)) {
        w().setAutoDefault(true);  // Enter presses the focused button
        QObject::connect(&w(), &QPushButton::clicked, &w(),
                         [&host, &c] { host.run([&c] { c.click(); }); });
    }
    bool focusable() const override { return true; }

protected:
    bool fillsBack() const override { return false; }
    void syncOwn() override {
        const QString shown = shownText(control());
        if (w().text() != shown) w().setText(shown);
        fitFont(withoutAccessKeys(shown), w().captionRoom(), false);
    }
};

class FrameView final : public ViewOf<QGroupBox> {
public:
    FrameView(Control& c, QWidget* parent) : ViewOf(c, new QGroupBox(parent)) {}
    bool graphical() const override { return true; }

protected:
    void syncOwn() override {
        const QString shown = shownText(control());
        if (w().title() != shown) w().setTitle(shown);
    }
};

class ImageView final : public ViewOf<QLabel> {
public:
    ImageView(Control& c, QWidget* parent) : ViewOf(c, new QLabel(parent)) {
        w().setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    bool graphical() const override { return true; }

protected:
    void syncOwn() override {
        const Control& c = control();
        if (!shown_ || *shown_ != c.picture) {
            shown_ = c.picture;
            // A missing or unreadable picture shows nothing, as an empty one.
            const QPixmap pixmap = pictureFile(c.picture);
            if (pixmap.isNull())
                w().clear();
            else
                w().setPixmap(pixmap);
        }
        if (w().hasScaledContents() != c.stretch) w().setScaledContents(c.stretch);
        setFrame(w(), hasBorder(c));
    }

private:
    std::optional<std::string> shown_;
};

class LineView final : public ViewOf<LineWidget> {
public:
    LineView(Control& c, QWidget* parent) : ViewOf(c, new LineWidget(parent)) {
        w().setAcceptDrops(false);
    }
    bool graphical() const override { return true; }

protected:
    void place(TwipScale scale) override {
        const Control& c = control();
        w().set(QPoint(scale.px(c.x1), scale.px(c.y1)), QPoint(scale.px(c.x2), scale.px(c.y2)),
                colour(c.borderColor.value_or(Rgb{})), c.borderWidth);
    }
    void syncOwn() override {}
};

class ScrollBarView final : public ViewOf<ScrollWidget> {
public:
    ScrollBarView(Control& c, QWidget* parent, PartHost& host)
        : ViewOf(c, new ScrollWidget(parent)) {
        w().setTracking(false);  // the change comes when the thumb is let go
        QObject::connect(&w(), &QScrollBar::valueChanged, &w(),
                         [&host, &c](int value) { host.run([&c, value] { c.setValue(value); }); });
    }
    bool focusable() const override { return true; }

protected:
    bool fillsBack() const override { return false; }
    void syncOwn() override {
        const Control& c = control();
        QScrollBar& bar = w();
        const Qt::Orientation orientation = c.vertical ? Qt::Vertical : Qt::Horizontal;
        if (bar.orientation() != orientation) bar.setOrientation(orientation);
        // A bar whose minimum lies above its maximum runs the other way.
        if (bar.invertedAppearance() != (c.min > c.max)) bar.setInvertedAppearance(c.min > c.max);
        bar.setRange(std::min(c.min, c.max), std::max(c.min, c.max));
        bar.setSingleStep(c.smallChange);
        bar.setPageStep(c.largeChange);
        if (bar.value() != c.value) bar.setValue(c.value);
    }
};

}  // namespace

ControlView::ControlView(Control& c, QWidget* w) : control_(c), widget_(w) {
    w->setObjectName(objectNameOf(c.name, c.index));
    w->setFocusPolicy(Qt::NoFocus);  // until the first sync, from the control's tab stop
    w->setAcceptDrops(true);
}

std::unique_ptr<ControlView> makeView(Control& c, QWidget* parent, PartHost& host) {
    switch (c.kind) {
        case ControlKind::Label:
            return std::make_unique<LabelView>(c, parent);
        case ControlKind::TextBox:
            return std::make_unique<TextBoxView>(c, parent, host);
        case ControlKind::CheckBox:
            return std::make_unique<CheckBoxView>(c, parent, host);
        case ControlKind::OptionButton:
            return std::make_unique<OptionView>(c, parent, host);
        case ControlKind::CommandButton:
            return std::make_unique<CommandView>(c, parent, host);
        case ControlKind::Frame:
            return std::make_unique<FrameView>(c, parent);
        case ControlKind::Image:
            return std::make_unique<ImageView>(c, parent);
        case ControlKind::Line:
            return std::make_unique<LineView>(c, parent);
        case ControlKind::ScrollBar:
            return std::make_unique<ScrollBarView>(c, parent, host);
    }
    return nullptr;
}

}  // namespace tosbel

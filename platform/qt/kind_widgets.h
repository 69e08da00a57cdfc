#pragma once

#include <QCheckBox>
#include <QColor>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPainter>
#include <QPoint>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionSlider>

#include <algorithm>

#include "platform/qt/control_look.h"

namespace tosbel {

// The Qt widgets the controls are shown in, where a plain Qt widget would not
// do: each draws the program's focus mark, the boxes and buttons take a click
// anywhere on them, and a text box that wraps shows a long name whole.

// The focused control shows the mark whatever colours the form gave it: the
// style's own focus frame is drawn in the palette's colours, which the forms
// set, and only after a Tab key.
void markFocus(QWidget& w, const QRect& area);

// Where a check box or option button marks its focus: round its caption, or
// round its box when it has none.
QRect toggleFocusArea(const QAbstractButton& b, const QStyleOptionButton& option,
                      QStyle::SubElement box, QStyle::SubElement caption);

class EditWidget final : public QLineEdit {
public:
    explicit EditWidget(QWidget* parent) : QLineEdit(parent) {}
    bool wrap = false;

protected:
    void paintEvent(QPaintEvent* e) override {
        if (!paintWrapped()) QLineEdit::paintEvent(e);
        markFocus(*this, rect());
    }

private:
    // A box that wraps shows a text too wide for it on more lines until the
    // teacher edits it; editing is on one line, as ever.
    bool paintWrapped() {
        if (!wrap || hasFocus()) return false;
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        // Where the line edit itself puts its text: its contents less its
        // margins and the two pixels it keeps on either side.
        const QMargins margins = textMargins();
        const QRectF inside =
            QRectF(style()->subElementRect(QStyle::SE_LineEditContents, &panel, this))
                .adjusted(margins.left() + 2, margins.top(), -margins.right() - 2,
                          -margins.bottom());
        if (QFontMetricsF(font()).horizontalAdvance(text()) <= inside.width()) return false;
        QPainter painter(this);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
        painter.setPen(palette().color(QPalette::Text));
        drawBoxText(painter, inside, text(), true, alignment() & Qt::AlignHorizontal_Mask);
        return true;
    }
};

// A click anywhere on a check box turns it on or off, not only on its box and
// caption; the greyed state is the program's alone.
class CheckWidget final : public QCheckBox {
public:
    explicit CheckWidget(QWidget* parent) : QCheckBox(parent) { setTristate(true); }
    // Where the caption goes, right of the box.
    QRect captionRoom() const {
        QStyleOptionButton option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    }

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void nextCheckState() override {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    void paintEvent(QPaintEvent* e) override {
        QCheckBox::paintEvent(e);
        QStyleOptionButton option;
        initStyleOption(&option);
        markFocus(*this, toggleFocusArea(*this, option, QStyle::SE_CheckBoxIndicator,
                                         QStyle::SE_CheckBoxFocusRect));
    }
};

// An option button takes a click anywhere on it too.
class OptionWidget final : public QRadioButton {
public:
    explicit OptionWidget(QWidget* parent) : QRadioButton(parent) {}
    QRect captionRoom() const {
        QStyleOptionButton option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);
    }

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void paintEvent(QPaintEvent* e) override {
        QRadioButton::paintEvent(e);
        QStyleOptionButton option;
        initStyleOption(&option);
        markFocus(*this, toggleFocusArea(*this, option, QStyle::SE_RadioButtonIndicator,
                                         QStyle::SE_RadioButtonFocusRect));
    }
};

class ButtonWidget final : public QPushButton {
public:
    explicit ButtonWidget(QWidget* parent) : QPushButton(parent) {}
    QRect captionRoom() const {
        QStyleOptionButton option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPushButton::paintEvent(e);
        markFocus(*this, rect().adjusted(4, 4, -4, -4));
    }
};

class ScrollWidget final : public QScrollBar {
public:
    explicit ScrollWidget(QWidget* parent) : QScrollBar(parent) {}

protected:
    void paintEvent(QPaintEvent* e) override {
        QScrollBar::paintEvent(e);
        QStyleOptionSlider option;
        initStyleOption(&option);
        markFocus(*this, style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                 QStyle::SC_ScrollBarSlider, this));
    }
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

}  // namespace tosbel

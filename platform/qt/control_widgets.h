#pragma once

#include <QSize>
#include <QString>

#include <memory>
#include <optional>

#include "platform/form.h"
#include "platform/qt/control_look.h"

class QWidget;

namespace tosbel {

class PartHost;

// The widget of one control, made for its kind. It sends the user's actions
// that are the widget's own (a button's click, a box's edit) to the control,
// and shows the control's state. Everything one kind does differently lives in
// its class in control_widgets.cpp; what every kind shares (place, font,
// colours, enabled, visible) is synced in widget_sync.cpp.
class ControlView {
public:
    ControlView(Control& c, QWidget* w);
    virtual ~ControlView() = default;
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    Control& control() const { return control_; }
    QWidget* widget() const { return widget_; }

    // Drawn on the form itself, under the windowed controls: it takes neither
    // the focus nor, apart from its own events, the mouse from the form beneath.
    virtual bool graphical() const { return false; }
    virtual bool focusable() const { return false; }
    // Its click is the mouse let go over it; the other kinds' widgets say when
    // they were clicked.
    virtual bool clickedOnRelease() const { return graphical(); }
    // Takes typed text: Enter never goes into it.
    virtual bool typesText() const { return false; }

    // Writes the control's state into the widget without running any handler.
    void sync(TwipScale scale);

protected:
    // Puts the widget where the control is; a line reckons from its ends.
    virtual void place(TwipScale scale);
    // The state only this kind has: its text, value, picture.
    virtual void syncOwn() = 0;
    // Whether the control's back colour fills the whole widget; a box or a
    // button keeps its frame and shading and colours only its inside.
    virtual bool fillsBack() const { return true; }
    // Gives the widget the control's font made just small enough for `shown`
    // to show whole in `room` (see fittedFont()).
    void fitFont(const QString& shown, const QRect& room, bool wrap);

private:
    void syncStyle();

    Control& control_;
    QWidget* widget_;
    // What the widget was last given, so an unchanged model costs nothing.
    std::optional<Rgb> back_;
    Rgb fore_;
    FontSpec font_;
    bool styled_ = false;
    // What the font was last fitted to; recomputed only when one changes.
    QString fittedText_;
    QSize fittedRoom_;
    bool fitted_ = false;
};

// The view of `c` with its widget made in `parent`.
std::unique_ptr<ControlView> makeView(Control& c, QWidget* parent, PartHost& host);

}  // namespace tosbel

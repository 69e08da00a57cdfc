// Keys and the input method: every character typed, on a keyboard or through
// the input method, passes the form's key handlers first, which may swallow it
// or put another in its place.
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include <optional>

#include "platform/qt/control_widgets.h"
#include "platform/qt/form_window.h"
#include "platform/qt/window_chrome.h"

namespace tosbel {

namespace {

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
            return kKeyEscape;
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

}  // namespace

bool FormWindow::keyEvent(ControlView& v, QEvent* e) {
    switch (e->type()) {
        case QEvent::ShortcutOverride:
            // A text box's own editing keys (Ctrl+C, Ctrl+V …) give way to the
            // form's menu shortcuts, so the form's commands do the editing.
            if (chrome_->menuTakes(*static_cast<QKeyEvent*>(e))) {
                e->ignore();
                return true;
            }
            return false;
        case QEvent::KeyPress:
            return !forwarding_ && keyPressed(v, *static_cast<QKeyEvent*>(e));
        case QEvent::InputMethod:
            return !forwarding_ && inputMethod(v, *static_cast<QInputMethodEvent*>(e));
        default:
            return false;
    }
}

bool FormWindow::runKeyHandlers(Control* c, KeyPress& press) {
    if (!form_) return false;
    bool seen = false;
    run([this, c, &press, &seen] { seen = form_->keyPress(c, press); });
    return seen;
}

bool FormWindow::keyPressed(ControlView& v, const QKeyEvent& e) {
    const std::optional<char32_t> key = keyCharOf(e);
    if (!key) return false;
    const bool typesText = v.typesText();
    KeyPress press{*key};
    runKeyHandlers(&v.control(), press);
    // A handler that closed the window may have released the form and the
    // control with it: the key goes nowhere.
    if (!form_ || press.key == 0) return true;
    if (press.key == kKeyEscape && pressCancel()) return true;
    if (press.key != *key) {
        typeInstead(v.widget(), press.key);
        return true;
    }
    // Enter never types into a box (and never reaches a default button through it).
    return typesText && press.key == kKeyEnter;
}

bool FormWindow::pressCancel() {
    bool pressed = false;
    if (form_) run([this, &pressed] { pressed = form_->pressCancel(); });
    return pressed;
}

// A key no control took: Escape with nothing focused still cancels the window.
void FormWindow::keyPressEvent(QKeyEvent* e) {
    if (keyCharOf(*e) == kKeyEscape && pressCancel()) return;
    QMainWindow::keyPressEvent(e);
}

void FormWindow::typeInstead(QWidget* w, char32_t key) {
    int code = Qt::Key_unknown;
    if (key == kKeyEnter) code = Qt::Key_Return;
    if (key == kKeyBackspace) code = Qt::Key_Backspace;
    if (key == kKeyEscape) code = Qt::Key_Escape;
    QKeyEvent replacement(QEvent::KeyPress, code, Qt::NoModifier, QString::fromUcs4(&key, 1));
    forwarding_ = true;
    QCoreApplication::sendEvent(w, &replacement);
    forwarding_ = false;
}

// Characters the input method commits are key presses too, one by one, so the
// handlers that keep some characters out of a box see every character typed.
bool FormWindow::inputMethod(ControlView& v, const QInputMethodEvent& e) {
    if (e.commitString().isEmpty()) return false;
    QString kept;
    bool changed = false;
    for (const uint ch : e.commitString().toUcs4()) {
        KeyPress press{static_cast<char32_t>(ch)};
        if (!runKeyHandlers(&v.control(), press)) return false;
        if (!form_) return true;
        if (press.key != ch) changed = true;
        if (press.key != 0) kept += QString::fromUcs4(&press.key, 1);
    }
    if (!changed) return false;
    QInputMethodEvent replacement(e.preeditString(), e.attributes());
    replacement.setCommitString(kept, e.replacementStart(), e.replacementLength());
    forwarding_ = true;
    QCoreApplication::sendEvent(v.widget(), &replacement);
    forwarding_ = false;
    return true;
}

}  // namespace tosbel

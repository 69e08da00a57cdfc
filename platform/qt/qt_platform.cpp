// QtPlatform: construction, the event loop, keeping the windows in step with
// their forms, showing and closing forms, and help. Its dialogs, printing and
// what it asks of the desktop lie in qt_dialogs.cpp, qt_printing.cpp and
// qt_desktop.cpp.
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLibraryInfo>
#include <QLocale>
#include <QPrinter>
#include <QScreen>
#include <QSessionManager>
#include <QTranslator>
#include <QWindow>

#include <algorithm>

#include "platform/form.h"
#include "platform/qt/busy.h"
#include "platform/qt/classroom_view.h"
#include "platform/qt/control_look.h"
#include "platform/qt/font_substitutes.h"
#include "platform/qt/form_window.h"
#include "platform/qt/help_window.h"

namespace tosbel {

QtPlatform::QtPlatform(std::string programFolder)
    : programFolder_(std::move(programFolder)),
      translator_(std::make_unique<QTranslator>()),
      context_(std::make_unique<QObject>()) {
    // The program speaks Japanese whatever the system's language: dates,
    // sizes and times in Qt's own dialogs too, and their buttons and headers
    // ("キャンセル").
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    // The system's copy, or the one a Windows build carries.
    if (translator_->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        translator_->load(QStringLiteral("qtbase_ja"), QStringLiteral(":/translations")))
        QCoreApplication::installTranslator(translator_.get());
    substituteWindowsFonts();
    // The program ends when its last form closes, which this platform sees
    // itself; a help window left open does not keep it running.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(qApp, &QApplication::focusChanged, context_.get(),
                     [this](QWidget*, QWidget* now) { focusMovedTo(now); });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, context_.get(),
                     [this](QSessionManager& m) { endSession(m); });
}

QtPlatform::~QtPlatform() {
    context_.reset();
    ended_ = true;
    for (FormWindow* w : windows_) {
        w->detach();
        w->hide();
        delete w;
    }
    windows_.clear();
    for (const QPointer<FormWindow>& w : closedWindows_) delete w.data();
    closedWindows_.clear();
    delete help_.data();
    QCoreApplication::removeTranslator(translator_.get());
}

int QtPlatform::run() {
    if (ended_ || windows_.empty()) return 0;
    syncAll();
    running_ = true;
    const int code = QApplication::exec();
    running_ = false;
    return code;
}

// Keeping windows in step with their forms --------------------------------------

void QtPlatform::handle(const std::function<void()>& handler) {
    if (syncing_) return;
    {
        const Busy busy(busy_, [this] { releaseClosedWindows(); });
        handler();
    }
    syncAll();
    // A focused control the handler disabled or hid has passed Qt's focus on;
    // the form hears of the move as of one the user made.
    focusMovedTo(QApplication::focusWidget());
}

void QtPlatform::syncAll() {
    if (syncing_) return;
    syncing_ = true;
    for (FormWindow* w : windows_) w->sync();
    syncing_ = false;
}

// A closed window is freed only when no handler runs: the handler that closed
// it may still be on the stack, below a message box or a modal form.
void QtPlatform::releaseClosedWindows() {
    for (const QPointer<FormWindow>& w : closedWindows_)
        if (w) w->deleteLater();
    closedWindows_.clear();
    retiredForms_.clear();
    if (running_ && windows_.empty()) QCoreApplication::exit(0);
}

FormWindow* QtPlatform::windowOf(const Form& f) const {
    for (FormWindow* w : windows_)
        if (w->form() == &f) return w;
    return nullptr;
}

QWidget* QtPlatform::dialogParent() const {
    QWidget* active = QApplication::activeWindow();
    for (FormWindow* w : windows_)
        if (w == active) return w;
    return windows_.empty() ? nullptr : windows_.back();
}

void QtPlatform::windowActivated(FormWindow& w) {
    Form* f = w.form();
    if (!f || f == lastActive_) return;
    lastActive_ = f;
    handle([f] { f->Form_Activate(); });
}

void QtPlatform::focusMovedTo(QWidget* now) {
    if (!now || syncing_) return;
    for (FormWindow* w : windows_) {
        if (w != now->window()) continue;
        Form* f = w->form();
        Control* c = w->controlOf(now);
        if (f && c && c != f->focused()) handle([f, c] { f->focusMovedTo(c); });
        return;
    }
}

// Forms ------------------------------------------------------------------------------

void QtPlatform::showForm(Form& f, bool modal) {
    if (ended_) return;
    if (FormWindow* old = windowOf(f)) {
        // Shown again before its old window went: start afresh.
        windows_.erase(std::find(windows_.begin(), windows_.end(), old));
        old->detach();
        old->hide();
        closedWindows_.emplace_back(old);
    }
    auto* window = new FormWindow(*this, f);
    windows_.push_back(window);
    if (modal) window->setWindowModality(Qt::ApplicationModal);
    syncAll();
    window->showPlaced();
    window->raise();
    window->activateWindow();
    keepHelpReachable();
    lastActive_ = &f;
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    handle([&f] { f.Form_Activate(); });
    if (!modal || windowOf(f) != window || ended_) return;
    QEventLoop loop;
    window->setModalLoop(&loop);
    loop.exec();
    // The window may still be open when the whole program ended meanwhile.
    if (windowOf(f) == window) window->setModalLoop(nullptr);
}

void QtPlatform::formClosed(Form& f) {
    FormWindow* window = windowOf(f);
    if (!window) return;
    windows_.erase(std::find(windows_.begin(), windows_.end(), window));
    if (lastActive_ == &f) lastActive_ = nullptr;
    window->detach();
    window->hide();
    keepHelpReachable();
    if (QEventLoop* loop = window->modalLoop()) {
        window->setModalLoop(nullptr);
        loop->quit();
    }
    closedWindows_.emplace_back(window);
    if (busy_ == 0) releaseClosedWindows();
}

void QtPlatform::focusChanged(Form& f, Control& c) {
    FormWindow* w = windowOf(f);
    if (!w) return;
    // Qt cannot focus a widget that is still disabled or hidden, as the control
    // the handler has just switched on is until the window is brought up to date.
    syncAll();
    w->focusControl(c);
}

void QtPlatform::beginDrag(Control& c) {
    FormWindow* window = c.form ? windowOf(*c.form) : nullptr;
    QWidget* source = window ? window->widgetOf(c) : nullptr;
    if (!source) return;
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    drag_.run(c, *source);
}

void QtPlatform::releaseWhenIdle(std::unique_ptr<Form> form) {
    retiredForms_.push_back(std::move(form));
    if (busy_ == 0) retiredForms_.clear();
}

void QtPlatform::endProgram() {
    ended_ = true;
    std::vector<Form*> forms;
    for (FormWindow* w : windows_)
        if (w->form()) forms.push_back(w->form());
    // Discarding a form reports back through formClosed(), which ends its
    // modal loop; a form already gone from the list is skipped.
    for (Form* f : forms)
        if (windowOf(*f)) f->discard();
    while (!windows_.empty()) formClosed(*windows_.front()->form());
    if (help_) help_->hide();
    if (running_) QCoreApplication::exit(0);
}

bool QtPlatform::pictureShows(const std::string& path) {
    return !pictureFile(path).isNull();
}

// Help is a viewer beside the program, opened beside the window that asked.
void QtPlatform::showHelp(const HelpRequest& r) {
    if (!help_) help_ = new HelpWindow;
    keepHelpReachable();
    help_->open(r, dialogParent());
}

// Sizes in the screen's own pixels, as the teacher knows the screen.
std::vector<ScreenSize> QtPlatform::screenSizes() {
    std::vector<ScreenSize> sizes;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QSize pixels = s->geometry().size() * s->devicePixelRatio();
        sizes.push_back({pixels.width(), pixels.height()});
    }
    return sizes;
}

void QtPlatform::showClassroom(const ClassroomChart& chart) {
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    const QPointer<QWidget> asker = dialogParent();
    {
        ClassroomView view(chart);
        view.run();
    }
    if (!asker || ended_) return;
    asker->raise();
    asker->activateWindow();
}

void QtPlatform::keepHelpReachable() {
    if (!help_) return;
    QWindow* owner = nullptr;
    for (FormWindow* w : windows_)
        if (w->windowModality() != Qt::NonModal) owner = w->windowHandle();
    // Its native window is made now, so the owner holds before it first shows.
    help_->winId();
    if (QWindow* own = help_->windowHandle(); own->transientParent() != owner)
        own->setTransientParent(owner);
}

}  // namespace tosbel

#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QSessionManager>
#include <QStandardPaths>
#include <QTranslator>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <cstdlib>

#include "platform/form.h"
#include "platform/qt/font_substitutes.h"
#include "platform/qt/form_window.h"
#include "platform/qt/help_window.h"
#include "platform/qt/name_filters.h"
#include "platform/qt/print_page.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX  // keeps std::min and std::max usable
#endif
#include <windows.h>
#endif

namespace tosbel {

namespace {

QMessageBox::Icon iconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// Counts handlers and blocking calls; when the last one ends, the windows that
// closed meanwhile are freed.
class Busy {
public:
    Busy(int& count, std::function<void()> idle) : count_(count), idle_(std::move(idle)) {
        ++count_;
    }
    ~Busy() {
        if (--count_ == 0) idle_();
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    int& count_;
    std::function<void()> idle_;
};

}  // namespace

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

void QtPlatform::setOsVersion(std::optional<OsVersion> version) {
    osVersion_ = version;
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

void QtPlatform::endSession(QSessionManager& manager) {
    const bool mayAsk = manager.allowsInteraction();
    std::vector<Form*> forms;
    for (FormWindow* w : windows_)
        if (w->form()) forms.push_back(w->form());
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        Form* f = *it;
        if (!windowOf(*f)) continue;
        bool closed = true;
        handle([f, &closed] { closed = f->close(UnloadMode::SystemEnding); });
        if (!closed) {
            if (mayAsk) manager.cancel();
            return;
        }
    }
    if (mayAsk) manager.release();
}

// Blocking calls -----------------------------------------------------------------

MsgAnswer QtPlatform::messageBox(const Message& m) {
    syncAll();
    const bool okCancel = m.buttons == MsgButtons::OkCancel;
    // The texts break their lines with CR, as the system they were written for
    // reads it.
    QString body = text(m.text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    QMessageBox box(iconOf(m.icon), text(m.title), body,
                    okCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                    dialogParent());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(okCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    {
        const Busy busy(busy_, [this] { releaseClosedWindows(); });
        box.exec();
    }
    if (!okCancel) return MsgAnswer::Ok;
    return box.clickedButton() == box.button(QMessageBox::Ok) ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

namespace {

std::string runFileDialog(QWidget* parent, const FileDialogRequest& r, bool save) {
    QFileDialog dialog(parent, text(r.title), text(r.initialFolder));
    // Qt's own dialog behaves alike on every desktop and under a virtual screen.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = nameFilters(r.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.front());
    }
    if (!r.fileName.empty()) dialog.selectFile(text(r.fileName));
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    return QDir::toNativeSeparators(QFileInfo(chosen.front()).absoluteFilePath()).toStdString();
}

}  // namespace

std::string QtPlatform::openFileDialog(const FileDialogRequest& r) {
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    return runFileDialog(dialogParent(), r, false);
}

std::string QtPlatform::saveFileDialog(const FileDialogRequest& r) {
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    return runFileDialog(dialogParent(), r, true);
}

std::string QtPlatform::folderDialog(const std::string& title, const std::string& initialFolder) {
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    QFileDialog dialog(dialogParent(), text(title), text(initialFolder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    return QDir::toNativeSeparators(QFileInfo(chosen.front()).absoluteFilePath()).toStdString();
}

bool QtPlatform::moveToTrash(const std::string& path) {
#if !defined(_WIN32) && !defined(__APPLE__)
    // The desktop's trash lies in its data folder; where that folder does not
    // exist yet Qt puts the trash beside the file, inside the program folder.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data)) return false;
#endif
    return QFile::moveToTrash(text(path));
}

bool QtPlatform::openAddress(const std::string& address) {
    return QDesktopServices::openUrl(QUrl(text(address)));
}

bool QtPlatform::startProgram(const std::string& path) {
    return QProcess::startDetached(text(path), {});
}

std::optional<std::string> QtPlatform::environment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
}

QPrinter& QtPlatform::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

std::optional<PrinterChoice> QtPlatform::printerDialog() {
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    QPrintDialog dialog(&printer(), dialogParent());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return PrinterChoice{printer().copyCount(), pdfFileOf(printer())};
}

bool QtPlatform::printPages(const PrintedPage& page, int copies) {
    return printTo(printer(), page, copies);
}

bool QtPlatform::savePdf(const PrintedPage& page, const std::string& path) {
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setOutputFileName(QString::fromStdString(path));
    return printTo(pdf, page, 1);
}

std::optional<PrinterChoice> QtPlatform::previewPage(const PrintedPage& page) {
    syncAll();
    const Busy busy(busy_, [this] { releaseClosedWindows(); });
    QPrinter& paper = printer();
    paper.setFullPage(false);
    paper.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog dialog(&paper, dialogParent());
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    // The preview and a print from it draw the page as printPages() does.
    std::optional<PrinterChoice> failed;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&page, &failed](QPrinter* target) {
                         if (!paintRequested(*target, page))
                             failed = PrinterChoice{1, pdfFileOf(*target)};
                     });
    dialog.exec();
    paper.setPageOrientation(QPageLayout::Portrait);
    return failed;
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

// Help is a viewer beside the program, opened beside the window that asked.
void QtPlatform::showHelp(const HelpRequest& r) {
    if (!help_) help_ = new HelpWindow;
    keepHelpReachable();
    help_->open(r, dialogParent());
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

// Services ------------------------------------------------------------------------------

bool QtPlatform::pictureShows(const std::string& path) {
    return !pictureFile(path).isNull();
}

std::string QtPlatform::clipboardText() {
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtPlatform::setClipboardText(const std::string& t) {
    QGuiApplication::clipboard()->setText(text(t));
}

ScreenTwips QtPlatform::screen() {
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return {};
    const double dpi = s->logicalDotsPerInch();
    const QSize size = s->availableSize();
    return {static_cast<float>(size.width() * kTwipsPerInch / dpi),
            static_cast<float>(size.height() * kTwipsPerInch / dpi)};
}

std::vector<ScreenArea> QtPlatform::screens() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return {};
    // Windows are placed in the primary screen's twips, as the renderer draws them.
    const double perPixel = kTwipsPerInch / primary->logicalDotsPerInch();
    const auto twips = [perPixel](int px) { return static_cast<float>(px * perPixel); };
    std::vector<ScreenArea> areas;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect r = s->availableGeometry();
        areas.push_back({twips(r.x()), twips(r.y()), twips(r.width()), twips(r.height())});
    }
    return areas;
}

std::optional<OsVersion> QtPlatform::osVersion() {
#ifdef _WIN32
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    const BOOL ok = GetVersionExA(&info);
#if !defined(_MSC_VER)
#pragma GCC diagnostic pop
#endif
    if (!ok) return std::nullopt;
    return OsVersion{static_cast<int>(info.dwPlatformId), static_cast<int>(info.dwMajorVersion),
                     static_cast<int>(info.dwMinorVersion)};
#else
    return osVersion_;
#endif
}

bool QtPlatform::caseSensitivePaths() {
#ifdef _WIN32
    return false;
#else
    return true;
#endif
}

}  // namespace tosbel

#pragma once

#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/form.h"
#include "platform/platform.h"
#include "platform/qt/drag_session.h"
#include "platform/qt/qt_settings_store.h"
#ifdef _WIN32
#include "platform/win32_settings_store.h"
#endif
#include "platform/qt/window_host.h"
#include "platform/random_source.h"

class QObject;
class QPrinter;
class QSessionManager;
class QTranslator;
class QWidget;

namespace tosbel {

class FormWindow;
class HelpWindow;

// The real platform: every form becomes a window of Qt widgets. A QApplication
// must exist before it is made and must outlive it.
class QtPlatform final : public Platform, private WindowHost {
public:
    explicit QtPlatform(std::string programFolder);
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // Runs the event loop until endProgram() or until the last window has
    // closed; answers the exit code.
    int run();
    // What osVersion() answers where the system has no GetVersionExA.
    void setOsVersion(std::optional<OsVersion> version);

    MsgAnswer messageBox(const Message& m) override;
    std::string openFileDialog(const FileDialogRequest& r) override;
    std::string saveFileDialog(const FileDialogRequest& r) override;
    std::optional<PrinterChoice> printerDialog() override;
    std::string folderDialog(const std::string& title, const std::string& initialFolder) override;
    bool moveToTrash(const std::string& path) override;
    bool openAddress(const std::string& address) override;
    bool startProgram(const std::string& path) override;
    std::optional<std::string> environment(const std::string& name) override;
    bool printPages(const std::vector<PrintedPage>& pages, int copies) override;
    std::optional<PrinterChoice> previewPages(const std::vector<PrintedPage>& pages) override;
    bool savePdf(const std::vector<PrintedPage>& pages, const std::string& path) override;
    std::optional<std::string> pagePicture(const PrintedPage& page) override;

    void showForm(Form& f, bool modal) override;
    void formClosed(Form& f) override;
    void focusChanged(Form& f, Control& c) override;
    void beginDrag(Control& c) override;
    void endProgram() override;
    void releaseWhenIdle(std::unique_ptr<Form> form) override;

    void showHelp(const HelpRequest& r) override;
    std::vector<ScreenSize> screenSizes() override;
    void showClassroom(const ClassroomChart& chart) override;

    bool pictureShows(const std::string& path) override;
    std::string clipboardText() override;
    void setClipboardText(const std::string& text) override;

    SettingsStore& settings() override { return noticingSettings_; }
    Clock& clock() override { return clock_; }
    RandomSource& random() override { return random_; }
    ScreenTwips screen() override;
    std::vector<ScreenArea> screens() override;
    std::optional<OsVersion> osVersion() override;
    std::string programFolder() override { return programFolder_; }
    bool caseSensitivePaths() override;

private:
    // WindowHost. Handlers never run while the windows are written.
    void handle(const std::function<void()>& handler) override;
    DragSession& dragSession() override { return drag_; }
    void windowActivated(FormWindow& w) override;

    void syncAll();
    void releaseClosedWindows();
    FormWindow* windowOf(const Form& f) const;
    QWidget* dialogParent() const;
    // The help window stays usable while a modal form is open: it is made
    // that form's own, which the form's modality does not block.
    void keepHelpReachable();
    // The printer kept for the next print, made at first use.
    QPrinter& printer();
    void focusMovedTo(QWidget* now);
    void endSession(QSessionManager& manager);

    std::string programFolder_;
    std::optional<OsVersion> osVersion_;
    // Windows keeps a user's options in the registry, other systems in a file.
#ifdef _WIN32
    RegistrySettingsStore settings_;
#else
    QtSettingsStore settings_;
#endif
    NoticingSettingsStore noticingSettings_{settings_, *this};
    SystemClock clock_;
    ClockSeededRandom random_;

    std::unique_ptr<QTranslator> translator_;
    // Receiver of the application's signals; gone first, so no signal reaches a
    // platform half taken apart.
    std::unique_ptr<QObject> context_;
    std::vector<FormWindow*> windows_;                 // open, in the order shown
    std::vector<QPointer<FormWindow>> closedWindows_;  // hidden, freed when no handler runs
    std::vector<std::unique_ptr<Form>> retiredForms_;  // the program's, freed likewise
    QPointer<HelpWindow> help_;
    // The printer the teacher last chose in the printer dialog (a PDF file
    // when printing to a file), the one printing and the preview use.
    std::unique_ptr<QPrinter> printer_;
    const Form* lastActive_ = nullptr;
    DragSession drag_;
    int busy_ = 0;  // handlers and blocking calls running
    bool syncing_ = false;
    bool running_ = false;
    bool ended_ = false;
};

}  // namespace tosbel

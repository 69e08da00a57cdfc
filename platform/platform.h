#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/classroom_chart.h"
#include "platform/clock.h"
#include "platform/geometry.h"
#include "platform/printed_page.h"
#include "platform/random_source.h"
#include "platform/settings_store.h"

namespace tosbel {

class Form;
struct Control;

enum class MsgButtons { Ok, OkCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok, Cancel };

// A message box is data, so a test can name exactly what the teacher sees.
struct Message {
    std::string text;
    std::string title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    bool operator==(const Message&) const = default;
};

struct FileDialogRequest {
    std::string title;
    // "desc|pattern|desc|pattern…", the first pair chosen at the start.
    std::string filter;
    std::string initialFolder;
    std::string fileName;  // proposed name, empty for none
    bool operator==(const FileDialogRequest&) const = default;
};

struct PrinterChoice {
    PrinterChoice() = default;
    explicit PrinterChoice(int count, std::string pdf = {}) : copies(count), file(std::move(pdf)) {}
    int copies = 1;
    std::string file;  // the PDF file the printer writes, empty for paper
};

enum class HelpCommand { Contents, PartialKey, Context };
struct HelpRequest {
    HelpCommand command = HelpCommand::Contents;
    int context = 0;  // with HelpCommand::Context
    bool operator==(const HelpRequest&) const = default;
};

// What GetVersionExA reports; where there is no such call the value is
// injected, and none means the empty operating-system name.
struct OsVersion {
    int platformId = 0;
    int major = 0;
    int minor = 0;
};

// Everything the logic needs from the windowing system and the machine. The
// blocking calls return when the teacher has answered; the renderer brings every
// window up to date from its form before it blocks.
class Platform {
public:
    virtual ~Platform() = default;

    virtual MsgAnswer messageBox(const Message& m) = 0;
    // The chosen path, or the empty text when the teacher cancelled.
    virtual std::string openFileDialog(const FileDialogRequest& r) = 0;
    virtual std::string saveFileDialog(const FileDialogRequest& r) = 0;
    // The printer dialog; none when the teacher cancelled. The printer chosen
    // (or the file a "print to file" names) is the one printPages() uses.
    virtual std::optional<PrinterChoice> printerDialog() = 0;
    // A folder the teacher picks, proposing `initialFolder`; empty when
    // cancelled.
    virtual std::string folderDialog(const std::string& title,
                                     const std::string& initialFolder) = 0;
    // Prints the pages in order once per copy, each on a sheet of its own, in
    // landscape; false when the printer or the file failed, with nothing
    // claimed printed.
    virtual bool printPages(const std::vector<PrintedPage>& pages, int copies) = 0;
    // Shows the pages as they would print, in landscape, until the teacher
    // closes the preview (from which they may also be printed). When a print
    // from the preview failed: the printer it went to, for the notice.
    virtual std::optional<PrinterChoice> previewPages(const std::vector<PrintedPage>& pages) = 0;
    // Draws the pages as printPages() does into a PDF file of its own, with no
    // printer (A4, landscape); false when the file could not be written, and a
    // file of that name is then as it was.
    virtual bool savePdf(const std::vector<PrintedPage>& pages, const std::string& path) = 0;
    // The page's printed controls as a PNG picture on its background, cut
    // round them with a small margin, at twice the pixels of a 96 dpi screen;
    // neither heading nor status bar. None when it could not be drawn.
    virtual std::optional<std::string> pagePicture(const PrintedPage& page) = 0;

    // Builds the window from its form and shows it; a modal show returns after
    // the form has closed.
    virtual void showForm(Form& f, bool modal) = 0;
    // The form has run its unload and is gone from the screen.
    virtual void formClosed(Form& f) = 0;
    virtual void focusChanged(Form& f, Control& c) = 0;
    // A manual drag of the control; returns when it has been dropped or cancelled.
    virtual void beginDrag(Control& c) = 0;
    // Ends the program: every window closes at once, without questions.
    virtual void endProgram() = 0;
    // Frees a window the program is done with once no handler is running, so
    // the handler that closed or replaced it never runs on a freed form.
    virtual void releaseWhenIdle(std::unique_ptr<Form> form) = 0;

    virtual void showHelp(const HelpRequest& r) = 0;

    // Every screen of the desktop in the system's order, the primary first.
    virtual std::vector<ScreenSize> screenSizes() = 0;
    // Fills the chosen screen with the chart, names as large as its seats
    // allow, until the teacher presses Escape or clicks, or the screen goes;
    // the window that asked then has the focus again.
    virtual void showClassroom(const ClassroomChart& chart) = 0;

    // Moves a file to the desktop's trash, from which the teacher can get it
    // back; false where there is no trash or the move failed (the file is
    // then where it was).
    virtual bool moveToTrash(const std::string& path) = 0;
    // Opens an address ("mailto:…", "https://…") with the desktop's own mail
    // program or browser; false when none took it.
    virtual bool openAddress(const std::string& address) = 0;
    // Starts a program by its path, with no arguments and no shell, and does
    // not wait for it; false when it could not be started.
    virtual bool startProgram(const std::string& path) = 0;
    // An environment variable of the program; none when it is not set.
    virtual std::optional<std::string> environment(const std::string& name) = 0;

    // Whether the file is a picture the windows can show: an ordinary file
    // whose header names a size the program takes, and that decodes whole.
    virtual bool pictureShows(const std::string& path) = 0;

    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(const std::string& text) = 0;

    virtual SettingsStore& settings() = 0;
    virtual Clock& clock() = 0;
    virtual RandomSource& random() = 0;
    virtual ScreenTwips screen() = 0;
    // Every screen of the desktop; by default the one that screen() measures.
    virtual std::vector<ScreenArea> screens() { return {{0, 0, screen().width, screen().height}}; }
    virtual std::optional<OsVersion> osVersion() = 0;
    // The folder the program's files live in (see the program-folder rule).
    virtual std::string programFolder() = 0;
    // Whether file names differ by letter case on this system.
    virtual bool caseSensitivePaths() = 0;
};

}  // namespace tosbel

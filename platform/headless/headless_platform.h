#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/form.h"
#include "platform/headless/fixed_clock.h"
#include "platform/headless/memory_settings_store.h"
#include "platform/headless/scripted_random.h"
#include "platform/picture_header.h"
#include "platform/platform.h"

namespace tosbel {

// A message, dialog or window the test did not script; its text names it.
class UnexpectedDialog : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The platform the tests drive. Every blocking call takes the next scripted
// answer and is recorded; a call with no answer waiting, or a message whose
// text is not the one scripted next, throws UnexpectedDialog naming the text.
class HeadlessPlatform final : public Platform {
public:
    HeadlessPlatform() : random_({0.5f}) {}
    HeadlessPlatform(const HeadlessPlatform&) = delete;
    HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

    // The script, consumed in order. A message must be exactly the one
    // expected: text, title, buttons and icon.
    void answerMessage(Message expected, MsgAnswer answer = MsgAnswer::Ok);
    void answerFileDialog(std::string path);  // "" is a cancelled dialog
    void answerPrinter(std::optional<PrinterChoice> choice);
    void answerFolderDialog(std::string path);  // "" is a cancelled dialog
    bool scriptDone() const { return script_.empty(); }
    // Drops the answers still waiting, for a test that offered one a command
    // might not ask for.
    void clearScript() { script_.clear(); }
    // The answers still waiting, one line each, for a test that left some.
    std::string unusedScript() const;
    // Runs while a message is up, before its answer is taken: the moment a
    // teacher has to put things right (a disk inserted) before answering.
    std::function<void(const Message&)> beforeAnswer;
    // Runs a modal window while the caller waits; it should close the window.
    std::function<void(Form&)> modalDriver;

    // One printed sheet, a page of a preview or a picture, as the paper shows
    // it: what is drawn in declaration order, each control with its text,
    // colours and place on paper, then the status bar's panels
    // ("StatusBar1_1" …) when it is printed.
    struct SheetItem {
        std::string name;
        std::string text;
        Rgb foreColor;
        std::optional<Rgb> backColor;
        TwipRect place;
    };
    struct Sheet {
        std::string form;
        Rgb background;
        bool preview = false;
        std::string pdfFile;  // the file a save as PDF wrote, empty on paper
        std::vector<SheetItem> items;
        PageFit fit = PageFit::TrueSize;
        std::string heading;
        int clientHeight = 0;  // the client area's height on the page
        bool picture = false;  // drawn by pagePicture()
        const SheetItem* find(std::string_view name) const;
    };

    // The record.
    std::vector<Sheet> sheets;
    // The pages the last print, preview, PDF or picture was asked for, one
    // copy's worth, for a test that draws them; they show the form that asked.
    std::vector<PrintedPage> lastPages;
    bool printerFails = false;  // a printer error or a file that cannot be written
    bool pictureFails = false;  // no picture can be drawn (no memory for it)
    // What pagePicture() answers: a PNG file's signature and a word.
    std::string pictureBytes = std::string("\x89PNG\r\n\x1a\n", 8) + "headless";
    std::vector<Message> messages;
    std::vector<FileDialogRequest> openDialogs;
    std::vector<FileDialogRequest> saveDialogs;
    std::vector<std::pair<std::string, std::string>> folderDialogs;  // title, initial folder
    // The desktop: a trash that takes files when `hasTrash`, the addresses
    // opened, the programs started (one that does not exist fails).
    bool hasTrash = true;
    std::vector<std::string> trashed;
    bool addressesOpen = true;  // false: no mail program or browser takes an address
    std::vector<std::string> addresses;
    std::vector<std::string> started;
    std::map<std::string, std::string> variables;  // the environment
    std::vector<HelpRequest> helps;
    // Every chart shown full screen, the last one last.
    std::vector<ClassroomChart> classrooms;
    std::vector<std::string> shown;  // form names, in the order they were shown
    std::vector<Form*> openForms;
    bool ended = false;
    Control* dragging = nullptr;  // the control whose drag began last

    // The machine.
    MemorySettingsStore store;
    FixedClock fixedClock;
    ScreenTwips screenSize{15360, 11520};               // 1024 × 768 at 96 dpi
    std::vector<ScreenSize> screenPixels{{1024, 768}};  // every screen, the primary first
    std::optional<OsVersion> os;
    std::string folder = ".";
    bool caseSensitive = true;
    std::string clipboard;
    ScriptedRandom& scriptedRandom() { return random_; }

    // Fires a form's timer by its name, as the clock would.
    static void fireTimer(Form& f, std::string_view timerName);

    MsgAnswer messageBox(const Message& m) override;
    std::string openFileDialog(const FileDialogRequest& r) override;
    std::string saveFileDialog(const FileDialogRequest& r) override;
    std::optional<PrinterChoice> printerDialog() override;
    std::string folderDialog(const std::string& title, const std::string& initialFolder) override;
    bool moveToTrash(const std::string& path) override;
    bool openAddress(const std::string& address) override {
        addresses.push_back(address);
        return addressesOpen;
    }
    // The header alone: nothing here decodes pictures.
    bool pictureShows(const std::string& path) override { return pictureFileAllowed(path); }
    bool startProgram(const std::string& path) override;
    std::optional<std::string> environment(const std::string& name) override;
    bool printPages(const std::vector<PrintedPage>& pages, int copies) override;
    std::optional<PrinterChoice> previewPages(const std::vector<PrintedPage>& pages) override;
    bool savePdf(const std::vector<PrintedPage>& pages, const std::string& path) override;
    std::optional<std::string> pagePicture(const PrintedPage& page) override;
    void showForm(Form& f, bool modal) override;
    void formClosed(Form& f) override;
    void focusChanged(Form&, Control&) override {}
    void beginDrag(Control& c) override { dragging = &c; }
    void endProgram() override;
    void releaseWhenIdle(std::unique_ptr<Form> form) override;
    // A driver's action runs between these: windows let go during it are
    // freed when the outermost action has returned.
    void actionBegins() { ++acting_; }
    void actionEnds() {
        if (--acting_ == 0) retired_.clear();
    }
    void showHelp(const HelpRequest& r) override { helps.push_back(r); }
    std::vector<ScreenSize> screenSizes() override { return screenPixels; }
    // Refuses a screen the desktop does not have.
    void showClassroom(const ClassroomChart& chart) override;
    std::string clipboardText() override { return clipboard; }
    void setClipboardText(const std::string& text) override { clipboard = text; }
    SettingsStore& settings() override { return noticingStore_; }
    Clock& clock() override { return fixedClock; }
    RandomSource& random() override { return random_; }
    ScreenTwips screen() override { return screenSize; }
    std::optional<OsVersion> osVersion() override { return os; }
    std::string programFolder() override { return folder; }
    bool caseSensitivePaths() override { return caseSensitive; }

private:
    enum class Kind { Message, File, Printer, Folder };
    struct Answer {
        Kind kind;
        std::string text;  // the chosen path
        Message message;   // the expected message
        MsgAnswer answer = MsgAnswer::Ok;
        std::optional<PrinterChoice> printer;
    };
    Answer take(Kind kind, const std::string& what);

    std::deque<Answer> script_;
    NoticingSettingsStore noticingStore_{store, *this};
    int acting_ = 0;
    // Last, so the windows go before the rest of the platform they report to.
    std::vector<std::unique_ptr<Form>> retired_;
    ScriptedRandom random_;
};

}  // namespace tosbel

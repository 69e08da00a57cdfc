#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/app_state.h"
#include "platform/platform.h"
#include "roster/class_list.h"

namespace tosbel {

class ConditionsWindow;
class MainWindow;
class ResultWindow;
class RosterEditor;

// The windows the main window opens, each added by the work that builds it. A
// command whose window is not there yet stays disabled instead of doing
// nothing.
struct WindowOpeners {
    std::function<void(bool modal)> rosterEditor;  // from Members
    // A new roster filled from a class list.
    std::function<void(std::vector<ListedName>)> listedRoster;
    std::function<void()> conditions;
    std::function<void()> result;  // from InitialSeats
    std::function<void()> shuffle;
    std::function<void()> version;
    std::function<void()> fileCopy;
    std::function<void()> fileRename;
    std::function<void()> backup;
    std::function<void()> fileDelete;
    std::function<void()> background;
    std::function<void()> countdownSettings;
    std::function<void()> editingSoftware;
    std::function<void()> runEditingSoftware;
};

// The program from start to end: it owns the shared state and the main window,
// and runs the start-up steps in their fixed order.
class Shell {
public:
    explicit Shell(Platform& platform);
    ~Shell();

    // Makes the program folder the working folder, reads the settings (writing
    // the defaults), shows the logo when it is on, and shows the main window.
    void startUp();

    // Creates the main window afresh from the state and shows it; a main window
    // closed earlier is released here.
    void showMainWindow();
    MainWindow* mainWindow() { return main_.get(); }

    AppState& state() { return state_; }
    Platform& platform() { return platform_; }
    WindowOpeners& windows() { return windows_; }
    // "Windows XP" and the like; empty where the system reports no version.
    const std::string& osName() const { return osName_; }

    // The roster editor not opened modally, while it is there.
    RosterEditor* rosterEditor() { return editor_.get(); }
    // The conditions window, once it has been opened.
    ConditionsWindow* conditionsWindow() { return conditions_.get(); }
    // The result window, once it has been opened.
    ResultWindow* resultWindow() { return result_.get(); }
    // Before another roster takes the shared state, an editor still open goes
    // the way its Close command goes (asking to save changed names); false
    // when the teacher kept it open.
    bool closeRosterEditor();
    // The program is about to end: an open roster editor with names its Close
    // would ask about asks the same question; false when a save the teacher
    // asked for did not happen, and the program goes on.
    bool mayEnd();

private:
    void openRosterEditor(bool modal, std::vector<ListedName> listed = {});
    void openConditions();
    // Shows the result window filled from InitialSeats.
    void openResult();
    // Seats the class, after the countdown when it is on, and hands the
    // chart to the result window in place of the main window.
    void shuffle();
    // A completed roster save hands over to the conditions window.
    void rosterSaved();

    Platform& platform_;
    AppState state_;
    WindowOpeners windows_;
    std::string osName_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<RosterEditor> editor_;
    std::unique_ptr<ConditionsWindow> conditions_;
    std::unique_ptr<ResultWindow> result_;
    bool ending_ = false;
};

}  // namespace tosbel

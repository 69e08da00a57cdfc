#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/process.h"
#include "tests/e2e/x_session.h"

namespace tosbel::e2e {

// The program as a teacher starts it on a new machine: a copy of the
// executable in a folder of its own (the program folder), an empty settings
// store and a home of its own, on a virtual X screen. DISPLAY names that screen
// for this process too, so xdotool reaches the program's windows.
class ProgramSession {
public:
    explicit ProgramSession(const std::filesystem::path& root);

    // The virtual screen's size, set before start().
    std::string screenSize = "1280x1024";

    // Empty when all went well, otherwise what failed. With a window manager
    // (openbox) the windows get frames, as on a teacher's desktop.
    std::string start(bool withWindowManager = false);
    // The program once more, on the same screen and with the same files, after
    // it has ended.
    std::string restart();
    bool running() { return program_ && program_->running(); }
    Child& program() { return *program_; }
    pid_t pid() const { return program_->pid(); }

    const std::filesystem::path& programFolder() const { return programFolder_; }
    const std::filesystem::path& config() const { return config_; }
    // The program's state and output, and the screen's, for a failure message.
    std::string output();

    // The visible window of the program with this title, waited for.
    std::string waitForWindow(const std::string& title, std::chrono::milliseconds timeout);

private:
    std::filesystem::path root_, home_, config_, runtime_, programFolder_;
    std::string launch();

    std::unique_ptr<VirtualScreen> screen_;
    std::unique_ptr<Child> windowManager_;
    std::unique_ptr<Child> program_;
};

// The settings file as the program wrote it: section, key, value; a missing
// section or key reads as "(no section)" or "(no key)".
using Ini = std::map<std::string, std::map<std::string, std::string>>;
Ini readIni(const std::filesystem::path& p);
std::string valueOf(const Ini& ini, const std::string& section, const std::string& key);

std::string findWindowNamed(pid_t pid, const std::string& name);
// Waits for the notice with this title and presses Enter on it.
bool answer(ProgramSession& session, const std::string& title);
// A roster of "Pupil1" … "PupilN" in the program folder, opened from the
// main window with Ctrl+O and a typed path: the roster editor that shows,
// focused, or empty when something did not.
std::string openClassWithKeyboard(ProgramSession& session, const std::string& mainWindow,
                                  int pupils);
// The main window once it shows, and the empty roster editor that Ctrl+N
// opens from it, focused; an empty name for a window that did not appear.
struct NewRoster {
    std::string mainWindow, editor;
};
NewRoster openNewRoster(ProgramSession& session);
// Saves the roster editor's attendance with Ctrl+S, answers its two
// questions, and returns the conditions window that follows, focused, or
// empty when something did not.
std::string saveAttendance(ProgramSession& session);

// The mouse, as xdotool moves it. A window's controls sit at their twips (15
// to a pixel on this screen) below its menu bar.
struct Point {
    int x, y;
};
Point onWindow(const WindowGeometry& w, int twipsX, int twipsY);
// A point in a window without a menu bar, such as the small settings windows.
Point inDialog(const WindowGeometry& w, int twipsX, int twipsY);
bool mouse(const std::vector<std::string>& args);
bool moveTo(Point p);
bool clickAt(Point p);
// A press, a move in steps and a release, as a hand drags.
bool dragWithMouse(Point from, Point to);
// Where the window manager put the outer corner of this window's frame.
Point frameCorner(const std::string& window);
// What the close box sends: the window manager's polite request to close.
void sendCloseRequest(const std::string& window);

}  // namespace tosbel::e2e

#include "tests/e2e/program_session.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace tosbel::e2e {

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

ProgramSession::ProgramSession(const fs::path& root)
    : root_(root),
      home_(root / "home"),
      config_(root / "config"),
      runtime_(root / "runtime"),
      programFolder_(root / "program") {}

std::string ProgramSession::start(bool withWindowManager) {
    for (const fs::path& d : {home_, config_, runtime_, programFolder_}) fs::create_directories(d);
    fs::permissions(runtime_, fs::perms::owner_all, fs::perm_options::replace);
    // A copy of the executable, so its folder (the program folder) is ours.
    const fs::path program = programFolder_ / "tosbel";
    fs::copy_file(TOSBEL_PROGRAM, program, fs::copy_options::overwrite_existing);

    screen_ = std::make_unique<VirtualScreen>((root_ / "xvfb.log").string(), screenSize);
    // The set-up installs Xvfb: a screen that does not start is a failure, not a skip.
    if (!screen_->ok()) return "Xvfb could not be started: " + readAll(root_ / "xvfb.log");
    setenv("DISPLAY", screen_->display().c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    if (run({"xdotool", "version"}).exitCode != 0) return "xdotool is missing";
    if (withWindowManager) {
        windowManager_ = std::make_unique<Child>(
            std::vector<std::string>{"openbox", "--sm-disable"},
            environmentWith({{"DISPLAY", screen_->display()},
                             {"HOME", home_.string()},
                             {"XDG_CONFIG_HOME", config_.string()},
                             {"XDG_CACHE_HOME", (home_ / "cache").string()}}),
            (root_ / "openbox.log").string());
        // Ready once it has claimed the screen, as the desktop standard says.
        if (!pollUntil(std::chrono::seconds(20), [] {
                return run({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).text.find("window id") !=
                       std::string::npos;
            }))
            return "openbox did not start: " + readAll(root_ / "openbox.log");
    }
    return launch();
}

std::string ProgramSession::restart() {
    if (running()) return "the program is still running";
    return launch();
}

std::string ProgramSession::launch() {
    const fs::path program = programFolder_ / "tosbel";
    program_ = std::make_unique<Child>(
        std::vector<std::string>{program.string()},
        environmentWith({{"DISPLAY", screen_->display()},
                         {"HOME", home_.string()},
                         {"XDG_CONFIG_HOME", config_.string()},
                         {"XDG_DATA_HOME", (home_ / "data").string()},
                         {"XDG_CACHE_HOME", (home_ / "cache").string()},
                         {"XDG_RUNTIME_DIR", runtime_.string()},
                         {"QT_QPA_PLATFORM", ""},
                         {"WAYLAND_DISPLAY", ""},
                         {"TOSBEL_EXIT_AFTER_FIRST_PAINT", ""},
                         {"LSAN_OPTIONS", "suppressions=" LSAN_SUPPRESSIONS}}),
        (root_ / "program.log").string());
    return program_->started() ? "" : "the program did not start";
}

std::string ProgramSession::output() {
    const auto code =
        program_ ? program_->waitForExit(std::chrono::milliseconds(0)) : std::optional<int>();
    return (code ? "program ended with " + std::to_string(*code) : "program running") +
           "; its output:\n" + readAll(root_ / "program.log") + "\nXvfb output:\n" +
           readAll(root_ / "xvfb.log");
}

std::string ProgramSession::waitForWindow(const std::string& title,
                                          std::chrono::milliseconds timeout) {
    std::string found;
    pollUntil(timeout, [&] {
        found = findWindowNamed(pid(), title);
        return !found.empty() || !running();
    });
    return found;
}

Ini readIni(const fs::path& p) {
    Ini ini;
    std::istringstream in(readAll(p));
    std::string section;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            section = line.substr(1, line.size() - 2);
        else if (const auto eq = line.find('='); eq != std::string::npos)
            ini[section][line.substr(0, eq)] = line.substr(eq + 1);
    }
    return ini;
}

std::string valueOf(const Ini& ini, const std::string& section, const std::string& key) {
    const auto s = ini.find(section);
    if (s == ini.end()) return "(no section)";
    const auto k = s->second.find(key);
    return k == s->second.end() ? "(no key)" : k->second;
}

std::string findWindowNamed(pid_t pid, const std::string& name) {
    for (const std::string& w : visibleWindowsOf(pid))
        if (windowName(w) == name) return w;
    return {};
}

bool answer(ProgramSession& session, const std::string& title) {
    const std::string notice = session.waitForWindow(title, std::chrono::seconds(20));
    return !notice.empty() && focusWindow(notice) && pressKey("Return");
}

NewRoster openNewRoster(ProgramSession& session) {
    NewRoster opened;
    opened.mainWindow = session.waitForWindow("Tosbel君 for Windows", std::chrono::seconds(60));
    if (opened.mainWindow.empty() || !focusWindow(opened.mainWindow) || !pressKey("ctrl+n"))
        return opened;
    const std::string editor = session.waitForWindow("登録・修正", std::chrono::seconds(20));
    if (!editor.empty() && focusWindow(editor)) opened.editor = editor;
    return opened;
}

std::string openClassWithKeyboard(ProgramSession& session, const std::string& mainWindow,
                                  int pupils) {
    const fs::path roster = session.programFolder() / ("class" + std::to_string(pupils) + ".MEM");
    {
        std::ofstream out(roster, std::ios::binary);
        for (int i = 1; i <= pupils; ++i) out << "Pupil" << i << "\r\n";
    }
    if (!focusWindow(mainWindow) || !pressKey("ctrl+o")) return {};
    const std::string dialog = session.waitForWindow("名簿を開く", std::chrono::seconds(20));
    if (dialog.empty() || !focusWindow(dialog)) return {};
    if (run({"xdotool", "type", "--delay", "30", roster.string()}).exitCode != 0) return {};
    if (!pressKey("Return")) return {};
    const std::string editor = session.waitForWindow("登録・修正", std::chrono::seconds(20));
    return !editor.empty() && focusWindow(editor) ? editor : std::string();
}

std::string saveAttendance(ProgramSession& session) {
    if (!pressKey("ctrl+s") || !answer(session, "修正確認") || !answer(session, "出欠人数確認"))
        return {};
    const std::string conditions = session.waitForWindow("Tosbel条件", std::chrono::seconds(20));
    return !conditions.empty() && focusWindow(conditions) ? conditions : std::string();
}

Point frameCorner(const std::string& window) {
    // The frame is the window's parent: its corner is the window's place on
    // the screen less the window's place inside the frame.
    int absoluteX = 0, absoluteY = 0, relativeX = 0, relativeY = 0;
    for (const std::string& line : splitLines(run({"xwininfo", "-id", window}).text)) {
        const auto value = [&line](const char* label, int& v) {
            if (const auto at = line.find(label); at != std::string::npos)
                v = std::stoi(line.substr(at + std::strlen(label)));
        };
        value("Absolute upper-left X:", absoluteX);
        value("Absolute upper-left Y:", absoluteY);
        value("Relative upper-left X:", relativeX);
        value("Relative upper-left Y:", relativeY);
    }
    return {absoluteX - relativeX, absoluteY - relativeY};
}

Point onWindow(const WindowGeometry& w, int twipsX, int twipsY) {
    constexpr int kMenuBarPixels = 22;
    return {w.x + twipsX / 15, w.y + kMenuBarPixels + twipsY / 15};
}

Point inDialog(const WindowGeometry& w, int twipsX, int twipsY) {
    return {w.x + twipsX / 15, w.y + twipsY / 15};
}

bool clickAt(Point p) {
    return moveTo(p) && mouse({"click", "1"});
}

bool mouse(const std::vector<std::string>& args) {
    std::vector<std::string> command{"xdotool"};
    command.insert(command.end(), args.begin(), args.end());
    return run(command).exitCode == 0;
}

bool moveTo(Point p) {
    return mouse({"mousemove", std::to_string(p.x), std::to_string(p.y)});
}

bool dragWithMouse(Point from, Point to) {
    if (!moveTo(from) || !mouse({"mousedown", "1"})) return false;
    for (int step = 1; step <= 8; ++step)
        if (!moveTo({from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8}))
            return false;
    // The drag ends in its own event loop; the next action waits for it.
    return mouse({"mouseup", "1"}) && mouse({"sleep", "0.5"});
}

void sendCloseRequest(const std::string& window) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
        xcb_disconnect(c);
        return;
    }
    const auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        xcb_atom_t a = XCB_ATOM_NONE;
        if (reply != nullptr) a = reply->atom;
        std::free(reply);
        return a;
    };
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = static_cast<xcb_window_t>(std::stoul(window));
    ev.type = atom("WM_PROTOCOLS");
    ev.data.data32[0] = atom("WM_DELETE_WINDOW");
    ev.data.data32[1] = XCB_CURRENT_TIME;
    // Checked, so the server has taken the event before the connection goes:
    // a request sent just before a disconnect was seen to get lost.
    std::free(xcb_request_check(c, xcb_send_event_checked(c, 0, ev.window, XCB_EVENT_MASK_NO_EVENT,
                                                          reinterpret_cast<const char*>(&ev))));
    xcb_disconnect(c);
}

}  // namespace tosbel::e2e

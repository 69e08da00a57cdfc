#include "tests/e2e/x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cctype>

namespace tosbel::e2e {

VirtualScreen::VirtualScreen(const std::string& logFile, const std::string& size) {
    int fds[2];
    if (pipe(fds) != 0) return;
    // Only the writing end may reach the server; it writes the display number there.
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    // Without -noreset the server starts over whenever its last client leaves,
    // refusing connections meanwhile: the readiness probe below would make the
    // program's own connection fail now and then.
    server_ = std::make_unique<Child>(
        std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                                 size + "x24", "-nolisten", "tcp", "-noreset"},
        environmentWith({}), logFile);
    close(fds[1]);

    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (server_->started() && poll(&p, 1, 30000) > 0) {
        char c = 0;
        if (read(fds[0], &c, 1) != 1 || c == '\n') break;
        if (std::isdigit(static_cast<unsigned char>(c))) number.push_back(c);
    }
    close(fds[0]);
    if (number.empty()) return;
    // Ready when a client gets in, not merely when the number is out.
    const std::string display = ":" + number;
    if (pollUntil(10s, [&] {
            xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
            const bool in = xcb_connection_has_error(c) == 0;
            xcb_disconnect(c);
            return in;
        }))
        display_ = display;
}

std::vector<std::string> visibleWindowsOf(pid_t pid) {
    return splitLines(
        run({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid)}).text);
}

std::string windowName(const std::string& window) {
    std::string name = run({"xdotool", "getwindowname", window}).text;
    if (!name.empty() && name.back() == '\n') name.pop_back();
    return name;
}

WindowGeometry windowGeometry(const std::string& window) {
    WindowGeometry g;
    for (const std::string& line :
         splitLines(run({"xdotool", "getwindowgeometry", "--shell", window}).text)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        const int value = std::stoi(line.substr(eq + 1));
        if (key == "X") g.x = value;
        if (key == "Y") g.y = value;
        if (key == "WIDTH") g.width = value;
        if (key == "HEIGHT") g.height = value;
    }
    return g;
}

bool focusWindow(const std::string& window) {
    // windowactivate needs a window manager; there is none on the virtual screen.
    return run({"xdotool", "windowfocus", "--sync", window}).exitCode == 0;
}

bool pressKey(const std::string& keys) {
    return run({"xdotool", "key", keys}).exitCode == 0;
}

}  // namespace tosbel::e2e

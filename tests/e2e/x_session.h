#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/process.h"

namespace tosbel::e2e {

// A virtual X screen of 1280 × 1024 (or `size`, "3840x2160") with no window
// manager. The server picks a free display number itself, so tests running
// side by side never collide.
class VirtualScreen {
public:
    explicit VirtualScreen(const std::string& logFile, const std::string& size = "1280x1024");
    bool ok() const { return !display_.empty(); }
    const std::string& display() const { return display_; }  // ":N"

private:
    std::unique_ptr<Child> server_;
    std::string display_;
};

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

// Windows are found and driven through xdotool, as a person's clicks and keys
// would reach them; DISPLAY must name the screen.
std::vector<std::string> visibleWindowsOf(pid_t pid);
std::string windowName(const std::string& window);
WindowGeometry windowGeometry(const std::string& window);
bool focusWindow(const std::string& window);
bool pressKey(const std::string& keys);

}  // namespace tosbel::e2e

#include "shell/roster_history.h"

#include <algorithm>

namespace tosbel {

namespace {

std::string upperCased(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace

void recordOpenedRoster(RosterHistory& history, const std::string& path, bool caseSensitive) {
    std::string wanted = path;
    if (!caseSensitive) {
        for (std::string& entry : history) entry = upperCased(entry);
        wanted = upperCased(path);
    }
    // The last entry naming the file counts; without one, the oldest drops out.
    std::size_t gap = history.size() - 1;
    for (std::size_t i = 0; i < history.size(); ++i)
        if (history[i] == wanted) gap = i;
    std::move_backward(history.begin(), history.begin() + static_cast<std::ptrdiff_t>(gap),
                       history.begin() + static_cast<std::ptrdiff_t>(gap) + 1);
    history[0] = path;
}

void moveRecentToFront(RosterHistory& history, int entry) {
    if (entry < 1 || entry > static_cast<int>(history.size())) return;
    std::string chosen = history[static_cast<std::size_t>(entry - 1)];
    std::move_backward(history.begin(), history.begin() + (entry - 1), history.begin() + entry);
    history[0] = std::move(chosen);
}

}  // namespace tosbel

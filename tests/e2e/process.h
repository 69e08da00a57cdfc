#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace tosbel::e2e {

using namespace std::chrono_literals;

// The environment of this process with changes: a value per name, an empty
// value removing the name.
std::vector<std::string> environmentWith(
    const std::vector<std::pair<std::string, std::string>>& changes);

// A child process that is killed and reaped when the object goes, so a failed
// assertion never leaves an X server or the program running.
class Child {
public:
    // Standard output and error go to `logFile`.
    Child(const std::vector<std::string>& argv, const std::vector<std::string>& env,
          const std::string& logFile);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    // The exit code once the process has ended within the time; a death by a
    // signal reads as 128 + the signal number.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    bool running();

private:
    pid_t pid_ = -1;
    std::optional<int> exitCode_;
};

struct Output {
    int exitCode = -1;
    std::string text;
};

// Runs a short command to its end and answers what it printed.
Output run(const std::vector<std::string>& argv);

// Asks `condition` again every 100 ms until it holds or the time is up.
template <class F>
bool pollUntil(std::chrono::milliseconds timeout, F condition) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

std::vector<std::string> splitLines(const std::string& text);

}  // namespace tosbel::e2e

#include "tests/e2e/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <sstream>

extern char** environ;

namespace tosbel::e2e {

namespace {

std::vector<char*> pointers(const std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (const std::string& s : strings) p.push_back(const_cast<char*>(s.c_str()));
    p.push_back(nullptr);
    return p;
}

int decode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

std::vector<std::string> environmentWith(
    const std::vector<std::pair<std::string, std::string>>& changes) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        if (eq != std::string::npos) vars[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [name, value] : changes) {
        if (value.empty())
            vars.erase(name);
        else
            vars[name] = value;
    }
    std::vector<std::string> env;
    for (const auto& [name, value] : vars) env.push_back(name + "=" + value);
    return env;
}

Child::Child(const std::vector<std::string>& argv, const std::vector<std::string>& env,
             const std::string& logFile) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logFile.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    auto args = pointers(argv);
    auto vars = pointers(env);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), vars.data()) == 0) pid_ = pid;
    posix_spawn_file_actions_destroy(&actions);
}

Child::~Child() {
    if (pid_ <= 0 || exitCode_) return;
    // Asked first, so an X server removes its lock file and socket.
    kill(pid_, SIGTERM);
    if (waitForExit(5s)) return;
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
}

std::optional<int> Child::waitForExit(std::chrono::milliseconds timeout) {
    if (pid_ <= 0) return std::nullopt;
    pollUntil(timeout, [this] {
        if (exitCode_) return true;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) exitCode_ = decode(status);
        return exitCode_.has_value();
    });
    return exitCode_;
}

bool Child::running() {
    return started() && !waitForExit(0ms).has_value();
}

Output run(const std::vector<std::string>& argv) {
    Output out;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return out;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    auto args = pointers(argv);
    pid_t pid = -1;
    const bool spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    char buf[4096];
    ssize_t n = 0;
    while (spawned && (n = read(fds[0], buf, sizeof buf)) > 0)
        out.text.append(buf, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    if (spawned && waitpid(pid, &status, 0) == pid) out.exitCode = decode(status);
    return out;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace tosbel::e2e

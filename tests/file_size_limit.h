#pragma once

#include <csignal>
#include <cstddef>
#include <cstdio>
#include <functional>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

// What a write did in a process whose files could not grow past a limit.
enum class LimitedWrite { Wrote, Refused, Broken };

// Runs `write` in a child process whose files may not grow past `limit` bytes,
// as a disk that fills up midway: write() stores what fits, then fails. The
// kernel enforces the limit for root too, so this holds where permission bits
// would not. The child ends without unwinding, so the parent's temporary folders
// and test state stay as they were.
inline LimitedWrite writeWithFileSizeLimit(std::size_t limit, const std::function<bool()>& write) {
#ifdef _WIN32
    // No limit for one process here: the tests skip before they ask.
    static_cast<void>(limit);
    static_cast<void>(write);
    return LimitedWrite::Broken;
#else
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0) return LimitedWrite::Broken;
    if (child == 0) {
        // Without this, growing past the limit would kill the child instead of
        // failing the write.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit r{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
        if (setrlimit(RLIMIT_FSIZE, &r) != 0) _exit(2);
        _exit(write() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return LimitedWrite::Broken;
    switch (WEXITSTATUS(status)) {
        case 0:
            return LimitedWrite::Wrote;
        case 1:
            return LimitedWrite::Refused;
        default:
            return LimitedWrite::Broken;
    }
#endif
}

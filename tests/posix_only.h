#pragma once

#include <gtest/gtest.h>

#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

// What only POSIX systems have (named pipes, permission bits that bind, a
// file-size limit for one process): the tests of it are skipped on Windows,
// saying why.
#ifdef _WIN32
#define TOSBEL_POSIX_ONLY(why) GTEST_SKIP() << "POSIX only: " << why
#else
#define TOSBEL_POSIX_ONLY(why) static_cast<void>(0)
#endif

// A named pipe at `path`; false where there are none.
inline bool makeFifo(const std::string& path) {
#ifdef _WIN32
    static_cast<void>(path);
    return false;
#else
    return mkfifo(path.c_str(), 0600) == 0;
#endif
}

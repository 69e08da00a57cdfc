#pragma once

#include <chrono>
#include <string>

namespace tosbel {

// Two copies of the program may run from one folder at once. A file both of
// them read, change and write back (the result history, the recent rosters) is
// only changed while this lock on the folder is held, so neither copy writes
// back a list that misses what the other has just added. The lock is the
// system's own and leaves no file behind: it goes with the process, and a
// killed copy holds nothing.
class FolderLock {
public:
    // Waits for the other copy's update, a few milliseconds at most. A folder
    // that cannot be locked (one that is not there) holds up no one; a copy
    // that holds the lock for longer than `patience` has stopped, and waiting
    // on it would stop this one too.
    explicit FolderLock(const std::string& folder,
                        std::chrono::milliseconds patience = std::chrono::seconds(5));
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    bool held() const { return held_; }

private:
#ifdef _WIN32
    void* mutex_ = nullptr;
#else
    int fd_ = -1;
#endif
    bool held_ = false;
};

}  // namespace tosbel

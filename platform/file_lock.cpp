#include "platform/file_lock.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/file_io.h"

#ifdef _WIN32
#include <windows.h>

#include <cwctype>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tosbel {

#ifdef _WIN32

// A folder cannot be locked there, so the lock is a mutex named after the
// folder's full path: every copy of the program in the same session that
// works in that folder opens the same one.
FolderLock::FolderLock(const std::string& folder, std::chrono::milliseconds patience) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::canonical(pathOf(folder), ec);
    if (ec) return;
    std::wstring name = L"Local\\TOSBEL-";
    for (const wchar_t c : full.wstring())
        name += c == L'\\' ? L'/' : static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex == nullptr) return;
    mutex_ = mutex;
    // An abandoned mutex is one whose holder ended: it is ours now.
    const DWORD got = WaitForSingleObject(mutex, static_cast<DWORD>(patience.count()));
    held_ = got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
}

FolderLock::~FolderLock() {
    if (!mutex_) return;
    if (held_) ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

#else

FolderLock::FolderLock(const std::string& folder, std::chrono::milliseconds patience) {
    fd_ = open(pathOf(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return;
        if (std::chrono::steady_clock::now() >= giveUp) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

FolderLock::~FolderLock() {
    // Closing the folder ends the lock.
    if (fd_ >= 0) close(fd_);
}

#endif

}  // namespace tosbel

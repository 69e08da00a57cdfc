#include "platform/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tosbel {

namespace fs = std::filesystem;

namespace {

bool flushToDisk(std::FILE* f) {
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

std::FILE* openExclusive(const fs::path& p) {
#ifdef _WIN32
    // The system's C library knows no "x" mode: the exclusive create is asked
    // of the open itself, and errno says EEXIST as it does elsewhere.
    int fd = -1;
    if (_wsopen_s(&fd, p.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _SH_DENYWR,
                  _S_IREAD | _S_IWRITE) != 0)
        return nullptr;
    std::FILE* f = _fdopen(fd, "wb");
    if (f == nullptr) _close(fd);
    return f;
#else
    return std::fopen(p.c_str(), "wbx");
#endif
}

unsigned long processId() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(getpid());
#endif
}

bool processRunning(unsigned long pid) {
#ifdef _WIN32
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (h == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    CloseHandle(h);
    return running;
#else
    if (pid == 0 || pid > static_cast<unsigned long>(INT32_MAX)) return false;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#endif
}

// ".tosbel-<process>-<n>.tmp": short, so a target whose name is near the
// length limit still has room for its temporary beside it; hidden where a
// leading dot hides; and naming the process that owns it.
constexpr std::string_view kTempPrefix = ".tosbel-";
constexpr std::string_view kTempSuffix = ".tmp";

std::string temporaryName(unsigned n) {
    return std::string(kTempPrefix) + std::to_string(processId()) + '-' + std::to_string(n) +
           std::string(kTempSuffix);
}

// The process a temporary name belongs to, or nothing for any other name.
std::optional<unsigned long> temporaryOwner(std::string_view name) {
    if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) return std::nullopt;
    name.remove_prefix(kTempPrefix.size());
    name.remove_suffix(kTempSuffix.size());
    const auto dash = name.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == name.size()) return std::nullopt;
    unsigned long pid = 0;
    unsigned long n = 0;
    const std::string_view pidText = name.substr(0, dash), nText = name.substr(dash + 1);
    const auto a = std::from_chars(pidText.data(), pidText.data() + pidText.size(), pid);
    const auto b = std::from_chars(nText.data(), nText.data() + nText.size(), n);
    if (a.ec != std::errc() || a.ptr != pidText.data() + pidText.size()) return std::nullopt;
    if (b.ec != std::errc() || b.ptr != nText.data() + nText.size()) return std::nullopt;
    return pid;
}

// A run killed between writing its temporary file and moving it leaves the
// file behind; its process is gone, so nothing will ever finish it. Our own
// temporaries are not in flight here either: each is moved or removed before
// replaceFile() returns.
void removeStaleTemporaries(const fs::path& folder) {
    std::error_code ec;
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    for (fs::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
        const auto owner = temporaryOwner(utf8Of(it->path().filename()));
        if (!owner) continue;
        if (*owner != processId() && processRunning(*owner)) continue;
        std::error_code ignored;
        if (it->is_regular_file(ignored)) fs::remove(it->path(), ignored);
    }
}

}  // namespace

fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const fs::path& p) {
    const std::u8string text = p.u8string();
    return std::string(text.begin(), text.end());
}

#ifdef _WIN32

std::optional<std::string> readFileBytes(const std::string& path, std::size_t limit) {
    const std::wstring wide = pathOf(path).wstring();
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::string> bytes;
    LARGE_INTEGER size{};
    // Only a file on a disk: a pipe, a console or a serial port is not a roster.
    if (GetFileType(h) == FILE_TYPE_DISK && GetFileSizeEx(h, &size) && size.QuadPart >= 0 &&
        static_cast<unsigned long long>(size.QuadPart) <= limit) {
        std::string buffer(limit + 1, '\0');
        std::size_t total = 0;
        DWORD n = 0;
        bool ok = true;
        while (total < buffer.size()) {
            const DWORD want =
                static_cast<DWORD>(std::min<std::size_t>(buffer.size() - total, 1 << 20));
            if (!ReadFile(h, buffer.data() + total, want, &n, nullptr)) {
                ok = false;
                break;
            }
            if (n == 0) break;
            total += n;
        }
        if (ok && total <= limit) {
            buffer.resize(total);
            bytes = std::move(buffer);
        }
    }
    CloseHandle(h);
    return bytes;
}

#else

std::optional<std::string> readFileBytes(const std::string& path, std::size_t limit) {
    // Not blocking: opening a named pipe for reading would otherwise wait for a
    // writer that never comes.
    const int fd = open(pathOf(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> bytes;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
        static_cast<unsigned long long>(st.st_size) <= limit) {
        // One byte more than the limit tells a file that grew since fstat().
        std::string buffer(static_cast<std::size_t>(st.st_size) + 1, '\0');
        std::size_t total = 0;
        bool ok = true;
        for (;;) {
            if (total == buffer.size()) {
                if (buffer.size() > limit) break;
                buffer.resize(std::min(buffer.size() * 2, limit + 1));
            }
            const ssize_t n = read(fd, buffer.data() + total, buffer.size() - total);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0) break;
            total += static_cast<std::size_t>(n);
        }
        if (ok && total <= limit) {
            buffer.resize(total);
            bytes = std::move(buffer);
        }
    }
    close(fd);
    return bytes;
}

#endif

bool replaceFile(const std::string& path, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    fs::path target = pathOf(path);
    if (target.filename().empty()) return false;

    std::error_code ec;
    std::error_code notThere;
    const fs::file_status old = fs::status(target, notThere);
    const bool replacing = fs::exists(old);
    if (replacing) {
        // A file the teacher made read-only stays as it is, as it would if it
        // were opened for writing; a link keeps pointing at the file it names.
        if (!fs::is_regular_file(old)) return false;
        if ((old.permissions() & fs::perms::owner_write) == fs::perms::none) return false;
        target = fs::canonical(target, ec);
        if (ec) return false;
    }
    const fs::path folder = target.parent_path();
    removeStaleTemporaries(folder);

    fs::path temp;
    std::FILE* f = nullptr;
    // A name of our own beside the target, so the final move never crosses a
    // file system; "x" refuses to reuse a name that happens to exist.
    for (int attempt = 0; attempt < 100 && f == nullptr; ++attempt) {
        temp = folder / temporaryName(counter++);
        f = openExclusive(temp);
        if (f == nullptr && errno != EEXIST) return false;
    }
    if (f == nullptr) return false;

    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool flushed = written && flushToDisk(f);
    const bool closed = std::fclose(f) == 0;
    if (replacing) fs::permissions(temp, old.permissions(), ec);
    if (!(written && flushed && closed) || ec) {
        fs::remove(temp, ec);
        return false;
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace tosbel

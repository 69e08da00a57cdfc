#include "platform/file_io.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

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
// file behind; its process is gone, so nothing will ever finish it. A running
// process's own may be in flight (the printer writing its PDF), so they stay.
void removeStaleTemporaries(const fs::path& folder) {
    std::error_code ec;
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    for (fs::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
        const auto owner = temporaryOwner(utf8Of(it->path().filename()));
        if (!owner || *owner == processId() || processRunning(*owner)) continue;
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

std::string upperExtension(const std::string& path) {
    std::string extension = utf8Of(pathOf(path).extension());
    for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension;
}

namespace {

// An ordinary file opened for reading. A named pipe, a device or a console is
// refused without waiting on it: opening a pipe for reading would otherwise
// wait for a writer that never comes, and a device never ends.
class InputFile {
public:
    explicit InputFile(const std::string& path) {
#ifdef _WIN32
        const std::wstring wide = pathOf(path).wstring();
        handle_ = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        LARGE_INTEGER size{};
        if (handle_ != INVALID_HANDLE_VALUE && GetFileType(handle_) == FILE_TYPE_DISK &&
            GetFileSizeEx(handle_, &size) && size.QuadPart >= 0)
            size_ = static_cast<std::uint64_t>(size.QuadPart);
#else
        fd_ = open(pathOf(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        struct stat st {};
        if (fd_ >= 0 && fstat(fd_, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0)
            size_ = static_cast<std::uint64_t>(st.st_size);
#endif
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile() {
#ifdef _WIN32
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
#else
        if (fd_ >= 0) close(fd_);
#endif
    }

    // The size when it was opened; none when it is no ordinary file.
    std::optional<std::uint64_t> size() const {
        return size_;
    }

    // How many bytes came, 0 at the end, none on a read error.
    std::optional<std::size_t> read(char* buffer, std::size_t n) {
        if (!size_) return std::nullopt;
#ifdef _WIN32
        DWORD got = 0;
        const auto want = static_cast<DWORD>(std::min<std::size_t>(n, 1 << 20));
        if (!ReadFile(handle_, buffer, want, &got, nullptr)) return std::nullopt;
        return static_cast<std::size_t>(got);
#else
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, n);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return std::nullopt;
            return static_cast<std::size_t>(got);
        }
#endif
    }

private:
#ifdef _WIN32
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#else
    int fd_ = -1;
#endif
    std::optional<std::uint64_t> size_;
};

std::atomic<unsigned long> dataFlushes{0};
std::atomic<unsigned long> folderFlushes{0};

bool flushToDisk(std::FILE* f) {
    ++dataFlushes;
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

// A new file under a name of our own in `folder`, so a final move never
// crosses a file system; "x" refuses to reuse a name that happens to exist.
std::FILE* createTemporary(const fs::path& folder, fs::path& temp) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = folder / temporaryName(counter++);
        if (std::FILE* f = openExclusive(temp)) return f;
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

// Writes what `fill` puts into a new file beside `path` and moves it over the
// target once complete and on disk: a failure at any point leaves the old file
// as it was. False when anything failed, `fill` included.
bool writeThroughTemporary(const std::string& path, const std::function<bool(std::FILE*)>& fill) {
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
    std::FILE* f = createTemporary(folder, temp);
    if (f == nullptr) return false;

    const bool written = fill(f);
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
    flushFolder(utf8Of(folder));
    return true;
}

}  // namespace

void flushFolder([[maybe_unused]] const std::string& folder) {
    ++folderFlushes;
#ifndef _WIN32
    // Windows journals the rename itself; a folder cannot be opened to flush there.
    const int fd =
        open(folder.empty() ? "." : pathOf(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
#endif
}

std::optional<std::string> readFileBytes(const std::string& path, std::size_t limit) {
    InputFile in(path);
    const auto size = in.size();
    if (!size || *size > limit) return std::nullopt;
    // One byte more than the limit tells a file that grew since it was opened.
    std::string buffer(static_cast<std::size_t>(*size) + 1, '\0');
    std::size_t total = 0;
    for (;;) {
        if (total == buffer.size()) {
            if (buffer.size() > limit) break;
            buffer.resize(std::min(buffer.size() * 2, limit + 1));
        }
        const auto n = in.read(buffer.data() + total, buffer.size() - total);
        if (!n) return std::nullopt;
        if (*n == 0) break;
        total += *n;
    }
    if (total > limit) return std::nullopt;
    buffer.resize(total);
    return buffer;
}

bool replaceFile(const std::string& path, std::string_view bytes) {
    return writeThroughTemporary(path, [bytes](std::FILE* f) {
        return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    });
}

CopyOutcome copyFile(const std::string& from, const std::string& to) {
    InputFile in(from);
    if (!in.size()) return CopyOutcome::SourceUnreadable;
    bool sourceFailed = false;
    const bool copied = writeThroughTemporary(to, [&](std::FILE* f) {
        std::vector<char> buffer(1 << 16);
        for (;;) {
            const auto n = in.read(buffer.data(), buffer.size());
            if (!n) {
                sourceFailed = true;
                return false;
            }
            if (*n == 0) return true;
            if (std::fwrite(buffer.data(), 1, *n, f) != *n) return false;
        }
    });
    if (copied) return CopyOutcome::Copied;
    return sourceFailed ? CopyOutcome::SourceUnreadable : CopyOutcome::TargetFailed;
}

std::optional<std::string> makeTemporaryBeside(const std::string& path) {
    const fs::path folder = pathOf(path).parent_path();
    removeStaleTemporaries(folder);
    fs::path temp;
    std::FILE* f = createTemporary(folder, temp);
    if (f == nullptr) return std::nullopt;
    std::fclose(f);
    return utf8Of(temp);
}

FileSyncCounts fileSyncCounts() {
    return {dataFlushes.load(), folderFlushes.load()};
}

}  // namespace tosbel

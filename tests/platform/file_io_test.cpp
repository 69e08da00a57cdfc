#include "platform/file_io.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <set>
#include <string>
#include <thread>

#ifdef _WIN32
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/file_lock.h"
#include "tests/file_size_limit.h"
#include "tests/posix_only.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(utf8Of(entry.path().filename()));
    return names;
}

TEST(ReplaceFile, WritesExactBytesAndLeavesNothingElseBehind) {
    TempDir dir;
    const std::string target = dir.file("組.MEM");
    ASSERT_TRUE(replaceFile(target, std::string("a\r\n\0b", 5)));
    EXPECT_EQ(slurp(target), std::string("a\r\n\0b", 5));

    // A shorter file over a longer one keeps nothing of the old bytes.
    ASSERT_TRUE(replaceFile(target, "x\r\n"));
    EXPECT_EQ(slurp(target), "x\r\n");
    EXPECT_EQ(readFileBytes(target), "x\r\n");

    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1);
}

TEST(ReplaceFile, FailureIsReportedAndTouchesNothing) {
    TempDir dir;
    EXPECT_FALSE(replaceFile(dir.file("missing/組.MEM"), "x"));
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));

    // The target is a folder: the move fails, the folder and its content stay.
    fs::create_directory(dir.path() / "folder");
    spit(dir.path() / "folder" / "keep", "keep");
    EXPECT_FALSE(replaceFile(dir.file("folder"), "x"));
    EXPECT_EQ(slurp(dir.path() / "folder" / "keep"), "keep");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1);
}

TEST(ReplaceFile, ADiskFullMidwayLeavesTheOldFileExactlyAsItWas) {
    TOSBEL_POSIX_ONLY("a file-size limit for one process");
    TempDir dir;
    const fs::path target = dir.at("組.MEM");
    // No prefix of the new bytes looks like the old ones, and the new file is
    // larger than the buffer the writer fills, so it fails both in the middle
    // of its writes and at the final flush.
    const std::string old = "old\r\nroster\r\n";
    const std::string fresh(9000, 'n');
    const auto writeFresh = [&] { return replaceFile(utf8Of(target), fresh); };

    // Before the first byte, after one, after a buffer's worth, one short.
    spit(target, old);
    for (const std::size_t limit :
         {std::size_t{0}, std::size_t{1}, std::size_t{4096}, fresh.size() - 1}) {
        SCOPED_TRACE(limit);
        EXPECT_EQ(writeWithFileSizeLimit(limit, writeFresh), LimitedWrite::Refused);
        EXPECT_EQ(slurp(target), old);
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"組.MEM"});
    }

    // A file that did not exist is not there afterwards, not even in part.
    const fs::path absent = dir.at("新.MEM");
    EXPECT_EQ(writeWithFileSizeLimit(100, [&] { return replaceFile(utf8Of(absent), fresh); }),
              LimitedWrite::Refused);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"組.MEM"});

    // With room for every byte the same write goes through: the limit, not the
    // way it is set, made the writes above fail.
    EXPECT_EQ(writeWithFileSizeLimit(fresh.size(), writeFresh), LimitedWrite::Wrote);
    EXPECT_EQ(slurp(target), fresh);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"組.MEM"});
}

TEST(ReplaceFile, KeepsWhatTheTeacherSetOnTheOldFile) {
    TOSBEL_POSIX_ONLY("permission bits and symbolic links");
    TempDir dir;
    const fs::path target = dir.at("組.MEM");
    spit(target, "old\r\n");

    // Read-only: refused and untouched, even for a user who could override it.
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(replaceFile(utf8Of(target), "new\r\n"));
    EXPECT_EQ(slurp(target), "old\r\n");

    // Writable: the new content keeps the old file's permissions.
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, perms);
    ASSERT_TRUE(replaceFile(utf8Of(target), "new\r\n"));
    EXPECT_EQ(fs::status(target).permissions(), perms);

    // A link goes on naming the same file, which gets the new content.
    const fs::path link = dir.path() / "link.MEM";
    fs::create_symlink(target, link);
    ASSERT_TRUE(replaceFile(utf8Of(link), "via link\r\n"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(slurp(target), "via link\r\n");
}

TEST(ReadFileBytes, OnlyOrdinaryFilesWithinTheLimitAreRead) {
    TempDir dir;
    const fs::path file = dir.at("組.MEM");
    spit(file, std::string(100, 'a'));
    EXPECT_EQ(readFileBytes(utf8Of(file), 100), std::string(100, 'a'));
    EXPECT_EQ(readFileBytes(utf8Of(file), 99), std::nullopt);
    EXPECT_EQ(readFileBytes(utf8Of(file)), std::string(100, 'a'));

    // None of these may wait or fill memory: a pipe no one writes to, a device
    // without end, a folder.
    EXPECT_EQ(readFileBytes(utf8Of(dir.path())), std::nullopt);
#ifdef _WIN32
    EXPECT_EQ(readFileBytes("NUL"), std::nullopt);
#else
    const fs::path fifo = dir.path() / "pipe.MEM";
    ASSERT_TRUE(makeFifo(fifo.string()));
    EXPECT_EQ(readFileBytes(fifo.string()), std::nullopt);
    EXPECT_EQ(readFileBytes("/dev/zero"), std::nullopt);
#endif
    EXPECT_EQ(readFileBytes(dir.file("ない.MEM")), std::nullopt);
}

// A Japanese name written through the program's text reaches the disk as
// those characters, and comes back from a folder listing as the same text.
TEST(Utf8Path, AJapaneseNameIsTheSameFileBothWays) {
    TempDir dir;
    const std::string name = "3年1組の名簿.MEM";
    EXPECT_EQ(utf8Of(pathOf(name)), name);
#ifdef _WIN32
    EXPECT_EQ(pathOf(name).wstring(), L"3年1組の名簿.MEM");
#endif
    const fs::path path = pathOf(utf8Of(dir.path()) + "/" + name);
    ASSERT_TRUE(replaceFile(utf8Of(path), "a\r\n"));
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{name});
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good());
    EXPECT_EQ(readFileBytes(utf8Of(fs::directory_iterator(dir.path())->path())), "a\r\n");
}

TEST(ReplaceFile, ATargetNameNearTheLengthLimitCanBeWritten) {
    TempDir dir;
    // 83 characters of three bytes and ".MEM": 253 of the 255 bytes a name may have.
    std::string name;
    for (int i = 0; i < 82; ++i) name += "名";
    name += "組.MEM";
    ASSERT_EQ(name.size(), 253u);
    const std::string target = dir.file(name);
    ASSERT_TRUE(replaceFile(target, "a\r\n"));
    ASSERT_TRUE(replaceFile(target, "b\r\n"));
    EXPECT_EQ(slurp(target), "b\r\n");
}

// A process number that names no running program, and this program's own.
#ifdef _WIN32
std::string endedProcess() {
    // Process numbers are multiples of four; this one is far past any given out.
    return std::to_string(0xFFFFFFF0u);
}
// Another program that runs now, and keeps running: the system's service
// manager, there on Windows and under Wine for as long as the system is (the
// first program listed may be one just ending).
std::string liveProcess() {
    DWORD services = 0;
    const HANDLE all = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(all, &entry); more && services == 0;
         more = Process32NextW(all, &entry))
        if (_wcsicmp(entry.szExeFile, L"services.exe") == 0) services = entry.th32ProcessID;
    CloseHandle(all);
    return std::to_string(services);
}
#else
std::string endedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return std::to_string(child);
}
std::string liveProcess() {
    return std::to_string(getppid());
}
#endif

TEST(ReplaceFile, TemporariesOfAKilledRunGoAtTheNextWrite) {
    TempDir dir;
    const std::string stale = ".tosbel-" + endedProcess() + "-3.tmp";
    const std::string live = ".tosbel-" + liveProcess() + "-0.tmp";
    for (const std::string& name : {stale, live, std::string(".tosbel-x-1.tmp")})
        spit(dir.path() / name, "half a roster");

    ASSERT_TRUE(replaceFile(dir.file("組.MEM"), "a\r\n"));
    EXPECT_FALSE(fs::exists(dir.path() / stale));
    // One that another running program may still be writing, and a name that
    // only looks alike, stay.
    EXPECT_TRUE(fs::exists(dir.path() / live));
    EXPECT_TRUE(fs::exists(dir.path() / ".tosbel-x-1.tmp"));
}

// A write counts as saved only once its bytes and, after the move into place,
// the folder's record of it are on the disk.
TEST(ReplaceFile, FlushesTheDataAndThenTheFolder) {
    TempDir dir;
    const FileSyncCounts before = fileSyncCounts();
    ASSERT_TRUE(replaceFile(dir.file("組.MEM"), "a\r\n"));
    ASSERT_EQ(copyFile(dir.file("組.MEM"), dir.file("写し.MEM")), CopyOutcome::Copied);
    const FileSyncCounts after = fileSyncCounts();
    EXPECT_EQ(after.data - before.data, 2u);
    EXPECT_EQ(after.folders - before.folders, 2u);
}

TEST(CopyFile, StreamsAFileOfAnySizeAndTellsTheSourceFromTheTarget) {
    TempDir dir;
    // Past what any reader of the program's own files takes whole.
    std::string big(3 * kDataFileLimit + 7, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 % 251);
    spit(dir.at("写真.BMP"), big);
    spit(dir.at("古い.BMP"), "old");
    ASSERT_EQ(copyFile(dir.file("写真.BMP"), dir.file("古い.BMP")), CopyOutcome::Copied);
    EXPECT_EQ(slurp(dir.at("古い.BMP")), big);

    EXPECT_EQ(copyFile(dir.file("ない.BMP"), dir.file("x.BMP")), CopyOutcome::SourceUnreadable);
    EXPECT_EQ(copyFile(dir.path().string(), dir.file("x.BMP")), CopyOutcome::SourceUnreadable);
    EXPECT_EQ(copyFile(dir.file("写真.BMP"), dir.file("ない/x.BMP")), CopyOutcome::TargetFailed);
    EXPECT_FALSE(fs::exists(dir.at("x.BMP")));
}

TEST(CopyFile, ASourceThatFailsToReadLeavesTheTargetAsItWas) {
    TOSBEL_POSIX_ONLY("a file whose reading fails");
    TempDir dir;
    spit(dir.at("old.MEM"), "old");
    // Listed as an ordinary file, but any read of it fails.
    fs::create_symlink("/proc/self/mem", dir.at("bad.MEM"));
    EXPECT_EQ(copyFile(dir.file("bad.MEM"), dir.file("old.MEM")), CopyOutcome::SourceUnreadable);
    EXPECT_EQ(slurp(dir.at("old.MEM")), "old");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"bad.MEM", "old.MEM"}));
}

// The other copy of the program is played by a thread of its own.
TEST(FolderLock, ASecondHolderWaitsUntilTheFirstLetsGo) {
    TempDir dir;
    std::atomic<bool> ready{false}, held{false};
    std::thread other([&] {
        const FolderLock first(dir.path().string());
        held = first.held();
        ready = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    while (!ready) std::this_thread::yield();
    EXPECT_TRUE(held);
    EXPECT_FALSE(FolderLock(dir.path().string(), std::chrono::milliseconds(20)).held());
    const FolderLock second(dir.path().string());
    EXPECT_TRUE(second.held());
    other.join();
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{}) << "the lock leaves no file";
    EXPECT_FALSE(FolderLock(dir.file("ない"), std::chrono::milliseconds(0)).held());
}

}  // namespace
}  // namespace tosbel

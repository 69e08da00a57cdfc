#include "platform/file_io.h"

#include <gtest/gtest.h>

#include "tests/temp_dir.h"

namespace tosbel {
namespace {

namespace fs = std::filesystem;

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

TEST(ReplaceFile, KeepsWhatTheTeacherSetOnTheOldFile) {
    TempDir dir;
    const fs::path target = dir.path() / "組.MEM";
    spit(target, "old\r\n");

    // Read-only: refused and untouched, even for a user who could override it.
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(replaceFile(target.string(), "new\r\n"));
    EXPECT_EQ(slurp(target), "old\r\n");

    // Writable: the new content keeps the old file's permissions.
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, perms);
    ASSERT_TRUE(replaceFile(target.string(), "new\r\n"));
    EXPECT_EQ(fs::status(target).permissions(), perms);

    // A link goes on naming the same file, which gets the new content.
    const fs::path link = dir.path() / "link.MEM";
    fs::create_symlink(target, link);
    ASSERT_TRUE(replaceFile(link.string(), "via link\r\n"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(slurp(target), "via link\r\n");
}

}  // namespace
}  // namespace tosbel

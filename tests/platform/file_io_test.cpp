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
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path()))
        ++files;
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
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(ReadFileBytes, MissingFileIsNoText) {
    TempDir dir;
    EXPECT_EQ(readFileBytes(dir.file("none.MEM")), std::nullopt);
    spit(dir.path() / "empty.MEM", "");
    EXPECT_EQ(readFileBytes(dir.file("empty.MEM")), "");
}

}  // namespace
}  // namespace tosbel

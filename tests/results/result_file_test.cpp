#include "results/result_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <thread>

#include "platform/cp932.h"
#include "platform/file_lock.h"
#include "results/result_save.h"
#include "tests/file_size_limit.h"
#include "tests/headless_test.h"
#include "tests/posix_only.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

namespace fs = std::filesystem;
using V = std::vector<std::string>;

const std::string kCrLf100 = [] {
    std::string bytes;
    for (int i = 0; i < 100; ++i) bytes += "\r\n";
    return bytes;
}();

TEST(ResultFile, WorkedExamplesByteForByte) {
    SeatTexts seats;
    EXPECT_EQ(resultFileBytes(seats), kCrLf100);
    seats[0] = "山田　太郎";
    const std::string bytes = "\x8E\x52\x93\x63\x81\x40\x91\xBE\x98\x59" + kCrLf100;
    ASSERT_EQ(bytes.size(), 210u);
    EXPECT_EQ(resultFileBytes(seats), bytes);

    // Read back as the same 100 texts, including the ones the reader could
    // take for something else.
    seats[1] = "007";
    seats[2] = "鈴木 ";
    seats[99] = "a\"b";
    TempDir dir;
    ASSERT_TRUE(writeResultFile(dir.file("結果"), seats));
    EXPECT_EQ(readResultFile(dir.file("結果")), V(seats.begin(), seats.end()));
}

TEST(ResultFile, ReadsUpToAHundredValuesAndNoMore) {
    EXPECT_EQ(parseResultFile("\x8E\x52\r\n\r\nb"), (V{"山", "", "b"}));
    EXPECT_EQ(parseResultFile(kCrLf100)->size(), 100u);
    EXPECT_EQ(parseResultFile(kCrLf100 + "x\r\n"), std::nullopt);
    EXPECT_EQ(parseResultFile("a,b" + kCrLf100), std::nullopt);  // 100 lines, 101 values
}

// The check refuses a text exactly when the file would give it back changed.
TEST(SeatTextCheck, RefusesExactlyWhatWouldReadBackChanged) {
    const auto comesBack = [](const std::string& text) {
        const auto bytes = utf8ToCp932(text);
        return bytes && parseResultFile(*bytes + "\r\n") == V{text};
    };
    std::vector<std::string> chars;  // every character code page 932 holds
    for (int lead = 0x01; lead <= 0xFC; ++lead) {
        if (auto c = cp932ToUtf8(std::string(1, static_cast<char>(lead)))) chars.push_back(*c);
        for (int trail = 0x40; lead >= 0x81 && trail <= 0xFC; ++trail)
            if (auto c =
                    cp932ToUtf8(std::string{static_cast<char>(lead), static_cast<char>(trail)}))
                chars.push_back(*c);
    }
    ASSERT_GT(chars.size(), 7000u);
    for (const std::string& c : chars) {
        for (const std::string& text : {c, "a" + c, "a" + c + "b"})
            ASSERT_EQ(!findUnsavable(text), comesBack(text)) << text;
    }
    // The wave dash as other systems type it is code page 932's own one, but a
    // file name must come back as the very same name.
    EXPECT_EQ(findUnsavable("\u301C"), std::nullopt);
    EXPECT_EQ(findUnsavable("\u301C", true)->character, "\u301C");
}

const Message kSaved{"Tosbel結果を保存しました。", "保存確認", MsgButtons::Ok,
                     MsgIcon::Information};

class ResultSave : public HeadlessTest {
protected:
    ResultSave() { platform.folder = dir.path().string(); }
    // Saves under the name, answering the messages the save should show.
    bool saveAs(const std::string& name, const Message& message, const Message& then = {}) {
        platform.answerFileDialog(dir.file(name));
        platform.answerMessage(message);
        if (!then.text.empty()) platform.answerMessage(then);
        return saveResult(state, seats, platform);
    }
    std::string history() const { return slurp(historyPath); }

    TempDir dir;
    const std::string historyPath = dir.file("Tosbel.ini");
    AppState state;
    SeatTexts seats;
};

TEST_F(ResultSave, WritesTheChartUnderTheNameChosenAndRecordsIt) {
    seats[0] = "山田　太郎";
    EXPECT_TRUE(saveAs("3年1組", kSaved));
    const FileDialogRequest dialog{
        "せきがえ結果の保存", "結果ﾌｧｲﾙ(*.RLT)|*.RLT|旧結果ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*",
        dir.path().string(), ""};
    EXPECT_EQ(platform.saveDialogs, std::vector{dialog});
    EXPECT_EQ(state.ResultPath, dir.file("3年1組"));
    EXPECT_EQ(slurp(dir.at("3年1組")), resultFileBytes(seats));
    EXPECT_EQ(history(), *utf8ToCp932(dir.file("3年1組")) + "\r\n");

    platform.answerFileDialog("");
    EXPECT_FALSE(saveResult(state, seats, platform));
    EXPECT_EQ(state.ResultPath, "");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST_F(ResultSave, TheHistoryKeepsTheNewestFifteenSavesOldestFirst) {
    for (int i = 1; i <= 15; ++i) ASSERT_TRUE(saveAs(std::to_string(i) + ".RLT", kSaved));
    EXPECT_EQ(readResultHistory(dir.path().string()).size(), 15u);
    ASSERT_TRUE(saveAs("16.RLT", kSaved));
    EXPECT_EQ(readResultHistory(dir.path().string()).front(), dir.file("2.RLT"));
    ASSERT_TRUE(saveAs("16.RLT", kSaved));
    const V entries = readResultHistory(dir.path().string());
    ASSERT_EQ(entries.size(), 15u);
    EXPECT_EQ(entries.front(), dir.file("3.RLT"));
    EXPECT_EQ(entries[13], entries[14]);

    // A hand-edited history of 20 keeps its newest 14 and the new one, under
    // the spelling it already has.
    fs::remove(historyPath);
    std::string twenty;
    for (int i = 1; i <= 20; ++i) twenty += "C:\\" + std::to_string(i) + ".RLT\r\n";
    spit(dir.path() / "TOSBEL.INI", twenty);
    ASSERT_TRUE(saveAs("new.RLT", kSaved));
#ifndef _WIN32
    // Where letter case tells names apart, the usual spelling was not added.
    EXPECT_FALSE(fs::exists(historyPath));
#endif
    EXPECT_EQ(slurp(dir.path() / "TOSBEL.INI"),
              twenty.substr(twenty.find("C:\\7.RLT")) + dir.file("new.RLT") + "\r\n");
}

TEST_F(ResultSave, ATextTheFileWouldChangeIsRefusedBeforeAnythingIsWritten) {
    seats[0] = "山田";
    ASSERT_TRUE(saveAs("1組.RLT", kSaved));
    const std::string result = slurp(dir.at("1組.RLT")), old = history();

    const auto refused = [&](int seat, const std::string& text, const std::string& message) {
        seats[static_cast<std::size_t>(seat - 1)] = text;
        EXPECT_FALSE(
            saveAs("1組.RLT", {message, "氏名確認", MsgButtons::Ok, MsgIcon::Exclamation}));
        seats[static_cast<std::size_t>(seat - 1)].clear();
    };
    seats[99] = " 後";  // named only once the seats before it are fine
    refused(25, "山田,太郎", "C 5の席の「,」は結果ﾌｧｲﾙに保存できません。");
    refused(100, "\t後", "J 10の席の先頭の空白は結果ﾌｧｲﾙに保存できません。");
    refused(1, "\"山田", "A 1の席の先頭の「\"」は結果ﾌｧｲﾙに保存できません。");
    refused(99, "田𠮷😀", "J 9の席の「𠮷」は結果ﾌｧｲﾙに保存できません。");
    refused(10, "田\r\n中", "A 10の席の改行は結果ﾌｧｲﾙに保存できません。");

    // A path the history would read back as another.
    const Message comma{"「" + dir.file("1,2組.RLT") +
                            "」の「,」は過去ﾛｸﾞに記録できません。\r\r別の名前を付けて下さい。",
                        "保存確認", MsgButtons::Ok, MsgIcon::Exclamation};
    EXPECT_FALSE(saveAs("1,2組.RLT", comma));
    // The history itself, which would overwrite the chart at once.
    const Message itself{"「" + dir.file("tosbel.Ini") +
                             "」は過去ﾛｸﾞを記録するﾌｧｲﾙです。\r\r別の名前を付けて下さい。",
                         "保存確認", MsgButtons::Ok, MsgIcon::Exclamation};
    EXPECT_FALSE(saveAs("tosbel.Ini", itself));

    EXPECT_EQ(slurp(dir.at("1組.RLT")), result);
    EXPECT_EQ(history(), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

Message cannotSave(const std::string& path) {
    return {"結果ﾌｧｲﾙ「" + path +
                "」を保存できませんでした。\r\r"
                "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを確認して下さい。",
            "保存確認", MsgButtons::Ok, MsgIcon::Critical};
}

Message notRecorded(const std::string& path, const std::string& history) {
    return {"結果ﾌｧｲﾙ「" + path + "」は保存しましたが、過去ﾛｸﾞ「" + history +
                "」に記録できませんでした。\r\r"
                "書き込みできるか、ディスクに空きがあるかを確認して下さい。",
            "保存確認", MsgButtons::Ok, MsgIcon::Exclamation};
}

TEST_F(ResultSave, AFailedWriteLeavesEveryFileAsItWasAndClaimsNothing) {
    TOSBEL_POSIX_ONLY("permission bits that bind");
    ASSERT_TRUE(saveAs("1組.RLT", kSaved));
    const std::string path = dir.file("1組.RLT");
    const std::string result = slurp(path), old = history();
    seats[0] = "山田";

    fs::permissions(pathOf(path), fs::perms::owner_read);  // refused even to root
    EXPECT_FALSE(saveAs("1組.RLT", cannotSave(path)));
    fs::permissions(pathOf(path), fs::perms::owner_all);
    EXPECT_FALSE(saveAs("1組.RLT/2組.RLT", cannotSave(dir.file("1組.RLT/2組.RLT"))));
    EXPECT_EQ(slurp(path), result);
    EXPECT_EQ(history(), old);

    // The disk fills up while the history is written, after the chart: the
    // child reports whether it was told so and nothing more.
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(saveAs("1組.RLT", kSaved));
    const std::string longer = history();
    ASSERT_GT(longer.size(), 300u);
    seats[1] = "佐藤";
    const auto fullDisk = [&] {
        HeadlessPlatform child;
        child.folder = platform.folder;
        child.answerFileDialog(path);
        child.answerMessage(notRecorded(path, historyPath));
        try {
            return saveResult(state, seats, child) && child.scriptDone();
        } catch (const UnexpectedDialog&) {
            return false;
        }
    };
    EXPECT_EQ(writeWithFileSizeLimit(300, fullDisk), LimitedWrite::Wrote);
    EXPECT_EQ(slurp(path), resultFileBytes(seats));
    EXPECT_EQ(history(), longer);
}

TEST_F(ResultSave, AHistoryThatCannotBeReadDoesNotCostTheResult) {
    spit(historyPath, "abc\x80\x80\r\n");  // neither code page 932 nor UTF-8
    const Message restarted{
        "過去ﾛｸﾞ「" + historyPath + "」を読めなかったので、今回の結果から記録し直しました。",
        "過去ﾛｸﾞ確認", MsgButtons::Ok, MsgIcon::Exclamation};
    EXPECT_TRUE(saveAs("1組.RLT", restarted, kSaved));
    EXPECT_EQ(readResultHistory(dir.path().string()), V{dir.file("1組.RLT")});

    // A UTF-8 history's entry that code page 932 cannot hold is dropped.
    spit(historyPath, "\xEF\xBB\xBF/x/𠮷.RLT\r\n/x/a.RLT\r\n");
    EXPECT_TRUE(saveAs("2組.RLT", kSaved));
    EXPECT_EQ(readResultHistory(dir.path().string()), (V{"/x/a.RLT", dir.file("2組.RLT")}));

    fs::remove(historyPath);
    fs::create_directory(historyPath);
    EXPECT_TRUE(saveAs("3組.RLT", notRecorded(dir.file("3組.RLT"), historyPath)));
    EXPECT_EQ(slurp(dir.at("3組.RLT")), resultFileBytes(seats));
}

// A link to the history, or a second name of its file, is the history: a
// chart saved there would replace every past log.
TEST_F(ResultSave, AnotherNameOfTheHistoryIsRefusedAsTheHistory) {
    TOSBEL_POSIX_ONLY("links");
    seats[0] = "山田";
    ASSERT_TRUE(saveAs("1組.RLT", kSaved));
    const std::string old = history();
    fs::create_symlink(historyPath, dir.at("link.RLT"));
    fs::create_hard_link(historyPath, dir.at("hard.RLT"));
    for (const char* name : {"link.RLT", "hard.RLT"}) {
        EXPECT_FALSE(saveAs(
            name,
            {"「" + dir.file(name) + "」は過去ﾛｸﾞを記録するﾌｧｲﾙです。\r\r別の名前を付けて下さい。",
             "保存確認", MsgButtons::Ok, MsgIcon::Exclamation}));
        EXPECT_EQ(history(), old);
    }
}

// Another copy of the program records its save while this one waits for
// the lock: both entries stay.
TEST_F(ResultSave, ASaveWaitsForAnotherCopysHistoryUpdate) {
    const std::string folder = dir.path().string();
    std::atomic<bool> ready{false};
    std::thread other([&] {
        const FolderLock lock(folder);
        ready = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        writeResultHistory(folder, {"/other/copy.RLT"});
    });
    while (!ready) std::this_thread::yield();
    EXPECT_TRUE(saveAs("1組.RLT", kSaved));
    other.join();
    EXPECT_EQ(readResultHistory(folder), (V{"/other/copy.RLT", dir.file("1組.RLT")}));
}

}  // namespace
}  // namespace tosbel

#include "app/program_folder.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "platform/cp932.h"
#include "platform/qt/first_paint.h"
#include "roster/roster_file.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kCountdownNames = {"ONE.BMP",  "TWO.BMP", "THREE.BMP", "FOUR.BMP",
                                                  "FIVE.BMP", "SIX.BMP", "SEVEN.BMP", "EIGHT.BMP",
                                                  "NINE.BMP", "TEN.BMP"};

fs::path u8(const std::string& s) {
    return fs::path(std::u8string(s.begin(), s.end()));
}

std::string pathText(const fs::path& p) {
    const std::u8string s = p.u8string();
    return {s.begin(), s.end()};
}

// The whole file in one read: the countdown pictures are half a megabyte each,
// which a character-by-character read takes a second over under the sanitizers.
std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(folder))
        files[pathText(e.path().filename())] = bytesOf(e.path());
    return files;
}

QImage load(const fs::path& p, const char* expectedFormat) {
    QImageReader reader(QString::fromStdString(pathText(p)));
    EXPECT_EQ(reader.format(), QByteArray(expectedFormat)) << pathText(p);
    return reader.read();
}

// Drawing the pictures is the slow part, so a fresh folder is filled once, when
// a test first asks for it, and kept for the suite; a test that only looks at
// the files, or starts from a filled folder, gets a copy of it.
class DefaultFilesTest : public ::testing::Test {
protected:
    static void TearDownTestSuite() { firstStart_.reset(); }

    // A Japanese folder name, as a teacher's own folder often has.
    static fs::path folderIn(const TempDir& temp) {
        const fs::path folder = temp.path() / u8("３年２組");
        fs::create_directories(folder);
        return folder;
    }

    // The folder the first start filled, and what that start answered.
    static fs::path firstStartFolder() {
        if (!firstStart_) {
            firstStart_ = std::make_unique<TempDir>();
            firstWritten_ = addMissingDefaultFiles(pathText(folderIn(*firstStart_)));
        }
        return folderIn(*firstStart_);
    }
    static const std::vector<std::string>& firstWritten() {
        firstStartFolder();
        return firstWritten_;
    }

    // This test's folder as the first start left it.
    void copyFirstStart() { fs::copy(firstStartFolder(), folder, fs::copy_options::recursive); }

    TempDir temp;
    fs::path folder = folderIn(temp);
    std::string folderText() const { return pathText(folder); }

private:
    static inline std::unique_ptr<TempDir> firstStart_;
    static inline std::vector<std::string> firstWritten_;
};

TEST_F(DefaultFilesTest, FreshFolderGetsEveryDefaultFile) {
    std::vector<std::string> expected = kCountdownNames;
    expected.insert(expected.end(), {"DRAG.ICO", "DRAG2.ICO", "サンプル.MEM"});
    EXPECT_EQ(firstWritten(), expected);
    std::set<std::string> onDisk;
    for (const auto& e : fs::directory_iterator(firstStartFolder()))
        onDisk.insert(pathText(e.path().filename()));
    EXPECT_EQ(onDisk, std::set<std::string>(expected.begin(), expected.end()))
        << "no probe or temporary file may be left behind";
}

TEST_F(DefaultFilesTest, CountdownPicturesAreSquareBitmapsEachItsOwn) {
    copyFirstStart();
    std::set<std::string> distinct;
    for (const std::string& name : kCountdownNames) {
        const fs::path p = folder / name;
        const std::string bytes = bytesOf(p);
        ASSERT_EQ(bytes.substr(0, 2), "BM") << name;
        const QImage image = load(p, "bmp");
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(400, 400)) << name;
        // Background at the corner, white disc and coloured numeral at the centre.
        EXPECT_NE(image.pixel(2, 2), image.pixel(200, 60)) << name;
        std::set<QRgb> colours;
        for (int y = 100; y < 300; y += 4)
            for (int x = 100; x < 300; x += 4) colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 3u) << name << " has no numeral drawn";
        distinct.insert(bytes);
    }
    EXPECT_EQ(distinct.size(), kCountdownNames.size());
}

TEST_F(DefaultFilesTest, DragPicturesAreSmallIconsWithSeeThroughCorners) {
    copyFirstStart();
    for (const char* name : {"DRAG.ICO", "DRAG2.ICO"}) {
        const std::string bytes = bytesOf(folder / name);
        ASSERT_GE(bytes.size(), 6u);
        EXPECT_EQ(bytes.substr(0, 4), std::string("\0\0\1\0", 4)) << name;
        const QImage image = load(folder / name, "ico");
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(32, 32)) << name;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << name;
        EXPECT_EQ(qAlpha(image.pixel(16, 24)), 255) << name;
    }
    EXPECT_NE(bytesOf(folder / "DRAG.ICO"), bytesOf(folder / "DRAG2.ICO"));
}

TEST_F(DefaultFilesTest, SampleRosterReadsBackAsThePupilsNames) {
    copyFirstStart();
    const RosterRead read = readRoster(pathText(folder / u8("サンプル.MEM")));
    ASSERT_EQ(read.error, FileError::None);
    EXPECT_EQ(read.names, sampleRosterNames());
}

TEST(SampleRosterNames, AreAboutAClassOfDistinctNamesThatFitANameBox) {
    const auto& names = sampleRosterNames();
    EXPECT_GE(names.size(), 25u);
    EXPECT_LE(names.size(), 40u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    for (const std::string& n : names) {
        const auto bytes = cp932ByteLength(n);
        ASSERT_TRUE(bytes.has_value()) << n;
        EXPECT_GE(*bytes, 4u) << n;
        EXPECT_LE(*bytes, 8u) << n;
    }
}

TEST_F(DefaultFilesTest, SecondStartChangesNothing) {
    copyFirstStart();
    const auto before = snapshot(folder);
    EXPECT_TRUE(addMissingDefaultFiles(folderText()).empty());
    EXPECT_EQ(snapshot(folder), before);
}

TEST_F(DefaultFilesTest, TheTeachersOwnFilesAreKeptByteForByte) {
    const std::string ownPicture = std::string("BM\0\x01own picture", 15);
    const std::string ownRoster = "\x88\xc9\x93\xa1\r\n";  // 伊藤 in code page 932
    spit(folder / "ONE.BMP", ownPicture);
    spit(folder / u8("サンプル.MEM"), ownRoster);
    spit(folder / "DRAG2.ICO", "");  // even an empty file counts as there

    const auto written = addMissingDefaultFiles(folderText());

    EXPECT_EQ(bytesOf(folder / "ONE.BMP"), ownPicture);
    EXPECT_EQ(bytesOf(folder / u8("サンプル.MEM")), ownRoster);
    EXPECT_EQ(bytesOf(folder / "DRAG2.ICO"), "");
    EXPECT_EQ(written.size(), 10u);
    EXPECT_TRUE(fs::exists(folder / "TWO.BMP"));
    EXPECT_TRUE(fs::exists(folder / "DRAG.ICO"));
}

TEST_F(DefaultFilesTest, MissingFilesComeBackOnTheNextStart) {
    copyFirstStart();
    const std::string three = bytesOf(folder / "THREE.BMP");
    fs::remove(folder / "THREE.BMP");
    fs::remove(folder / u8("サンプル.MEM"));  // the teacher deleted the sample: it stays gone
    EXPECT_EQ(addMissingDefaultFiles(folderText()), std::vector<std::string>{"THREE.BMP"});
    EXPECT_EQ(bytesOf(folder / "THREE.BMP"), three);
}

// An installed program's shared defaults: a school's own picture there reaches
// every teacher, and what the folder lacks or cannot give is drawn as usual.
TEST_F(DefaultFilesTest, InstalledDefaultsAreCopiedAndWhatTheyLackIsDrawn) {
    const fs::path shared = temp.path() / "usr/share/tosbel";
    fs::create_directories(shared / "DRAG.ICO");  // a folder where a picture should be
    const std::string schoolPicture = std::string("BM\0\x02school picture", 18);
    spit(shared / "ONE.BMP", schoolPicture);
    spit(shared / u8("サンプル.MEM"), "\x88\xc9\x93\xa1\r\n");

    const auto written = addMissingDefaultFiles(folderText(), pathText(shared));

    EXPECT_EQ(written.size(), 13u);
    EXPECT_EQ(bytesOf(folder / "ONE.BMP"), schoolPicture);
    EXPECT_EQ(bytesOf(folder / u8("サンプル.MEM")), "\x88\xc9\x93\xa1\r\n");
    EXPECT_EQ(bytesOf(folder / "TWO.BMP"), bytesOf(firstStartFolder() / "TWO.BMP"));
    EXPECT_EQ(bytesOf(folder / "DRAG.ICO"), bytesOf(firstStartFolder() / "DRAG.ICO"));
    EXPECT_EQ(bytesOf(shared / "ONE.BMP"), schoolPicture) << "the shared folder is only read";
}

TEST(InstalledDefaults, AreFoundOnlyBesideABinFolderOfAnInstall) {
    TempDir temp;
    fs::create_directories(temp.path() / "usr/bin");
    fs::create_directories(temp.path() / "opt/tosbel");
    const std::string bin = pathText(temp.path() / "usr/bin");
    EXPECT_EQ(installedDefaultsFor(bin), "") << "no share/tosbel: a portable copy";
    fs::create_directories(temp.path() / "usr/share/tosbel");
    EXPECT_EQ(installedDefaultsFor(bin), pathText(temp.path() / "usr/share/tosbel"));
    EXPECT_EQ(installedDefaultsFor(bin + "/"), pathText(temp.path() / "usr/share/tosbel"));
    // A teacher's own folder that happens to be beside a share folder is not an install.
    fs::create_directories(temp.path() / "opt/share/tosbel");
    EXPECT_EQ(installedDefaultsFor(pathText(temp.path() / "opt/tosbel")), "");
}

class ChooseFolderTest : public ::testing::Test {
protected:
    TempDir temp;
    std::string at(const std::string& relative) const { return pathText(temp.path() / relative); }
};

TEST_F(ChooseFolderTest, WritableExecutableFolderIsThePortableInstall) {
    fs::create_directories(temp.path() / "exe");
    EXPECT_EQ(chooseProgramFolder(at("exe"), at("user/TOSBEL")), at("exe"));
    EXPECT_FALSE(fs::exists(temp.path() / "user")) << "the per-user folder stays untouched";
    EXPECT_TRUE(fs::is_empty(temp.path() / "exe")) << "the write probe is removed";
}

TEST_F(ChooseFolderTest, OtherwiseThePerUserFolderIsCreated) {
    // A folder under a plain file can be neither used nor created, even by root.
    spit(temp.path() / "file", "x");
    EXPECT_EQ(chooseProgramFolder(at("file/exe"), at("user/data/TOSBEL")), at("user/data/TOSBEL"));
    EXPECT_TRUE(fs::is_directory(temp.path() / "user/data/TOSBEL"));
    EXPECT_EQ(chooseProgramFolder(at("missing"), at("user/data/TOSBEL")), at("user/data/TOSBEL"));
}

TEST_F(ChooseFolderTest, NothingWritableAnswersEmpty) {
    spit(temp.path() / "file", "x");
    EXPECT_EQ(chooseProgramFolder(at("file/exe"), at("file/user")), "");
    EXPECT_EQ(chooseProgramFolder(at("file/exe"), ""), "");
}

// The program adds its default files only after its first window is painted.
class PaintCounter final : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(AfterFirstPaint, WaitsForAWindowToBePaintedAndRunsOnce) {
    QCoreApplication::processEvents();  // paints another test left pending
    PaintCounter window;
    window.resize(200, 100);
    int runs = 0;
    int paintsBeforeRun = -1;
    afterFirstPaint(
        [&] {
            ++runs;
            paintsBeforeRun = window.paints;
        },
        std::chrono::minutes(1));

    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0) << "nothing has been painted yet";

    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return runs > 0; }, 10000));
    EXPECT_GE(paintsBeforeRun, 1);

    window.update();
    QTest::qWait(50);
    EXPECT_EQ(runs, 1);
}

TEST(AfterFirstPaint, RunsAtTheDeadlineWhenNoWindowIsPainted) {
    int runs = 0;
    afterFirstPaint([&] { ++runs; }, std::chrono::milliseconds(20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return runs > 0; }, 10000));
    QTest::qWait(50);
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace tosbel

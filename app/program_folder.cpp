#include "app/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <array>
#include <functional>
#include <string_view>
#include <utility>

#include "app/default_pictures.h"
#include "platform/file_io.h"
#include "roster/roster_file.h"

namespace tosbel {

namespace {

QString q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// Creating a file is the only test that holds everywhere: permission bits say
// nothing about read-only mounts, access lists or a folder that is missing.
bool canCreateFileIn(const QString& folder) {
    if (!QFileInfo(folder).isDir()) return false;
    QTemporaryFile probe(folder + QStringLiteral("/.tosbel-probe-XXXXXX"));
    return probe.open();
}

struct DefaultFile {
    std::string name;
    std::function<bool(const std::string& path)> write;
};

bool writeBytes(const std::string& path, const std::string& bytes) {
    return !bytes.empty() && replaceFile(path, bytes);
}

const std::string kSampleRoster = "サンプル.MEM";

// A school's own countdown picture may be a large photograph.
constexpr std::size_t kLargestDefaultFile = 32 * 1024 * 1024;

std::vector<DefaultFile> defaultFiles() {
    static constexpr std::array<std::string_view, 10> kNames = {
        "ONE.BMP", "TWO.BMP",   "THREE.BMP", "FOUR.BMP", "FIVE.BMP",
        "SIX.BMP", "SEVEN.BMP", "EIGHT.BMP", "NINE.BMP", "TEN.BMP"};
    std::vector<DefaultFile> files;
    for (int n = 1; n <= 10; ++n) {
        files.push_back(
            {std::string(kNames.at(static_cast<std::size_t>(n - 1))), [n](const std::string& path) {
                 return writeBytes(path, bmpBytes(countdownPicture(n)));
             }});
    }
    files.push_back({"DRAG.ICO", [](const std::string& path) {
                         return writeBytes(path, icoBytes(nameCardIcon()));
                     }});
    files.push_back({"DRAG2.ICO", [](const std::string& path) {
                         return writeBytes(path, icoBytes(personIcon()));
                     }});
    files.push_back({kSampleRoster, [](const std::string& path) {
                         return writeRoster(path, sampleRosterNames()).error == FileError::None;
                     }});
    return files;
}

}  // namespace

const std::vector<std::string>& sampleRosterNames() {
    // Made-up pupils with common names; each fits a name box (8 bytes).
    static const std::vector<std::string> names = {
        "相田陽菜", "石川大翔", "上野美咲", "遠藤拓海", "大野結衣", "加藤悠斗",
        "木村沙織", "小林健太", "斉藤葵",   "佐藤翔太", "清水真央", "鈴木蓮",
        "高橋結菜", "田中颯太", "中村美月", "西田航",   "野口彩花", "橋本陸",
        "林未来",   "藤田愛",   "松本大和", "三浦七海", "村上優斗", "森本千尋",
        "山口湊",   "山田花子", "山本樹",   "吉田芽衣", "渡辺悠真", "和田杏奈",
    };
    return names;
}

std::string chooseProgramFolder(const std::string& executableFolder,
                                const std::string& userFolder) {
    if (canCreateFileIn(q(executableFolder))) return executableFolder;
    if (!userFolder.empty() && QDir().mkpath(q(userFolder)) && canCreateFileIn(q(userFolder)))
        return userFolder;
    return {};
}

std::string installedDefaultsFor(const std::string& executableFolder) {
    const QDir bin(q(executableFolder));
    if (bin.dirName() != QStringLiteral("bin")) return {};
    const QString shared = QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/tosbel")));
    return QFileInfo(shared).isDir() ? shared.toStdString() : std::string();
}

std::vector<std::string> defaultFileNames() {
    std::vector<std::string> names;
    for (const DefaultFile& f : defaultFiles()) names.push_back(f.name);
    return names;
}

std::vector<std::string> addMissingDefaultFiles(const std::string& folder,
                                                const std::string& installedDefaults) {
    // The sample roster is a first-start welcome: one the teacher deleted must
    // not come back on every start, as a missing countdown picture should.
    const bool firstStart = !QFileInfo::exists(q(folder + "/ONE.BMP"));
    std::vector<std::string> written;
    for (const DefaultFile& f : defaultFiles()) {
        const std::string path = folder + "/" + f.name;
        if (QFileInfo::exists(q(path))) continue;
        if (f.name == kSampleRoster && !firstStart) continue;
        // An installed file that cannot be read whole is drawn afresh instead.
        std::string installed;
        if (!installedDefaults.empty()) {
            const std::string source = installedDefaults + "/" + f.name;
            if (const auto bytes = readFileBytes(source, kLargestDefaultFile)) installed = *bytes;
        }
        // A file that cannot be written is left out: the program works without
        // it, and the countdown keeps the picture it has.
        const bool done = installed.empty() ? f.write(path) : writeBytes(path, installed);
        if (done) written.push_back(f.name);
    }
    return written;
}

ProgramFolder findProgramFolder() {
    const std::string executableFolder = QCoreApplication::applicationDirPath().toStdString();
    const std::string userFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    std::string defaults = installedDefaultsFor(executableFolder);
    // An installed program never writes beside its executable, even for root.
    std::string folder =
        chooseProgramFolder(defaults.empty() ? executableFolder : std::string(), userFolder);
    if (folder.empty()) return {executableFolder, false, std::move(defaults)};
    return {std::move(folder), true, std::move(defaults)};
}

}  // namespace tosbel

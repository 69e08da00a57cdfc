#include "app/program_folder.h"

#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

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

// One colour per number, so a child can tell the steps apart at a glance.
constexpr std::array<QRgb, 10> kCountdownColours = {
    0xE8575A,  // 1 coral
    0xF08A24,  // 2 orange
    0xD9A400,  // 3 gold
    0x4CAF50,  // 4 green
    0x1E9E8F,  // 5 teal
    0x2F8FD8,  // 6 sky
    0x4B5FC9,  // 7 indigo
    0x8E5BC8,  // 8 purple
    0xD6589A,  // 9 pink
    0xD64541,  // 10 red
};

// The countdown window is square (6000 × 6000 twips) and stretches its picture,
// so a square picture keeps the numeral round.
constexpr int kCountdownSide = 400;

QColor mix(QColor a, QColor b, double t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QImage countdownPicture(int number) {
    const QColor ink = QColor::fromRgb(kCountdownColours.at(static_cast<std::size_t>(number - 1)));
    const QColor white(Qt::white);
    const double side = kCountdownSide;

    QImage image(kCountdownSide, kCountdownSide, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, side);
    sky.setColorAt(0, mix(ink, white, 0.80));
    sky.setColorAt(1, mix(ink, white, 0.55));
    p.fillRect(image.rect(), sky);

    // A soft shadow under a white disc the numeral sits on.
    const QPointF centre(side / 2, side / 2);
    const double radius = side * 0.40;
    p.setPen(Qt::NoPen);
    p.setBrush(mix(ink, QColor(Qt::black), 0.35).lighter(150));
    p.drawEllipse(centre + QPointF(0, side * 0.02), radius, radius);
    p.setBrush(white);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(mix(ink, white, 0.35), side * 0.02));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius * 0.92, radius * 0.92);

    // The numeral as an outline scaled into the disc, so its size does not
    // depend on which font the machine has.
    QFont font;
    font.setFamilies({QStringLiteral("Arial Rounded MT Bold"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Black);
    font.setPixelSize(200);
    QPainterPath numeral;
    numeral.addText(0, 0, font, QString::number(number));
    const QRectF box = numeral.boundingRect();
    const double scale = std::min(radius * 1.05 / box.height(), radius * 1.25 / box.width());
    QTransform fit;
    fit.translate(centre.x(), centre.y());
    fit.scale(scale, scale);
    fit.translate(-box.center().x(), -box.center().y());
    numeral = fit.map(numeral);

    p.setPen(QPen(mix(ink, QColor(Qt::black), 0.30), side * 0.012, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.setBrush(ink);
    p.drawPath(numeral);
    p.end();
    return image;
}

constexpr int kIconSide = 32;

// A name card: what the teacher is moving when a name goes to another seat.
QImage nameCardIcon() {
    QImage image(kIconSide, kIconSide, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card(3.5, 7.5, 25, 18);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(card.translated(1.5, 1.5), 2.5, 2.5);
    p.setPen(QPen(QColor(40, 60, 90), 1));
    p.setBrush(QColor(255, 253, 240));
    p.drawRoundedRect(card, 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(47, 143, 216));
    p.drawRect(QRectF(4, 8, 24, 4));
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(QRectF(7, 15, 18, 2));
    p.drawRect(QRectF(7, 20, 12, 2));
    p.end();
    return image;
}

// A pupil: shown while the pointer is over a place where nobody sits.
QImage personIcon() {
    QImage image(kIconSide, kIconSide, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(90, 50, 20), 1.2);
    p.setPen(outline);
    p.setBrush(QColor(240, 138, 36));
    QPainterPath body;
    body.moveTo(5, 30);
    body.cubicTo(5, 19, 10, 17, 16, 17);
    body.cubicTo(22, 17, 27, 19, 27, 30);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(255, 224, 189));
    p.drawEllipse(QPointF(16, 10), 6.5, 6.5);
    p.end();
    return image;
}

void putLe16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void putLe32(std::string& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

// An icon file with one 32-bit image, written by hand: the ICO writer is a Qt
// plug-in that a deployment may leave out.
std::string icoBytes(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const auto w = static_cast<std::uint32_t>(image.width());
    const auto h = static_cast<std::uint32_t>(image.height());
    const std::uint32_t maskRow = ((w + 31) / 32) * 4;
    const std::uint32_t pixelBytes = w * h * 4;
    const std::uint32_t imageBytes = 40 + pixelBytes + maskRow * h;

    std::string out;
    putLe16(out, 0);  // reserved
    putLe16(out, 1);  // an icon, not a cursor
    putLe16(out, 1);  // one image
    out.push_back(static_cast<char>(w));
    out.push_back(static_cast<char>(h));
    out.push_back(0);  // no palette
    out.push_back(0);
    putLe16(out, 1);   // planes
    putLe16(out, 32);  // bits per pixel
    putLe32(out, imageBytes);
    putLe32(out, 6 + 16);  // the image follows this header and its one entry

    putLe32(out, 40);
    putLe32(out, w);
    putLe32(out, h * 2);  // the colour rows and the mask rows
    putLe16(out, 1);
    putLe16(out, 32);
    putLe32(out, 0);  // uncompressed
    putLe32(out, pixelBytes + maskRow * h);
    putLe32(out, 0);
    putLe32(out, 0);
    putLe32(out, 0);
    putLe32(out, 0);

    // Rows run bottom to top, each pixel blue, green, red, alpha.
    for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (std::uint32_t x = 0; x < w; ++x) {
            out.push_back(static_cast<char>(qBlue(row[x])));
            out.push_back(static_cast<char>(qGreen(row[x])));
            out.push_back(static_cast<char>(qRed(row[x])));
            out.push_back(static_cast<char>(qAlpha(row[x])));
        }
    }
    // The mask, for systems that ignore the alpha: a set bit is see-through.
    for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::string bits(maskRow, '\0');
        for (std::uint32_t x = 0; x < w; ++x)
            if (qAlpha(row[x]) < 128)
                bits[x / 8] = static_cast<char>(bits[x / 8] | (0x80 >> (x % 8)));
        out += bits;
    }
    return out;
}

std::string bmpBytes(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP")) return {};
    return data.toStdString();
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

#include "platform/qt/qt_settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QVariant>

namespace tosbel {

namespace {

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString address(std::string_view section, std::string_view key) {
    return text(section) + QLatin1Char('/') + text(key);
}

// Where Qt keeps a user's INI settings, named here so that it can be looked at
// before Qt reads it.
QString settingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/TOSBEL/TOSBEL.ini");
}

// Qt writes the settings to "TOSBEL.ini.XXXXXX" beside them and moves that
// over the file; a program killed in between leaves it there for good. Qt
// writes only while it holds "TOSBEL.ini.lock", so holding that lock no
// other copy of the program has one in flight.
void removeStaleTemporaries(const QString& file) {
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!lock.tryLock(1000)) return;
    const QFileInfo info(file);
    QDir folder = info.dir();
    const QRegularExpression temporary(QStringLiteral("^") +
                                       QRegularExpression::escape(info.fileName()) +
                                       QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (temporary.match(name).hasMatch()) folder.remove(name);
}

std::unique_ptr<QSettings> openSettings() {
    const QFileInfo info(settingsFile());
    if (info.exists() && !info.isFile()) return nullptr;
    removeStaleTemporaries(settingsFile());
    return std::make_unique<QSettings>(settingsFile(), QSettings::IniFormat);
}

}  // namespace

QtSettingsStore::QtSettingsStore() : settings_(openSettings()) {}

QtSettingsStore::~QtSettingsStore() = default;

std::string QtSettingsStore::read(std::string_view section, std::string_view key) {
    if (!settings_) {
        const auto it = unkept_.find({std::string(section), std::string(key)});
        return it == unkept_.end() ? std::string() : it->second;
    }
    return settings_->value(address(section, key), QString()).toString().toStdString();
}

bool QtSettingsStore::save(std::string_view section, std::string_view key, std::string_view value) {
    if (!settings_) {
        unkept_[{std::string(section), std::string(key)}] = std::string(value);
        return false;
    }
    // Start-up writes back values already stored: leaving the file alone then
    // spares a rewrite and a flush to disk at every start.
    const QString at = address(section, key);
    const QString wanted = text(value);
    if (settings_->contains(at) && settings_->value(at).toString() == wanted)
        return settings_->status() == QSettings::NoError;
    settings_->setValue(at, wanted);
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

void QtSettingsStore::refresh() {
    // Qt reads the file again when another process has changed it.
    if (settings_) settings_->sync();
}

std::string QtSettingsStore::location() const {
    return settingsFile().toStdString();
}

}  // namespace tosbel

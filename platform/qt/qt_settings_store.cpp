#include "platform/qt/qt_settings_store.h"

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

#ifdef _WIN32
constexpr QSettings::Format kFormat = QSettings::NativeFormat;
#else
constexpr QSettings::Format kFormat = QSettings::IniFormat;
#endif

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(kFormat, QSettings::UserScope, QStringLiteral("TOSBEL"), QStringLiteral("TOSBEL")) {
}

std::string QtSettingsStore::read(std::string_view section, std::string_view key) {
    return settings_.value(address(section, key), QString()).toString().toStdString();
}

void QtSettingsStore::save(std::string_view section, std::string_view key, std::string_view value) {
    settings_.setValue(address(section, key), text(value));
    settings_.sync();
}

}  // namespace tosbel

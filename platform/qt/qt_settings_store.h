#pragma once

#include <QSettings>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/settings_store.h"

namespace tosbel {

// The teacher's options in an INI file where the desktop keeps per-user
// settings (~/.config/TOSBEL/TOSBEL.ini); Windows uses the registry instead.
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    ~QtSettingsStore() override;

    std::string read(std::string_view section, std::string_view key) override;
    // Written through at once, so the value survives a crash or a power cut.
    bool save(std::string_view section, std::string_view key, std::string_view value) override;
    std::string location() const override;
    void refresh() override;

private:
    // None when the settings file is a pipe or a device: reading one would
    // never end. The options of the run are then kept in memory only.
    std::unique_ptr<QSettings> settings_;
    std::map<std::pair<std::string, std::string>, std::string> unkept_;
};

}  // namespace tosbel

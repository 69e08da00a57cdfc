#pragma once

#include <QSettings>

#include "platform/settings_store.h"

namespace tosbel {

// The teacher's options, kept where the system keeps per-user settings: the
// registry on Windows, an INI file elsewhere (~/.config/TOSBEL/TOSBEL.ini).
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();

    std::string read(std::string_view section, std::string_view key) override;
    // Written through at once, so the value survives a crash or a power cut.
    void save(std::string_view section, std::string_view key, std::string_view value) override;

private:
    QSettings settings_;
};

}  // namespace tosbel

#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/settings_store.h"

namespace tosbel {

// The settings store of the tests: plain memory, with every save kept in order
// so a test can tell what was written and when.
class MemorySettingsStore final : public SettingsStore {
public:
    using Address = std::pair<std::string, std::string>;  // section, key

    std::string read(std::string_view section, std::string_view key) override;
    bool save(std::string_view section, std::string_view key, std::string_view value) override;

    // A full disk or a read-only settings file: every save fails, nothing is kept.
    bool failSaves = false;

    const std::map<Address, std::string>& values() const { return values_; }
    const std::vector<Address>& saves() const { return saves_; }

private:
    std::map<Address, std::string> values_;
    std::vector<Address> saves_;
};

}  // namespace tosbel

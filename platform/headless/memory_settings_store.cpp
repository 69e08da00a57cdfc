#include "platform/headless/memory_settings_store.h"

namespace tosbel {

std::string MemorySettingsStore::read(std::string_view section, std::string_view key) {
    const auto it = values_.find({std::string(section), std::string(key)});
    return it == values_.end() ? std::string() : it->second;
}

bool MemorySettingsStore::save(std::string_view section, std::string_view key,
                               std::string_view value) {
    if (failSaves) return false;
    Address address{std::string(section), std::string(key)};
    values_[address] = std::string(value);
    saves_.push_back(std::move(address));
    return true;
}

}  // namespace tosbel

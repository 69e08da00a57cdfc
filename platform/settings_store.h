#pragma once

#include <string>
#include <string_view>

namespace tosbel {

// The per-user option store: text values by section and key, all under the
// program's one application name. A missing key reads as the empty text, so the
// program never has to tell "absent" from "empty".
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string read(std::string_view section, std::string_view key) = 0;
    virtual void save(std::string_view section, std::string_view key, std::string_view value) = 0;
};

}  // namespace tosbel

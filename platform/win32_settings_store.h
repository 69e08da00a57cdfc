#pragma once

#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace tosbel {

// The settings store of Windows: HKEY_CURRENT_USER\<root>\<section>, each key a
// text value (REG_SZ) under its plain name, "Koma(0)" as it is.
class RegistrySettingsStore final : public SettingsStore {
public:
    // The root is a subkey of HKEY_CURRENT_USER; tests give one of their own.
    explicit RegistrySettingsStore(std::string root = "Software\\TOSBEL");

    std::string read(std::string_view section, std::string_view key) override;
    bool save(std::string_view section, std::string_view key, std::string_view value) override;
    std::string location() const override;

private:
    std::wstring subkey(std::string_view section) const;

    std::string root_;
};

// UTF-8 and UTF-16 as the registry holds text; text that is not UTF-8 gives "".
std::wstring wideOfUtf8(std::string_view text);
std::string utf8OfWide(std::wstring_view text);

}  // namespace tosbel

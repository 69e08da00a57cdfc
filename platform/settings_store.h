#pragma once

#include <string>
#include <string_view>

namespace tosbel {

class Platform;

// The per-user option store: text values by section and key, all under the
// program's one application name. A missing key reads as the empty text, so the
// program never has to tell "absent" from "empty".
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string read(std::string_view section, std::string_view key) = 0;
    // False when the value could not be kept (a read-only or unwritable file).
    virtual bool save(std::string_view section, std::string_view key, std::string_view value) = 0;
    // Where the values are kept, in words the teacher can look for; may be empty.
    virtual std::string location() const { return {}; }
    // Takes in what another copy of the program has saved since, before a
    // value is read, changed and saved back.
    virtual void refresh() {}
};

// The store every window uses: the platform's own, telling the teacher once per
// run when a setting could not be kept. Options keep working for the run.
class NoticingSettingsStore final : public SettingsStore {
public:
    NoticingSettingsStore(SettingsStore& store, Platform& platform)
        : store_(store), platform_(platform) {}

    std::string read(std::string_view section, std::string_view key) override {
        return store_.read(section, key);
    }
    bool save(std::string_view section, std::string_view key, std::string_view value) override;
    std::string location() const override { return store_.location(); }
    void refresh() override { store_.refresh(); }

private:
    SettingsStore& store_;
    Platform& platform_;
    bool told_ = false;
};

}  // namespace tosbel

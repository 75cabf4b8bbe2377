#pragma once

#include <map>
#include <string>
#include <string_view>

#include "stddb/settings_store.h"

namespace stddb {

// The settings store kept in memory, for tests, benchmarks and the demo road: one value per section and
// key, as the per-user store keeps them. With refuseWrites, saves and deletions fail as they fail on a
// settings file the user cannot write: the value still reads back for the run.
class MemorySettingsStore final : public SettingsStore {
public:
    std::u16string GetSetting(std::u16string_view section, std::u16string_view key) override;
    tiermark::Result<void> SaveSetting(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view value) override;
    tiermark::Result<void> DeleteSetting(std::u16string_view section, std::u16string_view key) override;
    std::u16string location() const override { return std::u16string(kLocation); }

    // Every stored value by "section/key".
    std::map<std::u16string, std::u16string> values;
    bool refuseWrites = false;

    static constexpr std::u16string_view kLocation =
        u"/home/user/.config/VB and VBA Program Settings/Tiermark.conf";
};

}  // namespace stddb

#pragma once

#include <map>
#include <string>
#include <string_view>

#include "stddb/settings_store.h"

namespace stddb {

// The settings store kept in memory, for tests, benchmarks and the demo road: one value per section and
// key, as the per-user store keeps them.
class MemorySettingsStore final : public SettingsStore {
public:
    std::u16string GetSetting(std::u16string_view section, std::u16string_view key) override;
    void SaveSetting(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) override;
    void DeleteSetting(std::u16string_view section, std::u16string_view key) override;

    // Every stored value by "section/key".
    std::map<std::u16string, std::u16string> values;
};

}  // namespace stddb

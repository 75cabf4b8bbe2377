#include "stddb/memory_settings_store.h"

namespace stddb {
namespace {

std::u16string settingKey(std::u16string_view section, std::u16string_view key) {
    return std::u16string(section) + u"/" + std::u16string(key);
}

}  // namespace

std::u16string MemorySettingsStore::GetSetting(std::u16string_view section, std::u16string_view key) {
    auto it = values.find(settingKey(section, key));
    return it == values.end() ? std::u16string() : it->second;
}

void MemorySettingsStore::SaveSetting(std::u16string_view section, std::u16string_view key,
                                      std::u16string_view value) {
    values[settingKey(section, key)] = std::u16string(value);
}

void MemorySettingsStore::DeleteSetting(std::u16string_view section, std::u16string_view key) {
    values.erase(settingKey(section, key));
}

}  // namespace stddb

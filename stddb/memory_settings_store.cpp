#include "stddb/memory_settings_store.h"

namespace stddb {
namespace {

std::u16string settingKey(std::u16string_view section, std::u16string_view key) {
    return std::u16string(section) + u"/" + std::u16string(key);
}

tiermark::Result<void> written(bool refused) {
    if (refused) {
        return tiermark::makeError("the settings cannot be written");
    }
    return {};
}

}  // namespace

std::u16string MemorySettingsStore::GetSetting(std::u16string_view section, std::u16string_view key) {
    auto it = values.find(settingKey(section, key));
    return it == values.end() ? std::u16string() : it->second;
}

tiermark::Result<void> MemorySettingsStore::SaveSetting(std::u16string_view section, std::u16string_view key,
                                                        std::u16string_view value) {
    values[settingKey(section, key)] = std::u16string(value);
    return written(refuseWrites);
}

tiermark::Result<void> MemorySettingsStore::DeleteSetting(std::u16string_view section,
                                                          std::u16string_view key) {
    values.erase(settingKey(section, key));
    return written(refuseWrites);
}

}  // namespace stddb

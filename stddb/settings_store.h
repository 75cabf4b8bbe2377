#pragma once

#include <string>
#include <string_view>

namespace stddb {

// The per-user application settings of the program, one text value per section and key. A missing value
// reads as empty text; deleting a missing value is no error.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::u16string GetSetting(std::u16string_view section, std::u16string_view key) = 0;
    virtual void SaveSetting(std::u16string_view section, std::u16string_view key,
                             std::u16string_view value) = 0;
    virtual void DeleteSetting(std::u16string_view section, std::u16string_view key) = 0;
};

inline constexpr std::u16string_view kSectionDatabase = u"DBSET";
inline constexpr std::u16string_view kKeyDatabasePath = u"DBFOLDER";
inline constexpr std::u16string_view kSectionLife = u"Life";
inline constexpr std::u16string_view kKeyDefaultStage = u"DefAction";

}  // namespace stddb

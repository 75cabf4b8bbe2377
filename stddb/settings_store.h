#pragma once

#include <string>
#include <string_view>

#include "common/result.h"

namespace stddb {

// The per-user application settings of the program, one text value per section and key. A missing value
// reads as empty text; deleting a missing value is no error. A value that could not be stored (a settings
// file the user cannot write, a read-only home) still reads back for the rest of the run, and the save
// reports the failure, so that the form can say so instead of looking as if it were stored.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::u16string GetSetting(std::u16string_view section, std::u16string_view key) = 0;
    virtual tiermark::Result<void> SaveSetting(std::u16string_view section, std::u16string_view key,
                                               std::u16string_view value) = 0;
    virtual tiermark::Result<void> DeleteSetting(std::u16string_view section, std::u16string_view key) = 0;
    // Where the values are kept, as the user would look for it: the settings file, or the registry key.
    virtual std::u16string location() const = 0;
};

inline constexpr std::u16string_view kSectionDatabase = u"DBSET";
inline constexpr std::u16string_view kKeyDatabasePath = u"DBFOLDER";
inline constexpr std::u16string_view kSectionLife = u"Life";
inline constexpr std::u16string_view kKeyDefaultStage = u"DefAction";

// The longest path a file can have (the Windows limit, in UTF-16 units). A stored text that is longer names
// no file: it counts as no registration at all.
inline constexpr std::size_t kLongestPath = 32767;

// The registered database path: "DBSET" / "DBFOLDER", empty when none is registered.
inline std::u16string registeredDatabasePath(SettingsStore& settings) {
    std::u16string path = settings.GetSetting(kSectionDatabase, kKeyDatabasePath);
    return path.size() > kLongestPath ? std::u16string() : path;
}

// What a form tells the user when a setting could not be stored: what was not stored, then where.
inline constexpr std::u16string_view kRegistrationNotStored =
    u"データベースの登録を保存できませんでした。この登録は今回の起動の間だけ有効です。";
inline constexpr std::u16string_view kErasureNotStored =
    u"登録の消去を保存できませんでした。次回の起動時にも登録は残ります。";
inline constexpr std::u16string_view kDefaultStageNotStored =
    u"開始時のライフサイクルの設定を保存できませんでした。この設定は今回の起動の間だけ有効です。";
inline std::u16string notStoredMessage(std::u16string_view what, std::u16string_view location) {
    return std::u16string(what) + u"\r保存先：" + std::u16string(location) +
           u"\r保存先に書き込めるか確認してください。";
}

}  // namespace stddb

#pragma once

#include <QSettings>
#include <QString>

#include <map>
#include <memory>
#include <optional>

#include "stddb/settings_store.h"

namespace stddb {

// The settings store on QSettings: organisation "VB and VBA Program Settings", application "Tiermark",
// one value per "<section>/<key>". On Windows the native format puts them under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Tiermark\<section>\<key>, where an existing
// registration of the program lives; elsewhere they go to the per-user configuration file
// "<config>/VB and VBA Program Settings/Tiermark.conf" (INI format).
//
// A settings file that is there but is not a regular file (a FIFO, a folder, a device) is never handed to
// QSettings, which would wait on it for ever: the store then reads as empty and keeps what is saved for the
// run only, and openingProblem() says so. Each save or deletion is written at once and judged on its own;
// when it cannot be written, the value still reads back for the rest of the run and the call fails.
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    // An explicit settings file in INI format (for tests and portable use).
    explicit QtSettingsStore(const QString& iniFilePath);
    ~QtSettingsStore() override;

    std::u16string GetSetting(std::u16string_view section, std::u16string_view key) override;
    tiermark::Result<void> SaveSetting(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view value) override;
    tiermark::Result<void> DeleteSetting(std::u16string_view section, std::u16string_view key) override;
    std::u16string location() const override;

    // The message for the user when the settings file could not be used at all; empty when it could.
    std::u16string openingProblem() const;

private:
    tiermark::Result<void> store(const QString& key, std::optional<QString> value);
    // A QSettings on the store's file or registry key; nothing when the file is there but not a regular file.
    std::unique_ptr<QSettings> open() const;
    bool usable() const;

    QString m_file;  // empty for the native registry
    std::unique_ptr<QSettings> m_reader;
    bool m_unusableAtStart = false;
    // Values saved or deleted during this run that could not be written: they read back as saved.
    std::map<QString, std::optional<QString>> m_unsaved;
};

inline constexpr const char* kSettingsOrganisation = "VB and VBA Program Settings";
inline constexpr const char* kSettingsApplication = "Tiermark";

// The message when the settings file is not a regular file: "<file>" is where it was looked for.
inline constexpr std::u16string_view kSettingsFileUnusable =
    u"設定ファイルが通常のファイルではないため、読み込めませんでした。登録のない状態で起動します。";

}  // namespace stddb

#pragma once

#include <QSettings>
#include <QString>

#include <memory>

#include "stddb/settings_store.h"

namespace stddb {

// The settings store on QSettings: organisation "VB and VBA Program Settings", application "Tiermark",
// one value per "<section>/<key>". On Windows the native format puts them under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Tiermark\<section>\<key>, where an existing
// registration of the program lives; elsewhere they go to the per-user configuration.
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    // An explicit settings file in INI format (for tests and portable use).
    explicit QtSettingsStore(const QString& iniFilePath);

    std::u16string GetSetting(std::u16string_view section, std::u16string_view key) override;
    void SaveSetting(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) override;
    void DeleteSetting(std::u16string_view section, std::u16string_view key) override;

private:
    std::unique_ptr<QSettings> m_settings;
};

inline constexpr const char* kSettingsOrganisation = "VB and VBA Program Settings";
inline constexpr const char* kSettingsApplication = "Tiermark";

}  // namespace stddb

#include "stddb/qt_settings_store.h"

namespace stddb {

namespace {

QString keyPath(std::u16string_view section, std::u16string_view key) {
    return QString::fromUtf16(section.data(), static_cast<qsizetype>(section.size())) + QLatin1Char('/') +
           QString::fromUtf16(key.data(), static_cast<qsizetype>(key.size()));
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QString::fromLatin1(kSettingsOrganisation),
                                             QString::fromLatin1(kSettingsApplication))) {}

QtSettingsStore::QtSettingsStore(const QString& iniFilePath)
    : m_settings(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat)) {}

std::u16string QtSettingsStore::GetSetting(std::u16string_view section, std::u16string_view key) {
    return m_settings->value(keyPath(section, key)).toString().toStdU16String();
}

void QtSettingsStore::SaveSetting(std::u16string_view section, std::u16string_view key,
                                  std::u16string_view value) {
    m_settings->setValue(keyPath(section, key),
                         QString::fromUtf16(value.data(), static_cast<qsizetype>(value.size())));
    m_settings->sync();
}

void QtSettingsStore::DeleteSetting(std::u16string_view section, std::u16string_view key) {
    m_settings->remove(keyPath(section, key));
    m_settings->sync();
}

}  // namespace stddb

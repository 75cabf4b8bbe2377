#include "stddb/qt_settings_store.h"

#include <QDir>
#include <QStandardPaths>

#include <filesystem>

namespace stddb {

namespace {

QString keyPath(std::u16string_view section, std::u16string_view key) {
    return QString::fromUtf16(section.data(), static_cast<qsizetype>(section.size())) + QLatin1Char('/') +
           QString::fromUtf16(key.data(), static_cast<qsizetype>(key.size()));
}

// The per-user settings file where the platform keeps application settings in files; empty where they
// live in the registry. This is the file QSettings's native format uses, named explicitly so that no
// organisation-wide or system-wide fallback file is read besides it.
QString defaultSettingsFile() {
#ifdef _WIN32
    return {};
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           QLatin1String(kSettingsOrganisation) + QLatin1Char('/') + QLatin1String(kSettingsApplication) +
           QStringLiteral(".conf");
#endif
}

// True unless the file is there and is something other than a regular file (a link is judged by what it
// leads to). A missing file, or one that cannot be looked at, is QSettings's to handle: it reads as empty.
bool regularOrMissing(const QString& file) {
    std::error_code error;
    const auto status = std::filesystem::status(std::filesystem::path(file.toStdU16String()), error);
    if (error || status.type() == std::filesystem::file_type::not_found) {
        return true;
    }
    return status.type() == std::filesystem::file_type::regular;
}

}  // namespace

QtSettingsStore::QtSettingsStore() : QtSettingsStore(defaultSettingsFile()) {}

QtSettingsStore::QtSettingsStore(const QString& iniFilePath) : m_file(iniFilePath) {
    m_reader = open();
    m_unusableAtStart = m_reader == nullptr;
}

QtSettingsStore::~QtSettingsStore() = default;

bool QtSettingsStore::usable() const {
    return m_file.isEmpty() || regularOrMissing(m_file);
}

std::unique_ptr<QSettings> QtSettingsStore::open() const {
    if (m_file.isEmpty()) {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QString::fromLatin1(kSettingsOrganisation),
                                           QString::fromLatin1(kSettingsApplication));
    }
    if (!usable()) {
        return nullptr;
    }
    return std::make_unique<QSettings>(m_file, QSettings::IniFormat);
}

std::u16string QtSettingsStore::GetSetting(std::u16string_view section, std::u16string_view key) {
    const QString path = keyPath(section, key);
    if (auto unsaved = m_unsaved.find(path); unsaved != m_unsaved.end()) {
        return unsaved->second.value_or(QString()).toStdU16String();
    }
    if (!m_reader) {
        return {};
    }
    return m_reader->value(path).toString().toStdU16String();
}

tiermark::Result<void> QtSettingsStore::SaveSetting(std::u16string_view section, std::u16string_view key,
                                                    std::u16string_view value) {
    return store(keyPath(section, key),
                 QString::fromUtf16(value.data(), static_cast<qsizetype>(value.size())));
}

tiermark::Result<void> QtSettingsStore::DeleteSetting(std::u16string_view section, std::u16string_view key) {
    return store(keyPath(section, key), std::nullopt);
}

tiermark::Result<void> QtSettingsStore::store(const QString& key, std::optional<QString> value) {
    // QSettings keeps the first error it meets for the life of the object, so each write gets a fresh one
    // whose status speaks of this write alone. The reader never writes; it takes the new file in on sync().
    std::unique_ptr<QSettings> writer = m_reader ? open() : nullptr;
    if (!writer) {
        m_unsaved[key] = std::move(value);
        return tiermark::makeError("the settings file is not a regular file");
    }
    if (value) {
        writer->setValue(key, *value);
    } else {
        writer->remove(key);
    }
    writer->sync();
    const QSettings::Status status = writer->status();
    writer.reset();
    if (status != QSettings::NoError) {
        m_unsaved[key] = std::move(value);
        return tiermark::makeError(status == QSettings::AccessError ? "the settings cannot be written"
                                                                    : "the settings file is malformed");
    }
    m_unsaved.erase(key);
    if (usable()) {
        m_reader->sync();
    }
    return {};
}

std::u16string QtSettingsStore::location() const {
    if (m_file.isEmpty()) {
        return QStringLiteral("HKEY_CURRENT_USER\\Software\\%1\\%2")
            .arg(QLatin1String(kSettingsOrganisation), QLatin1String(kSettingsApplication))
            .toStdU16String();
    }
    return QDir::toNativeSeparators(m_file).toStdU16String();
}

std::u16string QtSettingsStore::openingProblem() const {
    if (!m_unusableAtStart) {
        return {};
    }
    return std::u16string(kSettingsFileUnusable) + u"\r保存先：" + location();
}

}  // namespace stddb

#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "stddb/database.h"
#include "tools/mdbwriter/mdb_writer.h"

namespace stddb::testing {

inline Column text(std::u16string name, int length = 255) {
    return {std::move(name), ColumnType::Text, length};
}
inline Column integer(std::u16string name) {
    return {std::move(name), ColumnType::Integer, 0};
}
inline Column longint(std::u16string name) {
    return {std::move(name), ColumnType::Long, 0};
}
inline Column real(std::u16string name) {
    return {std::move(name), ColumnType::Double, 0};
}
inline Value v(const char16_t* text) {
    return Value{std::u16string(text)};
}
inline Value v(std::int64_t number) {
    return Value{number};
}
inline Value v(int number) {
    return Value{std::int64_t{number}};
}
inline Value v(double number) {
    return Value{number};
}
inline const Value kNull{};

// A folder of its own under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path =
            std::filesystem::temp_directory_path() /
            ("tiermark-stddb-" + std::string(info ? info->name() : "x") + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(m_path / "locked.mdb", std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    const std::filesystem::path& path() const { return m_path; }

    std::filesystem::path write(const std::string& name, const std::vector<Table>& tables,
                                std::u16string_view password = u"947215036382") const {
        const auto file = m_path / name;
        auto written = mdbwriter::writeJet4(tables, password, file);
        EXPECT_TRUE(written.ok()) << (written.ok() ? "" : written.error().message);
        return file;
    }
    std::filesystem::path writeBytes(const std::string& name, const std::string& bytes) const {
        const auto file = m_path / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

private:
    std::filesystem::path m_path;
};

inline std::u16string u16path(const std::filesystem::path& path) {
    return path.u16string();
}

}  // namespace stddb::testing

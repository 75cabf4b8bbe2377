#include "stddb/shared_database.h"

namespace stddb {

SharedDatabase::~SharedDatabase() {
    release();
}

tiermark::Result<void> SharedDatabase::open(Workspace& workspace, const std::u16string& path) {
    m_workspace = &workspace;
    auto database = workspace.OpenDatabase(path, false, false, kConnectString);
    if (!database) {
        return database.error();
    }
    m_rows.reset();
    m_database = std::move(database.value());
    return {};
}

tiermark::Result<SharedRows> SharedDatabase::openShared(std::u16string_view table,
                                                        std::u16string_view filter) {
    m_rows.reset();
    if (!m_database) {
        return tiermark::makeError("no database is open");
    }
    auto opened = m_database->OpenRecordset(table);
    if (!opened) {
        return opened.error();
    }
    m_rows = std::move(opened.value());
    SharedRows rows(*this, ++m_generation);
    if (!filter.empty()) {
        if (auto narrowed = rows.narrow(filter); !narrowed) {
            return narrowed.error();  // the guard ends here and releases the unfiltered set
        }
    }
    return rows;
}

void SharedDatabase::releaseRows(std::uint64_t generation) {
    if (generation == m_generation) {
        m_rows.reset();
    }
}

void SharedDatabase::release() {
    m_rows.reset();
    m_database.reset();
    m_workspace = nullptr;
}

SharedRows::SharedRows(SharedRows&& other) noexcept
    : m_owner(other.m_owner), m_generation(other.m_generation) {
    other.m_owner = nullptr;
}

SharedRows::~SharedRows() {
    if (m_owner != nullptr) {
        m_owner->releaseRows(m_generation);
    }
}

tiermark::Result<void> SharedRows::narrow(std::u16string_view filter) {
    Recordset& held = **this;
    held.Filter = std::u16string(filter);
    auto filtered = held.OpenRecordset();
    if (!filtered) {
        return filtered.error();
    }
    m_owner->m_rows = std::move(filtered.value());
    return {};
}

}  // namespace stddb

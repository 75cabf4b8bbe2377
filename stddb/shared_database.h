#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/result.h"
#include "stddb/database.h"

namespace stddb {

class SharedRows;

// The layer-standard database that the forms share: the workspace and the database that the builder's
// start-up opened, the one current result set of the builder's queries, and the registered path as that
// start-up last read it. The database is released only at shut-down; the result set after every query:
// opening it hands out a SharedRows guard whose end releases it, so that no handler can forget to.
class SharedDatabase {
public:
    SharedDatabase() = default;
    ~SharedDatabase();
    SharedDatabase(const SharedDatabase&) = delete;
    SharedDatabase& operator=(const SharedDatabase&) = delete;

    const std::u16string& registeredPath() const { return m_registeredPath; }
    void setRegisteredPath(std::u16string path) { m_registeredPath = std::move(path); }

    // Opens the database at path in the workspace with the program's connect string, in place of the one
    // open before. When that fails, the database open before stays open.
    tiermark::Result<void> open(Workspace& workspace, const std::u16string& path);
    // The open database, for a query through a result set of the caller's own; nullptr when none is open.
    Database* get() const { return m_database.get(); }

    // The query idiom of the builder: opens the table as a dynaset into the shared result set and, when a
    // filter is given, opens the filtered result set in its place. Fails when no database is open, the table
    // is missing or the filter is invalid; nothing is held then.
    tiermark::Result<SharedRows> openShared(std::u16string_view table, std::u16string_view filter = {});
    // The shared result set while a guard holds it; nullptr otherwise.
    const Recordset* currentRows() const { return m_rows.get(); }

    // Sets the result set, the database and the workspace to nothing, in that order.
    void release();

private:
    friend class SharedRows;
    void releaseRows(std::uint64_t generation);

    Workspace* m_workspace = nullptr;
    std::unique_ptr<Database> m_database;
    std::unique_ptr<Recordset> m_rows;
    // Counts the openings of the shared result set: a guard releases only the set it opened.
    std::uint64_t m_generation = 0;
    std::u16string m_registeredPath;
};

// The shared result set, held for one query; the set is set to nothing when the guard ends. There is one
// shared result set: opening another one replaces it, and the older guard then no longer releases it.
class SharedRows {
public:
    SharedRows(SharedRows&& other) noexcept;
    SharedRows& operator=(SharedRows&&) = delete;
    SharedRows(const SharedRows&) = delete;
    SharedRows& operator=(const SharedRows&) = delete;
    ~SharedRows();

    Recordset& operator*() const { return *m_owner->m_rows; }
    Recordset* operator->() const { return m_owner->m_rows.get(); }

    // Sets the filter of the held set and opens the filtered result set in its place. When the filtered set
    // cannot be opened, the held set stays (with its filter set) and the reason is returned.
    tiermark::Result<void> narrow(std::u16string_view filter);

private:
    friend class SharedDatabase;
    SharedRows(SharedDatabase& owner, std::uint64_t generation) : m_owner(&owner), m_generation(generation) {}

    SharedDatabase* m_owner;
    std::uint64_t m_generation;
};

}  // namespace stddb

#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "stddb/database.h"

namespace stddb {

// A database whose tables are held in memory, built from code. Tables are looked up by name as the
// engine does (ASCII case ignored).
class MemoryDatabase : public Database {
public:
    MemoryDatabase() = default;
    explicit MemoryDatabase(std::vector<Table> tables);
    MemoryDatabase(std::vector<std::shared_ptr<const Table>> tables)
        : m_tables(std::move(tables)) {}  // NOLINT

    void addTable(Table table);
    tiermark::Result<std::unique_ptr<Recordset>> OpenRecordset(std::u16string_view table) override;
    // Indexes this database's copies of the planned tables (the workspace's tables stay as they are).
    tiermark::Result<void> Preload(const std::vector<TablePlan>& plans) override;

private:
    std::vector<std::shared_ptr<const Table>> m_tables;
};

// A workspace that opens in-memory databases registered under a path, with an optional database password
// checked against the connect string as the engine checks it. Each open gives a fresh database object
// over the same tables.
class MemoryWorkspace : public Workspace {
public:
    void addDatabase(std::u16string path, std::vector<Table> tables, std::u16string password = {});
    tiermark::Result<std::unique_ptr<Database>> OpenDatabase(const std::u16string& path, bool exclusive,
                                                             bool readOnly,
                                                             std::u16string_view connect) override;
    int openCount() const { return m_openCount; }

private:
    struct Entry {
        std::vector<std::shared_ptr<const Table>> tables;
        std::u16string password;
    };
    std::map<std::u16string, Entry> m_databases;
    int m_openCount = 0;
};

}  // namespace stddb

#include "stddb/memory_database.h"

#include <algorithm>
#include <numeric>

#include "common/utf.h"
#include "stddb/connect_string.h"
#include "stddb/table_index.h"
#include "stddb/text_compare.h"

namespace stddb {

MemoryDatabase::MemoryDatabase(std::vector<Table> tables) {
    for (Table& table : tables) {
        addTable(std::move(table));
    }
}

void MemoryDatabase::addTable(Table table) {
    m_tables.push_back(std::make_shared<const Table>(std::move(table)));
}

tiermark::Result<std::unique_ptr<Recordset>> MemoryDatabase::OpenRecordset(std::u16string_view table) {
    for (const auto& candidate : m_tables) {
        if (equalsIgnoringAsciiCase(candidate->name, table)) {
            std::vector<std::size_t> rows(candidate->rows.size());
            std::iota(rows.begin(), rows.end(), std::size_t{0});
            return std::make_unique<Recordset>(candidate, std::move(rows));
        }
    }
    return tiermark::makeError("the database has no table named " + tiermark::toUtf8(table));
}

tiermark::Result<void> MemoryDatabase::Preload(const std::vector<TablePlan>& plans) {
    for (const TablePlan& plan : plans) {
        auto found = std::find_if(m_tables.begin(), m_tables.end(), [&plan](const auto& table) {
            return equalsIgnoringAsciiCase(table->name, plan.table);
        });
        if (found == m_tables.end()) {
            continue;
        }
        auto indexed = std::make_shared<Table>(**found);
        for (const auto& fields : plan.indexes) {
            (void)addIndexes(*indexed, {fields});
        }
        *found = std::move(indexed);
    }
    return {};
}

void MemoryWorkspace::addDatabase(std::u16string path, std::vector<Table> tables, std::u16string password) {
    Entry entry;
    for (Table& table : tables) {
        entry.tables.push_back(std::make_shared<const Table>(std::move(table)));
    }
    entry.password = std::move(password);
    m_databases[std::move(path)] = std::move(entry);
}

tiermark::Result<std::unique_ptr<Database>> MemoryWorkspace::OpenDatabase(const std::u16string& path, bool,
                                                                          bool, std::u16string_view connect) {
    const auto found = m_databases.find(path);
    if (found == m_databases.end()) {
        return tiermark::makeError("database file not found: " + tiermark::toUtf8(path));
    }
    if (!found->second.password.empty() && passwordFromConnect(connect) != found->second.password) {
        return tiermark::makeError("not a valid password");
    }
    ++m_openCount;
    return std::unique_ptr<Database>(std::make_unique<MemoryDatabase>(found->second.tables));
}

}  // namespace stddb

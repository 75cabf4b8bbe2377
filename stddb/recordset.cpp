#include <utility>

#include "common/utf.h"
#include "stddb/database.h"
#include "stddb/filter.h"

namespace stddb {

Recordset::Recordset(std::shared_ptr<const Table> table, std::vector<std::size_t> rows)
    : m_table(std::move(table)), m_rows(std::move(rows)) {}

bool Recordset::Eof() const {
    return m_position >= m_rows.size();
}

tiermark::Result<void> Recordset::MoveFirst() {
    if (m_rows.empty()) {
        return tiermark::makeError("no current record");
    }
    m_position = 0;
    return {};
}

tiermark::Result<void> Recordset::MoveNext() {
    if (Eof()) {
        return tiermark::makeError("no current record");
    }
    ++m_position;
    return {};
}

tiermark::Result<Value> Recordset::Field(std::u16string_view name) const {
    const int column = m_table->columnIndex(name);
    if (column < 0) {
        return tiermark::makeError("item not found in this collection: field " + tiermark::toUtf8(name) +
                                   " of table " + tiermark::toUtf8(m_table->name));
    }
    if (Eof()) {
        return tiermark::makeError("no current record");
    }
    const std::vector<Value>& row = m_table->rows[m_rows[m_position]];
    const auto index = static_cast<std::size_t>(column);
    return index < row.size() ? row[index] : Value{};
}

tiermark::Result<std::unique_ptr<Recordset>> Recordset::OpenRecordset() const {
    auto terms = parseFilter(Filter);
    if (!terms) {
        return terms.error();
    }
    auto rows = applyFilter(*m_table, m_rows, terms.value());
    if (!rows) {
        return rows.error();
    }
    return std::make_unique<Recordset>(m_table, std::move(rows.value()));
}

tiermark::Result<void> Database::Preload(const std::vector<TablePlan>& plans) {
    for (const TablePlan& plan : plans) {
        (void)OpenRecordset(plan.table);
    }
    return {};
}

}  // namespace stddb

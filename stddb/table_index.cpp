#include "stddb/table_index.h"

#include <cmath>
#include <cstring>
#include <optional>

#include "common/ascii.h"
#include "common/numtext.h"
#include "common/utf.h"
#include "stddb/filter.h"
#include "stddb/text_compare.h"

namespace stddb {
namespace {

// Appends a text to a key: its length, then its characters with ASCII letters in lower case.
void appendText(std::u16string& key, std::u16string_view text) {
    const auto length = static_cast<std::uint32_t>(text.size());
    key.push_back(static_cast<char16_t>(length >> 16));
    key.push_back(static_cast<char16_t>(length & 0xFFFF));
    const std::size_t start = key.size();
    key.append(text);
    for (std::size_t i = start; i < key.size(); ++i) {
        key[i] = tiermark::asciiLower(key[i]);
    }
}

// Appends a number to a key: the bits of its value (zero and negative zero alike).
void appendNumber(std::u16string& key, double number) {
    if (number == 0.0) {
        number = 0.0;
    }
    std::uint64_t bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    for (int shift = 48; shift >= 0; shift -= 16) {
        key.push_back(static_cast<char16_t>((bits >> shift) & 0xFFFF));
    }
}

bool isTextColumn(const Column& column) {
    return column.type == ColumnType::Text || column.type == ColumnType::Memo;
}

// Appends the part of a key a value files under; false when the filter could never match the value.
bool appendValue(std::u16string& key, const Value& value, bool textField) {
    if (textField) {
        const auto* text = std::get_if<std::u16string>(&value);
        if (text == nullptr) {
            return false;
        }
        appendText(key, *text);
        return true;
    }
    const std::optional<double> number = isNull(value) ? std::nullopt : asNumber(value);
    if (!number || std::isnan(*number)) {
        return false;
    }
    appendNumber(key, *number);
    return true;
}

}  // namespace

tiermark::Result<std::shared_ptr<const TableIndex>> TableIndex::build(const Table& table,
                                                                      std::vector<std::u16string> fields) {
    auto index = std::make_shared<TableIndex>();
    std::vector<std::size_t> columns;
    for (const std::u16string& field : fields) {
        const int column = table.columnIndex(field);
        if (column < 0) {
            return tiermark::makeError("cannot index table " + tiermark::toUtf8(table.name) + ": no field " +
                                       tiermark::toUtf8(field));
        }
        for (std::size_t seen : columns) {
            if (seen == static_cast<std::size_t>(column)) {
                return tiermark::makeError("cannot index table " + tiermark::toUtf8(table.name) +
                                           ": field named twice: " + tiermark::toUtf8(field));
            }
        }
        columns.push_back(static_cast<std::size_t>(column));
        index->m_textField.push_back(isTextColumn(table.columns[columns.back()]));
    }
    index->m_fields = std::move(fields);
    const Value null;
    std::u16string key;
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        const std::vector<Value>& values = table.rows[row];
        key.clear();
        bool keyed = true;
        for (std::size_t i = 0; i < columns.size() && keyed; ++i) {
            keyed = appendValue(key, columns[i] < values.size() ? values[columns[i]] : null,
                                index->m_textField[i]);
        }
        if (keyed) {
            index->m_rows[key].push_back(row);
        }
    }
    return std::shared_ptr<const TableIndex>(std::move(index));
}

bool TableIndex::covers(const std::vector<FilterTerm>& terms) const {
    if (terms.size() != m_fields.size()) {
        return false;
    }
    std::vector<bool> used(m_fields.size(), false);
    for (const FilterTerm& term : terms) {
        bool found = false;
        for (std::size_t i = 0; i < m_fields.size() && !found; ++i) {
            if (!used[i] && equalsIgnoringAsciiCase(m_fields[i], term.field)) {
                used[i] = found = true;
            }
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

std::vector<std::size_t> TableIndex::rows(const std::vector<FilterTerm>& terms) const {
    std::u16string key;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const FilterTerm* term = nullptr;
        for (const FilterTerm& candidate : terms) {
            if (equalsIgnoringAsciiCase(m_fields[i], candidate.field)) {
                term = &candidate;
            }
        }
        if (term == nullptr) {
            return {};
        }
        if (m_textField[i]) {
            appendText(key, term->text);
            continue;
        }
        const std::optional<double> number =
            term->isText ? tiermark::parseDecimal(term->text) : std::optional<double>(term->number);
        if (!number || std::isnan(*number)) {
            return {};
        }
        appendNumber(key, *number);
    }
    const auto found = m_rows.find(key);
    return found == m_rows.end() ? std::vector<std::size_t>{} : found->second;
}

const TableIndex* indexCovering(const Table& table, const std::vector<FilterTerm>& terms) {
    for (const auto& index : table.indexes) {
        if (index && index->covers(terms)) {
            return index.get();
        }
    }
    return nullptr;
}

tiermark::Result<void> addIndexes(Table& table, const std::vector<std::vector<std::u16string>>& sets) {
    for (const auto& fields : sets) {
        std::vector<FilterTerm> probe;
        for (const auto& field : fields) {
            probe.push_back(FilterTerm{field, false, 0.0, {}});
        }
        if (indexCovering(table, probe) != nullptr) {
            continue;
        }
        auto index = TableIndex::build(table, fields);
        if (!index) {
            return index.error();
        }
        table.indexes.push_back(std::move(index.value()));
    }
    return {};
}

}  // namespace stddb

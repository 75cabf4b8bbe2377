#include "stddb/table_index.h"

#include <cmath>
#include <optional>

#include "common/numtext.h"
#include "common/utf.h"
#include "stddb/filter.h"
#include "stddb/text_compare.h"

namespace stddb {
namespace {

std::u16string foldedAscii(std::u16string_view text) {
    std::u16string folded(text);
    for (char16_t& c : folded) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return folded;
}

bool isTextColumn(const Column& column) {
    return column.type == ColumnType::Text || column.type == ColumnType::Memo;
}

// The part of a key a value files under; nothing when the filter could never match it.
template <typename Part>
std::optional<Part> keyPartOf(const Value& value, bool textField) {
    if (textField) {
        const auto* text = std::get_if<std::u16string>(&value);
        return text != nullptr ? std::optional<Part>(foldedAscii(*text)) : std::nullopt;
    }
    const std::optional<double> number = isNull(value) ? std::nullopt : asNumber(value);
    return number && !std::isnan(*number) ? std::optional<Part>(*number) : std::nullopt;
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
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        const std::vector<Value>& values = table.rows[row];
        Key key;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const Value& value = columns[i] < values.size() ? values[columns[i]] : Value{};
            auto part = keyPartOf<KeyPart>(value, index->m_textField[i]);
            if (!part) {
                break;
            }
            key.push_back(std::move(*part));
        }
        if (key.size() == columns.size()) {
            index->m_rows[std::move(key)].push_back(row);
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
    Key key(m_fields.size());
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
            key[i] = foldedAscii(term->text);
            continue;
        }
        const std::optional<double> number =
            term->isText ? tiermark::parseDecimal(term->text) : std::optional<double>(term->number);
        if (!number || std::isnan(*number)) {
            return {};
        }
        key[i] = *number;
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

#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/result.h"
#include "stddb/database.h"
#include "stddb/filter.h"

namespace stddb {

// The rows of a table by the values of some of its fields, each key's rows in stored order: what a filter
// comparing exactly these fields selects, found without comparing every row. Keys compare as the filter
// compares: text ignoring ASCII case, numbers by value (a number field's text that reads as a number by
// that number); a Null field, or a value the filter can never match, is under no key.
class TableIndex {
public:
    // Fails when the table lacks one of the fields or a field is named twice.
    static tiermark::Result<std::shared_ptr<const TableIndex>> build(const Table& table,
                                                                     std::vector<std::u16string> fields);

    const std::vector<std::u16string>& fields() const { return m_fields; }
    // Whether the terms compare exactly the fields of this index, each once, in any order.
    bool covers(const std::vector<FilterTerm>& terms) const;
    // The rows whose fields equal the terms' values, in stored order; the terms must be covered and valid
    // for the table (as applyFilter checks them).
    std::vector<std::size_t> rows(const std::vector<FilterTerm>& terms) const;

private:
    // A key is one text: per field a number's bits or a text's length and folded characters.
    std::vector<std::u16string> m_fields;
    std::vector<bool> m_textField;
    std::unordered_map<std::u16string, std::vector<std::size_t>> m_rows;
};

// The index of the table that covers the terms; nullptr when it has none.
const TableIndex* indexCovering(const Table& table, const std::vector<FilterTerm>& terms);

// Gives the table an index for each set of fields it has none for yet. Fails as TableIndex::build fails.
tiermark::Result<void> addIndexes(Table& table, const std::vector<std::vector<std::u16string>>& sets);

}  // namespace stddb

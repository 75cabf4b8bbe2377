#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "stddb/database.h"

namespace stddb {

// One comparison of a filter: a field equal to a number (written without quotes) or to a text (in single
// quotes).
struct FilterTerm {
    std::u16string field;
    bool isText = false;
    double number = 0.0;
    std::u16string text;
};

// Parses the filter texts the program composes: "field = number", "field = 'text'" (blanks around "="
// optional), joined by "and" in any case. Empty or blank text gives no terms (every row). Anything else,
// a quote inside a quoted value included, is an invalid filter.
tiermark::Result<std::vector<FilterTerm>> parseFilter(std::u16string_view filter);

// The rows (indices into table.rows, taken from candidates in their order) that satisfy every term. When the
// candidates are all the table's rows and one of its indexes covers the terms, the index gives them.
// Fails when a term names a field the table does not have, or compares a text field with a number.
tiermark::Result<std::vector<std::size_t>> applyFilter(const Table& table,
                                                       const std::vector<std::size_t>& candidates,
                                                       const std::vector<FilterTerm>& terms);

}  // namespace stddb

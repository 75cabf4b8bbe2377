#pragma once

#include <memory>
#include <string>
#include <vector>

#include "stddb/database.h"

namespace testing_support {

using stddb::Value;

// A small layer-standard database with every table the forms read, laid out like the distributed one:
// seven construction kinds whose work-type keys follow the kind offsets, drawing kinds for the keys 1, 2,
// 19 and 94, layer rows for "一般図" (key 1) and a paper table whose fourth row is A1 (594 x 841).
struct SampleTables {
    std::vector<stddb::Table> tables;

    SampleTables();
    stddb::Table& table(std::u16string_view name);
    // A database over the current tables, as the workspace opens it.
    std::unique_ptr<stddb::Database> open() const;
};

Value text(const char16_t* s);
inline Value num(std::int64_t n) {
    return Value{n};
}
inline const Value kNull{};

}  // namespace testing_support

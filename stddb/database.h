#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/result.h"

namespace stddb {

// One field value as the database holds it. std::monostate is Null, which is distinct from empty text.
using Value = std::variant<std::monostate, std::int64_t, double, std::u16string>;

inline bool isNull(const Value& value) {
    return std::holds_alternative<std::monostate>(value);
}
// The value as a form shows it: Null joins as empty text, numbers as their shortest decimal text.
std::u16string asText(const Value& value);
// The value as a number: integers and doubles as they are, text when it reads as a decimal number.
std::optional<double> asNumber(const Value& value);

enum class ColumnType { Integer, Long, Double, Text, Memo };

struct Column {
    std::u16string name;
    ColumnType type = ColumnType::Text;
    // Text only: the declared length in characters, 1 to 255 (0 reads as 255). Used when writing files.
    int textLength = 0;
};

class TableIndex;

// A whole table in stored row order.
struct Table {
    std::u16string name;
    std::vector<Column> columns;
    std::vector<std::vector<Value>> rows;
    // Indexes over some of its fields (stddb/table_index.h), made when the table was read: a filter on
    // exactly an index's fields takes its rows from the index instead of comparing every row.
    std::vector<std::shared_ptr<const TableIndex>> indexes = {};

    // Index of the named column (compared as the engine compares names: ignoring ASCII case), or -1.
    int columnIndex(std::u16string_view columnName) const;
};

// A result set over one table, as a dynaset: a cursor over a set of rows with a filter from which a new,
// narrower result set can be opened. After opening, the first row (if any) is current.
class Recordset {
public:
    Recordset(std::shared_ptr<const Table> table, std::vector<std::size_t> rows);

    // True when there is no current row: the set is empty or the cursor moved past its last row.
    bool Eof() const;
    // Fails ("no current record") on an empty set.
    tiermark::Result<void> MoveFirst();
    // Fails when there is no current row.
    tiermark::Result<void> MoveNext();
    // The named field of the current row; fails for a missing field or when there is no current row.
    tiermark::Result<Value> Field(std::u16string_view name) const;
    std::size_t RecordCount() const { return m_rows.size(); }

    // The filter text a new result set is opened with, for example "工種ID = 19 and 図面名 ='一般図'".
    std::u16string Filter;
    // Opens a new result set holding the rows of this one that satisfy Filter (all rows when it is empty).
    // Fails for a filter the engine cannot parse or that names a missing field.
    tiermark::Result<std::unique_ptr<Recordset>> OpenRecordset() const;

private:
    std::shared_ptr<const Table> m_table;
    std::vector<std::size_t> m_rows;
    std::size_t m_position = 0;
};

// A table to read ahead of its queries, and the sets of fields its filters compare.
struct TablePlan {
    std::u16string table;
    std::vector<std::vector<std::u16string>> indexes;
};

// An open database: tables by name, each opened as a dynaset.
class Database {
public:
    virtual ~Database() = default;
    // Fails when the table does not exist or cannot be read whole.
    virtual tiermark::Result<std::unique_ptr<Recordset>> OpenRecordset(std::u16string_view table) = 0;
    // Reads the planned tables whole now and indexes each by its plan's fields, so that later queries of
    // them neither read the file nor compare every row. A table the database does not have, and an index
    // over a field its table lacks, are left out (their queries say so). Fails when a table cannot be read,
    // or when the file changed while the tables were read. A database read from a file lets go of the file
    // once the planned tables are read: a table outside the plan can then no longer be opened. This one
    // only opens each table it has.
    virtual tiermark::Result<void> Preload(const std::vector<TablePlan>& plans);
    // Fails when the file the database was opened from is no longer as it was then (replaced, truncated or
    // being written): what was read from it may not all belong to one release of it. This one never fails.
    virtual tiermark::Result<void> CheckUnchanged() { return {}; }
};

// The database engine's workspace: opens database files.
class Workspace {
public:
    virtual ~Workspace() = default;
    // connect is the connect string, ";pwd=..." for a password-protected file.
    virtual tiermark::Result<std::unique_ptr<Database>> OpenDatabase(const std::u16string& path,
                                                                     bool exclusive, bool readOnly,
                                                                     std::u16string_view connect) = 0;
};

// The connect string of the layer-standard database.
inline constexpr std::u16string_view kConnectString = u";pwd=947215036382";

}  // namespace stddb

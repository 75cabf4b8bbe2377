#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/result.h"
#include "stddb/database.h"

// The pieces of a Jet 4 file that the writer puts together: column and table layouts, encoded values and
// rows, data pages, table definitions, usage maps, the header page and the catalog (FORMAT.md).
namespace mdbwriter::jet4 {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kPageSize = 4096;
inline constexpr std::size_t kDataHeader =
    14;  // data page: type, 01, free space, table page, 4 zero bytes, rows
inline constexpr std::size_t kMaxRowsPerPage = 255;
inline constexpr std::size_t kInlineMapBytes =
    64;  // an inline usage map row: type, first page, 59 bitmap bytes
inline constexpr std::size_t kInlineMapPages = (kInlineMapBytes - 5) * 8;
inline constexpr std::size_t kMapPageBits =
    (kPageSize - 4) * 8;                              // pages covered by one usage-map page (type 0x05)
inline constexpr std::size_t kIndirectMapSlots = 16;  // map pages an indirect (type 1) usage map row can name
inline constexpr std::uint32_t kTablesContainer = 0x0F000001;
inline constexpr std::uint16_t kSortGeneral = 0x0409;
inline constexpr int kMaxNameLength = 64;

// Column types as stored in a table definition.
enum : std::uint8_t {
    kInteger = 0x03,
    kLong = 0x04,
    kDouble = 0x07,
    kDate = 0x08,
    kBinary = 0x09,
    kText = 0x0A,
    kOle = 0x0B,
    kMemo = 0x0C,
};

// A column as laid out in rows and in the table definition.
struct ColumnLayout {
    std::u16string name;
    std::uint8_t type = kText;
    bool fixed = false;
    std::uint16_t fixedOffset = 0;
    std::uint16_t variableIndex = 0;
    std::uint16_t size = 0;  // bytes: fixed size, or 2 x characters for text
};

struct TableLayout {
    std::u16string name;
    bool system = false;
    std::vector<ColumnLayout> columns;
    std::uint16_t fixedBytes = 0;
    std::uint16_t variableColumns = 0;
};

// A value ready to be stored: the bytes of a non-Null value, or nothing for Null.
using Cell = std::optional<Bytes>;

tiermark::Error fail(const std::u16string& table, const std::string& what);

TableLayout layoutOf(std::u16string name, bool system,
                     const std::vector<std::pair<std::u16string, std::uint8_t>>& columns,
                     const std::vector<std::uint16_t>& textSizes);

tiermark::Result<std::uint16_t> checkName(const std::u16string& table, const std::u16string& name);

tiermark::Result<Cell> encodeValue(const TableLayout& table, const ColumnLayout& column,
                                   const stddb::Value& value);

// One row as Jet 4 stores it: column count, fixed area, variable data, end of data, the variable
// columns' offsets in reverse order, the variable-column count, and the null mask (1 = not Null).
Bytes encodeRow(const TableLayout& table, const std::vector<Cell>& cells);

// Rows packed into data pages in order: rows fill each page from its end downwards.
std::vector<std::vector<Bytes>> packRows(std::vector<Bytes> rows);

Bytes dataPage(const std::vector<Bytes>& rows, std::uint32_t tablePage);

Bytes tableDefinition(const TableLayout& table, std::uint32_t rowCount, std::uint32_t usageMap,
                      std::uint32_t freeMap);

// A usage map row for the given pages (ascending): inline when they span few pages, else indirect through
// map pages, whose numbers are taken from nextMapPage (and appended to mapPages).
Bytes usageMap(const std::vector<std::uint32_t>& pages, std::uint32_t& nextMapPage,
               std::vector<std::pair<std::uint32_t, Bytes>>& mapPages);

std::size_t indirectMapsNeeded(const std::vector<std::uint32_t>& pages);

Bytes headerPage(std::u16string_view password);

// The catalog table: the columns libmdb and Access expect of MSysObjects.
TableLayout catalogLayout();

Bytes catalogRow(const TableLayout& catalog, std::uint32_t id, std::u16string_view name, std::uint32_t flags);

}  // namespace mdbwriter::jet4

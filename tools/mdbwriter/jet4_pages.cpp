#include "tools/mdbwriter/jet4_pages.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <set>

#include "common/utf.h"
#include "stddb/jet_header.h"
#include "tools/mdbwriter/mdb_writer.h"

namespace mdbwriter::jet4 {

namespace {

void put16(Bytes& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, value & 0xFFFF);
    put16(bytes, at + 2, value >> 16);
}

void append16(Bytes& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::uint16_t fixedSize(std::uint8_t type) {
    switch (type) {
        case kInteger:
            return 2;
        case kLong:
            return 4;
        case kDouble:
        case kDate:
            return 8;
        default:
            return 0;
    }
}

// Jet 4 text: one byte per character ("compressed", after FF FE) when every character is below U+0100 and
// the result is shorter; UTF-16LE otherwise.
Bytes encodeText(std::u16string_view text) {
    Bytes bytes;
    const bool compressible = text.size() > 2 && std::all_of(text.begin(), text.end(),
                                                             [](char16_t c) { return c != 0 && c < 0x100; });
    if (compressible) {
        bytes = {0xFF, 0xFE};
        for (char16_t c : text) {
            bytes.push_back(static_cast<std::uint8_t>(c));
        }
        return bytes;
    }
    for (char16_t c : text) {
        append16(bytes, c);
    }
    return bytes;
}

}  // namespace

tiermark::Error fail(const std::u16string& table, const std::string& what) {
    return tiermark::makeError("table " + tiermark::toUtf8(table) + ": " + what);
}

TableLayout layoutOf(std::u16string name, bool system,
                     const std::vector<std::pair<std::u16string, std::uint8_t>>& columns,
                     const std::vector<std::uint16_t>& textSizes) {
    TableLayout layout{std::move(name), system, {}, 0, 0};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        ColumnLayout column;
        column.name = columns[i].first;
        column.type = columns[i].second;
        const std::uint16_t size = fixedSize(column.type);
        if (size != 0) {
            column.fixed = true;
            column.size = size;
            column.fixedOffset = layout.fixedBytes;
            layout.fixedBytes = static_cast<std::uint16_t>(layout.fixedBytes + size);
        } else {
            column.size = column.type == kText ? textSizes[i] : (column.type == kBinary ? 255 : 0);
            column.variableIndex = layout.variableColumns++;
        }
        layout.columns.push_back(std::move(column));
    }
    return layout;
}

tiermark::Result<std::uint16_t> checkName(const std::u16string& table, const std::u16string& name) {
    if (name.empty() || name.size() > kMaxNameLength) {
        return fail(table, "a name must have 1 to 64 characters: \"" + tiermark::toUtf8(name) + "\"");
    }
    for (char16_t c : name) {
        if ((c >= 0xD800 && c <= 0xDFFF) || c < 0x20) {
            return fail(table,
                        "a name holds a character that cannot be stored: \"" + tiermark::toUtf8(name) + "\"");
        }
    }
    return static_cast<std::uint16_t>(name.size());
}

tiermark::Result<Cell> encodeValue(const TableLayout& table, const ColumnLayout& column,
                                   const stddb::Value& value) {
    if (stddb::isNull(value)) {
        return Cell{};
    }
    const std::string where = "column " + tiermark::toUtf8(column.name) + ": ";
    Bytes bytes(column.fixed ? column.size : 0);
    const auto* integer = std::get_if<std::int64_t>(&value);
    const auto* real = std::get_if<double>(&value);
    const auto* text = std::get_if<std::u16string>(&value);
    switch (column.type) {
        case kInteger:
            if (integer == nullptr || *integer < INT16_MIN || *integer > INT16_MAX) {
                return fail(table.name,
                            where + "an Integer value must be a whole number from -32768 to 32767");
            }
            put16(bytes, 0, static_cast<std::uint16_t>(*integer));
            return Cell{bytes};
        case kLong:
            if (integer == nullptr || *integer < INT32_MIN || *integer > INT32_MAX) {
                return fail(table.name, where + "a Long value must be a 32-bit whole number");
            }
            put32(bytes, 0, static_cast<std::uint32_t>(*integer));
            return Cell{bytes};
        case kDouble:
        case kDate: {
            if (integer == nullptr && real == nullptr) {
                return fail(table.name, where + "a Double value must be a number");
            }
            const double number = real != nullptr ? *real : static_cast<double>(*integer);
            std::memcpy(bytes.data(), &number, sizeof number);
            return Cell{bytes};
        }
        case kText:
            if (text == nullptr) {
                return fail(table.name, where + "a Text value must be text");
            }
            if (text->size() * 2 > column.size) {
                return fail(table.name, where + "text longer than the column's " +
                                            std::to_string(column.size / 2) +
                                            " characters: " + tiermark::toUtf8(*text));
            }
            if (!text->empty() && text->front() == 0xFEFF) {
                return fail(table.name, where + "a text may not start with U+FEFF");
            }
            for (char16_t c : *text) {
                if (c >= 0xD800 && c <= 0xDFFF) {
                    return fail(
                        table.name,
                        where + "characters outside the Basic Multilingual Plane cannot be read back");
                }
            }
            return Cell{encodeText(*text)};
        default:
            return fail(table.name, where + "this column type is not written");
    }
}

// One row as Jet 4 stores it: column count, fixed area, variable data, end of data, the variable
// columns' offsets in reverse order, the variable-column count, and the null mask (1 = not Null).
Bytes encodeRow(const TableLayout& table, const std::vector<Cell>& cells) {
    const std::size_t count = table.columns.size();
    Bytes row;
    append16(row, static_cast<std::uint32_t>(count));
    const std::size_t fixedStart = row.size();
    row.resize(fixedStart + table.fixedBytes, 0);
    std::vector<std::uint16_t> offsets(table.variableColumns, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const ColumnLayout& column = table.columns[i];
        if (column.fixed && cells[i]) {
            std::copy(cells[i]->begin(), cells[i]->end(),
                      row.begin() + static_cast<std::ptrdiff_t>(fixedStart + column.fixedOffset));
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        const ColumnLayout& column = table.columns[i];
        if (!column.fixed) {
            offsets[column.variableIndex] = static_cast<std::uint16_t>(row.size());
            if (cells[i]) {
                row.insert(row.end(), cells[i]->begin(), cells[i]->end());
            }
        }
    }
    if (table.variableColumns > 0) {
        append16(row, static_cast<std::uint32_t>(row.size()));
        for (std::size_t v = offsets.size(); v > 0; --v) {
            append16(row, offsets[v - 1]);
        }
        append16(row, table.variableColumns);
    }
    Bytes mask((count + 7) / 8, 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (cells[i]) {
            mask[i / 8] = static_cast<std::uint8_t>(mask[i / 8] | (1U << (i % 8)));
        }
    }
    row.insert(row.end(), mask.begin(), mask.end());
    return row;
}

// Rows packed into data pages in order: rows fill each page from its end downwards.
std::vector<std::vector<Bytes>> packRows(std::vector<Bytes> rows) {
    std::vector<std::vector<Bytes>> pages;
    std::size_t used = kPageSize;
    for (Bytes& row : rows) {
        const std::size_t free = pages.empty() ? 0 : used - (kDataHeader + 2 * pages.back().size());
        if (pages.empty() || row.size() + 2 > free || pages.back().size() >= kMaxRowsPerPage) {
            pages.emplace_back();
            used = kPageSize;
        }
        used -= row.size();
        pages.back().push_back(std::move(row));
    }
    return pages;
}

Bytes dataPage(const std::vector<Bytes>& rows, std::uint32_t tablePage) {
    Bytes page(kPageSize, 0);
    page[0] = 0x01;
    page[1] = 0x01;
    put32(page, 4, tablePage);
    put16(page, 12, static_cast<std::uint32_t>(rows.size()));
    std::size_t end = kPageSize;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::size_t start = end - rows[i].size();
        std::copy(rows[i].begin(), rows[i].end(), page.begin() + static_cast<std::ptrdiff_t>(start));
        put16(page, kDataHeader + 2 * i, static_cast<std::uint32_t>(start));
        end = start;
    }
    put16(page, 2, static_cast<std::uint32_t>(end - (kDataHeader + 2 * rows.size())));
    return page;
}

Bytes tableDefinition(const TableLayout& table, std::uint32_t rowCount, std::uint32_t usageMap,
                      std::uint32_t freeMap) {
    Bytes def(63, 0);
    def[0] = 0x02;
    def[1] = 0x01;
    put32(def, 16, rowCount);
    def[40] = table.system ? 0x53 : 0x4E;
    const auto columns = static_cast<std::uint32_t>(table.columns.size());
    put16(def, 41, columns);
    put16(def, 43, table.variableColumns);
    put16(def, 45, columns);
    put32(def, 55, usageMap);
    put32(def, 59, freeMap);
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const ColumnLayout& column = table.columns[i];
        Bytes entry(25, 0);
        entry[0] = column.type;
        put16(entry, 5, static_cast<std::uint32_t>(i));
        put16(entry, 7, column.variableIndex);
        put16(entry, 9, static_cast<std::uint32_t>(i));
        if (column.type == kText || column.type == kMemo) {
            put16(entry, 11, kSortGeneral);
            entry[16] = 0x01;  // unicode compression allowed
        }
        entry[15] = static_cast<std::uint8_t>((column.fixed ? 0x01 : 0x00) | 0x02);
        put16(entry, 21, column.fixedOffset);
        put16(entry, 23, column.size);
        def.insert(def.end(), entry.begin(), entry.end());
    }
    for (const ColumnLayout& column : table.columns) {
        append16(def, static_cast<std::uint32_t>(column.name.size() * 2));
        for (char16_t c : column.name) {
            append16(def, c);
        }
    }
    append16(def, 0xFFFF);  // no per-column usage maps
    put32(def, 8, static_cast<std::uint32_t>(def.size() - 8));
    if (def.size() <= kPageSize) {
        put16(def, 2, static_cast<std::uint32_t>(kPageSize - def.size()));
        def.resize(kPageSize, 0);
    }
    return def;
}

// A usage map row for the given pages (ascending): inline when they span few pages, else indirect through
// map pages, whose numbers are taken from nextMapPage (and appended to mapPages).
Bytes usageMap(const std::vector<std::uint32_t>& pages, std::uint32_t& nextMapPage,
               std::vector<std::pair<std::uint32_t, Bytes>>& mapPages) {
    Bytes row;
    if (pages.empty() || pages.back() - pages.front() < kInlineMapPages) {
        row.assign(kInlineMapBytes, 0);
        const std::uint32_t first = pages.empty() ? 0 : pages.front();
        put32(row, 1, first);
        for (std::uint32_t page : pages) {
            const std::uint32_t bit = page - first;
            row[5 + bit / 8] = static_cast<std::uint8_t>(row[5 + bit / 8] | (1U << (bit % 8)));
        }
        return row;
    }
    row.assign(1 + 4 * kIndirectMapSlots, 0);
    row[0] = 0x01;
    for (std::uint32_t page : pages) {
        const std::size_t slot = page / kMapPageBits;
        std::uint32_t mapPage = row[1 + 4 * slot] | (row[2 + 4 * slot] << 8) | (row[3 + 4 * slot] << 16) |
                                (static_cast<std::uint32_t>(row[4 + 4 * slot]) << 24);
        if (mapPage == 0) {
            mapPage = nextMapPage++;
            put32(row, 1 + 4 * slot, mapPage);
            Bytes bitmap(kPageSize, 0);
            bitmap[0] = 0x05;
            bitmap[1] = 0x01;
            mapPages.emplace_back(mapPage, std::move(bitmap));
        }
        auto found =
            std::find_if(mapPages.begin(), mapPages.end(), [&](const auto& p) { return p.first == mapPage; });
        const std::size_t bit = page % kMapPageBits;
        found->second[4 + bit / 8] =
            static_cast<std::uint8_t>(found->second[4 + bit / 8] | (1U << (bit % 8)));
    }
    return row;
}

std::size_t indirectMapsNeeded(const std::vector<std::uint32_t>& pages) {
    if (pages.empty() || pages.back() - pages.front() < kInlineMapPages) {
        return 0;
    }
    std::set<std::size_t> slots;
    for (std::uint32_t page : pages) {
        slots.insert(page / kMapPageBits);
    }
    return slots.size();
}

Bytes headerPage(std::u16string_view password) {
    Bytes page(kPageSize, 0);
    page[1] = 0x01;
    const char signature[] = "Standard Jet DB";
    std::memcpy(page.data() + 4, signature, sizeof signature);
    put32(page, stddb::jet::kVersionOffset, 1);
    put16(page, stddb::jet::kCodePageOffset, 932);
    double date = kCreationDate;
    std::memcpy(page.data() + stddb::jet::kCreationDateOffset, &date, sizeof date);
    put32(page, stddb::jet::kSortOrderOffset, kSortGeneral);
    const auto mask = stddb::jet::passwordDateMask(kCreationDate);
    for (std::size_t i = 0; i < 40; ++i) {
        const std::size_t unit = i / 2;
        const char16_t c = unit < password.size() ? password[unit] : 0;
        const auto byte = static_cast<std::uint8_t>(i % 2 == 0 ? c & 0xFF : c >> 8);
        page[stddb::jet::kPasswordOffset + i] = static_cast<std::uint8_t>(byte ^ mask[i % mask.size()]);
    }
    stddb::jet::maskHeader(page, stddb::jet::Version::Jet4);
    return page;
}

// The catalog table: the columns libmdb and Access expect of MSysObjects.
TableLayout catalogLayout() {
    const std::vector<std::pair<std::u16string, std::uint8_t>> columns = {
        {u"Id", kLong},         {u"ParentId", kLong},   {u"Name", kText},        {u"Type", kInteger},
        {u"DateCreate", kDate}, {u"DateUpdate", kDate}, {u"Owner", kBinary},     {u"Flags", kLong},
        {u"Database", kMemo},   {u"Connect", kMemo},    {u"ForeignName", kText}, {u"RmtInfoShort", kBinary},
        {u"RmtInfoLong", kOle}, {u"Lv", kOle},          {u"LvProp", kOle},       {u"LvModule", kOle},
        {u"LvExtra", kOle}};
    std::vector<std::uint16_t> sizes(columns.size(), 0);
    sizes[2] = 256;
    sizes[10] = 510;
    return layoutOf(u"MSysObjects", true, columns, sizes);
}

Bytes catalogRow(const TableLayout& catalog, std::uint32_t id, std::u16string_view name,
                 std::uint32_t flags) {
    std::vector<Cell> cells(catalog.columns.size());
    auto fixed = [&](std::size_t column, auto value) {
        Bytes bytes(sizeof value);
        std::memcpy(bytes.data(), &value, sizeof value);
        cells[column] = bytes;
    };
    fixed(0, id);
    fixed(1, kTablesContainer);
    cells[2] = encodeText(name);
    fixed(3, std::int16_t{1});
    fixed(4, kCreationDate);
    fixed(5, kCreationDate);
    fixed(7, flags);
    return encodeRow(catalog, cells);
}

}  // namespace mdbwriter::jet4

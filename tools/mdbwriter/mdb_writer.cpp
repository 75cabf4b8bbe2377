#include "tools/mdbwriter/mdb_writer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <optional>
#include <set>
#include <string>

#include "common/ascii.h"
#include "common/utf.h"
#include "stddb/jet_header.h"
#include "stddb/text_compare.h"
#include "tools/mdbwriter/jet4_pages.h"

namespace mdbwriter {

namespace {

using jet4::Bytes;
using jet4::catalogLayout;
using jet4::catalogRow;
using jet4::Cell;
using jet4::checkName;
using jet4::dataPage;
using jet4::encodeRow;
using jet4::encodeValue;
using jet4::fail;
using jet4::headerPage;
using jet4::indirectMapsNeeded;
using jet4::kDataHeader;
using jet4::kDouble;
using jet4::kIndirectMapSlots;
using jet4::kInlineMapPages;
using jet4::kInteger;
using jet4::kLong;
using jet4::kMapPageBits;
using jet4::kMaxRowsPerPage;
using jet4::kPageSize;
using jet4::kText;
using jet4::layoutOf;
using jet4::packRows;
using jet4::tableDefinition;
using jet4::TableLayout;
using jet4::usageMap;

struct PlannedTable {
    TableLayout layout;
    std::vector<std::vector<Bytes>> pages;  // rows per data page
    std::uint32_t rowCount = 0;
    std::uint32_t definitionPage = 0;
    std::vector<std::uint32_t> dataPages;
};

}  // namespace

tiermark::Result<std::vector<std::uint8_t>> buildJet4(const std::vector<stddb::Table>& tables,
                                                      std::u16string_view password) {
    if (password.size() > 20) {
        return tiermark::makeError("a database password has at most 20 characters");
    }
    std::vector<PlannedTable> planned;
    std::set<std::u16string> names;
    for (const stddb::Table& table : tables) {
        if (auto checked = checkName(table.name, table.name); !checked) {
            return checked.error();
        }
        if (!names.insert(tiermark::asciiLowercased(table.name)).second ||
            stddb::equalsIgnoringAsciiCase(table.name, u"MSysObjects")) {
            return fail(table.name, "the name is used twice");
        }
        if (table.columns.empty() || table.columns.size() > 255) {
            return fail(table.name, "a table has 1 to 255 columns");
        }
        std::vector<std::pair<std::u16string, std::uint8_t>> columns;
        std::vector<std::uint16_t> sizes;
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            const stddb::Column& column = table.columns[i];
            if (auto checked = checkName(table.name, column.name); !checked) {
                return checked.error();
            }
            for (std::size_t j = 0; j < i; ++j) {
                if (stddb::equalsIgnoringAsciiCase(table.columns[j].name, column.name)) {
                    return fail(table.name, "column " + tiermark::toUtf8(column.name) + " appears twice");
                }
            }
            std::uint8_t type = kText;
            switch (column.type) {
                case stddb::ColumnType::Integer:
                    type = kInteger;
                    break;
                case stddb::ColumnType::Long:
                    type = kLong;
                    break;
                case stddb::ColumnType::Double:
                    type = kDouble;
                    break;
                case stddb::ColumnType::Text:
                    type = kText;
                    break;
                case stddb::ColumnType::Memo:
                    return fail(table.name, "Memo columns are not written");
            }
            const int length = column.textLength == 0 ? 255 : column.textLength;
            if (length < 1 || length > 255) {
                return fail(table.name, "a Text column holds 1 to 255 characters");
            }
            columns.emplace_back(column.name, type);
            sizes.push_back(static_cast<std::uint16_t>(2 * length));
        }
        PlannedTable plan;
        plan.layout = layoutOf(table.name, false, columns, sizes);
        std::vector<Bytes> rows;
        for (const auto& values : table.rows) {
            if (values.size() != table.columns.size()) {
                return fail(table.name, "row " + std::to_string(rows.size() + 1) + " has " +
                                            std::to_string(values.size()) + " values for " +
                                            std::to_string(table.columns.size()) + " columns");
            }
            std::vector<Cell> cells;
            for (std::size_t i = 0; i < values.size(); ++i) {
                auto cell = encodeValue(plan.layout, plan.layout.columns[i], values[i]);
                if (!cell) {
                    return tiermark::makeError(cell.error().message + " (row " +
                                               std::to_string(rows.size() + 1) + ")");
                }
                cells.push_back(std::move(cell.value()));
            }
            rows.push_back(encodeRow(plan.layout, cells));
            if (rows.back().size() + 2 > kPageSize - kDataHeader) {
                return fail(table.name, "row " + std::to_string(rows.size()) + " is too large for a page");
            }
        }
        plan.rowCount = static_cast<std::uint32_t>(rows.size());
        plan.pages = packRows(std::move(rows));
        planned.push_back(std::move(plan));
    }

    // Page numbers: 0 header, 1 usage maps, 2 catalog definition, catalog data, then per table its
    // definition and its data pages, then the usage-map pages of indirect maps.
    const TableLayout catalog = catalogLayout();
    std::vector<Bytes> catalogRows;
    catalogRows.push_back(catalogRow(catalog, 2, u"MSysObjects", 0x80000002));
    for (const PlannedTable& plan : planned) {
        catalogRows.push_back(catalogRow(catalog, 0, plan.layout.name, 0));
    }
    const std::size_t catalogPages = packRows(catalogRows).size();
    std::uint32_t next = static_cast<std::uint32_t>(3 + catalogPages);
    std::vector<std::uint32_t> catalogDataPages;
    for (std::uint32_t p = 3; p < next; ++p) {
        catalogDataPages.push_back(p);
    }
    for (PlannedTable& plan : planned) {
        plan.definitionPage = next++;
        for (std::size_t i = 0; i < plan.pages.size(); ++i) {
            plan.dataPages.push_back(next++);
        }
    }
    catalogRows.resize(1);
    for (const PlannedTable& plan : planned) {
        catalogRows.push_back(catalogRow(catalog, plan.definitionPage, plan.layout.name, 0));
    }
    const std::vector<std::vector<Bytes>> catalogPageRows = packRows(catalogRows);

    // Usage-map pages come last; the global map covers them too, so count them first.
    std::size_t mapPageCount = indirectMapsNeeded(catalogDataPages);
    for (const PlannedTable& plan : planned) {
        mapPageCount += indirectMapsNeeded(plan.dataPages);
    }
    std::size_t globalMapPages = 0;
    for (;;) {
        const std::size_t total = next + mapPageCount + globalMapPages;
        const std::size_t needed = total > kInlineMapPages ? (total + kMapPageBits - 1) / kMapPageBits : 0;
        if (needed == globalMapPages) {
            break;
        }
        globalMapPages = needed;
    }
    const auto totalPages = static_cast<std::uint32_t>(next + mapPageCount + globalMapPages);
    if (totalPages >= kMapPageBits * kIndirectMapSlots) {
        return tiermark::makeError("the database would exceed 2 GB");
    }
    std::vector<std::uint32_t> allPages(totalPages);
    for (std::uint32_t p = 0; p < totalPages; ++p) {
        allPages[p] = p;
    }

    std::vector<std::pair<std::uint32_t, Bytes>> mapPages;
    std::uint32_t nextMapPage = next;
    std::vector<Bytes> mapRows;
    mapRows.push_back(usageMap(allPages, nextMapPage, mapPages));
    mapRows.push_back(usageMap(catalogDataPages, nextMapPage, mapPages));
    mapRows.push_back(usageMap({}, nextMapPage, mapPages));
    for (const PlannedTable& plan : planned) {
        mapRows.push_back(usageMap(plan.dataPages, nextMapPage, mapPages));
        mapRows.push_back(usageMap({}, nextMapPage, mapPages));
    }
    if (nextMapPage != totalPages) {
        return tiermark::makeError("internal error: usage-map pages miscounted");
    }
    std::size_t mapBytes = kDataHeader;
    for (const Bytes& row : mapRows) {
        mapBytes += row.size() + 2;
    }
    if (mapBytes > kPageSize || mapRows.size() > kMaxRowsPerPage) {
        return tiermark::makeError("too many tables for one usage-map page");
    }

    std::vector<Bytes> pages(totalPages);
    pages[0] = headerPage(password);
    pages[1] = dataPage(mapRows, 0);
    pages[2] = tableDefinition(catalog, static_cast<std::uint32_t>(catalogRows.size()), (1U << 8) | 1U,
                               (1U << 8) | 2U);
    for (std::size_t i = 0; i < catalogPageRows.size(); ++i) {
        pages[catalogDataPages[i]] = dataPage(catalogPageRows[i], 2);
    }
    for (std::size_t t = 0; t < planned.size(); ++t) {
        const PlannedTable& plan = planned[t];
        const auto mapRow = static_cast<std::uint32_t>(3 + 2 * t);
        Bytes def = tableDefinition(plan.layout, plan.rowCount, (1U << 8) | mapRow, (1U << 8) | (mapRow + 1));
        if (def.size() > kPageSize) {
            return fail(plan.layout.name, "the table definition does not fit on one page");
        }
        pages[plan.definitionPage] = std::move(def);
        for (std::size_t i = 0; i < plan.pages.size(); ++i) {
            pages[plan.dataPages[i]] = dataPage(plan.pages[i], plan.definitionPage);
        }
    }
    for (auto& [number, bytes] : mapPages) {
        pages[number] = std::move(bytes);
    }

    std::vector<std::uint8_t> file;
    file.reserve(pages.size() * kPageSize);
    for (const Bytes& page : pages) {
        if (page.size() != kPageSize) {
            return tiermark::makeError("internal error: page of the wrong size");
        }
        file.insert(file.end(), page.begin(), page.end());
    }
    return file;
}

tiermark::Result<void> writeJet4(const std::vector<stddb::Table>& tables, std::u16string_view password,
                                 const std::filesystem::path& path) {
    auto bytes = buildJet4(tables, password);
    if (!bytes) {
        return bytes.error();
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
    out.close();
    if (!out) {
        return tiermark::makeError("cannot write " + path.string());
    }
    return {};
}

}  // namespace mdbwriter

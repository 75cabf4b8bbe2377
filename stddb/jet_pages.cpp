#include "stddb/jet_pages.h"

#include <array>
#include <set>
#include <span>

namespace stddb::jet {

namespace {

constexpr std::uint8_t kPageTableDefinition = 0x02;
constexpr std::uint8_t kPageUsageMap = 0x05;
constexpr std::size_t kMaxDefinitionPages = 64;
constexpr std::uint32_t kMaxColumns = 255;
constexpr std::uint32_t kMaxIndexes = 255;
constexpr std::size_t kOffsetMask = 0x1FFF;

std::uint16_t u16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t u32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(u16(bytes, offset)) |
           (static_cast<std::uint32_t>(u16(bytes, offset + 2)) << 16);
}

tiermark::Error damaged(const std::string& name, const std::string& what) {
    return tiermark::makeError("the database file is damaged: table " + name + ": " + what);
}

// The definition of a table as one byte string: the first page whole, then each continuation page without
// its 8-byte header, as libmdb reads it.
tiermark::Result<std::vector<std::uint8_t>> readDefinition(const PageFile& pages, std::uint32_t first,
                                                           const std::string& name) {
    if (first == 0) {
        return damaged(name, "no table definition page");
    }
    std::vector<std::uint8_t> definition;
    std::vector<std::uint8_t> page;
    std::set<std::uint32_t> seen;
    std::uint32_t current = first;
    while (current != 0) {
        if (current >= pages.pageCount() || !seen.insert(current).second ||
            seen.size() > kMaxDefinitionPages) {
            return damaged(name, "bad table definition page " + std::to_string(current));
        }
        if (!pages.read(current, page) || page[0] != kPageTableDefinition) {
            return damaged(name, "page " + std::to_string(current) + " is not a table definition");
        }
        const std::size_t from = definition.empty() ? 0 : 8;
        definition.insert(definition.end(), page.begin() + static_cast<std::ptrdiff_t>(from), page.end());
        current = u32(page, 4);
    }
    return definition;
}

tiermark::Result<void> checkUsageMap(const PageFile& pages, std::uint32_t pointer, const std::string& name) {
    const Layout& layout = pages.layout();
    const std::uint32_t pageNumber = pointer >> 8;
    const std::uint32_t row = pointer & 0xFF;
    std::vector<std::uint8_t> page;
    if (pageNumber == 0 || pageNumber >= pages.pageCount() || !pages.read(pageNumber, page)) {
        return damaged(name, "usage map outside the file");
    }
    const std::size_t rco = layout.rowCountOffset;
    const std::uint16_t rows = u16(page, rco);
    if (row >= rows || rco + 2 + 2 * (row + 1) > layout.pageSize) {
        return damaged(name, "usage map row missing");
    }
    const std::size_t start = u16(page, rco + 2 + 2 * row) & kOffsetMask;
    const std::size_t end = row == 0 ? layout.pageSize : (u16(page, rco + 2 * row) & kOffsetMask);
    if (start >= end || end > layout.pageSize) {
        return damaged(name, "usage map row out of its page");
    }
    const std::span<const std::uint8_t> map(page.data() + start, end - start);
    if (map[0] == 0) {
        return {};
    }
    if (map[0] != 1) {
        return damaged(name, "unknown usage map type " + std::to_string(map[0]));
    }
    std::vector<std::uint8_t> mapPage;
    for (std::size_t at = 1; at + 4 <= map.size(); at += 4) {
        const std::uint32_t mapPageNumber = u32(map, at);
        if (mapPageNumber == 0) {
            continue;
        }
        if (mapPageNumber >= pages.pageCount() || !pages.read(mapPageNumber, mapPage) ||
            mapPage[0] != kPageUsageMap) {
            return damaged(name, "usage map page " + std::to_string(mapPageNumber) + " missing");
        }
    }
    return {};
}

}  // namespace

PageFile::PageFile(std::FILE* file, std::uint64_t fileSize, Header header) : m_file(file), m_header(header) {
    m_pageCount = static_cast<std::uint32_t>(fileSize / layout().pageSize);
}

bool PageFile::read(std::uint32_t page, std::vector<std::uint8_t>& out) const {
    const std::size_t size = layout().pageSize;
    if (page >= m_pageCount) {
        return false;
    }
    out.assign(size, 0);
    if (std::fseek(m_file.get(), static_cast<long>(page) * static_cast<long>(size), SEEK_SET) != 0 ||
        std::fread(out.data(), 1, size, m_file.get()) != size) {
        return false;
    }
    if (page != 0 && m_header.databaseKey != 0) {
        const std::uint32_t key = m_header.databaseKey ^ page;
        const std::array<std::uint8_t, 4> keyBytes{
            static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(key >> 8),
            static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 24)};
        rc4(keyBytes, out);
    }
    return true;
}

tiermark::Result<void> checkTableDefinition(const PageFile& pages, std::uint32_t tdefPage,
                                            const std::string& name) {
    auto read = readDefinition(pages, tdefPage, name);
    if (!read) {
        return read.error();
    }
    const std::vector<std::uint8_t>& def = read.value();
    const Layout& layout = pages.layout();
    const bool jet4 = pages.header().version == Version::Jet4;

    const std::uint32_t columns = u16(def, layout.tdefColumnsOffset);
    const std::uint32_t variableColumns = u16(def, layout.tdefColumnsOffset - 2);
    const std::uint32_t indexes = u32(def, layout.tdefIndexesOffset);
    const std::uint32_t realIndexes = u32(def, layout.tdefRealIndexesOffset);
    if (columns > kMaxColumns || variableColumns > columns || indexes > kMaxIndexes ||
        realIndexes > kMaxIndexes) {
        return damaged(name, "impossible column or index count");
    }
    std::size_t at = layout.tdefColumnsStart + realIndexes * layout.realIndexEntrySize;
    if (at + columns * layout.columnEntrySize > def.size()) {
        return damaged(name, "column definitions run past the definition");
    }
    const std::size_t flagsAt = jet4 ? 15 : 13;
    const std::size_t fixedOffsetAt = jet4 ? 21 : 14;
    const std::size_t sizeAt = jet4 ? 23 : 16;
    for (std::uint32_t i = 0; i < columns; ++i, at += layout.columnEntrySize) {
        const bool fixed = (def[at + flagsAt] & 0x01) != 0;
        const std::size_t end = std::size_t{u16(def, at + fixedOffsetAt)} + u16(def, at + sizeAt);
        if (fixed && end > layout.pageSize) {
            return damaged(name, "fixed column outside any row");
        }
    }
    for (std::uint32_t i = 0; i < columns; ++i) {
        const std::size_t lengthBytes = jet4 ? 2 : 1;
        if (at + lengthBytes > def.size()) {
            return damaged(name, "column names run past the definition");
        }
        at += lengthBytes + (jet4 ? u16(def, at) : def[at]);
        if (at > def.size()) {
            return damaged(name, "column names run past the definition");
        }
    }
    return checkUsageMap(pages, u32(def, layout.tdefUsageMapOffset), name);
}

}  // namespace stddb::jet

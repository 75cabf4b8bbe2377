#pragma once

// A minimal Access 97 (Jet 3) file, built byte by byte for the reader's Jet 3 path: 2048-byte pages, the
// 126-byte header mask, a plain 20-byte password, one-byte row offsets, code page 932 text. Pages: 0
// header, 1 usage maps, 2-3 MSysObjects (definition, data), 4-5 the one user table.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "stddb/jet_header.h"

namespace stddb::testing {

struct Jet3Column {
    std::string name;   // UTF-8
    std::uint8_t type;  // 4 Long, 10 Text, 11 OLE, 3 Integer
    std::uint16_t size;
};

using Jet3Cell = std::optional<std::string>;  // raw bytes of the value, nothing for Null

class Jet3File {
public:
    static constexpr std::size_t kPage = 2048;

    static std::string build(const std::string& password, const std::string& tableName,
                             const std::vector<Jet3Column>& columns,
                             const std::vector<std::vector<Jet3Cell>>& rows) {
        std::vector<Bytes> pages(6, Bytes(kPage, 0));
        pages[0] = header(password);
        pages[1] = dataPage({map({}), map({3}), map({}), map({5}), map({})}, 0);
        const std::vector<Jet3Column> catalog = {
            {"Id", 4, 4}, {"Name", 10, 128}, {"Type", 3, 2}, {"Flags", 4, 4}, {"LvProp", 11, 0}};
        pages[2] = definition(catalog, 2, 0x53, (1 << 8) | 1, (1 << 8) | 2);
        pages[3] = dataPage({row(catalog, {le32(2), cp932("MSysObjects"), le16(1), le32(0x80000002), {}}),
                             row(catalog, {le32(4), cp932(tableName), le16(1), le32(0), {}})},
                            2);
        pages[4] =
            definition(columns, static_cast<std::uint32_t>(rows.size()), 0x4E, (1 << 8) | 3, (1 << 8) | 4);
        std::vector<Bytes> encoded;
        for (const auto& values : rows) {
            encoded.push_back(row(columns, values));
        }
        pages[5] = dataPage(encoded, 4);
        std::string file;
        for (const Bytes& page : pages) {
            file.append(page.begin(), page.end());
        }
        return file;
    }

    static std::string cp932(const std::string& utf8) {
        std::u16string text;
        for (std::size_t i = 0; i < utf8.size();) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            std::uint32_t code = n == 1 ? c : c & (0x3F >> (n - 1));
            for (int k = 1; k < n; ++k) {
                code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            }
            text.push_back(static_cast<char16_t>(code));
            i += n;
        }
        return tiermark::toCp932(text).value();
    }
    static std::string le16(std::uint16_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8)};
    }
    static std::string le32(std::uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }

private:
    using Bytes = std::vector<std::uint8_t>;

    static void put16(Bytes& b, std::size_t at, std::uint32_t v) {
        b[at] = static_cast<std::uint8_t>(v);
        b[at + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    static void put32(Bytes& b, std::size_t at, std::uint32_t v) {
        put16(b, at, v & 0xFFFF);
        put16(b, at + 2, v >> 16);
    }

    static Bytes header(const std::string& password) {
        Bytes page(kPage, 0);
        page[1] = 1;
        std::memcpy(page.data() + 4, "Standard Jet DB", 15);
        put16(page, jet::kCodePageOffset, 932);
        std::memcpy(page.data() + jet::kPasswordOffset, password.data(), password.size());
        jet::maskHeader(page, jet::Version::Jet3);
        return page;
    }

    static Bytes map(const std::vector<std::uint32_t>& pages) {
        Bytes m(128, 0);
        const std::uint32_t first = pages.empty() ? 0 : pages.front();
        put32(m, 1, first);
        for (std::uint32_t p : pages) {
            m[5 + (p - first) / 8] =
                static_cast<std::uint8_t>(m[5 + (p - first) / 8] | (1U << ((p - first) % 8)));
        }
        return m;
    }

    static Bytes dataPage(const std::vector<Bytes>& rows, std::uint32_t table) {
        Bytes page(kPage, 0);
        page[0] = 1;
        page[1] = 1;
        put32(page, 4, table);
        put16(page, 8, static_cast<std::uint32_t>(rows.size()));
        std::size_t end = kPage;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            end -= rows[i].size();
            std::copy(rows[i].begin(), rows[i].end(), page.begin() + static_cast<std::ptrdiff_t>(end));
            put16(page, 10 + 2 * i, static_cast<std::uint32_t>(end));
        }
        put16(page, 2, static_cast<std::uint32_t>(end - 10 - 2 * rows.size()));
        return page;
    }

    static bool fixed(const Jet3Column& c) { return c.type == 3 || c.type == 4; }

    static Bytes definition(const std::vector<Jet3Column>& columns, std::uint32_t rowCount, std::uint8_t type,
                            std::uint32_t usedMap, std::uint32_t freeMap) {
        Bytes d(43, 0);
        d[0] = 2;
        d[1] = 1;
        d[2] = 'V';
        d[3] = 'C';
        put32(d, 12, rowCount);
        d[20] = type;
        std::uint16_t variable = 0;
        std::uint16_t offset = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            Bytes e(18, 0);
            e[0] = columns[i].type;
            put16(e, 1, static_cast<std::uint32_t>(i));
            put16(e, 5, static_cast<std::uint32_t>(i));
            e[13] = static_cast<std::uint8_t>((fixed(columns[i]) ? 1 : 0) | 2);
            if (fixed(columns[i])) {
                put16(e, 14, offset);
                offset = static_cast<std::uint16_t>(offset + columns[i].size);
            } else {
                put16(e, 3, variable++);
            }
            put16(e, 16, columns[i].size);
            d.insert(d.end(), e.begin(), e.end());
        }
        put16(d, 21, static_cast<std::uint32_t>(columns.size()));
        put16(d, 23, variable);
        put16(d, 25, static_cast<std::uint32_t>(columns.size()));
        put32(d, 35, usedMap);
        put32(d, 39, freeMap);
        for (const auto& c : columns) {
            const std::string name = cp932(c.name);
            d.push_back(static_cast<std::uint8_t>(name.size()));
            d.insert(d.end(), name.begin(), name.end());
        }
        d.push_back(0xFF);
        d.push_back(0xFF);
        put32(d, 8, static_cast<std::uint32_t>(d.size() - 8));
        d.resize(kPage, 0);
        return d;
    }

    // Count, fixed area, variable data, end of data, offsets in reverse, variable count, null mask.
    static Bytes row(const std::vector<Jet3Column>& columns, const std::vector<Jet3Cell>& cells) {
        Bytes r{static_cast<std::uint8_t>(columns.size())};
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (fixed(columns[i])) {
                const std::string value = cells[i].value_or(std::string(columns[i].size, '\0'));
                r.insert(r.end(), value.begin(), value.end());
            }
        }
        std::vector<std::uint8_t> offsets;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (!fixed(columns[i])) {
                offsets.push_back(static_cast<std::uint8_t>(r.size()));
                if (cells[i]) {
                    r.insert(r.end(), cells[i]->begin(), cells[i]->end());
                }
            }
        }
        if (!offsets.empty()) {
            r.push_back(static_cast<std::uint8_t>(r.size()));
            r.insert(r.end(), offsets.rbegin(), offsets.rend());
            r.push_back(static_cast<std::uint8_t>(offsets.size()));
        }
        Bytes mask((columns.size() + 7) / 8, 0);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (cells[i]) {
                mask[i / 8] = static_cast<std::uint8_t>(mask[i / 8] | (1U << (i % 8)));
            }
        }
        r.insert(r.end(), mask.begin(), mask.end());
        return r;
    }
};

}  // namespace stddb::testing

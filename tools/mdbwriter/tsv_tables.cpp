#include "tools/mdbwriter/tsv_tables.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "common/numtext.h"
#include "common/utf.h"

namespace mdbwriter {

namespace {

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(
            line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) {
            return cells;
        }
        start = tab + 1;
    }
}

tiermark::Result<std::string> unescape(std::string_view cell) {
    std::string out;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] != '\\') {
            out.push_back(cell[i]);
            continue;
        }
        if (++i >= cell.size()) {
            return tiermark::makeError("a cell ends in a lone backslash");
        }
        switch (cell[i]) {
            case 't':
                out.push_back('\t');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case '\\':
                out.push_back('\\');
                break;
            default:
                return tiermark::makeError(std::string("unknown escape \\") + cell[i]);
        }
    }
    return out;
}

tiermark::Result<stddb::Column> parseColumn(std::string_view declaration) {
    const std::size_t colon = declaration.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        return tiermark::makeError("a column is declared as name:Type, not \"" + std::string(declaration) +
                                   "\"");
    }
    stddb::Column column;
    column.name = tiermark::fromUtf8(declaration.substr(0, colon));
    const std::string_view type = declaration.substr(colon + 1);
    if (type == "Integer") {
        column.type = stddb::ColumnType::Integer;
    } else if (type == "Long") {
        column.type = stddb::ColumnType::Long;
    } else if (type == "Double") {
        column.type = stddb::ColumnType::Double;
    } else if (type == "Text") {
        column.type = stddb::ColumnType::Text;
        column.textLength = 255;
    } else if (type.starts_with("Text(") && type.ends_with(")")) {
        const std::string_view digits = type.substr(5, type.size() - 6);
        int length = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), length);
        if (ec != std::errc{} || end != digits.data() + digits.size() || length < 1 || length > 255) {
            return tiermark::makeError("a Text length is 1 to 255: \"" + std::string(type) + "\"");
        }
        column.type = stddb::ColumnType::Text;
        column.textLength = length;
    } else {
        return tiermark::makeError("unknown column type \"" + std::string(type) + "\"");
    }
    return column;
}

tiermark::Result<stddb::Value> parseCell(const stddb::Column& column, std::string_view cell) {
    if (cell == "\\N") {
        return stddb::Value{};
    }
    if (column.type == stddb::ColumnType::Text) {
        auto text = unescape(cell);
        if (!text) {
            return text.error();
        }
        return stddb::Value{tiermark::fromUtf8(text.value())};
    }
    if (column.type == stddb::ColumnType::Double) {
        const auto number = tiermark::parseDecimal(cell);
        if (!number) {
            return tiermark::makeError("not a number: \"" + std::string(cell) + "\"");
        }
        return stddb::Value{*number};
    }
    std::int64_t whole = 0;
    const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), whole);
    if (cell.empty() || ec != std::errc{} || end != cell.data() + cell.size()) {
        return tiermark::makeError("not a whole number: \"" + std::string(cell) + "\"");
    }
    return stddb::Value{whole};
}

}  // namespace

tiermark::Result<stddb::Table> parseTsvTable(std::u16string name, std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    stddb::Table table;
    table.name = std::move(name);
    bool header = true;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.starts_with('#') || (header && line.empty())) {
            continue;
        }
        const std::string where =
            tiermark::toUtf8(table.name) + ".tsv line " + std::to_string(lineNumber) + ": ";
        const std::vector<std::string_view> cells = splitTabs(line);
        if (header) {
            for (std::string_view cell : cells) {
                auto column = parseColumn(cell);
                if (!column) {
                    return tiermark::makeError(where + column.error().message);
                }
                table.columns.push_back(std::move(column.value()));
            }
            header = false;
            continue;
        }
        if (cells.size() != table.columns.size()) {
            return tiermark::makeError(where + std::to_string(cells.size()) + " cells for " +
                                       std::to_string(table.columns.size()) + " columns");
        }
        std::vector<stddb::Value> row;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            auto value = parseCell(table.columns[i], cells[i]);
            if (!value) {
                return tiermark::makeError(where + "column " + tiermark::toUtf8(table.columns[i].name) +
                                           ": " + value.error().message);
            }
            row.push_back(std::move(value.value()));
        }
        table.rows.push_back(std::move(row));
    }
    if (header) {
        return tiermark::makeError(tiermark::toUtf8(table.name) + ".tsv declares no columns");
    }
    return table;
}

tiermark::Result<std::vector<stddb::Table>> readTsvFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".tsv") {
            files.push_back(entry.path());
        }
    }
    if (error) {
        return tiermark::makeError("cannot list " + folder.string() + ": " + error.message());
    }
    std::sort(files.begin(), files.end());
    std::vector<stddb::Table> tables;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        if (!in) {
            return tiermark::makeError("cannot read " + file.string());
        }
        const std::u8string stem = file.stem().u8string();
        auto table = parseTsvTable(tiermark::fromUtf8(std::string(stem.begin(), stem.end())), content.str());
        if (!table) {
            return table.error();
        }
        tables.push_back(std::move(table.value()));
    }
    return tables;
}

std::vector<stddb::Table> scaleSample(std::vector<stddb::Table> tables, int factor) {
    const std::vector<std::pair<std::u16string, std::u16string>> drawingColumns = {
        {u"図面マスター", u"図面名称"}, {u"レイヤーテーブル", u"図面名"}};
    for (stddb::Table& table : tables) {
        for (const auto& [tableName, columnName] : drawingColumns) {
            const int column = table.columnIndex(columnName);
            if (table.name != tableName || column < 0) {
                continue;
            }
            const auto original = table.rows;
            for (int copy = 2; copy <= factor; ++copy) {
                const std::string suffix = "(" + std::to_string(copy) + ")";
                for (auto row : original) {
                    auto& cell = row[static_cast<std::size_t>(column)];
                    if (const auto* text = std::get_if<std::u16string>(&cell)) {
                        cell = *text + std::u16string(suffix.begin(), suffix.end());
                    }
                    table.rows.push_back(std::move(row));
                }
            }
        }
    }
    return tables;
}

}  // namespace mdbwriter

#include "dxf/layer_table.h"

#include <cstdlib>
#include <fstream>
#include <unordered_set>

namespace dxf {

namespace {

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";

tiermark::Error fault(const std::string& what) {
    return tiermark::makeError(what);
}

std::string lineText(std::size_t line) {
    return std::to_string(line) + " 行目";
}

// Reads one line without its line end (LF, CR LF or a lone CR before LF); false at the end of the input.
// A line longer than kMaxLineBytes sets tooLong and stops.
bool readLine(std::istream& in, std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    std::streambuf* buffer = in.rdbuf();
    bool any = false;
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            return any;
        }
        any = true;
        if (c == '\n') {
            break;
        }
        if (line.size() >= kMaxLineBytes) {
            tooLong = true;
            return true;
        }
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// A group code line: optional blanks, an optional minus and up to six digits.
bool parseCode(std::string_view line, int& code) {
    const std::string_view text = trim(line);
    std::size_t at = text.size() > 0 && text[0] == '-' ? 1 : 0;
    if (text.size() == at || text.size() - at > 6) {
        return false;
    }
    int value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') {
            return false;
        }
        value = value * 10 + (text[at] - '0');
    }
    code = text[0] == '-' ? -value : value;
    return true;
}

// A whole number as a group value holds it; nothing when it is none.
bool parseInteger(std::string_view value, long& number) {
    const std::string text(trim(value));
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    number = std::strtol(text.c_str(), &end, 10);
    return end != nullptr && *end == '\0';
}

char16_t foldAscii(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

std::u16string foldedName(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded) {
        c = foldAscii(c);
    }
    return folded;
}

// One record of the layer table as it is being read.
struct Record {
    std::string name;
    std::string linetype;
    long colour = 7;
    bool hasName = false;
};

}  // namespace

tiermark::Result<LayerTable> readLayerTable(std::istream& in) {
    LayerTable table;
    std::unordered_set<std::u16string> seen;
    std::string codeLine;
    std::string value;
    std::size_t line = 0;
    bool tooLong = false;

    std::string section;    // the section being read
    std::string tableName;  // the table being read inside TABLES
    std::string headerVariable;
    bool sawSection = false;
    bool inLayerRecord = false;
    bool sawLayerTable = false;
    bool sawEof = false;
    Record record;

    auto finishRecord = [&]() -> tiermark::Result<void> {
        if (!inLayerRecord) {
            return {};
        }
        inLayerRecord = false;
        if (!record.hasName || record.name.empty()) {
            return {};  // a record without a name names no layer
        }
        DecodedText name = decodeText(record.name, table.encoding);
        if (!seen.insert(foldedName(name.text)).second) {
            ++table.duplicates;
            return {};
        }
        if (table.layers.size() >= kMaxLayers) {
            return fault("画層が多すぎます（" + std::to_string(kMaxLayers) + " を超えています）。");
        }
        table.unreadableNames += name.lossy ? 1 : 0;
        const long colour = std::labs(record.colour);
        table.layers.push_back(cadlink::DrawingLayer{
            std::move(name.text), static_cast<int>(colour >= 1 && colour <= 255 ? colour : 7),
            decodeText(record.linetype, table.encoding).text});
        return {};
    };

    while (readLine(in, codeLine, tooLong)) {
        ++line;
        if (tooLong) {
            return fault(lineText(line) + "が長すぎます。DXF ファイルではないか、壊れています。");
        }
        if (line == 1 && codeLine.rfind(kBinarySentinel, 0) == 0) {
            return fault(
                "バイナリ形式の DXF は読めません。AutoCAD LT で ASCII 形式の DXF として保存し直してください。");
        }
        int code = 0;
        if (!parseCode(codeLine, code)) {
            if (!sawSection) {
                return fault("DXF ファイルではありません（" + lineText(line) +
                             "がグループコードではありません）。");
            }
            return fault("DXF ファイルが壊れています（" + lineText(line) +
                         "がグループコードではありません）。");
        }
        if (!readLine(in, value, tooLong)) {
            return fault("DXF ファイルが途中で切れています。");
        }
        ++line;
        if (tooLong) {
            return fault(lineText(line) + "が長すぎます。DXF ファイルではないか、壊れています。");
        }
        if (!sawSection) {
            if (code == 999) {
                continue;  // a comment before the first section
            }
            if (code != 0 || trim(value) != "SECTION") {
                return fault("DXF ファイルではありません（SECTION で始まっていません）。");
            }
        }

        if (code == 0) {
            if (auto done = finishRecord(); !done) {
                return done.error();
            }
            const std::string_view kind = trim(value);
            if (kind == "SECTION") {
                sawSection = true;
                section = "?";  // named by the next group 2
                tableName.clear();
            } else if (kind == "ENDSEC") {
                section.clear();
            } else if (kind == "TABLE" && section == "TABLES") {
                tableName = "?";
            } else if (kind == "ENDTAB") {
                if (tableName == "LAYER") {
                    return table;  // the rest of the file holds nothing the layer table needs
                }
                tableName.clear();
            } else if (kind == "EOF") {
                sawEof = true;
                break;
            } else if (kind == "LAYER" && section == "TABLES" && tableName == "LAYER") {
                inLayerRecord = true;
                record = Record{};
            }
            continue;
        }
        if (code == 2 && section == "?") {
            section = std::string(trim(value));
            if (section == "ENTITIES" && !sawLayerTable) {
                // The tables come before the drawing's objects: a file whose objects begin before any
                // layer table has none, and the rest of it (nearly all of a large file) need not be read.
                return fault("この DXF ファイルには画層テーブルがありません。");
            }
            continue;
        }
        if (code == 2 && tableName == "?") {
            tableName = std::string(trim(value));
            sawLayerTable = sawLayerTable || tableName == "LAYER";
            continue;
        }
        if (section == "HEADER") {
            if (code == 9) {
                headerVariable = std::string(trim(value));
            } else if (headerVariable == "$ACADVER" && code == 1) {
                table.version = std::string(trim(value));
                table.encoding = encodingOf(table.version, table.codePage);
            } else if (headerVariable == "$DWGCODEPAGE" && code == 3) {
                table.codePage = std::string(trim(value));
                table.encoding = encodingOf(table.version, table.codePage);
            }
            continue;
        }
        if (inLayerRecord) {
            long number = 0;
            switch (code) {
                case 2:
                    record.name = value;  // as written: blanks may belong to the name
                    record.hasName = true;
                    break;
                case 6:
                    record.linetype = std::string(trim(value));
                    break;
                case 62:
                    if (parseInteger(value, number)) {
                        record.colour = number;
                    }
                    break;
                default:
                    break;
            }
        }
    }
    if (in.bad()) {
        return fault("ファイルを読み取れませんでした。");
    }
    if (!sawSection) {
        return fault(line == 0 ? "空のファイルです。"
                               : "DXF ファイルではありません（SECTION で始まっていません）。");
    }
    if (!sawEof || sawLayerTable) {
        return fault(
            "DXF ファイルが途中で切れています（画層テーブルが終わる前にファイルが終わっています）。");
    }
    return fault("この DXF ファイルには画層テーブルがありません。");
}

tiermark::Result<LayerTable> readLayerTableFile(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return fault("フォルダーは DXF ファイルではありません。");
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return fault("ファイルを開けません。");
    }
    return readLayerTable(file);
}

}  // namespace dxf

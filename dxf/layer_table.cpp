#include "dxf/layer_table.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <unordered_set>

namespace dxf {

namespace {

// The first bytes of a binary DXF file; its groups follow.
constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};
constexpr std::string_view kBinaryName = "AutoCAD Binary DXF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Flag 16 of a layer record's group 70: the layer belongs to an external reference.
constexpr long kXrefDependentFlag = 16;

tiermark::Error fault(const std::string& what) {
    return tiermark::makeError(what);
}

// The bytes of the input, taken one at a time from its buffer. The first few, looked at to tell a binary
// file from an ASCII one, are handed out again.
class Bytes {
public:
    explicit Bytes(std::istream& in) : m_in(in), m_buffer(in.rdbuf()) {}

    // Up to count bytes from here on, without taking them.
    std::string_view peek(std::size_t count) {
        while (m_head.size() - m_at < count) {
            const int c = m_buffer == nullptr ? std::char_traits<char>::eof() : m_buffer->sbumpc();
            if (c == std::char_traits<char>::eof()) {
                break;
            }
            m_head.push_back(static_cast<char>(c));
        }
        return std::string_view(m_head).substr(m_at, count);
    }

    // The next byte (0 to 255), or -1 at the end of the input.
    int get() {
        if (m_at < m_head.size()) {
            ++m_offset;
            return static_cast<unsigned char>(m_head[m_at++]);
        }
        const int c = m_buffer == nullptr ? std::char_traits<char>::eof() : m_buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            m_in.setstate(std::ios::eofbit);
            return -1;
        }
        ++m_offset;
        return c;
    }

    void skip(std::size_t count) {
        for (std::size_t i = 0; i < count && get() >= 0; ++i) {
        }
    }

    std::size_t offset() const { return m_offset; }

private:
    std::istream& m_in;
    std::streambuf* m_buffer;
    std::string m_head;
    std::size_t m_at = 0;
    std::size_t m_offset = 0;
};

// One group of the file: its code and its value.
struct Group {
    int code = 0;
    std::string text;                    // a text value; in an ASCII file every value, as written
    std::optional<std::int64_t> number;  // an integer value of a binary file
};

// What went wrong while a group was read, and where (in the user's terms: a line, or a byte).
struct Problem {
    enum class Kind { NotACode, TooLong, Truncated } kind = Kind::Truncated;
    std::string where;
};

enum class Step { Group, End, Fault };

class Groups {
public:
    virtual ~Groups() = default;
    // The next group; End where the input ends between two groups.
    virtual Step next(Group& group) = 0;
    const Problem& problem() const { return m_problem; }
    // Whether nothing at all was read.
    virtual bool empty() const = 0;

protected:
    Step fail(Problem::Kind kind, std::string where) {
        m_problem = Problem{kind, std::move(where)};
        return Step::Fault;
    }

private:
    Problem m_problem;
};

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

// The groups of an ASCII file: a code line, then a value line, each ending in LF or CR LF.
class AsciiGroups final : public Groups {
public:
    explicit AsciiGroups(Bytes& bytes) : m_bytes(bytes) {}

    Step next(Group& group) override {
        std::string code;
        switch (readLine(code)) {
            case Line::End:
                return Step::End;
            case Line::TooLong:
                return fail(Problem::Kind::TooLong, lineText());
            case Line::Read:
                break;
        }
        if (!parseCode(code, group.code)) {
            return fail(Problem::Kind::NotACode, lineText());
        }
        group.number.reset();
        switch (readLine(group.text)) {
            case Line::End:
                return fail(Problem::Kind::Truncated, lineText());
            case Line::TooLong:
                return fail(Problem::Kind::TooLong, lineText());
            case Line::Read:
                break;
        }
        return Step::Group;
    }
    bool empty() const override { return m_line == 0; }

private:
    enum class Line { Read, End, TooLong };

    std::string lineText() const { return std::to_string(m_line) + " 行目"; }

    // One line without its line end; a line longer than kMaxLineBytes stops the reading.
    Line readLine(std::string& line) {
        line.clear();
        bool any = false;
        for (;;) {
            const int c = m_bytes.get();
            if (c < 0) {
                if (!any) {
                    return Line::End;
                }
                break;  // the last line, without a line end (a file cut short between CR and LF, too)
            }
            if (!any) {
                any = true;
                ++m_line;
            }
            if (c == '\n') {
                break;
            }
            if (line.size() >= kMaxLineBytes) {
                return Line::TooLong;
            }
            line.push_back(static_cast<char>(c));
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        return Line::Read;
    }

    Bytes& m_bytes;
    std::size_t m_line = 0;
};

// How a binary file stores the value of a group, by its code (the DXF reference's group code value types).
enum class Stored { Text, Int16, Int32, Int64, Double, Flag, Chunk };

bool within(int code, int first, int last) {
    return code >= first && code <= last;
}

Stored storedAs(int code) {
    if (within(code, 10, 59) || within(code, 110, 149) || within(code, 210, 239) || within(code, 460, 469) ||
        within(code, 1010, 1059)) {
        return Stored::Double;
    }
    if (within(code, 60, 79) || within(code, 170, 179) || within(code, 270, 289) || within(code, 370, 389) ||
        within(code, 400, 409) || within(code, 1060, 1070)) {
        return Stored::Int16;
    }
    if (within(code, 90, 99) || within(code, 420, 459) || code == 1071) {
        return Stored::Int32;
    }
    if (within(code, 160, 169)) {
        return Stored::Int64;
    }
    if (within(code, 290, 299)) {
        return Stored::Flag;
    }
    if (within(code, 310, 319) || code == 1004) {
        return Stored::Chunk;
    }
    return Stored::Text;
}

// The groups of a binary file after its sentinel: each a group code (two bytes, little-endian; one byte in
// R12 files, 255 announcing a two-byte code after it), then the value: a NUL-terminated text, a
// little-endian integer or double, a one-byte flag, or a chunk of bytes after its one-byte length.
class BinaryGroups final : public Groups {
public:
    BinaryGroups(Bytes& bytes, bool oneByteCodes) : m_bytes(bytes), m_oneByteCodes(oneByteCodes) {}

    Step next(Group& group) override {
        const std::size_t start = m_bytes.offset();
        const int first = m_bytes.get();
        if (first < 0) {
            return Step::End;
        }
        m_any = true;
        std::uint64_t code = static_cast<std::uint64_t>(first);
        if (!m_oneByteCodes || first == 255) {
            std::uint64_t wide = 0;
            const bool whole = m_oneByteCodes ? little(2, wide) : little(1, wide);
            if (!whole) {
                return truncated();
            }
            code = m_oneByteCodes ? wide : code | (wide << 8);
        }
        group.code = static_cast<std::int16_t>(static_cast<std::uint16_t>(code));
        group.text.clear();
        group.number.reset();
        std::uint64_t value = 0;
        switch (storedAs(group.code)) {
            case Stored::Text:
                for (;;) {
                    const int c = m_bytes.get();
                    if (c < 0) {
                        return truncated();
                    }
                    if (c == 0) {
                        break;
                    }
                    if (group.text.size() >= kMaxLineBytes) {
                        return fail(Problem::Kind::TooLong, byteText(start));
                    }
                    group.text.push_back(static_cast<char>(c));
                }
                return Step::Group;
            case Stored::Int16:
                if (!little(2, value)) {
                    return truncated();
                }
                group.number = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
                return Step::Group;
            case Stored::Int32:
                if (!little(4, value)) {
                    return truncated();
                }
                group.number = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
                return Step::Group;
            case Stored::Int64:
                if (!little(8, value)) {
                    return truncated();
                }
                group.number = static_cast<std::int64_t>(value);
                return Step::Group;
            case Stored::Double:
                return little(8, value) ? Step::Group : truncated();
            case Stored::Flag:
                if (!little(1, value)) {
                    return truncated();
                }
                group.number = static_cast<std::int64_t>(value);
                return Step::Group;
            case Stored::Chunk: {
                const int length = m_bytes.get();
                if (length < 0) {
                    return truncated();
                }
                for (int i = 0; i < length; ++i) {
                    if (m_bytes.get() < 0) {
                        return truncated();
                    }
                }
                return Step::Group;
            }
        }
        return Step::Group;
    }
    bool empty() const override { return !m_any; }

private:
    static std::string byteText(std::size_t offset) { return std::to_string(offset + 1) + " バイト目"; }
    Step truncated() { return fail(Problem::Kind::Truncated, byteText(m_bytes.offset())); }

    // count bytes as a little-endian number; false where the input ends before them.
    bool little(int count, std::uint64_t& value) {
        value = 0;
        for (int i = 0; i < count; ++i) {
            const int c = m_bytes.get();
            if (c < 0) {
                return false;
            }
            value |= static_cast<std::uint64_t>(c) << (8 * i);
        }
        return true;
    }

    Bytes& m_bytes;
    bool m_oneByteCodes;
    bool m_any = false;
};

// A whole number as a group holds it: a binary file's integer, or an ASCII file's value text.
bool integerOf(const Group& group, long long& number) {
    if (group.number) {
        number = *group.number;
        return true;
    }
    const std::string text(trim(group.text));
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    number = std::strtoll(text.c_str(), &end, 10);
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
    long long colour = 7;
    long long flags = 0;
    std::optional<std::uint32_t> trueColour;
    bool hasName = false;
};

std::string problemMessage(const Problem& problem, bool sawSection) {
    switch (problem.kind) {
        case Problem::Kind::NotACode:
            return sawSection
                       ? "DXF ファイルが壊れています（" + problem.where + "がグループコードではありません）。"
                       : "DXF ファイルではありません（" + problem.where +
                             "がグループコードではありません）。";
        case Problem::Kind::TooLong:
            return problem.where + "が長すぎます。DXF ファイルではないか、壊れています。";
        case Problem::Kind::Truncated:
            break;
    }
    return "DXF ファイルが途中で切れています。";
}

}  // namespace

tiermark::Result<LayerTable> readLayerTable(std::istream& in) {
    LayerTable table;
    Bytes bytes(in);
    std::optional<AsciiGroups> ascii;
    std::optional<BinaryGroups> binary;
    Groups* groups = nullptr;
    if (bytes.peek(kBinaryName.size()) == kBinaryName) {
        const std::string_view start = bytes.peek(kBinarySentinel.size());
        if (start.size() < kBinarySentinel.size()) {
            return fault("DXF ファイルが途中で切れています。");
        }
        if (start != kBinarySentinel) {
            return fault("バイナリ形式の DXF ファイルの始まりが壊れています。");
        }
        bytes.skip(kBinarySentinel.size());
        // The first group is 0 "SECTION": its code's second byte is 0 where codes take two bytes, and
        // "S" in an R12 file, whose codes take one.
        const std::string_view first = bytes.peek(2);
        binary.emplace(bytes, first.size() == 2 && first[1] != '\0');
        groups = &*binary;
        table.binary = true;
    } else {
        if (bytes.peek(kUtf8Mark.size()) == kUtf8Mark) {
            bytes.skip(kUtf8Mark.size());  // a byte order mark that some programs put before the first line
        }
        ascii.emplace(bytes);
        groups = &*ascii;
    }

    std::unordered_set<std::u16string> seen;
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
        const long long colour = std::llabs(record.colour);
        cadlink::DrawingLayer layer;
        layer.name = std::move(name.text);
        layer.colour = static_cast<int>(colour >= 1 && colour <= 255 ? colour : 7);
        layer.linetype = decodeText(record.linetype, table.encoding).text;
        layer.trueColour = record.trueColour;
        layer.xrefDependent = (record.flags & kXrefDependentFlag) != 0;
        table.layers.push_back(std::move(layer));
        return {};
    };

    Group group;
    for (;;) {
        const Step step = groups->next(group);
        if (step == Step::End) {
            break;
        }
        if (step == Step::Fault) {
            return fault(problemMessage(groups->problem(), sawSection));
        }
        const int code = group.code;
        const std::string& value = group.text;
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
            long long number = 0;
            switch (code) {
                case 2:
                    record.name = value;  // as written: blanks may belong to the name
                    record.hasName = true;
                    break;
                case 6:
                    record.linetype = std::string(trim(value));
                    break;
                case 62:
                    if (integerOf(group, number)) {
                        record.colour = number;
                    }
                    break;
                case 70:
                    if (integerOf(group, number)) {
                        record.flags = number;
                    }
                    break;
                case 420:
                    // 0x00RRGGBB; the colour number (62) beside it is the nearest of the 255.
                    if (integerOf(group, number) && number >= 0) {
                        record.trueColour = static_cast<std::uint32_t>(number & 0xFFFFFF);
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
        if (groups->empty()) {
            // A binary file that ends after its first bytes was cut short; an ASCII one is empty.
            return fault(table.binary ? "DXF ファイルが途中で切れています。" : "空のファイルです。");
        }
        return fault("DXF ファイルではありません（SECTION で始まっていません）。");
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

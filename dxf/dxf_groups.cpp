#include "dxf/dxf_groups.h"

#include "dxf/layer_table.h"

namespace dxf::groups {

namespace {

// The first bytes of a binary DXF file; its groups follow.
constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};
constexpr std::string_view kBinaryName = "AutoCAD Binary DXF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

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

}  // namespace

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

void Place::start(std::string_view kind) {
    if (kind == "SECTION") {
        sawSection = true;
        section = "?";
        table.clear();
    } else if (kind == "ENDSEC") {
        section.clear();
    } else if (kind == "TABLE" && section == "TABLES") {
        table = "?";
    } else if (kind == "ENDTAB") {
        table.clear();
    } else if (kind == "EOF") {
        sawEof = true;
    }
}

bool Place::name(std::string_view value) {
    std::string* named = section == "?" ? &section : table == "?" ? &table : nullptr;
    if (named == nullptr) {
        return false;
    }
    *named = std::string(trim(value));
    return true;
}

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

tiermark::Result<Opened> open(Bytes& bytes) {
    Opened opened;
    if (bytes.peek(kBinaryName.size()) == kBinaryName) {
        const std::string_view start = bytes.peek(kBinarySentinel.size());
        if (start.size() < kBinarySentinel.size()) {
            return tiermark::makeError("DXF ファイルが途中で切れています。");
        }
        if (start != kBinarySentinel) {
            return tiermark::makeError("バイナリ形式の DXF ファイルの始まりが壊れています。");
        }
        bytes.skip(kBinarySentinel.size());
        // The first group is 0 "SECTION": its code's second byte is 0 where codes take two bytes, and
        // "S" in an R12 file, whose codes take one.
        const std::string_view first = bytes.peek(2);
        opened.groups = std::make_unique<BinaryGroups>(bytes, first.size() == 2 && first[1] != '\0');
        opened.binary = true;
    } else {
        if (bytes.peek(kUtf8Mark.size()) == kUtf8Mark) {
            bytes.skip(kUtf8Mark.size());  // a byte order mark that some programs put before the first line
        }
        opened.groups = std::make_unique<AsciiGroups>(bytes);
    }
    return opened;
}

}  // namespace dxf::groups

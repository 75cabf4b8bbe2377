#include "dxf/layer_table.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <unordered_set>
#include <utility>

#include "common/ascii.h"
#include "dxf/dxf_groups.h"

namespace dxf {

namespace {

using groups::Bytes;
using groups::Group;
using groups::Groups;
using groups::Step;
using groups::trim;

// Flag 16 of a layer record's group 70: the layer belongs to an external reference.
constexpr long kXrefDependentFlag = 16;

tiermark::Error fault(const std::string& what) {
    return tiermark::makeError(what);
}

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

// One record of the layer table as it is being read.
struct Record {
    std::string name;
    std::string linetype;
    long long colour = 7;
    long long flags = 0;
    std::optional<std::uint32_t> trueColour;
    bool hasName = false;
};

// What a group leads to: read on, the layer table is complete, or the file's EOF is reached.
enum class Reading { More, TableDone, FileEnd };

// The layer table as the groups of a file build it: which section and table they are in, the header's
// version and code page, and the layer record being read.
class TableReader {
public:
    explicit TableReader(bool binary) { m_table.binary = binary; }

    tiermark::Result<Reading> take(const Group& group) {
        const int code = group.code;
        const std::string& value = group.text;
        if (!m_place.sawSection) {
            if (code == 999) {
                return Reading::More;  // a comment before the first section
            }
            if (code != 0 || trim(value) != "SECTION") {
                return fault("DXF ファイルではありません（SECTION で始まっていません）。");
            }
        }
        if (code == 0) {
            return startOf(trim(value));
        }
        if (code == 2 && m_place.name(value)) {
            // Tables are named only inside TABLES: a section named ENTITIES was named just now.
            if (m_place.section == "ENTITIES" && !m_sawLayerTable) {
                // The tables come before the drawing's objects: a file whose objects begin before any
                // layer table has none, and the rest of it (nearly all of a large file) need not be read.
                return fault("この DXF ファイルには画層テーブルがありません。");
            }
            m_sawLayerTable = m_sawLayerTable || m_place.table == "LAYER";
            return Reading::More;
        }
        if (m_place.section == "HEADER") {
            takeHeaderGroup(code, value);
        } else if (m_inLayerRecord) {
            takeRecordGroup(group);
        }
        return Reading::More;
    }

    bool sawSection() const { return m_place.sawSection; }
    LayerTable table() && {
        m_table.currentLayer = decodeText(m_currentLayer, m_table.encoding).text;
        return std::move(m_table);
    }

    // Why the input ended before the layer table did; empty says whether it held any group at all.
    tiermark::Error endedEarly(bool empty) const {
        if (!m_place.sawSection) {
            if (empty) {
                // A binary file that ends after its first bytes was cut short; an ASCII one is empty.
                return fault(m_table.binary ? "DXF ファイルが途中で切れています。" : "空のファイルです。");
            }
            return fault("DXF ファイルではありません（SECTION で始まっていません）。");
        }
        if (!m_place.sawEof || m_sawLayerTable) {
            return fault(
                "DXF ファイルが途中で切れています（画層テーブルが終わる前にファイルが終わっています）。");
        }
        return fault("この DXF ファイルには画層テーブルがありません。");
    }

private:
    // A group 0: the start of a section, a table, a record or the end of one.
    tiermark::Result<Reading> startOf(std::string_view kind) {
        if (auto done = finishRecord(); !done) {
            return done.error();
        }
        if (kind == "ENDTAB" && m_place.table == "LAYER") {
            return Reading::TableDone;  // the rest of the file holds nothing the layer table needs
        }
        m_place.start(kind);
        if (kind == "EOF") {
            return Reading::FileEnd;
        }
        if (kind == "LAYER" && m_place.section == "TABLES" && m_place.table == "LAYER") {
            m_inLayerRecord = true;
            m_record = Record{};
        }
        return Reading::More;
    }

    void takeHeaderGroup(int code, const std::string& value) {
        if (code == 9) {
            m_headerVariable = std::string(trim(value));
        } else if (m_headerVariable == "$ACADVER" && code == 1) {
            m_table.version = std::string(trim(value));
            m_table.encoding = encodingOf(m_table.version, m_table.codePage);
        } else if (m_headerVariable == "$DWGCODEPAGE" && code == 3) {
            m_table.codePage = std::string(trim(value));
            m_table.encoding = encodingOf(m_table.version, m_table.codePage);
        } else if (m_headerVariable == "$CLAYER" && code == 8) {
            m_currentLayer = value;  // read once the code page is known
        }
    }

    void takeRecordGroup(const Group& group) {
        long long number = 0;
        switch (group.code) {
            case 2:
                m_record.name = group.text;  // as written: blanks may belong to the name
                m_record.hasName = true;
                break;
            case 6:
                m_record.linetype = std::string(trim(group.text));
                break;
            case 62:
                if (integerOf(group, number)) {
                    m_record.colour = number;
                }
                break;
            case 70:
                if (integerOf(group, number)) {
                    m_record.flags = number;
                }
                break;
            case 420:
                // 0x00RRGGBB; the colour number (62) beside it is the nearest of the 255.
                if (integerOf(group, number) && number >= 0) {
                    m_record.trueColour = static_cast<std::uint32_t>(number & 0xFFFFFF);
                }
                break;
            default:
                break;
        }
    }

    // The layer of the record just read, unless it has no name or repeats an earlier one.
    tiermark::Result<void> finishRecord() {
        if (!m_inLayerRecord) {
            return {};
        }
        m_inLayerRecord = false;
        if (!m_record.hasName || m_record.name.empty()) {
            return {};  // a record without a name names no layer
        }
        DecodedText name = decodeText(m_record.name, m_table.encoding);
        if (!m_seen.insert(tiermark::asciiUppercased(name.text)).second) {
            ++m_table.duplicates;
            return {};
        }
        if (m_table.layers.size() >= kMaxLayers) {
            return fault("画層が多すぎます（" + std::to_string(kMaxLayers) + " を超えています）。");
        }
        m_table.unreadableNames += name.lossy ? 1 : 0;
        const long long colour = std::llabs(m_record.colour);
        cadlink::DrawingLayer layer;
        layer.name = std::move(name.text);
        layer.colour = static_cast<int>(colour >= 1 && colour <= 255 ? colour : 7);
        layer.linetype = decodeText(m_record.linetype, m_table.encoding).text;
        layer.trueColour = m_record.trueColour;
        layer.xrefDependent = (m_record.flags & kXrefDependentFlag) != 0;
        m_table.layers.push_back(std::move(layer));
        return {};
    }

    LayerTable m_table;
    std::unordered_set<std::u16string> m_seen;
    groups::Place m_place;
    std::string m_headerVariable;
    std::string m_currentLayer;
    bool m_inLayerRecord = false;
    bool m_sawLayerTable = false;
    Record m_record;
};

}  // namespace

tiermark::Result<LayerTable> readLayerTable(std::istream& in) {
    Bytes bytes(in);
    auto opened = groups::open(bytes);
    if (!opened) {
        return opened.error();
    }
    Groups& groups = *opened->groups;
    TableReader reader(opened->binary);
    Group group;
    for (;;) {
        const Step step = groups.next(group);
        if (step == Step::End) {
            break;
        }
        if (step == Step::Fault) {
            return fault(groups::problemMessage(groups.problem(), reader.sawSection()));
        }
        auto reading = reader.take(group);
        if (!reading) {
            return reading.error();
        }
        if (*reading == Reading::TableDone) {
            return std::move(reader).table();
        }
        if (*reading == Reading::FileEnd) {
            break;
        }
    }
    if (in.bad()) {
        return fault("ファイルを読み取れませんでした。");
    }
    return reader.endedEarly(groups.empty());
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

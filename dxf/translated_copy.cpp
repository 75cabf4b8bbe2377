#include "dxf/translated_copy.h"

#include <cstdlib>
#include <streambuf>
#include <unordered_map>
#include <utility>

#include "common/ascii.h"
#include "common/utf.h"
#include "dxf/dxf_groups.h"
#include "dxf/group_bytes.h"
#include "dxf/removed_records.h"
#include "dxf/text_encoding.h"

namespace dxf {

namespace {

using groups::addedNumber;
using groups::addedText;
using groups::Bytes;
using groups::Group;
using groups::Step;
using groups::trim;
using groups::withNumber;
using groups::withText;

// The input handed to the group reader, each byte kept until the copy has written it (or what it
// became): the bytes of a group are copied exactly as they came.
class RecordingBuffer final : public std::streambuf {
public:
    explicit RecordingBuffer(std::streambuf* source) : m_source(source) {}

    // The bytes from offset `from` to offset `to` of the input; none before release(from) was asked.
    std::string_view bytes(std::size_t from, std::size_t to) const {
        return std::string_view(m_data).substr(from - m_base, to - from);
    }
    // The bytes before the offset are written: they need not be kept.
    void release(std::size_t offset) { m_released = offset; }

protected:
    int_type underflow() override {
        constexpr std::size_t kChunk = 64 * 1024;
        const std::size_t drop = std::min(m_released - m_base, m_data.size());
        m_data.erase(0, drop);
        m_base += drop;
        const std::size_t kept = m_data.size();
        m_data.resize(kept + kChunk);
        const std::streamsize got =
            m_source == nullptr ? 0
                                : m_source->sgetn(m_data.data() + kept, static_cast<std::streamsize>(kChunk));
        m_data.resize(kept + static_cast<std::size_t>(std::max<std::streamsize>(got, 0)));
        if (m_data.size() == kept) {
            return traits_type::eof();
        }
        setg(m_data.data(), m_data.data() + kept, m_data.data() + m_data.size());
        return traits_type::to_int_type(m_data[kept]);
    }

private:
    std::streambuf* m_source;
    std::string m_data;
    std::size_t m_base = 0;  // the offset of m_data's first byte
    std::size_t m_released = 0;
};

// A whole number as a group holds it: a binary file's integer, or an ASCII file's value text.
std::optional<long long> integerOf(const Group& group) {
    if (group.number) {
        return *group.number;
    }
    const std::string text(trim(group.text));
    char* end = nullptr;
    const long long number = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || end == nullptr || *end != '\0') {
        return std::nullopt;
    }
    return number;
}

struct RawGroup {
    Group group;
    std::string bytes;
};

// The groups of the input as the copy goes through them: where they stand in the file, and what the
// changes make of the layer records and of the objects' layers.
class Translator {
public:
    Translator(const std::vector<LayerChange>& changes, bool binary, std::ostream& out)
        : m_binary(binary), m_out(out) {
        for (const LayerChange& change : changes) {
            m_changes.emplace(tiermark::asciiUppercased(change.layer), &change);
        }
    }

    void take(const Group& group, std::string_view bytes);
    void finish() {
        if (m_inRecord) {
            flushRecord();
        }
    }
    bool sawSection() const { return m_place.sawSection; }
    bool sawEof() const { return m_place.sawEof; }
    CopyOutcome outcome() && { return std::move(m_outcome); }

private:
    void startOf(std::string_view kind);
    void takeHeaderGroup(const Group& group, std::string_view bytes);
    void flushRecord();
    void writeRenamedRecord(const LayerChange& change);
    const LayerChange* changeOf(const std::string& written);
    void write(std::string_view bytes) {
        m_out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    void writeName(const RawGroup& raw, const std::u16string& name) {
        write(withText(raw.group, raw.bytes, encodeText(name, m_encoding, raw.group.text), m_binary));
    }

    bool m_binary;
    std::ostream& m_out;
    std::unordered_map<std::u16string, const LayerChange*> m_changes;  // by the upper-cased layer
    std::unordered_map<std::string, const LayerChange*> m_byWritten;   // by a name as the file writes it
    std::unordered_map<std::u16string, std::string> m_linetypes;       // upper-cased, and as written
    std::string m_version;
    std::string m_codePage;
    TextEncoding m_encoding = TextEncoding::Unstated;
    groups::Place m_place;
    std::string m_headerVariable;
    bool m_inLinetype = false;
    bool m_inRecord = false;  // a LAYER record, kept until its end
    std::vector<RawGroup> m_record;
    groups::RemovedRecords m_removed;  // what the removed records leave behind
    CopyOutcome m_outcome;
};

void Translator::take(const Group& group, std::string_view bytes) {
    const bool afterTables =
        m_place.section == "ENTITIES" || m_place.section == "BLOCKS" || m_place.section == "OBJECTS";
    std::string redirected;
    if (afterTables && group.code >= 330 && group.code <= 369 && m_removed.active()) {
        if (const std::optional<std::string> to = m_removed.pointerTo(group.text)) {
            redirected = withText(group, bytes, *to, m_binary);
            bytes = redirected;
        }
    }
    if (m_place.section == "OBJECTS" && m_removed.active()) {
        std::string kept;
        const bool ends = group.code == 0 && trim(group.text) == "ENDSEC";
        if (ends) {
            m_removed.end(kept);
        } else {
            m_removed.take(group, bytes, kept);
        }
        write(kept);
        if (!ends) {
            return;
        }
    }
    if (group.code == 0) {
        if (m_inRecord) {
            flushRecord();
        }
        startOf(trim(group.text));
        if (m_inRecord) {
            m_record.push_back(RawGroup{group, std::string(bytes)});
            return;
        }
    } else if (m_inRecord) {
        m_record.push_back(RawGroup{group, std::string(bytes)});
        return;
    } else if (group.code == 2 && m_place.name(group.text)) {
        // a section's or a table's name: written as it is
    } else if (m_place.section == "HEADER") {
        takeHeaderGroup(group, bytes);
        return;
    } else if (group.code == 2 && m_inLinetype) {
        m_linetypes.emplace(tiermark::asciiUppercased(decodeText(group.text, m_encoding).text), group.text);
    } else if (group.code == 8 && (m_place.section == "ENTITIES" || m_place.section == "BLOCKS")) {
        if (const LayerChange* change = changeOf(group.text)) {
            ++m_outcome.movedReferences;
            write(withText(group, bytes, encodeText(change->becomes, m_encoding, group.text), m_binary));
            return;
        }
    }
    write(bytes);
}

void Translator::startOf(std::string_view kind) {
    m_inLinetype = false;
    m_place.start(kind);
    // A record of the table being read (the table's own group 0 TABLE, ENDTAB, … are no record of it).
    if (m_place.section == "TABLES" && kind == m_place.table) {
        m_inLinetype = kind == "LTYPE";
        m_inRecord = kind == "LAYER";
    }
}

void Translator::takeHeaderGroup(const Group& group, std::string_view bytes) {
    if (group.code == 9) {
        m_headerVariable = std::string(trim(group.text));
    } else if (m_headerVariable == "$ACADVER" && group.code == 1) {
        m_version = std::string(trim(group.text));
    } else if (m_headerVariable == "$DWGCODEPAGE" && group.code == 3) {
        m_codePage = std::string(trim(group.text));
    } else if (m_headerVariable == "$CLAYER" && group.code == 8) {
        if (const LayerChange* change = changeOf(group.text)) {
            write(withText(group, bytes, encodeText(change->becomes, m_encoding, group.text), m_binary));
            return;
        }
    }
    if (const TextEncoding encoding = encodingOf(m_version, m_codePage); encoding != m_encoding) {
        m_encoding = encoding;
        m_byWritten.clear();
    }
    write(bytes);
}

const LayerChange* Translator::changeOf(const std::string& written) {
    const auto known = m_byWritten.find(written);
    if (known != m_byWritten.end()) {
        return known->second;
    }
    const auto found = m_changes.find(tiermark::asciiUppercased(decodeText(written, m_encoding).text));
    const LayerChange* change = found == m_changes.end() ? nullptr : found->second;
    m_byWritten.emplace(written, change);
    return change;
}

void Translator::flushRecord() {
    m_inRecord = false;
    std::vector<RawGroup> record = std::move(m_record);
    m_record.clear();
    const LayerChange* change = nullptr;
    const RawGroup* name = nullptr;
    std::string handle;
    for (const RawGroup& raw : record) {
        if (raw.group.code == 2) {  // the last one names the record, as the layer table reader reads it
            name = &raw;
            change = changeOf(raw.group.text);
        } else if (raw.group.code == 5) {
            handle = raw.group.text;
        }
    }
    const std::u16string endsAs =
        tiermark::asciiUppercased(change != nullptr ? change->becomes
                                  : name != nullptr ? decodeText(name->group.text, m_encoding).text
                                                    : u"");
    if (change != nullptr && change->record == LayerChange::Record::Removed) {
        ++m_outcome.removedRecords;
        m_removed.removed(handle, endsAs);
        return;
    }
    m_removed.kept(endsAs, handle);
    if (change != nullptr) {
        ++m_outcome.renamedRecords;
        m_record = std::move(record);
        writeRenamedRecord(*change);
        m_record.clear();
        return;
    }
    for (const RawGroup& raw : record) {
        write(raw.bytes);
    }
}

// The record renamed; its colour (groups 62, 420, 430) and line type (6) replaced where the change sets
// them, or added after the name where the record lacks them.
void Translator::writeRenamedRecord(const LayerChange& change) {
    const std::string* linetype = nullptr;
    if (change.linetype) {
        const auto defined = m_linetypes.find(tiermark::asciiUppercased(*change.linetype));
        if (defined != m_linetypes.end()) {
            linetype = &defined->second;
        } else {
            m_outcome.notes.push_back(u"線種「" + *change.linetype +
                                      u"」はこの図面に定義されていないため、画層「" + change.becomes +
                                      u"」は元の線種のままです。");
        }
    }
    bool hasColour = false;
    bool hasLinetype = false;
    for (const RawGroup& raw : m_record) {
        hasColour = hasColour || raw.group.code == 62;
        hasLinetype = hasLinetype || raw.group.code == 6;
    }
    for (const RawGroup& raw : m_record) {
        const int code = raw.group.code;
        if (code == 2) {
            writeName(raw, change.becomes);
            if (change.colour && !hasColour) {
                write(addedNumber(raw.group, raw.bytes, 62, *change.colour, m_binary));
                hasColour = true;
            }
            if (linetype != nullptr && !hasLinetype) {
                write(addedText(raw.group, raw.bytes, 6, *linetype, m_binary));
                hasLinetype = true;
            }
        } else if (code == 62 && change.colour) {
            // A layer that is off has its colour number negative, and stays off.
            const bool off = integerOf(raw.group).value_or(0) < 0;
            write(withNumber(raw.group, raw.bytes, off ? -*change.colour : *change.colour, m_binary));
        } else if ((code == 420 || code == 430) && change.colour) {
            // A true colour or colour-book name would show instead of the colour number.
        } else if (code == 6 && linetype != nullptr) {
            write(withText(raw.group, raw.bytes, *linetype, m_binary));
        } else {
            write(raw.bytes);
        }
    }
}

}  // namespace

tiermark::Result<CopyOutcome> copyTranslated(std::istream& in, std::ostream& out,
                                             const std::vector<LayerChange>& changes) {
    RecordingBuffer recorded(in.rdbuf());
    std::istream recordedIn(&recorded);
    Bytes bytes(recordedIn);
    auto opened = groups::open(bytes);
    if (!opened) {
        return opened.error();
    }
    std::size_t written = 0;
    const auto pass = [&](std::size_t upTo) {
        out << recorded.bytes(written, upTo);
        written = upTo;
        recorded.release(written);
    };
    pass(bytes.offset());  // a binary file's sentinel, or a byte order mark
    Translator translator(changes, opened->binary, out);
    Group group;
    while (!translator.sawEof()) {
        const Step step = opened->groups->next(group);
        if (step == Step::End) {
            break;
        }
        if (step == Step::Fault) {
            return tiermark::makeError(
                groups::problemMessage(opened->groups->problem(), translator.sawSection()));
        }
        if (!translator.sawSection() && group.code != 999 &&
            !(group.code == 0 && trim(group.text) == "SECTION")) {
            return tiermark::makeError("DXF ファイルではありません（SECTION で始まっていません）。");
        }
        translator.take(group, recorded.bytes(written, bytes.offset()));
        written = bytes.offset();
        recorded.release(written);
    }
    translator.finish();
    if (!translator.sawEof()) {
        return tiermark::makeError(translator.sawSection()
                                       ? "DXF ファイルが途中で切れています（EOF がありません）。"
                                       : "DXF ファイルではありません。");
    }
    while (bytes.get() >= 0) {
        // What follows EOF is copied as it is.
    }
    pass(bytes.offset());
    if (in.bad()) {
        return tiermark::makeError("ファイルを読み取れませんでした。");
    }
    return std::move(translator).outcome();
}

}  // namespace dxf

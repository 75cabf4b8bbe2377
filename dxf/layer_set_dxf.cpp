#include "dxf/layer_set_dxf.h"

#include <dxflib/dl_dxf.h>
#include <dxflib/dl_writer_ascii.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "common/ascii.h"
#include "common/utf.h"
#include "dxf/drawing_frame.h"
#include "dxf/linetypes.h"
#include "dxf/text_encoding.h"

namespace dxf {

namespace {

constexpr std::u16string_view kContinuous = u"Continuous";

// dxflib's ASCII writer with its output kept in memory instead of a file, so that the program decides
// where and how the bytes are stored (a temporary file renamed into place, a path with any characters).
// dxflib's write functions take this writer; the group lines are formatted as DL_WriterA formats them,
// with CR LF line ends as AutoCAD LT writes them on Windows.
class MemoryWriter final : public DL_WriterA {
public:
    explicit MemoryWriter(DL_Codes::version dxfVersion) : DL_WriterA("", dxfVersion) {}

    void dxfReal(int gc, double value) const override {
        char buffer[64];
        auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
        std::string text(buffer, error == std::errc() ? end : buffer);
        if (text.find_first_of(".eEn") == std::string::npos) {
            text += ".0";
        }
        dxfString(gc, text);
    }
    void dxfInt(int gc, int value) const override { dxfString(gc, std::to_string(value)); }
    void dxfHex(int gc, int value) const override {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(value));
        dxfString(gc, buffer);
    }
    void dxfString(int gc, const char* value) const override { dxfString(gc, std::string(value)); }
    void dxfString(int gc, const std::string& value) const override {
        const std::string code = std::to_string(gc);
        m_bytes.append(code.size() < 3 ? 3 - code.size() : 0, ' ');
        m_bytes += code;
        m_bytes += "\r\n";
        m_bytes += value;
        m_bytes += "\r\n";
    }

    std::string take() { return std::move(m_bytes); }

    // Goes on with the handles of another writer of the same drawing: the next free one, and those of the
    // model and paper space block records that the layouts point to.
    void continueHandles(const MemoryWriter& other) {
        m_handle = other.m_handle;
        modelSpaceHandle = other.modelSpaceHandle;
        paperSpaceHandle = other.paperSpaceHandle;
        paperSpace0Handle = other.paperSpace0Handle;
    }

private:
    mutable std::string m_bytes;
};

std::string quoted(std::u16string_view name) {
    return "「" + tiermark::toUtf8(name) + "」";
}

// The groups of a text that MemoryWriter wrote: code line, value line, each ending in CR LF.
std::vector<std::pair<int, std::string>> groupsOf(const std::string& text) {
    std::vector<std::pair<int, std::string>> groups;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t codeEnd = text.find("\r\n", at);
        const std::size_t valueEnd = text.find("\r\n", codeEnd + 2);
        if (codeEnd == std::string::npos || valueEnd == std::string::npos) {
            break;
        }
        groups.emplace_back(std::stoi(text.substr(at, codeEnd - at)),
                            text.substr(codeEnd + 2, valueEnd - codeEnd - 2));
        at = valueEnd + 2;
    }
    return groups;
}

// dxflib writes the objects section (the named-object dictionary, the layouts, the plot-style placeholder,
// the multiline style, the variables) without the owner of each object. Every object but the root
// dictionary belongs to the dictionary that names it, and AutoCAD's reader, stricter than most, expects
// that owner (group 330) right after the object's handle, and 0 as the root dictionary's owner. The
// objects are written as dxflib gives them, with their owners put in.
void writeOwnedObjects(DL_Dxf& dxf, MemoryWriter& writer) {
    MemoryWriter objects(DL_Codes::AC1015);
    objects.continueHandles(writer);
    dxf.writeObjects(objects);
    dxf.writeObjectsEnd(objects);
    const std::vector<std::pair<int, std::string>> groups = groupsOf(objects.take());

    // Who names whom: each dictionary entry (350 soft, 360 hard owner) is owned by its dictionary.
    std::unordered_map<std::string, std::string> owners;
    std::string object;
    std::string handle;
    std::string root;
    for (const auto& [code, value] : groups) {
        if (code == 0) {
            object = value;
            handle.clear();
        } else if (code == 5) {
            handle = value;
            if (root.empty() && object == "DICTIONARY") {
                root = value;  // the first object is the named-object dictionary
            }
        } else if ((code == 350 || code == 360) && object.find("DICTIONARY") != std::string::npos) {
            owners.emplace(value, handle);
        }
    }
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const auto& [code, value] = groups[i];
        writer.dxfString(code, value);
        if (code != 5) {
            continue;
        }
        const bool hasOwner = i + 1 < groups.size() && groups[i + 1].first == 330;
        const auto owner = owners.find(value);
        if (!hasOwner && (owner != owners.end() || value == root)) {
            writer.dxfString(330, owner != owners.end() ? owner->second : std::string("0"));
        }
    }
}

std::u16string effectiveLinetype(const cadlink::DrawingLayer& layer) {
    return layer.linetype.empty() ? std::u16string(kContinuous) : layer.linetype;
}

// A layer checked and its name and line type encoded for the file, before anything is written.
struct Encoded {
    std::string name;
    std::string linetype;
    int colour = 7;
};

// Every layer checked and encoded, and the line types they use added to linetypes once each; the error
// names the first layer that cannot be written.
tiermark::Result<std::vector<Encoded>> encodedLayers(const std::vector<cadlink::DrawingLayer>& layers,
                                                     std::vector<std::u16string>& linetypes) {
    std::vector<Encoded> encoded;
    std::unordered_set<std::u16string> names = {u"0"};
    for (const cadlink::DrawingLayer& layer : layers) {
        if (!names.insert(tiermark::asciiUppercased(layer.name)).second) {
            return tiermark::makeError("画層 " + quoted(layer.name) + " が二度あります。");
        }
        if (layer.colour < 1 || layer.colour > 255) {
            return tiermark::makeError("画層 " + quoted(layer.name) + " の色番号 " +
                                       std::to_string(layer.colour) +
                                       " は AutoCAD LT の色番号（1～255）ではありません。");
        }
        auto name = encodeCodePage932(layer.name);
        const std::u16string linetype = effectiveLinetype(layer);
        auto linetypeBytes = encodeCodePage932(linetype);
        if (!name || !linetypeBytes) {
            return tiermark::makeError(
                "画層 " + quoted(layer.name) +
                " の名前か線種に、AutoCAD LT の文字コード（シフトJIS）にない文字があります。");
        }
        const bool listed = std::any_of(linetypes.begin(), linetypes.end(), [&](const std::u16string& known) {
            return tiermark::equalsIgnoringAsciiCase(known, linetype);
        });
        if (!listed) {
            linetypes.push_back(linetype);
        }
        encoded.push_back(Encoded{std::move(*name), std::move(*linetypeBytes), layer.colour});
    }
    return encoded;
}

// The line type table; the line types whose pattern is not known (written as continuous) go to unknown.
void writeLinetypeTable(DL_Dxf& dxf, MemoryWriter& writer, const std::vector<std::u16string>& linetypes,
                        std::vector<std::u16string>& unknown) {
    writer.tableLinetypes(static_cast<int>(linetypes.size()));
    // The pattern arrays must outlive the write calls that read them.
    std::vector<LinetypeDefinition> definitions;
    for (const std::u16string& linetype : linetypes) {
        bool known = false;
        definitions.push_back(linetypeDefinition(linetype, known));
        if (!known) {
            unknown.push_back(linetype);
        }
    }
    for (LinetypeDefinition& definition : definitions) {
        double length = 0;
        for (double element : definition.pattern) {
            length += element < 0 ? -element : element;
        }
        // Names of the fixed line types go out as dxflib spells them; the rest as the layers name them.
        const std::string name = definition.name == u"ByBlock"   ? "BYBLOCK"
                                 : definition.name == u"ByLayer" ? "BYLAYER"
                                                                 : *encodeCodePage932(definition.name);
        dxf.writeLinetype(
            writer,
            DL_LinetypeData(name, definition.description, 0, static_cast<int>(definition.pattern.size()),
                            length, definition.pattern.empty() ? nullptr : definition.pattern.data()));
    }
    writer.tableEnd();
}

}  // namespace

tiermark::Result<LayerSetDxf> layerSetDxf(const std::vector<cadlink::DrawingLayer>& layers) {
    // Check everything and encode the names before anything is written.
    std::vector<std::u16string> linetypes = {u"ByBlock", u"ByLayer", std::u16string(kContinuous)};
    auto encoded = encodedLayers(layers, linetypes);
    if (!encoded) {
        return encoded.error();
    }

    LayerSetDxf result;
    MemoryWriter writer(DL_Codes::AC1015);
    DL_Dxf dxf;
    dxf.writeHeader(writer);
    writer.dxfString(9, "$DWGCODEPAGE");
    writer.dxfString(3, "ANSI_932");
    writer.dxfString(9, "$MEASUREMENT");  // metric: AutoCAD LT takes its metric line types and hatches
    writer.dxfInt(70, 1);
    writer.dxfString(9, "$INSUNITS");  // millimetres
    writer.dxfInt(70, 4);
    writer.sectionEnd();

    writer.sectionTables();
    dxf.writeVPort(writer);
    writeLinetypeTable(dxf, writer, linetypes, result.unknownLinetypes);

    writer.tableLayers(static_cast<int>(encoded->size() + 1));
    dxf.writeLayer(writer, DL_LayerData("0", 0), DL_Attributes(std::string(), 7, -1, "Continuous", 1.0));
    for (const Encoded& layer : *encoded) {
        dxf.writeLayer(writer, DL_LayerData(layer.name, 0),
                       DL_Attributes(std::string(), layer.colour, -1, layer.linetype, 1.0));
    }
    writer.tableEnd();

    writeTablesAfterLayers(dxf, writer);

    writer.sectionEntities();
    writer.sectionEnd();
    writeOwnedObjects(dxf, writer);
    writer.dxfEOF();
    result.bytes = writer.take();
    return result;
}

}  // namespace dxf

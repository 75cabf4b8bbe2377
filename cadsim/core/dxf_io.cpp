#include "cadsim/core/dxf_io.h"

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

#include "cadsim/core/layer_rules.h"
#include "cadsim/core/text.h"
#include "common/ascii.h"
#include "common/codepage.h"
#include "common/paths.h"
#include "common/utf.h"
#include "dxf/drawing_frame.h"
#include "dxf/text_encoding.h"

namespace cadsim {

namespace {

constexpr std::size_t kMaxDxfBytes = 256u * 1024u * 1024u;

// Texts are read as the program reads every DXF text (dxf/text_encoding.h): UTF-8 from AutoCAD 2007 on,
// the header's code page before, "\U+XXXX" escapes resolved. A U+FFFD in a name is a character of it
// (saveDxf writes one where a name read from code page 932 had an undecodable byte).
std::u16string fromDxfText(const std::string& bytes, dxf::TextEncoding encoding) {
    return dxf::decodeText(bytes, encoding).text;
}

bool finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

class Reader final : public DL_CreationAdapter {
public:
    Reader(Drawing& drawing, dxf::TextEncoding encoding) : m_drawing(drawing), m_encoding(encoding) {}

    // The line-type table says which line types the drawing has loaded.
    void addLinetype(const DL_LinetypeData& data) override {
        const std::u16string name = fromDxfText(data.name);
        if (!isByLayerOrBlock(name)) {
            m_drawing.loadLineType(name);
        }
    }
    void addLayer(const DL_LayerData& data) override {
        const std::u16string name = fromDxfText(data.name);
        if (invalidLayerNameReason(name)) {
            return;
        }
        m_drawing.addLayer(name);
        const DL_Attributes& layerAttributes = getAttributes();
        const int color = std::abs(layerAttributes.getColor());
        if (color >= 1 && color <= 255) {
            m_drawing.setColor(name, color);
        }
        const std::u16string lineType = fromDxfText(layerAttributes.getLinetype());
        if (!lineType.empty() && !isByLayerOrBlock(lineType)) {
            // A layer's line type is loaded in the drawing, even when a file leaves it out of the table.
            m_drawing.loadLineType(lineType);
            m_drawing.setLineType(name, lineType);
        }
    }
    void addLine(const DL_LineData& data) override {
        if (!finite(data.x1, data.y1) || !finite(data.x2, data.y2)) {
            return;
        }
        DrawingObject object = base(ObjectKind::Line);
        object.position = {data.x1, data.y1};
        object.end = {data.x2, data.y2};
        m_drawing.addObject(object);
    }
    void addCircle(const DL_CircleData& data) override {
        if (!finite(data.cx, data.cy) || !std::isfinite(data.radius)) {
            return;
        }
        DrawingObject object = base(ObjectKind::Circle);
        object.position = {data.cx, data.cy};
        object.radius = data.radius;
        m_drawing.addObject(object);
    }
    void addText(const DL_TextData& data) override {
        if (!finite(data.ipx, data.ipy)) {
            return;
        }
        DrawingObject object = base(ObjectKind::Text);
        object.position = {data.ipx, data.ipy};
        object.height = std::isfinite(data.height) ? data.height : 2.5;
        object.text = fromDxfText(data.text);
        m_drawing.addObject(object);
    }

private:
    static bool isByLayerOrBlock(std::u16string_view name) {
        return tiermark::equalsIgnoringAsciiCase(name, u"BYLAYER") ||
               tiermark::equalsIgnoringAsciiCase(name, u"BYBLOCK");
    }

    DrawingObject base(ObjectKind kind) {
        DrawingObject object;
        object.kind = kind;
        object.layer = fromDxfText(getAttributes().getLayer());
        if (object.layer.empty()) {
            object.layer = std::u16string(kLayerZero);
        }
        const int color = getAttributes().getColor();
        object.color = color >= 1 && color <= 255 ? color : 0;
        const std::u16string lineType = fromDxfText(getAttributes().getLinetype());
        if (!lineType.empty() && !isByLayerOrBlock(lineType)) {
            if (const auto loaded = m_drawing.loadedLineType(lineType)) {
                object.lineType = *loaded;
            }
        }
        return object;
    }

    std::u16string fromDxfText(const std::string& bytes) const {
        return cadsim::fromDxfText(bytes, m_encoding);
    }

    Drawing& m_drawing;
    dxf::TextEncoding m_encoding;
};

std::string trimmed(const std::string& line) {
    std::size_t start = 0;
    std::size_t end = line.size();
    while (start < end && (line[start] == ' ' || line[start] == '\t' || line[start] == '\r')) {
        ++start;
    }
    while (end > start && (line[end - 1] == ' ' || line[end - 1] == '\t' || line[end - 1] == '\r')) {
        --end;
    }
    return line.substr(start, end - start);
}

std::string utf8(std::u16string_view text) {
    return tiermark::toUtf8(text);
}

}  // namespace

namespace {

struct DxfGroup {
    int code = 0;
    std::string value;  // as written, without the line end
};

// The groups of a DXF text up to its "0 EOF", or the first fault of its shape.
tiermark::Result<std::vector<DxfGroup>> readGroups(const std::string& content) {
    if (content.find('\0') != std::string::npos) {
        return tiermark::makeError("the file is not a text DXF (it holds NUL bytes)");
    }
    std::vector<DxfGroup> groups;
    std::istringstream in(content);
    std::string codeLine;
    std::string value;
    std::size_t pair = 0;
    bool sawSection = false;
    while (std::getline(in, codeLine)) {
        ++pair;
        const std::string code = trimmed(codeLine);
        if (code.empty() || code.size() > 4 || code.find_first_not_of("-0123456789") != std::string::npos ||
            code.find('-', 1) != std::string::npos || code == "-") {
            return tiermark::makeError("line " + std::to_string(pair * 2 - 1) + " is not a DXF group code");
        }
        if (!std::getline(in, value)) {
            return tiermark::makeError("the file ends inside a group");
        }
        if (!value.empty() && value.back() == '\r') {
            value.pop_back();
        }
        const int number = std::stoi(code);
        const std::string v = trimmed(value);
        if (number == 0 && !sawSection) {
            if (v != "SECTION") {
                return tiermark::makeError("the file does not begin with a DXF section");
            }
            sawSection = true;
        } else if (number != 999 && !sawSection) {
            return tiermark::makeError("the file does not begin with a DXF section");
        }
        if (number == 0 && v == "EOF") {
            return groups;
        }
        groups.push_back(DxfGroup{number, value});
    }
    return tiermark::makeError(sawSection ? "the DXF file ends without its EOF marker" : "the file is empty");
}

// The part of a drawing the stand-in reads: the records of the layer table and the lines, circles and texts
// of the ENTITIES section, as a DXF text of their own. Everything else (blocks, other entities, objects) is
// left out before the DXF reader sees it, so that their counts and sizes cannot make it allocate without
// bound, and block contents do not turn up as drawing objects.
std::string readablePart(const std::vector<DxfGroup>& groups) {
    std::string lineTypes;
    std::string layers;
    std::string entities;
    std::string section;
    std::string table;
    std::string* record = nullptr;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const DxfGroup& g = groups[i];
        if (g.code == 0) {
            const std::string kind = trimmed(g.value);
            const std::string name =
                i + 1 < groups.size() && groups[i + 1].code == 2 ? trimmed(groups[i + 1].value) : "";
            if (kind == "SECTION") {
                section = name;
                table.clear();
            } else if (kind == "TABLE") {
                table = name;
            } else if (kind == "ENDTAB") {
                table.clear();
            } else if (kind == "ENDSEC") {
                section.clear();
            }
            record = nullptr;
            if (section == "TABLES" && table == "LTYPE" && kind == "LTYPE") {
                record = &lineTypes;
            } else if (section == "TABLES" && table == "LAYER" && kind == "LAYER") {
                record = &layers;
            } else if (section == "ENTITIES" && (kind == "LINE" || kind == "CIRCLE" || kind == "TEXT")) {
                record = &entities;
            }
        }
        if (record != nullptr) {
            *record += std::to_string(g.code) + "\n" + g.value + "\n";
        }
    }
    return "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLTYPE\n" + lineTypes + "0\nENDTAB\n0\nTABLE\n2\nLAYER\n" +
           layers + "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

}  // namespace

tiermark::Result<Drawing> loadDxf(const std::string& path) {
    std::ifstream file(tiermark::pathFromUtf8(path), std::ios::binary);
    if (!file) {
        return tiermark::makeError("cannot open " + path);
    }
    std::string content;
    char chunk[65536];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        content.append(chunk, static_cast<std::size_t>(file.gcount()));
        if (content.size() > kMaxDxfBytes) {
            return tiermark::makeError(path + " is too large for a drawing");
        }
    }
    auto groups = readGroups(content);
    if (!groups) {
        return tiermark::makeError(path + ": " + groups.error().message);
    }
    // The header says how the texts are stored.
    std::string version;
    std::string codePage;
    for (std::size_t i = 0; i + 1 < groups->size(); ++i) {
        const DxfGroup& variable = (*groups)[i];
        const DxfGroup& value = (*groups)[i + 1];
        if (variable.code == 9 && trimmed(variable.value) == "$ACADVER" && value.code == 1) {
            version = trimmed(value.value);
        } else if (variable.code == 9 && trimmed(variable.value) == "$DWGCODEPAGE" && value.code == 3) {
            codePage = trimmed(value.value);
        } else if (variable.code == 0 && trimmed(variable.value) == "ENDSEC") {
            break;  // the header is the first section
        }
    }
    Drawing drawing;
    Reader reader(drawing, dxf::encodingOf(version, codePage));
    DL_Dxf dxf;
    std::istringstream stream(readablePart(*groups));
    try {
        if (!dxf.in(stream, &reader)) {
            return tiermark::makeError(path + ": the DXF reader refused the file");
        }
    } catch (const std::exception& e) {
        return tiermark::makeError(path + ": damaged DXF (" + e.what() + ")");
    }
    return drawing;
}

tiermark::Result<void> saveDxf(const Drawing& drawing, const std::string& path) {
    DL_Dxf dxf;
    std::unique_ptr<DL_WriterA> writer(dxf.out(path.c_str(), DL_Codes::AC1015));
    if (!writer || writer->openFailed()) {
        return tiermark::makeError("cannot write " + path);
    }
    DL_WriterA& dw = *writer;
    dxf.writeHeader(dw);
    dw.sectionEnd();
    dw.sectionTables();
    dxf.writeVPort(dw);

    // The line-type table: what the drawing has loaded.
    std::vector<std::u16string> lineTypes = {u"BYBLOCK", u"BYLAYER"};
    lineTypes.insert(lineTypes.end(), drawing.lineTypes().begin(), drawing.lineTypes().end());
    dw.tableLinetypes(static_cast<int>(lineTypes.size()));
    for (const std::u16string& lineType : lineTypes) {
        dxf.writeLinetype(dw, DL_LinetypeData(utf8(lineType), "", 0, 0, 0.0));
    }
    dw.tableEnd();

    dw.tableLayers(static_cast<int>(drawing.layers().size()));
    for (const Layer& layer : drawing.layers()) {
        dxf.writeLayer(dw, DL_LayerData(utf8(layer.name), 0),
                       DL_Attributes(std::string(), layer.color, -3, utf8(layer.lineType), 1.0));
    }
    dw.tableEnd();
    dxf::writeTablesAfterLayers(dxf, dw);

    dw.sectionEntities();
    for (const DrawingObject& o : drawing.objects()) {
        const DL_Attributes attributes(utf8(o.layer), o.color == 0 ? 256 : o.color, -1,
                                       o.lineType.empty() ? "BYLAYER" : utf8(o.lineType), 1.0);
        switch (o.kind) {
            case ObjectKind::Line:
                dxf.writeLine(dw, DL_LineData(o.position.x, o.position.y, 0.0, o.end.x, o.end.y, 0.0),
                              attributes);
                break;
            case ObjectKind::Circle:
                dxf.writeCircle(dw, DL_CircleData(o.position.x, o.position.y, 0.0, o.radius), attributes);
                break;
            case ObjectKind::Text:
                dxf.writeText(dw,
                              DL_TextData(o.position.x, o.position.y, 0.0, o.position.x, o.position.y, 0.0,
                                          o.height, 1.0, 0, 0, 0, utf8(o.text), "Standard", 0.0),
                              attributes);
                break;
        }
    }
    dw.sectionEnd();
    dxf.writeObjects(dw);
    dxf.writeObjectsEnd(dw);
    dw.dxfEOF();
    dw.close();
    return {};
}

}  // namespace cadsim

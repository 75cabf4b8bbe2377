#include "dxf/layer_set_dxf.h"

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "cadsim/core/dxf_io.h"
#include "common/codepage.h"
#include "dxf/layer_table.h"

namespace dxf {
namespace {

using cadlink::DrawingLayer;
using Layers = std::vector<DrawingLayer>;

const Layers kSet = {
    {u"D-STR", 2, u"Continuous"},          {u"D-BGD-HICH", 1, u"破線"},
    {u"構造物D-STR-DIM", 30, u"一点鎖線"}, {u"D-TTL", 241, u""},  // an empty line type is Continuous
    {u"D-MCH-CNT", 7, u"MYLINE"},  // a line type whose pattern is not known here
};

// What a drawing made from the set holds: layer "0", then the set with Continuous for an empty line type.
Layers expectedDrawing() {
    Layers layers = {{u"0", 7, u"Continuous"}};
    for (DrawingLayer layer : kSet) {
        if (layer.linetype.empty()) {
            layer.linetype = u"Continuous";
        }
        layers.push_back(layer);
    }
    return layers;
}

// What dxflib makes of a file: the layers and the line types with their dashes, names read as code page 932.
class DxflibReader final : public DL_CreationAdapter {
public:
    Layers layers;
    std::map<std::u16string, std::vector<double>> linetypes;
    std::string codePage;

    void addLayer(const DL_LayerData& data) override {
        layers.push_back(DrawingLayer{cp932(data.name), std::abs(getAttributes().getColor()),
                                      cp932(getAttributes().getLinetype())});
    }
    // dxflib hands over a line type's dashes as it reads them, before the line type itself.
    void addLinetype(const DL_LinetypeData& data) override {
        linetypes[cp932(data.name)] = std::move(m_dashes);
        m_dashes.clear();
    }
    void addLinetypeDash(double length) override { m_dashes.push_back(length); }
    void setVariableString(const std::string& key, const std::string& value, int) override {
        if (key == "$DWGCODEPAGE") {
            codePage = value;
        }
    }

private:
    static std::u16string cp932(const std::string& bytes) {
        auto text = tiermark::fromCp932(bytes);
        return text ? *text : u"(not code page 932)";
    }
    std::vector<double> m_dashes;
};

TEST(LayerSetDxf, IsAnAutoCad2000FileInCodePage932) {
    auto file = layerSetDxf(kSet);
    ASSERT_TRUE(file.ok()) << file.error().message;
    const std::string& bytes = file->bytes;
    EXPECT_NE(bytes.find("  9\r\n$ACADVER\r\n  1\r\nAC1015\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("  9\r\n$DWGCODEPAGE\r\n  3\r\nANSI_932\r\n"), std::string::npos);
    // 構造物 in code page 932, not in UTF-8.
    EXPECT_NE(bytes.find("\x8D\x5C\x91\xA2\x95\xA8"
                         "D-STR-DIM"),
              std::string::npos);
    EXPECT_EQ(bytes.find("\xE6\xA7\x8B"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 10), "  0\r\nEOF\r\n");
    EXPECT_EQ(file->unknownLinetypes, std::vector<std::u16string>{u"MYLINE"});
}

TEST(LayerSetDxf, ReadsBackTheSameLayersThroughDxflibTheLayerTableAndTheStandIn) {
    auto file = layerSetDxf(kSet);
    ASSERT_TRUE(file.ok()) << file.error().message;

    // dxflib, the library that wrote it.
    DxflibReader dxflib;
    std::istringstream stream(file->bytes);
    DL_Dxf reader;
    ASSERT_TRUE(reader.in(stream, &dxflib));
    EXPECT_EQ(dxflib.layers, expectedDrawing());
    EXPECT_EQ(dxflib.codePage, "ANSI_932");
    // The line types the layers use are defined with their dash patterns.
    ASSERT_EQ(dxflib.linetypes.count(u"破線"), 1u);
    EXPECT_EQ(dxflib.linetypes[u"破線"], (std::vector<double>{3.0, -1.0}));
    EXPECT_EQ(dxflib.linetypes[u"一点鎖線"].size(), 4u);
    EXPECT_EQ(dxflib.linetypes.count(u"MYLINE"), 1u);
    EXPECT_EQ(dxflib.linetypes.count(u"Continuous"), 1u);

    // The program's own reader of a drawing's layer table.
    std::istringstream again(file->bytes);
    auto table = readLayerTable(again);
    ASSERT_TRUE(table.ok()) << table.error().message;
    EXPECT_EQ(table->layers, expectedDrawing());
    EXPECT_EQ(table->encoding, TextEncoding::CodePage932);

    // The CAD stand-in opening it as a drawing.
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("tiermark-layer-set-" + std::to_string(::getpid()) + ".dxf");
    {
        std::ofstream out(path, std::ios::binary);
        out << file->bytes;
    }
    auto drawing = cadsim::loadDxf(path.string());
    std::filesystem::remove(path);
    ASSERT_TRUE(drawing.ok()) << drawing.error().message;
    Layers opened;
    for (const cadsim::Layer& layer : drawing->layers()) {
        opened.push_back(DrawingLayer{layer.name, layer.color, layer.lineType});
    }
    Layers expected = expectedDrawing();
    expected.insert(expected.begin() + 1,
                    DrawingLayer{u"DEFPOINTS", 7, u"Continuous"});  // the stand-in's own
    EXPECT_EQ(opened, expected);
}

TEST(LayerSetDxf, RefusesWhatAutoCadLtWouldNotOpen) {
    struct Case {
        Layers layers;
        std::string says;
    };
    const Case cases[] = {
        {{{u"D-STR", 2, u"Continuous"}, {u"d-str", 3, u"Continuous"}}, "二度あります"},
        {{{u"0", 2, u"Continuous"}}, "二度あります"},
        {{{u"D-STR", 0, u"Continuous"}}, "色番号 0"},
        {{{u"D-STR", 256, u"Continuous"}}, "色番号 256"},
        {{{u"D-\U0001F600", 2, u"Continuous"}}, "シフトJIS"},
        {{{u"D-STR", 2, u"線\u00E9"}}, "シフトJIS"},
    };
    for (const Case& c : cases) {
        auto file = layerSetDxf(c.layers);
        ASSERT_FALSE(file.ok()) << c.says;
        EXPECT_NE(file.error().message.find(c.says), std::string::npos) << file.error().message;
    }
}

}  // namespace
}  // namespace dxf

// A drawing kind's layers exported as DXF and script, read back: the DXF by the layer-table reader, the
// script played in the CAD stand-in's command line. Both give the same layers for every stage and naming.
#include "builder/layer_set_export.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "cadsim/core/interpreter.h"
#include "common/codepage.h"
#include "common/utf.h"
#include "dxf/layer_table.h"

namespace builder {
namespace {

using cadlink::DrawingLayer;
using Layers = std::vector<DrawingLayer>;

stddb::Value t(const char16_t* text) {
    return std::u16string(text);
}
const stddb::Value kNull;

std::optional<stddb::Value> colourMaster(std::u16string_view name) {
    static const std::map<std::u16string, stddb::Value, std::less<>> master = {
        {u"黒", std::int64_t{0}},
        {u"赤", std::int64_t{1}},
        {u"茶", std::int64_t{20}},
        {u"橙", std::int64_t{21}},
        {u"範囲外", std::int64_t{300}}};
    const auto found = master.find(name);
    return found == master.end() ? std::nullopt : std::optional<stddb::Value>(found->second);
}

// Plain rows with Null and Japanese fields, a family template and a template of no family.
const std::vector<LayerRow> kRows = {
    {kNull, kNull, t(u"-TTL"), t(u"図面枠"), t(u"実線"), t(u"黒")},
    {kNull, t(u"-寸法"), t(u"-STR"), t(u"構造物の寸法"), t(u"破線"), t(u"茶")},
    {t(u"90"), t(u"-TXTn"), t(u"-TTL"), t(u"文字"), kNull, kNull},
    {kNull, t(u"-HCHn"), t(u"-DCR"), t(u"ハッチ"), kNull, kNull},
    {kNull, t(u"-LIN"), t(u"-BGD"), kNull, kNull, t(u"任意")},
    {kNull, t(u"-CNT"), t(u"-MCH"), t(u"中心線"), t(u"一点鎖線"), t(u"橙")},
};

// Played in a drawing that has loaded the line types named (as a template of the user's would).
Layers playedInTheStandIn(const std::string& script, std::initializer_list<const char16_t*> loaded) {
    cadsim::Drawing drawing;
    for (const char16_t* lineType : loaded) {
        drawing.loadLineType(lineType);
    }
    cadsim::Interpreter interpreter(drawing);
    auto text = tiermark::fromCp932(script);
    EXPECT_TRUE(text.ok());
    interpreter.playScript(text.ok() ? *text : std::u16string());
    EXPECT_EQ(interpreter.step(), cadsim::Step::Idle);
    // Every line is what its prompt takes, but the line type of a layer that the drawing has not loaded.
    for (const std::u16string& complaint : interpreter.complaints()) {
        EXPECT_TRUE(complaint.find(u"not found.  Use LINETYPE command to load it.") != std::u16string::npos ||
                    complaint == u"Invalid option keyword.")
            << tiermark::toUtf8(complaint);
    }
    Layers layers;
    for (const cadsim::Layer& layer : drawing.layers()) {
        if (layer.name != u"DEFPOINTS") {
            layers.push_back(DrawingLayer{layer.name, layer.color, layer.lineType});
        }
    }
    return layers;
}

TEST(LayerSetExport, EveryStageAndNamingGivesTheSameLayersInTheDxfAndThroughTheScript) {
    const std::u16string letters[] = {u"", u"S", u"D", u"C", u"M"};
    for (int stage = -1; stage <= 3; ++stage) {
        const std::u16string letter = letters[stage + 1];
        const Layers expected = {
            {u"0", 7, u"Continuous"},
            {letter + u"-TTL", 7, u"Continuous"},
            {letter + u"-STR-寸法", 200, u"破線"},
            {letter + u"-BGD-LIN", 8, u"Continuous"},
            {letter + u"-MCH-CNT", 24, u"一点鎖線"},
        };
        std::string bytesOfTheFirstNaming;
        for (bool optionButton1 : {false, true}) {
            auto files = layerSetFiles(plannedLayers(kRows, stage, optionButton1, colourMaster));
            ASSERT_TRUE(files.ok()) << files.error().message;
            std::istringstream dxfFile(files->dxf);
            auto table = dxf::readLayerTable(dxfFile);
            ASSERT_TRUE(table.ok()) << table.error().message;
            EXPECT_EQ(table->layers, expected) << "stage " << stage;
            EXPECT_EQ(playedInTheStandIn(files->script, {u"破線", u"一点鎖線"}), expected)
                << "stage " << stage;
            // Where the line types are not loaded, the layers stay Continuous and the script stays in step.
            Layers continuous = expected;
            for (DrawingLayer& layer : continuous) {
                layer.linetype = u"Continuous";
            }
            EXPECT_EQ(playedInTheStandIn(files->script, {}), continuous) << "stage " << stage;
            EXPECT_TRUE(files->unknownLinetypes.empty());
            // The naming option changes how the main window offers the layers, not the layers.
            if (bytesOfTheFirstNaming.empty()) {
                bytesOfTheFirstNaming = files->dxf + files->script;
            } else {
                EXPECT_EQ(files->dxf + files->script, bytesOfTheFirstNaming);
            }
        }
    }
}

TEST(LayerSetExport, TheScriptIsTheLinksSequencesLineByLine) {
    auto files = layerSetFiles({cadlink::LayerRecord{u"D-STR", u"構造物D-STR", u"", 3}});
    ASSERT_TRUE(files.ok());
    EXPECT_EQ(
        files->script,
        "-Layer\r\nn\r\nD-STR\r\n\r\n-Layer\r\nL\r\n\r\nD-STR\r\n\r\n-Layer\r\nC\r\n3\r\nD-STR\r\n\r\n");
}

TEST(LayerSetExport, RefusesASetThatAutoCadLtWouldRefuseAndSaysWhichLayer) {
    EXPECT_FALSE(layerSetFiles({}).ok());
    auto colour = layerSetFiles(
        plannedLayers({{kNull, kNull, t(u"-STR"), kNull, kNull, t(u"範囲外")}}, 1, false, colourMaster));
    ASSERT_FALSE(colour.ok());
    EXPECT_NE(colour.error().message.find("D-STR"), std::string::npos);
    EXPECT_NE(colour.error().message.find("300"), std::string::npos);
    auto name = layerSetFiles({cadlink::LayerRecord{u"D-\U0001F600", u"", u"", 3}});
    ASSERT_FALSE(name.ok());
    EXPECT_NE(name.error().message.find("シフトJIS"), std::string::npos);
}

}  // namespace
}  // namespace builder

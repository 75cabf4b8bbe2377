#include "dxf/translated_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "dxf/layer_table.h"
#include "tests/dxf/dxf_text.h"

namespace dxf {
namespace {

using Record = LayerChange::Record;

struct Layer {
    Layer(std::string name_, int colour_ = 7, std::string linetype_ = "Continuous",
          std::optional<std::string> trueColour_ = std::nullopt)
        : name(std::move(name_)),
          colour(colour_),
          linetype(std::move(linetype_)),
          trueColour(std::move(trueColour_)) {}
    std::string name;
    int colour;
    std::string linetype;
    std::optional<std::string> trueColour;  // group 420
};

// A drawing as a draughtsman's program writes one: the header's version, code page and current layer, a
// line-type table, the layer table, a block and objects on layers, and an object that holds a group 8 of
// its own.
struct Sample {
    std::string version = "AC1015";
    std::string codePage = "ANSI_932";
    std::string current = "WALL";
    std::vector<std::string> linetypes = {"Continuous", "DASHED"};
    std::vector<Layer> layers = {{"0"}, {"WALL", 1}, {"wall-old", -2, "DASHED"}, {"D-STR", 3}};
    std::vector<std::string> blockLayers = {"0", "WALL", "0"};  // BLOCK, a line in it, ENDBLK
    std::vector<std::string> objects = {"WALL", "Wall-Old", "D-STR", "WALL"};

    DxfText dxf() const {
        DxfText out;
        out.group(0, "SECTION").group(2, "HEADER").group(9, "$ACADVER").group(1, version);
        out.group(9, "$DWGCODEPAGE").group(3, codePage).group(9, "$CLAYER").group(8, current);
        out.group(9, "$HANDSEED").group(5, "FF").group(0, "ENDSEC");
        out.group(0, "SECTION").group(2, "TABLES").group(0, "TABLE").group(2, "LTYPE").group(70, "2");
        for (const std::string& linetype : linetypes) {
            out.group(0, "LTYPE").group(5, "14").group(2, linetype).group(70, "0").group(3, "");
        }
        out.group(0, "ENDTAB").group(0, "TABLE").group(2, "LAYER").group(70, "4");
        for (const Layer& layer : layers) {
            out.group(0, "LAYER").group(5, "10").group(100, "AcDbSymbolTableRecord").group(2, layer.name);
            out.group(70, "0").group(62, std::to_string(layer.colour));
            if (layer.trueColour) {
                out.group(420, *layer.trueColour);
            }
            out.group(6, layer.linetype).group(370, "-3");
        }
        out.group(0, "ENDTAB").group(0, "ENDSEC");
        out.group(0, "SECTION").group(2, "BLOCKS").group(0, "BLOCK").group(8, blockLayers[0]).group(2, "B");
        out.group(0, "LINE").group(8, blockLayers[1]).group(10, "0.0").group(20, "1.5").group(30, "0.0");
        out.group(0, "ENDBLK").group(8, blockLayers[2]).group(0, "ENDSEC");
        out.group(0, "SECTION").group(2, "ENTITIES");
        for (const std::string& layer : objects) {
            out.group(0, "LINE").group(5, "2A").group(8, layer).group(62, "5").group(10, "1.0").group(20,
                                                                                                      "2.0");
        }
        out.group(0, "ENDSEC").group(0, "SECTION").group(2, "OBJECTS").group(0, "LAYER_FILTER");
        out.group(8, "WALL").group(0, "ENDSEC");
        return out.group(0, "EOF");
    }
};

tiermark::Result<CopyOutcome> copy(const std::string& in, std::string& out,
                                   const std::vector<LayerChange>& changes) {
    std::istringstream input(in);
    std::ostringstream output;
    auto copied = copyTranslated(input, output, changes);
    out = output.str();
    return copied;
}

std::string message(const tiermark::Result<CopyOutcome>& result) {
    return result ? std::string("(copied)") : result.error().message;
}

// WALL renamed to the standard layer D-WAL (red, dashed), wall-old merged into D-STR.
const std::vector<LayerChange> kWallChanges = {
    {u"wall", u"D-WAL", Record::Renamed, 1, u"dashed"},
    {u"WALL-OLD", u"D-STR", Record::Removed, std::nullopt, std::nullopt},
};

Sample translatedWall(Sample sample) {
    sample.current = "D-WAL";
    sample.layers = {{"0"}, {"D-WAL", 1, "DASHED"}, {"D-STR", 3}};
    sample.blockLayers = {"0", "D-WAL", "0"};
    sample.objects = {"D-WAL", "D-STR", "D-STR", "D-WAL"};
    return sample;
}

TEST(TranslatedCopy, RenamesAndMergesLayersAndLeavesEveryOtherByteAsItWas) {
    const Sample sample;
    for (const std::string_view lineEnd : {std::string_view("\n"), std::string_view("\r\n")}) {
        std::string out;
        auto copied = copy(sample.dxf().text(lineEnd), out, kWallChanges);
        ASSERT_TRUE(copied.ok()) << message(copied);
        // The object in OBJECTS keeps its group 8; ENTITIES, BLOCKS and $CLAYER move.
        EXPECT_EQ(out, translatedWall(sample).dxf().text(lineEnd));
        EXPECT_EQ(copied->movedReferences, 4U);  // 3 objects and the line in the block
        EXPECT_EQ(copied->renamedRecords, 1U);
        EXPECT_EQ(copied->removedRecords, 1U);
        EXPECT_TRUE(copied->notes.empty());
    }
}

TEST(TranslatedCopy, KeepsAnOffLayerOffAndDropsTheTrueColourOfARecolouredLayer) {
    Sample sample;
    sample.layers = {{"0"}, {"WALL", -5, "Continuous", "16711680"}, {"KEEP", -6, "Continuous", "255"}};
    std::string out;
    auto copied = copy(sample.dxf().text(), out, {{u"WALL", u"D-WAL", Record::Renamed, 1, std::nullopt}});
    ASSERT_TRUE(copied.ok()) << message(copied);
    Sample expected = sample;
    expected.current = "D-WAL";
    expected.layers = {{"0"}, {"D-WAL", -1, "Continuous"}, {"KEEP", -6, "Continuous", "255"}};
    expected.blockLayers = {"0", "D-WAL", "0"};
    expected.objects = {"D-WAL", "Wall-Old", "D-STR", "D-WAL"};
    EXPECT_EQ(out, expected.dxf().text());
}

TEST(TranslatedCopy, NeverReferencesALineTypeTheFileLacks) {
    Sample sample;
    std::string out;
    auto copied = copy(sample.dxf().text(), out, {{u"WALL", u"D-WAL", Record::Renamed, 1, u"CENTER2"}});
    ASSERT_TRUE(copied.ok()) << message(copied);
    std::istringstream back(out);
    auto table = readLayerTable(back);
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table->layers[1], (cadlink::DrawingLayer{u"D-WAL", 1, u"Continuous"}));
    EXPECT_EQ(table->currentLayer, u"D-WAL");
    EXPECT_EQ(copied->notes,
              std::vector<std::u16string>{
                  u"線種「CENTER2」はこの図面に定義されていないため、画層「D-WAL」は元の線種のままです。"});
}

TEST(TranslatedCopy, AddsTheColourAndLineTypeARenamedRecordLacks) {
    DxfText in;
    in.group(0, "SECTION").group(2, "TABLES").group(0, "TABLE").group(2, "LTYPE");
    in.group(0, "LTYPE").group(2, "DASHED").group(0, "ENDTAB");
    in.group(0, "TABLE").group(2, "LAYER").group(0, "LAYER").group(2, "A").group(70, "0");
    in.group(0, "ENDTAB").group(0, "ENDSEC").group(0, "EOF");
    std::string out;
    auto copied = copy(in.text("\r\n"), out, {{u"A", u"D-A", Record::Renamed, 4, u"DASHED"}});
    ASSERT_TRUE(copied.ok()) << message(copied);
    EXPECT_NE(out.find("\r\n0\r\nLAYER\r\n2\r\nD-A\r\n62\r\n4\r\n6\r\nDASHED\r\n70\r\n0\r\n0\r\nENDTAB\r\n"),
              std::string::npos)
        << out;
}

TEST(TranslatedCopy, TakesWhatARemovedRecordOwnsAlongAndPointsWhatNamedItToItsTarget) {
    // A layer record B with its extension dictionary, which holds an XRECORD; viewports (one in a block) that
    // freeze B and another layer; an object that lists B among its reactors only, and stays.
    const auto drawing = [](bool removed) {
        const std::string b = removed ? "30" : "2F";  // where the pointers to B point
        DxfText dxf;
        dxf.group(0, "SECTION").group(2, "TABLES").group(0, "TABLE").group(2, "LAYER");
        if (!removed) {
            dxf.group(0, "LAYER").group(5, "2F").group(2, "B");
        }
        dxf.group(0, "LAYER").group(5, "30").group(2, "D-STR").group(0, "LAYER").group(5, "34").group(2, "K");
        dxf.group(0, "ENDTAB").group(0, "ENDSEC").group(0, "SECTION").group(2, "BLOCKS");
        dxf.group(0, "VIEWPORT").group(8, "0").group(341, b).group(0, "ENDSEC");
        dxf.group(0, "SECTION").group(2, "ENTITIES").group(0, "VIEWPORT").group(8, removed ? "D-STR" : "B");
        dxf.group(341, "34").group(341, b).group(0, "ENDSEC").group(0, "SECTION").group(2, "OBJECTS");
        if (!removed) {
            dxf.group(0, "DICTIONARY").group(5, "31").group(102, "{ACAD_REACTORS").group(330, "2F");
            dxf.group(102, "}").group(330, "2f").group(100, "AcDbDictionary").group(3, "N").group(350, "32");
            dxf.group(0, "XRECORD").group(5, "32").group(330, "31").group(100, "AcDbXrecord").group(290, "1");
        }
        dxf.group(0, "DICTIONARY").group(5, "33").group(102, "{ACAD_REACTORS").group(330, b);
        dxf.group(102, "}").group(330, "C").group(100, "AcDbDictionary");
        return dxf.group(0, "ENDSEC").group(0, "EOF");
    };
    const std::vector<LayerChange> merge = {{u"b", u"D-STR", Record::Removed, std::nullopt, std::nullopt}};
    std::string out;
    auto copied = copy(drawing(false).text(), out, merge);
    ASSERT_TRUE(copied.ok()) << message(copied);
    EXPECT_EQ(out, drawing(true).text());
    ASSERT_TRUE(copy(drawing(false).binary(), out, merge).ok());
    EXPECT_EQ(out, drawing(true).binary());
}

TEST(TranslatedCopy, WritesNamesInTheFilesEncoding) {
    struct Case {
        std::string version, codePage, wall, written;
    };
    // 壁 in code page 932 is 95 C7; 丂 (U+4E02) lies outside it and is written as AutoCAD escapes it.
    const std::vector<Case> cases = {
        {"AC1015", "ANSI_932", "\x95\xC7", "D-\x95\xC7\\U+4E02"},
        {"AC1032", "ANSI_932", "\xE5\xA3\x81", "D-\xE5\xA3\x81\xE4\xB8\x82"},
        {"AC1009", "ANSI_1252", "\\U+58C1", "D-\\U+58C1\\U+4E02"},
        {"AC1015", "", "\x95\xC7", "D-\x95\xC7\\U+4E02"},  // no code page, but the file writes 932
        {"AC1015", "", "\xE5\xA3\x81", "D-\xE5\xA3\x81\xE4\xB8\x82"},
    };
    for (const Case& c : cases) {
        Sample sample;
        sample.version = c.version;
        sample.codePage = c.codePage;
        sample.current = c.wall;
        sample.layers = {{"0"}, {c.wall, 1}};
        sample.blockLayers = {"0", c.wall, "0"};
        sample.objects = {c.wall};
        std::string out;
        auto copied = copy(sample.dxf().text(), out, {{u"壁", u"D-壁丂", Record::Renamed, 1, std::nullopt}});
        ASSERT_TRUE(copied.ok()) << message(copied);
        Sample expected = sample;
        expected.current = c.written;
        expected.layers = {{"0"}, {c.written, 1}};
        expected.blockLayers = {"0", c.written, "0"};
        expected.objects = {c.written};
        EXPECT_EQ(out, expected.dxf().text()) << c.version << " " << c.codePage;
        std::istringstream back(out);
        auto table = readLayerTable(back);
        ASSERT_TRUE(table.ok());
        EXPECT_EQ(table->layers[1].name, u"D-壁丂") << c.version << " " << c.codePage;
    }
}

TEST(TranslatedCopy, TranslatesBinaryFilesOfEveryCodeWidth) {
    const Sample sample;
    for (const bool oneByteCodes : {false, true}) {
        std::string out;
        auto copied = copy(sample.dxf().binary(oneByteCodes), out, kWallChanges);
        ASSERT_TRUE(copied.ok()) << message(copied);
        EXPECT_EQ(out, translatedWall(sample).dxf().binary(oneByteCodes));
    }
    // A record without its colour gets one in the code width of the file.
    DxfText in;
    in.group(0, "SECTION").group(2, "TABLES").group(0, "TABLE").group(2, "LAYER").group(0, "LAYER");
    in.group(2, "A").group(0, "ENDTAB").group(0, "ENDSEC").group(0, "EOF");
    DxfText want;
    want.group(0, "SECTION").group(2, "TABLES").group(0, "TABLE").group(2, "LAYER").group(0, "LAYER");
    want.group(2, "B").group(62, "4").group(0, "ENDTAB").group(0, "ENDSEC").group(0, "EOF");
    for (const bool oneByteCodes : {false, true}) {
        std::string out;
        auto copied = copy(in.binary(oneByteCodes), out, {{u"A", u"B", Record::Renamed, 4, std::nullopt}});
        ASSERT_TRUE(copied.ok()) << message(copied);
        EXPECT_EQ(out, want.binary(oneByteCodes));
    }
}

TEST(TranslatedCopy, RefusesWhatIsNoWholeDxfFile) {
    const std::string whole = Sample().dxf().text();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "DXF ファイルではありません。"},
        {"hello\nworld\n", "DXF ファイルではありません（1 行目がグループコードではありません）。"},
        {"0\nLINE\n8\nA\n", "DXF ファイルではありません（SECTION で始まっていません）。"},
        {whole.substr(0, whole.size() - 8), "DXF ファイルが途中で切れています（EOF がありません）。"},
        {whole.substr(0, whole.size() - 4), "DXF ファイルが途中で切れています。"},
    };
    for (const auto& [text, want] : cases) {
        std::string out;
        EXPECT_EQ(message(copy(text, out, kWallChanges)), want) << text.size();
    }
    // What follows EOF goes along as it was.
    std::string out;
    ASSERT_TRUE(copy(whole + "\x1a", out, {}).ok());
    EXPECT_EQ(out, whole + "\x1a");
    ASSERT_TRUE(copy("\xEF\xBB\xBF" + whole, out, {}).ok());
    EXPECT_EQ(out, "\xEF\xBB\xBF" + whole);
}

class TranslatedFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder =
            std::filesystem::temp_directory_path() /
            ("tiermark-translated-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::filesystem::path write(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_folder / name, std::ios::binary) << bytes;
        return m_folder / name;
    }
    static std::string contents(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path m_folder;
};

TEST_F(TranslatedFile, WritesTheCopyWholeAndLeavesTheSource) {
    const std::string source = Sample().dxf().text("\r\n");
    const auto from = write("a.dxf", source);
    auto written = writeTranslatedCopy(from, m_folder / "b.dxf", kWallChanges);
    ASSERT_TRUE(written.ok()) << message(written);
    EXPECT_EQ(contents(from), source);
    EXPECT_EQ(contents(m_folder / "b.dxf"), translatedWall(Sample()).dxf().text("\r\n"));
    EXPECT_EQ(files(), (std::vector<std::string>{"a.dxf", "b.dxf"}));

    // Chosen as its own target, the source is replaced.
    ASSERT_TRUE(writeTranslatedCopy(from, from, kWallChanges).ok());
    EXPECT_EQ(contents(from), translatedWall(Sample()).dxf().text("\r\n"));
    EXPECT_EQ(files(), (std::vector<std::string>{"a.dxf", "b.dxf"}));
}

TEST_F(TranslatedFile, LeavesNothingBehindWhenItFails) {
    const std::string whole = Sample().dxf().text();
    const auto cut = write("cut.dxf", whole.substr(0, whole.size() - 8));
    const std::string before = contents(write("b.dxf", "old"));
    EXPECT_EQ(message(writeTranslatedCopy(cut, m_folder / "b.dxf", kWallChanges)),
              "DXF ファイルが途中で切れています（EOF がありません）。");
    EXPECT_EQ(contents(m_folder / "b.dxf"), before);
    EXPECT_EQ(files(), (std::vector<std::string>{"b.dxf", "cut.dxf"}));
    EXPECT_EQ(message(writeTranslatedCopy(m_folder / "none.dxf", m_folder / "c.dxf", kWallChanges)),
              "ファイルを開けません。");
    EXPECT_EQ(message(writeTranslatedCopy(cut, m_folder / "missing" / "c.dxf", kWallChanges)),
              "書き出し先のフォルダーにファイルを作れません。");
    EXPECT_EQ(files(), (std::vector<std::string>{"b.dxf", "cut.dxf"}));
}

}  // namespace
}  // namespace dxf

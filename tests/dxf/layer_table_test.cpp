#include "dxf/layer_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace dxf {
namespace {

using cadlink::DrawingLayer;

// A DXF text from its groups, one "code\nvalue\n" pair each.
class DxfText {
public:
    DxfText& group(int code, const std::string& value) {
        m_text += std::to_string(code) + "\n" + value + "\n";
        return *this;
    }
    DxfText& header(const std::string& version, const std::string& codePage) {
        group(0, "SECTION").group(2, "HEADER");
        if (!version.empty()) {
            group(9, "$ACADVER").group(1, version);
        }
        if (!codePage.empty()) {
            group(9, "$DWGCODEPAGE").group(3, codePage);
        }
        return group(0, "ENDSEC");
    }
    DxfText& beginLayers() {
        return group(0, "SECTION")
            .group(2, "TABLES")
            .group(0, "TABLE")
            .group(2, "LTYPE")
            .group(0, "ENDTAB")
            .group(0, "TABLE")
            .group(2, "LAYER")
            .group(70, "3");
    }
    DxfText& layer(const std::string& name, int colour, const std::string& linetype) {
        return group(0, "LAYER")
            .group(5, "10")
            .group(100, "AcDbSymbolTableRecord")
            .group(2, name)
            .group(70, "0")
            .group(62, std::to_string(colour))
            .group(6, linetype);
    }
    DxfText& endLayers() { return group(0, "ENDTAB").group(0, "ENDSEC"); }
    DxfText& end() { return group(0, "EOF"); }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

tiermark::Result<LayerTable> read(const std::string& text) {
    std::istringstream in(text);
    return readLayerTable(in);
}

std::string message(const tiermark::Result<LayerTable>& result) {
    return result ? std::string("(read)") : result.error().message;
}

TEST(LayerTable, ReadsNamesColoursAndLineTypesInTheFilesOrder) {
    DxfText dxf;
    dxf.group(999, "written by hand").header("AC1015", "ANSI_932").beginLayers();
    dxf.layer("0", 7, "Continuous")
        .layer(
            "\x8D\x5C\x91\xA2\x95\xA8"
            "D-STR",
            -3, "CONTINUOUS");
    dxf.layer("D-BGD", 1, "\x94\x6A\x90\xFC").endLayers().end();
    auto table = read(dxf.text());
    ASSERT_TRUE(table.ok()) << message(table);
    EXPECT_EQ(table->layers, (std::vector<DrawingLayer>{{u"0", 7, u"Continuous"},
                                                        {u"構造物D-STR", 3, u"CONTINUOUS"},  // off: -3
                                                        {u"D-BGD", 1, u"破線"}}));
    EXPECT_EQ(table->version, "AC1015");
    EXPECT_EQ(table->codePage, "ANSI_932");
    EXPECT_EQ(table->unreadableNames, 0u);
    EXPECT_EQ(table->duplicates, 0u);
}

TEST(LayerTable, StopsAtTheEndOfTheLayerTable) {
    // Whatever follows the table is never read, so a file damaged after it still gives its layers.
    DxfText dxf;
    dxf.header("AC1015", "ANSI_932").beginLayers().layer("D-STR", 2, "Continuous").endLayers();
    auto table = read(dxf.text() + "this is not\nDXF at all\n\x01\x02");
    ASSERT_TRUE(table.ok()) << message(table);
    EXPECT_EQ(table->layers.size(), 1u);
}

TEST(LayerTable, TakesCrLfLineEndsAndRightAlignedGroupCodes) {
    DxfText dxf;
    dxf.header("AC1021", "")
        .beginLayers()
        .layer("\xE6\xA7\x8B\xE9\x80\xA0", 5, "Continuous")
        .endLayers()
        .end();
    std::string text;
    std::istringstream lines(dxf.text());
    std::string line;
    bool code = true;
    while (std::getline(lines, line)) {
        text += (code ? "  " : "") + line + "\r\n";
        code = !code;
    }
    auto table = read(text);
    ASSERT_TRUE(table.ok()) << message(table);
    EXPECT_EQ(table->layers, (std::vector<DrawingLayer>{{u"構造", 5, u"Continuous"}}));
    EXPECT_EQ(table->encoding, TextEncoding::Utf8);
}

TEST(LayerTable, KeepsTheFirstOfDuplicateNamesAndCountsTheRest) {
    DxfText dxf;
    dxf.header("AC1015", "ANSI_932").beginLayers();
    dxf.layer("D-STR", 2, "Continuous").layer("d-str", 3, "DASHED").layer("D-STR", 4, "Continuous");
    dxf.layer("D-BGD", 1, "Continuous").endLayers().end();
    auto table = read(dxf.text());
    ASSERT_TRUE(table.ok()) << message(table);
    EXPECT_EQ(table->layers,
              (std::vector<DrawingLayer>{{u"D-STR", 2, u"Continuous"}, {u"D-BGD", 1, u"Continuous"}}));
    EXPECT_EQ(table->duplicates, 2u);
}

TEST(LayerTable, NamesInACodePageItCannotReadAreCountedAndShownWithReplacementCharacters) {
    DxfText dxf;
    dxf.header("AC1015", "ANSI_1251").beginLayers().layer("\xD1\xEB\xEE\xE9", 2, "Continuous");
    dxf.layer("D-STR", 2, "Continuous").endLayers().end();
    auto table = read(dxf.text());
    ASSERT_TRUE(table.ok()) << message(table);
    EXPECT_EQ(table->unreadableNames, 1u);
    EXPECT_EQ(table->layers[0].name, u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(table->layers[1].name, u"D-STR");
}

TEST(LayerTable, ThousandsOfLayersAreReadAndTooManyAreRefused) {
    DxfText many;
    many.header("AC1015", "ANSI_932").beginLayers();
    for (int i = 0; i < 5000; ++i) {
        many.layer("L" + std::to_string(i), 1 + i % 255, "Continuous");
    }
    many.endLayers().end();
    auto table = read(many.text());
    ASSERT_TRUE(table.ok()) << message(table);
    EXPECT_EQ(table->layers.size(), 5000u);
    EXPECT_EQ(table->layers[4999].name, u"L4999");

    std::string tooMany = DxfText().header("AC1015", "ANSI_932").beginLayers().text();
    for (std::size_t i = 0; i <= kMaxLayers; ++i) {
        tooMany += "0\nLAYER\n2\nL" + std::to_string(i) + "\n";
    }
    auto refused = read(tooMany + "0\nENDTAB\n0\nEOF\n");
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(message(refused).find("画層が多すぎます"), std::string::npos);
}

TEST(LayerTable, WhatIsNoDxfOrIsDamagedIsSaidInJapanese) {
    DxfText whole;
    whole.header("AC1015", "ANSI_932").beginLayers().layer("D-STR", 2, "Continuous").endLayers().end();
    const std::string good = whole.text();
    struct Case {
        std::string input;
        std::string says;
    };
    const std::string insideTable = good.substr(0, good.find("D-STR") + 6);
    const Case cases[] = {
        {"", "空のファイルです"},
        {"Hello, world\n", "DXF ファイルではありません"},
        {"%PDF-1.4\n0\nSECTION\n", "DXF ファイルではありません"},
        {"0\nLINE\n", "DXF ファイルではありません"},
        {"AutoCAD Binary DXF\r\n\x1a", "バイナリ形式の DXF は読めません"},
        {insideTable, "途中で切れています"},
        {good.substr(0, good.rfind("ENDTAB")), "途中で切れています"},
        {"0\nSECTION\n2\nHEADER\n9\n", "途中で切れています"},
        {"0\nSECTION\n2\nHEADER\n0\nENDSEC\n0\nEOF\n", "画層テーブルがありません"},
        // The objects begin with no layer table before them: what follows is not read (here: not DXF).
        {"0\nSECTION\n2\nENTITIES\n" + std::string(kMaxLineBytes * 2, 'x'), "画層テーブルがありません"},
        {"0\nSECTION\n2\nHEADER\nxx\n", "壊れています"},
        {"0\nSECTION\n2\n" + std::string(kMaxLineBytes + 1, 'A') + "\n", "長すぎます"},
        {std::string(kMaxLineBytes * 3, '7'), "長すぎます"},
    };
    for (const Case& c : cases) {
        auto table = read(c.input);
        ASSERT_FALSE(table.ok()) << c.says;
        EXPECT_NE(message(table).find(c.says), std::string::npos) << message(table);
    }
}

TEST(LayerTable, FilesThatCannotBeOpenedAreSaidSo) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    auto directory = readLayerTableFile(folder);
    ASSERT_FALSE(directory.ok());
    EXPECT_NE(directory.error().message.find("フォルダー"), std::string::npos);
    auto missing = readLayerTableFile(folder / "no such drawing 図面.dxf");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().message.find("開けません"), std::string::npos);
}

}  // namespace
}  // namespace dxf

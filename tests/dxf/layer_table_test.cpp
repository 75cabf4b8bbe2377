#include "dxf/layer_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/dxf/dxf_text.h"

namespace dxf {
namespace {

using cadlink::DrawingLayer;

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

// A drawing whose layers hold what a layer record can say: Japanese names in code page 932, a layer of an
// external reference (flag 16), a true colour, a layer that is off.
DxfText everyKindOfRecord(const std::string& version) {
    DxfText dxf;
    dxf.header(version, "ANSI_932").beginLayers();
    dxf.layer("0", 7, "Continuous")
        .layer(
            "\x8D\x5C\x91\xA2\x95\xA8"
            "D-STR",
            -3, "CONTINUOUS");
    dxf.layer("\x8C\xBB\x8B\xB5\x90\x7D|D-BGD", 8, "\x94\x6A\x90\xFC", 16 | 32);
    dxf.layer("D-TTL", 1, "Continuous").group(420, std::to_string(0x00FF8000));
    return dxf.endLayers().end();
}

const std::vector<DrawingLayer> kEveryKindOfRecord = {
    {u"0", 7, u"Continuous"},
    {u"構造物D-STR", 3, u"CONTINUOUS"},
    {u"現況図|D-BGD", 8, u"破線", std::nullopt, true},
    {u"D-TTL", 1, u"Continuous", 0xFF8000u, false},
};

std::string crLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return out;
}

TEST(LayerTable, AsciiAndBinaryFilesOfEveryFormGiveTheSameLayers) {
    struct Case {
        const char* form;
        std::string bytes;
        bool binary;
    };
    const Case cases[] = {
        {"ASCII, LF", everyKindOfRecord("AC1015").text(), false},
        {"ASCII, CR LF", crLf(everyKindOfRecord("AC1015").text()), false},
        {"ASCII, byte order mark", "\xEF\xBB\xBF" + everyKindOfRecord("AC1015").text(), false},
        {"binary, two-byte codes (R13 on)", everyKindOfRecord("AC1015").binary(), true},
        {"binary, one-byte codes (R12)", everyKindOfRecord("AC1009").binary(true), true},
    };
    for (const Case& c : cases) {
        auto table = read(c.bytes);
        ASSERT_TRUE(table.ok()) << c.form << ": " << message(table);
        EXPECT_EQ(table->layers, kEveryKindOfRecord) << c.form;
        EXPECT_EQ(table->binary, c.binary) << c.form;
        EXPECT_EQ(table->codePage, "ANSI_932") << c.form;
    }
}

TEST(LayerTable, ABinaryFileCutAnywhereIsSaidToEndEarly) {
    for (bool oneByteCodes : {false, true}) {
        const std::string whole = everyKindOfRecord(oneByteCodes ? "AC1009" : "AC1015").binary(oneByteCodes);
        const std::size_t tableEnd = whole.find("ENDTAB");
        ASSERT_NE(tableEnd, std::string::npos);
        for (std::size_t size = 22; size < tableEnd; ++size) {
            auto table = read(whole.substr(0, size));
            ASSERT_FALSE(table.ok()) << size;
            EXPECT_NE(message(table).find("途中で切れています"), std::string::npos) << size << message(table);
        }
    }
}

TEST(LayerTable, TheHeadersCodePageIsTrustedBeforeAutoCad2007) {
    // Code page 932 whose bytes are also well-formed UTF-8 ("ﾎｱ" is CE B1, "α" in UTF-8).
    const std::vector<std::pair<std::string, std::u16string>> names = {
        {"\xCE\xB1", u"ﾎｱ"}, {"\xD0\xBD", u"ﾐｽ"},           {"\xC2\xB0", u"ﾂｰ"},
        {"\xC3\xB7", u"ﾃｷ"}, {"\xE8\xA5\x83\x41", u"隘ア"},
    };
    for (const auto& [bytes, name] : names) {
        for (const char* version : {"AC1009", "AC1015", "AC1018"}) {
            DxfText dxf;
            dxf.header(version, "ANSI_932")
                .beginLayers()
                .layer("D-" + bytes, 1, "Continuous")
                .endLayers()
                .end();
            auto table = read(dxf.text());
            ASSERT_TRUE(table.ok()) << message(table);
            EXPECT_EQ(table->layers[0].name, u"D-" + name) << version;
            EXPECT_EQ(table->unreadableNames, 0u);
        }
    }
    // AutoCAD 2007 and later: UTF-8 whatever the code page says; no code page: the guess (UTF-8 first).
    DxfText utf8;
    utf8.header("AC1021", "ANSI_932").beginLayers().layer("\xCE\xB1", 1, "Continuous").endLayers().end();
    EXPECT_EQ(read(utf8.text())->layers[0].name, u"α");
    DxfText unstated;
    unstated.header("AC1009", "").beginLayers().layer("\xCE\xB1", 1, "Continuous").endLayers().end();
    EXPECT_EQ(read(unstated.text())->layers[0].name, u"α");
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
        {"AutoCAD Binary DXF\r\n\x1a", "途中で切れています"},
        {"AutoCAD Binary DXF\r\n\x1a\x1a" + good, "バイナリ形式の DXF ファイルの始まりが壊れています"},
        {insideTable, "途中で切れています"},
        {crLf(good).substr(0, crLf(good).find("D-STR") + 10), "途中で切れています"},  // cut between CR and LF
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

#include "cadsim/core/dxf_io.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "cadsim/core/sample_drawing.h"

namespace cadsim {
namespace {

class Dxf : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() / ("cadsim-dxf-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string path(const char* name) const { return (m_dir / name).string(); }
    void write(const std::string& file, const std::string& content) const {
        std::ofstream(file, std::ios::binary) << content;
    }
    std::string read(const std::string& file) const {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path m_dir;
};

TEST_F(Dxf, RoundTripKeepsLayersObjectsAndJapaneseNames) {
    Drawing original = sampleDrawing();
    original.addLayer(u"D-STR");
    original.setLineType(u"D-STR", u"一点鎖線");
    original.setColor(u"D-STR", 241);
    ASSERT_TRUE(saveDxf(original, path("a.dxf")).ok());
    auto loaded = loadDxf(path("a.dxf"));
    ASSERT_TRUE(loaded.ok()) << loaded.error().message;
    ASSERT_EQ(loaded->layers().size(), original.layers().size());
    for (std::size_t i = 0; i < original.layers().size(); ++i) {
        EXPECT_EQ(loaded->layers()[i].name, original.layers()[i].name);
        EXPECT_EQ(loaded->layers()[i].lineType, original.layers()[i].lineType);
        EXPECT_EQ(loaded->layers()[i].color, original.layers()[i].color);
    }
    ASSERT_EQ(loaded->objects().size(), original.objects().size());
    for (std::size_t i = 0; i < original.objects().size(); ++i) {
        const DrawingObject& a = original.objects()[i];
        const DrawingObject& b = loaded->objects()[i];
        EXPECT_EQ(b.kind, a.kind);
        EXPECT_EQ(b.layer, a.layer);
        EXPECT_DOUBLE_EQ(b.position.x, a.position.x);
        EXPECT_DOUBLE_EQ(b.position.y, a.position.y);
        EXPECT_DOUBLE_EQ(b.radius, a.radius);
        EXPECT_EQ(b.text, a.text);
    }
}

TEST_F(Dxf, DamagedOrForeignFilesAreClearErrors) {
    ASSERT_TRUE(saveDxf(sampleDrawing(), path("good.dxf")).ok());
    const std::string good = read(path("good.dxf"));
    std::string binary(4096, '\0');
    std::mt19937 random(7);
    for (char& c : binary) {
        c = static_cast<char>(random() & 0xFF);
    }
    struct Case {
        const char* name;
        std::string content;
    };
    const Case cases[] = {
        {"empty", ""},
        {"plain text", "hello\nworld\n"},
        {"binary", binary},
        {"cut in half", good.substr(0, good.size() / 2)},
        {"no EOF", good.substr(0, good.rfind("EOF"))},
        {"group code not a number", "0\nSECTION\n2\nENTITIES\nX\nLINE\n0\nEOF\n"},
        {"odd number of lines", "0\nSECTION\n2"},
    };
    for (const Case& c : cases) {
        write(path("bad.dxf"), c.content);
        auto loaded = loadDxf(path("bad.dxf"));
        EXPECT_FALSE(loaded.ok()) << c.name;
    }
    EXPECT_FALSE(loadDxf(path("missing.dxf")).ok());
    EXPECT_FALSE(saveDxf(sampleDrawing(), (m_dir / "no" / "such" / "dir.dxf").string()).ok());
}

TEST_F(Dxf, OnlyTheLayerTableAndModelEntitiesAreRead) {
    // A block's line is no drawing object, and an entity with an absurd vertex count is never handed to the
    // DXF reader.
    write(
        path("blocks.dxf"),
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB1\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\n0\n90\n2000000000\n10\n1\n20\n1\n"
        "0\nCIRCLE\n8\nC1\n10\n5\n20\n5\n30\n0\n40\n2\n0\nENDSEC\n0\nEOF\n");
    auto loaded = loadDxf(path("blocks.dxf"));
    ASSERT_TRUE(loaded.ok()) << loaded.error().message;
    ASSERT_EQ(loaded->objects().size(), 1u);
    EXPECT_EQ(loaded->objects()[0].kind, ObjectKind::Circle);
    EXPECT_EQ(loaded->objects()[0].layer, u"C1");
}

TEST_F(Dxf, AMinimalHandWrittenFileLoads) {
    write(path("min.dxf"),
          "999\ncomment\n0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n1\n0\nLAYER\n2\nC-"
          "BMK\n70\n0\n62\n5\n6\nDASHED\n"
          "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nC-"
          "BMK\n10\n1\n20\n2\n30\n0\n11\n3\n21\n4\n31\n0\n"
          "0\nCIRCLE\n8\nNEWLAYER\n10\n5\n20\n5\n30\n0\n40\n2\n0\nENDSEC\n0\nEOF\n");
    auto loaded = loadDxf(path("min.dxf"));
    ASSERT_TRUE(loaded.ok()) << loaded.error().message;
    ASSERT_NE(loaded->findLayer(u"C-BMK"), nullptr);
    EXPECT_EQ(loaded->findLayer(u"C-BMK")->color, 5);
    EXPECT_EQ(loaded->findLayer(u"C-BMK")->lineType, u"DASHED");
    ASSERT_EQ(loaded->objects().size(), 2u);
    EXPECT_EQ(loaded->objects()[1].layer, u"NEWLAYER");
    EXPECT_NE(loaded->findLayer(u"NEWLAYER"), nullptr);
}

}  // namespace
}  // namespace cadsim

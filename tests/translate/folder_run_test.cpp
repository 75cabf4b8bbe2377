// A folder of drawings checked and translated with one map, and the one report of the run.
#include "translate/folder_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "common/utf.h"
#include "dxf/layer_table.h"
#include "tests/dxf/dxf_text.h"

namespace translate {
namespace {

namespace fs = std::filesystem;
using layercheck::Verdict;

layercheck::Standard roadStandard() {
    layercheck::Standard standard;
    standard.layers = {{u"D-STR", u"構造物", u"", 3}, {u"D-WAL", u"壁", u"DASHED", 1}};
    standard.letter = u"D";
    return standard;
}

// A drawing of the layers given, each with one line on it, and WALL its current layer; the layer named
// dashed has the line type DASHED, the rest Continuous.
std::string drawing(const std::vector<std::pair<std::string, int>>& layers, const std::string& dashed = {}) {
    dxf::DxfText dxf;
    dxf.group(0, "SECTION").group(2, "HEADER").group(9, "$ACADVER").group(1, "AC1015");
    dxf.group(9, "$CLAYER").group(8, "WALL").group(0, "ENDSEC").beginLayers();
    for (const auto& [name, colour] : layers) {
        dxf.layer(name, colour, name == dashed ? "DASHED" : "Continuous");
    }
    dxf.endLayers().group(0, "SECTION").group(2, "ENTITIES");
    for (const auto& layer : layers) {
        dxf.group(0, "LINE").group(8, layer.first).group(10, "0.0").group(20, "0.0");
    }
    return dxf.group(0, "ENDSEC").end().text("\r\n");
}

const std::vector<std::pair<std::string, int>> kOfficeLayers = {{"0", 7}, {"D-STR", 3}, {"WALL", 2}};

class FolderRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("tiermark-folder-run-" + std::to_string(std::random_device{}()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_map.set(u"wall", u"D-WAL");
        m_map.set(u"0", u"D-STR");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path write(const std::string& name, const std::string& bytes) const {
        const fs::path path = m_dir / fs::path(tiermark::fromUtf8(name));
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    StandardOfFile road(std::u16string heading = u"位置図（設計、D）") const {
        return [this, heading](const std::vector<cadlink::DrawingLayer>&) {
            return FileStandard{&m_standard, heading};
        };
    }

    fs::path m_dir;
    layercheck::Standard m_standard = roadStandard();
    LayerMap m_map;
};

TEST_F(FolderRunTest, ChecksEveryFileAndNamesThoseItCannotRead) {
    const std::vector<fs::path> files = {
        write("a.dxf", drawing(kOfficeLayers)), write("bad.dxf", "not a drawing"), m_dir / "gone.dxf",
        write("folder.dxf/x.txt", "").parent_path(),
        write("b.dxf", drawing({{"0", 7}, {"D-STR", 3}, {"D-WAL", 1}}, "D-WAL"))};
    const FolderRun run = checkFolder(files, road(), {});
    ASSERT_EQ(run.files.size(), files.size());
    EXPECT_FALSE(run.cancelled);
    const FileOutcome& a = run.files[0];
    EXPECT_EQ(a.error, u"");
    EXPECT_EQ(a.heading, u"位置図（設計、D）");
    EXPECT_EQ(a.counts[static_cast<std::size_t>(Verdict::Standard)], 1);
    EXPECT_EQ(a.counts[static_cast<std::size_t>(Verdict::NotStandard)], 1);  // WALL
    EXPECT_EQ(a.counts[static_cast<std::size_t>(Verdict::Missing)], 1);      // D-WAL
    EXPECT_EQ(a.worst, Verdict::NotStandard);
    EXPECT_NE(run.files[1].error.find(u"DXF ファイルではありません"), std::u16string::npos);
    EXPECT_EQ(run.files[2].error, u"ファイルを開けません。");
    EXPECT_EQ(run.files[3].error, u"フォルダーは DXF ファイルではありません。");
    EXPECT_EQ(run.files[4].error, u"");
    EXPECT_EQ(run.files[4].worst, std::nullopt);  // every layer standard
    EXPECT_FALSE(run.files[4].plan.has_value());
}

TEST_F(FolderRunTest, AFileThatNoKindMatchesIsNamed) {
    const FolderRun run =
        checkFolder({write("a.dxf", drawing(kOfficeLayers))},
                    [](const std::vector<cadlink::DrawingLayer>&) { return FileStandard{}; }, {});
    ASSERT_EQ(run.files.size(), 1U);
    EXPECT_EQ(run.files[0].error, u"この図面に当てはまる図面の種類がありません。");
}

TEST_F(FolderRunTest, ProgressMayStopTheRunAndKeepsWhatIsDone) {
    std::vector<fs::path> files;
    for (int i = 0; i < 5; ++i) {
        files.push_back(write("d" + std::to_string(i) + ".dxf", drawing(kOfficeLayers)));
    }
    std::vector<std::pair<std::size_t, std::size_t>> told;
    const FolderRun stopped =
        translateFolder(files, m_map, road(), m_dir / "out", [&](std::size_t done, std::size_t total) {
            told.emplace_back(done, total);
            return done < 2;
        });
    EXPECT_EQ(told, (std::vector<std::pair<std::size_t, std::size_t>>{{1, 5}, {2, 5}}));
    EXPECT_TRUE(stopped.cancelled);
    ASSERT_EQ(stopped.files.size(), 2U);
    EXPECT_TRUE(fs::exists(m_dir / "out" / "d1.dxf"));
    EXPECT_FALSE(fs::exists(m_dir / "out" / "d2.dxf"));
    // Stopped after the last file, the run is whole.
    const FolderRun whole =
        checkFolder(files, road(), [](std::size_t done, std::size_t total) { return done < total; });
    EXPECT_FALSE(whole.cancelled);
    EXPECT_EQ(whole.files.size(), 5U);
}

TEST_F(FolderRunTest, TranslatesIntoTheTargetFolderAndChecksTheCopies) {
    const std::string source = drawing(kOfficeLayers);
    const std::vector<fs::path> files = {write("one/a.dxf", source), write("two/A.dxf", source),
                                         write("two/bad.dxf", "0\nSECTION\n")};
    const FolderRun run = translateFolder(files, m_map, road(), m_dir / "out" / "new", {});
    ASSERT_EQ(run.files.size(), 3U);
    EXPECT_EQ(run.files[0].written, m_dir / "out" / "new" / "a.dxf");
    EXPECT_EQ(run.files[1].written, m_dir / "out" / "new" / "A_2.dxf");
    EXPECT_NE(run.files[2].error, u"");
    EXPECT_TRUE(run.files[2].written.empty());
    for (std::size_t i = 0; i < 2; ++i) {
        const FileOutcome& file = run.files[i];
        EXPECT_EQ(file.error, u"");
        ASSERT_TRUE(file.plan.has_value());
        EXPECT_EQ(file.plan->count(Outcome::Renamed), 1);
        // The copy's check: D-WAL is there, but keeps the solid line the drawing defines instead of DASHED.
        EXPECT_EQ(file.counts[static_cast<std::size_t>(Verdict::NotStandard)], 0);
        EXPECT_EQ(file.counts[static_cast<std::size_t>(Verdict::Missing)], 0);
        EXPECT_EQ(file.counts[static_cast<std::size_t>(Verdict::OtherProperties)], 1);
        EXPECT_EQ(file.worst, Verdict::OtherProperties);
        ASSERT_EQ(file.notes.size(), 2U);
        // 0 is mapped too, and refused; WALL keeps its solid line.
        EXPECT_EQ(file.notes[0], u"画層「0」→「D-STR」：画層 0 と DEFPOINTS は変更できません。");
        EXPECT_NE(file.notes[1].find(u"DASHED"), std::u16string::npos);
        auto copy = dxf::readLayerTableFile(file.written);
        ASSERT_TRUE(copy.ok());
        EXPECT_EQ(copy->layers[2], (cadlink::DrawingLayer{u"D-WAL", 1, u"Continuous"}));
        EXPECT_EQ(copy->currentLayer, u"D-WAL");
    }
    EXPECT_EQ(contents(files[0]), source);

    // Into the sources' own folder: each copy replaces its source, and none another source of the run.
    const std::vector<fs::path> here = {write("in/a.dxf", source), write("other/a.dxf", source),
                                        write("in/a_2.dxf", source)};
    const FolderRun inPlace = translateFolder(here, m_map, road(), m_dir / "in", {});
    ASSERT_EQ(inPlace.files.size(), 3U);
    EXPECT_EQ(inPlace.files[0].error, u"");
    EXPECT_EQ(inPlace.files[1].error, u"書き出し先（a_2.dxf）が、ほかに変換する図面と同じファイルです。");
    EXPECT_EQ(inPlace.files[2].error, u"");
    EXPECT_NE(contents(here[0]), source);
    EXPECT_EQ(contents(here[1]), source);
}

TEST_F(FolderRunTest, FiveHundredDrawingsAreAllTranslated) {
    std::vector<fs::path> files;
    for (int i = 0; i < 500; ++i) {
        files.push_back(write("in/図面" + std::to_string(i) + ".dxf",
                              drawing({{"0", 7}, {"WALL", 2}, {"N" + std::to_string(i), 4}})));
    }
    std::size_t told = 0;
    const FolderRun run =
        translateFolder(files, m_map, road(), m_dir / "out", [&](std::size_t done, std::size_t) {
            told = done;
            return true;
        });
    EXPECT_EQ(told, 500U);
    ASSERT_EQ(run.files.size(), 500U);
    for (std::size_t i = 0; i < run.files.size(); ++i) {
        const FileOutcome& file = run.files[i];
        ASSERT_EQ(file.error, u"") << i;
        auto copy = dxf::readLayerTableFile(file.written);
        ASSERT_TRUE(copy.ok()) << i;
        ASSERT_EQ(copy->layers.size(), 3U);
        EXPECT_EQ(copy->layers[1].name, u"D-WAL");
        EXPECT_EQ(copy->layers[2].name, u"N" + tiermark::fromUtf8(std::to_string(i)));
    }
}

TEST_F(FolderRunTest, TheReportNamesEveryFileSafelyInBothForms) {
    const std::vector<fs::path> files = {write("a.dxf", drawing(kOfficeLayers)), write("bad.dxf", "x")};
    FolderRun run = checkFolder(files, road(u"=<b>&'x\"位置図"), {});
    run.cancelled = true;
    const std::string csv = reportCsv(run);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    const std::string heading = csv.substr(3, csv.find("\r\n") - 3);
    EXPECT_EQ(heading.rfind("\"ファイル\",\"図面の種類\",\"標準\",", 0), 0U) << heading;
    EXPECT_NE(heading.find("\"最も重い判定\""), std::string::npos);
    EXPECT_EQ(heading.find("書き出し先"), std::string::npos);  // no translation in a check run
    EXPECT_NE(csv.find("\"'=<b>&'x\"\"位置図\""),
              std::string::npos);  // a formula start defused, a quote doubled
    EXPECT_NE(csv.find("\"標準外\""), std::string::npos);
    EXPECT_NE(csv.find("中止しました"), std::string::npos);
    for (std::size_t at = csv.find('\n'); at != std::string::npos; at = csv.find('\n', at + 1)) {
        EXPECT_EQ(csv[at - 1], '\r') << at;
    }

    const std::string html = reportHtml(run, u"チェック <1>");
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0U);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("<title>チェック &lt;1&gt;</title>"), std::string::npos);
    EXPECT_NE(html.find("=&lt;b&gt;&amp;&#39;x&quot;位置図"), std::string::npos);
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    EXPECT_NE(html.find("<tr class=\"error\">"), std::string::npos);
    EXPECT_NE(html.find("<tr class=\"findings\">"), std::string::npos);
    EXPECT_NE(html.find("中止しました"), std::string::npos);
    EXPECT_EQ(html.find("src="), std::string::npos);  // self-contained
    EXPECT_EQ(html.find("http"), std::string::npos);

    const FolderRun translated = translateFolder({files[0]}, m_map, road(), m_dir / "out", {});
    const std::string withPlans = reportCsv(translated);
    EXPECT_NE(withPlans.find("\"書き出し先\""), std::string::npos);
    EXPECT_NE(withPlans.find(tiermark::toUtf8(outcomeText(Outcome::Renamed))), std::string::npos);
}

}  // namespace
}  // namespace translate

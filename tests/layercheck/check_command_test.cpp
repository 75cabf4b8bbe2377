// tiermark-check end to end: the installed program's arguments, its output and exit codes, run as a user
// runs it, against the sample database and DXF files the test writes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "builder/layer_set.h"
#include "common/utf.h"
#include "dxf/layer_set_dxf.h"
#include "layercheck/command_line.h"
#include "stddb/jet_workspace.h"

namespace layercheck {
namespace {

namespace fs = std::filesystem;

constexpr const char* kKind = "設計/道路/道路一般/位置図";

struct Outcome {
    int exit = -1;
    std::string out;
    std::string err;
};

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string quotedArgument(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

class CheckCommand : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tiermark-check-test-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "config");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // The program with these arguments, with a settings folder of its own (nothing registered).
    Outcome run(const std::vector<std::string>& arguments) {
        std::string command = "XDG_CONFIG_HOME=" + quotedArgument((m_dir / "config").string()) + " " +
                              quotedArgument(TIERMARK_CHECK);
        for (const std::string& argument : arguments) {
            command += " " + quotedArgument(argument);
        }
        command += " >" + quotedArgument((m_dir / "out.txt").string()) + " 2>" +
                   quotedArgument((m_dir / "err.txt").string());
        const int status = std::system(command.c_str());
        Outcome result;
        result.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = readAll(m_dir / "out.txt");
        result.err = readAll(m_dir / "err.txt");
        return result;
    }

    fs::path write(const std::string& name, const std::string& bytes) {
        const fs::path path = m_dir / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // The drawing kind's standard layers exactly, as the export writes them: a drawing with no finding.
    static std::string standardDrawing(const std::vector<cadlink::DrawingLayer>& extra = {}) {
        stddb::JetWorkspace workspace;
        stddb::SharedDatabase database;
        EXPECT_TRUE(database.open(workspace, tiermark::fromUtf8(SAMPLE_MDB)).ok());
        auto kind = parseKind(tiermark::fromUtf8(kKind));
        auto chosen = standardOfKind(database, *kind, u"");
        EXPECT_TRUE(chosen.ok());
        std::vector<cadlink::DrawingLayer> layers;
        for (const cadlink::LayerRecord& layer : chosen->standard.layers) {
            layers.push_back({layer.name, static_cast<int>(layer.colour), cadlink::effectiveLinetype(layer)});
        }
        layers.insert(layers.end(), extra.begin(), extra.end());
        return dxf::layerSetDxf(layers)->bytes;
    }

    fs::path m_dir;
};

TEST_F(CheckCommand, AStandardDrawingHasNoFindingsAndExitsZero) {
    const fs::path drawing = write("図面 A.dxf", standardDrawing());
    const Outcome result = run({"--kind", kKind, "--database", SAMPLE_MDB, drawing.string()});
    EXPECT_EQ(result.exit, kExitClean) << result.err;
    EXPECT_EQ(result.out.rfind(drawing.string() + ": 指摘なし　標準：", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("図面にない標準レイヤー：0"), std::string::npos) << result.out;
    EXPECT_EQ(result.err, "");
}

TEST_F(CheckCommand, FindingsAreCountedPerFileAndWrittenAsCsv) {
    const fs::path folder = m_dir / "drawings";
    write("drawings/a.dxf", standardDrawing({{u"=1+1", 1, u"Continuous"}, {u"壁", 2, u"Continuous"}}));
    write("drawings/b.DXF", standardDrawing());
    write("drawings/readme.txt", "not a drawing");
    const Outcome result = run({"--kind=" + std::string(kKind), "--database", SAMPLE_MDB, "--csv",
                                (m_dir / "csv/").string(), folder.string()});
    EXPECT_EQ(result.exit, kExitFindings) << result.err;
    std::istringstream lines(result.out);
    std::string first;
    std::string second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(first.rfind((folder / "a.dxf").string() + ": 指摘 2 件　", 0), 0u) << result.out;
    EXPECT_NE(first.find("標準外：1"), std::string::npos) << first;
    EXPECT_NE(first.find("使用できない文字：1"), std::string::npos) << first;
    EXPECT_EQ(second.rfind((folder / "b.DXF").string() + ": 指摘なし", 0), 0u) << result.out;

    // One CSV per drawing, the window's own form, with the formula kept as text.
    const std::string csv = readAll(m_dir / "csv" / "a.csv");
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(csv.find("\"'=1+1\""), std::string::npos);
    EXPECT_TRUE(fs::exists(m_dir / "csv" / "b.csv"));
}

TEST_F(CheckCommand, TheRegisteredDatabaseIsUsedWithoutDatabaseOption) {
    const fs::path drawing = write("a.dxf", standardDrawing());
    EXPECT_EQ(
        run({"--kind", kKind, drawing.string()}).err,
        "tiermark-check: データベースが登録されていません。Tiermark で Tiermark.MDB を登録するか、--database "
        "で指定してください。\n");
    write("config/VB and VBA Program Settings/Tiermark.conf",
          std::string("[DBSET]\nDBFOLDER=") + SAMPLE_MDB + "\n[Life]\nDefAction=設計\n");
    const Outcome result =
        run({"--kind", "1/位置図", "--csv", (m_dir / "one.csv").string(), drawing.string()});
    EXPECT_EQ(result.exit, kExitClean) << result.err;
    EXPECT_TRUE(fs::exists(m_dir / "one.csv"));
}

TEST_F(CheckCommand, BadInputIsAnErrorNamedInJapanese) {
    const std::string good = standardDrawing();
    const fs::path notDxf = write("notes.dxf", "これは図面ではありません\n");
    const fs::path truncated = write("cut.dxf", good.substr(0, good.find("ENDTAB") / 2));
    const fs::path binaryCut =
        write("cut-binary.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0\0\0SECT", 28));
    fs::create_directories(m_dir / "empty");
    write("empty/a.txt", "");
    const fs::path standard = write("ok.dxf", good);
    struct Case {
        std::vector<std::string> arguments;
        std::string says;
    };
    const Case cases[] = {
        {{(m_dir / "missing.dxf").string()}, "missing.dxf: ファイルかフォルダーが見つかりません。"},
        {{notDxf.string()}, "notes.dxf: DXF ファイルではありません"},
        {{truncated.string()}, "cut.dxf: DXF ファイルが途中で切れています"},
        {{binaryCut.string()}, "cut-binary.dxf: DXF ファイルが途中で切れています"},
        {{(m_dir / "empty").string()}, "empty: フォルダーに DXF ファイル（.dxf）がありません。"},
        {{"--kind", "設計/道路/道路一般/存在しない図", standard.string()},
         "図面名「存在しない図」は工種番号 1 の図面にありません（位置図、全体平面図）"},
        {{"--kind", "設計/鉄道/道路一般/位置図", standard.string()},
         "施工種別「鉄道」はデータベースにありません（道路、"},
        {{"--kind", "計画/道路/道路一般/位置図", standard.string()},
         "ライフサイクル「計画」はデータベースにありません"},
        {{"--kind", "位置図", standard.string()}, "図面の種類「位置図」が読めません"},
        {{"--database", (m_dir / "none.mdb").string(), standard.string()}, "データベースを開けません"},
        {{"--colour", standard.string()}, "知らないオプションです：--colour"},
        {{"--csv", (m_dir / "one.csv").string(), standard.string(), standard.string()},
         "フォルダーを指定してください"},
        {{}, "チェックする DXF ファイルかフォルダーを指定してください"},
        {{"--map", (m_dir / "map.txt").string(), standard.string()},
         "--map と --out は一緒に指定してください"},
        {{"--map", (m_dir / "none.txt").string(), "--out", (m_dir / "out").string(), standard.string()},
         "レイヤー対応表を開けません"},
        {{"--map", notDxf.string(), "--out", (m_dir / "out").string(), "--csv", "a.csv", standard.string()},
         "--map と --csv は一緒に使えません"},
        {{"--report", (m_dir / "report.html").string(), standard.string()}, "CSV のファイル名（.csv）"},
    };
    for (const Case& c : cases) {
        const auto gives = [&](const std::string& option) {
            return std::find(c.arguments.begin(), c.arguments.end(), option) != c.arguments.end();
        };
        std::vector<std::string> arguments;
        if (!gives("--kind")) {
            arguments.insert(arguments.end(), {"--kind", kKind});
        }
        if (!gives("--database")) {
            arguments.insert(arguments.end(), {"--database", SAMPLE_MDB});
        }
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const Outcome result = run(arguments);
        EXPECT_EQ(result.exit, kExitError) << c.says;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
    }
    // An unreadable file among good ones: the good ones are still checked, and the run is an error.
    const Outcome mixed =
        run({"--kind", kKind, "--database", SAMPLE_MDB, notDxf.string(), standard.string()});
    EXPECT_EQ(mixed.exit, kExitError);
    EXPECT_NE(mixed.out.find("ok.dxf: 指摘なし"), std::string::npos) << mixed.out;
}

// The standard drawing with one standard layer (one with a solid line, which every DXF defines) drawn
// on an office layer of its own instead, and the map that names it.
TEST_F(CheckCommand, AMapTranslatesAFolderIntoStandardCopiesAndReportsThem) {
    stddb::JetWorkspace workspace;
    stddb::SharedDatabase database;
    ASSERT_TRUE(database.open(workspace, tiermark::fromUtf8(SAMPLE_MDB)).ok());
    auto chosen = standardOfKind(database, *parseKind(tiermark::fromUtf8(kKind)), u"");
    ASSERT_TRUE(chosen.ok());
    std::vector<cadlink::DrawingLayer> layers;
    std::u16string office;
    for (const cadlink::LayerRecord& layer : chosen->standard.layers) {
        const bool solid = cadlink::effectiveLinetype(layer) == cadlink::kContinuous;
        if (office.empty() && solid) {
            office = layer.name;
            layers.push_back({u"外形線", 2, u"Continuous"});
        } else {
            layers.push_back({layer.name, static_cast<int>(layer.colour), cadlink::effectiveLinetype(layer)});
        }
    }
    ASSERT_FALSE(office.empty());
    write("in/a.dxf", dxf::layerSetDxf(layers)->bytes);
    write("in/b.dxf", "not a drawing");
    const fs::path map = write("map.txt", "# 事務所の画層\r\n外形線\t" + tiermark::toUtf8(office) + "\r\n");
    const Outcome before =
        run({"--kind", kKind, "--database", SAMPLE_MDB, (m_dir / "in" / "a.dxf").string()});
    EXPECT_EQ(before.exit, kExitFindings) << before.err;

    const Outcome result = run({"--kind", kKind, "--database", SAMPLE_MDB, "--map", map.string(), "--out",
                                (m_dir / "out").string(), "--report", (m_dir / "report" / "r.csv").string(),
                                (m_dir / "in").string()});
    EXPECT_EQ(result.exit, kExitError) << result.err;  // b.dxf cannot be read
    EXPECT_NE(result.err.find("b.dxf: DXF ファイルではありません"), std::string::npos) << result.err;
    const std::string copyLine =
        (m_dir / "in" / "a.dxf").string() + " → " + (m_dir / "out" / "a.dxf").string() + ": 指摘なし";
    EXPECT_EQ(result.out.rfind(copyLine, 0), 0U) << result.out;
    EXPECT_NE(result.out.find("変換：名前を変更：1"), std::string::npos) << result.out;
    const Outcome after =
        run({"--kind", kKind, "--database", SAMPLE_MDB, (m_dir / "out" / "a.dxf").string()});
    EXPECT_EQ(after.exit, kExitClean) << after.out;
    EXPECT_FALSE(fs::exists(m_dir / "out" / "b.dxf"));

    const std::string csv = readAll(m_dir / "report" / "r.csv");
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(csv.find("\"書き出し先\""), std::string::npos);
    EXPECT_NE(csv.find("DXF ファイルではありません"), std::string::npos);
    const std::string html = readAll(m_dir / "report" / "r.html");
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0U);
    EXPECT_NE(html.find("レイヤー変換の報告（位置図"), std::string::npos);
}

TEST_F(CheckCommand, AutomaticKindsCheckEachDrawingAgainstItsBestMatch) {
    const fs::path drawing = write("a.dxf", standardDrawing());
    const Outcome result = run({"--kind", "auto", "--database", SAMPLE_MDB, "--report",
                                (m_dir / "r.csv").string(), drawing.string()});
    EXPECT_NE(result.exit, kExitError) << result.err;
    EXPECT_EQ(result.out.rfind(drawing.string() + ": ", 0), 0U) << result.out;
    EXPECT_NE(result.out.find("図面の種類：道路/道路一般/位置図"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("（一致 100%）"), std::string::npos) << result.out;
    EXPECT_NE(readAll(m_dir / "r.csv").find("一致 100%"), std::string::npos);
    EXPECT_TRUE(fs::exists(m_dir / "r.html"));
}

TEST_F(CheckCommand, HelpExplainsTheOptionsAndExitCodes) {
    const Outcome result = run({"--help"});
    EXPECT_EQ(result.exit, kExitClean);
    for (const char* text : {"使い方: tiermark-check --kind", "--database", "--csv", "--map", "--out",
                             "--report", "auto", "終了コード", "  2  エラー"}) {
        EXPECT_NE(result.out.find(text), std::string::npos) << text;
    }
    EXPECT_NE(run({}).err.find("--help で使い方を表示します"), std::string::npos);
}

TEST(CheckArguments, KindsAreReadInEachFormTheyAreGivenIn) {
    struct Case {
        std::u16string text;
        bool ok;
        KindText kind;
    };
    const Case cases[] = {
        {u"設計/道路/道路一般/位置図", true, {u"設計", u"道路", u"道路一般", u"", u"位置図"}},
        {u"設計／道路／道路一般／位置図", true, {u"設計", u"道路", u"道路一般", u"", u"位置図"}},
        {u"設計/19/一般図", true, {u"設計", u"", u"", u"19", u"一般図"}},
        {u"19/一般図", true, {u"", u"", u"", u"19", u"一般図"}},
        {u"道路/道路一般/位置図", false, {}},
        {u"設計//道路一般/位置図", false, {}},
        {u"一般図", false, {}},
        {u"x9/一般図", false, {}},
    };
    for (const Case& c : cases) {
        auto kind = parseKind(c.text);
        ASSERT_EQ(kind.ok(), c.ok) << tiermark::toUtf8(c.text);
        if (c.ok) {
            EXPECT_EQ(kind->stage, c.kind.stage);
            EXPECT_EQ(kind->constructionKind, c.kind.constructionKind);
            EXPECT_EQ(kind->workType, c.kind.workType);
            EXPECT_EQ(kind->key, c.kind.key);
            EXPECT_EQ(kind->drawing, c.kind.drawing);
        }
    }
}

TEST(CheckArguments, CsvFilesAreNamedAfterTheirDrawingsInAFolder) {
    const std::vector<fs::path> drawings = {"a/図面.dxf", "b/図面.DXF", "b/c.dxf"};
    auto paths = csvPaths("out/", drawings);
    ASSERT_TRUE(paths.ok());
    EXPECT_EQ(*paths, (std::vector<fs::path>{"out/図面.csv", "out/図面_2.csv", "out/c.csv"}));
    EXPECT_FALSE(csvPaths("one.csv", drawings).ok());
    EXPECT_EQ(*csvPaths("one.csv", {"a.dxf"}), std::vector<fs::path>{"one.csv"});
}

}  // namespace
}  // namespace layercheck

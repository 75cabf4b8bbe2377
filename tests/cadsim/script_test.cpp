// The stand-in's SCRIPT: a script file played as AutoCAD LT plays one, line by line at the command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cadsim/core/interpreter.h"
#include "cadsim/core/options.h"
#include "common/codepage.h"
#include "common/utf.h"

namespace cadsim {
namespace {

class ScriptFiles : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string write(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories(m_dir);
        const std::filesystem::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    void play(const std::string& path) { interpreter.type(u"SCRIPT\r" + tiermark::fromUtf8(path) + u"\r"); }
    std::string history() const {
        std::string all;
        for (const std::u16string& line : interpreter.history()) {
            all += tiermark::toUtf8(line) + "\n";
        }
        return all;
    }

    std::filesystem::path m_dir =
        std::filesystem::temp_directory_path() / ("tiermark-script-" + std::to_string(::getpid()));
    Drawing drawing;
    Interpreter interpreter{drawing};
};

TEST_F(ScriptFiles, PlaysTheLayerSequencesOfACodePage932Script) {
    const std::string script = *tiermark::toCp932(
        u"-Layer\r\nn\r\n構造物D-STR\r\n\r\n"
        u"-Layer\r\nL\r\n破線\r\n構造物D-STR\r\n\r\n"
        u"-Layer\r\nC\r\n3\r\n構造物D-STR\r\n\r\n"
        u"-Layer\r\nL\r\n\r\n構造物D-STR\r\n\r\n");  // an empty line type answer keeps the default
    play(write("layers.scr", script));
    const Layer* layer = drawing.findLayer(u"構造物D-STR");
    ASSERT_NE(layer, nullptr) << history();
    EXPECT_EQ(layer->lineType, u"Continuous");
    EXPECT_EQ(layer->color, 3);
    EXPECT_EQ(interpreter.step(), Step::Idle);
}

TEST_F(ScriptFiles, TakesANameWithoutItsExtensionAndInQuotes) {
    write("a b.scr", "-Layer\nn\nD-BGD\n\n");
    play("\"" + (m_dir / "a b").string() + "\"");
    EXPECT_NE(drawing.findLayer(u"D-BGD"), nullptr) << history();
}

TEST_F(ScriptFiles, AFileThatCannotBePlayedIsSaidAtTheCommandLine) {
    play((m_dir / "missing.scr").string());
    EXPECT_NE(history().find("Can't find file"), std::string::npos);
    play(write("utf8.scr", "-Layer\nn\n\xE6\xA7\x8B\n\n"));  // UTF-8 without a byte order mark
    EXPECT_NE(history().find("is not text in code page 932"), std::string::npos);
    EXPECT_EQ(drawing.layers().size(), 2u);
    play(write("bom.scr", "\xEF\xBB\xBF-Layer\nn\n\xE6\xA7\x8B\n\n"));  // with the mark it is UTF-8
    EXPECT_NE(drawing.findLayer(u"構"), nullptr);
    EXPECT_EQ(interpreter.step(), Step::Idle);
}

TEST_F(ScriptFiles, AScriptThatStartsAnotherEndsThereAndAChainWithoutEndStops) {
    const std::string second = write("second.scr", "-Layer\nn\nSECOND\n\n");
    write("first.scr", "SCRIPT\n" + second + "\n-Layer\nn\nNEVER\n\n");
    play((m_dir / "first.scr").string());
    EXPECT_NE(drawing.findLayer(u"SECOND"), nullptr);
    EXPECT_EQ(drawing.findLayer(u"NEVER"), nullptr);

    const std::string self = (m_dir / "self.scr").string();
    write("self.scr", "-Layer\nn\nLOOP\n\nSCRIPT\n" + self + "\n");
    play(self);
    EXPECT_NE(history().find("Too many scripts"), std::string::npos);
    EXPECT_EQ(interpreter.step(), Step::Idle);
}

TEST(StandInOptions, TakesAScriptToPlayAtStartUp) {
    auto options = parseOptions({"--headless", "--script", "/tmp/layers.scr"});
    ASSERT_TRUE(options.ok());
    EXPECT_EQ(options->script, "/tmp/layers.scr");
}

}  // namespace
}  // namespace cadsim

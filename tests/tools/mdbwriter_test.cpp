#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "tools/mdbwriter/mdb_writer.h"
#include "tools/mdbwriter/tsv_tables.h"

namespace mdbwriter {
namespace {

using stddb::ColumnType;
using stddb::Table;
using stddb::Value;

TEST(TsvTables, ReadsDeclaredColumnsNullsAndEscapes) {
    const std::string text =
        "\xEF\xBB\xBF# SAMPLE\r\n名称:Text(20)\t色定数:Long\t幅:Double\t番号:Integer\r\n黒\t0\t0.13\t-3\r\n"
        "a\\tb\\\\c\t\\N\t\\N\t\\N\n\t7\t1e3\t0\n";
    auto table = parseTsvTable(u"線色マスター", text);
    ASSERT_TRUE(table.ok()) << table.error().message;
    ASSERT_EQ(table->columns.size(), 4u);
    EXPECT_EQ(table->columns[0].textLength, 20);
    EXPECT_EQ(table->columns[1].type, ColumnType::Long);
    EXPECT_EQ(table->columns[2].type, ColumnType::Double);
    EXPECT_EQ(table->columns[3].type, ColumnType::Integer);
    const std::vector<std::vector<Value>> rows = {
        {Value{u"黒"}, Value{std::int64_t{0}}, Value{0.13}, Value{std::int64_t{-3}}},
        {Value{u"a\tb\\c"}, Value{}, Value{}, Value{}},
        {Value{u""}, Value{std::int64_t{7}}, Value{1000.0}, Value{std::int64_t{0}}}};
    EXPECT_EQ(table->rows, rows);
}

TEST(TsvTables, RejectsMalformedTables) {
    for (const char* text : {"", "# only a comment\n", "名称\n", "名称:Memo\n", "名称:Text(0)\n",
                             "名称:Text(256)\n", "a:Long\nx\n", "a:Long\n\n", "a:Double\n1,5\n",
                             "a:Text\tb:Long\nonly one\n", "a:Text\nbad \\q escape\n", "a:Long\n1\t2\n"}) {
        EXPECT_FALSE(parseTsvTable(u"t", text).ok()) << text;
    }
}

TEST(Writer, RefusesWhatItCannotStoreFaithfully) {
    auto table = [](ColumnType type, Value value, int length = 0) {
        return std::vector<Table>{{u"t", {{u"c", type, length}}, {{std::move(value)}}}};
    };
    const std::vector<std::vector<Table>> refused = {
        table(ColumnType::Memo, Value{u"x"}),
        table(ColumnType::Text, Value{u"abcd"}, 3),
        table(ColumnType::Text, Value{u"\uFEFFabc"}),
        table(ColumnType::Text, Value{u"𠀋"}),
        table(ColumnType::Text, Value{std::int64_t{1}}),
        table(ColumnType::Integer, Value{std::int64_t{40000}}),
        table(ColumnType::Long, Value{std::int64_t{1} << 40}),
        table(ColumnType::Double, Value{u"1"}),
        {{u"t", {{u"c", ColumnType::Long, 0}}, {}}, {u"T", {{u"c", ColumnType::Long, 0}}, {}}},
        {{u"t", {{u"c", ColumnType::Long, 0}, {u"C", ColumnType::Long, 0}}, {}}},
        {{u"t", {}, {}}},
        {{u"t", {{u"c", ColumnType::Long, 0}}, {{Value{}, Value{}}}}},
    };
    for (const auto& tables : refused) {
        EXPECT_FALSE(buildJet4(tables, u"").ok());
    }
    EXPECT_FALSE(buildJet4(table(ColumnType::Long, Value{}), u"123456789012345678901").ok());
    EXPECT_TRUE(buildJet4(table(ColumnType::Long, Value{}), u"12345678901234567890").ok());
}

TEST(Writer, ScalesTheSampleByRepeatingDrawingKinds) {
    std::vector<Table> tables = {
        {u"図面マスター",
         {{u"工種名", ColumnType::Long, 0}, {u"図面名称", ColumnType::Text, 50}},
         {{Value{std::int64_t{1}}, Value{u"一般図"}}}},
        {u"レイヤーテーブル",
         {{u"工種ID", ColumnType::Long, 0}, {u"図面名", ColumnType::Text, 50}},
         {{Value{std::int64_t{1}}, Value{u"一般図"}}, {Value{std::int64_t{1}}, Value{u"一般図"}}}},
        {u"線幅テーブル", {{u"線幅", ColumnType::Double, 0}}, {{Value{0.13}}}}};
    const auto scaled = scaleSample(tables, 3);
    EXPECT_EQ(scaled[0].rows.size(), 3u);
    EXPECT_EQ(scaled[1].rows.size(), 6u);
    EXPECT_EQ(scaled[2].rows.size(), 1u);
    EXPECT_EQ(scaled[1].rows[2][1], Value{u"一般図(2)"});
    EXPECT_EQ(scaled[1].rows[5][1], Value{u"一般図(3)"});
}

// The output of an mdbtools command, or nothing when the command is not installed.
std::optional<std::string> run(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>/dev/null").c_str(), "r"), pclose);
    if (!pipe) {
        return std::nullopt;
    }
    std::string output;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;) {
        output.append(buffer.data(), n);
    }
    if (pclose(pipe.release()) != 0) {
        return std::nullopt;
    }
    return output;
}

TEST(Writer, ReadsBackThroughTheMdbtoolsCommands) {
    if (!run("command -v mdb-export")) {
        GTEST_SKIP() << "mdbtools is not installed";
    }
    std::vector<Table> tables = {
        {u"線色マスター",
         {{u"名称", ColumnType::Text, 20},
          {u"色定数", ColumnType::Long, 0},
          {u"r", ColumnType::Integer, 0},
          {u"幅", ColumnType::Double, 0}},
         {{Value{u"黒"}, Value{std::int64_t{0}}, Value{std::int64_t{-1}}, Value{0.25}},
          {Value{u"任意"}, Value{}, Value{}, Value{}},
          {Value{u"ｼｱﾝ　-STR"}, Value{std::int64_t{2147483647}}, Value{std::int64_t{32767}}, Value{1189.0}}}},
        {u"線幅テーブル", {{u"線幅", ColumnType::Double, 0}}, {}}};
    Table big{u"大きい表", {{u"番号", ColumnType::Long, 0}, {u"内容", ColumnType::Text, 255}}, {}};
    for (int i = 0; i < 4000; ++i) {  // over 500 pages: an indirect usage map
        big.rows.push_back({Value{std::int64_t{i}}, Value{std::u16string(250, u'図')}});
    }
    tables.push_back(big);
    const auto file =
        std::filesystem::temp_directory_path() / ("mdbwriter-" + std::to_string(getpid()) + ".mdb");
    ASSERT_TRUE(writeJet4(tables, u"947215036382", file).ok());
    const std::string path = "'" + file.string() + "'";

    EXPECT_EQ(run("mdb-ver " + path), "JET4\n");
    EXPECT_EQ(run("mdb-tables -1 " + path), "線色マスター\n線幅テーブル\n大きい表\n");
    const auto schema = run("mdb-schema " + path);
    ASSERT_TRUE(schema);
    EXPECT_NE(schema->find("[名称]\t\t\tText (20)"), std::string::npos) << *schema;
    EXPECT_NE(schema->find("[r]\t\t\tInteger"), std::string::npos);
    EXPECT_EQ(run("mdb-export " + path + " 線色マスター"),
              "名称,色定数,r,幅\n\"黒\",0,-1,0.25\n\"任意\",,,\n\"ｼｱﾝ　-STR\",2147483647,32767,1189\n");
    EXPECT_EQ(run("mdb-export " + path + " 線幅テーブル"), "線幅\n");
    const auto rows = run("mdb-export -H " + path + " 大きい表");
    ASSERT_TRUE(rows);
    EXPECT_EQ(std::count(rows->begin(), rows->end(), '\n'), 4000);
    EXPECT_EQ(rows->substr(0, 2), "0,");
    EXPECT_NE(rows->find("\n3999,"), std::string::npos);
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace mdbwriter

#include <gtest/gtest.h>

#include <ostream>

#include "common/utf.h"
#include "fixtures.h"
#include "stddb/memory_database.h"

namespace stddb {
namespace {

using namespace stddb::testing;

MemoryDatabase sampleDatabase() {
    MemoryDatabase db;
    db.addTable(
        {u"工種テーブル",
         {longint(u"種別"), text(u"工種名")},
         {{v(1), v(u"道路土工")}, {v(3), v(u"砂防堰堤")}, {v(3), v(u"流路工")}, {kNull, v(u"不明")}}});
    db.addTable({u"レイヤーテーブル",
                 {longint(u"工種ID"), text(u"図面名"), text(u"作図要素")},
                 {{v(19), v(u"一般図"), v(u"-TXT")},
                  {v(19), v(u"平面図"), kNull},
                  {v(19), v(u"一般図"), v(u"")},
                  {v(20), v(u"一般図"), v(u"-DIM")}}});
    db.addTable({u"線色マスター",
                 {text(u"名称"), longint(u"色定数")},
                 {{v(u"黒"), v(0)}, {v(u"赤"), v(1)}, {v(u"Red"), v(1)}, {v(u"ｼｱﾝ"), v(4)}}});
    db.addTable({u"用紙テーブル",
                 {text(u"呼び方"), real(u"短辺寸法")},
                 {{v(u"A4"), v(210.0)}, {v(u"A1"), v(594.0)}, {v(u"a1"), v(594.0)}}});
    return db;
}

struct FilterCase {
    const char16_t* table;
    const char16_t* filter;
    std::size_t matches;
};

// The case's own words name the test, so a test keeps its name from build to build.
void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << tiermark::toUtf8(c.table) << " [" << tiermark::toUtf8(c.filter) << "]";
}

class FilterAccepted : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterAccepted, SelectsTheMatchingRows) {
    MemoryDatabase db = sampleDatabase();
    auto all = db.OpenRecordset(GetParam().table);
    ASSERT_TRUE(all.ok());
    all.value()->Filter = GetParam().filter;
    auto filtered = all.value()->OpenRecordset();
    ASSERT_TRUE(filtered.ok()) << filtered.error().message;
    EXPECT_EQ(filtered.value()->RecordCount(), GetParam().matches) << tiermark::toUtf8(GetParam().filter);
}

INSTANTIATE_TEST_SUITE_P(
    ComposedByTheProgram, FilterAccepted,
    ::testing::Values(
        FilterCase{u"工種テーブル", u"種別 = 3", 2}, FilterCase{u"工種テーブル", u"種別 = 3.0", 2},
        FilterCase{u"工種テーブル", u"種別 = 7", 0},
        FilterCase{u"レイヤーテーブル", u"工種ID = 19 and 図面名 ='一般図'", 2},
        FilterCase{u"レイヤーテーブル", u"工種ID = 19 AND 図面名 = '一般図'", 2},
        FilterCase{u"レイヤーテーブル", u"工種ID=19 And 図面名='平面図'", 1},
        FilterCase{u"レイヤーテーブル", u"工種ID = 19 and 図面名 =''", 0},
        FilterCase{u"レイヤーテーブル", u"作図要素 = ''", 1}, FilterCase{u"線色マスター", u"名称 = '黒'", 1},
        FilterCase{u"線色マスター", u"名称 = 'red'", 1}, FilterCase{u"線色マスター", u"名称 = 'シアン'", 0},
        FilterCase{u"線色マスター", u"色定数 = '1'", 2}, FilterCase{u"用紙テーブル", u"呼び方 = 'A1'", 2},
        FilterCase{u"用紙テーブル", u"短辺寸法 = 594", 2}, FilterCase{u"用紙テーブル", u"", 3},
        FilterCase{u"用紙テーブル", u"   ", 3}));

struct RejectedCase {
    const char16_t* table;
    const char16_t* filter;
};

void PrintTo(const RejectedCase& c, std::ostream* os) {
    *os << tiermark::toUtf8(c.table) << " [" << tiermark::toUtf8(c.filter) << "]";
}

class FilterRejected : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(FilterRejected, FailsTheOpen) {
    MemoryDatabase db = sampleDatabase();
    auto all = db.OpenRecordset(GetParam().table);
    ASSERT_TRUE(all.ok());
    all.value()->Filter = GetParam().filter;
    EXPECT_FALSE(all.value()->OpenRecordset().ok()) << tiermark::toUtf8(GetParam().filter);
}

INSTANTIATE_TEST_SUITE_P(
    InvalidOrUnknown, FilterRejected,
    ::testing::Values(
        RejectedCase{u"レイヤーテーブル", u"工種ID = 19 and 図面名 ='a'b'"},
        RejectedCase{u"レイヤーテーブル", u"工種ID = 19 and 図面名 ='it's'"},
        RejectedCase{u"レイヤーテーブル", u"工種ID = 19 and 図面名 ='一般図"},
        RejectedCase{u"レイヤーテーブル", u"工種ID = 19 and"},
        RejectedCase{u"レイヤーテーブル", u"工種ID = 19 or 図面名 ='一般図'"},
        RejectedCase{u"レイヤーテーブル", u"工種ID = 19 図面名 ='一般図'"},
        RejectedCase{u"レイヤーテーブル", u"工種ID 19"}, RejectedCase{u"レイヤーテーブル", u"= 19"},
        RejectedCase{u"レイヤーテーブル", u"工種ID ="}, RejectedCase{u"レイヤーテーブル", u"工種ID = abc"},
        RejectedCase{u"レイヤーテーブル", u"工種 = 19"}, RejectedCase{u"レイヤーテーブル", u"図面名 = 19"},
        RejectedCase{u"線色マスター", u"色定数 = '黒'"}, RejectedCase{u"線色マスター", u"名称 = '黒'x"},
        RejectedCase{u"用紙テーブル", u"呼び方 = 'A1''"}, RejectedCase{u"用紙テーブル", u"!!!"}));

TEST(Recordset, FollowsTheEnginesCursorRules) {
    MemoryDatabase db = sampleDatabase();
    auto layers = db.OpenRecordset(u"レイヤーテーブル");
    ASSERT_TRUE(layers.ok());
    Recordset& all = *layers.value();
    EXPECT_FALSE(all.Eof());
    EXPECT_EQ(all.Field(u"工種ID").value(), v(19));
    EXPECT_FALSE(all.Field(u"図面").ok());
    ASSERT_TRUE(all.MoveNext().ok());
    EXPECT_TRUE(isNull(all.Field(u"作図要素").value()));
    ASSERT_TRUE(all.MoveNext().ok());
    EXPECT_EQ(all.Field(u"作図要素").value(), v(u""));
    ASSERT_TRUE(all.MoveNext().ok());
    ASSERT_TRUE(all.MoveNext().ok());
    EXPECT_TRUE(all.Eof());
    EXPECT_FALSE(all.MoveNext().ok());
    EXPECT_FALSE(all.Field(u"工種ID").ok());
    ASSERT_TRUE(all.MoveFirst().ok());
    EXPECT_EQ(asText(all.Field(u"図面名").value()), u"一般図");

    all.Filter = u"工種ID = 99";
    auto none = all.OpenRecordset();
    ASSERT_TRUE(none.ok());
    EXPECT_TRUE(none.value()->Eof());
    EXPECT_FALSE(none.value()->MoveFirst().ok());
    EXPECT_FALSE(none.value()->Field(u"工種ID").ok());
}

TEST(Recordset, NarrowsAnAlreadyFilteredSetAndKeepsTableOrder) {
    MemoryDatabase db = sampleDatabase();
    auto layers = db.OpenRecordset(u"レイヤーテーブル");
    layers.value()->Filter = u"図面名 ='一般図'";
    auto drawings = layers.value()->OpenRecordset();
    ASSERT_TRUE(drawings.ok());
    drawings.value()->Filter = u"工種ID = 19";
    auto narrowed = drawings.value()->OpenRecordset();
    ASSERT_TRUE(narrowed.ok());
    std::vector<Value> elements;
    for (; !narrowed.value()->Eof(); (void)narrowed.value()->MoveNext()) {
        elements.push_back(narrowed.value()->Field(u"作図要素").value());
    }
    EXPECT_EQ(elements, (std::vector<Value>{v(u"-TXT"), v(u"")}));
}

TEST(Database, FindsTablesIgnoringAsciiCaseOnly) {
    MemoryDatabase db;
    db.addTable({u"Paper", {text(u"Name")}, {}});
    EXPECT_TRUE(db.OpenRecordset(u"PAPER").ok());
    EXPECT_FALSE(db.OpenRecordset(u"Ｐａｐｅｒ").ok());
    EXPECT_FALSE(db.OpenRecordset(u"図面マスター").ok());
}

TEST(Value, ShowsAndReadsValuesAsTheFormsDo) {
    EXPECT_EQ(asText(kNull), u"");
    EXPECT_EQ(asText(v(-12)), u"-12");
    EXPECT_EQ(asText(v(0.13)), u"0.13");
    EXPECT_EQ(asText(v(841.0)), u"841");
    EXPECT_EQ(asNumber(v(u"594")), 594.0);
    EXPECT_EQ(asNumber(v(u"A1")), std::nullopt);
    EXPECT_EQ(asNumber(kNull), std::nullopt);
}

}  // namespace
}  // namespace stddb

namespace stddb {
namespace {

using namespace stddb::testing;

TEST(MemoryWorkspace, OpensRegisteredDatabasesAsTheEngineDoes) {
    MemoryWorkspace workspace;
    workspace.addDatabase(u"/db/Tiermark.MDB", {{u"線幅テーブル", {real(u"線幅")}, {{v(0.13)}}}},
                          u"947215036382");
    workspace.addDatabase(u"/db/free.mdb", {}, u"");
    struct Case {
        const char16_t* path;
        std::u16string_view connect;
        bool opens;
    };
    for (const Case& c :
         {Case{u"/db/Tiermark.MDB", kConnectString, true}, Case{u"/db/Tiermark.MDB", u";pwd=1", false},
          Case{u"/db/Tiermark.MDB", u"", false}, Case{u"/db/free.mdb", u"", true},
          Case{u"/db/missing.mdb", kConnectString, false}}) {
        EXPECT_EQ(workspace.OpenDatabase(c.path, false, false, c.connect).ok(), c.opens)
            << tiermark::toUtf8(c.path);
    }
    EXPECT_EQ(workspace.openCount(), 2);
    auto db = workspace.OpenDatabase(u"/db/Tiermark.MDB", false, false, kConnectString);
    EXPECT_EQ(db.value()->OpenRecordset(u"線幅テーブル").value()->Field(u"線幅").value(), v(0.13));
}

}  // namespace
}  // namespace stddb

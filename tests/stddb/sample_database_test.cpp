// The bundled sample database, as the build makes it: the tables and fields the program reads, and the
// layout the builder's arithmetic depends on.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>

#include "common/utf.h"
#include "stddb/jet_workspace.h"

namespace stddb {
namespace {

std::unique_ptr<Database> openSample() {
    JetWorkspace workspace;
    auto db = workspace.OpenDatabase(u"" TIERMARK_SAMPLE_MDB_U16, false, false, kConnectString);
    EXPECT_TRUE(db.ok()) << (db.ok() ? "" : db.error().message);
    return db.ok() ? std::move(db.value()) : nullptr;
}

// Every row of a table, the named fields only, in table order.
std::vector<std::vector<Value>> read(Database& db, std::u16string_view table,
                                     std::vector<std::u16string> fields, std::u16string filter = {}) {
    auto all = db.OpenRecordset(table);
    EXPECT_TRUE(all.ok());
    if (!all.ok()) {
        return {};
    }
    all.value()->Filter = std::move(filter);
    auto rs = all.value()->OpenRecordset();
    EXPECT_TRUE(rs.ok());
    std::vector<std::vector<Value>> rows;
    for (; rs.ok() && !rs.value()->Eof(); (void)rs.value()->MoveNext()) {
        std::vector<Value> row;
        for (const auto& field : fields) {
            auto value = rs.value()->Field(field);
            EXPECT_TRUE(value.ok());
            row.push_back(value.ok() ? value.value() : Value{});
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

TEST(SampleDatabase, WorkTypeKeysFollowTheKindOffsets) {
    auto db = openSample();
    ASSERT_TRUE(db);
    constexpr std::array<int, 7> kOffsets{0, 10, 14, 31, 35, 82, 93};
    const auto kinds = read(*db, u"種別テーブル", {u"名称"});
    ASSERT_EQ(kinds.size(), 7u);
    std::int64_t running = 0;
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
        const auto works =
            read(*db, u"工種テーブル", {u"工種ID", u"工種名"}, u"種別 = " + std::u16string(1, u'1' + kind));
        ASSERT_FALSE(works.empty()) << "kind " << kind + 1;
        for (std::size_t position = 0; position < works.size(); ++position) {
            const std::int64_t key = static_cast<std::int64_t>(position) + 1 + kOffsets[kind];
            EXPECT_EQ(works[position][0], Value{++running});
            EXPECT_EQ(works[position][0], Value{key}) << "kind " << kind + 1 << " position " << position;
        }
        if (kind + 1 < kinds.size()) {
            EXPECT_EQ(running, kOffsets[kind + 1]) << "work types of kind " << kind + 1;
        }
    }
}

TEST(SampleDatabase, DrawingKindsAndLayersHangOffWorkTypeKeys) {
    auto db = openSample();
    ASSERT_TRUE(db);
    std::set<std::pair<std::int64_t, std::u16string>> drawings;
    for (const auto& row : read(*db, u"図面マスター", {u"工種名", u"図面名称"})) {
        drawings.emplace(std::get<std::int64_t>(row[0]), std::get<std::u16string>(row[1]));
    }
    std::set<std::u16string> colours{u"任意"};
    for (const auto& row : read(*db, u"線色マスター", {u"名称", u"色定数"})) {
        colours.insert(std::get<std::u16string>(row[0]));
        EXPECT_TRUE(std::holds_alternative<std::int64_t>(row[1]));
    }
    const auto layers = read(*db, u"レイヤーテーブル",
                             {u"工種ID", u"図面名", u"備考", u"作図要素", u"図面オブジェクト", u"線色"});
    EXPECT_GE(layers.size(), 2000u);
    std::map<std::u16string, std::set<std::int64_t>> workTypesPerDrawing;
    for (const auto& row : layers) {
        const std::pair key{std::get<std::int64_t>(row[0]), std::get<std::u16string>(row[1])};
        ASSERT_TRUE(drawings.contains(key));
        workTypesPerDrawing[key.second].insert(key.first);
        const std::u16string element = isNull(row[3]) ? u"" : std::get<std::u16string>(row[3]);
        const bool family = !element.empty() && element.back() == u'n';
        EXPECT_EQ(!isNull(row[2]), family) << "備考 only on family rows";
        if (family) {
            const auto number = std::get<std::int64_t>(row[2]);
            EXPECT_TRUE(number >= 1 && number <= 99);
        }
        EXPECT_EQ(std::get<std::u16string>(row[4]).front(), u'-');
        EXPECT_TRUE(isNull(row[5]) || colours.contains(std::get<std::u16string>(row[5])));
    }
    std::size_t shared = 0;
    for (const auto& [drawing, workTypes] : workTypesPerDrawing) {
        shared += workTypes.size() >= 2 ? 1 : 0;
    }
    EXPECT_GE(shared, 6u);

    const auto family =
        read(*db, u"レイヤーテーブル", {u"備考"}, u"工種ID = 2 and 図面名 ='平面図' and 作図要素 = '-STRn'");
    ASSERT_EQ(family.size(), 2u);  // -STR-STRn and -BYP-STRn
}

TEST(SampleDatabase, StartUpListsHoldWhatTheBuilderExpects) {
    auto db = openSample();
    ASSERT_TRUE(db);
    EXPECT_EQ(read(*db, u"ライフサークルテーブル", {u"サイクル名"}),
              (std::vector<std::vector<Value>>{
                  {Value{u"測量"}}, {Value{u"設計"}}, {Value{u"施工"}}, {Value{u"維持管理"}}}));
    const auto papers = read(*db, u"用紙テーブル", {u"呼び方", u"短辺寸法", u"長辺寸法"});
    ASSERT_EQ(papers.size(), 5u);
    EXPECT_EQ(asText(papers[3][0]), u"A1");
    EXPECT_EQ(asText(papers[3][1]), u"594");
    EXPECT_EQ(asText(papers[3][2]), u"841");
    EXPECT_EQ(read(*db, u"用紙テーブル", {u"長辺寸法"}, u"呼び方 = 'A0'"),
              (std::vector<std::vector<Value>>{{Value{std::int64_t{1189}}}}));
    const auto widths = read(*db, u"線幅テーブル", {u"線幅"});
    ASSERT_EQ(widths.size(), 9u);
    EXPECT_EQ(widths.front()[0], Value{0.13});
    EXPECT_EQ(read(*db, u"線色マスター", {u"色定数"}, u"名称 = '黒'"),
              (std::vector<std::vector<Value>>{{Value{std::int64_t{0}}}}));
    const auto standards = read(*db, u"基準案テーブル", {u"基準名", u"バージョン"});
    ASSERT_EQ(standards.size(), 4u);
    EXPECT_EQ(asText(standards[0][0]), u"国土交通省 CAD製図基準（案）");
    EXPECT_EQ(asText(standards[1][0]), u"国土交通省 CAD製図基準（案）　電気通信設備編");
    EXPECT_EQ(asText(standards[2][0]), u"国土交通省 CAD製図基準（案）　機械設備工事編");
    EXPECT_EQ(asText(standards[3][0]), u"農林水産省 電子化図面データの作成要領（案）");
    // The versions form shows these texts: the sample says it is one wherever a user looks.
    for (const auto& standard : standards) {
        EXPECT_NE(asText(standard[1]).find(u"サンプル"), std::u16string::npos)
            << tiermark::toUtf8(asText(standard[1]));
    }
}

}  // namespace
}  // namespace stddb

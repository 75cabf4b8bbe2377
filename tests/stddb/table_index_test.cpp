#include "stddb/table_index.h"

#include <gtest/gtest.h>

#include "common/utf.h"
#include "fixtures.h"
#include "stddb/filter.h"
#include "stddb/memory_database.h"

namespace stddb {
namespace {

using namespace stddb::testing;

// Values of every kind the filter treats apart: case of ASCII letters, full-width letters, Null, empty text,
// integers and doubles of the same value, negative zero, text that reads as a number in a number field.
Table layerTable() {
    Table table{
        u"レイヤーテーブル", {longint(u"工種ID"), text(u"図面名", 50), real(u"倍率"), text(u"内容")}, {}};
    const Value ids[] = {v(19), v(20), kNull, v(19.0), v(-0.0), v(0), Value{std::u16string(u"19")}};
    const Value names[] = {v(u"一般図"), v(u"平面図"), v(u"Plan"), v(u"PLAN"), v(u"ＰＬＡＮ"), kNull, v(u"")};
    for (int i = 0; i < 7 * 7 * 2; ++i) {
        table.rows.push_back({ids[i % 7], names[(i / 7) % 7], v(0.5 * (i % 3)), v(u"x")});
    }
    table.rows.push_back({v(19)});  // a short row: its missing fields read as Null
    return table;
}

TEST(TableIndex, GivesExactlyTheRowsTheFilterSelectsByComparingEveryRow) {
    const Table plain = layerTable();
    Table indexed = plain;
    ASSERT_TRUE(addIndexes(indexed, {{u"工種ID", u"図面名"}, {u"図面名"}, {u"倍率"}}).ok());
    ASSERT_EQ(indexed.indexes.size(), 3u);
    std::vector<std::size_t> all(plain.rows.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i] = i;
    }
    const char16_t* filters[] = {
        u"工種ID = 19 and 図面名 ='一般図'",
        u"図面名 ='一般図' and 工種ID = 19",   // the other order
        u"工種id = 19 AND 図面名 = '平面図'",  // field names and "and" in another case
        u"工種ID = 19.0 and 図面名 ='plan'",   // the number written otherwise, the text in another case
        u"工種ID = 0 and 図面名 ='ＰＬＡＮ'",  // zero and negative zero alike; full-width letters exact
        u"工種ID = 21 and 図面名 ='一般図'",   // no such key
        u"工種ID = 19 and 図面名 =''",
        u"図面名 ='PLAN'",
        u"倍率 = 0.5",
        u"倍率 = '1'",   // a number field compared with text that reads as a number
        u"工種ID = 19",  // a term set no index covers: compared row by row
        u"工種ID = 19 and 図面名 ='一般図' and 倍率 = 0",
    };
    for (const char16_t* filter : filters) {
        SCOPED_TRACE(tiermark::toUtf8(filter));
        const auto terms = parseFilter(filter).value();
        const auto scanned = applyFilter(plain, all, terms);
        const auto fromIndex = applyFilter(indexed, all, terms);
        ASSERT_TRUE(scanned.ok());
        ASSERT_TRUE(fromIndex.ok());
        EXPECT_EQ(*fromIndex, *scanned);
    }
    // Filters the engine refuses are refused with an index as well.
    for (const char16_t* filter : {u"工種ID = '一般図' and 図面名 ='x'", u"図面名 = 3", u"線種 = 'x'"}) {
        SCOPED_TRACE(tiermark::toUtf8(filter));
        EXPECT_FALSE(applyFilter(indexed, all, parseFilter(filter).value()).ok());
    }
}

TEST(TableIndex, ANarrowedSetIsFilteredWithinItsOwnRows) {
    Table table = layerTable();
    ASSERT_TRUE(addIndexes(table, {{u"図面名"}}).ok());
    auto shared = std::make_shared<const Table>(std::move(table));
    std::vector<std::size_t> all(shared->rows.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i] = i;
    }
    Recordset whole(shared, all);
    whole.Filter = u"工種ID = 20";
    auto twenty = whole.OpenRecordset().value();
    twenty->Filter = u"図面名 = '平面図'";
    auto narrowed = twenty->OpenRecordset().value();
    ASSERT_GT(narrowed->RecordCount(), 0u);
    for (; !narrowed->Eof(); (void)narrowed->MoveNext()) {
        EXPECT_EQ(narrowed->Field(u"工種ID").value(), v(20));
        EXPECT_EQ(narrowed->Field(u"図面名").value(), v(u"平面図"));
    }
}

TEST(TableIndex, IsRefusedForFieldsTheTableLacksOrNamesTwice) {
    Table table = layerTable();
    EXPECT_FALSE(TableIndex::build(table, {u"線種"}).ok());
    EXPECT_FALSE(TableIndex::build(table, {u"図面名", u"図面名"}).ok());
    EXPECT_FALSE(addIndexes(table, {{u"工種ID"}, {u"線種"}}).ok());
    // An index already there is not made twice, whatever the order or case of its fields.
    Table again = layerTable();
    ASSERT_TRUE(addIndexes(again, {{u"工種ID", u"図面名"}}).ok());
    ASSERT_TRUE(addIndexes(again, {{u"図面名", u"工種id"}}).ok());
    EXPECT_EQ(again.indexes.size(), 1u);
}

TEST(MemoryDatabase, PreloadIndexesItsOwnCopiesOnly) {
    MemoryWorkspace workspace;
    workspace.addDatabase(u"/db.mdb", {layerTable()});
    auto first = workspace.OpenDatabase(u"/db.mdb", false, false, u"").value();
    ASSERT_TRUE(first->Preload({{u"レイヤーテーブル", {{u"工種ID", u"図面名"}}}}).ok());
    // A table it lacks and an index over a missing field are left to the queries to report.
    EXPECT_TRUE(first->Preload({{u"空", {}}, {u"レイヤーテーブル", {{u"線種"}}}}).ok());
    EXPECT_FALSE(first->OpenRecordset(u"空").ok());
    auto rows = first->OpenRecordset(u"レイヤーテーブル").value();
    rows->Filter = u"工種ID = 19 and 図面名 ='一般図'";
    EXPECT_EQ(rows->OpenRecordset().value()->RecordCount(), 3u * 2u);  // 19, 19.0 and "19", twice each
    EXPECT_TRUE(first->CheckUnchanged().ok());
}

}  // namespace
}  // namespace stddb

#include "stddb/shared_database.h"

#include <gtest/gtest.h>

#include "fixtures.h"
#include "stddb/memory_database.h"

namespace stddb {
namespace {

using namespace stddb::testing;

// A workspace with the layer-standard database at "a.mdb" (protected as the real one is) and a second,
// different one at "b.mdb".
MemoryWorkspace workspace() {
    MemoryWorkspace workspace;
    workspace.addDatabase(u"a.mdb",
                          {{u"用紙テーブル",
                            {text(u"呼び方"), real(u"短辺寸法")},
                            {{v(u"A4"), v(210.0)}, {v(u"A1"), v(594.0)}}}},
                          u"947215036382");
    workspace.addDatabase(u"b.mdb", {{u"種別テーブル", {text(u"名称")}, {{v(u"道路")}}}});
    return workspace;
}

double shortSide(const Recordset& rows) {
    return std::get<double>(rows.Field(u"短辺寸法").value());
}

// The shared database with "a.mdb" open, as after the builder's start-up.
class OpenSharedDatabase : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(shared.open(files, u"a.mdb").ok()); }

    MemoryWorkspace files = workspace();
    SharedDatabase shared;
};

TEST(SharedDatabase, TheGuardHoldsTheResultSetUntilItsScopeEnds) {
    MemoryWorkspace files = workspace();
    SharedDatabase shared;
    EXPECT_FALSE(shared.openShared(u"用紙テーブル").ok());  // no database yet
    ASSERT_TRUE(shared.open(files, u"a.mdb").ok());
    {
        auto rows = shared.openShared(u"用紙テーブル", u"呼び方 = 'A1'");
        ASSERT_TRUE(rows.ok()) << rows.error().message;
        EXPECT_EQ(shared.currentRows(), &**rows);
        EXPECT_EQ((*rows)->RecordCount(), 1u);
        EXPECT_EQ(shortSide(**rows), 594.0);
    }
    EXPECT_EQ(shared.currentRows(), nullptr);

    // A table or a filter that cannot be opened leaves nothing held.
    EXPECT_FALSE(shared.openShared(u"ないテーブル").ok());
    EXPECT_EQ(shared.currentRows(), nullptr);
    EXPECT_FALSE(shared.openShared(u"用紙テーブル", u"呼び方 = 'A1").ok());
    EXPECT_EQ(shared.currentRows(), nullptr);
}

TEST_F(OpenSharedDatabase, ANarrowingThatFailsKeepsTheWholeTable) {
    auto rows = shared.openShared(u"用紙テーブル");
    ASSERT_TRUE(rows.ok());
    EXPECT_FALSE(rows->narrow(u"ない = 1").ok());
    EXPECT_EQ((*rows)->RecordCount(), 2u);
    EXPECT_EQ(shortSide(**rows), 210.0);  // the first row of the whole table
    ASSERT_TRUE(rows->narrow(u"呼び方 = 'A1'").ok());
    EXPECT_EQ(shortSide(**rows), 594.0);
}

TEST_F(OpenSharedDatabase, OnlyTheNewestGuardReleasesTheOneResultSet) {
    auto older = shared.openShared(u"用紙テーブル");
    ASSERT_TRUE(older.ok());
    {
        auto newer = shared.openShared(u"用紙テーブル", u"呼び方 = 'A1'");
        ASSERT_TRUE(newer.ok());
        { auto moved = std::move(*older); }  // the older guard ends: the newer set stays held
        EXPECT_EQ(shared.currentRows(), &**newer);
    }
    EXPECT_EQ(shared.currentRows(), nullptr);
}

TEST(SharedDatabase, AFailedOpenKeepsTheDatabaseAndReleaseEmptiesEverything) {
    MemoryWorkspace files = workspace();
    SharedDatabase shared;
    shared.setRegisteredPath(u"a.mdb");
    ASSERT_TRUE(shared.open(files, shared.registeredPath()).ok());
    Database* first = shared.get();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(shared.open(files, u"missing.mdb").ok());
    EXPECT_EQ(shared.get(), first);

    ASSERT_TRUE(shared.open(files, u"b.mdb").ok());
    EXPECT_TRUE(shared.get()->OpenRecordset(u"種別テーブル").ok());

    auto rows = shared.openShared(u"種別テーブル");
    ASSERT_TRUE(rows.ok());
    shared.release();
    EXPECT_EQ(shared.currentRows(), nullptr);
    EXPECT_EQ(shared.get(), nullptr);
    EXPECT_EQ(shared.registeredPath(), u"a.mdb");  // the path the start-up read stays known
}

}  // namespace
}  // namespace stddb

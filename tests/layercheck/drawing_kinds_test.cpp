// Every drawing kind of the sample database with its standard, as the drawing-kind proposal reads them.
#include "layercheck/drawing_kinds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "common/utf.h"
#include "stddb/jet_workspace.h"

namespace layercheck {
namespace {

class DrawingKinds : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_database.open(m_workspace, tiermark::fromUtf8(SAMPLE_MDB)).ok()); }

    stddb::JetWorkspace m_workspace;
    stddb::SharedDatabase m_database;
};

TEST_F(DrawingKinds, EveryKindHasTheStandardThatNamingItGives) {
    auto every = everyDrawingKind(m_database, u"設計");
    ASSERT_TRUE(every.ok()) << every.error().message;
    ASSERT_GT(every->size(), 10U);
    std::set<std::u16string> names;
    for (const KindStandard& kind : *every) {
        EXPECT_FALSE(kind.chosen.standard.layers.empty()) << tiermark::toUtf8(kind.name);
        EXPECT_TRUE(names.insert(kind.name).second) << tiermark::toUtf8(kind.name);
    }
    // Named as tiermark-check is given them, a few kinds read the same standard.
    for (const std::size_t at : {std::size_t{0}, every->size() / 2, every->size() - 1}) {
        const KindStandard& kind = (*every)[at];
        auto named = standardOfKind(m_database, kind.kind, u"");
        ASSERT_TRUE(named.ok()) << named.error().message;
        EXPECT_EQ(named->standard.layers, kind.chosen.standard.layers) << tiermark::toUtf8(kind.name);
        EXPECT_EQ(named->standard.letter, u"D");
        EXPECT_EQ(named->heading, kind.chosen.heading);
    }
    const auto road = std::find_if(every->begin(), every->end(), [](const KindStandard& kind) {
        return kind.name == u"道路/道路一般/位置図（設計、D）";
    });
    EXPECT_NE(road, every->end());
}

TEST_F(DrawingKinds, AStageTheDatabaseLacksGivesTheKindsWithoutOne) {
    auto every = everyDrawingKind(m_database, u"ない段階");
    ASSERT_TRUE(every.ok()) << every.error().message;
    ASSERT_FALSE(every->empty());
    EXPECT_EQ(every->front().chosen.standard.letter, u"");
    EXPECT_NE(every->front().chosen.heading.find(u"ライフサイクルなし"), std::u16string::npos);
}

}  // namespace
}  // namespace layercheck

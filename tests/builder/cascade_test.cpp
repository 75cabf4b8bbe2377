#include "builder/cascade.h"

#include <gtest/gtest.h>

#include "builder/colours.h"

namespace builder {
namespace {

TEST(Cascade, WorkTypeKeyRunsOnFromKindToKind) {
    struct Case {
        int kind, workType, key;
    };
    for (const Case c : {Case{2, 4, 19}, Case{0, 0, 1}, Case{6, 0, 94}, Case{1, 0, 11}, Case{3, 2, 34},
                         Case{4, 0, 36}, Case{5, 1, 84}, Case{7, 0, 1}, Case{-1, 3, 4}}) {
        EXPECT_EQ(workTypeKey(c.kind, c.workType), c.key) << c.kind << "," << c.workType;
    }
    EXPECT_EQ(workTypeKeyText(2, 4), u"19");
}

TEST(Cascade, LifeCycleLetterOnlyForTheFirstFourStages) {
    const std::u16string letters[] = {u"", u"S", u"D", u"C", u"M", u""};
    for (int index = -1; index <= 4; ++index) {
        EXPECT_EQ(lifeCycleLetter(index), letters[index + 1]) << index;
    }
}

TEST(Cascade, LayerEntriesFollowTheNamingStyle) {
    const stddb::Value content = std::u16string(u"構造物");
    const stddb::Value object = std::u16string(u"-STR");
    const stddb::Value element = std::u16string(u"-DIM");
    const stddb::Value null;
    struct Case {
        bool option1;
        int stage;
        stddb::Value content, element;
        std::u16string page1, page2;
    };
    const Case cases[] = {
        {false, 1, content, element, u"構造物-STR-DIM", u"D-STR-DIM"},  // content style: no letter
        {true, 1, content, element, u"D-STR-DIM", u"D-STR-DIM"},
        {true, -1, content, element, u"-STR-DIM", u"-STR-DIM"},  // no stage chosen
        {false, 0, null, null, u"-STR", u"S-STR"},               // Null joins as empty text
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pageOneLayerEntry(c.option1, c.stage, c.content, object, c.element), c.page1);
        EXPECT_EQ(pageTwoLayerEntry(c.stage, object, c.element), c.page2);
    }
}

TEST(Cascade, FiltersAreComposedAsTheQueriesExpect) {
    EXPECT_EQ(kindFilter(3), u"種別 = 3");
    EXPECT_EQ(workTypeFilter(u"19"), u"工種名 = 19");
    EXPECT_EQ(layerFilter(u"19", u"一般図"), u"工種ID = 19 and 図面名 ='一般図'");
    EXPECT_EQ(layerFilter(u"1", u"O'Neil"), u"工種ID = 1 and 図面名 ='O'Neil'");  // quote left unchanged
    EXPECT_EQ(colourFilter(u"黒"), u"名称 = '黒'");
    EXPECT_EQ(paperFilter(u"A1"), u"呼び方 = 'A1'");
}

TEST(Colours, TableBelowThirtyAndUnchangedAbove) {
    const std::pair<std::int64_t, std::int64_t> cases[] = {
        {0, 7},    {7, 7},    {1, 1},   {6, 6},   {20, 200}, {21, 24},  {22, 30}, {23, 83},
        {24, 150}, {25, 171}, {26, 9},  {27, 8},  {28, 241}, {8, 8},    {12, 12}, {19, 19},
        {29, 29},  {-3, -3},  {30, 30}, {31, 31}, {35, 35},  {255, 255}};
    for (const auto& [constant, colour] : cases) {
        EXPECT_EQ(layerColour(constant), colour) << constant;
    }
}

}  // namespace
}  // namespace builder

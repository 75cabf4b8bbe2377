#include "cadsim/core/drawing.h"

#include <gtest/gtest.h>

#include "cadsim/core/sample_drawing.h"
#include "common/utf.h"

namespace cadsim {
namespace {

TEST(Drawing, AlwaysHoldsLayerZeroAndDefpoints) {
    Drawing d;
    ASSERT_EQ(d.layers().size(), 2u);
    EXPECT_EQ(d.layers()[0].name, u"0");
    EXPECT_EQ(d.layers()[1].name, u"DEFPOINTS");
    EXPECT_FALSE(d.addLayer(u"defpoints"));
    EXPECT_TRUE(d.addLayer(u"D-STR"));
    EXPECT_FALSE(d.addLayer(u"d-str"));
    EXPECT_EQ(d.findLayer(u"d-str")->name, u"D-STR");
}

TEST(Drawing, RenameIsRefusedAsTheCadProgramRefusesIt) {
    struct Case {
        std::u16string from;
        std::u16string to;
        const char* refusal;  // nullptr: renamed
    };
    const Case cases[] = {
        {u"寸法", u"D-DIM", nullptr},
        {u"外形線", u"外形線", nullptr},  // the same name is no change, and no refusal
        {u"外形線", u"寸法", "Layer \"寸法\" already exists."},
        {u"外形線", u"DEFPOINTS", "Layer \"DEFPOINTS\" already exists."},
        {u"0", u"ZERO", "Layer \"0\" cannot be renamed."},
        {u"defpoints", u"X", "Layer \"DEFPOINTS\" cannot be renamed."},
        {u"GONE", u"X", "Layer \"GONE\" does not exist in the drawing."},
        {u"寸法", u"", "A layer name cannot be empty."},
        {u"寸法", std::u16string(256, u'x'), "A layer name can be at most 255 characters long."},
    };
    for (const Case& c : cases) {
        Drawing d = sampleDrawing();
        auto renamed = d.renameLayer(c.from, c.to);
        if (c.refusal == nullptr) {
            EXPECT_TRUE(renamed.ok()) << renamed.error().message;
            EXPECT_NE(d.findLayer(c.to), nullptr);
        } else {
            ASSERT_FALSE(renamed.ok()) << tiermark::toUtf8(c.to);
            EXPECT_EQ(renamed.error().message, c.refusal);
        }
    }
    for (char16_t bad : std::u16string(u"<>/\\\":;?*|,=`'")) {
        Drawing d = sampleDrawing();
        auto renamed = d.renameLayer(u"寸法", std::u16string(u"D") + bad + u"X");
        ASSERT_FALSE(renamed.ok());
        EXPECT_NE(renamed.error().message.find("is not a valid layer name"), std::string::npos);
        EXPECT_NE(d.findLayer(u"寸法"), nullptr);
    }
}

TEST(Drawing, RenameTakesTheLayersObjectsAlong) {
    Drawing d = sampleDrawing();
    ASSERT_TRUE(d.renameLayer(u"寸法", u"D-DIM").ok());
    EXPECT_EQ(d.findObject(7)->layer, u"D-DIM");
    EXPECT_EQ(d.findObject(8)->layer, u"D-DIM");
    EXPECT_EQ(d.layers()[3].name, u"D-DIM");  // keeps its place in the table
}

TEST(LineTypes, OnlyContinuousAndWhatTheDrawingLoadedAreKnown) {
    Drawing d;
    EXPECT_EQ(d.lineTypes(), std::vector<std::u16string>{u"Continuous"});
    EXPECT_EQ(d.loadedLineType(u"CONTINUOUS"), u"Continuous");
    EXPECT_FALSE(d.loadedLineType(u"DASHED"));
    EXPECT_FALSE(d.loadedLineType(u"破線"));
    EXPECT_TRUE(d.loadLineType(u"破線"));
    EXPECT_TRUE(d.loadLineType(u"dashed"));
    EXPECT_TRUE(d.loadLineType(u"DASHED"));  // loaded once, spelt as first loaded
    EXPECT_FALSE(d.loadLineType(u"A<B"));
    EXPECT_EQ(d.lineTypes(), (std::vector<std::u16string>{u"Continuous", u"破線", u"dashed"}));

    // A layer takes a loaded line type only, spelt as the table spells it.
    ASSERT_TRUE(d.addLayer(u"D-STR"));
    d.setLineType(u"D-STR", u"ZIGZAG");
    EXPECT_EQ(d.findLayer(u"D-STR")->lineType, u"Continuous");
    d.setLineType(u"D-STR", u"DASHED");
    EXPECT_EQ(d.findLayer(u"D-STR")->lineType, u"dashed");
    // The sample drawing has loaded the line type its dimension layer uses.
    EXPECT_EQ(sampleDrawing().loadedLineType(u"dashed"), u"DASHED");
}

TEST(NameRules, Release14NamesAreShortCapitalsAndFewCharacters) {
    Drawing d;
    d.setNameRules(NameRules::Release14);
    EXPECT_TRUE(d.addLayer(u"d-str_$1"));
    EXPECT_EQ(d.layers().back().name, u"D-STR_$1");
    EXPECT_FALSE(d.addLayer(u"構造物D-STR"));
    EXPECT_FALSE(d.addLayer(u"A B"));
    EXPECT_FALSE(d.addLayer(std::u16string(32, u'A')));
    EXPECT_TRUE(d.addLayer(std::u16string(31, u'A')));
    d.setNameRules(NameRules::Extended);
    EXPECT_TRUE(d.addLayer(u"構造物D-STR"));
    EXPECT_TRUE(d.addLayer(u"A B"));  // a name may hold blanks; the command line cannot type them
}

TEST(Drawing, MergeMovesTheObjectsAndDeletesTheLayersMerged) {
    Drawing d = sampleDrawing();
    const auto deleted = d.mergeLayers({u"寸法", u"0", u"GONE"}, u"外形線");
    EXPECT_EQ(deleted, std::vector<std::u16string>{u"寸法"});
    EXPECT_EQ(d.findLayer(u"寸法"), nullptr);
    EXPECT_NE(d.findLayer(u"0"), nullptr);  // layer 0 always stays
    EXPECT_EQ(d.findObject(7)->layer, u"外形線");
    EXPECT_EQ(d.findObject(5)->layer, u"外形線");  // from layer 0
}

TEST(Drawing, TheObserverHearsOfEveryChangeBeforeItHappens) {
    Drawing d = sampleDrawing();
    std::vector<std::size_t> objectsSeen;
    d.setBeforeChange([&] { objectsSeen.push_back(d.objects().size()); });
    d.eraseObjects({1});
    d.copyObjects({2}, 10, 0);
    d.setLineType(u"寸法", u"ZIGZAG");  // not loaded: no change, nothing heard
    EXPECT_EQ(objectsSeen, (std::vector<std::size_t>{9, 8}));
    const Drawing::Contents before = d.contents();
    d.moveObjects({2}, 5, 5);
    d.restore(before);
    EXPECT_EQ(d.findObject(2)->position.x, 110);
}

}  // namespace
}  // namespace cadsim

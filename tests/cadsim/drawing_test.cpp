#include "cadsim/core/drawing.h"

#include <gtest/gtest.h>

#include "cadsim/core/linetypes.h"
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

TEST(LineTypes, LoadedAreTheUsualOnesAndTheDatabasesJapaneseNames) {
    for (const char16_t* name : {u"Continuous", u"CONTINUOUS", u"dashed", u"HIDDEN", u"CENTER", u"PHANTOM",
                                 u"DASHDOT", u"DIVIDE", u"DOT", u"BORDER", u"ACAD_ISO02W100",
                                 u"ACAD_ISO15W100", u"破線", u"一点鎖線", u"二点鎖線", u"点線"}) {
        EXPECT_TRUE(loadedLineType(name).has_value()) << tiermark::toUtf8(name);
    }
    EXPECT_EQ(loadedLineType(u"continuous"), u"Continuous");
    for (const char16_t* name : {u"ZIGZAG", u"ACAD_ISO16W100", u"", u"BYLAYER", u"実線 "}) {
        EXPECT_FALSE(loadedLineType(name).has_value()) << tiermark::toUtf8(name);
    }
}

}  // namespace
}  // namespace cadsim

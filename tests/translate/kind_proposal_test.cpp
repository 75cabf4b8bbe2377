#include "translate/kind_proposal.h"

#include <gtest/gtest.h>

namespace translate {
namespace {

using cadlink::DrawingLayer;

layercheck::Standard kindOf(std::initializer_list<const char16_t*> names,
                            std::vector<builder::PlannedFamily> families = {}) {
    std::vector<cadlink::LayerRecord> layers;
    for (const char16_t* name : names) {
        layers.push_back(cadlink::LayerRecord{name, name, u"", 7});
    }
    return layercheck::Standard{std::move(layers), std::move(families), std::u16string(1, u'D')};
}

DrawingLayer layer(const char16_t* name, int colour = 7) {
    return DrawingLayer{name, colour, u"Continuous"};
}

TEST(ProposeKinds, TheKindsMatchedBestComeFirst) {
    const std::vector<layercheck::Standard> kinds = {
        kindOf({u"D-TTL"}),                                              // 1 of 4
        kindOf({u"D-STR", u"D-STR-DIM", u"D-TTL"}),                      // 3 of 4
        kindOf({u"D-XYZ"}),                                              // none: not proposed
        kindOf({u"D-BYP"}, {builder::PlannedFamily{u"D-BYP-STRn", 2}}),  // the numbered member: 1 of 4
        kindOf({u"D-STR", u"D-TTL", u"D-BGD"}),                          // 2 of 4
    };
    std::vector<DrawingLayer> drawing = {layer(u"0"),         layer(u"DEFPOINTS"), layer(u"D-STR", 3),
                                         layer(u"d-str-dim"), layer(u"D-TTL"),     layer(u"D-BYP-STR1"),
                                         layer(u"x|D-BGD")};
    drawing.back().xrefDependent = true;
    const std::vector<KindMatch> matches = proposeKinds(drawing, kinds);
    ASSERT_EQ(matches.size(), 4u);
    EXPECT_EQ(matches[0].kind, 1u);
    EXPECT_EQ(matches[0].matched, 3);  // another colour and another case count as matched
    EXPECT_EQ(matches[0].considered, 4);
    EXPECT_DOUBLE_EQ(matches[0].share(), 0.75);
    EXPECT_EQ(matches[1].kind, 4u);
    EXPECT_EQ(matches[1].matched, 2);
    EXPECT_EQ(matches[2].kind, 0u);  // an equal share keeps the order given
    EXPECT_EQ(matches[3].kind, 3u);
    EXPECT_EQ(matches[3].matched, 1);
}

TEST(ProposeKinds, ADrawingOfFixedLayersAloneMatchesNoKind) {
    const std::vector<layercheck::Standard> kinds = {kindOf({u"D-STR"})};
    EXPECT_TRUE(proposeKinds({layer(u"0"), layer(u"DEFPOINTS")}, kinds).empty());
    EXPECT_TRUE(proposeKinds({}, kinds).empty());
    EXPECT_DOUBLE_EQ(KindMatch{}.share(), 0.0);
}

}  // namespace
}  // namespace translate

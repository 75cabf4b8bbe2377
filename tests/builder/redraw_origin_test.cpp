#include "builder/redraw_origin.h"

#include <gtest/gtest.h>

namespace builder {
namespace {

TEST(RedrawOrigin, ComputesOrMirrorsTheSourceCorner) {
    struct Case {
        std::u16string ratio, x, y, shortSide, longSide, originY, originX;
    };
    const Case cases[] = {
        {u"10", u"0.000", u"0.000", u"594", u"841", u"6940", u"9410"},
        {u"1", u"0.000", u"0.000", u"594", u"841", u"694", u"941"},
        {u"", u"0.000", u"0.000", u"594", u"841", u"0.000", u"0.000"},  // cleared ratio mirrors
        {u"abc", u"12.5", u"-3", u"594", u"841", u"12.5", u"-3"},
        {u"10", u"0.000", u"0.000", u"", u"", u"0.000", u"0.000"},  // no paper chosen yet
        {u"10", u"x", u"0", u"594", u"841", u"x", u"0"},            // one bad operand is enough
        {u"0.5", u"100", u"200.25", u"297", u"420", u"298.5", u"460.25"},
        {u"1e308", u"0", u"0", u"594", u"841", u"0", u"0"},  // overflow mirrors
        // Typed through the input method: full-width digits, full stop and minus are numbers.
        {u"１０", u"０．０００", u"－１００", u"594", u"841", u"6940", u"9310"},
        {u"1,000", u"0", u"0", u"594", u"841", u"0", u"0"},  // a comma is still no number: mirrors
    };
    for (const auto& c : cases) {
        const RedrawOriginTexts texts = computeRedrawOrigin(c.ratio, c.x, c.y, c.shortSide, c.longSide);
        EXPECT_EQ(texts.originY, c.originY);
        EXPECT_EQ(texts.originX, c.originX);
    }
}

TEST(RedrawOrigin, ValueForTheMoveIsATypedNumberOrNothing) {
    EXPECT_EQ(redrawOriginValue(u"6940"), 6940.0);
    EXPECT_EQ(redrawOriginValue(u"297.5"), 297.5);
    EXPECT_EQ(redrawOriginValue(u"９４１０"), 9410.0);
    EXPECT_FALSE(redrawOriginValue(u""));
    EXPECT_FALSE(redrawOriginValue(u"abc"));
    EXPECT_FALSE(redrawOriginValue(u"9,410"));
}

}  // namespace
}  // namespace builder

#include "cadsim/core/view.h"

#include <gtest/gtest.h>

#include "cadsim/core/sample_drawing.h"

namespace cadsim {
namespace {

TEST(View, PicksTheNearestObjectWithinTheTolerance) {
    const Drawing d = sampleDrawing();
    struct Case {
        Point at;
        double tolerance;
        int expected;
    };
    const Case cases[] = {
        {{60, 10.5}, 1, 1},   // on the bottom edge
        {{60, 25.5}, 1, 5},   // on the rim of the circle around (60,45), radius 20
        {{60, 45}, 1, 0},     // the circle's centre is not on it
        {{150, 45}, 0.5, 6},  // rim of the small circle
        {{22, 91}, 0.5, 9},   // inside the text's box
        {{500, 500}, 5, 0},   // far away
        {{10, 10}, 1, 4},     // a corner: of two equally near lines, the one drawn last (on top)
    };
    for (const Case& c : cases) {
        EXPECT_EQ(objectAt(d, c.at, c.tolerance), c.expected) << c.at.x << "," << c.at.y;
    }
}

TEST(View, BoxesSelectByWindowToTheRightAndByCrossingToTheLeft) {
    const Drawing d = sampleDrawing();
    // The big circle (id 5) spans 40..80 x 25..65; the outline's bottom edge (id 1) runs 10..110 at y 10.
    EXPECT_EQ(objectsInBox(d, {35, 20}, {85, 70}), (std::vector<int>{5}));
    EXPECT_EQ(objectsInBox(d, {35, 70}, {85, 20}), (std::vector<int>{5}));  // corners in any order
    EXPECT_EQ(objectsInBox(d, {85, 5}, {35, 12}), (std::vector<int>{1}));   // crossing touches the edge
    EXPECT_TRUE(objectsInBox(d, {35, 5}, {85, 12}).empty());                // window: the edge sticks out
    EXPECT_EQ(objectsInBox(d, {200, 200}, {-200, -200}).size(), d.objects().size());
}

TEST(View, ColoursAndDashesFollowTheLayer) {
    EXPECT_EQ(colorRgb(1), 0xFF0000u);
    EXPECT_EQ(colorRgb(3), 0x00FF00u);
    EXPECT_EQ(colorRgb(7), 0xFFFFFFu);
    EXPECT_EQ(colorRgb(10), 0xFF0000u);  // the first shade of the first hue
    EXPECT_EQ(colorRgb(0), 0xFFFFFFu);
    EXPECT_EQ(dashOf(u"Continuous"), Dash::Solid);
    EXPECT_EQ(dashOf(u"dashed"), Dash::Dashed);
    EXPECT_EQ(dashOf(u"破線"), Dash::Dashed);
    EXPECT_EQ(dashOf(u"CENTER2"), Dash::DashDot);
    EXPECT_EQ(dashOf(u"一点鎖線"), Dash::DashDot);
    EXPECT_EQ(dashOf(u"二点鎖線"), Dash::DashDotDot);
    EXPECT_EQ(dashOf(u"点線"), Dash::Dotted);
    EXPECT_EQ(dashOf(u"DOT"), Dash::Dotted);
}

TEST(View, ExtentsCoverEveryObject) {
    const auto e = drawingExtents(sampleDrawing());
    ASSERT_TRUE(e.has_value());
    EXPECT_DOUBLE_EQ(e->min.x, 10);
    EXPECT_DOUBLE_EQ(e->max.x, 150);
    EXPECT_DOUBLE_EQ(e->min.y, -8);
    EXPECT_FALSE(drawingExtents(Drawing()).has_value());
}

}  // namespace
}  // namespace cadsim

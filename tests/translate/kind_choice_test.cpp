#include "translate/kind_choice.h"

#include <gtest/gtest.h>

namespace translate {
namespace {

using cadlink::DrawingLayer;

layercheck::Standard kindOf(std::initializer_list<const char16_t*> names) {
    std::vector<cadlink::LayerRecord> layers;
    for (const char16_t* name : names) {
        layers.push_back(cadlink::LayerRecord{name, name, u"", 7});
    }
    return layercheck::Standard{std::move(layers), {}, std::u16string(1, u'D')};
}

TEST(KindChoice, TheShareIsAWholePercentageWithTheLayersCounted) {
    struct Case {
        int matched;
        int considered;
        std::u16string_view text;
    };
    const Case cases[] = {
        {3, 4, u"75%（3 / 4 画層）"},    {1, 3, u"33%（1 / 3 画層）"},          {2, 3, u"67%（2 / 3 画層）"},
        {1, 200, u"1%（1 / 200 画層）"}, {1, 201, u"0%（1 / 201 画層）"},       {5, 5, u"100%（5 / 5 画層）"},
        {0, 0, u"0%（0 / 0 画層）"},     {399, 400, u"100%（399 / 400 画層）"}, {1, 8, u"13%（1 / 8 画層）"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shareText(KindMatch{0, c.matched, c.considered}), c.text)
            << c.matched << "/" << c.considered;
    }
}

TEST(KindChoice, TheFewBestAreKeptInTheirOrderWithTheirNames) {
    std::vector<KindMatch> matches;
    for (int i = 0; i < 8; ++i) {
        matches.push_back(KindMatch{static_cast<std::size_t>(7 - i), 8 - i, 10});
    }
    const std::vector<KindMatch> best = bestKinds(matches);
    ASSERT_EQ(best.size(), kKindsShown);
    for (std::size_t i = 0; i < best.size(); ++i) {
        EXPECT_EQ(best[i].kind, matches[i].kind);
    }
    EXPECT_EQ(bestKinds(matches, 2).size(), 2u);
    EXPECT_EQ(bestKinds({matches[0]}).size(), 1u);
    EXPECT_TRUE(bestKinds({}).empty());

    const std::vector<std::u16string> names = {u"道路/道路一般/一般図（設計、D）",
                                               u"道路/橋梁/構造図（設計、D）"};
    EXPECT_EQ(kindLine(KindMatch{1, 2, 4}, names), u"道路/橋梁/構造図（設計、D）　50%（2 / 4 画層）");
    // A match past the names given is still shown with its share, never read past the end.
    EXPECT_EQ(kindLine(KindMatch{5, 1, 4}, names), u"　25%（1 / 4 画層）");
}

TEST(KindChoice, EachFileGetsItsBestKindOrNoneWhenNothingMatches) {
    const std::vector<layercheck::Standard> kinds = {kindOf({u"D-TTL"}), kindOf({u"D-STR", u"D-TTL"})};
    const std::vector<std::u16string> names = {u"一般図", u"構造図"};
    const StandardOfFile standardOf = bestKindOfFile(kinds, names);

    const FileStandard structure =
        standardOf({{u"0", 7, u"Continuous"}, {u"D-STR", 7, u"Continuous"}, {u"D-TTL", 7, u"Continuous"}});
    EXPECT_EQ(structure.standard, &kinds[1]);
    EXPECT_EQ(structure.heading, u"構造図（一致 100%）");

    const FileStandard general = standardOf({{u"D-TTL", 7, u"Continuous"}, {u"壁", 7, u"Continuous"}});
    EXPECT_EQ(general.standard, &kinds[0]);  // the same share for both: the first kind given
    EXPECT_EQ(general.heading, u"一般図（一致 50%）");

    const FileStandard none = standardOf({{u"0", 7, u"Continuous"}, {u"壁", 7, u"Continuous"}});
    EXPECT_EQ(none.standard, nullptr);
    EXPECT_TRUE(none.heading.empty());
}

}  // namespace
}  // namespace translate

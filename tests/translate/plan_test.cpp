#include "translate/plan.h"

#include <gtest/gtest.h>

namespace translate {
namespace {

using cadlink::DrawingLayer;
using layercheck::Verdict;

cadlink::LayerRecord standardLayer(const char16_t* name, std::int64_t colour, const char16_t* linetype) {
    return cadlink::LayerRecord{name, name, linetype, colour};
}

const layercheck::Standard kStandard{{standardLayer(u"D-STR", 1, u""), standardLayer(u"D-STR-DIM", 7, u""),
                                      standardLayer(u"D-BGD", 8, u"DASHED"), standardLayer(u"D-TTL", 2, u"")},
                                     {},
                                     u"D"};

DrawingLayer layer(const char16_t* name, int colour = 7, const char16_t* linetype = u"Continuous") {
    return DrawingLayer{name, colour, linetype};
}

LayerMap mapOf(std::initializer_list<MapPair> pairs) {
    LayerMap map;
    for (const MapPair& pair : pairs) {
        map.set(pair.drawing, pair.standard);
    }
    return map;
}

// What each drawing layer becomes, as "layer→standard:outcome".
std::vector<std::u16string> outcomes(const Plan& plan) {
    std::vector<std::u16string> lines;
    for (const Step& step : plan.steps) {
        lines.push_back(step.drawing + u"→" + step.standard + u":" +
                        std::u16string(outcomeText(step.outcome)));
    }
    return lines;
}

const Step& stepOf(const Plan& plan, std::u16string_view drawing) {
    for (const Step& step : plan.steps) {
        if (step.drawing == drawing) {
            return step;
        }
    }
    static const Step none;
    ADD_FAILURE() << "no step";
    return none;
}

const std::vector<DrawingLayer> kOfficeDrawing = {
    layer(u"0"),    layer(u"DEFPOINTS"), layer(u"外形線", 3),           layer(u"構造物"),
    layer(u"寸法"), layer(u"現況"),      layer(u"d-bgd", 8, u"DASHED"), layer(u"図枠", 2)};
const LayerMap kOfficeMap = mapOf({{u"外形線", u"D-STR"},
                                   {u"構造物", u"d-str"},
                                   {u"寸法", u"D-STR-DIM"},
                                   {u"現況", u"D-BGD"},
                                   {u"D-BGD", u"D-BGD"},
                                   {u"旧図枠", u"D-TTL"}});

TEST(Plan, EachLayerIsRenamedMergedCreatedThenMergedOrLeftAlone) {
    const Plan plan = planTranslation(kOfficeDrawing, kOfficeMap, kStandard);
    EXPECT_EQ(outcomes(plan), (std::vector<std::u16string>{
                                  u"0→:そのまま", u"DEFPOINTS→:そのまま", u"外形線→D-STR:作成して統合",
                                  u"構造物→D-STR:作成して統合", u"寸法→D-STR-DIM:名前を変更",
                                  u"現況→D-BGD:統合", u"d-bgd→D-BGD:そのまま", u"図枠→:そのまま"}));
    EXPECT_EQ(stepOf(plan, u"d-bgd").reason, u"すでに標準画層です（AutoCAD LT では同じ画層）");
    EXPECT_EQ(stepOf(plan, u"図枠").reason, u"");
    EXPECT_EQ(stepOf(plan, u"寸法").reason, u"");
    ASSERT_EQ(plan.creates.size(), 1u);  // once, though two sources go into it
    EXPECT_EQ(plan.creates[0], kStandard.layers[0]);
    EXPECT_EQ(plan.absentSources, (std::vector<std::u16string>{u"旧図枠"}));
    EXPECT_EQ(plan.count(Outcome::CreatedThenMerged), 2);
    EXPECT_EQ(plan.count(Outcome::Renamed), 1);
    EXPECT_EQ(plan.count(Outcome::Merged), 1);
    EXPECT_EQ(plan.count(Outcome::LeftAlone), 4);
    EXPECT_EQ(plan.count(Outcome::Refused), 0);
}

TEST(Plan, LayersThatAreNeverMergedAwayAndUntypableNamesAreRefused) {
    std::vector<DrawingLayer> drawing = {layer(u"0"),    layer(u"defpoints"), layer(u"現況図|外形"),
                                         layer(u"a b"),  layer(u"良い"),      layer(u"旧"),
                                         layer(u"D-STR")};
    drawing[2].xrefDependent = true;
    const LayerMap map = mapOf({{u"0", u"D-STR"},
                                {u"DEFPOINTS", u"D-STR"},
                                {u"現況図|外形", u"D-STR"},
                                {u"a b", u"D-TTL"},
                                {u"良い", u"D-TTL"},
                                {u"旧", u"D-XYZ"}});
    const Plan plan = planTranslation(drawing, map, kStandard);
    EXPECT_EQ(stepOf(plan, u"0").reason, u"画層 0 と DEFPOINTS は変更できません");
    EXPECT_EQ(stepOf(plan, u"defpoints").reason, u"画層 0 と DEFPOINTS は変更できません");
    EXPECT_EQ(stepOf(plan, u"現況図|外形").reason, u"外部参照の画層は変更できません");
    EXPECT_EQ(stepOf(plan, u"a b").reason, u"AutoCAD LT に入力できない画層名です");
    EXPECT_EQ(stepOf(plan, u"旧").reason, u"この図面種類の標準画層ではありません");
    EXPECT_EQ(plan.count(Outcome::Refused), 5);
    // The refused source does not count: the other one alone is renamed, and nothing is created.
    EXPECT_EQ(stepOf(plan, u"良い").outcome, Outcome::Renamed);
    EXPECT_TRUE(plan.creates.empty());
}

TEST(Plan, AnUntypableStandardNameRefusesTheLayersMappedToItButNotTheLayerItself) {
    const layercheck::Standard standard{{standardLayer(u"D-STR;1", 1, u"")}, {}, u"D"};
    const Plan plan = planTranslation({layer(u"d-str;1"), layer(u"外形線")},
                                      mapOf({{u"d-str;1", u"D-STR;1"}, {u"外形線", u"D-STR;1"}}), standard);
    EXPECT_EQ(outcomes(plan),
              (std::vector<std::u16string>{u"d-str;1→D-STR;1:そのまま", u"外形線→D-STR;1:変更できない"}));
    EXPECT_EQ(stepOf(plan, u"外形線").reason, u"AutoCAD LT に入力できない画層名です");
}

TEST(Plan, TheCurrentLayerMayBeRenamedButNeverMergedAway) {
    const std::vector<DrawingLayer> drawing = {layer(u"A"), layer(u"B"), layer(u"C"), layer(u"D"),
                                               layer(u"D-BGD")};
    struct Case {
        const char16_t* current;
        std::vector<std::u16string> expected;
    };
    const LayerMap map = mapOf({{u"A", u"D-STR"}, {u"B", u"D-STR"}, {u"C", u"D-TTL"}, {u"D", u"D-BGD"}});
    const Case cases[] = {
        {u"",
         {u"A→D-STR:作成して統合", u"B→D-STR:作成して統合", u"C→D-TTL:名前を変更", u"D→D-BGD:統合",
          u"D-BGD→:そのまま"}},
        {u"a",
         {u"A→D-STR:変更できない", u"B→D-STR:名前を変更", u"C→D-TTL:名前を変更", u"D→D-BGD:統合",
          u"D-BGD→:そのまま"}},
        {u"C",
         {u"A→D-STR:作成して統合", u"B→D-STR:作成して統合", u"C→D-TTL:名前を変更", u"D→D-BGD:統合",
          u"D-BGD→:そのまま"}},
        {u"D",
         {u"A→D-STR:作成して統合", u"B→D-STR:作成して統合", u"C→D-TTL:名前を変更", u"D→D-BGD:変更できない",
          u"D-BGD→:そのまま"}},
    };
    for (const Case& c : cases) {
        const Plan plan = planTranslation(drawing, map, kStandard, c.current);
        EXPECT_EQ(outcomes(plan), c.expected) << std::string(c.current, c.current + 1);
        EXPECT_EQ(plan.creates.size(), plan.count(Outcome::CreatedThenMerged) > 0 ? 1u : 0u);
    }
    const Plan plan = planTranslation(drawing, map, kStandard, u"D");
    EXPECT_EQ(stepOf(plan, u"D").reason, u"現在の画層は統合できません");

    // Among three sources the current layer is refused and the other two are still created then merged.
    const std::vector<DrawingLayer> three = {layer(u"A"), layer(u"B"), layer(u"E")};
    const Plan threePlan = planTranslation(
        three, mapOf({{u"A", u"D-STR"}, {u"B", u"D-STR"}, {u"E", u"D-STR"}}), kStandard, u"E");
    EXPECT_EQ(outcomes(threePlan),
              (std::vector<std::u16string>{u"A→D-STR:作成して統合", u"B→D-STR:作成して統合",
                                           u"E→D-STR:変更できない"}));
}

TEST(Plan, ALayerOthersAreMergedIntoStaysWhereItIs) {
    const std::vector<DrawingLayer> drawing = {layer(u"A"), layer(u"D-TTL")};
    const Plan plan = planTranslation(drawing, mapOf({{u"A", u"D-TTL"}, {u"D-TTL", u"D-STR"}}), kStandard);
    EXPECT_EQ(outcomes(plan), (std::vector<std::u16string>{u"A→D-TTL:統合", u"D-TTL→D-STR:変更できない"}));
    EXPECT_EQ(stepOf(plan, u"D-TTL").reason, u"ほかの画層の統合先なので変更できません");

    // With no source of its own in the drawing, it is renamed as any other layer.
    const Plan alone =
        planTranslation({layer(u"D-TTL")}, mapOf({{u"A", u"D-TTL"}, {u"D-TTL", u"D-STR"}}), kStandard);
    EXPECT_EQ(outcomes(alone), (std::vector<std::u16string>{u"D-TTL→D-STR:名前を変更"}));
}

TEST(TranslatedLayers, RenamedAndCreatedLayersCarryTheStandardsPropertiesAndMergedOnesAreGone) {
    std::vector<DrawingLayer> drawing = kOfficeDrawing;
    drawing[7].trueColour = 0x102030;  // 図枠, left alone with its own true colour
    drawing[4].trueColour = 0x405060;  // 寸法, renamed: the standard's colour replaces it
    const Plan plan = planTranslation(drawing, kOfficeMap, kStandard);
    DrawingLayer frame = layer(u"図枠", 2);
    frame.trueColour = 0x102030;
    EXPECT_EQ(
        translatedLayers(drawing, plan, kStandard),
        (std::vector<DrawingLayer>{layer(u"0"), layer(u"DEFPOINTS"), layer(u"D-STR-DIM", 7, u"Continuous"),
                                   layer(u"d-bgd", 8, u"DASHED"), frame, layer(u"D-STR", 1, u"Continuous")}));
    EXPECT_EQ(translatedLayers(drawing, planTranslation(drawing, LayerMap(), kStandard), kStandard), drawing);
}

TEST(Summary, TheLayerCheckIsPredictedFromTheMap) {
    const Summary summary = summarize(kOfficeDrawing, kOfficeMap, kStandard);
    EXPECT_EQ(summary.before.count(Verdict::Missing), 3);  // D-STR, D-STR-DIM, D-TTL
    EXPECT_EQ(summary.before.count(Verdict::NotStandard), 5);
    EXPECT_EQ(summary.after.count(Verdict::Missing), 1);  // D-TTL: its source is not in the drawing
    EXPECT_EQ(summary.after.count(Verdict::NotStandard), 1);
    EXPECT_EQ(summary.after.count(Verdict::Standard), 2);         // D-STR-DIM, D-STR
    EXPECT_EQ(summary.after.count(Verdict::OtherProperties), 1);  // d-bgd, spelt in other case
    EXPECT_EQ(
        summaryLines(summary),
        (std::vector<std::u16string>{
            u"名前を変更：1　統合：1　作成して統合：2　そのまま：4　変更できない：0　作成する標準画層：1",
            u"図面にない画層（マップには残します）：1",
            u"画層チェック（適用前）　" + layercheck::countsText(summary.before),
            u"画層チェック（適用後）　" + layercheck::countsText(summary.after)}));
}

}  // namespace
}  // namespace translate

#include "translate/proposals.h"

#include <gtest/gtest.h>

namespace translate {
namespace {

using cadlink::DrawingLayer;

TEST(WidthFolded, FoldsWidthAndAsciiCaseAndNothingElse) {
    struct Case {
        std::u16string_view name;
        std::u16string_view folded;
    };
    const Case cases[] = {
        {u"d-str", u"D-STR"},
        {u"ｄ－ｓｔｒ", u"D-STR"},  // full-width letters and hyphen-minus
        {u"Ｄ－ＳＴＲ－ＤＩＭ", u"D-STR-DIM"},
        {u"！～", u"!~"},                    // the ends of the full-width ASCII range
        {u"\uFF00\uFF5F", u"\uFF00\uFF5F"},  // just outside it
        {u"外形線　太", u"外形線 太"},       // the ideographic space
        {u"ｶﾞｲｹｲｾﾝ", u"ガイケイセン"},       // half-width katakana, the voiced mark joined
        {u"ﾊﾟｲﾌﾟ", u"パイプ"},               // the semi-voiced mark joined
        {u"ｳﾞｧ", u"ヴァ"},
        {u"ﾜﾞｦﾞ", u"ヷヺ"},
        {u"ｱﾞ", u"ア\u3099"},                // no voiced ア: the combining mark stays
        {u"ﾞA", u"\u3099A"},                 // a mark with nothing before it
        {u"ｶﾟ", u"カ\u309A"},                // no semi-voiced カ
        {u"｡｢｣､･ｦｰﾝ", u"。「」、・ヲーン"},  // the ends of the half-width range
        {u"ガ", u"ガ"},                      // full-width kana and kanji as they are
        {u"ａｂｃ漢字ABC", u"ABC漢字ABC"},
        {u"ﾟ", u"\u309A"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(widthFolded(c.name), c.folded);
    }
}

const layercheck::Standard kStandard{{cadlink::LayerRecord{u"D-STR", u"D-STR", u"", 1},
                                      cadlink::LayerRecord{u"D-STR-DIM", u"D-STR-DIM", u"", 7},
                                      cadlink::LayerRecord{u"D-BGD", u"D-BGD", u"DASHED", 8},
                                      cadlink::LayerRecord{u"D-ガイド", u"D-ガイド", u"", 3}},
                                     {builder::PlannedFamily{u"D-BYP-STRn", 2}},
                                     u"D"};

DrawingLayer layer(const char16_t* name) {
    return DrawingLayer{name, 7, u"Continuous"};
}

TEST(ProposeMap, EachLayerGetsTheFirstKindOfProposalThatApplies) {
    LayerMap earlier;
    earlier.set(u"外形線", u"D-STR");
    earlier.set(u"現況", u"D-XYZ");         // not a layer of this drawing kind
    earlier.set(u"d-str-dim", u"D-BGD");    // an exact name comes first
    earlier.set(u"構造物D-STR", u"D-BGD");  // the suffix rule comes first
    earlier.set(u"寸法", u"d-str-dim");     // spelt as the standard spells it

    std::vector<DrawingLayer> drawing = {layer(u"0"),           layer(u"Defpoints"),    layer(u"D-STR"),
                                         layer(u"d-str-dim"),   layer(u"Ｄ－ＢＧＤ"),   layer(u"D-ｶﾞｲﾄﾞ"),
                                         layer(u"構造物D-STR"), layer(u"副D-BYP-STR1"), layer(u"外形線"),
                                         layer(u"現況"),        layer(u"寸法"),         layer(u"図枠"),
                                         layer(u"x|D-STR")};
    drawing.back().xrefDependent = true;
    const std::vector<Proposal> expected = {
        {{u"D-STR", u"D-STR"}, ProposalKind::Exact},
        {{u"d-str-dim", u"D-STR-DIM"}, ProposalKind::CaseOrWidth},
        {{u"Ｄ－ＢＧＤ", u"D-BGD"}, ProposalKind::CaseOrWidth},
        {{u"D-ｶﾞｲﾄﾞ", u"D-ガイド"}, ProposalKind::CaseOrWidth},
        {{u"構造物D-STR", u"D-STR"}, ProposalKind::Suffix},
        {{u"外形線", u"D-STR"}, ProposalKind::EarlierMap},
        {{u"寸法", u"D-STR-DIM"}, ProposalKind::EarlierMap},
    };
    EXPECT_EQ(proposeMap(drawing, kStandard, earlier), expected);
}

TEST(ProposeMap, TheSuffixRuleProposesOnlyLayersOfTheStandard) {
    // The changer takes "…D-STX" for a member of a family whose last character varies, and a numbered
    // member for its family's template: neither names a standard layer to map to.
    const std::vector<DrawingLayer> drawing = {layer(u"壁D-STX"), layer(u"副D-BYP-STR1"),
                                               layer(u"寸法D-STR-DIM"), layer(u"構造物 D-STR")};
    EXPECT_EQ(proposeMap(drawing, kStandard, LayerMap()),
              (std::vector<Proposal>{{{u"寸法D-STR-DIM", u"D-STR-DIM"}, ProposalKind::Suffix},
                                     {{u"構造物 D-STR", u"D-STR"}, ProposalKind::Suffix}}));
}

TEST(ProposalKindText, EveryKindHasItsOwnText) {
    const ProposalKind kinds[] = {ProposalKind::Exact, ProposalKind::CaseOrWidth, ProposalKind::Suffix,
                                  ProposalKind::EarlierMap};
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        EXPECT_FALSE(proposalKindText(kinds[i]).empty());
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_NE(proposalKindText(kinds[i]), proposalKindText(kinds[j]));
        }
    }
}

}  // namespace
}  // namespace translate

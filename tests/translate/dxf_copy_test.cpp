// A plan carried out on a DXF file: what the copy is told to do with each layer.
#include "translate/dxf_copy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/utf.h"

namespace translate {
namespace {

using Record = dxf::LayerChange::Record;

Step step(std::u16string drawing, std::u16string standard, Outcome outcome) {
    return Step{std::move(drawing), std::move(standard), outcome, {}};
}

std::string described(const std::vector<dxf::LayerChange>& changes) {
    std::string text;
    for (const dxf::LayerChange& change : changes) {
        text += tiermark::toUtf8(change.layer) + (change.record == Record::Renamed ? " renamed " : " into ") +
                tiermark::toUtf8(change.becomes);
        if (change.colour) {
            text += " colour " + std::to_string(*change.colour);
        }
        if (change.linetype) {
            text += " " + tiermark::toUtf8(*change.linetype);
        }
        text += "\n";
    }
    return text;
}

TEST(DxfCopyChanges, EachOutcomeBecomesWhatTheCopyDoesToTheLayer) {
    layercheck::Standard standard;
    standard.layers = {{u"D-STR", u"", u"", 3},
                       {u"D-WAL", u"", u"DASHED", 1},
                       {u"D-NEW", u"", u"CENTER", 5},
                       {u"D-Y", u"", u"", 6}};
    std::vector<cadlink::DrawingLayer> drawing;
    for (const char16_t* name :
         {u"0", u"wall", u"d-str", u"old", u"c1", u"c2", u"X", u"keep", u"bad<", u"x2"}) {
        drawing.push_back({name, 7, u"Continuous"});
    }
    Plan plan;
    plan.steps = {step(u"0", u"", Outcome::LeftAlone),
                  step(u"wall", u"D-WAL", Outcome::Renamed),
                  step(u"d-str", u"D-STR", Outcome::LeftAlone),
                  step(u"old", u"D-STR", Outcome::Merged),
                  step(u"c1", u"D-NEW", Outcome::CreatedThenMerged),
                  step(u"c2", u"D-NEW", Outcome::CreatedThenMerged),
                  step(u"X", u"D-Y", Outcome::Renamed),
                  step(u"keep", u"", Outcome::LeftAlone),
                  step(u"bad<", u"D-STR", Outcome::Refused),
                  step(u"x2", u"x", Outcome::Merged)};
    // A merge follows its target's rename; the first source of a created layer becomes it, with its colour
    // and line type (Continuous where the standard sends none); a merge names the target as the drawing does.
    EXPECT_EQ(described(layerChanges(drawing, plan, standard)),
              "wall renamed D-WAL colour 1 DASHED\n"
              "old into d-str\n"
              "c1 renamed D-NEW colour 5 CENTER\n"
              "c2 into D-NEW\n"
              "X renamed D-Y colour 6 Continuous\n"
              "x2 into D-Y\n");
}

}  // namespace
}  // namespace translate

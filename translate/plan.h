#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cadlink/drawing_access.h"
#include "cadlink/layer_record.h"
#include "layercheck/layer_check.h"
#include "translate/layer_map.h"

// What a layer map does to one drawing: each of its layers renamed, merged, created then merged, left
// alone or refused; the standard layers to create first; and the layer check before and after, predicted.
// The live drawing, the DXF copy and the folder run all apply one plan, so that what the summary says is
// what is done.
namespace translate {

enum class Outcome {
    Renamed,            // the one source of a standard layer the drawing lacks: renamed to it
    Merged,             // into a standard layer the drawing already has
    CreatedThenMerged,  // one of several sources of a standard layer the drawing lacks: created, then merged
    LeftAlone,          // not in the map, or already the standard layer
    Refused,            // a name that cannot be typed, or a layer that is never merged away
};
inline constexpr std::size_t kOutcomeCount = 5;

// How the window and the reports name an outcome ("名前を変更", "統合", …).
std::u16string_view outcomeText(Outcome outcome);

// One layer of the drawing and what the map does to it.
struct Step {
    std::u16string drawing;   // the drawing's layer
    std::u16string standard;  // the standard layer it becomes; empty when left alone without a pair
    Outcome outcome = Outcome::LeftAlone;
    std::u16string reason;  // why it is left alone or refused (Japanese); empty otherwise
};

struct Plan {
    std::vector<Step> steps;                    // one per layer of the drawing, in the drawing's order
    std::vector<cadlink::LayerRecord> creates;  // standard layers created before any merge, in map order
    std::vector<std::u16string> absentSources;  // drawing layers of the map that the drawing lacks (kept)
    std::array<int, kOutcomeCount> counts{};
    int count(Outcome outcome) const { return counts[static_cast<std::size_t>(outcome)]; }
};

// Plans the map for one drawing against the standard of a drawing kind. A pair whose standard layer is not
// one of the standard's layers is refused. "0", "DEFPOINTS", layers of external references and the current
// layer (currentLayer; empty when unknown) are never merged away: as the source of a merge they are
// refused; the current layer may still be renamed, and among several sources of a missing standard layer it
// is refused and not counted. A drawing layer that other layers of the drawing are merged into stays (refused
// as a source), so that the merges find it. Names are checked by cadlink::layerNameProblem.
Plan planTranslation(const std::vector<cadlink::DrawingLayer>& drawing, const LayerMap& map,
                     const layercheck::Standard& standard, std::u16string_view currentLayer = {});

// The drawing's layer table as the plan leaves it: renamed and created layers carry the standard's colour
// and line type, merged sources are gone, the rest as they were.
std::vector<cadlink::DrawingLayer> translatedLayers(const std::vector<cadlink::DrawingLayer>& drawing,
                                                    const Plan& plan, const layercheck::Standard& standard);

// The summary shown before anything is applied: the outcomes and the layer check before and after.
struct Summary {
    Plan plan;
    layercheck::Result before;
    layercheck::Result after;
};
Summary summarize(const std::vector<cadlink::DrawingLayer>& drawing, const LayerMap& map,
                  const layercheck::Standard& standard, std::u16string_view currentLayer = {});
// The summary as lines of text for the window and the reports.
std::vector<std::u16string> summaryLines(const Summary& summary);

}  // namespace translate

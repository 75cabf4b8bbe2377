#include "translate/plan.h"

#include <algorithm>
#include <optional>

#include "cadlink/sendable_text.h"
#include "common/ascii.h"

namespace translate {

namespace {

using tiermark::equalsIgnoringAsciiCase;

constexpr std::u16string_view kFixedReason = u"画層 0 と DEFPOINTS は変更できません";
constexpr std::u16string_view kXrefReason = u"外部参照の画層は変更できません";
constexpr std::u16string_view kNotStandardReason = u"この図面種類の標準画層ではありません";
constexpr std::u16string_view kUntypableReason = u"AutoCAD LT に入力できない画層名です";
constexpr std::u16string_view kSameLayerReason = u"すでに標準画層です（AutoCAD LT では同じ画層）";
constexpr std::u16string_view kCurrentReason = u"現在の画層は統合できません";
constexpr std::u16string_view kTargetOfOthersReason = u"ほかの画層の統合先なので変更できません";

bool isFixed(std::u16string_view name) {
    return equalsIgnoringAsciiCase(name, u"0") || equalsIgnoringAsciiCase(name, u"DEFPOINTS");
}

const cadlink::LayerRecord* standardLayer(const layercheck::Standard& standard, std::u16string_view name) {
    const auto found = std::find_if(
        standard.layers.begin(), standard.layers.end(),
        [name](const cadlink::LayerRecord& layer) { return equalsIgnoringAsciiCase(layer.name, name); });
    return found == standard.layers.end() ? nullptr : &*found;
}

bool holds(const std::vector<cadlink::DrawingLayer>& drawing, std::u16string_view name) {
    return std::any_of(drawing.begin(), drawing.end(), [name](const cadlink::DrawingLayer& layer) {
        return equalsIgnoringAsciiCase(layer.name, name);
    });
}

// A layer of the drawing that another drawing layer of the map is merged into stays as it is.
bool isTargetOfOthers(const std::vector<cadlink::DrawingLayer>& drawing, const LayerMap& map,
                      std::u16string_view name) {
    for (const std::u16string& source : map.sourcesOf(name)) {
        if (!equalsIgnoringAsciiCase(source, name) && holds(drawing, source)) {
            return true;
        }
    }
    return false;
}

Step refused(Step step, std::u16string_view reason) {
    step.outcome = Outcome::Refused;
    step.reason = reason;
    return step;
}

// The step of one layer as far as it does not depend on the other sources of its standard layer: left
// alone, refused, merged into a layer the drawing has, or (Renamed for now) into one it lacks.
Step firstStep(const cadlink::DrawingLayer& layer, const std::vector<cadlink::DrawingLayer>& drawing,
               const LayerMap& map, const layercheck::Standard& standard, std::u16string_view currentLayer) {
    Step step{layer.name, {}, Outcome::LeftAlone, {}};
    const std::u16string* target = map.targetOf(layer.name);
    if (target == nullptr) {
        return step;
    }
    step.standard = *target;
    if (isFixed(layer.name)) {
        return refused(step, kFixedReason);
    }
    if (layer.xrefDependent) {
        return refused(step, kXrefReason);
    }
    const cadlink::LayerRecord* model = standardLayer(standard, *target);
    if (model == nullptr) {
        return refused(step, kNotStandardReason);
    }
    step.standard = model->name;
    // Nothing is typed for a layer that is its standard layer already, whatever its name holds.
    if (equalsIgnoringAsciiCase(layer.name, model->name)) {
        step.reason = kSameLayerReason;
        return step;
    }
    if (cadlink::layerNameProblem(layer.name) || cadlink::layerNameProblem(model->name)) {
        return refused(step, kUntypableReason);
    }
    if (isTargetOfOthers(drawing, map, layer.name)) {
        return refused(step, kTargetOfOthersReason);
    }
    const bool current = !currentLayer.empty() && equalsIgnoringAsciiCase(layer.name, currentLayer);
    if (holds(drawing, model->name)) {
        return current ? refused(step, kCurrentReason)
                       : Step{step.drawing, step.standard, Outcome::Merged, {}};
    }
    step.outcome = Outcome::Renamed;
    return step;
}

// The sources of one missing standard layer: one alone is renamed; of several each is created then merged,
// the current layer refused among them (and then not counted).
void settleMissingTarget(std::vector<Step>& steps, const std::u16string& target,
                         std::u16string_view currentLayer, const layercheck::Standard& standard, Plan& plan) {
    std::vector<Step*> sources;
    Step* current = nullptr;
    for (Step& step : steps) {
        if (step.outcome == Outcome::Renamed && step.standard == target) {
            if (!currentLayer.empty() && equalsIgnoringAsciiCase(step.drawing, currentLayer)) {
                current = &step;
            } else {
                sources.push_back(&step);
            }
        }
    }
    if (current != nullptr && !sources.empty()) {
        *current = refused(*current, kCurrentReason);
    } else if (current != nullptr) {
        sources.push_back(current);
    }
    if (sources.size() < 2) {
        return;
    }
    for (Step* step : sources) {
        step->outcome = Outcome::CreatedThenMerged;
    }
    plan.creates.push_back(*standardLayer(standard, target));
}

}  // namespace

std::u16string_view outcomeText(Outcome outcome) {
    switch (outcome) {
        case Outcome::Renamed:
            return u"名前を変更";
        case Outcome::Merged:
            return u"統合";
        case Outcome::CreatedThenMerged:
            return u"作成して統合";
        case Outcome::LeftAlone:
            return u"そのまま";
        case Outcome::Refused:
            return u"変更できない";
    }
    return u"";
}

Plan planTranslation(const std::vector<cadlink::DrawingLayer>& drawing, const LayerMap& map,
                     const layercheck::Standard& standard, std::u16string_view currentLayer) {
    Plan plan;
    for (const cadlink::DrawingLayer& layer : drawing) {
        plan.steps.push_back(firstStep(layer, drawing, map, standard, currentLayer));
    }
    // The standard layers the drawing lacks, in the order the map first names them.
    std::vector<std::u16string> missing;
    for (const MapPair& pair : map.pairs()) {
        const cadlink::LayerRecord* model = standardLayer(standard, pair.standard);
        if (model != nullptr && !holds(drawing, model->name) &&
            std::find(missing.begin(), missing.end(), model->name) == missing.end()) {
            missing.push_back(model->name);
        }
        if (!holds(drawing, pair.drawing)) {
            plan.absentSources.push_back(pair.drawing);
        }
    }
    for (const std::u16string& target : missing) {
        settleMissingTarget(plan.steps, target, currentLayer, standard, plan);
    }
    for (const Step& step : plan.steps) {
        ++plan.counts[static_cast<std::size_t>(step.outcome)];
    }
    return plan;
}

std::vector<cadlink::DrawingLayer> translatedLayers(const std::vector<cadlink::DrawingLayer>& drawing,
                                                    const Plan& plan, const layercheck::Standard& standard) {
    const auto asStandard = [](const cadlink::LayerRecord& model) {
        return cadlink::DrawingLayer{model.name, static_cast<int>(model.colour),
                                     cadlink::effectiveLinetype(model)};
    };
    std::vector<cadlink::DrawingLayer> layers;
    for (std::size_t i = 0; i < drawing.size() && i < plan.steps.size(); ++i) {
        const Step& step = plan.steps[i];
        if (step.outcome == Outcome::Renamed) {
            layers.push_back(asStandard(*standardLayer(standard, step.standard)));
        } else if (step.outcome != Outcome::Merged && step.outcome != Outcome::CreatedThenMerged) {
            layers.push_back(drawing[i]);
        }
    }
    for (const cadlink::LayerRecord& created : plan.creates) {
        layers.push_back(asStandard(created));
    }
    return layers;
}

Summary summarize(const std::vector<cadlink::DrawingLayer>& drawing, const LayerMap& map,
                  const layercheck::Standard& standard, std::u16string_view currentLayer) {
    Summary summary{planTranslation(drawing, map, standard, currentLayer), {}, {}};
    summary.before = layercheck::checkLayers(drawing, standard);
    summary.after = layercheck::checkLayers(translatedLayers(drawing, summary.plan, standard), standard);
    return summary;
}

std::vector<std::u16string> summaryLines(const Summary& summary) {
    const auto number = [](int n) {
        std::string digits = std::to_string(n);
        return std::u16string(digits.begin(), digits.end());
    };
    // The outcomes on one line, as the layer check gives its counts.
    std::u16string outcomes;
    for (const Outcome outcome : {Outcome::Renamed, Outcome::Merged, Outcome::CreatedThenMerged,
                                  Outcome::LeftAlone, Outcome::Refused}) {
        outcomes +=
            std::u16string(outcomeText(outcome)) + u"：" + number(summary.plan.count(outcome)) + u"　";
    }
    outcomes += u"作成する標準画層：" + number(static_cast<int>(summary.plan.creates.size()));
    std::vector<std::u16string> lines{outcomes};
    if (!summary.plan.absentSources.empty()) {
        lines.push_back(u"図面にない画層（マップには残します）：" +
                        number(static_cast<int>(summary.plan.absentSources.size())));
    }
    lines.push_back(u"画層チェック（適用前）　" + layercheck::countsText(summary.before));
    lines.push_back(u"画層チェック（適用後）　" + layercheck::countsText(summary.after));
    return lines;
}

}  // namespace translate

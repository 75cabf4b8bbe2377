#include "translate/dxf_copy.h"

#include <map>
#include <optional>
#include <set>

#include "cadlink/layer_record.h"
#include "common/ascii.h"

namespace translate {

namespace {

const cadlink::LayerRecord* standardLayer(const layercheck::Standard& standard, std::u16string_view name) {
    for (const cadlink::LayerRecord& layer : standard.layers) {
        if (tiermark::equalsIgnoringAsciiCase(layer.name, name)) {
            return &layer;
        }
    }
    return nullptr;
}

dxf::LayerChange renamed(const Step& step, const layercheck::Standard& standard) {
    dxf::LayerChange change{step.drawing, step.standard, dxf::LayerChange::Record::Renamed, std::nullopt,
                            std::nullopt};
    if (const cadlink::LayerRecord* layer = standardLayer(standard, step.standard)) {
        if (layer->colour >= 1 && layer->colour <= 255) {
            change.colour = static_cast<int>(layer->colour);
        }
        change.linetype = cadlink::effectiveLinetype(*layer);
    }
    return change;
}

// The drawing's own spelling of a layer it has, or the name as given.
std::u16string drawingsName(const std::vector<cadlink::DrawingLayer>& drawing, const std::u16string& name) {
    for (const cadlink::DrawingLayer& layer : drawing) {
        if (tiermark::equalsIgnoringAsciiCase(layer.name, name)) {
            return layer.name;
        }
    }
    return name;
}

}  // namespace

std::vector<dxf::LayerChange> layerChanges(const std::vector<cadlink::DrawingLayer>& drawing,
                                           const Plan& plan, const layercheck::Standard& standard) {
    std::vector<dxf::LayerChange> changes;
    std::set<std::u16string> created;  // the standard layers a first source already became
    for (const Step& step : plan.steps) {
        const std::u16string target = tiermark::asciiUppercased(step.standard);
        switch (step.outcome) {
            case Outcome::Renamed:
                changes.push_back(renamed(step, standard));
                break;
            case Outcome::CreatedThenMerged:
                if (created.insert(target).second) {
                    changes.push_back(renamed(step, standard));
                } else {
                    changes.push_back({step.drawing, step.standard, dxf::LayerChange::Record::Removed,
                                       std::nullopt, std::nullopt});
                }
                break;
            case Outcome::Merged:
                changes.push_back({step.drawing, drawingsName(drawing, step.standard),
                                   dxf::LayerChange::Record::Removed, std::nullopt, std::nullopt});
                break;
            case Outcome::LeftAlone:
            case Outcome::Refused:
                break;
        }
    }
    // A merge into a layer that is renamed itself ends on that layer's new name.
    std::map<std::u16string, std::u16string> renamedTo;
    for (const dxf::LayerChange& change : changes) {
        if (change.record == dxf::LayerChange::Record::Renamed) {
            renamedTo.emplace(tiermark::asciiUppercased(change.layer), change.becomes);
        }
    }
    for (dxf::LayerChange& change : changes) {
        if (change.record != dxf::LayerChange::Record::Removed) {
            continue;
        }
        for (std::size_t hops = 0; hops < changes.size(); ++hops) {
            const auto next = renamedTo.find(tiermark::asciiUppercased(change.becomes));
            if (next == renamedTo.end() || tiermark::equalsIgnoringAsciiCase(next->second, change.becomes)) {
                break;
            }
            change.becomes = next->second;
        }
    }
    return changes;
}

tiermark::Result<DxfCopy> translateDxfFile(const std::filesystem::path& source,
                                           const std::filesystem::path& target, const LayerMap& map,
                                           const layercheck::Standard& standard) {
    auto table = dxf::readLayerTableFile(source);
    if (!table) {
        return table.error();
    }
    DxfCopy copy;
    copy.source = std::move(*table);
    copy.plan = planTranslation(copy.source.layers, map, standard, copy.source.currentLayer);
    auto written =
        dxf::writeTranslatedCopy(source, target, layerChanges(copy.source.layers, copy.plan, standard));
    if (!written) {
        return written.error();
    }
    copy.copy = std::move(*written);
    return copy;
}

}  // namespace translate

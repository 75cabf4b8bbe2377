#include "translate/kind_proposal.h"

#include <algorithm>

#include "common/ascii.h"

namespace translate {

namespace {

bool isConsidered(const cadlink::DrawingLayer& layer) {
    return !layer.xrefDependent && !tiermark::equalsIgnoringAsciiCase(layer.name, u"0") &&
           !tiermark::equalsIgnoringAsciiCase(layer.name, u"DEFPOINTS");
}

bool isMatched(layercheck::Verdict verdict) {
    return verdict == layercheck::Verdict::Standard || verdict == layercheck::Verdict::OtherProperties ||
           verdict == layercheck::Verdict::NumberedAllowed;
}

}  // namespace

std::vector<KindMatch> proposeKinds(const std::vector<cadlink::DrawingLayer>& drawing,
                                    const std::vector<layercheck::Standard>& kinds) {
    std::vector<cadlink::DrawingLayer> considered;
    std::copy_if(drawing.begin(), drawing.end(), std::back_inserter(considered), isConsidered);
    std::vector<KindMatch> matches;
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
        // The rows of the drawing's own layers come first, one per layer, before the missing standard layers.
        const layercheck::Result result = layercheck::checkLayers(considered, kinds[kind]);
        KindMatch match{kind, 0, static_cast<int>(considered.size())};
        for (std::size_t i = 0; i < considered.size() && i < result.rows.size(); ++i) {
            match.matched += isMatched(result.rows[i].verdict) ? 1 : 0;
        }
        if (match.matched > 0) {
            matches.push_back(match);
        }
    }
    // Every kind considers the same layers, so the greater share is the greater count matched.
    std::stable_sort(matches.begin(), matches.end(),
                     [](const KindMatch& a, const KindMatch& b) { return a.matched > b.matched; });
    return matches;
}

}  // namespace translate

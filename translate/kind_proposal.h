#pragma once

#include <cstddef>
#include <vector>

#include "cadlink/drawing_access.h"
#include "layercheck/layer_check.h"

// For a drawing whose drawing kind the user has not chosen: the kinds whose standard layers it matches best.
namespace translate {

struct KindMatch {
    std::size_t kind = 0;  // index into the standards given
    int matched = 0;       // the drawing's layers that are standard or allowed numbered members of the kind
    int considered = 0;    // the drawing's layers but "0", "DEFPOINTS" and those of external references
    double share() const { return considered == 0 ? 0.0 : static_cast<double>(matched) / considered; }
};

// Every kind with at least one layer matched, best first (the greater share, then more matched, then the
// order given).
std::vector<KindMatch> proposeKinds(const std::vector<cadlink::DrawingLayer>& drawing,
                                    const std::vector<layercheck::Standard>& kinds);

}  // namespace translate

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cadlink/drawing_access.h"
#include "layercheck/layer_check.h"
#include "translate/layer_map.h"

// The pairs the translation window proposes for a drawing, which the user accepts in one go.
namespace translate {

enum class ProposalKind {
    Exact,        // the drawing layer is named as the standard layer
    CaseOrWidth,  // the names differ only in the case of letters or in full-width/half-width forms
    Suffix,       // the changer's rule: the drawing layer's name ends in a standard name ("構造物D-STR")
    EarlierMap,   // a pair of the office's earlier maps
};

// How the window names a kind of proposal.
std::u16string_view proposalKindText(ProposalKind kind);

struct Proposal {
    MapPair pair;
    ProposalKind kind = ProposalKind::Exact;
    bool operator==(const Proposal&) const = default;
};

// A name folded for comparison by case and width: full-width ASCII, the ideographic space and half-width
// katakana in their usual forms (NFKC's width mapping), and ASCII letters in upper case.
std::u16string widthFolded(std::u16string_view name);

// One proposal per drawing layer at most, the first kind that applies in the order above (an earlier map
// is asked last, and only for a standard layer of this drawing kind). "0", "DEFPOINTS" and layers of
// external references get none.
std::vector<Proposal> proposeMap(const std::vector<cadlink::DrawingLayer>& drawing,
                                 const layercheck::Standard& standard, const LayerMap& earlier);

}  // namespace translate

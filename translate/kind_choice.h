#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "layercheck/layer_check.h"
#include "translate/folder_run.h"
#include "translate/kind_proposal.h"

// The drawing kinds proposed for a drawing as the user reads them: the share matched in words, the few
// best kinds to choose from, and the best kind of each file of a folder run.
namespace translate {

// How many of the best kinds the translation window lists.
inline constexpr std::size_t kKindsShown = 5;

// The share matched as a whole percentage with the layers counted: "75%（3 / 4 画層）".
std::u16string shareText(const KindMatch& match);

// The best matches, at most shown of them, in the order proposeKinds gives.
std::vector<KindMatch> bestKinds(std::vector<KindMatch> matches, std::size_t shown = kKindsShown);

// One line of the list of kinds: the kind's name (names[match.kind]), then its share.
std::u16string kindLine(const KindMatch& match, const std::vector<std::u16string>& names);

// For a folder run where each file gets its own kind: the best proposal among the kinds given, named
// with its share ("道路/道路一般/一般図（設計、D）（一致 75%）"); nothing for a file no kind matches. The
// kinds and names must outlive the run.
StandardOfFile bestKindOfFile(const std::vector<layercheck::Standard>& kinds,
                              const std::vector<std::u16string>& names);

}  // namespace translate

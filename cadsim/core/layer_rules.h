#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cadsim/core/drawing.h"

namespace cadsim {

// The characters a name may not hold under EXTNAMES 1: < > / \ " : ; ? * | , = ` ' and control characters.
bool isForbiddenLayerChar(char16_t c);

// Why a text cannot name a layer (or a group, or a line type) under the rules (empty, too long, a character
// the rules exclude), or nothing when it can. EXTNAMES (System Variable) in the AutoCAD LT help gives both
// rule sets.
std::optional<std::string> invalidLayerNameReason(std::u16string_view name,
                                                  NameRules rules = NameRules::Extended);

// Whether the layer is one of the two that the drawing always holds and that can never be renamed.
bool isFixedLayer(std::u16string_view name);

// Whether the layer belongs to an external reference: AutoCAD LT names such a layer "drawing|layer", a
// name no one can type for a layer of the drawing's own.
bool isXrefDependentLayer(std::u16string_view name);

}  // namespace cadsim

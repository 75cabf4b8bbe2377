#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cadsim {

// The characters a layer name may not hold: < > / \ " : ; ? * | , = ` '
bool isForbiddenLayerChar(char16_t c);

// Why a text cannot name a layer (empty, too long, a forbidden character), or nothing when it can.
std::optional<std::string> invalidLayerNameReason(std::u16string_view name);

// Whether the layer is one of the two that the drawing always holds and that can never be renamed.
bool isFixedLayer(std::u16string_view name);

}  // namespace cadsim

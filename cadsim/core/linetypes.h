#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadsim {

// The line types loaded in every drawing of the stand-in: Continuous, the usual ACAD and ISO line types,
// and the Japanese names the layer-standard database uses. Returns the loaded name as it is spelt in the
// line-type table, or nothing when the line type is not loaded (found without regard to case).
std::optional<std::u16string> loadedLineType(std::u16string_view name);

// Every loaded line type, in the line-type table's order.
std::vector<std::u16string> loadedLineTypes();

}  // namespace cadsim

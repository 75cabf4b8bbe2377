#pragma once

#include <optional>
#include <string_view>

#include "cadsim/core/drawing.h"

namespace cadsim {

// A point typed at the command line: "x,y" or "x,y,z" (z ignored), numbers with a full stop.
std::optional<Point> parsePoint(std::u16string_view text);

// A colour typed at the command line: a number 1..255 or one of the seven standard colour names.
std::optional<int> parseColor(std::u16string_view text);

}  // namespace cadsim

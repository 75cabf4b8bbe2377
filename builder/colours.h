#pragma once

#include <cstdint>

namespace builder {

// The AutoCAD colour number sent for a "色定数" (or a colour already chosen, such as 7 or 8). Values
// below 30 go through the standard's colour table (0 → 7, 20 → 200, 21 → 24, 22 → 30, 23 → 83, 24 → 150,
// 25 → 171, 26 → 9, 27 → 8, 28 → 241; the rest unchanged); 30 and above are sent as they are.
std::int64_t layerColour(std::int64_t constant);

// The colour used when a colour name has no row in "線色マスター" (or its "色定数" is no number).
inline constexpr std::int64_t kColourWithoutRow = 7;

}  // namespace builder

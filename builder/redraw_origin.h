#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace builder {

// The two texts of the redraw origin, by the row of the builder they go to: "再線画時の左下隅の座標Y" and
// "再線画時の左下隅の座標X".
struct RedrawOriginTexts {
    std::u16string originY;
    std::u16string originX;
};

// originY = x + ratio × (short side + 100) and originX = y + ratio × (long side + 100), each written as its
// shortest decimal text. The crossing is intended: the origin's X is computed from the source corner's Y and
// the long side, its Y from the source's X and the short side, as the program has always laid a sheet out
// (an A1 sheet at 1:10 from 0,0 gives X 9410 and Y 6940). The texts are read as typed numbers (full-width
// digits and signs count). When any text is not a number or the arithmetic overflows, both mirror the
// source corner: originY gets x's text and originX y's text, unchanged.
//   ratio: the scale; x, y: the source corner; shortSide, longSide: the chosen paper's sides in mm.
RedrawOriginTexts computeRedrawOrigin(std::u16string_view ratio, std::u16string_view x, std::u16string_view y,
                                      std::u16string_view shortSide, std::u16string_view longSide);

// The number a redraw-origin text box holds when the layers are created, read as a typed number; nothing
// when it holds no number.
std::optional<double> redrawOriginValue(std::u16string_view text);

}  // namespace builder

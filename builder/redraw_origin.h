#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace builder {

// The two texts of the redraw origin: TextBox4 (row 座標Y) and TextBox5 (row 座標X).
struct RedrawOriginTexts {
    std::u16string textBox4;
    std::u16string textBox5;
};

// TextBox4 = X + ratio × (short side + 100) and TextBox5 = Y + ratio × (long side + 100), each written as
// its shortest decimal text. The texts are read as typed numbers (full-width digits and signs count). When
// any text is not a number or the arithmetic overflows, both mirror the source corner: TextBox4 gets X's
// text and TextBox5 Y's text, unchanged.
//   ratio: TextBox1, x: TextBox2, y: TextBox3, shortSide: Label24, longSide: Label25.
RedrawOriginTexts computeRedrawOrigin(std::u16string_view ratio, std::u16string_view x, std::u16string_view y,
                                      std::u16string_view shortSide, std::u16string_view longSide);

// The number a redraw-origin text box holds when the layers are created, read as a typed number; nothing
// when it holds no number.
std::optional<double> redrawOriginValue(std::u16string_view text);

}  // namespace builder

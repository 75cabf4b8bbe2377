#pragma once

#include <cstdint>
#include <optional>
#include <string>

// AutoCAD's index colours (the colour numbers 1 to 255 of layers and objects) as the red, green and blue
// they stand for, so that a layer's true colour can be compared with a colour number.
namespace dxf {

// 0xRRGGBB of a colour number: 1 red, 2 yellow, 3 green, 4 cyan, 5 blue, 6 magenta, 7 white, 8 and 9
// greys, 10 to 249 twenty-four hues in ten shades each, 250 to 255 greys. Nothing outside 1 to 255.
std::optional<std::uint32_t> colourNumberRgb(int number);

// A true colour as AutoCAD LT writes it in its colour dialog: "255,128,0".
std::u16string trueColourText(std::uint32_t rgb);

}  // namespace dxf

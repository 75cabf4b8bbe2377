#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace builder {

// The "-Layer" texts that type one layer into AutoCAD LT's command line; each text is one SendCommand.
// Create N: ESC ESC; "-Layer" CR; "n" CR; N CR; ESC.
std::vector<std::u16string> createLayerTexts(std::u16string_view name);
// Line type L of N: ESC ESC; "-Layer" CR; "L" CR; L CR; N CR; ESC ESC. An empty L sends CR alone.
std::vector<std::u16string> linetypeTexts(std::u16string_view linetype, std::u16string_view name);
// Colour C of N: ESC ESC; "-Layer" CR; "C" CR; C CR; N CR; ESC ESC.
std::vector<std::u16string> colourTexts(std::int64_t colour, std::u16string_view name);

// The pieces, for callers that interleave other work between the texts.
inline constexpr std::u16string_view kEscEsc = u"\x1b\x1b";
inline constexpr std::u16string_view kEsc = u"\x1b";
inline constexpr std::u16string_view kLayerCommand = u"-Layer\r";
inline constexpr std::u16string_view kNewOption = u"n\r";
inline constexpr std::u16string_view kLinetypeOption = u"L\r";
inline constexpr std::u16string_view kColourOption = u"C\r";
inline constexpr std::u16string_view kContinuous = u"Continuous";

}  // namespace builder

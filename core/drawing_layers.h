#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cadlink/drawing_access.h"

// The chosen drawing's layers as the CAD program gives them back, for the windows that judge or translate
// them (the layer check, the translation).
namespace core {

class Program;

inline constexpr std::u16string_view kNoReadBackNote =
    u"AutoCAD LT からは画層を読み取れません。図面を DXF で保存し、「DXFファイル...」で選んでください。";

// Whether the CAD program gives the drawing's layers back at all (the CAD stand-in does, AutoCAD LT does
// not).
bool drawingReadable(const Program& program);

struct ChosenDrawingLayers {
    std::vector<cadlink::DrawingLayer> layers;
    std::u16string currentLayer;  // read only where asked for
    std::u16string source;        // "読み込み元：図面 NAME"
    std::u16string problem;       // why nothing was read (Japanese), shown as a message; empty when read
};

// Reads the chosen drawing's layer table, and its current layer where currentLayerToo.
ChosenDrawingLayers readChosenDrawing(const Program& program, bool currentLayerToo);

}  // namespace core

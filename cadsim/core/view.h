#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "cadsim/core/drawing.h"

namespace cadsim {

// The RGB colour (0xRRGGBB) of an AutoCAD colour number 1..255, as the canvas paints it on a dark ground.
std::uint32_t colorRgb(int colorNumber);

// How a line type is drawn on the canvas.
enum class Dash { Solid, Dashed, DashDot, DashDotDot, Dotted };
Dash dashOf(std::u16string_view lineType);

// The extents of the drawing's objects (a circle by its square, a text by its insertion point and height).
struct Extents {
    Point min;
    Point max;
};
std::optional<Extents> drawingExtents(const Drawing& drawing);

// Distance from a point to an object's outline: a line as a segment, a circle by its rim, a text by the box
// it roughly covers (height high, 0.8 height per character wide).
double distanceTo(const DrawingObject& object, Point p);

// The object nearest to p within tolerance; 0 when there is none.
int objectAt(const Drawing& drawing, Point p, double tolerance);

// Box selection between two corners, as the CAD program does it: dragged to the right, the objects that lie
// wholly inside (window); dragged to the left, those that the box touches (crossing, judged by extents).
// Window and Crossing (the selection options) take their kind whatever the direction.
enum class BoxKind { ByDirection, Window, Crossing };
std::vector<int> objectsInBox(const Drawing& drawing, Point from, Point to,
                              BoxKind kind = BoxKind::ByDirection);

}  // namespace cadsim

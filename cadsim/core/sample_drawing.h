#pragma once

#include "cadsim/core/drawing.h"

namespace cadsim {

// The small drawing a stand-in opens when it is given no DXF file: a few lines, circles and texts on the
// layers "0", "外形線" and "寸法".
Drawing sampleDrawing();

}  // namespace cadsim

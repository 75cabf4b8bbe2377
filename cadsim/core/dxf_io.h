#pragma once

#include <string>

#include "cadsim/core/drawing.h"
#include "common/result.h"

namespace cadsim {

// Reads a DXF drawing (layers with colour and line type; lines, circles, texts) into a fresh drawing.
// A file that cannot be read, is not DXF or is damaged is an error and leaves nothing half-read.
tiermark::Result<Drawing> loadDxf(const std::string& path);

// Writes the drawing as DXF (AutoCAD 2000 form, texts in UTF-8).
tiermark::Result<void> saveDxf(const Drawing& drawing, const std::string& path);

}  // namespace cadsim

#pragma once

#include <string>
#include <string_view>

#include "cadsim/core/drawing.h"
#include "cadsim/core/interpreter.h"

namespace cadsim {

// The stand-in's state as one JSON object: the drawing's name, its layers (name, lineType, color) in
// table order, its objects (id, kind, layer, x, y and the kind's own fields), its groups (name,
// description, objects), the command line (prompt, waitingForObjects, selection) and the history.
std::string stateJson(std::u16string_view drawingName, const Drawing& drawing,
                      const Interpreter& interpreter);

}  // namespace cadsim

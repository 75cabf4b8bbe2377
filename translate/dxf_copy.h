#pragma once

#include <filesystem>
#include <vector>

#include "cadlink/drawing_access.h"
#include "common/result.h"
#include "dxf/layer_table.h"
#include "dxf/translated_copy.h"
#include "layercheck/layer_check.h"
#include "translate/layer_map.h"
#include "translate/plan.h"

// A layer map applied to a DXF file: the plan of the map for the drawing, carried out as a translated copy.
namespace translate {

// The plan in the copy's terms, one change per layer the plan moves:
// - renamed: the record renamed, with the standard's colour and line type;
// - merged into a layer the drawing has: the record removed, its objects on that layer (named as the
//   drawing names it);
// - created then merged: the first such source (in the drawing's order) renamed to the standard layer and
//   given its colour and line type, which is the layer the plan creates; the other sources removed into it.
// A source merged into a layer that the plan renames itself follows it to its new name.
std::vector<dxf::LayerChange> layerChanges(const std::vector<cadlink::DrawingLayer>& drawing,
                                           const Plan& plan, const layercheck::Standard& standard);

struct DxfCopy {
    dxf::LayerTable source;  // the source's layer table, as the plan saw it
    Plan plan;
    dxf::CopyOutcome copy;
};

// Reads the source's layer table, plans the map against the standard (the drawing's current layer, $CLAYER,
// is never merged away) and writes the translated copy to target (dxf::writeTranslatedCopy). The error
// (Japanese) says why the file cannot be read or the copy written.
tiermark::Result<DxfCopy> translateDxfFile(const std::filesystem::path& source,
                                           const std::filesystem::path& target, const LayerMap& map,
                                           const layercheck::Standard& standard);

}  // namespace translate

#pragma once

#include <string>
#include <vector>

#include "builder/layer_set.h"
#include "common/result.h"

namespace builder {

// A layer set for drawings that the link cannot reach: the same layers, line types and colours that
// "レイヤー作成" gives the drawing, as a DXF drawing to start from and as an AutoCAD script to play in a
// drawing with SCRIPT.
struct LayerSetFiles {
    std::string dxf;     // AutoCAD 2000 DXF, code page 932 (dxf/layer_set_dxf.h)
    std::string script;  // the "-Layer" sequences of the link, code page 932, CR LF (cadlink/script.h)
    std::vector<std::u16string> unknownLinetypes;  // in the DXF as solid lines
    // Layers left out because text of theirs cannot be typed into AutoCAD LT, named as leftOutMessage
    // names them (creation_run.h).
    std::vector<std::u16string> leftOut;
};

// Both files for the planned layers. The script holds, per layer, the sequences the link sends: create,
// line type, colour (cadlink/command_texts). A layer whose name or line type the link would not type is
// left out of both files and named in leftOut, as "レイヤー作成" leaves it out. An empty set, a set of
// only such layers, or a colour outside 1 to 255 is an error (Japanese) that names the layer: a script
// must never hold a text that AutoCAD LT refuses, because nothing in a script can cancel the prompt that
// the refusal leaves open.
tiermark::Result<LayerSetFiles> layerSetFiles(const std::vector<cadlink::LayerRecord>& layers);

}  // namespace builder

#pragma once

#include <string>
#include <vector>

#include "cadlink/drawing_access.h"
#include "common/result.h"

namespace dxf {

struct LayerSetDxf {
    std::string bytes;                             // the file
    std::vector<std::u16string> unknownLinetypes;  // defined as solid lines (their pattern is not known here)
};

// A drawing holding exactly the given layers, written with dxflib: layer "0" first, then the layers in
// order with their colour and line type (an empty line type is Continuous, what a new layer has), and an
// LTYPE table with ByBlock, ByLayer, Continuous and the definition of every other line type they use.
//
// The form is AutoCAD 2000 DXF (AC1015), which AutoCAD LT opens from release 2000 on, with CR LF line ends;
// its texts are in code page 932 and the header says so ($DWGCODEPAGE ANSI_932), as AutoCAD LT on Japanese
// Windows writes its own DXF files of that version, so that Japanese layer and line-type names arrive
// intact. A name that code page 932 cannot hold, a name given twice, or a colour outside 1 to 255 is an
// error (Japanese) that names the layer.
tiermark::Result<LayerSetDxf> layerSetDxf(const std::vector<cadlink::DrawingLayer>& layers);

}  // namespace dxf

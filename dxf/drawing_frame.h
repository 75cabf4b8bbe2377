#pragma once

// Include after dxflib's own headers: this is for the code that writes drawings with dxflib.
class DL_Dxf;
class DL_WriterA;

namespace dxf {

// What an AutoCAD 2000 drawing written with dxflib carries after its layer table (whose end the caller has
// written): the text style, view, UCS, application, dimension-style and block-record tables, the end of the
// tables section, and the blocks section with the model and paper space blocks. The entities section is the
// caller's again.
void writeTablesAfterLayers(DL_Dxf& dxf, DL_WriterA& writer);

}  // namespace dxf

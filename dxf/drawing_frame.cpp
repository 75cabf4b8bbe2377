#include "dxf/drawing_frame.h"

#include <dxflib/dl_dxf.h>
#include <dxflib/dl_writer_ascii.h>

#include <string>

namespace dxf {

void writeTablesAfterLayers(DL_Dxf& dxf, DL_WriterA& writer) {
    writer.tableStyle(1);
    dxf.writeStyle(writer, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
    writer.tableEnd();
    dxf.writeView(writer);
    dxf.writeUcs(writer);
    writer.tableAppid(1);
    dxf.writeAppid(writer, "ACAD");
    writer.tableEnd();
    dxf.writeDimStyle(writer, 2.5, 0.625, 0.625, 0.625, 2.5);
    dxf.writeBlockRecord(writer);
    writer.tableEnd();
    writer.sectionEnd();

    writer.sectionBlocks();
    for (const char* block : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
        dxf.writeBlock(writer, DL_BlockData(block, 0, 0.0, 0.0, 0.0));
        dxf.writeEndBlock(writer, block);
    }
    writer.sectionEnd();
}

}  // namespace dxf

#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <string>
#include <vector>

#include "cadlink/drawing_access.h"
#include "common/result.h"
#include "dxf/text_encoding.h"

namespace dxf {

// The layer table of a DXF drawing: what the layer check and the layer changer need of a drawing that the
// program cannot read back from AutoCAD LT.
struct LayerTable {
    std::vector<cadlink::DrawingLayer> layers;  // in the file's order, each name once
    std::string version;                        // $ACADVER as written ("AC1015"); empty when missing
    std::string codePage;                       // $DWGCODEPAGE as written ("ANSI_932"); empty when missing
    std::u16string currentLayer;                // $CLAYER; empty when missing
    TextEncoding encoding = TextEncoding::Unstated;
    bool binary = false;              // a binary DXF file (AutoCAD LT saves one on request)
    std::size_t unreadableNames = 0;  // names with bytes the file's code page cannot read (shown as U+FFFD)
    std::size_t duplicates = 0;       // records that repeat an earlier name (the first is kept)
};

// Bounds that keep a damaged or hostile file from holding the reader up.
inline constexpr std::size_t kMaxLayers = 100000;
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;

// Reads the header's version, code page and current layer and the records of the layer table, and stops at
// the table's end: the drawing's objects, which make up nearly all of a large file, are never read. ASCII DXF
// (LF or CR LF line ends) and binary DXF of every version from R12 on are read alike. Each record gives the
// layer's name, colour number, true colour (group 420), line type and whether it belongs to an external
// reference (flag 16 of group 70). Names are compared as AutoCAD LT compares them (ASCII letters without
// regard to case) to find duplicates. A file that is not DXF, ends early or has no layer table is an error
// whose message (Japanese) says so.
tiermark::Result<LayerTable> readLayerTable(std::istream& in);
tiermark::Result<LayerTable> readLayerTableFile(const std::filesystem::path& path);

}  // namespace dxf

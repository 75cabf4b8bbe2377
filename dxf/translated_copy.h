#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/result.h"

// A DXF drawing copied with some of its layers renamed or merged: its layer table changed and every
// object's layer moved with it, everything else byte for byte as it was.
namespace dxf {

// What the copy does to one layer of the drawing.
struct LayerChange {
    enum class Record {
        Renamed,  // the layer's record is renamed (and given the colour and line type below, where set)
        Removed,  // the layer is merged into the record named `becomes`, which stays: its record goes
    };
    std::u16string layer;    // the layer as the drawing names it (ASCII letters in any case)
    std::u16string becomes;  // the layer its objects are on afterwards
    Record record = Record::Renamed;
    std::optional<int> colour;               // for a renamed record: 1 to 255; a layer that is off stays off
    std::optional<std::u16string> linetype;  // for a renamed record, where the file defines the line type
};

struct CopyOutcome {
    std::size_t movedReferences = 0;  // objects' layer references (group 8) that now name another layer
    std::size_t renamedRecords = 0;
    std::size_t removedRecords = 0;
    // What the copy could not do as told (Japanese), one sentence each: a line type that the file does
    // not define is not referenced, and the layer keeps its own.
    std::vector<std::u16string> notes;
};

// Copies a DXF file (ASCII with LF or CR LF line ends, or binary, any version from R12 on), group by
// group as it reads: the layer records of the LAYER table renamed, removed or given a colour and line
// type; the layer (group 8) of every object in ENTITIES and in BLOCKS and the header's $CLAYER moved to
// the layer's new name. Names are compared as AutoCAD LT compares them (ASCII letters without regard to
// case) and written as the file writes its texts (text_encoding.h). Every other byte, line ends
// included, is copied as it is. The error (Japanese) says why the file cannot be read.
tiermark::Result<CopyOutcome> copyTranslated(std::istream& in, std::ostream& out,
                                             const std::vector<LayerChange>& changes);

// The copy of the file source written to target: into a temporary file in the target's folder first,
// renamed into place once it is whole, so that a failure leaves no half-written file. The source may be
// the target; it is otherwise never written.
tiermark::Result<CopyOutcome> writeTranslatedCopy(const std::filesystem::path& source,
                                                  const std::filesystem::path& target,
                                                  const std::vector<LayerChange>& changes);

}  // namespace dxf

#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/result.h"
#include "dxf/layer_table.h"
#include "layercheck/layer_check.h"

// A drawing's DXF file checked against a drawing kind: what the check window's "DXFファイル..." and the
// command tiermark-check share, so that both give the same verdicts and say the same about the file.
namespace layercheck {

struct FileCheck {
    dxf::LayerTable table;
    Result result;
};

// Reads the file's layer table and checks it; the error (Japanese, UTF-8) says why the file cannot be read.
tiermark::Result<FileCheck> checkDrawingFile(const std::filesystem::path& path, const Standard& standard);

// How the file is written: its version, code page and form ("AC1015、ANSI_932" or "AC1032、バイナリ").
std::u16string fileFormText(const dxf::LayerTable& table);

// What the reading of the file tells beyond its layers, one sentence each: duplicate names checked once,
// names the file's code page cannot read.
std::vector<std::u16string> readingNotes(const dxf::LayerTable& table);

}  // namespace layercheck

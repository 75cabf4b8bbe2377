#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "layercheck/layer_check.h"
#include "translate/layer_map.h"
#include "translate/plan.h"

// A folder of DXF drawings checked against a drawing kind, or translated with one map into a target
// folder; the one report of either run (a CSV and an HTML page). The window and tiermark-check share it.
namespace translate {

// Told after each file; returns false to stop the run there (the files done so far are kept).
using Progress = std::function<bool(std::size_t done, std::size_t total)>;

// The standard a file is checked against: one kind for all, or a kind of its own per file (the best
// proposal); nothing when no kind matches it.
struct FileStandard {
    const layercheck::Standard* standard = nullptr;
    std::u16string heading;  // the drawing kind, as the report names it
};
using StandardOfFile = std::function<FileStandard(const std::vector<cadlink::DrawingLayer>& layers)>;

struct FileOutcome {
    std::filesystem::path file;
    std::u16string error;  // why the file could not be read or written (Japanese); empty when it was
    std::u16string heading;
    std::array<int, layercheck::kVerdictCount> counts{};
    std::optional<layercheck::Verdict> worst;  // the most severe verdict found; none for a clean file
    std::optional<Plan> plan;                  // the translation run's plan for the file
    std::filesystem::path written;             // the translated copy
    // What the reading or the copy tells beyond the counts (Japanese), one sentence each: duplicate names,
    // unreadable names, a pair of the map that is refused and why, a line type the drawing does not define.
    std::vector<std::u16string> notes;
};

struct FolderRun {
    std::vector<FileOutcome> files;
    bool cancelled = false;
};

// Checks each file against its standard; a file that cannot be read, or that no kind matches, is named
// with the reason and the rest go on. The counts of a file are those of its check.
FolderRun checkFolder(const std::vector<std::filesystem::path>& files, const StandardOfFile& standardOf,
                      const Progress& progress);
// Plans the map for each file against its standard and writes the translated copy into the target folder
// (made when missing) under the file's name ("図面_2.dxf" for a second file of the same name); a copy may
// replace its own source, never another file of the run. The counts of a file are the check of the copy
// as written.
FolderRun translateFolder(const std::vector<std::filesystem::path>& files, const LayerMap& map,
                          const StandardOfFile& standardOf, const std::filesystem::path& targetFolder,
                          const Progress& progress);

// The report: a CSV as the layer check's (UTF-8 with a byte order mark, CR LF, quoted fields, formula
// starts defused) and an HTML page with the counts per file that opens in a browser.
std::string reportCsv(const FolderRun& run);
std::string reportHtml(const FolderRun& run, const std::u16string& title);

}  // namespace translate

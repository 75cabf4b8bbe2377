#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "layercheck/command_arguments.h"
#include "layercheck/layer_check.h"
#include "stddb/database.h"
#include "stddb/settings_store.h"
#include "stddb/shared_database.h"

// tiermark-check: the layer check of many drawings from the command line, for the people who check many
// drawings and for scripts. The check itself is the window's (checkDrawingFile); this is what the command
// adds around it: its arguments, the drawing kind named as text, the files and folders to check, one summary
// line per file, the CSV files and the exit code. The run itself, which translates drawings too, is
// translate::runCheckCommand (translate/check_command.h).
namespace layercheck {

// The exit codes: every layer standard; findings in some file; an error (bad arguments, no database, an
// unknown drawing kind, a file that is no readable DXF, a CSV that cannot be written).
inline constexpr int kExitClean = 0;
inline constexpr int kExitFindings = 1;
inline constexpr int kExitError = 2;

// The standard of the drawing kind, read from the database as the builder reads it (the same tables, the
// same filters, the same work-type key), and a heading that names it.
struct ChosenStandard {
    Standard standard;
    std::u16string heading;  // "位置図（設計、D）"
};
tiermark::Result<ChosenStandard> standardOfKind(stddb::SharedDatabase& database, const KindText& kind,
                                                std::u16string_view defaultStage);

// How a path is shown to the user: with the separators of the platform.
std::u16string shownPath(const std::filesystem::path& path);

// The drawings to check: files as given; the .dxf files of a folder (any case of the extension), in the
// order of their names. A folder without one is an error.
tiermark::Result<std::vector<std::filesystem::path>> drawingsOf(const std::filesystem::path& input);

// The summary line of a checked drawing: "図面A.dxf: 指摘 3 件　標準：10　…".
std::u16string summaryLine(const std::u16string& shownPath, const Result& result);

// Where the CSV of each drawing goes: the one file given for a single drawing; in a folder, one CSV per
// drawing named after it ("図面A.csv", "図面A_2.csv" for a second drawing of the same name).
tiermark::Result<std::vector<std::filesystem::path>> csvPaths(
    const std::filesystem::path& csv, const std::vector<std::filesystem::path>& drawings);

// What the command needs of the platform.
struct CheckServices {
    // One line of output each, without its line end: the summary lines, and the messages.
    std::function<void(std::u16string_view line)> out;
    std::function<void(std::u16string_view line)> err;
    stddb::Workspace& workspace;
    stddb::SettingsStore& settings;
    // Writes a whole file, or nothing of it; the error says why.
    std::function<tiermark::Result<void>(const std::filesystem::path&, const std::string& bytes)> saveFile;
};

}  // namespace layercheck

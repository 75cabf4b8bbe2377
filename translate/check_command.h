#pragma once

#include <string>
#include <vector>

#include "layercheck/command_line.h"

// tiermark-check's run: the drawings checked against a drawing kind (or each against the kind it matches
// best), or translated with a layer map into a folder, and the one report of all of them. The arguments,
// the kinds and the files are the layer check's (layercheck/command_line.h); this folder adds what the
// command does with the layer map.
namespace translate {

// Runs the command; returns its exit code (layercheck::kExitClean, kExitFindings, kExitError).
int runCheckCommand(const std::vector<std::u16string>& arguments, const layercheck::CheckServices& services);

}  // namespace translate

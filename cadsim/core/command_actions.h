#pragma once

#include <string_view>

#include "cadsim/core/command_table.h"

// The effects of the command line's inputs, named in the command table.
namespace cadsim::actions {

Outcome listLayers(CommandContext& c, std::u16string_view input);
Outcome createLayers(CommandContext& c, std::u16string_view input);
Outcome listLineTypes(CommandContext& c, std::u16string_view input);
Outcome chooseLineType(CommandContext& c, std::u16string_view input);
Outcome chooseContinuous(CommandContext& c, std::u16string_view input);
Outcome applyLineType(CommandContext& c, std::u16string_view input);
Outcome chooseColor(CommandContext& c, std::u16string_view input);
Outcome applyColor(CommandContext& c, std::u16string_view input);

Outcome listGroups(CommandContext& c, std::u16string_view input);
Outcome chooseNewGroupName(CommandContext& c, std::u16string_view input);
Outcome storeDescription(CommandContext& c, std::u16string_view input);
Outcome createGroup(CommandContext& c, std::u16string_view input);
Outcome ungroup(CommandContext& c, std::u16string_view input);

Outcome selectAll(CommandContext& c, std::u16string_view input);
Outcome selectGroup(CommandContext& c, std::u16string_view input);
Outcome endMoveSelection(CommandContext& c, std::u16string_view input);
Outcome basePoint(CommandContext& c, std::u16string_view input);
Outcome moveByFirstPoint(CommandContext& c, std::u16string_view input);
Outcome moveToSecondPoint(CommandContext& c, std::u16string_view input);
Outcome endChangeSelection(CommandContext& c, std::u16string_view input);
Outcome changeLayer(CommandContext& c, std::u16string_view input);

Outcome chooseOldLayer(CommandContext& c, std::u16string_view input);
Outcome renameLayer(CommandContext& c, std::u16string_view input);

// SCRIPT: reads the file named by the input into c.script for the command line to play.
Outcome readScript(CommandContext& c, std::u16string_view input);

}  // namespace cadsim::actions

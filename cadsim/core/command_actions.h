#pragma once

#include <string_view>

#include "cadsim/core/command_table.h"

// The effects of the command line's inputs, named in the command table.
namespace cadsim::actions {

// Commands that select, and what the selection's Enter leads to.
Outcome startQuickGroup(CommandContext& c, std::u16string_view input);
Outcome startSelect(CommandContext& c, std::u16string_view input);
Outcome startMove(CommandContext& c, std::u16string_view input);
Outcome startCopy(CommandContext& c, std::u16string_view input);
Outcome startErase(CommandContext& c, std::u16string_view input);
Outcome startChange(CommandContext& c, std::u16string_view input);
Outcome startGeneric(CommandContext& c, std::u16string_view input);
Outcome undo(CommandContext& c, std::u16string_view input);

// Object selection.
Outcome finishSelection(CommandContext& c, std::u16string_view input);
Outcome windowBox(CommandContext& c, std::u16string_view input);
Outcome crossingBox(CommandContext& c, std::u16string_view input);
Outcome impliedBox(CommandContext& c, std::u16string_view input);
Outcome selectLast(CommandContext& c, std::u16string_view input);
Outcome selectAll(CommandContext& c, std::u16string_view input);
Outcome addMode(CommandContext& c, std::u16string_view input);
Outcome removeMode(CommandContext& c, std::u16string_view input);
Outcome selectPrevious(CommandContext& c, std::u16string_view input);
Outcome undoSelection(CommandContext& c, std::u16string_view input);
Outcome selectAtPoint(CommandContext& c, std::u16string_view input);
Outcome selectGroup(CommandContext& c, std::u16string_view input);
Outcome firstCorner(CommandContext& c, std::u16string_view input);
Outcome otherCorner(CommandContext& c, std::u16string_view input);
Outcome polygonPoint(CommandContext& c, std::u16string_view input);
Outcome polygonEnd(CommandContext& c, std::u16string_view input);

// -LAYER
Outcome listLayers(CommandContext& c, std::u16string_view input);
Outcome makeLayer(CommandContext& c, std::u16string_view input);
Outcome setCurrentLayer(CommandContext& c, std::u16string_view input);
Outcome createLayers(CommandContext& c, std::u16string_view input);
Outcome chooseLayerState(CommandContext& c, std::u16string_view input);
Outcome applyLayerState(CommandContext& c, std::u16string_view input);
Outcome chooseLayerValue(CommandContext& c, std::u16string_view input);
Outcome chooseLayerSubOption(CommandContext& c, std::u16string_view input);
Outcome storeValue(CommandContext& c, std::u16string_view input);
Outcome storeDescriptionValue(CommandContext& c, std::u16string_view input);
Outcome listLineTypes(CommandContext& c, std::u16string_view input);
Outcome chooseLineType(CommandContext& c, std::u16string_view input);
Outcome chooseContinuous(CommandContext& c, std::u16string_view input);
Outcome applyLineType(CommandContext& c, std::u16string_view input);
Outcome chooseColor(CommandContext& c, std::u16string_view input);
Outcome applyColor(CommandContext& c, std::u16string_view input);

// -GROUP and GROUP
Outcome listGroups(CommandContext& c, std::u16string_view input);
Outcome chooseNewGroupName(CommandContext& c, std::u16string_view input);
Outcome storeDescription(CommandContext& c, std::u16string_view input);
Outcome chooseGroupAdd(CommandContext& c, std::u16string_view input);
Outcome chooseGroupRemove(CommandContext& c, std::u16string_view input);
Outcome chooseGroupForMembers(CommandContext& c, std::u16string_view input);
Outcome explodeGroup(CommandContext& c, std::u16string_view input);
Outcome chooseGroupToRename(CommandContext& c, std::u16string_view input);
Outcome renameGroup(CommandContext& c, std::u16string_view input);
Outcome chooseGroupSelectable(CommandContext& c, std::u16string_view input);
Outcome toggleGroupSelectable(CommandContext& c, std::u16string_view input);

// MOVE and COPY
Outcome basePoint(CommandContext& c, std::u16string_view input);
Outcome moveByFirstPoint(CommandContext& c, std::u16string_view input);
Outcome moveToSecondPoint(CommandContext& c, std::u16string_view input);
Outcome moveByDisplacement(CommandContext& c, std::u16string_view input);
Outcome copyByFirstPoint(CommandContext& c, std::u16string_view input);
Outcome copyToSecondPoint(CommandContext& c, std::u16string_view input);

// CHANGE
Outcome changePoint(CommandContext& c, std::u16string_view input);
Outcome chooseChangeValue(CommandContext& c, std::u16string_view input);
Outcome changeLayer(CommandContext& c, std::u16string_view input);
Outcome changeColor(CommandContext& c, std::u16string_view input);
Outcome changeLineType(CommandContext& c, std::u16string_view input);

// -RENAME (and -LAYER's Rename)
Outcome chooseOldLayer(CommandContext& c, std::u16string_view input);
Outcome renameLayer(CommandContext& c, std::u16string_view input);
Outcome chooseObjectType(CommandContext& c, std::u16string_view input);
Outcome refuseOtherObject(CommandContext& c, std::u16string_view input);

// -LAYMRG
Outcome mergeSourceAtPoint(CommandContext& c, std::u16string_view input);
Outcome mergeSourceByName(CommandContext& c, std::u16string_view input);
Outcome undoMergeSource(CommandContext& c, std::u16string_view input);
Outcome endMergeSources(CommandContext& c, std::u16string_view input);
Outcome mergeTargetAtPoint(CommandContext& c, std::u16string_view input);
Outcome mergeTargetByName(CommandContext& c, std::u16string_view input);
Outcome mergeLayers(CommandContext& c, std::u16string_view input);

// ZOOM
Outcome chooseZoomValue(CommandContext& c, std::u16string_view input);
Outcome zoomCornerOrScale(CommandContext& c, std::u16string_view input);

// SCRIPT: reads the file named by the input into c.script for the command line to play.
Outcome readScript(CommandContext& c, std::u16string_view input);

// How near a typed point must lie to an object to pick it, in drawing units (the pick box).
inline constexpr double kPickTolerance = 1.0;

}  // namespace cadsim::actions
